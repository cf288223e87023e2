// The headless editor's FBX import, read with the Open Asset Import Library: each animation stack
// of the file becomes an animation sequence for the import's Skeleton, a track per animated node
// that is one of its bones, sampled at the file's frame rate. FBX is right-handed and the engine
// left-handed: positions change the sign of Y and rotations that of X and Z, as the engine's FBX
// import converts them.

#include "Factories/FbxFactory.h"

#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetImportTask.h"
#include "Factories/FbxImportUI.h"
#include "HostEditorSupport/AnimSequenceAccess.h"
#include "Logging/LogMacros.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "ReferenceSkeleton.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/scene.h>

#include <cmath>
#include <cstring>
#include <string>

DEFINE_LOG_CATEGORY_STATIC(LogFbx, Log, All);

namespace
{
	/** Whether the file starts as an FBX file does: the binary header, or an ASCII file's header section. */
	bool LooksLikeFbx(const FString& Filename)
	{
		TArray<uint8> Bytes;
		if (!FFileHelper::LoadFileToArray(Bytes, *Filename) || Bytes.Num() < 20)
		{
			return false;
		}
		static const char BinaryMagic[] = "Kaydara FBX Binary  ";
		if (std::memcmp(Bytes.GetData(), BinaryMagic, 20) == 0)
		{
			return true;
		}
		const std::string Head(reinterpret_cast<const char*>(Bytes.GetData()), std::min<size_t>(Bytes.Num(), 4096));
		return Head.find("FBXHeaderExtension") != std::string::npos;
	}

	FVector ToEngine(const aiVector3D& V) { return FVector(V.x, -V.y, V.z); }
	FQuat ToEngine(const aiQuaternion& Q) { return FQuat(-Q.x, Q.y, -Q.z, Q.w); }

	/** The key of a track at Time (in ticks): the keys' linear blend, held before the first and after the last. */
	template <typename KeyType, typename ValueType, typename BlendType>
	ValueType Sample(const KeyType* Keys, unsigned Num, double Time, BlendType Blend)
	{
		if (Num == 0)
		{
			return ValueType();
		}
		if (Time <= Keys[0].mTime || Num == 1)
		{
			return Keys[0].mValue;
		}
		for (unsigned Index = 1; Index < Num; ++Index)
		{
			if (Time <= Keys[Index].mTime)
			{
				const double Span = Keys[Index].mTime - Keys[Index - 1].mTime;
				const float Alpha = Span > 0.0 ? float((Time - Keys[Index - 1].mTime) / Span) : 1.0f;
				return Blend(Keys[Index - 1].mValue, Keys[Index].mValue, Alpha);
			}
		}
		return Keys[Num - 1].mValue;
	}

	aiVector3D Lerp(const aiVector3D& A, const aiVector3D& B, float Alpha) { return A + (B - A) * Alpha; }
	aiQuaternion Slerp(const aiQuaternion& A, const aiQuaternion& B, float Alpha)
	{
		aiQuaternion Out;
		aiQuaternion::Interpolate(Out, A, B, Alpha);
		return Out.Normalize();
	}

	bool Fail(const FString& Filename, const FString& Reason)
	{
		UE_LOG(LogFbx, Error, TEXT("Failed to import '%s': %s"), *Filename, *Reason);
		return false;
	}

