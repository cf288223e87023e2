// The Content Browser's asset operations for scripts, over the packages in memory and on disk.

#include "EditorAssetLibrary.h"

#include "AssetToolsModule.h"
#include "FileHelpers.h"
#include "HAL/FileManager.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogEditorScripting, Log, All);

namespace
{
	/** "Class'/Game/A.A'" and "Class /Game/A.A" to "/Game/A.A". */
	FString StripPathDecoration(const FString& AnyPath)
	{
		FString Path = AnyPath.TrimStartAndEnd();
		int32 Quote = INDEX_NONE;
		if (Path.EndsWith(TEXT("'")) && Path.FindChar('\'', Quote) && Quote < Path.Len() - 1)
		{
			Path = Path.Mid(Quote + 1, Path.Len() - Quote - 2);
		}
		FString AfterSpace;
		if (!Path.StartsWith(TEXT("/")) && Path.Split(TEXT(" "), nullptr, &AfterSpace))
		{
			Path = AfterSpace.TrimStartAndEnd();
		}
		return Path;
	}

	/** Turns any accepted form of an asset path into "/Game/Folder/Asset.Asset"; logs why not. */
	bool ToObjectPath(const FString& AnyPath, FString& OutObjectPath, const TCHAR* Operation)
	{
		FString Path = StripPathDecoration(AnyPath);
		if (Path.EndsWith(TEXT("/")))
		{
			UE_LOG(LogEditorScripting, Error, TEXT("%s. '%s' is a directory, not an asset path."), Operation, *AnyPath);
			return false;
		}
		int32 Dot = INDEX_NONE;
		if (!Path.FindChar('.', Dot))
		{
			Path = Path + TEXT(".") + FPackageName::GetLongPackageAssetName(Path);
		}
		FText Reason;
		int32 Colon = INDEX_NONE;
		if (Path.FindChar(':', Colon) || !FPackageName::IsValidObjectPath(Path, &Reason))
		{
			UE_LOG(LogEditorScripting, Error, TEXT("%s. Failed to convert the path '%s' to an asset path. %s"), Operation, *AnyPath, *Reason.ToString());
			return false;
		}
		OutObjectPath = Path;
		return true;
	}

	/** Turns "/Game/Folder" or "/Game/Folder/" into "/Game/Folder" and its folder on disk; logs why not. */
	bool ToDirectory(const FString& AnyPath, FString& OutDirectory, FString& OutFolder, const TCHAR* Operation)
	{
		FString Path = AnyPath.TrimStartAndEnd();
		while (Path.EndsWith(TEXT("/")))
		{
			Path.LeftChopInline(1);
		}
		TArray<FString> Roots;
		FPackageName::QueryRootContentPaths(Roots);
		for (const FString& Root : Roots)
		{
			if ((Path + TEXT("/")).Equals(Root, ESearchCase::IgnoreCase))
			{
				FString Probe;
				if (FPackageName::TryConvertLongPackageNameToFilename(Root + TEXT("Probe"), Probe))
				{
					OutDirectory = Root.LeftChop(1);
					OutFolder = FPaths::GetPath(Probe);
					return true;
				}
			}
		}
		FText Reason;
		if (!FPackageName::IsValidLongPackageName(Path, false, &Reason) || !FPackageName::TryConvertLongPackageNameToFilename(Path, OutFolder))
		{
			UE_LOG(LogEditorScripting, Error, TEXT("%s. '%s' is not a valid directory path. %s"), Operation, *AnyPath, *Reason.ToString());
			return false;
		}
		OutDirectory = Path;
		return true;
	}

	bool IsAnAsset(const UObject* Object)
	{
		return IsValid(Object) && Object->IsAsset();
	}

	UObject* FindLoadedAsset(const FString& ObjectPath)
	{
		UObject* Found = StaticFindObject(nullptr, nullptr, *ObjectPath);
		return IsAnAsset(Found) ? Found : nullptr;
	}

	UObject* LoadAssetAt(const FString& ObjectPath)
	{
		if (UObject* Loaded = FindLoadedAsset(ObjectPath))
		{
			return Loaded;
		}
		UObject* Object = StaticLoadObject(UObject::StaticClass(), nullptr, *ObjectPath, nullptr, LOAD_NoWarn);
		return IsAnAsset(Object) ? Object : nullptr;
	}

