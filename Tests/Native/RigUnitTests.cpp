// The rig hierarchy the units run on, and the three runtime rig units: their pins as the builders set
// them by text, and what each evaluation does to the rig.

#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "RigUnit_VNBendySolver.h"
#include "RigUnit_VNFaceSDKSolver.h"
#include "RigUnit_VNReverseFootRoll.h"
#include "Rigs/RigHierarchy.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	const FRigElementKey Bone(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Bone); }
	const FRigElementKey Null(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Null); }
	const FRigElementKey Control(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Control); }

	::testing::AssertionResult Near(const FVector& Actual, const FVector& Expected, double Tolerance = 1e-4)
	{
		if (Actual.Equals(Expected, Tolerance))
		{
			return ::testing::AssertionSuccess();
		}
		return ::testing::AssertionFailure() << "(" << Actual.X << ", " << Actual.Y << ", " << Actual.Z << ") is not ("
											 << Expected.X << ", " << Expected.Y << ", " << Expected.Z << ")";
	}

	struct FRig
	{
		URigHierarchy* Hierarchy = NewObject<URigHierarchy>(GetTransientPackage());
		URigHierarchyController* Controller = Hierarchy->GetController();

		FRigElementKey AddFloatControl(const TCHAR* Name, float Value, FRigElementKey Parent = FRigElementKey())
		{
			FRigControlSettings Settings;
			Settings.ControlType = ERigControlType::Float;
			return Controller->AddControl(Name, Parent, Settings, FRigControlValue::Make<float>(Value));
		}

		FRigElementKey AddTransformControl(const TCHAR* Name, FRigElementKey Parent, const FTransform& Offset)
		{
			FRigControlSettings Settings;
			Settings.ControlType = ERigControlType::EulerTransform;
			return Controller->AddControl(Name, Parent, Settings, FRigControlValue::Make<FTransform>(FTransform::Identity), Offset);
		}

		void SetFloat(const FRigElementKey& Key, float Value)
		{
			Hierarchy->SetControlValue(Key, FRigControlValue::Make<float>(Value));
		}
	};

	template <typename T>
	bool SetPin(T& Unit, const TCHAR* Pin, const FString& Text)
	{
		const FProperty* Property = T::StaticStruct()->FindPropertyByName(Pin);
		return Property && Property->ImportText_Direct(*Text, Property->ContainerPtrToValuePtr<void>(&Unit), nullptr, PPF_None);
	}

	FVNSDKKey Key(float X, float Y)
	{
		FVNSDKKey Result;
		Result.X = X;
		Result.Y = Y;
		return Result;
	}
}

TEST(RigHierarchy, ChildrenFollowTheirParentOnBothPosesUnlessToldToStay)
{
	FRig Rig;
	Rig.Controller->AddBone(TEXT("Root"), FRigElementKey(), FTransform(FVector(0, 0, 100)), true);
	Rig.Controller->AddBone(TEXT("Spine"), Bone(TEXT("Root")), FTransform(FVector(0, 0, 150)), true);
	EXPECT_TRUE(Near(Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Spine")), true).GetTranslation(), FVector(0, 0, 50)));

	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("Root")), FTransform(FRotator(0, 90, 0), FVector(10, 0, 100)), false, true);
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Spine")), false).GetTranslation(), FVector(10, 0, 150)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Spine")), true).GetTranslation(), FVector(0, 0, 150)));

	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("Root")), FTransform(FVector(0, 0, 0)), true, false);
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Spine")), true).GetTranslation(), FVector(0, 0, 150)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Spine")), true).GetTranslation(), FVector(0, 0, 150)));

	EXPECT_FALSE(Rig.Controller->AddNull(TEXT("Spine"), Bone(TEXT("Missing")), FTransform::Identity).IsValid());
	EXPECT_FALSE(Rig.Controller->SetParent(Bone(TEXT("Root")), Bone(TEXT("Spine")))) << "no element moves below its own child";
}

TEST(RigHierarchy, ATakenNameIsASuggestionTheElementGetsTheFirstFreeSuffix)
{
	FRig Rig;
	Rig.Controller->AddBone(TEXT("Spine"), FRigElementKey(), FTransform::Identity);
	EXPECT_EQ(Rig.Controller->AddBone(TEXT("Spine"), FRigElementKey(), FTransform::Identity), Bone(TEXT("Spine_1")));
	EXPECT_EQ(Rig.Controller->AddBone(TEXT("spine"), FRigElementKey(), FTransform::Identity), Bone(TEXT("spine_2"))) << "names compare without case";
	EXPECT_EQ(Rig.Controller->AddNull(TEXT("Spine"), FRigElementKey(), FTransform::Identity), Null(TEXT("Spine"))) << "a name is taken per element type";
	EXPECT_FALSE(Rig.Controller->AddNull(NAME_None, FRigElementKey(), FTransform::Identity).IsValid());
	EXPECT_EQ(Rig.Hierarchy->Num(), 4);
}

