// The skeletal mesh and skeleton assets, and the text form of their reference skeletons.

#include "Animation/Skeleton.h"
#include "EditorFramework/AssetImportData.h"
#include "Engine/SkeletalMesh.h"
#include "Misc/FeedbackContext.h"
#include "ReferenceSkeletonText.h"
#include "UObject/NoExportTypes.h"
#include "UObject/UnrealType.h"

namespace ReferenceSkeletonText
{
	namespace
	{
		const TCHAR* const BoneTag = TEXT("Bone ");

		const FStructProperty& TransformProperty()
		{
			static const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, TBaseStructure<FTransform>::Get());
			return Property;
		}

		void Report(FFeedbackContext* Warn, const FString& Message)
		{
			if (Warn)
			{
				Warn->Log(ELogVerbosity::Warning, Message);
			}
		}

		/** Reads "Name=<quoted> Parent=<index> Pose=<transform>" after the tag. */
		bool ReadBone(const FString& Line, FMeshBoneInfo& OutInfo, FTransform& OutPose, FString& OutError)
		{
			const TCHAR* Cursor = *Line + FCString::Strlen(BoneTag);
			auto Expect = [&](const TCHAR* Key) {
				Cursor = PropertyTextUtils::SkipWhitespace(Cursor);
				const int32 Length = FCString::Strlen(Key);
				if (!Cursor || FCString::Strncmp(Cursor, Key, Length) != 0)
				{
					OutError = FString::Printf(TEXT("expected '%s' in '%s'"), Key, *Line);
					return false;
				}
				Cursor += Length;
				return true;
			};
			FString Name;
			FString Parent;
			if (!Expect(TEXT("Name=")) || !(Cursor = PropertyTextUtils::ReadToken(Cursor, Name)) || Name.IsEmpty())
			{
				OutError = OutError.IsEmpty() ? FString::Printf(TEXT("a bone without a name in '%s'"), *Line) : OutError;
				return false;
			}
			if (!Expect(TEXT("Parent=")) || !(Cursor = PropertyTextUtils::ReadToken(Cursor, Parent)))
			{
				OutError = OutError.IsEmpty() ? FString::Printf(TEXT("a bone without a parent index in '%s'"), *Line) : OutError;
				return false;
			}
			TCHAR* NumberEnd = nullptr;
			const int64 ParentIndex = FCString::Strtoi64(*Parent, &NumberEnd, 10);
			if (NumberEnd == *Parent || *NumberEnd != 0)
			{
				OutError = FString::Printf(TEXT("'%s' is not a parent index"), *Parent);
				return false;
			}
			if (!Expect(TEXT("Pose=")))
			{
				return false;
			}
			const TCHAR* End = TransformProperty().ImportText_Direct(Cursor, &OutPose, nullptr, PPF_Delimited);
			if (!End || *PropertyTextUtils::SkipWhitespace(End))
			{
				OutError = FString::Printf(TEXT("the pose of bone '%s' cannot be read"), *Name);
				return false;
			}
			OutInfo = FMeshBoneInfo(FName(*Name), Name, (int32)ParentIndex);
			return true;
		}
	}

	void Export(const FReferenceSkeleton& RefSkeleton, FOutputDevice& Out)
	{
		for (int32 Index = 0; Index < RefSkeleton.GetRawBoneNum(); ++Index)
		{
			FString Pose;
			TransformProperty().ExportTextItem_Direct(Pose, &RefSkeleton.GetRawRefBonePose()[Index], nullptr, nullptr, PPF_Delimited);
			Out.Logf(TEXT("%sName=%s Parent=%d Pose=%s"), BoneTag, *PropertyTextUtils::QuoteString(RefSkeleton.GetBoneName(Index).ToString()), RefSkeleton.GetParentIndex(Index), *Pose);
		}
	}

	void Import(const TCHAR* SourceText, FReferenceSkeleton& OutRefSkeleton, FFeedbackContext* Warn)
	{
		OutRefSkeleton.Empty();
		TArray<FString> Lines;
		FString(SourceText).ParseIntoArray(Lines, TEXT("\n"), true);
		FReferenceSkeleton Read;
		TOptional<FReferenceSkeletonModifier> Modifier;
		Modifier.Emplace(Read, nullptr);
		for (const FString& RawLine : Lines)
		{
			const FString Line = RawLine.TrimStartAndEnd();
			if (!Line.StartsWith(BoneTag, ESearchCase::CaseSensitive))
			{
				continue;
			}
			FMeshBoneInfo Info;
			FTransform Pose;
			FString Error;
			if (!ReadBone(Line, Info, Pose, Error))
			{
				Report(Warn, FString::Printf(TEXT("The reference skeleton cannot be read: %s"), *Error));
				return;
			}
			if (Info.ParentIndex < INDEX_NONE || Info.ParentIndex >= Read.GetRawBoneNum() || (Read.GetRawBoneNum() > 0 && Info.ParentIndex == INDEX_NONE))
			{
				Report(Warn, FString::Printf(TEXT("The reference skeleton cannot be read: bone '%s' has parent %d, which is not an earlier bone"), *Info.Name.ToString(), Info.ParentIndex));
				return;
			}
			if (Read.FindRawBoneIndex(Info.Name) != INDEX_NONE)
			{
				Report(Warn, FString::Printf(TEXT("The reference skeleton cannot be read: bone '%s' appears twice"), *Info.Name.ToString()));
				return;
			}
			Modifier->Add(Info, Pose);
		}
		// The modifier's end rebuilds the final bone list.
		Modifier.Reset();
		OutRefSkeleton = Read;
	}
}

