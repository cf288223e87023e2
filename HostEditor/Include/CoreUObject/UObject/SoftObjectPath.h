// FSoftObjectPath: the path of an asset that may or may not be loaded.
#pragma once

#include "CoreMinimal.h"

class UObject;
struct FUObjectSerializeContext;

struct COREUOBJECT_API FSoftObjectPath
{
	FSoftObjectPath() = default;
	FSoftObjectPath(const FString& Path) { SetPath(Path); }
	FSoftObjectPath(const TCHAR* Path) { SetPath(FString(Path)); }
	FSoftObjectPath(const UObject* Object);

	/** Sets the path; a package path without an object name ("/Game/A/B") names the asset "B". */
	void SetPath(const FString& Path);
	void Reset() { AssetPath.Reset(); }

	/** Returns "/Game/Folder/Package.Object" (with ":SubObject" when there is one). */
	FString ToString() const { return AssetPath; }
	FString GetAssetPathString() const;
	/** Returns the package part, "/Game/Folder/Package". */
	FString GetLongPackageName() const;
	/** Returns the object part after the dot. */
	FString GetAssetName() const;
	FString GetSubPathString() const;
	bool IsValid() const { return !AssetPath.IsEmpty(); }
	bool IsNull() const { return AssetPath.IsEmpty(); }
	bool IsAsset() const { return IsValid() && GetSubPathString().IsEmpty(); }

	/** Returns the object when it is in memory, else null. */
	UObject* ResolveObject() const;
	/** Returns the object, loading it when needed; null when it cannot be found. */
	UObject* TryLoad(FUObjectSerializeContext* InLoadContext = nullptr) const;

	bool operator==(const FSoftObjectPath& Other) const { return AssetPath.Equals(Other.AssetPath, ESearchCase::IgnoreCase); }
	bool operator!=(const FSoftObjectPath& Other) const { return !(*this == Other); }

private:
	FString AssetPath;
};

inline uint32 GetTypeHash(const FSoftObjectPath& Path)
{
	return GetTypeHash(Path.ToString());
}

/** Loads an object by path when it is not in memory; provided by the asset system. */
using FSoftObjectLoader = UObject* (*)(const FString& ObjectPath);
COREUOBJECT_API void SetSoftObjectLoader(FSoftObjectLoader Loader);
