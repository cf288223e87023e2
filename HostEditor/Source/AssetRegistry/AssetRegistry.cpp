#include "AssetRegistry/AssetRegistryHelpers.h"
#include "AssetRegistry/AssetRegistryImpl.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/AssetData.h"
#include "HAL/FileManager.h"
#include "Misc/PackageName.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "UObject/Class.h"
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

namespace
{
	/** The class of the asset a saved package holds: its top-level "Begin Object Class=... Name=..." line. */
	const UClass* SavedAssetClass(const FString& Filename, const FString& AssetName)
	{
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Filename))
		{
			return nullptr;
		}
		TArray<FString> Lines;
		Text.ParseIntoArrayLines(Lines, true);
		const FString NameText = FString::Printf(TEXT("Name=\"%s\""), *AssetName);
		for (const FString& Line : Lines)
		{
			if (!Line.StartsWith(TEXT("Begin Object Class="), ESearchCase::CaseSensitive) || !Line.Contains(NameText, ESearchCase::IgnoreCase))
			{
				continue;
			}
			FString ClassPath = Line.Mid(FCString::Strlen(TEXT("Begin Object Class=")));
			int32 End = INDEX_NONE;
			if (ClassPath.FindChar(TEXT(' '), End))
			{
				ClassPath = ClassPath.Left(End);
			}
			return FindObject<UClass>(nullptr, *ClassPath);
		}
		return nullptr;
	}
}

bool UAssetRegistryImpl::GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses) const
{
	if (ClassPathName.IsNull())
	{
		return false;
	}
	const UClass* Wanted = FindObject<UClass>(nullptr, *ClassPathName.ToString());
	// Every package of every mounted content folder, in path order, read as the registry's scan reads them.
	TArray<FString> PackageNames;
	TArray<FString> Roots;
	FPackageName::QueryRootContentPaths(Roots);
	for (const FString& Root : Roots)
	{
		// The root's folder on disk: the folder of a package directly under it.
		const FString Folder = FPaths::GetPath(FPackageName::LongPackageNameToFilename(Root + TEXT("Package")));
		TArray<FString> Files;
		IFileManager::Get().FindFilesRecursive(Files, *Folder, TEXT("*.uasset"), true, false);
		for (const FString& File : Files)
		{
			FString PackageName;
			if (FPackageName::TryConvertFilenameToLongPackageName(File, PackageName))
			{
				PackageNames.AddUnique(PackageName);
			}
		}
	}
	PackageNames.Sort();
	for (const FString& PackageName : PackageNames)
	{
		const FString AssetName = FPackageName::GetLongPackageAssetName(PackageName);
		// An asset in memory is known as it is; one on disk by its package's header, without loading it.
		const UClass* Class = nullptr;
		if (const UObject* Loaded = StaticFindObject(nullptr, nullptr, *(PackageName + TEXT(".") + AssetName)))
		{
			Class = Loaded->GetClass();
		}
		else
		{
			Class = SavedAssetClass(FPackageName::LongPackageNameToFilename(PackageName, FPackageName::GetAssetPackageExtension()), AssetName);
		}
		if (!Class || !(Class->GetClassPathName() == ClassPathName || (bSearchSubClasses && Wanted && Class->IsChildOf(Wanted))))
		{
			continue;
		}
		FAssetData Data;
		Data.PackageName = FName(*PackageName);
		Data.PackagePath = FName(*FPackageName::GetLongPackagePath(PackageName));
		Data.AssetName = FName(*AssetName);
		Data.AssetClassPath = Class->GetClassPathName();
		OutAssetData.Add(Data);
	}
	return true;
}

IAssetRegistry& FAssetRegistryModule::Get() const
{
	return UAssetRegistryImpl::Get();
}

IMPLEMENT_MODULE(FAssetRegistryModule, AssetRegistry)
