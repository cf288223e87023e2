// The rig hierarchy's text form (written and read back through the object's custom-property hooks),
// bone import from a skeleton, and the Euler-angle conversions the controls' preferred angles use.

#include <gtest/gtest.h>

#include "AnimationCoreLibrary.h"
#include "Animation/Skeleton.h"
#include "CoreMinimal.h"
#include "Misc/FeedbackContext.h"
#include "Misc/OutputDevice.h"
#include "Rigs/RigHierarchy.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	const FRigElementKey Bone(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Bone); }
	const FRigElementKey Null(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Null); }
	const FRigElementKey Control(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Control); }

	/** Collects what an export writes, one line per Serialize call. */
	class FTextCollector : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			Text += V;
			Text += TEXT("\n");
		}

		FString Text;
	};

	FString ExportText(URigHierarchy* Hierarchy)
	{
		FTextCollector Out;
		Hierarchy->ExportCustomProperties(Out, 4);
		return Out.Text;
	}

	URigHierarchy* NewHierarchy() { return NewObject<URigHierarchy>(GetTransientPackage()); }

	bool Same(const FTransform& A, const FTransform& B)
	{
		return A.GetTranslation() == B.GetTranslation() && A.GetRotation() == B.GetRotation() && A.GetScale3D() == B.GetScale3D();
	}

	/** A rig with every kind of state an element carries, numbers chosen not to be short decimals. */
	URigHierarchy* MakeFullRig()
	{
		URigHierarchy* Hierarchy = NewHierarchy();
		URigHierarchyController* Controller = Hierarchy->GetController();
		Controller->AddBone(TEXT("Root"), FRigElementKey(), FTransform(FRotator(0.1, 33.3333, 0), FVector(1.0 / 3.0, 0, 100)), true, ERigBoneType::Imported);
		Controller->AddBone(TEXT("Spine \"Upper\""), Bone(TEXT("Root")), FTransform(FVector(0, 0, 150)), true);
		Controller->AddNull(TEXT("Space"), Bone(TEXT("Root")), FTransform(FVector(20, 0, 0)), false);

		FRigControlSettings Settings;
		Settings.ControlType = ERigControlType::Float;
		Settings.DisplayName = TEXT("Foot Roll");
		Settings.ShapeName = TEXT("Circle_Thin");
		Settings.ShapeColor = FLinearColor(0.25f, 0.5f, 1.0f, 1.0f);
		Settings.LimitEnabled = {FRigControlLimitEnabled(true, true)};
		Settings.MinimumValue = FRigControlValue::Make<float>(-1.0f / 3.0f);
		Settings.MaximumValue = FRigControlValue::Make<float>(10.0f);
		Settings.PreferredRotationOrder = EEulerRotationOrder::ZYX;
		Settings.DrivenControls = {Control(TEXT("Other"))};
		const FRigElementKey Roll = Controller->AddControl(TEXT("Roll"), Null(TEXT("Space")), Settings, FRigControlValue::Make<float>(2.5f),
			FTransform(FVector(0, 7, 0)), FTransform(FRotator(0, 90, 0), FVector(0, 0, 3)));

		FRigControlSettings TransformSettings;
		TransformSettings.ControlType = ERigControlType::EulerTransform;
		const FRigElementKey Ik = Controller->AddControl(TEXT("Ik"), FRigElementKey(), TransformSettings,
			FRigControlValue::Make<FEulerTransform>(FEulerTransform(FVector(1, 2, 3), FRotator(10, 270, 0), FVector::OneVector)));
		Hierarchy->SetControlValue(Ik, FRigControlValue::Make<FEulerTransform>(FEulerTransform(FVector(4, 5, 6), FRotator(0, 0, 45), FVector(2, 2, 2))));
		Hierarchy->SetControlPreferredEulerAngles(Ik, FVector(370, 20, 30), EEulerRotationOrder::YZX, false);
		Hierarchy->SetControlOffsetTransform(Ik, FTransform(FVector(0, 0, 1.0 / 7.0)), false);
		Controller->AddAnimationChannel(TEXT("Twist"), Ik, Settings);
		Controller->SetParent(Null(TEXT("Space")), Control(TEXT("Ik")), true);

		// An integer's and a bool's bits are kept in the float storage; a negative integer's read as a
		// float are no number at all, and must come back as they were.
		FRigControlSettings IntegerSettings;
		IntegerSettings.ControlType = ERigControlType::Integer;
		IntegerSettings.PrimaryAxis = ERigControlAxis::Z;
		Controller->AddControl(TEXT("Steps"), Null(TEXT("Space")), IntegerSettings, FRigControlValue::Make<int32>(-3));
		FRigControlSettings BoolSettings;
		BoolSettings.ControlType = ERigControlType::Bool;
		Controller->AddControl(TEXT("Show"), FRigElementKey(), BoolSettings, FRigControlValue::Make<bool>(true));
		(void)Roll;
		return Hierarchy;
	}
}

