// The names of a character's gameplay assets, and how its imported clips are matched to the
// template's locomotion samples by name.
#pragma once

#include "CoreMinimal.h"

namespace VantorelGameplayAssets
{
	/** The five assets made next to a character's mesh, named after it. */
	struct FAssetNames
	{
		FString BlendSpace;
		FString AnimBlueprint;
		FString Character;
		FString PlayerController;
		FString GameMode;
	};

	/** The names for a mesh's asset name: its name without a leading "SK_" (any case) is their base. */
	FAssetNames MakeAssetNames(const FString& MeshAssetName);

	/** A name kept to its letters and digits, A to Z lower-cased. */
	FString NormaliseClipName(const FString& Name);

	/**
	 * How well a clip's name fits a template animation's: 1000 when the normalised names are equal,
	 * 400 when one contains the other, and per shared or lone locomotion keyword (idle, walk, run, ...)
	 * and direction keyword (forward, left, ...) a bonus or penalty. the lowest int32 when either is empty.
	 */
	int32 ScoreClipMatch(const FString& TemplateName, const FString& ClipName);

	/** The index of the clip that fits the template animation best, scoring above 0; INDEX_NONE when none does. */
	int32 FindBestClip(const FString& TemplateName, const TArray<FString>& ClipNames);
}
