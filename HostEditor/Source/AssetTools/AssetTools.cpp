// The editor's asset tools: creating assets with factories, duplicating and moving them.

#include "AssetToolsImpl.h"
#include "AssetImportTask.h"
#include "AssetToolsModule.h"
#include "Factories/FbxFactory.h"
#include "Factories/FbxImportUI.h"
#include "Factories/Factory.h"
#include "FileHelpers.h"
#include "HAL/FileManager.h"
#include "HostEditorSupport/ContentBrowserSelection.h"
#include "Misc/FeedbackContext.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
#include "Templates/Casts.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogAssetTools, Log, All);

IMPLEMENT_MODULE(FAssetToolsModule, AssetTools)

namespace
{
	const EObjectFlags NewAssetFlags = EObjectFlags(RF_Public | RF_Standalone | RF_Transactional);

	FString WithoutTrailingSlash(const FString& Path)
	{
		FString Result = Path.TrimStartAndEnd();
		while (Result.EndsWith(TEXT("/")))
		{
			Result.LeftChopInline(1);
		}
		return Result;
	}

	/** Checks that PackagePath/AssetName can name a new asset; returns its package name. */
	bool MakeAssetPackageName(const FString& AssetName, const FString& PackagePath, FString& OutPackageName, const TCHAR* Operation)
	{
		OutPackageName = WithoutTrailingSlash(PackagePath) + TEXT("/") + AssetName;
		FText Reason;
		if (AssetName.IsEmpty() || !FPackageName::IsValidLongPackageName(OutPackageName, false, &Reason) || !FPackageName::IsValidObjectPath(OutPackageName + TEXT(".") + AssetName, &Reason))
		{
			UE_LOG(LogAssetTools, Error, TEXT("%s: '%s' in '%s' is not a valid asset name: %s"), Operation, *AssetName, *PackagePath, *Reason.ToString());
			return false;
		}
		return true;
	}

	/** True when an asset is loaded or saved under the package name. */
	bool AssetExistsAt(const FString& PackageName, const FString& AssetName, const UObject* Ignored = nullptr)
	{
		UObject* Loaded = StaticFindObject(nullptr, nullptr, *(PackageName + TEXT(".") + AssetName));
		if (Loaded && Loaded != Ignored)
		{
			return true;
		}
		return !Loaded && FPackageName::DoesPackageExist(PackageName);
	}

	/** Every factory class that can be instantiated, in registration order. */
	TArray<UClass*> GetFactoryClasses()
	{
		TArray<UObject*> Classes;
		GetObjectsOfClass(UClass::StaticClass(), Classes, false);
		TArray<UClass*> FactoryClasses;
		for (UObject* Object : Classes)
		{
			UClass* Class = static_cast<UClass*>(Object);
			if (Class->IsChildOf(UFactory::StaticClass()) && !Class->HasAnyClassFlags(CLASS_Abstract))
			{
				FactoryClasses.Add(Class);
			}
		}
		return FactoryClasses;
	}

	UFactory* FindFactoryFor(UClass* AssetClass)
	{
		for (UClass* Class : GetFactoryClasses())
		{
			UFactory* Default = static_cast<UFactory*>(Class->GetDefaultObject());
			if (Default && Default->CanCreateNew() && Default->DoesSupportClass(AssetClass))
			{
				return Default;
			}
		}
		return nullptr;
	}