TEST(RigHierarchy, ControlsSitOnTheirOffsetAndReparentingKeepsOrDropsTheGlobalPose)
{
	FRig Rig;
	Rig.Controller->AddNull(TEXT("Space"), FRigElementKey(), FTransform(FVector(100, 0, 0)));
	const FRigElementKey Ctrl = Rig.AddTransformControl(TEXT("Ctrl"), Null(TEXT("Space")), FTransform(FVector(0, 10, 0)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Ctrl).GetTranslation(), FVector(100, 10, 0)));

	Rig.Hierarchy->SetGlobalTransform(Ctrl, FTransform(FVector(100, 10, 5)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetControlValue(Ctrl).Get<FRigControlValue::FTransform_Float>().ToTransform().GetTranslation(), FVector(0, 0, 5)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetControlOffsetTransform(Rig.Hierarchy->Find<FRigControlElement>(Ctrl), ERigTransformType::CurrentLocal).GetTranslation(), FVector(0, 10, 0)));

	Rig.Controller->AddNull(TEXT("Other"), FRigElementKey(), FTransform(FVector(0, 0, 50)));
	ASSERT_TRUE(Rig.Controller->SetParent(Null(TEXT("Space")), Null(TEXT("Other")), true));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Null(TEXT("Space"))).GetTranslation(), FVector(100, 0, 0)));
	ASSERT_TRUE(Rig.Controller->SetParent(Null(TEXT("Space")), FRigElementKey(), false));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Null(TEXT("Space"))).GetTranslation(), FVector(100, 0, -50)));
	EXPECT_TRUE(Rig.Hierarchy->GetChildren(Null(TEXT("Other"))).IsEmpty());

	const TArray<FRigElementKey> Nulls = Rig.Hierarchy->GetAllKeys(false, ERigElementType::Null);
	ASSERT_EQ(Nulls.Num(), 2);
	EXPECT_EQ(Nulls[0], Null(TEXT("Space")));
}

TEST(RigUnits, AreRegisteredWithTheirPinsAndExecuteEntry)
{
	struct FExpected
	{
		const TCHAR* Path;
		std::vector<const TCHAR*> Pins;
	};
	const FExpected Units[] = {
		{TEXT("/Script/VantorelUnreal.RigUnit_VNFaceSDKSolver"), {TEXT("FaceRigDataAsset"), TEXT("FaceJoint"), TEXT("CtrlBoxAttach"), TEXT("FaceScaler")}},
		{TEXT("/Script/VantorelUnreal.RigUnit_VNReverseFootRoll"),
			{TEXT("IKControl"), TEXT("RollChannel"), TEXT("HeelRoller"), TEXT("ToesEndRoller"), TEXT("ToesRoller"), TEXT("RollStartAngle"),
				TEXT("RollEndAngle"), TEXT("RockChannel"), TEXT("InnerRockPivot"), TEXT("OuterRockPivot"), TEXT("InnerRockAxis"),
				TEXT("OuterRockAxis"), TEXT("InnerRockMin"), TEXT("InnerRockMax"), TEXT("OuterRockMin"), TEXT("OuterRockMax"),
				TEXT("InnerRockMultiplier"), TEXT("OuterRockMultiplier")}},
		{TEXT("/Script/VantorelUnreal.RigUnit_VNBendySolver"), {TEXT("bRestore"), TEXT("Segments"), TEXT("SnapshotBones")}},
	};
	for (const FExpected& Unit : Units)
	{
		const UScriptStruct* Struct = FindObject<UScriptStruct>(nullptr, Unit.Path);
		ASSERT_NE(Struct, nullptr) << TCHAR_TO_UTF8(Unit.Path);
		EXPECT_EQ(Struct->GetMetaData(TEXT("RigVMMethods")), TEXT("Execute"));
		EXPECT_NE(Struct->FindPropertyByName(TEXT("ExecuteContext")), nullptr) << "a mutable unit sits on the execution chain";
		for (const TCHAR* Pin : Unit.Pins)
		{
			EXPECT_NE(Struct->FindPropertyByName(Pin), nullptr) << TCHAR_TO_UTF8(Unit.Path) << " " << TCHAR_TO_UTF8(Pin);
		}
	}
	FRigUnit_VNFaceSDKSolver Face;
	EXPECT_TRUE(SetPin(Face, TEXT("FaceJoint"), TEXT("(Type=Bone,Name=\"FaceJoint_M\")")));
	EXPECT_TRUE(SetPin(Face, TEXT("FaceScaler"), TEXT("2.5")));
	EXPECT_FLOAT_EQ(Face.FaceScaler, 2.5f);
}

