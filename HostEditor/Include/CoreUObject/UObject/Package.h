// UPackage: the outermost object of an asset, with its dirty flag.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

struct FSavePackageArgs;

enum EPackageFlags : uint32
{
	PKG_None = 0x00000000,
	PKG_NewlyCreated = 0x00000001,
	PKG_CompiledIn = 0x00000010,
	PKG_EditorOnly = 0x00000040,
	PKG_ContainsMap = 0x00020000,
};

class COREUOBJECT_API UPackage : public UObject
{
	DECLARE_CLASS(UPackage, UObject, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	UPackage();
	explicit UPackage(const FObjectInitializer& ObjectInitializer);

	/** True when the package has changes that are not saved. */
	bool IsDirty() const { return bDirty; }
	void SetDirtyFlag(bool bIsDirty) { bDirty = bIsDirty; }

	EPackageFlags GetPackageFlags() const { return PackageFlags; }
	void SetPackageFlags(EPackageFlags NewFlags) { PackageFlags = EPackageFlags(PackageFlags | NewFlags); }
	void ClearPackageFlags(EPackageFlags NewFlags) { PackageFlags = EPackageFlags(PackageFlags & ~NewFlags); }
	bool HasAnyPackageFlags(EPackageFlags FlagsToCheck) const { return (PackageFlags & FlagsToCheck) != 0; }

	/** Marks the package as loaded completely; loaded packages are not dirty. */
	void MarkAsFullyLoaded() { bFullyLoaded = true; }
	bool IsFullyLoaded() const { return bFullyLoaded; }

	/**
	 * Writes the package's objects (InAsset and every object inside the package that is not
	 * transient) to Filename as text. Returns false, with an error in the log and in
	 * SaveArgs.Error, when the package cannot be written; an existing file is then left as it was.
	 */
	static bool SavePackage(UPackage* InOuter, UObject* InAsset, const TCHAR* Filename, const FSavePackageArgs& SaveArgs);

private:
	bool bDirty = false;
	bool bFullyLoaded = true;
	EPackageFlags PackageFlags = PKG_None;
};