	bool HasSavedObjects(UPackage* Package)
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Package, Inner, false);
		for (UObject* Object : Inner)
		{
			if (!Object->HasAnyFlags(RF_Transient))
			{
				return true;
			}
		}
		return false;
	}

	void ReportFeedback(const FFeedbackContext& Warn)
	{
		for (const FString& Warning : Warn.Warnings)
		{
			UE_LOG(LogAssetTools, Warning, TEXT("%s"), *Warning);
		}
		for (const FString& Error : Warn.Errors)
		{
			UE_LOG(LogAssetTools, Error, TEXT("%s"), *Error);
		}
	}

	/** Replaces the characters an object name cannot hold with '_', as the editor does for imported files. */
	FString SanitizeObjectName(const FString& Name)
	{
		static const TCHAR* const InvalidCharacters = TEXT("\"' ,/.:|&!~\n\r\t@#(){}[]=;^%$`");
		FString Result = Name;
		for (int32 Index = 0; Index < Result.Len(); ++Index)
		{
			if (FCString::Strchr(InvalidCharacters, Result[Index]))
			{
				Result[Index] = TEXT('_');
			}
		}
		return Result;
	}

	/** The import factories of each extension (lower case), one instance each, highest priority first. */
	TMap<FString, TArray<UFactory*>> MakeImportFactories(const TArray<FString>& Files)
	{
		TArray<FString> Extensions;
		for (const FString& File : Files)
		{
			Extensions.AddUnique(FPaths::GetExtension(File).ToLower());
		}
		TMap<FString, TArray<UFactory*>> FactoriesByExtension;
		for (UClass* Class : GetFactoryClasses())
		{
			const UFactory* Default = static_cast<const UFactory*>(Class->GetDefaultObject());
			if (!Default || !Default->bEditorImport)
			{
				continue;
			}
			TArray<FString> FactoryExtensions;
			Default->GetSupportedFileExtensions(FactoryExtensions);
			for (const FString& Extension : FactoryExtensions)
			{
				const FString Key = Extension.ToLower();
				if (Extensions.Contains(Key))
				{
					FactoriesByExtension.FindOrAdd(Key).Add(NewObject<UFactory>(GetTransientPackage(), Class, NAME_None, RF_Transient));
				}
			}
		}
		for (TPair<FString, TArray<UFactory*>>& Entry : FactoriesByExtension)
		{
			Entry.Value.StableSort(&UFactory::SortFactoriesByPriority);
		}
		return FactoriesByExtension;
	}

	/**
	 * The factory that imports Filename: the first of its extension's factories that claims the
	 * file, else the one of highest priority, which then reports why it cannot. Null, with a
	 * warning, when no factory imports files of that extension.
	 */
	UFactory* ChooseImportFactory(const FString& Filename, const TMap<FString, TArray<UFactory*>>& FactoriesByExtension)
	{
		const FString Extension = FPaths::GetExtension(Filename);
		const TArray<UFactory*>* Factories = FactoriesByExtension.Find(Extension.ToLower());
		if (!Factories || Factories->IsEmpty())
		{
			UE_LOG(LogAssetTools, Warning, TEXT("Failed to import '%s'. Unknown extension '%s'."), *Filename, *Extension);
			return nullptr;
		}
		for (UFactory* Factory : *Factories)
		{
			if (Factory->FactoryCanImport(Filename))
			{
				return Factory;
			}
		}
		return (*Factories)[0];
	}

	/** Destroys what a failed import left in Package: objects made during it, and the package when it was made for it. */
	void DiscardFailedImport(UPackage* Package, const TArray<UObject*>& ObjectsBefore, bool bPackageExisted)
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Package, Inner, true);
		for (UObject* Object : Inner)
		{
			if (!ObjectsBefore.Contains(Object))
			{
				Object->MarkAsGarbage();
			}
		}
		if (!bPackageExisted && !HasSavedObjects(Package))
		{
			Package->MarkAsGarbage();
		}
	}

	/** Imports one file with Factory into DestinationPath; returns the new asset or null. */
	UObject* ImportOneFile(const FString& Filename, const FString& DestinationPath, UFactory* Factory, const FString& DestinationName = FString())
	{
		const EObjectFlags ImportedAssetFlags = EObjectFlags(RF_Public | RF_Standalone | RF_Transactional);
		const FString Name = SanitizeObjectName(DestinationName.IsEmpty() ? FPaths::GetBaseFilename(Filename) : DestinationName);
		FString PackageName;
		if (!MakeAssetPackageName(Name, DestinationPath, PackageName, TEXT("ImportAssets")))
		{
			return nullptr;
		}
		UPackage* Package = FindPackage(nullptr, *PackageName);
		const bool bPackageExisted = Package != nullptr || FPackageName::DoesPackageExist(PackageName);
		if (!Package && bPackageExisted)
		{
			Package = LoadPackage(nullptr, *PackageName, LOAD_None);
		}
		if (!Package)
		{
			Package = CreatePackage(*PackageName);
		}
		if (UObject* Existing = StaticFindObjectFast(nullptr, Package, FName(*Name)))
		{
			// The factory makes a supported asset anew in its place; any other asset is kept.
			if (!Factory->DoesSupportClass(Existing->GetClass()))
			{
				UE_LOG(LogAssetTools, Warning, TEXT("Failed to import '%s'. The asset '%s' is a %s, which %s does not import."), *Filename, *Existing->GetPathName(), *Existing->GetClass()->GetName(), *Factory->GetClass()->GetName());
				return nullptr;
			}
		}
		TArray<UObject*> ObjectsBefore;
		GetObjectsWithOuter(Package, ObjectsBefore, true);
		bool bCanceled = false;
		UObject* Result = Factory->ImportObject(Factory->GetSupportedClass(), Package, FName(*Name), ImportedAssetFlags, Filename, nullptr, bCanceled);
		if (Result && !bCanceled)
		{
			return Result;
		}
		if (!bCanceled)
		{
			UE_LOG(LogAssetTools, Warning, TEXT("Failed to import '%s'. Failed to create asset '%s'.\nPlease see Output Log for details."), *Filename, *PackageName);
		}
		DiscardFailedImport(Package, ObjectsBefore, bPackageExisted);
		return nullptr;
	}

	bool RenameOne(const FAssetRenameData& Data)
	{
		UObject* Asset = Data.Asset.Get();
		if (!IsValid(Asset) || !Asset->IsAsset())
		{
			UE_LOG(LogAssetTools, Error, TEXT("RenameAssets: the object to move is not an asset"));
			return false;
		}
		FString NewPackageName;
		if (!MakeAssetPackageName(Data.NewName, Data.NewPackagePath, NewPackageName, TEXT("RenameAssets")))
		{
			return false;
		}
		UPackage* OldPackage = Asset->GetPackage();
		if (OldPackage->GetName().Equals(NewPackageName, ESearchCase::CaseSensitive) && Asset->GetName().Equals(Data.NewName, ESearchCase::CaseSensitive))
		{
			return true;
		}
		if (AssetExistsAt(NewPackageName, Data.NewName, Asset))
		{
			UE_LOG(LogAssetTools, Error, TEXT("RenameAssets: an asset already exists at %s"), *NewPackageName);
			return false;
		}
		FString OldFilename;
		const bool bOldWasSaved = FPackageName::DoesPackageExist(OldPackage->GetName(), &OldFilename);
		UPackage* NewPackage = CreatePackage(*NewPackageName);
		if (!Asset->Rename(*Data.NewName, NewPackage))
		{
			UE_LOG(LogAssetTools, Error, TEXT("RenameAssets: cannot move %s to %s"), *Asset->GetPathName(), *NewPackageName);
			if (!HasSavedObjects(NewPackage))
			{
				NewPackage->MarkAsGarbage();
			}
			return false;
		}
		NewPackage->SetDirtyFlag(true);
		// A moved asset that was saved is saved at its new place and its old file removed, so the
		// files on disk keep matching what is loaded.
		bool bSaved = true;
		if (bOldWasSaved)
		{
			bSaved = UEditorLoadingAndSavingUtils::SavePackages({NewPackage}, false);
		}
		if (!HasSavedObjects(OldPackage))
		{
			OldPackage->MarkAsGarbage();
			if (bOldWasSaved && bSaved)
			{
				IFileManager::Get().Delete(*OldFilename);
			}
		}
		else
		{
			OldPackage->SetDirtyFlag(true);
		}
		return bSaved;
	}
}

