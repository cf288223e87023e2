// Animation sequences: their length, and their keys kept as text lines in the package.

#include "Animation/AnimSequence.h"

#include "HostEditorSupport/AnimSequenceAccess.h"
#include "Misc/FeedbackContext.h"
#include "Misc/OutputDevice.h"

namespace
{
	const TCHAR* const FrameRateTag = TEXT("AnimFrameRate=");
	const TCHAR* const KeysTag = TEXT("AnimKeys=");
	const TCHAR* const TrackTag = TEXT("AnimTrack=");

	FString KeyText(const FRawAnimSequenceTrack& Track, int32 Key)
	{
		const FVector& P = Track.PosKeys[Key];
		const FQuat& R = Track.RotKeys[Key];
		const FVector& S = Track.ScaleKeys[Key];
		return FString::Printf(TEXT("%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g"), P.X, P.Y, P.Z, R.X, R.Y, R.Z, R.W, S.X, S.Y, S.Z);
	}
}

float UAnimSequence::GetPlayLength() const
{
	return NumberOfKeys > 1 && SamplingFrameRate.IsValid() ? float((NumberOfKeys - 1) * SamplingFrameRate.AsInterval()) : 0.0f;
}

void UAnimSequence::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	Out.Logf(TEXT("%s%d/%d"), FrameRateTag, SamplingFrameRate.Numerator, SamplingFrameRate.Denominator);
	Out.Logf(TEXT("%s%d"), KeysTag, NumberOfKeys);
	for (int32 Index = 0; Index < Tracks.Num(); ++Index)
	{
		TArray<FString> Keys;
		for (int32 Key = 0; Key < Tracks[Index].PosKeys.Num(); ++Key)
		{
			Keys.Add(KeyText(Tracks[Index], Key));
		}
		Out.Logf(TEXT("%s%s %s"), TrackTag, *TrackNames[Index].ToString(), *FString::Join(Keys, TEXT(";")));
	}
}

void UAnimSequence::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	TrackNames.Empty();
	Tracks.Empty();
	TArray<FString> Lines;
	FString(SourceText).ParseIntoArray(Lines, TEXT("\n"), true);
	for (const FString& RawLine : Lines)
	{
		const FString Line = RawLine.TrimStartAndEnd();
		if (Line.StartsWith(FrameRateTag, ESearchCase::CaseSensitive))
		{
			FString Numerator, Denominator;
			if (Line.Mid(FCString::Strlen(FrameRateTag)).Split(TEXT("/"), &Numerator, &Denominator))
			{
				SamplingFrameRate = FFrameRate(FCString::Atoi(*Numerator), FCString::Atoi(*Denominator));
			}
		}
		else if (Line.StartsWith(KeysTag, ESearchCase::CaseSensitive))
		{
			NumberOfKeys = FCString::Atoi(*Line.Mid(FCString::Strlen(KeysTag)));
		}
		else if (Line.StartsWith(TrackTag, ESearchCase::CaseSensitive))
		{
			FString Name, KeysText;
			Line.Mid(FCString::Strlen(TrackTag)).Split(TEXT(" "), &Name, &KeysText);
			TArray<FString> Keys;
			KeysText.ParseIntoArray(Keys, TEXT(";"), true);
			FRawAnimSequenceTrack Track;
			for (const FString& Key : Keys)
			{
				TArray<FString> Numbers;
				Key.ParseIntoArray(Numbers, TEXT(","), true);
				if (Numbers.Num() != 10)
				{
					if (Warn)
					{
						Warn->Logf(ELogVerbosity::Warning, TEXT("Animation track '%s' has a key that cannot be read: %s"), *Name, *Key);
					}
					continue;
				}
				const auto N = [&Numbers](int32 Index) { return FCString::Atod(*Numbers[Index]); };
				Track.PosKeys.Add(FVector(N(0), N(1), N(2)));
				Track.RotKeys.Add(FQuat(N(3), N(4), N(5), N(6)));
				Track.ScaleKeys.Add(FVector(N(7), N(8), N(9)));
			}
			TrackNames.Add(FName(*Name));
			Tracks.Add(MoveTemp(Track));
		}
	}
}

namespace HostEditor
{
	void FAnimSequenceAccess::SetData(UAnimSequence& Sequence, const FFrameRate& FrameRate, int32 NumberOfKeys, const TArray<FName>& TrackNames, const TArray<FRawAnimSequenceTrack>& Tracks)
	{
		Sequence.SamplingFrameRate = FrameRate;
		Sequence.NumberOfKeys = NumberOfKeys;
		Sequence.TrackNames = TrackNames;
		Sequence.Tracks = Tracks;
	}
}
