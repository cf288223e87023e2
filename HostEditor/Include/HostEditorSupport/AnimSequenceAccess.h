// Stand-in only: the keys of an animation sequence, written by the headless editor's FBX import
// and read by tests. (The engine keeps them behind its animation data model and controller, which
// the plug-in does not use.)
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimSequence.h"

namespace HostEditor
{
	class ENGINE_API FAnimSequenceAccess
	{
	public:
		/** Replaces the sequence's keys: NumberOfKeys per track, Tracks[i] animating the bone TrackNames[i]. */
		static void SetData(UAnimSequence& Sequence, const FFrameRate& FrameRate, int32 NumberOfKeys, const TArray<FName>& TrackNames, const TArray<FRawAnimSequenceTrack>& Tracks);
		static const TArray<FName>& GetTrackNames(const UAnimSequence& Sequence) { return Sequence.TrackNames; }
		static const TArray<FRawAnimSequenceTrack>& GetTracks(const UAnimSequence& Sequence) { return Sequence.Tracks; }
	};
}