TEST(RigUnits, BendySegmentsReadTheTextTheBuilderWrites)
{
	FRigUnit_VNBendySolver Unit;
	ASSERT_TRUE(SetPin(Unit, TEXT("Segments"),
		TEXT("((Bones=(\"Shoulder_L\",\"Elbow_L\"),Parameters=(0.000000000,1.000000000),"
			 "Handles=((Control=\"Bend1_L\",Space=\"VNBendSpace_Bend1_L\",ParentControl=\"None\",Parameter=0.250000000)),"
			 "Master=\"None\",MasterSpace=\"VNBendSpace_None\",MasterParameter=0.500000000))")));
	ASSERT_TRUE(SetPin(Unit, TEXT("SnapshotBones"), TEXT("(\"Shoulder_L\",\"Elbow_L\")")));
	ASSERT_TRUE(SetPin(Unit, TEXT("bRestore"), TEXT("True")));
	EXPECT_TRUE(Unit.bRestore);
	ASSERT_EQ(Unit.Segments.Num(), 1);
	const FVNBendySegment& Segment = Unit.Segments[0];
	ASSERT_EQ(Segment.Bones.Num(), 2);
	EXPECT_EQ(Segment.Bones[1], FName(TEXT("Elbow_L")));
	ASSERT_EQ(Segment.Handles.Num(), 1);
	EXPECT_EQ(Segment.Handles[0].Space, FName(TEXT("VNBendSpace_Bend1_L")));
	EXPECT_TRUE(Segment.Handles[0].ParentControl.IsNone());
	EXPECT_FLOAT_EQ(Segment.Handles[0].Parameter, 0.25f);
	EXPECT_TRUE(Segment.Master.IsNone());
	EXPECT_EQ(Unit.SnapshotBones.Num(), 2);
}