void FAssetToolsModule::StartupModule()
{
}

void FAssetToolsModule::ShutdownModule()
{
}

IAssetTools& FAssetToolsModule::Get() const
{
	return UAssetToolsImpl::Get();
}

FAssetToolsModule& FAssetToolsModule::GetModule()
{
	return FModuleManager::LoadModuleChecked<FAssetToolsModule>(TEXT("AssetTools"));
}

IAssetTools& IAssetTools::Get()
{
	return UAssetToolsImpl::Get();
}

UObject* UAssetTools::CreateAsset(const FString& AssetName, const FString& PackagePath, UClass* AssetClass, UFactory* Factory, FName CallingContext)
{
	IAssetTools* Tools = dynamic_cast<IAssetTools*>(this);
	return Tools ? Tools->CreateAsset(AssetName, PackagePath, AssetClass, Factory, CallingContext) : nullptr;
}

bool UAssetTools::RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames)
{
	IAssetTools* Tools = dynamic_cast<IAssetTools*>(this);
	return Tools && Tools->RenameAssets(AssetsAndNames);
}

UObject* UAssetTools::DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject)
{
	IAssetTools* Tools = dynamic_cast<IAssetTools*>(this);
	return Tools ? Tools->DuplicateAsset(AssetName, PackagePath, OriginalObject) : nullptr;
}

