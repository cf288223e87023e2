// The editor's asset tools: creating assets with factories, duplicating and moving them.

#include "AssetToolsImpl.h"
#include "AssetToolsModule.h"
#include "Factories/Factory.h"
#include "FileHelpers.h"
#include "HAL/FileManager.h"
#include "Misc/FeedbackContext.h"
#include "Misc/PackageName.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
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

	UFactory* FindFactoryFor(UClass* AssetClass)
	{
		TArray<UObject*> Classes;
		GetObjectsOfClass(UClass::StaticClass(), Classes, false);
		for (UObject* Object : Classes)
		{
			UClass* Class = static_cast<UClass*>(Object);
			if (!Class->IsChildOf(UFactory::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract))
			{
				continue;
			}
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
		if (!Factory)
		{
			UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: no factory can create assets of class %s"), AssetClass ? *AssetClass->GetName() : TEXT("None"));
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
	UObject* NewAsset = Factory->FactoryCreateNew(Class, Package, FName(*AssetName), NewAssetFlags, nullptr, &Warn, CallingContext);
	ReportFeedback(Warn);
	if (!NewAsset)
	{
		UE_LOG(LogAssetTools, Error, TEXT("CreateAsset: %s created no asset of class %s at %s"), *Factory->GetClass()->GetName(), *Class->GetName(), *PackageName);
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