TEST(FaceSDKSolver, PosesDrivenBonesFromTheirRestEveryEvaluation)
{
	FRig Rig;
	Rig.Controller->AddBone(TEXT("FaceJoint_M"), FRigElementKey(), FTransform(FVector(0, 0, 160)), true);
	Rig.Controller->AddBone(TEXT("Jaw_M"), Bone(TEXT("FaceJoint_M")), FTransform(FVector(0, 5, 155)), true);
	Rig.Controller->AddBone(TEXT("Lip_L"), Bone(TEXT("Jaw_M")), FTransform(FVector(2, 8, 155)), true);
	Rig.Controller->AddNull(TEXT("ctrlBoxAttach"), FRigElementKey(), FTransform(FVector(30, 0, 160)));
	const FRigElementKey Slider = Rig.AddFloatControl(TEXT("ctrlMouth_M"), 0.0f);
	Rig.AddFloatControl(TEXT("smile"), 0.0f, Slider);

	UVNFaceRigDataAsset* Data = NewObject<UVNFaceRigDataAsset>(GetTransientPackage());
	FVNFaceSDKDriver& Driver = Data->Drivers.AddDefaulted_GetRef();
	Driver.ControlName = TEXT("ctrlMouth_M");
	Driver.Channel = EVNFaceSDKChannel::ValueFloat;
	{
		FVNDrivenSDKChannel& Row = Driver.Driven.AddDefaulted_GetRef();
		Row.BoneName = TEXT("Jaw_M");
		Row.Channel = EVNFaceSDKChannel::TranslationZ;
		Row.Keys = {Key(0, 0), Key(1, -2)};
	}
	{
		FVNDrivenSDKChannel& Row = Driver.Driven.AddDefaulted_GetRef();
		Row.BoneName = TEXT("Jaw_M");
		Row.Channel = EVNFaceSDKChannel::RotationY;
		Row.ApplyMode = EVNFaceSDKApplyMode::Absolute;
		Row.Keys = {Key(0, 0), Key(1, 20)};
	}
	FVNFaceSDKDriver& Smile = Data->Drivers.AddDefaulted_GetRef();
	Smile.ControlName = TEXT("ctrlMouth_M");
	Smile.Channel = EVNFaceSDKChannel::ValueFloat;
	Smile.CustomChannelName = TEXT("smile");
	{
		FVNDrivenSDKChannel& Row = Smile.Driven.AddDefaulted_GetRef();
		Row.BoneName = TEXT("Lip_L");
		Row.Channel = EVNFaceSDKChannel::TranslationX;
		Row.TransformSpace = EVNFaceSDKTransformSpace::World;
		Row.Multiplier = 0.5f;
		Row.Keys = {Key(0, 0), Key(1, 4)};
	}

	Rig.SetFloat(Slider, 0.5f);
	Rig.SetFloat(Control(TEXT("smile")), 1.0f);
	// The character's head has moved; the face and the control box follow it.
	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("FaceJoint_M")), FTransform(FVector(10, 0, 160)));
	for (int32 Evaluation = 0; Evaluation < 2; ++Evaluation)
	{
		FRigUnit_VNFaceSDKSolver::Solve(Rig.Hierarchy, *Data, Bone(TEXT("FaceJoint_M")), Null(TEXT("ctrlBoxAttach")), 2.0f);
		const FTransform JawLocal = Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Jaw_M")));
		EXPECT_TRUE(Near(JawLocal.GetTranslation(), FVector(0, 5, -5 - 2.0))) << "half way down the curve, times the face scale";
		EXPECT_NEAR(JawLocal.Rotator().Pitch, 10.0, 1e-3) << "the absolute row replaces the rest angle";
		// Lip_L: its own rest under the jaw, then 4 * 0.5 * 2 units along world X.
		const FVector LipRest = (Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Lip_L")), true) * Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Jaw_M")))).GetTranslation();
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Lip_L"))).GetTranslation(), LipRest + FVector(4, 0, 0)));
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Null(TEXT("ctrlBoxAttach"))).GetTranslation(), FVector(40, 0, 160)));
	}

	Rig.SetFloat(Slider, 0.0f);
	Rig.SetFloat(Control(TEXT("smile")), 0.0f);
	FRigUnit_VNFaceSDKSolver::Solve(Rig.Hierarchy, *Data, Bone(TEXT("FaceJoint_M")), Null(TEXT("ctrlBoxAttach")), 2.0f);
	EXPECT_TRUE(Near(Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Jaw_M"))).GetTranslation(), FVector(0, 5, -5))) << "back at rest";
}

TEST(FaceSDKSolver, ADirectHandleOnItsJointsFollowNullMovesTheJointOnceByItsOwnMove)
{
	// A brow joint that a slider lifts, and a handle on the brow that rides on the brow's follow null
	// and moves the brow directly.
	FRig Rig;
	Rig.Controller->AddBone(TEXT("FaceJoint_M"), FRigElementKey(), FTransform(FVector(0, 0, 160)), true);
	Rig.Controller->AddBone(TEXT("Brow_R"), Bone(TEXT("FaceJoint_M")), FTransform(FVector(-2, 9, 171)), true);
	Rig.Controller->AddNull(TEXT("ctrlBoxAttach"), FRigElementKey(), FTransform(FVector(30, 0, 160)));
	const FRigElementKey Slider = Rig.AddFloatControl(TEXT("ctrlBrow_R"), 0.0f);
	Rig.Controller->AddNull(TEXT("OnFaceFollow_brow_R"), FRigElementKey(), FTransform(FVector(-2, 9, 171)));
	const FRigElementKey Handle = Rig.AddTransformControl(TEXT("brow_R"), Null(TEXT("OnFaceFollow_brow_R")), FTransform::Identity);

	UVNFaceRigDataAsset* Data = NewObject<UVNFaceRigDataAsset>(GetTransientPackage());
	FVNFaceSDKDriver& Driver = Data->Drivers.AddDefaulted_GetRef();
	Driver.ControlName = TEXT("ctrlBrow_R");
	Driver.Channel = EVNFaceSDKChannel::ValueFloat;
	FVNDrivenSDKChannel& Row = Driver.Driven.AddDefaulted_GetRef();
	Row.BoneName = TEXT("Brow_R");
	Row.Channel = EVNFaceSDKChannel::TranslationZ;
	Row.Keys = {Key(0, 0), Key(1, 1)};
	FVNFaceSDKFollowControl& Follow = Data->FollowControls.AddDefaulted_GetRef();
	Follow.ControlName = TEXT("brow_R");
	Follow.BoneName = TEXT("Brow_R");
	Follow.FollowNullName = TEXT("OnFaceFollow_brow_R");
	Follow.bFollowRotation = true;
	FVNFaceSDKDirectControl& Direct = Data->DirectControls.AddDefaulted_GetRef();
	Direct.ControlName = TEXT("brow_R");
	Direct.BoneName = TEXT("Brow_R");

	auto Solve = [&]() { FRigUnit_VNFaceSDKSolver::Solve(Rig.Hierarchy, *Data, Bone(TEXT("FaceJoint_M")), Null(TEXT("ctrlBoxAttach")), 1.0f); };
	Rig.SetFloat(Slider, 1.0f);
	for (int32 Evaluation = 0; Evaluation < 3; ++Evaluation)
	{
		Solve();
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Brow_R"))).GetTranslation(), FVector(-2, 9, 172)))
			<< "the slider's lift, and nothing from the handle that the lift carried along, evaluation " << Evaluation;
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Handle).GetTranslation(), FVector(-2, 9, 172))) << "the handle stays on the brow";
	}
	Rig.Hierarchy->SetLocalTransform(Handle, FTransform(FVector(0.5, 0, 0)));
	for (int32 Evaluation = 0; Evaluation < 3; ++Evaluation)
	{
		Solve();
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Brow_R"))).GetTranslation(), FVector(-1.5, 9, 172)));
		EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Handle).GetTranslation(), FVector(-1.5, 9, 172)))
			<< "the handle has moved as far as the brow, not twice as far";
	}
}

