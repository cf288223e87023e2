// IAssetRegistry: the editor's index of the assets on disk. Scripts reach it through
// UAssetRegistryHelpers::GetAssetRegistry().
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "IAssetRegistry.generated.h"

struct FAssetData;
struct FTopLevelAssetPath;

/** The asset registry's interface to native code. */
class ASSETREGISTRY_API IAssetRegistry
{
public:
	virtual ~IAssetRegistry() = default;

	/**
	 * The assets of a class (with bSearchSubClasses, of its sub-classes too) among the packages of
	 * every mounted content folder, in package path order. False when the class path is null.
	 */
	virtual bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses = false) const = 0;
};

/**
 * The reflected face of the asset registry, under the name scripts know it by. The engine declares
 * it as a UINTERFACE; the stand-in has no interface machinery, so it is an abstract class here whose
 * one instance the helpers hand out.
 */
UCLASS(Abstract, meta = (ScriptName = "AssetRegistry"))
class ASSETREGISTRY_API UAssetRegistry : public UObject
{
	GENERATED_BODY()

public:
	/**
	 * Scans the given package files (absolute or relative file names of .uasset files) now and makes
	 * their assets known; with bForceRescan files scanned before are read again. Files that do not
	 * exist or lie outside a mounted content folder are passed over.
	 */
	UFUNCTION(BlueprintCallable, Category = "AssetRegistry")
	virtual void ScanFilesSynchronous(const TArray<FString>& InFilePaths, bool bForceRescan = false);
};
