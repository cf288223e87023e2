// UAssetImportTask: one file to import, with where to put it and how, for IAssetTools::ImportAssetTasks.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "AssetImportTask.generated.h"

class UFactory;

UCLASS(Transient, BlueprintType)
class UNREALED_API UAssetImportTask : public UObject
{
	GENERATED_BODY()

public:
	/** The file to import. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	FString Filename;

	/** The content folder the assets go into ("/Game/Hero/Anims"). */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	FString DestinationPath;

	/** The asset's name; the file's base name when empty. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	FString DestinationName;

	/** Replace an existing asset of that name (otherwise the file is skipped). */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	bool bReplaceExisting = true;

	/** Replace the settings of an existing asset too. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	bool bReplaceExistingSettings = false;

	/** Import without asking the user anything. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	bool bAutomated = false;

	/** Save the imported assets' packages. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	bool bSave = false;

	/** The factory to import with; the one claiming the file's extension when none. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	TObjectPtr<UFactory> Factory;

	/** The factory's import options (for an FBX file, a UFbxImportUI). */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	TObjectPtr<UObject> Options;

	/** The object paths of what the import made. */
	UPROPERTY(BlueprintReadOnly, Category = Misc)
	TArray<FString> ImportedObjectPaths;

	/** What the import made. */
	UFUNCTION(BlueprintCallable, Category = Misc)
	const TArray<UObject*>& GetObjects() const { return Result; }

	/** Set by the import: the objects it made. */
	void SetResult(const TArray<UObject*>& InResult) { Result = InResult; }

private:
	TArray<UObject*> Result;
};
