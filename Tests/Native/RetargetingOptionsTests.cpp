// The mannequin retargeting options: each bone's translation retargeting mode after the native
// function, the count it returns, and the Skeleton's bone tree kept in its package.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Animation/Skeleton.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "FileHelpers.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	bool LogHas(const FString& Needle)
	{
		for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
		{
			if (Line.Text.Contains(Needle))
			{
				return true;
			}
		}
		return false;
	}

	class RetargetingOptionsTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ProjectDir = std::filesystem::temp_directory_path() / "vn_retargeting_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
			std::filesystem::remove_all(ProjectDir);
		}

		/** A mannequin-like mesh: a root, a pelvis and thigh, and the IK bones (some spelled in capitals). */
		static USkeletalMesh* MakeMesh(const FString& Path)
		{
			FString Error;
			USkeletalMesh* Mesh = HostEditor::CreateSkeletalMesh(Path, {
				{TEXT("root"), NAME_None, FTransform::Identity},
				{TEXT("pelvis"), TEXT("root"), FTransform(FVector(0, 0, 95))},
				{TEXT("thigh_l"), TEXT("pelvis"), FTransform(FVector(0, 10, -5))},
				{TEXT("ik_foot_root"), TEXT("root"), FTransform::Identity},
				{TEXT("IK_Foot_L"), TEXT("ik_foot_root"), FTransform(FVector(0, 10, 5))},
				{TEXT("ik_foot_r"), TEXT("ik_foot_root"), FTransform(FVector(0, -10, 5))},
				{TEXT("ik_hand_root"), TEXT("root"), FTransform::Identity},
				{TEXT("ik_hand_gun"), TEXT("ik_hand_root"), FTransform(FVector(0, -40, 120))},
				{TEXT("ik_hand_l"), TEXT("ik_hand_gun"), FTransform::Identity},
				{TEXT("Ik_Hand_R"), TEXT("ik_hand_gun"), FTransform::Identity},
			}, 1.0f, Error);
			EXPECT_NE(Mesh, nullptr) << Narrow(Error);
			return Mesh;
		}

		static std::string Modes(const USkeleton* Skeleton)
		{
			static const char* const Names[] = {"Animation", "Skeleton", "AnimationScaled", "AnimationRelative", "OrientAndScale"};
			std::string Text;
			for (int32 Index = 0; Index < Skeleton->GetReferenceSkeleton().GetNum(); ++Index)
			{
				Text += Narrow(Skeleton->GetReferenceSkeleton().GetBoneName(Index).ToString()) + "=" + Names[Skeleton->GetBoneTranslationRetargetingMode(Index)] + " ";
			}
			return Text;
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(RetargetingOptionsTest, BonesFollowTheSkeletonAndTheIkBonesTheAnimation)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Retarget/SK_Manny"));
	ASSERT_NE(Mesh, nullptr);
	USkeleton* Skeleton = Mesh->GetSkeleton();
	ASSERT_NE(Skeleton, nullptr);
	Skeleton->GetPackage()->SetDirtyFlag(false);
	// A fresh Skeleton's bones all follow the animation: the three bones that are not IK bones change.
	EXPECT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(Mesh), 3);
	EXPECT_EQ(Modes(Skeleton), "root=Skeleton pelvis=Skeleton thigh_l=Skeleton ik_foot_root=Animation IK_Foot_L=Animation ik_foot_r=Animation "
							   "ik_hand_root=Animation ik_hand_gun=Animation ik_hand_l=Animation Ik_Hand_R=Animation ");
	EXPECT_TRUE(Skeleton->GetPackage()->IsDirty());
	EXPECT_TRUE(LogHas(FString::Printf(TEXT("Vantorel retargeting applied to '%s': 3 bones changed."), *Skeleton->GetName())));

	// A second run changes nothing, and still marks the Skeleton dirty.
	Skeleton->GetPackage()->SetDirtyFlag(false);
	EXPECT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(Mesh), 0);
	EXPECT_TRUE(Skeleton->GetPackage()->IsDirty());

	// Bones in another mode are set; only the bone itself, not its children.
	Skeleton->SetBoneTranslationRetargetingMode(1, EBoneTranslationRetargetingMode::AnimationScaled, true);
	Skeleton->SetBoneTranslationRetargetingMode(7, EBoneTranslationRetargetingMode::Skeleton, false);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(1), EBoneTranslationRetargetingMode::AnimationScaled);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(2), EBoneTranslationRetargetingMode::AnimationScaled);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(3), EBoneTranslationRetargetingMode::Animation);
	EXPECT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(Mesh), 3);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(7), EBoneTranslationRetargetingMode::Animation);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(8), EBoneTranslationRetargetingMode::Animation);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(2), EBoneTranslationRetargetingMode::Skeleton);
	// Outside the bone tree, or with retargeting disabled, a bone reads as Animation.
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(99), EBoneTranslationRetargetingMode::Animation);
	EXPECT_EQ(Skeleton->GetBoneTranslationRetargetingMode(0, true), EBoneTranslationRetargetingMode::Animation);
}

TEST_F(RetargetingOptionsTest, TheModesAreKeptInTheSavedSkeleton)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Retarget/SK_Saved"));
	ASSERT_NE(Mesh, nullptr);
	ASSERT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(Mesh), 3);
	const std::string Before = Modes(Mesh->GetSkeleton());
	const FString SkeletonPath = Mesh->GetSkeleton()->GetPathName();
	ASSERT_TRUE(UEditorLoadingAndSavingUtils::SaveDirtyPackages(true, true));
	FString Error;
	ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
	const USkeleton* Loaded = LoadObject<USkeleton>(nullptr, *SkeletonPath);
	ASSERT_NE(Loaded, nullptr);
	EXPECT_EQ(Modes(Loaded), Before);
}

TEST_F(RetargetingOptionsTest, AMissingMeshOrSkeletonChangesNothingAndSaysWhy)
{
	EXPECT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(nullptr), 0);
	EXPECT_TRUE(LogHas(TEXT("Vantorel retargeting failed: SkeletalMesh is null.")));
	USkeletalMesh* Bare = NewObject<USkeletalMesh>(GetTransientPackage(), TEXT("SK_Bare"));
	EXPECT_EQ(UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(Bare), 0);
	EXPECT_TRUE(LogHas(TEXT("Vantorel retargeting failed: SkeletalMesh 'SK_Bare' has no Skeleton.")));
}
