// UBlendSpace: blends animation samples placed on up to three axes by the input's position among them.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimationAsset.h"
#include "UObject/ObjectPtr.h"

#include "BlendSpace.generated.h"

class UAnimSequence;

/** One axis of a BlendSpace. */
USTRUCT()
struct ENGINE_API FBlendParameter
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, DisplayName = "Name", Category = BlendParameter)
	FString DisplayName = TEXT("None");

	UPROPERTY(EditAnywhere, DisplayName = "Minimum Axis Value", Category = BlendParameter)
	float Min = 0.0f;

	UPROPERTY(EditAnywhere, DisplayName = "Maximum Axis Value", Category = BlendParameter)
	float Max = 100.0f;

	/** The number of grid divisions along the axis. */
	UPROPERTY(EditAnywhere, DisplayName = "Grid Divisions", Category = BlendParameter, meta = (UIMin = "1", ClampMin = "1"))
	int32 GridNum = 4;

	UPROPERTY(EditAnywhere, DisplayName = "Snap to Grid", Category = BlendParameter)
	bool bSnapToGrid = false;

	UPROPERTY(EditAnywhere, DisplayName = "Wrap Input", Category = BlendParameter)
	bool bWrapInput = false;

	float GetRange() const { return Max - Min; }
	float GetGridSize() const { return GetRange() / (float)GridNum; }
};

/** One animation placed in a BlendSpace. */
USTRUCT()
struct ENGINE_API FBlendSample
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = BlendSample)
	TObjectPtr<UAnimSequence> Animation;

	/** Where the sample sits on the axes. */
	UPROPERTY(EditAnywhere, Category = BlendSample)
	FVector SampleValue;

	UPROPERTY(EditAnywhere, Category = BlendSample, meta = (UIMin = "0.01", UIMax = "2.0", ClampMin = "0.01", ClampMax = "64.0"))
	float RateScale = 1.0f;

	/** Whether the sample has an animation of the BlendSpace's Skeleton inside the axes (ValidateSampleData). */
	UPROPERTY(Transient)
	bool bIsValid = false;
};

/** A grid point of the axes with the samples that blend there and their weights (ResampleData). */
USTRUCT()
struct ENGINE_API FEditorElement
{
	GENERATED_BODY()

	UPROPERTY()
	int32 Indices[3] = {INDEX_NONE, INDEX_NONE, INDEX_NONE};

	UPROPERTY()
	float Weights[3] = {0.0f, 0.0f, 0.0f};
};

UCLASS(BlueprintType)
class ENGINE_API UBlendSpace : public UAnimationAsset
{
	GENERATED_BODY()

public:
	const FBlendParameter& GetBlendParameter(const int32 Index) const;
	const FBlendSample& GetBlendSample(const int32 SampleIndex) const;
	const TArray<FBlendSample>& GetBlendSamples() const { return SampleData; }
	int32 GetNumberOfBlendSamples() const { return SampleData.Num(); }
	bool IsValidBlendSampleIndex(const int32 SampleIndex) const { return SampleData.IsValidIndex(SampleIndex); }

	/** Adds a sample; INDEX_NONE when the value is outside the axes or too close to another sample. */
	int32 AddSample(UAnimSequence* AnimationSequence, const FVector& SampleValue);
	/** Moves a sample; false when the value is outside the axes or too close to another sample. */
	bool EditSampleValue(const int32 BlendSampleIndex, const FVector& NewValue);
	/** Gives a sample another animation; false for an index that is no sample. */
	bool ReplaceSampleAnimation(const int32 BlendSampleIndex, UAnimSequence* AnimationSequence);
	bool DeleteSample(const int32 BlendSampleIndex);
	/** Marks each sample valid or not: an animation of the BlendSpace's Skeleton, inside the axes. */
	void ValidateSampleData();
	/** Works out the blend weights at the axes' grid points from the samples. */
	void ResampleData();
	/** The grid points and their weights, as ResampleData left them. */
	const TArray<FEditorElement>& GetGridSamples() const { return GridSamples; }

	/** An edit checks the samples again and works the grid out again. */
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;

	/** The number of axes the BlendSpace blends on (2; 1 for a BlendSpace1D). */
	virtual int32 GetNumberOfAxes() const { return 2; }

protected:
	bool IsSampleWithinBounds(const FVector& SampleValue) const;
	bool IsTooCloseToExistingSamplePoint(const FVector& SampleValue, int32 OriginalIndex) const;

	UPROPERTY(EditAnywhere, Category = BlendSpace, EditFixedSize)
	TArray<FBlendSample> SampleData;

	UPROPERTY(EditAnywhere, DisplayName = "Axis Settings", Category = "Axis Settings")
	FBlendParameter BlendParameters[3];

	UPROPERTY()
	TArray<FEditorElement> GridSamples;
};