TEST(RigHierarchyText, ARoundTripRestoresEveryElementExactly)
{
	URigHierarchy* Source = MakeFullRig();
	const FString Text = ExportText(Source);
	URigHierarchy* Copy = NewHierarchy();
	FFeedbackContext Warn;
	Copy->ImportCustomProperties(*Text, &Warn);
	EXPECT_TRUE(Warn.Warnings.IsEmpty()) << TCHAR_TO_UTF8(*Warn.Warnings[0]);

	ASSERT_EQ(Copy->GetAllKeys(), Source->GetAllKeys());
	for (const FRigElementKey& Key : Source->GetAllKeys())
	{
		EXPECT_EQ(Copy->GetFirstParent(Key), Source->GetFirstParent(Key)) << TCHAR_TO_UTF8(*Key.ToString());
		for (const bool bInitial : {true, false})
		{
			EXPECT_TRUE(Same(Copy->GetLocalTransform(Key, bInitial), Source->GetLocalTransform(Key, bInitial))) << TCHAR_TO_UTF8(*Key.ToString());
			EXPECT_TRUE(Same(Copy->GetGlobalTransform(Key, bInitial), Source->GetGlobalTransform(Key, bInitial))) << TCHAR_TO_UTF8(*Key.ToString());
		}
		if (Key.Type != ERigElementType::Control)
		{
			continue;
		}
		EXPECT_EQ(Copy->Find<FRigControlElement>(Key)->Settings, Source->Find<FRigControlElement>(Key)->Settings) << TCHAR_TO_UTF8(*Key.ToString());
		for (const ERigControlValueType Type : {ERigControlValueType::Initial, ERigControlValueType::Current, ERigControlValueType::Minimum, ERigControlValueType::Maximum})
		{
			EXPECT_EQ(Copy->GetControlValue(Key, Type), Source->GetControlValue(Key, Type)) << TCHAR_TO_UTF8(*Key.ToString());
		}
		for (const bool bInitial : {true, false})
		{
			EXPECT_TRUE(Same(Copy->GetGlobalControlOffsetTransform(Key, bInitial), Source->GetGlobalControlOffsetTransform(Key, bInitial)));
			EXPECT_TRUE(Same(Copy->GetLocalControlShapeTransform(Key, bInitial), Source->GetLocalControlShapeTransform(Key, bInitial)));
			EXPECT_EQ(Copy->GetControlPreferredEulerAngles(Key, EEulerRotationOrder::YZX, bInitial), Source->GetControlPreferredEulerAngles(Key, EEulerRotationOrder::YZX, bInitial));
		}
		EXPECT_EQ(Copy->GetControlPreferredEulerRotationOrder(Key, false), Source->GetControlPreferredEulerRotationOrder(Key, false));
	}
	EXPECT_EQ(ExportText(Copy), Text) << "a second export writes the same text";
}

TEST(RigHierarchyText, IntegerAndBoolValuesComeBackBitForBit)
{
	URigHierarchy* Source = MakeFullRig();
	URigHierarchy* Copy = NewHierarchy();
	Copy->ImportCustomProperties(*ExportText(Source), nullptr);
	EXPECT_EQ(Copy->GetControlValue(Control(TEXT("Steps"))).Get<int32>(), -3);
	EXPECT_TRUE(Copy->GetControlValue(Control(TEXT("Show"))).Get<bool>());
	EXPECT_TRUE(Copy->GetGlobalTransform(Control(TEXT("Steps"))).GetTranslation().Equals(Source->GetGlobalTransform(Control(TEXT("Steps"))).GetTranslation(), 0.0));
}