void UAssetTools::ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks)
{
	if (IAssetTools* Tools = dynamic_cast<IAssetTools*>(this))
	{
		Tools->ImportAssetTasks(ImportTasks);
	}
}

UAssetTools* UAssetToolsHelpers::GetAssetTools()
{
	return &UAssetToolsImpl::Get();
}

UAssetToolsImpl& UAssetToolsImpl::Get()
{
	static UAssetToolsImpl* Instance = nullptr;
	if (!IsValid(Instance))
	{
		Instance = NewObject<UAssetToolsImpl>(GetTransientPackage(), FName(TEXT("AssetTools")), RF_Transient);
	}
	return *Instance;
}

UObject* UAssetToolsImpl::CreateAsset(const FString& AssetName, const FString& PackagePath, UClass* AssetClass, UFactory* Factory, FName CallingContext)
{
	FString PackageName;
	if (!MakeAssetPackageName(AssetName, PackagePath, PackageName, TEXT("CreateAsset")))
	{
		return nullptr;
	}
	if (!Factory)
	{
		Factory = AssetClass ? FindFactoryFor(AssetClass) : nullptr;
		if (!AssetClass)
		{
			UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: neither an asset class nor a factory was given for %s"), *PackageName);
			return nullptr;
		}
	}
	UClass* const Class = AssetClass ? AssetClass : Factory->GetSupportedClass();
	if (!Class)
	{
		UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: no asset class given for %s"), *PackageName);
		return nullptr;
	}
	if (AssetExistsAt(PackageName, AssetName))
	{
		UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: an asset already exists at %s"), *PackageName);
		return nullptr;
	}
	UPackage* Package = CreatePackage(*PackageName);
	FFeedbackContext Warn;
	// Without a factory for the class the asset is the class's plain new object, as the engine makes it.
	UObject* NewAsset = nullptr;
	if (Factory)
	{
		NewAsset = Factory->FactoryCreateNew(Class, Package, FName(*AssetName), NewAssetFlags, nullptr, &Warn, CallingContext);
	}
	else if (!Class->HasAnyClassFlags(CLASS_Abstract))
	{
		NewAsset = NewObject<UObject>(Package, Class, FName(*AssetName), NewAssetFlags);
	}
	ReportFeedback(Warn);
	if (!NewAsset)
	{
		UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: %s created no asset of class %s at %s"), Factory ? *Factory->GetClass()->GetName() : TEXT("NewObject"), *Class->GetName(), *PackageName);
		if (!HasSavedObjects(Package))
		{
			Package->MarkAsGarbage();
		}
		return nullptr;
	}
	NewAsset->SetFlags(NewAssetFlags);
	NewAsset->MarkPackageDirty();
	return NewAsset;
}

bool UAssetToolsImpl::RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames)
{
	bool bAllRenamed = true;
	for (const FAssetRenameData& Data : AssetsAndNames)
	{
		bAllRenamed &= RenameOne(Data);
	}
	return bAllRenamed;
}

UObject* UAssetToolsImpl::DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject)
{
	if (!IsValid(OriginalObject))
	{
		UE_LOG(LogAssetTools, Error, TEXT("DuplicateAsset: no object to duplicate"));
		return nullptr;
	}
	FString PackageName;
	if (!MakeAssetPackageName(AssetName, PackagePath, PackageName, TEXT("DuplicateAsset")))
	{
		return nullptr;
	}
	if (AssetExistsAt(PackageName, AssetName))
	{
		UE_LOG(LogAssetTools, Error, TEXT("DuplicateAsset: an asset already exists at %s"), *PackageName);
		return nullptr;
	}
	UPackage* Package = CreatePackage(*PackageName);
	UObject* Copy = StaticDuplicateObject(OriginalObject, Package, FName(*AssetName));
	if (!Copy)
	{
		if (!HasSavedObjects(Package))
		{
			Package->MarkAsGarbage();
		}
		return nullptr;
	}
	Copy->SetFlags(NewAssetFlags);
	Package->SetDirtyFlag(true);
	return Copy;
}

