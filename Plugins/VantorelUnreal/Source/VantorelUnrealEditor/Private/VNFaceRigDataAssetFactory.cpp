// The Content Browser importer of Face rig JSON files.

#include "VNFaceRigDataAssetFactory.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Misc/FeedbackContext.h"
#include "Misc/FileHelper.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UObject/Package.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"

#define LOCTEXT_NAMESPACE "VantorelUnreal"

UVNFaceRigDataAssetFactory::UVNFaceRigDataAssetFactory(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	Formats.Add(TEXT("json;Vantorel Face SDK JSON"));
	SupportedClass = UObject::StaticClass();
	bCreateNew = false;
	bEditorImport = true;
	// FactoryCreateFile hands the file name to the importer, which reads the file itself.
	bText = false;
	// Asked before the other importers of "json" files.
	ImportPriority = DefaultImportPriority + 50;
}

bool UVNFaceRigDataAssetFactory::FactoryCanImport(const FString& Filename)
{
	FString JsonText;
	if (!FFileHelper::LoadFileToString(JsonText, *Filename))
	{
		return false;
	}
	TSharedPtr<FJsonObject> Root;
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(JsonText);
	if (!FJsonSerializer::Deserialize(Reader, Root) || !Root.IsValid())
	{
		return false;
	}
	const TArray<TSharedPtr<FJsonValue>>* Drivers = nullptr;
	return Root->TryGetArrayField(TEXT("drivers"), Drivers) && Drivers;
}

bool UVNFaceRigDataAssetFactory::DoesSupportClass(UClass* Class)
{
	return Class == UObject::StaticClass() || Class == UVNFaceRigDataAsset::StaticClass();
}

FText UVNFaceRigDataAssetFactory::GetDisplayName() const
{
	return LOCTEXT("VNFaceRigDataAssetFactory", "Vantorel Face SDK JSON");
}

UObject* UVNFaceRigDataAssetFactory::FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled)
{
	bOutOperationCanceled = false;

	// The file is imported into a scratch asset first. Making the named asset replaces any asset of
	// that name in InParent, so it is made only once the import has succeeded: a file that fails to
	// import leaves an existing asset as it was.
	UVNFaceRigDataAsset* const Scratch = NewObject<UVNFaceRigDataAsset>(GetTransientPackage(), NAME_None, RF_Transient);
	FString Error;
	const bool bImported = UVNFaceSDKImportLibrary::ImportVNFaceSDKJson(Scratch, Filename, Error);
	if (!bImported)
	{
		Scratch->MarkAsGarbage();
		if (Warn)
		{
			Warn->Logf(ELogVerbosity::Error, TEXT("%s"), *Error);
		}
		return nullptr;
	}

	// The importer fills the version and the drivers; everything else of the new asset keeps its defaults.
	UVNFaceRigDataAsset* const Asset = NewObject<UVNFaceRigDataAsset>(InParent, InName, Flags);
	Asset->Version = Scratch->Version;
	Asset->Drivers = MoveTemp(Scratch->Drivers);
	Scratch->MarkAsGarbage();
	Asset->MarkPackageDirty();
	return Asset;
}

#undef LOCTEXT_NAMESPACE