TEST(RigHierarchyText, KeepsTheBoneTypeSoThatReimportingRemovesOnlyImportedBones)
{
	URigHierarchy* Copy = NewHierarchy();
	Copy->ImportCustomProperties(*ExportText(MakeFullRig()), nullptr);
	USkeleton* Skeleton = NewObject<USkeleton>(GetTransientPackage());
	FReferenceSkeletonModifier(Skeleton->GetMutableReferenceSkeleton(), nullptr).Add(FMeshBoneInfo(TEXT("Pelvis"), TEXT("Pelvis"), INDEX_NONE), FTransform::Identity);
	Copy->GetController()->ImportBones(Skeleton);
	EXPECT_FALSE(Copy->Contains(Bone(TEXT("Root")))) << "Root was imported and is not in the new skeleton";
	EXPECT_TRUE(Copy->Contains(Bone(TEXT("Spine \"Upper\"")))) << "a user bone stays";
	EXPECT_EQ(Copy->GetFirstParent(Bone(TEXT("Spine \"Upper\""))), FRigElementKey()) << "its parent was removed";
}

struct FBrokenText
{
	const TCHAR* Name;
	const TCHAR* Text;
	int32 ExpectedElements;
};

class RigHierarchyBrokenText : public ::testing::TestWithParam<FBrokenText>
{
};

TEST_P(RigHierarchyBrokenText, IsReportedAndSkippedWithoutHarm)
{
	URigHierarchy* Copy = NewHierarchy();
	FFeedbackContext Warn;
	Copy->ImportCustomProperties(GetParam().Text, &Warn);
	EXPECT_FALSE(Warn.Warnings.IsEmpty());
	EXPECT_EQ(Copy->Num(), GetParam().ExpectedElements);
	for (const FRigElementKey& Key : Copy->GetAllKeys())
	{
		Copy->GetGlobalTransform(Key, false);
	}
}

namespace
{
	/** The export of one root null called Name, with Parent as its parent key text. */
	FString NullText(const TCHAR* Name, const TCHAR* Parent)
	{
		URigHierarchy* Hierarchy = NewHierarchy();
		Hierarchy->GetController()->AddNull(Name, FRigElementKey(), FTransform(FVector(1, 2, 3)));
		FString Text = ExportText(Hierarchy);
		return Text.Replace(TEXT("Parent=(Type=None,Name=\"None\")"), *FString::Printf(TEXT("Parent=%s"), Parent));
	}

	const FString MissingParent = NullText(TEXT("A"), TEXT("(Type=Null,Name=\"Nowhere\")"));
	const FString Loop = NullText(TEXT("A"), TEXT("(Type=Null,Name=\"B\")")) + NullText(TEXT("B"), TEXT("(Type=Null,Name=\"A\")"));
	const FString Twice = NullText(TEXT("A"), TEXT("(Type=None,Name=\"None\")")) + NullText(TEXT("A"), TEXT("(Type=None,Name=\"None\")"));
	const FString BadNumber = NullText(TEXT("A"), TEXT("(Type=None,Name=\"None\")")).Replace(TEXT("InitialLocal=1 2 3"), TEXT("InitialLocal=1 two 3"));
	const FString Unclosed = NullText(TEXT("A"), TEXT("(Type=None,Name=\"None\")")).Replace(TEXT("End RigElement"), TEXT(""));
}

INSTANTIATE_TEST_SUITE_P(Cases, RigHierarchyBrokenText, ::testing::Values(
	FBrokenText{TEXT("MissingParent"), *MissingParent, 1},
	FBrokenText{TEXT("ParentLoop"), *Loop, 2},
	FBrokenText{TEXT("SameKeyTwice"), *Twice, 1},
	FBrokenText{TEXT("BadNumber"), *BadNumber, 0},
	FBrokenText{TEXT("Unclosed"), *Unclosed, 1},
	FBrokenText{TEXT("Garbage"), TEXT("not a rig\nKey=(Type=Bone,Name=\"X\")\n"), 0}),
	[](const ::testing::TestParamInfo<FBrokenText>& Info) { return std::string(TCHAR_TO_UTF8(Info.param.Name)); });

