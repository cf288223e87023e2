// Test-only reflected classes: an object graph with subobjects, references between them, a
// reference to another package, a transient member and state kept outside reflected properties.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"
#include "UObject/UObjectGlobals.h"

#include "PackageTestTypes.generated.h"

UCLASS()
class UPackageTestNode : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FString Label;

	UPROPERTY()
	int32 Count = 0;

	UPROPERTY()
	TObjectPtr<UPackageTestNode> Next = nullptr;

	UPROPERTY()
	TArray<TObjectPtr<UPackageTestNode>> Children;

	UPROPERTY()
	TObjectPtr<UObject> External = nullptr;

	UPROPERTY(Transient)
	int32 Scratch = 0;

	/** Kept outside reflected properties; saved through the custom-property text. */
	TArray<FString> Notes;
	/** How often PostLoad ran on this object. */
	int32 PostLoadCalls = 0;
	/** Whether every child had been post-loaded when this object's PostLoad ran. */
	bool bChildrenLoadedFirst = false;

	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override
	{
		for (const FString& Note : Notes)
		{
			Out.Logf(TEXT("Note %s"), *Note);
		}
	}

	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override
	{
		TArray<FString> Lines;
		FString(SourceText).ParseIntoArray(Lines, TEXT("\n"), true);
		for (const FString& Line : Lines)
		{
			if (Line.StartsWith(TEXT("Note ")))
			{
				Notes.Add(Line.Mid(5));
			}
		}
	}

	virtual void PostLoad() override
	{
		++PostLoadCalls;
		bChildrenLoadedFirst = true;
		for (const UPackageTestNode* Child : Children)
		{
			bChildrenLoadedFirst &= Child && Child->PostLoadCalls > 0;
		}
	}
};