	/** The saved asset of a loaded package: its first object that is not transient. */
	UObject* AssetOfPackage(const UPackage* Package)
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Package, Inner, false);
		for (UObject* Object : Inner)
		{
			if (IsAnAsset(Object))
			{
				return Object;
			}
		}
		return nullptr;
	}

	bool IsInDirectory(const FString& PackageName, const FString& Directory, bool bRecursive)
	{
		const FString Prefix = Directory + TEXT("/");
		if (!PackageName.StartsWith(Prefix, ESearchCase::IgnoreCase))
		{
			return false;
		}
		int32 Slash = INDEX_NONE;
		return bRecursive || !PackageName.Mid(Prefix.Len()).FindChar('/', Slash);
	}

	/** The loaded packages that hold an asset, by name. */
	TArray<UPackage*> LoadedAssetPackages()
	{
		TArray<UObject*> Packages;
		GetObjectsOfClass(UPackage::StaticClass(), Packages, true);
		TArray<UPackage*> Result;
		for (UObject* Object : Packages)
		{
			UPackage* Package = static_cast<UPackage*>(Object);
			if (!Package->HasAnyFlags(RF_Transient) && Package != GetTransientPackage() && AssetOfPackage(Package))
			{
				Result.Add(Package);
			}
		}
		return Result;
	}

	/** The object paths of the assets in a directory, loaded or saved, sorted. */
	TArray<FString> AssetsInDirectory(const FString& Directory, const FString& Folder, bool bRecursive)
	{
		TArray<FString> Result;
		TArray<FString> Files;
		if (bRecursive)
		{
			IFileManager::Get().FindFilesRecursive(Files, *Folder, TEXT("*.uasset"), true, false);
		}
		else
		{
			TArray<FString> Names;
			IFileManager::Get().FindFiles(Names, *(Folder / TEXT("*.uasset")), true, false);
			for (const FString& Name : Names)
			{
				Files.Add(Folder / Name);
			}
		}
		for (const FString& File : Files)
		{
			FString PackageName;
			if (FPackageName::TryConvertFilenameToLongPackageName(File, PackageName))
			{
				UPackage* Loaded = FindPackage(nullptr, *PackageName);
				const UObject* Asset = Loaded ? AssetOfPackage(Loaded) : nullptr;
				Result.AddUnique(PackageName + TEXT(".") + (Asset ? Asset->GetName() : FPackageName::GetLongPackageAssetName(PackageName)));
			}
		}
		for (UPackage* Package : LoadedAssetPackages())
		{
			if (IsInDirectory(Package->GetName(), Directory, bRecursive))
			{
				Result.AddUnique(AssetOfPackage(Package)->GetPathName());
			}
		}
		Result.Sort();
		return Result;
	}

	/** Removes a package from memory and its file from disk. */
	bool DeletePackage(UPackage* Package, const FString& PackageName)
	{
		if (Package)
		{
			TArray<UObject*> Inner;
			GetObjectsWithOuter(Package, Inner, true);
			for (int32 Index = Inner.Num() - 1; Index >= 0; --Index)
			{
				Inner[Index]->MarkAsGarbage();
			}
			Package->MarkAsGarbage();
		}
		FString Filename;
		if (FPackageName::DoesPackageExist(PackageName, &Filename) && !IFileManager::Get().Delete(*Filename))
		{
			UE_LOG(LogEditorScripting, Error, TEXT("DeleteAsset. Cannot delete the file '%s'."), *Filename);
			return false;
		}
		return true;
	}

	bool SplitDestination(const FString& DestinationAssetPath, FString& OutPackagePath, FString& OutAssetName, const TCHAR* Operation)
	{
		FString ObjectPath;
		if (!ToObjectPath(DestinationAssetPath, ObjectPath, Operation))
		{
			return false;
		}
		const FString PackageName = FPackageName::ObjectPathToPackageName(ObjectPath);
		OutPackagePath = FPackageName::GetLongPackagePath(PackageName);
		OutAssetName = FPackageName::GetLongPackageAssetName(PackageName);
		if (!FPackageName::ObjectPathToObjectName(ObjectPath).Equals(OutAssetName, ESearchCase::CaseSensitive))
		{
			UE_LOG(LogEditorScripting, Error, TEXT("%s. The asset name in '%s' must match its package name."), Operation, *DestinationAssetPath);
			return false;
		}
		return true;
	}
}

UObject* UEditorAssetLibrary::LoadAsset(const FString& AssetPath)
{
	FString ObjectPath;
	if (!ToObjectPath(AssetPath, ObjectPath, TEXT("LoadAsset")))
	{
		return nullptr;
	}
	UObject* Asset = LoadAssetAt(ObjectPath);
	if (!Asset)
	{
		UE_LOG(LogEditorScripting, Error, TEXT("LoadAsset. Failed to find the asset '%s'."), *ObjectPath);
	}
	return Asset;
}

