// The text form of saved packages: nested "Begin Object" blocks, one per object, holding the
// object's reflected properties and the lines of its ExportCustomProperties.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

namespace PackageText
{
	/**
	 * Writes Roots, each followed by nested blocks for every object inside it that is saved (not
	 * transient). Returns false with OutError when a value cannot be written as one line.
	 */
	bool ExportObjects(const TArray<UObject*>& Roots, FString& OutText, FString& OutError);

	/** How ImportObjects names and relocates what it reads. */
	struct FImportOptions
	{
		/** Names the file in messages. */
		FString SourceDescription;
		/** When set, the one root object read gets this name instead of its saved one. */
		FName RootName;
		/** Path prefixes replaced in every value and custom line before it is read (from, to). */
		TArray<TPair<FString, FString>> PathRemaps;
	};

	/**
	 * Reads text written by ExportObjects into Outer: creates every object first, then reads
	 * their properties (so references between them resolve), then their custom properties, then
	 * calls PostLoad, inner objects first. Bad text creates nothing and returns false with
	 * OutError; values that cannot be read are reported as warnings in the log.
	 */
	bool ImportObjects(UObject* Outer, const FString& Text, const FImportOptions& Options, TArray<UObject*>& OutRoots, FString& OutError);

	/** Every saved object inside Outer, in creation order; objects inside transient ones are left out. */
	void CollectSavedObjects(const UObject* Outer, TArray<UObject*>& OutObjects);
}