TEST(FaceSDKSolver, ShowsVisibilityGroupsByTheirSwitchAndLoadsItsAssetByPath)
{
	FRig Rig;
	FRigControlSettings Bool;
	Bool.ControlType = ERigControlType::Bool;
	Rig.Controller->AddControl(TEXT("showTongue"), FRigElementKey(), Bool, FRigControlValue::Make<bool>(false));
	Rig.AddFloatControl(TEXT("ctrlTongue"), 0.0f);
	Rig.AddFloatControl(TEXT("ctrlTeeth"), 0.0f);

	UPackage* Package = CreatePackage(TEXT("/Game/Characters/Hero/Hero_FaceRigData"));
	UVNFaceRigDataAsset* Data = NewObject<UVNFaceRigDataAsset>(Package, TEXT("Hero_FaceRigData"));
	FVNFaceSDKVisibilityGroup& Tongue = Data->VisibilityGroups.AddDefaulted_GetRef();
	Tongue.SwitchControlName = TEXT("showTongue");
	Tongue.Members = {TEXT("ctrlTongue")};
	FVNFaceSDKVisibilityGroup& Teeth = Data->VisibilityGroups.AddDefaulted_GetRef();
	Teeth.SwitchControlName = TEXT("noSuchSwitch");
	Teeth.bDefaultVisible = false;
	Teeth.Members = {TEXT("ctrlTeeth")};

	FRigUnit_VNFaceSDKSolver Unit;
	ASSERT_TRUE(SetPin(Unit, TEXT("FaceRigDataAsset"), TEXT("/Game/Characters/Hero/Hero_FaceRigData.Hero_FaceRigData")));
	Unit.ExecuteContext.Hierarchy = Rig.Hierarchy;
	Unit.Execute();
	EXPECT_FALSE(Rig.Hierarchy->Find<FRigControlElement>(Control(TEXT("ctrlTongue")))->Settings.bShapeVisible);
	EXPECT_FALSE(Rig.Hierarchy->Find<FRigControlElement>(Control(TEXT("ctrlTeeth")))->Settings.bShapeVisible) << "no switch: the default holds";
	Rig.Hierarchy->SetControlValue(Control(TEXT("showTongue")), FRigControlValue::Make<bool>(true));
	Unit.Execute();
	EXPECT_TRUE(Rig.Hierarchy->Find<FRigControlElement>(Control(TEXT("ctrlTongue")))->Settings.bShapeVisible);
}

TEST(ReverseFootRoll, SplitsTheRollAcrossHeelBallAndToeEnd)
{
	struct FCase
	{
		float Roll, Heel, Toes, ToesEnd;
	};
	const FCase Cases[] = {
		{-20, -20, 0, 0}, {0, 0, 0, 0}, {15, 0, 15, 0}, {30, 0, 30, 0}, {45, 0, 15, 30}, {60, 0, 0, 60}, {90, 0, 0, 90},
	};
	for (const FCase& Case : Cases)
	{
		float Heel = 0, Toes = 0, ToesEnd = 0;
		FRigUnit_VNReverseFootRoll::SplitRoll(Case.Roll, 30, 60, Heel, Toes, ToesEnd);
		EXPECT_FLOAT_EQ(Heel, Case.Heel) << Case.Roll;
		EXPECT_FLOAT_EQ(Toes, Case.Toes) << Case.Roll;
		EXPECT_FLOAT_EQ(ToesEnd, Case.ToesEnd) << Case.Roll;
	}
	float Heel = 0, Toes = 0, ToesEnd = 0;
	FRigUnit_VNReverseFootRoll::SplitRoll(50, 30, 30, Heel, Toes, ToesEnd);
	EXPECT_FLOAT_EQ(Toes + ToesEnd, 50) << "an empty blend range hands over at once";
	EXPECT_FLOAT_EQ(ToesEnd, 50);

	EXPECT_EQ(*FRigUnit_VNReverseFootRoll::ParseAxis(TEXT("-z")), FVector(0, 0, -1));
	EXPECT_EQ(*FRigUnit_VNReverseFootRoll::ParseAxis(TEXT(" Y ")), FVector(0, 1, 0));
	EXPECT_FALSE(FRigUnit_VNReverseFootRoll::ParseAxis(TEXT("W")).IsSet());
}

