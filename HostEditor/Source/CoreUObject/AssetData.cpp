#include "AssetRegistry/AssetData.h"

#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

FAssetData::FAssetData(const UObject* InAsset)
{
	if (!InAsset)
	{
		return;
	}
	const FString Package = InAsset->GetOutermost()->GetName();
	PackageName = FName(*Package);
	int32 Slash = INDEX_NONE;
	PackagePath = Package.FindLastChar(TEXT('/'), Slash) ? FName(*Package.Left(Slash)) : NAME_None;
	AssetName = InAsset->GetFName();
	const UClass* Class = InAsset->GetClass();
	AssetClassPath = FTopLevelAssetPath(FName(Class->GetOutermost()->GetName()), Class->GetFName());
}

FString FAssetData::GetObjectPathString() const
{
	return IsValid() ? PackageName.ToString() + TEXT(".") + AssetName.ToString() : FString();
}

UObject* FAssetData::GetAsset(TSet<FName> LoadTags) const
{
	return IsValid() ? StaticLoadObject(UObject::StaticClass(), nullptr, *GetObjectPathString(), nullptr, LOAD_NoWarn) : nullptr;
}