namespace
{
	USkeleton* MakeSkeleton()
	{
		USkeleton* Skeleton = NewObject<USkeleton>(GetTransientPackage());
		FReferenceSkeletonModifier Modifier(Skeleton->GetMutableReferenceSkeleton(), nullptr);
		Modifier.Add(FMeshBoneInfo(TEXT("root"), TEXT("root"), INDEX_NONE), FTransform(FVector(0, 0, 10)));
		Modifier.Add(FMeshBoneInfo(TEXT("pelvis"), TEXT("pelvis"), 0), FTransform(FRotator(0, 90, 0), FVector(0, 0, 90)));
		Modifier.Add(FMeshBoneInfo(TEXT("thigh_l"), TEXT("thigh_l"), 1), FTransform(FVector(10, 0, 0)));
		return Skeleton;
	}
}

TEST(RigHierarchyImportBones, AddsBonesAtTheirReferencePoseBuiltFromLocalTransforms)
{
	URigHierarchy* Hierarchy = NewHierarchy();
	const TArray<FRigElementKey> Keys = Hierarchy->GetController()->ImportBones(MakeSkeleton());
	ASSERT_EQ(Keys, (TArray<FRigElementKey>{Bone(TEXT("root")), Bone(TEXT("pelvis")), Bone(TEXT("thigh_l"))}));
	EXPECT_EQ(Hierarchy->GetFirstParent(Bone(TEXT("thigh_l"))), Bone(TEXT("pelvis")));
	for (const bool bInitial : {true, false})
	{
		// thigh: 10 along X, turned onto Y by the pelvis, above root and pelvis.
		EXPECT_TRUE(Hierarchy->GetGlobalTransform(Bone(TEXT("thigh_l")), bInitial).GetTranslation().Equals(FVector(0, 10, 100), 1e-9));
		EXPECT_TRUE(Hierarchy->GetLocalTransform(Bone(TEXT("thigh_l")), bInitial).GetTranslation().Equals(FVector(10, 0, 0), 1e-9));
	}
}

TEST(RigHierarchyImportBones, ReplacesOrKeepsExistingBonesAndRemovesObsoleteOnes)
{
	URigHierarchy* Hierarchy = NewHierarchy();
	URigHierarchyController* Controller = Hierarchy->GetController();
	Controller->AddBone(TEXT("pelvis"), FRigElementKey(), FTransform(FVector(5, 5, 5)), true, ERigBoneType::User);
	Controller->AddBone(TEXT("old_bone"), FRigElementKey(), FTransform::Identity, true, ERigBoneType::Imported);
	Controller->ImportBones(MakeSkeleton(), NAME_None, false, false);
	EXPECT_TRUE(Hierarchy->GetGlobalTransform(Bone(TEXT("pelvis"))).GetTranslation().Equals(FVector(5, 5, 5))) << "kept as it was";
	EXPECT_TRUE(Hierarchy->Contains(Bone(TEXT("old_bone"))));

	Controller->ImportBones(MakeSkeleton());
	EXPECT_TRUE(Hierarchy->GetGlobalTransform(Bone(TEXT("pelvis"))).GetTranslation().Equals(FVector(0, 0, 100), 1e-9)) << "replaced";
	EXPECT_EQ(Hierarchy->GetFirstParent(Bone(TEXT("pelvis"))), Bone(TEXT("root")));
	EXPECT_FALSE(Hierarchy->Contains(Bone(TEXT("old_bone"))));
	EXPECT_EQ(Hierarchy->Num(), 3);
}

TEST(RigHierarchyImportBones, ANameSpacePrefixesTheNames)
{
	URigHierarchy* Hierarchy = NewHierarchy();
	const TArray<FRigElementKey> Keys = Hierarchy->GetController()->ImportBones(MakeSkeleton(), TEXT("Char"));
	EXPECT_EQ(Keys[2], Bone(TEXT("Char_thigh_l")));
	EXPECT_EQ(Hierarchy->GetFirstParent(Keys[2]), Bone(TEXT("Char_pelvis")));
}

class EulerRotationOrders : public ::testing::TestWithParam<EEulerRotationOrder>
{
};

