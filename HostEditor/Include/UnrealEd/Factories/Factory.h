// UFactory: the base of the editor's asset factories, which make new assets of a class or import
// them from files.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

#include "Factory.generated.h"

class FFeedbackContext;

UCLASS(Abstract)
class UNREALED_API UFactory : public UObject
{
	GENERATED_BODY()

public:
	UFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The import priority every factory starts with; factories of higher priority are asked first. */
	static const int32 DefaultImportPriority;

	/**
	 * Creates a new object of InClass named InName in InParent. The base class creates nothing;
	 * each factory that can create new assets overrides this.
	 */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn);
	/** As FactoryCreateNew, told who asked; the base class forwards to the form without a calling context. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext);

	/**
	 * Creates a new object by importing the file Filename. The base class reads the whole file and
	 * hands it to FactoryCreateText (bText) or FactoryCreateBinary; factories that read the file
	 * themselves override this. Sets bOutOperationCanceled when the user cancelled the import.
	 */
	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled);
	/** Creates a new object from the text of an imported file; the base class creates nothing. */
	virtual UObject* FactoryCreateText(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, const TCHAR* Type, const TCHAR*& Buffer, const TCHAR* BufferEnd, FFeedbackContext* Warn);
	/** Creates a new object from the bytes of an imported file; the base class creates nothing. */
	virtual UObject* FactoryCreateBinary(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, const TCHAR* Type, const uint8*& Buffer, const uint8* BufferEnd, FFeedbackContext* Warn);

	/**
	 * True when this factory can import the file. The editor asks every factory of the file's
	 * extension in priority order; the base class claims nothing.
	 */
	virtual bool FactoryCanImport(const FString& Filename);

	/**
	 * Imports Filename into a new object named InName in InOuter, or creates one from nothing when
	 * the factory creates new assets, and marks its package dirty. Returns null when nothing was made.
	 */
	virtual UObject* ImportObject(UClass* InClass, UObject* InOuter, FName InName, EObjectFlags InFlags, const FString& Filename, const TCHAR* Parms, bool& OutCanceled);

	/** The class of the objects this factory makes. */
	UClass* GetSupportedClass() const { return SupportedClass; }
	/** True when the factory can make objects of the class (or of a class derived from it). */
	virtual bool DoesSupportClass(UClass* Class);
	/** The factory's name in menus and import dialogs; the base class names the supported class. */
	virtual FText GetDisplayName() const;
	/** True when the factory makes new assets rather than importing files. */
	virtual bool CanCreateNew() const { return bCreateNew; }
	virtual bool ShouldShowInNewMenu() const { return CanCreateNew(); }
	/** The file extensions of Formats, without their descriptions ("fbx"). */
	virtual void GetSupportedFileExtensions(TArray<FString>& OutExtensions) const;

	/** Orders factories by import priority, highest first. */
	static bool SortFactoriesByPriority(const UFactory& A, const UFactory& B);

	/** The class of the objects this factory makes. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	TSubclassOf<UObject> SupportedClass;

	/** True when the factory makes new assets from nothing. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bCreateNew = false;

	/** True when the editor opens the new asset after making it. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bEditAfterNew = false;

	/** True when the factory imports files. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bEditorImport = false;

	/** True when the factory imports text rather than binary files. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bText = false;

	/** The file formats the factory imports ("fbx;FBX meshes"). */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	TArray<FString> Formats;

	/** The order in which factories of one file extension are asked to import; higher goes first. */
	UPROPERTY()
	int32 ImportPriority;
};