TArray<UObject*> UAssetToolsImpl::ImportAssets(const TArray<FString>& Files, const FString& DestinationPath, UFactory* ChosenFactory, bool bSyncToBrowser, TArray<TPair<FString, FString>>* FilesAndDestinations, bool bAllowAsyncImport, bool bSceneImport) const
{
	TArray<UObject*> Imported;
	const TMap<FString, TArray<UFactory*>> FactoriesByExtension = ChosenFactory ? TMap<FString, TArray<UFactory*>>() : MakeImportFactories(Files);
	for (const FString& Filename : Files)
	{
		UFactory* Factory = ChosenFactory ? ChosenFactory : ChooseImportFactory(Filename, FactoriesByExtension);
		if (!Factory)
		{
			continue;
		}
		if (UObject* Asset = ImportOneFile(Filename, WithoutTrailingSlash(DestinationPath), Factory))
		{
			Imported.Add(Asset);
		}
	}
	for (const TPair<FString, TArray<UFactory*>>& Entry : FactoriesByExtension)
	{
		for (UFactory* Factory : Entry.Value)
		{
			Factory->MarkAsGarbage();
		}
	}
	if (bSyncToBrowser && !Imported.IsEmpty())
	{
		TArray<FString> Paths;
		for (const UObject* Asset : Imported)
		{
			Paths.Add(Asset->GetPathName());
		}
		HostEditor::SetSelectedAssetPaths(Paths);
	}
	return Imported;
}

void UAssetToolsImpl::ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks) const
{
	TArray<FString> Files;
	for (const UAssetImportTask* Task : ImportTasks)
	{
		if (Task)
		{
			Files.Add(Task->Filename);
		}
	}
	const TMap<FString, TArray<UFactory*>> FactoriesByExtension = MakeImportFactories(Files);
	for (UAssetImportTask* Task : ImportTasks)
	{
		if (!Task)
		{
			continue;
		}
		Task->ImportedObjectPaths.Reset();
		Task->SetResult({});
		UFactory* Factory = Task->Factory ? Task->Factory.Get() : ChooseImportFactory(Task->Filename, FactoriesByExtension);
		if (!Factory)
		{
			continue;
		}
		if (UFbxFactory* FbxFactory = Cast<UFbxFactory>(Factory))
		{
			if (UFbxImportUI* Options = Cast<UFbxImportUI>(Task->Options.Get()))
			{
				FbxFactory->ImportUI = Options;
			}
		}
		const FString Destination = WithoutTrailingSlash(Task->DestinationPath);
		const FString Name = SanitizeObjectName(Task->DestinationName.IsEmpty() ? FPaths::GetBaseFilename(Task->Filename) : Task->DestinationName);
		FString PackageName;
		if (!Task->bReplaceExisting && MakeAssetPackageName(Name, Destination, PackageName, TEXT("ImportAssetTasks")) && AssetExistsAt(PackageName, Name))
		{
			UE_LOG(LogAssetTools, Display, TEXT("Skipped importing '%s': %s.%s exists and the task does not replace it."), *Task->Filename, *PackageName, *Name);
			continue;
		}
		UObject* Asset = ImportOneFile(FPaths::ConvertRelativePathToFull(Task->Filename), Destination, Factory, Task->DestinationName);
		if (!Asset)
		{
			continue;
		}
		Task->SetResult({Asset});
		Task->ImportedObjectPaths.Add(Asset->GetPathName());
		if (Task->bSave)
		{
			UEditorLoadingAndSavingUtils::SavePackages({Asset->GetPackage()}, false);
		}
	}
	for (const TPair<FString, TArray<UFactory*>>& Entry : FactoriesByExtension)
	{
		for (UFactory* Factory : Entry.Value)
		{
			Factory->MarkAsGarbage();
		}
	}
}
