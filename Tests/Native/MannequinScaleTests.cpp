// The mannequin scale factor: a character's leg in its reference pose over the mannequin's.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Animation/BlendSpace1D.h"
#include "Animation/Skeleton.h"
#include "Components/CapsuleComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "Engine/BlueprintGeneratedClass.h"
#include "Engine/SkeletalMesh.h"
#include "GameFramework/Character.h"
#include "GameFramework/CharacterMovementComponent.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "Kismet2/KismetEditorUtilities.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"
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

		/** A leg of exactly Scale times the mannequin's, straight down from the hip. */
		static USkeletalMesh* MakeLeg(const FString& Path, double Scale)
		{
			const double Leg = 85.55921 * Scale;
			return Make(Path, {
				{TEXT("Root_M"), NAME_None, FTransform(FVector(0, 0, 100))},
				{TEXT("Hip_R"), TEXT("Root_M"), FTransform(FVector(0, -10, 0))},
				{TEXT("Knee_R"), TEXT("Hip_R"), FTransform(FVector(0, 0, -Leg / 2))},
				{TEXT("Ankle_R"), TEXT("Knee_R"), FTransform(FVector(0, 0, -Leg / 2))},
			});
		}

		/** A one-axis BlendSpace with samples at 0, 200 and 500 on an axis of that name. */
		static UBlendSpace1D* MakeBlendSpace(const FString& Name, const TCHAR* AxisName)
		{
			UBlendSpace1D* BlendSpace = NewObject<UBlendSpace1D>(CreatePackage(*(TEXT("/Game/Scale/") + Name)), FName(*Name), EObjectFlags(RF_Public | RF_Standalone));
			FBlendParameter* Axis = UBlendSpace::StaticClass()->FindPropertyByName(FName(TEXT("BlendParameters")))->ContainerPtrToValuePtr<FBlendParameter>(BlendSpace, 0);
			Axis->DisplayName = AxisName;
			Axis->Max = 500.0f;
			for (const double Speed : {0.0, 200.0, 500.0})
			{
				BlendSpace->AddSample(nullptr, FVector(Speed, 0, 0));
			}
			return BlendSpace;
		}

		static bool LogHas(const FString& Needle)
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

		std::filesystem::path ProjectDir;
	};
}

TEST_F(MannequinScaleTest, ScaleToFitScalesTheSpeedAxisAndReportsEachSample)
{
	const USkeletalMesh* Twice = MakeLeg(TEXT("/Game/Scale/SK_Twice"), 2.0);
	UBlendSpace1D* Template = MakeBlendSpace(TEXT("BS_Template"), TEXT("speed"));
	UBlendSpace1D* Copy = MakeBlendSpace(TEXT("BS_Copy"), TEXT("speed"));
	// The copy's samples at 200, 450 and 400: the second one cannot go to 400, where the third still is.
	ASSERT_TRUE(Copy->EditSampleValue(2, FVector(450, 0, 0)));
	ASSERT_TRUE(Copy->DeleteSample(0));
	ASSERT_NE(Copy->AddSample(nullptr, FVector(400, 0, 0)), INDEX_NONE);
	VantorelMannequinScale::ScaleBlendSpaceSpeeds(Twice, Template, Copy);
	EXPECT_FLOAT_EQ(Copy->GetBlendParameter(0).Max, 1000.0f);
	EXPECT_EQ(Narrow(Copy->GetBlendParameter(0).DisplayName), "speed");
	EXPECT_TRUE(LogHas(TEXT("Vantorel Scale to Fit: factor 2.000000, BlendSpace Speed range 0.000..500.000 -> 0.000..1000.000")));
	EXPECT_TRUE(LogHas(TEXT("Vantorel Scale to Fit: BlendSpace sample 0 Speed 0.000 -> 0.000 (updated)")));
	EXPECT_TRUE(LogHas(TEXT("Vantorel Scale to Fit: BlendSpace sample 1 Speed 200.000 -> 400.000 (update rejected)")));
	EXPECT_TRUE(LogHas(TEXT("Vantorel Scale to Fit: BlendSpace sample 2 Speed 500.000 -> 1000.000 (updated)")));
	EXPECT_EQ(Copy->GetBlendSample(0).SampleValue.X, 0.0);
	EXPECT_EQ(Copy->GetBlendSample(1).SampleValue.X, 450.0) << "the refused edit left the sample where it was";
	EXPECT_EQ(Copy->GetBlendSample(2).SampleValue.X, 1000.0);

	UBlendSpace1D* Unnamed = MakeBlendSpace(TEXT("BS_Direction"), TEXT("Direction"));
	UBlendSpace1D* UnnamedCopy = MakeBlendSpace(TEXT("BS_DirectionCopy"), TEXT("Direction"));
	VantorelMannequinScale::ScaleBlendSpaceSpeeds(Twice, Unnamed, UnnamedCopy);
	EXPECT_TRUE(LogHas(TEXT("Vantorel Scale to Fit: no BlendSpace axis named Speed was found.")));
	EXPECT_FLOAT_EQ(UnnamedCopy->GetBlendParameter(0).Max, 500.0f);
	EXPECT_EQ(UnnamedCopy->GetBlendSample(2).SampleValue.X, 500.0);
}