bool UEditorAssetLibrary::DoesAssetExist(const FString& AssetPath)
{
	FString ObjectPath;
	if (!ToObjectPath(AssetPath, ObjectPath, TEXT("DoesAssetExist")))
	{
		return false;
	}
	if (FindLoadedAsset(ObjectPath))
	{
		return true;
	}
	const FString PackageName = FPackageName::ObjectPathToPackageName(ObjectPath);
	UPackage* Loaded = FindPackage(nullptr, *PackageName);
	if (Loaded && AssetOfPackage(Loaded))
	{
		return false;
	}
	return FPackageName::DoesPackageExist(PackageName) && FPackageName::ObjectPathToObjectName(ObjectPath).Equals(FPackageName::GetLongPackageAssetName(PackageName), ESearchCase::IgnoreCase);
}

bool UEditorAssetLibrary::SaveAsset(const FString& AssetToSave, bool bOnlyIfIsDirty)
{
	UObject* Asset = LoadAsset(AssetToSave);
	return Asset && SaveLoadedAsset(Asset, bOnlyIfIsDirty);
}

bool UEditorAssetLibrary::SaveLoadedAsset(UObject* AssetToSave, bool bOnlyIfIsDirty)
{
	if (!IsAnAsset(AssetToSave))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("SaveLoadedAsset. The object is not a valid asset."));
		return false;
	}
	return UEditorLoadingAndSavingUtils::SavePackages({AssetToSave->GetPackage()}, bOnlyIfIsDirty);
}

bool UEditorAssetLibrary::SaveLoadedAssets(const TArray<UObject*>& AssetsToSave, bool bOnlyIfIsDirty)
{
	bool bAllSaved = true;
	for (UObject* Asset : AssetsToSave)
	{
		bAllSaved &= SaveLoadedAsset(Asset, bOnlyIfIsDirty);
	}
	return bAllSaved;
}

bool UEditorAssetLibrary::SaveDirectory(const FString& DirectoryPath, bool bOnlyIfIsDirty, bool bRecursive)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("SaveDirectory")))
	{
		return false;
	}
	TArray<UPackage*> Packages;
	for (UPackage* Package : LoadedAssetPackages())
	{
		if (IsInDirectory(Package->GetName(), Directory, bRecursive))
		{
			Packages.Add(Package);
		}
	}
	return UEditorLoadingAndSavingUtils::SavePackages(Packages, bOnlyIfIsDirty);
}

bool UEditorAssetLibrary::DeleteAsset(const FString& AssetPathToDelete)
{
	FString ObjectPath;
	if (!ToObjectPath(AssetPathToDelete, ObjectPath, TEXT("DeleteAsset")))
	{
		return false;
	}
	const FString PackageName = FPackageName::ObjectPathToPackageName(ObjectPath);
	UObject* Loaded = FindLoadedAsset(ObjectPath);
	if (!Loaded && !DoesAssetExist(ObjectPath))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("DeleteAsset. The asset '%s' doesn't exist."), *ObjectPath);
		return false;
	}
	return DeletePackage(Loaded ? Loaded->GetPackage() : FindPackage(nullptr, *PackageName), PackageName);
}

bool UEditorAssetLibrary::DeleteLoadedAsset(UObject* AssetToDelete)
{
	if (!IsAnAsset(AssetToDelete))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("DeleteLoadedAsset. The object is not a valid asset."));
		return false;
	}
	UPackage* Package = AssetToDelete->GetPackage();
	return DeletePackage(Package, Package->GetName());
}

UObject* UEditorAssetLibrary::DuplicateAsset(const FString& SourceAssetPath, const FString& DestinationAssetPath)
{
	UObject* Source = LoadAsset(SourceAssetPath);
	return Source ? DuplicateLoadedAsset(Source, DestinationAssetPath) : nullptr;
}

UObject* UEditorAssetLibrary::DuplicateLoadedAsset(UObject* SourceAsset, const FString& DestinationAssetPath)
{
	if (!IsAnAsset(SourceAsset))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("DuplicateLoadedAsset. The source is not a valid asset."));
		return nullptr;
	}
	FString PackagePath;
	FString AssetName;
	if (!SplitDestination(DestinationAssetPath, PackagePath, AssetName, TEXT("DuplicateAsset")))
	{
		return nullptr;
	}
	return FAssetToolsModule::GetModule().Get().DuplicateAsset(AssetName, PackagePath, SourceAsset);
}