TEST(ReverseFootRoll, RollsAboutThePivotsAndRocksWithinItsLimits)
{
	// A foot pointing along +Y: heel at the origin, ball at 12, toe end at 20.
	FRig Rig;
	const FRigElementKey IK = Rig.AddTransformControl(TEXT("IKLeg_L"), FRigElementKey(), FTransform::Identity);
	Rig.AddFloatControl(TEXT("IKLeg_L_roll"), 0.0f, IK);
	Rig.AddFloatControl(TEXT("IKLeg_L_rock"), 0.0f, IK);
	Rig.Controller->AddNull(TEXT("RockInner"), IK, FTransform(FVector(-4, 6, 0)), true);
	Rig.Controller->AddNull(TEXT("RockOuter"), Null(TEXT("RockInner")), FTransform(FVector(4, 6, 0)), true);
	Rig.Controller->AddNull(TEXT("HeelRoller"), Null(TEXT("RockOuter")), FTransform(FVector(0, 0, 0)), true);
	Rig.Controller->AddNull(TEXT("ToesEndRoller"), Null(TEXT("HeelRoller")), FTransform(FVector(0, 20, 0)), true);
	Rig.Controller->AddNull(TEXT("ToesRoller"), Null(TEXT("ToesEndRoller")), FTransform(FVector(0, 12, 0)), true);
	Rig.Controller->AddNull(TEXT("Ankle"), Null(TEXT("ToesRoller")), FTransform(FVector(0, 2, 10)), true);

	FRigUnit_VNReverseFootRoll Unit;
	Unit.IKControl = TEXT("IKLeg_L");
	Unit.RollChannel = TEXT("IKLeg_L_roll");
	Unit.HeelRoller = TEXT("HeelRoller");
	Unit.ToesEndRoller = TEXT("ToesEndRoller");
	Unit.ToesRoller = TEXT("ToesRoller");
	Unit.RockChannel = TEXT("IKLeg_L_rock");
	Unit.InnerRockPivot = TEXT("RockInner");
	Unit.OuterRockPivot = TEXT("RockOuter");
	Unit.InnerRockAxis = TEXT("Y");
	Unit.OuterRockAxis = TEXT("Y");
	Unit.ExecuteContext.Hierarchy = Rig.Hierarchy;

	auto AnklePosition = [&]() { return Rig.Hierarchy->GetGlobalTransform(Null(TEXT("Ankle"))).GetTranslation(); };

	Rig.SetFloat(Control(TEXT("IKLeg_L_roll")), 30.0f);
	Unit.Execute();
	// The ball turns 30 degrees: the ankle, 10 up and 10 behind the ball, swings up and forward.
	const FVector OnBall = AnklePosition();
	EXPECT_GT(OnBall.Z, 10.0) << "a positive roll lifts the heel side";
	EXPECT_NEAR((OnBall - FVector(0, 12, 0)).Size(), FVector(0, -10, 10).Size(), 1e-4) << "it turns about the ball";

	Rig.SetFloat(Control(TEXT("IKLeg_L_roll")), -20.0f);
	Unit.Execute();
	const FVector OnHeel = AnklePosition();
	EXPECT_NEAR(OnHeel.Size(), FVector(0, 2, 10).Size(), 1e-4) << "it turns about the heel";
	EXPECT_LT(OnHeel.Y, 2.0) << "the ankle tips back";
	EXPECT_NEAR(Rig.Hierarchy->GetGlobalTransform(Null(TEXT("ToesEndRoller"))).GetTranslation().Z, 20 * FMath::Sin(FMath::DegreesToRadians(20.0)), 1e-4) << "the toes lift";

	Rig.SetFloat(Control(TEXT("IKLeg_L_roll")), 0.0f);
	Rig.SetFloat(Control(TEXT("IKLeg_L_rock")), -500.0f);
	Unit.Execute();
	const FQuat InnerTurn = Rig.Hierarchy->GetLocalTransform(Null(TEXT("RockInner"))).GetRotation();
	EXPECT_NEAR(FMath::RadiansToDegrees(InnerTurn.GetAngle()), 200.0 - 0.0, 1e-3) << "clamped to the inner minimum";
	EXPECT_TRUE(Rig.Hierarchy->GetLocalTransform(Null(TEXT("RockOuter"))).GetRotation().Equals(FQuat::Identity)) << "the outer range starts at 0";

	Rig.SetFloat(Control(TEXT("IKLeg_L_rock")), 0.0f);
	Unit.Execute();
	EXPECT_TRUE(Near(AnklePosition(), FVector(0, 2, 10))) << "zero channels give the built foot back";
}

