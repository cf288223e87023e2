#include "FileHelpers.h"
#include "Misc/PackageName.h"
#include "PackageTools.h"
#include "UObject/SavePackage.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogPackageTools, Log, All);

bool UPackageTools::UnloadPackages(const TArray<UPackage*>& PackagesToUnload, FText& OutErrorMessage, bool bUnloadDirtyPackages)
{
	TArray<FString> Kept;
	for (UPackage* Package : PackagesToUnload)
	{
		if (!IsValid(Package))
		{
			continue;
		}
		if (Package->IsDirty() && !bUnloadDirtyPackages)
		{
			Kept.Add(Package->GetName());
			continue;
		}
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Package, Inner, true);
		for (int32 Index = Inner.Num() - 1; Index >= 0; --Index)
		{
			Inner[Index]->MarkAsGarbage();
		}
		Package->MarkAsGarbage();
	}
	if (!Kept.IsEmpty())
	{
		OutErrorMessage = FText::FromString(FString::Printf(TEXT("These packages have unsaved changes and were not unloaded: %s"), *FString::Join(Kept, TEXT(", "))));
		return false;
	}
	return true;
}

bool UEditorLoadingAndSavingUtils::SavePackages(const TArray<UPackage*>& PackagesToSave, bool bOnlyDirty)
{
	bool bAllSaved = true;
	for (UPackage* Package : PackagesToSave)
	{
		if (!IsValid(Package) || (bOnlyDirty && !Package->IsDirty()))
		{
			continue;
		}
		FString Filename;
		if (!FPackageName::TryConvertLongPackageNameToFilename(Package->GetName(), Filename, FPackageName::GetAssetPackageExtension()))
		{
			UE_LOG(LogPackageTools, Error, TEXT("Cannot save %s: it is not under a mounted content folder"), *Package->GetName());
			bAllSaved = false;
			continue;
		}
		FSavePackageArgs SaveArgs;
		SaveArgs.TopLevelFlags = EObjectFlags(RF_Public | RF_Standalone);
		bAllSaved &= UPackage::SavePackage(Package, nullptr, *Filename, SaveArgs);
	}
	return bAllSaved;
}

bool UEditorLoadingAndSavingUtils::SaveDirtyPackages(const bool bSaveMapPackages, const bool bSaveContentPackages)
{
	if (!bSaveContentPackages)
	{
		return true;
	}
	TArray<UObject*> Objects;
	GetObjectsOfClass(UPackage::StaticClass(), Objects, true);
	TArray<UPackage*> Dirty;
	for (UObject* Object : Objects)
	{
		UPackage* Package = static_cast<UPackage*>(Object);
		if (Package->IsDirty() && Package != GetTransientPackage() && !Package->HasAnyFlags(RF_Transient) && !Package->GetName().StartsWith(TEXT("/Script/")))
		{
			Dirty.Add(Package);
		}
	}
	return SavePackages(Dirty, true);
}
