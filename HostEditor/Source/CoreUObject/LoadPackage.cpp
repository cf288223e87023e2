// Loading packages from their text files, loading objects by path, and duplicating objects.

#include "Misc/FileHelper.h"
#include "Misc/PackageName.h"
#include "PackageText.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogLinker, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogUObjectGlobals, Log, All);

namespace
{
	/** "Class'/Game/A.A'" to "/Game/A.A"; other text unchanged. */
	FString StripClassQuotes(const FString& Path)
	{
		int32 Quote = INDEX_NONE;
		if (Path.EndsWith(TEXT("'")) && Path.FindChar('\'', Quote) && Quote < Path.Len() - 1)
		{
			return Path.Mid(Quote + 1, Path.Len() - Quote - 2);
		}
		return Path;
	}
}

UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags)
{
	const bool bWarn = !(LoadFlags & (LOAD_NoWarn | LOAD_Quiet));
	const FString PackageName = FPackageName::ObjectPathToPackageName(StripClassQuotes(FString(InLongPackageName ? InLongPackageName : TEXT(""))));
	FText Reason;
	if (!FPackageName::IsValidLongPackageName(PackageName, false, &Reason))
	{
		if (bWarn)
		{
			UE_LOG(LogLinker, Warning, TEXT("LoadPackage: %s"), *Reason.ToString());
		}
		return nullptr;
	}
	if (UPackage* Existing = FindPackage(nullptr, *PackageName))
	{
		return Existing;
	}
	FString Filename;
	if (!FPackageName::DoesPackageExist(PackageName, &Filename))
	{
		if (bWarn)
		{
			UE_LOG(LogLinker, Warning, TEXT("LoadPackage: couldn't find file for package %s"), *PackageName);
		}
		return nullptr;
	}
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *Filename))
	{
		UE_LOG(LogLinker, Error, TEXT("LoadPackage: cannot read '%s'"), *Filename);
		return nullptr;
	}

	// The package is findable while it is read, so references back into it from packages it
	// loads in turn find its objects instead of loading it again.
	UPackage* Package = CreatePackage(*PackageName);
	PackageText::FImportOptions Options;
	Options.SourceDescription = Filename;
	TArray<UObject*> Roots;
	FString Error;
	const bool bRead = PackageText::ImportObjects(Package, Text, Options, Roots, Error);
	if (!bRead)
	{
		Package->MarkAsGarbage();
		UE_LOG(LogLinker, Error, TEXT("Failed to load package %s from '%s': %s"), *PackageName, *Filename, *Error);
		return nullptr;
	}
	Package->ClearPackageFlags(PKG_NewlyCreated);
	Package->SetDirtyFlag(false);
	Package->MarkAsFullyLoaded();
	return Package;
}

UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename, uint32 LoadFlags, UPackageMap* Sandbox, bool bAllowObjectReconciliation)
{
	const bool bWarn = !(LoadFlags & (LOAD_NoWarn | LOAD_Quiet));
	UClass* const WantedClass = Class ? Class : UObject::StaticClass();
	FString Path = StripClassQuotes(FString(Name ? Name : TEXT("")));
	if (Path.IsEmpty())
	{
		return nullptr;
	}
	int32 Dot = INDEX_NONE;
	if (!InOuter && !Path.FindChar('.', Dot) && !WantedClass->IsChildOf(UPackage::StaticClass()))
	{
		// A package name stands for the asset named like the package.
		Path = Path + TEXT(".") + FPackageName::GetLongPackageAssetName(Path);
	}
	if (UObject* Found = StaticFindObject(WantedClass, InOuter, *Path))
	{
		return Found;
	}
	if (InOuter)
	{
		Path = InOuter->GetPathName() + TEXT(".") + Path;
	}
	UObject* Result = nullptr;
	if (LoadPackage(nullptr, *FPackageName::ObjectPathToPackageName(Path), LoadFlags | LOAD_NoWarn))
	{
		Result = StaticFindObject(WantedClass, nullptr, *Path);
	}
	if (!Result && bWarn)
	{
		UE_LOG(LogUObjectGlobals, Warning, TEXT("Failed to find object '%s %s'"), *WantedClass->GetName(), *Path);
	}
	return Result;
}

UObject* StaticDuplicateObject(UObject const* SourceObject, UObject* DestOuter, const FName DestName, EObjectFlags FlagMask, UClass* DestClass)
{
	if (!SourceObject || !DestOuter)
	{
		return nullptr;
	}
	UObject* Source = const_cast<UObject*>(SourceObject);
	FString Text;
	FString Error;
	if (!PackageText::ExportObjects({Source}, Text, Error))
	{
		UE_LOG(LogUObjectGlobals, Error, TEXT("Cannot duplicate %s: %s"), *Source->GetPathName(), *Error);
		return nullptr;
	}
	const FName Name = DestName.IsNone() ? MakeUniqueObjectName(DestOuter, Source->GetClass(), Source->GetFName()) : DestName;
	PackageText::FImportOptions Options;
	Options.SourceDescription = FString::Printf(TEXT("copy of %s"), *Source->GetPathName());
	Options.RootName = Name;
	// References to the source or anything inside it point at the copies.
	const FString SourcePath = Source->GetPathName();
	const FString DestPath = DestOuter->GetPathName() + TEXT(".") + Name.ToString();
	Options.PathRemaps.Add(TPair<FString, FString>(SourcePath, DestPath));
	TArray<UObject*> Roots;
	if (!PackageText::ImportObjects(DestOuter, Text, Options, Roots, Error))
	{
		UE_LOG(LogUObjectGlobals, Error, TEXT("Cannot duplicate %s: %s"), *Source->GetPathName(), *Error);
		return nullptr;
	}
	UObject* Copy = Roots[0];
	Copy->ClearFlags(EObjectFlags(~FlagMask));
	Copy->MarkPackageDirty();
	return Copy;
}
