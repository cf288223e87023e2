// BlendSpaces: editing their samples, checking them and working out the grid's blend weights.

#include "Animation/BlendSpace.h"

#include "Animation/AnimSequence.h"
#include "Animation/BlendSpace1D.h"
#include "Animation/Skeleton.h"

namespace
{
	/** Two samples closer than this on every axis are one point. */
	constexpr float SamePointTolerance = 1.e-4f;
}

const FBlendParameter& UBlendSpace::GetBlendParameter(const int32 Index) const
{
	check(Index >= 0 && Index < 3);
	return BlendParameters[Index];
}

const FBlendSample& UBlendSpace::GetBlendSample(const int32 SampleIndex) const
{
	check(SampleData.IsValidIndex(SampleIndex));
	return SampleData[SampleIndex];
}

bool UBlendSpace::IsSampleWithinBounds(const FVector& SampleValue) const
{
	for (int32 Axis = 0; Axis < GetNumberOfAxes(); ++Axis)
	{
		const double Value = Axis == 0 ? SampleValue.X : (Axis == 1 ? SampleValue.Y : SampleValue.Z);
		if (Value < BlendParameters[Axis].Min - SamePointTolerance || Value > BlendParameters[Axis].Max + SamePointTolerance)
		{
			return false;
		}
	}
	return true;
}

bool UBlendSpace::IsTooCloseToExistingSamplePoint(const FVector& SampleValue, int32 OriginalIndex) const
{
	for (int32 Index = 0; Index < SampleData.Num(); ++Index)
	{
		if (Index != OriginalIndex && SampleData[Index].SampleValue.Equals(SampleValue, SamePointTolerance))
		{
			return true;
		}
	}
	return false;
}

int32 UBlendSpace::AddSample(UAnimSequence* AnimationSequence, const FVector& SampleValue)
{
	if (!IsSampleWithinBounds(SampleValue) || IsTooCloseToExistingSamplePoint(SampleValue, INDEX_NONE))
	{
		return INDEX_NONE;
	}
	FBlendSample& Sample = SampleData.AddDefaulted_GetRef();
	Sample.Animation = AnimationSequence;
	Sample.SampleValue = SampleValue;
	return SampleData.Num() - 1;
}

bool UBlendSpace::EditSampleValue(const int32 BlendSampleIndex, const FVector& NewValue)
{
	if (!SampleData.IsValidIndex(BlendSampleIndex) || !IsSampleWithinBounds(NewValue) || IsTooCloseToExistingSamplePoint(NewValue, BlendSampleIndex))
	{
		return false;
	}
	SampleData[BlendSampleIndex].SampleValue = NewValue;
	return true;
}

bool UBlendSpace::ReplaceSampleAnimation(const int32 BlendSampleIndex, UAnimSequence* AnimationSequence)
{
	if (!SampleData.IsValidIndex(BlendSampleIndex))
	{
		return false;
	}
	SampleData[BlendSampleIndex].Animation = AnimationSequence;
	return true;
}

bool UBlendSpace::DeleteSample(const int32 BlendSampleIndex)
{
	if (!SampleData.IsValidIndex(BlendSampleIndex))
	{
		return false;
	}
	SampleData.RemoveAt(BlendSampleIndex);
	return true;
}

void UBlendSpace::ValidateSampleData()
{
	for (int32 Index = 0; Index < SampleData.Num(); ++Index)
	{
		FBlendSample& Sample = SampleData[Index];
		const UAnimSequence* Animation = Sample.Animation;
		Sample.bIsValid = Animation && GetSkeleton() && Animation->GetSkeleton() == GetSkeleton() && IsSampleWithinBounds(Sample.SampleValue)
			&& !IsTooCloseToExistingSamplePoint(Sample.SampleValue, Index);
	}
}

void UBlendSpace::ResampleData()
{
	// Along the first axis: at each grid point, the two valid samples on either side blend by distance
	// (a point outside every pair takes the nearest sample whole). Further axes blend the same way on
	// the samples' first axis only, which is all a one-axis BlendSpace has.
	GridSamples.Empty();
	TArray<int32> Valid;
	for (int32 Index = 0; Index < SampleData.Num(); ++Index)
	{
		if (SampleData[Index].bIsValid)
		{
			Valid.Add(Index);
		}
	}
	Valid.Sort([this](int32 A, int32 B) { return SampleData[A].SampleValue.X < SampleData[B].SampleValue.X; });
	const FBlendParameter& Axis = BlendParameters[0];
	const int32 Points = FMath::Max(1, Axis.GridNum) + 1;
	for (int32 Point = 0; Point < Points; ++Point)
	{
		FEditorElement& Element = GridSamples.AddDefaulted_GetRef();
		if (Valid.IsEmpty())
		{
			continue;
		}
		const double X = Axis.Min + Axis.GetGridSize() * Point;
		if (X <= SampleData[Valid[0]].SampleValue.X || Valid.Num() == 1)
		{
			Element.Indices[0] = Valid[0];
			Element.Weights[0] = 1.0f;
			continue;
		}
		if (X >= SampleData[Valid.Last()].SampleValue.X)
		{
			Element.Indices[0] = Valid.Last();
			Element.Weights[0] = 1.0f;
			continue;
		}
		for (int32 Pair = 0; Pair + 1 < Valid.Num(); ++Pair)
		{
			const double Low = SampleData[Valid[Pair]].SampleValue.X;
			const double High = SampleData[Valid[Pair + 1]].SampleValue.X;
			if (X >= Low && X <= High)
			{
				const float Alpha = (float)((X - Low) / (High - Low));
				Element.Indices[0] = Valid[Pair];
				Element.Weights[0] = 1.0f - Alpha;
				Element.Indices[1] = Valid[Pair + 1];
				Element.Weights[1] = Alpha;
				break;
			}
		}
	}
}

void UBlendSpace::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	ValidateSampleData();
	ResampleData();
}