bool UEditorAssetLibrary::RenameAsset(const FString& SourceAssetPath, const FString& DestinationAssetPath)
{
	UObject* Source = LoadAsset(SourceAssetPath);
	return Source && RenameLoadedAsset(Source, DestinationAssetPath);
}

bool UEditorAssetLibrary::RenameLoadedAsset(UObject* SourceAsset, const FString& DestinationAssetPath)
{
	if (!IsAnAsset(SourceAsset))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("RenameLoadedAsset. The source is not a valid asset."));
		return false;
	}
	FString PackagePath;
	FString AssetName;
	if (!SplitDestination(DestinationAssetPath, PackagePath, AssetName, TEXT("RenameAsset")))
	{
		return false;
	}
	return FAssetToolsModule::GetModule().Get().RenameAssets({FAssetRenameData(SourceAsset, PackagePath, AssetName)});
}

TArray<FString> UEditorAssetLibrary::ListAssets(const FString& DirectoryPath, bool bRecursive, bool bIncludeFolder)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("ListAssets")))
	{
		return TArray<FString>();
	}
	TArray<FString> Result = AssetsInDirectory(Directory, Folder, bRecursive);
	if (bIncludeFolder)
	{
		TArray<FString> Folders;
		if (bRecursive)
		{
			IFileManager::Get().FindFilesRecursive(Folders, *Folder, TEXT("*"), false, true);
		}
		else
		{
			TArray<FString> Names;
			IFileManager::Get().FindFiles(Names, *(Folder / TEXT("*")), false, true);
			for (const FString& Name : Names)
			{
				Folders.Add(Folder / Name);
			}
		}
		for (const FString& Found : Folders)
		{
			FString FolderPath;
			if (FPackageName::TryConvertFilenameToLongPackageName(Found, FolderPath))
			{
				Result.AddUnique(FolderPath + TEXT("/"));
			}
		}
		Result.Sort();
	}
	return Result;
}

bool UEditorAssetLibrary::DoesDirectoryExist(const FString& DirectoryPath)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("DoesDirectoryExist")))
	{
		return false;
	}
	if (IFileManager::Get().DirectoryExists(*Folder))
	{
		return true;
	}
	for (UPackage* Package : LoadedAssetPackages())
	{
		if (IsInDirectory(Package->GetName(), Directory, true))
		{
			return true;
		}
	}
	return false;
}

bool UEditorAssetLibrary::DoesDirectoryHaveAssets(const FString& DirectoryPath, bool bRecursive)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("DoesDirectoryHaveAssets")))
	{
		return false;
	}
	return !AssetsInDirectory(Directory, Folder, bRecursive).IsEmpty();
}

bool UEditorAssetLibrary::MakeDirectory(const FString& DirectoryPath)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("MakeDirectory")))
	{
		return false;
	}
	if (!IFileManager::Get().MakeDirectory(*Folder, true) && !IFileManager::Get().DirectoryExists(*Folder))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("MakeDirectory. Cannot create the folder '%s'."), *Folder);
		return false;
	}
	return true;
}

bool UEditorAssetLibrary::DeleteDirectory(const FString& DirectoryPath)
{
	FString Directory;
	FString Folder;
	if (!ToDirectory(DirectoryPath, Directory, Folder, TEXT("DeleteDirectory")))
	{
		return false;
	}
	if (!DoesDirectoryExist(Directory))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("DeleteDirectory. The directory '%s' doesn't exist."), *Directory);
		return false;
	}
	bool bAllDeleted = true;
	for (const FString& ObjectPath : AssetsInDirectory(Directory, Folder, true))
	{
		const FString PackageName = FPackageName::ObjectPathToPackageName(ObjectPath);
		bAllDeleted &= DeletePackage(FindPackage(nullptr, *PackageName), PackageName);
	}
	if (IFileManager::Get().DirectoryExists(*Folder) && !IFileManager::Get().DeleteDirectory(*Folder, false, true))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("DeleteDirectory. Cannot delete the folder '%s'."), *Folder);
		return false;
	}
	return bAllDeleted;
}

FString UEditorAssetLibrary::GetPathNameForLoadedAsset(UObject* LoadedAsset)
{
	if (!IsAnAsset(LoadedAsset))
	{
		UE_LOG(LogEditorScripting, Error, TEXT("GetPathNameForLoadedAsset. The object is not a valid asset."));
		return FString();
	}
	return LoadedAsset->GetPathName();
}