TEST_P(EulerRotationOrders, AnglesRoundTripThroughTheQuaternion)
{
	// Within a quarter turn on every axis the angles themselves come back.
	const FVector Angles(10, -35, 60);
	const FQuat Rotation = AnimationCore::QuatFromEuler(Angles, GetParam());
	EXPECT_TRUE(AnimationCore::EulerFromQuat(Rotation, GetParam()).Equals(Angles, 1e-9));
	// Beyond it, other angles come back that describe the same rotation, in any order.
	const FQuat Wide = AnimationCore::QuatFromEuler(FVector(170, -100, 120), GetParam());
	for (const EEulerRotationOrder Other : {EEulerRotationOrder::XYZ, EEulerRotationOrder::ZYX, GetParam()})
	{
		EXPECT_TRUE(AnimationCore::QuatFromEuler(AnimationCore::EulerFromQuat(Wide, Other), Other).Equals(Wide, 1e-9));
	}
}

INSTANTIATE_TEST_SUITE_P(AllOrders, EulerRotationOrders, ::testing::Values(EEulerRotationOrder::XYZ, EEulerRotationOrder::XZY,
	EEulerRotationOrder::YXZ, EEulerRotationOrder::YZX, EEulerRotationOrder::ZXY, EEulerRotationOrder::ZYX));

TEST(EulerRotationOrder, XyzIsTheRotatorOrderAndOrdersDifferWhenAnglesMix)
{
	const FVector Angles(10, 20, 30);
	EXPECT_TRUE(AnimationCore::QuatFromEuler(Angles, EEulerRotationOrder::XYZ).Equals(FRotator::MakeFromEuler(Angles).Quaternion(), 1e-12));
	EXPECT_FALSE(AnimationCore::QuatFromEuler(Angles, EEulerRotationOrder::ZYX).Equals(FRotator::MakeFromEuler(Angles).Quaternion(), 1e-3));
	// About one axis alone the order does not matter.
	EXPECT_TRUE(AnimationCore::QuatFromEuler(FVector(0, 0, 30), EEulerRotationOrder::YZX).Equals(FRotator(0, 30, 0).Quaternion(), 1e-12));
}

// Control values keep floats: the double-precision types do not compile as stored types, as in the engine.
namespace
{
	template <typename T>
	constexpr bool CanGet = requires(const FRigControlValue& Value) { Value.template Get<T>(); };
	template <typename T>
	constexpr bool CanGetRef = requires(FRigControlValue& Value) { Value.template GetRef<T>(); };
	template <typename T>
	constexpr bool CanSet = requires(FRigControlValue& Value, T Stored) { Value.template Set<T>(Stored); };
	template <typename T>
	constexpr bool IsStorable = CanGet<T> && CanGetRef<T> && CanSet<T>;
	template <typename T>
	constexpr bool IsRefused = !CanGet<T> && !CanGetRef<T> && !CanSet<T>;
}

static_assert(IsRefused<FVector> && IsRefused<FVector2D> && IsRefused<FVector4> && IsRefused<FRotator> && IsRefused<FQuat>
	&& IsRefused<FTransform> && IsRefused<FEulerTransform>, "double-precision types are not stored in a control value");
static_assert(IsStorable<float> && IsStorable<bool> && IsStorable<int32> && IsStorable<FVector3f>
	&& IsStorable<FRigControlValue::FTransform_Float> && IsStorable<FRigControlValue::FEulerTransform_Float>, "float forms are");

