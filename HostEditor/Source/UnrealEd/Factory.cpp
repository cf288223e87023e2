#include "Factories/Factory.h"

#include "Factories/DataAssetFactory.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogFactory, Log, All);

const int32 UFactory::DefaultImportPriority = 100;

UFactory::UFactory(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, ImportPriority(DefaultImportPriority)
{
}

UObject* UFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
{
	return nullptr;
}

UObject* UFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext)
{
	return FactoryCreateNew(InClass, InParent, InName, Flags, Context, Warn);
}

UObject* UFactory::FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled)
{
	bOutOperationCanceled = false;
	const FString Extension = FPaths::GetExtension(Filename);
	if (bText)
	{
		FString Data;
		if (!FFileHelper::LoadFileToString(Data, *Filename))
		{
			UE_LOG(LogFactory, Error, TEXT("Failed to load file '%s' to string"), *Filename);
			return nullptr;
		}
		const TCHAR* Buffer = *Data;
		return FactoryCreateText(InClass, InParent, InName, Flags, nullptr, *Extension, Buffer, Buffer + Data.Len(), Warn);
	}
	TArray<uint8> Data;
	if (!FFileHelper::LoadFileToArray(Data, *Filename))
	{
		UE_LOG(LogFactory, Error, TEXT("Failed to load file '%s' to array"), *Filename);
		return nullptr;
	}
	Data.Add(0);
	const uint8* Buffer = Data.GetData();
	return FactoryCreateBinary(InClass, InParent, InName, Flags, nullptr, *Extension, Buffer, Buffer + Data.Num() - 1, Warn);
}

UObject* UFactory::FactoryCreateText(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, const TCHAR* Type, const TCHAR*& Buffer, const TCHAR* BufferEnd, FFeedbackContext* Warn)
{
	return nullptr;
}

UObject* UFactory::FactoryCreateBinary(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, const TCHAR* Type, const uint8*& Buffer, const uint8* BufferEnd, FFeedbackContext* Warn)
{
	return nullptr;
}

bool UFactory::FactoryCanImport(const FString& Filename)
{
	return false;
}

UObject* UFactory::ImportObject(UClass* InClass, UObject* InOuter, FName InName, EObjectFlags InFlags, const FString& Filename, const TCHAR* Parms, bool& OutCanceled)
{
	OutCanceled = false;
	UObject* Result = nullptr;
	if (CanCreateNew())
	{
		Result = FactoryCreateNew(InClass, InOuter, InName, InFlags, nullptr, GWarn);
	}
	else if (!Filename.IsEmpty())
	{
		if (IFileManager::Get().FileSize(*Filename) < 0)
		{
			UE_LOG(LogFactory, Error, TEXT("Can't find file '%s' for import"), *Filename);
		}
		else
		{
			Result = FactoryCreateFile(InClass, InOuter, InName, InFlags, Filename, Parms, GWarn, OutCanceled);
		}
	}
	if (Result)
	{
		Result->MarkPackageDirty();
	}
	return Result;
}

bool UFactory::DoesSupportClass(UClass* Class)
{
	UClass* Supported = GetSupportedClass();
	return Class && Supported && (Class == Supported || Class->IsChildOf(Supported));
}

FText UFactory::GetDisplayName() const
{
	UClass* const Supported = GetSupportedClass();
	return Supported ? FText::FromString(Supported->GetName()) : FText::GetEmpty();
}

void UFactory::GetSupportedFileExtensions(TArray<FString>& OutExtensions) const
{
	for (const FString& Format : Formats)
	{
		FString Extension;
		FString Description;
		if (!Format.Split(TEXT(";"), &Extension, &Description))
		{
			Extension = Format;
		}
		Extension.TrimStartAndEndInline();
		if (!Extension.IsEmpty())
		{
			OutExtensions.AddUnique(Extension);
		}
	}
}

bool UFactory::SortFactoriesByPriority(const UFactory& A, const UFactory& B)
{
	return A.ImportPriority > B.ImportPriority;
}

UDataAssetFactory::UDataAssetFactory(const FObjectInitializer& ObjectInitializer)
	: UFactory(ObjectInitializer)
{
	SupportedClass = UDataAsset::StaticClass();
	bCreateNew = true;
	bEditAfterNew = true;
}

UObject* UDataAssetFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
{
	UClass* const Class = DataAssetClass ? DataAssetClass.Get() : InClass;
	if (!Class || !Class->IsChildOf(UDataAsset::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract))
	{
		return nullptr;
	}
	return NewObject<UObject>(InParent, Class, InName, Flags);
}