void USkeletalMesh::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	ReferenceSkeletonText::Export(RefSkeleton, Out);
}

void USkeletalMesh::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	ReferenceSkeletonText::Import(SourceText, RefSkeleton, Warn);
}

namespace
{
	const TCHAR* const BoneTreeTag = TEXT("BoneTreeRetargeting=");
	const TCHAR* const RetargetingModeNames[] = {TEXT("Animation"), TEXT("Skeleton"), TEXT("AnimationScaled"), TEXT("AnimationRelative"), TEXT("OrientAndScale")};
}

EBoneTranslationRetargetingMode::Type USkeleton::GetBoneTranslationRetargetingMode(const int32 BoneTreeIdx, bool bDisableRetargeting) const
{
	if (bDisableRetargeting || !BoneTree.IsValidIndex(BoneTreeIdx))
	{
		return EBoneTranslationRetargetingMode::Animation;
	}
	return BoneTree[BoneTreeIdx].TranslationRetargetingMode;
}

void USkeleton::SetBoneTranslationRetargetingMode(const int32 BoneIndex, EBoneTranslationRetargetingMode::Type NewRetargetingMode, bool bChildrenToo)
{
	if (BoneIndex < 0 || BoneIndex >= ReferenceSkeleton.GetRawBoneNum())
	{
		return;
	}
	while (BoneTree.Num() < ReferenceSkeleton.GetRawBoneNum())
	{
		BoneTree.Add(FBoneNode());
	}
	BoneTree[BoneIndex].TranslationRetargetingMode = NewRetargetingMode;
	if (bChildrenToo)
	{
		// Children come after their parents in the reference skeleton.
		for (int32 Index = BoneIndex + 1; Index < ReferenceSkeleton.GetRawBoneNum(); ++Index)
		{
			for (int32 Parent = ReferenceSkeleton.GetParentIndex(Index); Parent != INDEX_NONE; Parent = ReferenceSkeleton.GetParentIndex(Parent))
			{
				if (Parent == BoneIndex)
				{
					BoneTree[Index].TranslationRetargetingMode = NewRetargetingMode;
					break;
				}
			}
		}
	}
}

void USkeleton::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	ReferenceSkeletonText::Export(ReferenceSkeleton, Out);
	if (!BoneTree.IsEmpty())
	{
		FString Modes;
		for (const FBoneNode& Node : BoneTree)
		{
			Modes += (Modes.IsEmpty() ? TEXT("") : TEXT(",")) + FString(RetargetingModeNames[Node.TranslationRetargetingMode.GetValue()]);
		}
		Out.Logf(TEXT("%s%s"), BoneTreeTag, *Modes);
	}
}

void USkeleton::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	ReferenceSkeletonText::Import(SourceText, ReferenceSkeleton, Warn);
	BoneTree.Empty();
	TArray<FString> Lines;
	FString(SourceText).ParseIntoArray(Lines, TEXT("\n"), true);
	for (const FString& RawLine : Lines)
	{
		const FString Line = RawLine.TrimStartAndEnd();
		if (!Line.StartsWith(BoneTreeTag, ESearchCase::CaseSensitive))
		{
			continue;
		}
		TArray<FString> Modes;
		Line.Mid(FCString::Strlen(BoneTreeTag)).ParseIntoArray(Modes, TEXT(","), true);
		for (const FString& Mode : Modes)
		{
			FBoneNode Node;
			for (int32 Index = 0; Index < (int32)(sizeof(RetargetingModeNames) / sizeof(RetargetingModeNames[0])); ++Index)
			{
				if (Mode.TrimStartAndEnd().Equals(RetargetingModeNames[Index], ESearchCase::CaseSensitive))
				{
					Node.TranslationRetargetingMode = (EBoneTranslationRetargetingMode::Type)Index;
				}
			}
			BoneTree.Add(Node);
		}
	}
}

UAssetImportData::UAssetImportData(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}