TEST(RigControlValue, EachTypeIsLaidOutInFloatsAsTheEngineLaysItOut)
{
	const FRigControlValue Vector = URigHierarchy::MakeControlValueFromVector(FVector(1.25, -2.5, 0.1));
	EXPECT_EQ(Vector[0], 1.25f);
	EXPECT_EQ(Vector[1], -2.5f);
	EXPECT_EQ(Vector[2], 0.1f);
	EXPECT_NE(URigHierarchy::GetVectorFromControlValue(Vector).Z, 0.1) << "a tenth is kept as the nearest float";

	// A rotator is kept as its Euler vector: roll, pitch, yaw.
	const FRigControlValue Rotator = URigHierarchy::MakeControlValueFromRotator(FRotator(10, 20, 30));
	EXPECT_EQ(Rotator[0], 30.0f);
	EXPECT_EQ(Rotator[1], 10.0f);
	EXPECT_EQ(Rotator[2], 20.0f);

	// A transform: translation, rotation quaternion (x, y, z, w), scale.
	const FRigControlValue Transform = URigHierarchy::MakeControlValueFromTransform(FTransform(FQuat(0, 0, 1, 0), FVector(1, 2, 3), FVector(4, 5, 6)));
	const float Expected[] = {1, 2, 3, 0, 0, 1, 0, 4, 5, 6};
	for (int32 Index = 0; Index < 10; ++Index)
	{
		EXPECT_EQ(Transform[Index], Expected[Index]) << Index;
	}

	// An Euler transform: translation, pitch, yaw, roll, scale.
	const FRigControlValue Euler = URigHierarchy::MakeControlValueFromEulerTransform(FEulerTransform(FVector(1, 2, 3), FRotator(10, 20, 30), FVector(4, 5, 6)));
	const float ExpectedEuler[] = {1, 2, 3, 10, 20, 30, 4, 5, 6};
	for (int32 Index = 0; Index < 9; ++Index)
	{
		EXPECT_EQ(Euler[Index], ExpectedEuler[Index]) << Index;
	}
	const FVector2D Planar = URigHierarchy::GetVector2DFromControlValue(URigHierarchy::MakeControlValueFromVector2D(FVector2D(7, -8)));
	EXPECT_EQ(Planar, FVector2D(7, -8));
}

TEST(RigControlValue, OneAndTwoAxisControlsMoveAlongAndAcrossTheirPrimaryAxis)
{
	const FRigControlValue Three = FRigControlValue::Make<float>(3.0f);
	EXPECT_EQ(Three.GetAsTransform(ERigControlType::Float, ERigControlAxis::X).GetTranslation(), FVector(3, 0, 0));
	EXPECT_EQ(Three.GetAsTransform(ERigControlType::Float, ERigControlAxis::Y).GetTranslation(), FVector(0, 3, 0));
	EXPECT_EQ(Three.GetAsTransform(ERigControlType::Float, ERigControlAxis::Z).GetTranslation(), FVector(0, 0, 3));
	EXPECT_EQ(Three.GetAsTransform(ERigControlType::ScaleFloat, ERigControlAxis::Z).GetScale3D(), FVector(3, 3, 3));
	EXPECT_EQ(FRigControlValue::Make<int32>(-2).GetAsTransform(ERigControlType::Integer, ERigControlAxis::Y).GetTranslation(), FVector(0, -2, 0));

	const FRigControlValue Planar = URigHierarchy::MakeControlValueFromVector2D(FVector2D(1, 2));
	EXPECT_EQ(Planar.GetAsTransform(ERigControlType::Vector2D, ERigControlAxis::X).GetTranslation(), FVector(0, 1, 2));
	EXPECT_EQ(Planar.GetAsTransform(ERigControlType::Vector2D, ERigControlAxis::Y).GetTranslation(), FVector(1, 0, 2));
	EXPECT_EQ(Planar.GetAsTransform(ERigControlType::Vector2D, ERigControlAxis::Z).GetTranslation(), FVector(1, 2, 0));

	FRigControlValue Moved;
	Moved.SetFromTransform(FTransform(FVector(4, 5, 6)), ERigControlType::Vector2D, ERigControlAxis::Y);
	EXPECT_EQ(URigHierarchy::GetVector2DFromControlValue(Moved), FVector2D(4, 6));
	Moved.SetFromTransform(FTransform(FVector(4, 5, 6)), ERigControlType::Float, ERigControlAxis::Z);
	EXPECT_EQ(Moved.Get<float>(), 6.0f);

	// In a hierarchy a float control sits its value along its axis from its offset.
	URigHierarchy* Hierarchy = NewHierarchy();
	FRigControlSettings Settings;
	Settings.ControlType = ERigControlType::Float;
	Settings.PrimaryAxis = ERigControlAxis::Y;
	const FRigElementKey Slider = Hierarchy->GetController()->AddControl(TEXT("Slider"), FRigElementKey(), Settings, FRigControlValue::Make<float>(2.0f), FTransform(FVector(10, 0, 0)));
	EXPECT_EQ(Hierarchy->GetGlobalTransform(Slider).GetTranslation(), FVector(10, 2, 0));
	Hierarchy->SetGlobalTransform(Slider, FTransform(FVector(10, 5, 0)));
	EXPECT_EQ(Hierarchy->GetControlValue(Slider).Get<float>(), 5.0f);
}
