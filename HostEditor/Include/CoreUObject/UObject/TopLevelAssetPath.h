// FTopLevelAssetPath: the path of a top-level object, such as a class ("/Script/Engine.SkeletalMesh").
#pragma once

#include "CoreMinimal.h"

struct FTopLevelAssetPath
{
	FTopLevelAssetPath() = default;
	FTopLevelAssetPath(const FName& InPackageName, const FName& InAssetName)
		: PackageName(InPackageName)
		, AssetName(InAssetName)
	{
	}

	FName GetPackageName() const { return PackageName; }
	FName GetAssetName() const { return AssetName; }
	bool IsNull() const { return PackageName.IsNone() && AssetName.IsNone(); }
	FString ToString() const { return IsNull() ? FString() : PackageName.ToString() + TEXT(".") + AssetName.ToString(); }
	bool operator==(const FTopLevelAssetPath& Other) const { return PackageName == Other.PackageName && AssetName == Other.AssetName; }

private:
	FName PackageName;
	FName AssetName;
};
