// UPackage::SavePackage: writes a package's objects to its file as text.

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "PackageText.h"
#include "UObject/Package.h"
#include "UObject/SavePackage.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogSavePackage, Log, All);

namespace
{
	bool SaveFailed(const FSavePackageArgs& SaveArgs, const FString& Message)
	{
		UE_LOG(LogSavePackage, Error, TEXT("%s"), *Message);
		if (SaveArgs.Error && !(SaveArgs.SaveFlags & SAVE_NoError))
		{
			SaveArgs.Error->Log(ELogVerbosity::Error, Message);
		}
		return false;
	}
}

bool UPackage::SavePackage(UPackage* InOuter, UObject* InAsset, const TCHAR* Filename, const FSavePackageArgs& SaveArgs)
{
	if (!InOuter || !IsValid(InOuter))
	{
		return SaveFailed(SaveArgs, TEXT("SavePackage: no package to save"));
	}
	const FString PackageName = InOuter->GetName();
	if (!Filename || !*Filename)
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: no file name for package %s"), *PackageName));
	}
	if (InOuter->HasAnyFlags(RF_Transient))
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: package %s is transient and cannot be saved"), *PackageName));
	}
	if (InAsset && InAsset->GetPackage() != InOuter)
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: %s is not in package %s"), *InAsset->GetPathName(), *PackageName));
	}

	TArray<UObject*> Roots;
	TArray<UObject*> Inner;
	GetObjectsWithOuter(InOuter, Inner, false);
	for (UObject* Object : Inner)
	{
		// A class default object is made by its class, never read from a package: a blueprint keeps
		// its class's defaults itself.
		if (!Object->HasAnyFlags(EObjectFlags(RF_Transient | RF_ClassDefaultObject)))
		{
			Roots.Add(Object);
		}
	}
	if (Roots.IsEmpty())
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: package %s holds nothing to save"), *PackageName));
	}

	FString Text;
	FString Error;
	if (!PackageText::ExportObjects(Roots, Text, Error))
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: cannot save %s: %s"), *PackageName, *Error));
	}

	// Written beside the target first and moved over it, so a failed write leaves the old file whole.
	const FString Target(Filename);
	const FString Temporary = Target + TEXT(".tmp");
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(Target), true);
	if (!FFileHelper::SaveStringToFile(Text, *Temporary, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM))
	{
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: cannot write '%s'"), *Temporary));
	}
	if (!IFileManager::Get().Move(*Target, *Temporary, true))
	{
		IFileManager::Get().Delete(*Temporary);
		return SaveFailed(SaveArgs, FString::Printf(TEXT("SavePackage: cannot replace '%s'"), *Target));
	}
	if (!(SaveArgs.SaveFlags & SAVE_KeepDirty))
	{
		InOuter->SetDirtyFlag(false);
	}
	InOuter->ClearPackageFlags(PKG_NewlyCreated);
	UE_LOG(LogSavePackage, Log, TEXT("Saved package %s to '%s'"), *PackageName, *Target);
	return true;
}