	/** Reads the first animation stack of the file into Sequence's keys, for the bones of Skeleton. */
	bool ReadAnimation(const FString& Filename, const USkeleton& Skeleton, UAnimSequence& Sequence)
	{
		Assimp::Importer Importer;
		// Pivots folded into the nodes' own transforms, so tracks come per node and not per pivot helper.
		Importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
		const aiScene* Scene = Importer.ReadFile(TCHAR_TO_UTF8(*Filename), 0);
		if (!Scene)
		{
			return Fail(Filename, FString::Printf(TEXT("the file cannot be read as FBX (%s)"), UTF8_TO_TCHAR(Importer.GetErrorString())));
		}
		if (Scene->mNumAnimations == 0)
		{
			return Fail(Filename, TEXT("the file holds no animation"));
		}
		if (Scene->mNumAnimations > 1)
		{
			UE_LOG(LogFbx, Warning, TEXT("'%s' holds %u animation stacks; the first, '%s', is imported"), *Filename, Scene->mNumAnimations, UTF8_TO_TCHAR(Scene->mAnimations[0]->mName.C_Str()));
		}
		const aiAnimation& Animation = *Scene->mAnimations[0];
		const double TicksPerSecond = Animation.mTicksPerSecond > 0.0 ? Animation.mTicksPerSecond : 30.0;
		const int32 FramesPerSecond = FMath::Max(1, (int32)std::lround(TicksPerSecond));
		const double Seconds = Animation.mDuration / TicksPerSecond;
		const int32 NumberOfKeys = (int32)std::lround(Seconds * FramesPerSecond) + 1;

		const FReferenceSkeleton& Bones = Skeleton.GetReferenceSkeleton();
		TArray<FName> TrackNames;
		TArray<FRawAnimSequenceTrack> Tracks;
		for (unsigned ChannelIndex = 0; ChannelIndex < Animation.mNumChannels; ++ChannelIndex)
		{
			const aiNodeAnim& Channel = *Animation.mChannels[ChannelIndex];
			const FName Bone(UTF8_TO_TCHAR(Channel.mNodeName.C_Str()));
			const int32 BoneIndex = Bones.FindBoneIndex(Bone);
			if (BoneIndex == INDEX_NONE || TrackNames.Contains(Bones.GetBoneName(BoneIndex)))
			{
				continue;
			}
			FRawAnimSequenceTrack Track;
			for (int32 Key = 0; Key < NumberOfKeys; ++Key)
			{
				const double Time = double(Key) / FramesPerSecond * TicksPerSecond;
				Track.PosKeys.Add(ToEngine(Sample<aiVectorKey, aiVector3D>(Channel.mPositionKeys, Channel.mNumPositionKeys, Time, Lerp)));
				Track.RotKeys.Add(ToEngine(Sample<aiQuatKey, aiQuaternion>(Channel.mRotationKeys, Channel.mNumRotationKeys, Time, Slerp)));
				const aiVector3D Scale = Channel.mNumScalingKeys ? Sample<aiVectorKey, aiVector3D>(Channel.mScalingKeys, Channel.mNumScalingKeys, Time, Lerp) : aiVector3D(1, 1, 1);
				Track.ScaleKeys.Add(FVector(Scale.x, Scale.y, Scale.z));
			}
			TrackNames.Add(Bones.GetBoneName(BoneIndex));
			Tracks.Add(MoveTemp(Track));
		}
		if (Tracks.IsEmpty())
		{
			return Fail(Filename, FString::Printf(TEXT("none of its animated nodes is a bone of Skeleton '%s'"), *Skeleton.GetName()));
		}
		HostEditor::FAnimSequenceAccess::SetData(Sequence, FFrameRate(FramesPerSecond, 1), NumberOfKeys, TrackNames, Tracks);
		return true;
	}
}

UFbxFactory::UFbxFactory(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	Formats.Add(TEXT("fbx;FBX meshes and animations"));
	SupportedClass = UAnimSequence::StaticClass();
	bCreateNew = false;
	bEditorImport = true;
	bText = false;
}

bool UFbxFactory::FactoryCanImport(const FString& Filename)
{
	return FPaths::GetExtension(Filename).Equals(TEXT("fbx"), ESearchCase::IgnoreCase);
}

bool UFbxFactory::DoesSupportClass(UClass* Class)
{
	return Class && Class->IsChildOf(UAnimSequence::StaticClass());
}

UObject* UFbxFactory::FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled)
{
	bOutOperationCanceled = false;
	if (!ImportUI)
	{
		ImportUI = NewObject<UFbxImportUI>(this, NAME_None, RF_Transient);
	}
	const UFbxImportUI* Options = ImportUI.Get();
	if (!LooksLikeFbx(Filename))
	{
		Fail(Filename, TEXT("the file is not an FBX file"));
		return nullptr;
	}
	if (Options->bImportMesh || !Options->bImportAnimations)
	{
		Fail(Filename, TEXT("the headless editor imports FBX animation clips only (bImportMesh off, bImportAnimations on)"));
		return nullptr;
	}
	if (!Options->Skeleton)
	{
		Fail(Filename, TEXT("an animation import needs the Skeleton it is for"));
		return nullptr;
	}
	UAnimSequence* Sequence = NewObject<UAnimSequence>(InParent, InName, Flags);
	if (!ReadAnimation(Filename, *Options->Skeleton, *Sequence))
	{
		Sequence->MarkAsGarbage();
		return nullptr;
	}
	Sequence->SetSkeleton(Options->Skeleton);
	UE_LOG(LogFbx, Display, TEXT("Imported '%s' as %s: %d keys at %d fps, %d bone tracks"), *Filename, *Sequence->GetPathName(),
		Sequence->GetNumberOfSampledKeys(), Sequence->GetSamplingFrameRate().Numerator, HostEditor::FAnimSequenceAccess::GetTracks(*Sequence).Num());
	return Sequence;
}
