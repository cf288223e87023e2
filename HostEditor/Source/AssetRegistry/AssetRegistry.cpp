#include "AssetRegistry/AssetRegistryHelpers.h"
#include "AssetRegistry/AssetRegistryImpl.h"
#include "AssetRegistry/IAssetRegistry.h"

#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

void UAssetRegistry::ScanFilesSynchronous(const TArray<FString>& InFilePaths, bool bForceRescan)
{
	(void)InFilePaths;
	(void)bForceRescan;
}

UAssetRegistryImpl& UAssetRegistryImpl::Get()
{
	static UAssetRegistryImpl* Instance = nullptr;
	if (!IsValid(Instance))
	{
		Instance = NewObject<UAssetRegistryImpl>(GetTransientPackage(), FName(TEXT("AssetRegistry")), RF_Transient);
	}
	return *Instance;
}

void UAssetRegistryImpl::ScanFilesSynchronous(const TArray<FString>& InFilePaths, bool bForceRescan)
{
	// The stand-in keeps no index of its own: asset lookups (exists, load, list) read the mounted
	// content folders on disk each time, so a file is known as soon as it is there and a scan, forced
	// or not, has nothing left to gather.
	(void)InFilePaths;
	(void)bForceRescan;
}

UAssetRegistry* UAssetRegistryHelpers::GetAssetRegistry()
{
	return &UAssetRegistryImpl::Get();
}
