// UAnimSequence: a clip of bone animation, a track of keys per animated bone, sampled at one rate.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimSequenceBase.h"
#include "Animation/AnimTypes.h"

#include "AnimSequence.generated.h"

namespace HostEditor
{
	class FAnimSequenceAccess;
}

UCLASS(BlueprintType)
class ENGINE_API UAnimSequence : public UAnimSequenceBase
{
	GENERATED_BODY()

public:
	virtual float GetPlayLength() const override;
	virtual FFrameRate GetSamplingFrameRate() const override { return SamplingFrameRate; }
	virtual int32 GetNumberOfSampledKeys() const override { return NumberOfKeys; }

	/** Writes the frame rate, key count and bone tracks, which are not reflected properties here, as text lines. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Reads what ExportCustomProperties wrote. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	friend class HostEditor::FAnimSequenceAccess;

	FFrameRate SamplingFrameRate = FFrameRate(30, 1);
	int32 NumberOfKeys = 0;
	/** The animated bones, and each one's keys. */
	TArray<FName> TrackNames;
	TArray<FRawAnimSequenceTrack> Tracks;
};