TEST(BendySolver, BendsBonesBetweenHandlesAndRestoresThemFromTheirSnapshots)
{
	FRig Rig;
	Rig.Controller->AddBone(TEXT("Shoulder_L"), FRigElementKey(), FTransform(FVector(0, 0, 0)), true);
	Rig.Controller->AddBone(TEXT("ShoulderPart1_L"), Bone(TEXT("Shoulder_L")), FTransform(FVector(10, 0, 0)), true);
	Rig.Controller->AddBone(TEXT("Elbow_L"), Bone(TEXT("ShoulderPart1_L")), FTransform(FVector(30, 0, 0)), true);
	Rig.Controller->AddNull(TEXT("Helpers"), FRigElementKey(), FTransform::Identity);
	for (const TCHAR* Name : {TEXT("Shoulder_L"), TEXT("ShoulderPart1_L"), TEXT("Elbow_L")})
	{
		Rig.Controller->AddNull(*(FString(TEXT("VNBendBase_")) + Name), Null(TEXT("Helpers")), Rig.Hierarchy->GetLocalTransform(Bone(Name), true), false);
	}
	auto AddHandle = [&](const TCHAR* Name, const FVector& Place) {
		const FString Space = FString(TEXT("VNBendSpace_")) + Name;
		Rig.Controller->AddNull(*Space, FRigElementKey(), FTransform(Place));
		return Rig.AddTransformControl(Name, Null(*Space), FTransform::Identity);
	};
	const FRigElementKey Start = AddHandle(TEXT("BendStart_L"), FVector(0, 0, 0));
	const FRigElementKey Finish = AddHandle(TEXT("BendFinish_L"), FVector(30, 0, 0));
	const FRigElementKey Master = AddHandle(TEXT("BendMaster_L"), FVector(15, 0, 0));

	FRigUnit_VNBendySolver Solve;
	FVNBendySegment& Segment = Solve.Segments.AddDefaulted_GetRef();
	Segment.Bones = {TEXT("Shoulder_L"), TEXT("ShoulderPart1_L"), TEXT("Elbow_L")};
	Segment.Parameters = {0.0f, 1.0f / 3.0f, 1.0f};
	for (const TPair<FRigElementKey, float>& Handle : {TPair<FRigElementKey, float>(Start, 0.0f), TPair<FRigElementKey, float>(Finish, 1.0f)})
	{
		FVNBendyHandle& Entry = Segment.Handles.AddDefaulted_GetRef();
		Entry.Control = Handle.Key.Name;
		Entry.Space = FName(*(FString(TEXT("VNBendSpace_")) + Handle.Key.Name.ToString()));
		Entry.Parameter = Handle.Value;
	}
	Segment.Master = Master.Name;
	Segment.MasterSpace = TEXT("VNBendSpace_BendMaster_L");
	Segment.MasterParameter = 0.5f;
	Solve.ExecuteContext.Hierarchy = Rig.Hierarchy;

	Rig.Hierarchy->SetGlobalTransform(Finish, FTransform(FVector(30, 0, 6)));
	Rig.Hierarchy->SetGlobalTransform(Master, FTransform(FVector(15, 3, 0)));
	Solve.Execute();
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Shoulder_L"))).GetTranslation(), FVector(0, 0, 0)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("ShoulderPart1_L"))).GetTranslation(), FVector(10, 3 * (2.0 / 3.0), 2)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Elbow_L"))).GetTranslation(), FVector(30, 0, 6)));

	FRigUnit_VNBendySolver Restore;
	Restore.bRestore = true;
	Restore.SnapshotBones = {TEXT("Shoulder_L"), TEXT("ShoulderPart1_L"), TEXT("Elbow_L")};
	Restore.ExecuteContext.Hierarchy = Rig.Hierarchy;
	Restore.Execute();
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("ShoulderPart1_L"))).GetTranslation(), FVector(10, 0, 0)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Elbow_L"))).GetTranslation(), FVector(30, 0, 0)));

	FVNBendySegment Empty;
	EXPECT_EQ(FRigUnit_VNBendySolver::BendAt(Empty, {}, FVector(1, 1, 1), 0.3f), FVector::ZeroVector) << "no handles and no master: no bend";
}

