// The raw keys of one bone's animation track.
#pragma once

#include "CoreMinimal.h"

/** A bone's keys, one per sampled frame: position, rotation and scale in the parent bone's space. */
struct ENGINE_API FRawAnimSequenceTrack
{
	TArray<FVector> PosKeys;
	TArray<FQuat> RotKeys;
	TArray<FVector> ScaleKeys;
};