TEST_F(MannequinScaleTest, TheCharacterCompensationsUseTheFactorAndStopQuietlyWithoutOne)
{
	UBlueprint* Character = FKismetEditorUtilities::CreateBlueprint(ACharacter::StaticClass(), CreatePackage(TEXT("/Game/Scale/BP_Character")), FName(TEXT("BP_Character")), BPTYPE_Normal);
	ACharacter* Defaults = Character->GeneratedClass->GetDefaultObject<ACharacter>();

	// A leg of exactly the mannequin's: every value at its base.
	VantorelMannequinScale::ScaleCharacterGameplayValues(MakeLeg(TEXT("/Game/Scale/SK_Mannequin"), 1.0), Character);
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 35.0f);
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleHalfHeight(), 90.0f);
	EXPECT_FLOAT_EQ(Defaults->GetCharacterMovement()->JumpZVelocity, 500.0f);
	EXPECT_FLOAT_EQ(Defaults->GetMesh()->GetRelativeLocation().Z, -89.0f);

	// Twice the mannequin: capsule 70 by 180, jump 500 times the square root of 2.
	const USkeletalMesh* Twice = MakeLeg(TEXT("/Game/Scale/SK_Twice"), 2.0);
	VantorelMannequinScale::ScaleCharacterGameplayValues(Twice, Character);
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 70.0f);
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleHalfHeight(), 180.0f);
	EXPECT_NEAR(Defaults->GetCharacterMovement()->JumpZVelocity, 707.1068f, 1e-3);
	EXPECT_FLOAT_EQ(Defaults->GetCharacterMovement()->GetCrouchedHalfHeight(), 80.0f);
	EXPECT_FLOAT_EQ(Defaults->GetCharacterMovement()->GravityScale, 1.0f);
	VantorelMannequinScale::MatchMannequinSize(Twice, Character);
	EXPECT_EQ(Defaults->GetMesh()->GetRelativeScale3D(), FVector(0.5));
	EXPECT_TRUE(LogHas(TEXT("Vantorel Match Mannequin Size: character 2.000000x, Mesh component scale 0.500000")));

	// No leg to measure: nothing changes.
	const USkeletalMesh* NoLeg = Make(TEXT("/Game/Scale/SK_NoLeg"), {{TEXT("root"), NAME_None, FTransform::Identity}});
	VantorelMannequinScale::MatchMannequinSize(NoLeg, Character);
	VantorelMannequinScale::ScaleCharacterGameplayValues(NoLeg, Character);
	EXPECT_EQ(Defaults->GetMesh()->GetRelativeScale3D(), FVector(0.5));
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 70.0f);
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