TEST(BendySolver, HandlesTravelWithTheLimbAndASharedBoneMovesOnceCarryingTheBonesBelow)
{
	// An arm along X: shoulder, elbow, wrist and a finger below the wrist that no segment lists.
	FRig Rig;
	Rig.Controller->AddBone(TEXT("Shoulder_L"), FRigElementKey(), FTransform(FVector(0, 0, 0)), true);
	Rig.Controller->AddBone(TEXT("Elbow_L"), Bone(TEXT("Shoulder_L")), FTransform(FVector(20, 0, 0)), true);
	Rig.Controller->AddBone(TEXT("Wrist_L"), Bone(TEXT("Elbow_L")), FTransform(FVector(40, 0, 0)), true);
	Rig.Controller->AddBone(TEXT("Finger_L"), Bone(TEXT("Wrist_L")), FTransform(FVector(45, 0, 0)), true);
	auto AddHandle = [&](const TCHAR* Name, const FVector& Place) {
		const FString Space = FString(TEXT("VNBendSpace_")) + Name;
		Rig.Controller->AddNull(*Space, FRigElementKey(), FTransform(Place));
		return Rig.AddTransformControl(Name, Null(*Space), FTransform::Identity);
	};
	const FRigElementKey Zero = AddHandle(TEXT("BendShoulder0_L"), FVector(0, 0, 0));
	AddHandle(TEXT("BendMidShoulder_L"), FVector(0, 0, 0));
	const FRigElementKey Elbow = AddHandle(TEXT("BendMidElbow_L"), FVector(20, 0, 0));
	AddHandle(TEXT("BendMidWrist_L"), FVector(40, 0, 0));
	auto AddHandleEntry = [](FVNBendySegment& Segment, const TCHAR* Control, float Parameter, const TCHAR* Parent = nullptr) {
		FVNBendyHandle& Entry = Segment.Handles.AddDefaulted_GetRef();
		Entry.Control = Control;
		Entry.Space = FName(*(FString(TEXT("VNBendSpace_")) + Control));
		Entry.ParentControl = Parent ? FName(Parent) : FName();
		Entry.Parameter = Parameter;
	};
	FRigUnit_VNBendySolver Solve;
	FVNBendySegment& Upper = Solve.Segments.AddDefaulted_GetRef();
	Upper.Bones = {TEXT("Shoulder_L"), TEXT("Elbow_L")};
	Upper.Parameters = {0.0f, 1.0f};
	AddHandleEntry(Upper, TEXT("BendMidShoulder_L"), 0.0f, TEXT("BendShoulder0_L"));
	AddHandleEntry(Upper, TEXT("BendMidElbow_L"), 1.0f);
	FVNBendySegment& Lower = Solve.Segments.AddDefaulted_GetRef();
	Lower.Bones = {TEXT("Elbow_L"), TEXT("Wrist_L")};
	Lower.Parameters = {0.0f, 1.0f};
	AddHandleEntry(Lower, TEXT("BendMidElbow_L"), 0.0f);
	AddHandleEntry(Lower, TEXT("BendMidWrist_L"), 1.0f);
	Solve.ExecuteContext.Hierarchy = Rig.Hierarchy;

	// The arm swung a quarter turn about Z, as the forward solve leaves it before the bend.
	const FQuat Swing(FVector(0, 0, 1), UE_HALF_PI);
	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("Shoulder_L")), FTransform(Swing, FVector::ZeroVector));
	// The elbow handle bent 3 along its own X, which now points along world Y.
	Rig.Hierarchy->SetLocalTransform(Elbow, FTransform(FVector(3, 0, 0)));
	Solve.Execute();
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Null(TEXT("VNBendSpace_BendMidElbow_L"))).GetTranslation(), FVector(0, 20, 0)))
		<< "the handle's space goes with the elbow";
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Elbow_L"))).GetTranslation(), FVector(0, 23, 0)))
		<< "both segments bend the elbow by the same handle; it moves once";
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Wrist_L"))).GetTranslation(), FVector(0, 40, 0)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Finger_L"))).GetTranslation(), FVector(0, 45, 0)))
		<< "the finger stays with the wrist";
	EXPECT_TRUE(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Elbow_L"))).GetRotation().Equals(Swing, 1e-5)) << "bones keep their rotations";

	// Solving again from the same incoming pose gives the same result.
	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("Shoulder_L")), FTransform::Identity);
	Rig.Hierarchy->SetGlobalTransform(Bone(TEXT("Shoulder_L")), FTransform(Swing, FVector::ZeroVector));
	Rig.Hierarchy->SetLocalTransform(Bone(TEXT("Elbow_L")), Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Elbow_L")), true));
	Rig.Hierarchy->SetLocalTransform(Bone(TEXT("Wrist_L")), Rig.Hierarchy->GetLocalTransform(Bone(TEXT("Wrist_L")), true));
	Rig.Hierarchy->SetLocalTransform(Elbow, FTransform::Identity);
	// The zero handle carries the mid handle: moving it bends the start of the upper arm.
	Rig.Hierarchy->SetLocalTransform(Zero, FTransform(FVector(0, 0, 2)));
	Solve.Execute();
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Control(TEXT("BendMidShoulder_L"))).GetTranslation(), FVector(0, 0, 2)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Shoulder_L"))).GetTranslation(), FVector(0, 0, 2)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Elbow_L"))).GetTranslation(), FVector(0, 20, 0)));
	EXPECT_TRUE(Near(Rig.Hierarchy->GetGlobalTransform(Bone(TEXT("Finger_L"))).GetTranslation(), FVector(0, 45, 0)));
}
