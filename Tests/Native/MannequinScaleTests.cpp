// The mannequin scale factor: a character's leg in its reference pose over the mannequin's.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "VNMannequinScale.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	class MannequinScaleTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ProjectDir = std::filesystem::temp_directory_path() / "vn_mannequin_scale_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {}, Error)) << Narrow(Error);
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
			std::filesystem::remove_all(ProjectDir);
		}

		static USkeletalMesh* Make(const FString& Path, const TArray<HostEditor::FBoneDescription>& Bones)
		{
			FString Error;
			USkeletalMesh* Mesh = HostEditor::CreateSkeletalMesh(Path, Bones, 1.0f, Error);
			EXPECT_NE(Mesh, nullptr) << Narrow(Error);
			return Mesh;
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(MannequinScaleTest, TheFactorIsTheLegOverTheMannequinsLeg)
{
	// A leg bent at the knee, turned at the hip: the lengths are measured in component space.
	const double Upper = 2.0 * 44.0;
	const double Lower = 2.0 * 85.55921 - Upper;
	const FQuat Turn(FVector(1, 0, 0), FMath::DegreesToRadians(30.0));
	const USkeletalMesh* Mesh = Make(TEXT("/Game/Scale/SK_Twice"), {
		{TEXT("Root_M"), NAME_None, FTransform(FVector(0, 0, 200))},
		{TEXT("Hip_R"), TEXT("Root_M"), FTransform(Turn, FVector(0, -12, 0))},
		{TEXT("Knee_R"), TEXT("Hip_R"), FTransform(FVector(0, 0, -Upper))},
		{TEXT("Ankle_R"), TEXT("Knee_R"), FTransform(FVector(0, Lower * 0.6, -Lower * 0.8))},
	});
	const VantorelMannequinScale::FMeasurement Twice = VantorelMannequinScale::Measure(Mesh);
	ASSERT_TRUE(Twice.bSuccess) << Narrow(Twice.Detail);
	EXPECT_NEAR(Twice.Factor, 2.0f, 1e-5f);
	EXPECT_EQ(Narrow(Twice.Detail), "leg 171.12 cm / mannequin 85.56 cm");
	EXPECT_EQ(Narrow(VantorelMannequinScale::FactorText(Twice)), "Mannequin scale factor :  2.000");

	// The mannequin's own names, and a leg of exactly the mannequin's length.
	const USkeletalMesh* Manny = Make(TEXT("/Game/Scale/SK_Manny"), {
		{TEXT("root"), NAME_None, FTransform::Identity},
		{TEXT("thigh_r"), TEXT("root"), FTransform(FVector(0, -10, 95))},
		{TEXT("calf_r"), TEXT("thigh_r"), FTransform(FVector(0, 0, -42.0))},
		{TEXT("foot_r"), TEXT("calf_r"), FTransform(FVector(0, 0, -(85.55921 - 42.0)))},
	});
	const VantorelMannequinScale::FMeasurement One = VantorelMannequinScale::Measure(Manny);
	ASSERT_TRUE(One.bSuccess);
	EXPECT_EQ(Narrow(VantorelMannequinScale::FactorText(One)), "Mannequin scale factor :  1.000");
}

TEST_F(MannequinScaleTest, TheFirstNameTripleWinsAndBadLegsHaveNoFactor)
{
	// Both triples: Hip_R, Knee_R and Ankle_R are used.
	const USkeletalMesh* Both = Make(TEXT("/Game/Scale/SK_Both"), {
		{TEXT("root"), NAME_None, FTransform::Identity},
		{TEXT("Hip_R"), TEXT("root"), FTransform(FVector(0, 0, 100))},
		{TEXT("Knee_R"), TEXT("Hip_R"), FTransform(FVector(0, 0, -50))},
		{TEXT("Ankle_R"), TEXT("Knee_R"), FTransform(FVector(0, 0, -50))},
		{TEXT("thigh_r"), TEXT("root"), FTransform(FVector(0, 0, 100))},
		{TEXT("calf_r"), TEXT("thigh_r"), FTransform(FVector(0, 0, -10))},
		{TEXT("foot_r"), TEXT("calf_r"), FTransform(FVector(0, 0, -10))},
	});
	EXPECT_NEAR(VantorelMannequinScale::Measure(Both).Factor, 100.0 / 85.55921, 1e-5);

	// All three at one point.
	const USkeletalMesh* Folded = Make(TEXT("/Game/Scale/SK_Folded"), {
		{TEXT("root"), NAME_None, FTransform::Identity},
		{TEXT("Hip_R"), TEXT("root"), FTransform(FVector(0, 0, 100))},
		{TEXT("Knee_R"), TEXT("Hip_R"), FTransform::Identity},
		{TEXT("Ankle_R"), TEXT("Knee_R"), FTransform::Identity},
	});
	const VantorelMannequinScale::FMeasurement Invalid = VantorelMannequinScale::Measure(Folded);
	EXPECT_FALSE(Invalid.bSuccess);
	EXPECT_EQ(Invalid.Factor, 1.0f);
	EXPECT_EQ(Narrow(Invalid.Detail), "invalid reference-pose leg length");
	EXPECT_EQ(Narrow(VantorelMannequinScale::FactorText(Invalid)), "Mannequin scale factor :  unavailable");

	// A missing knee, and no mesh at all.
	const USkeletalMesh* Kneeless = Make(TEXT("/Game/Scale/SK_Kneeless"), {
		{TEXT("root"), NAME_None, FTransform::Identity},
		{TEXT("Hip_R"), TEXT("root"), FTransform(FVector(0, 0, 100))},
		{TEXT("Ankle_R"), TEXT("Hip_R"), FTransform(FVector(0, 0, -90))},
	});
	EXPECT_EQ(Narrow(VantorelMannequinScale::Measure(Kneeless).Detail), "missing Hip_R, Knee_R or Ankle_R");
	EXPECT_EQ(Narrow(VantorelMannequinScale::Measure(nullptr).Detail), "choose a SkeletalMesh");
}
