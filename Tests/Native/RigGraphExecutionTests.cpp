// Control Rig graphs run by the stand-in on small hand-made rigs: the execution chain and its
// control flow, values along links and sub-pin links, the units' engine behaviour (two-bone IK,
// parent constraint, children collections, a chain fitted to a spline), the plug-in's own units,
// and what cannot run.

#include <gtest/gtest.h>

#include "ControlRigBlueprint.h"
#include "ControlRigBlueprintFactory.h"
#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "HostEditorSupport/RigEvaluation.h"
#include "RigVMCore/RigVMDispatchFactory.h"
#include "RigVMModel/RigVMController.h"
#include "Rigs/RigHierarchyController.h"
#include "Units/Highlevel/Hierarchy/RigUnit_TwoBoneIKSimple.h"

namespace
{
	int32 GRigCounter = 0;

	FRigElementKey Bone(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Bone); }
	FRigElementKey Null(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Null); }

	/** The Forwards Solve node a new Control Rig asset comes with. */
	const FString Begin = TEXT("RigUnit_BeginExecution");

	/** A new rig (with its Forwards Solve node), and its controllers. */
	struct FTestRig
	{
		UControlRigBlueprint* Rig = nullptr;
		URigVMController* Graph = nullptr;
		URigHierarchyController* Hierarchy = nullptr;

		FTestRig()
		{
			Rig = UControlRigBlueprintFactory::CreateNewControlRigAsset(FString::Printf(TEXT("/Game/GraphExecutionTests/Rig%d"), ++GRigCounter));
			Graph = Rig->GetController();
			Hierarchy = Rig->GetHierarchyController();
			EXPECT_NE(Rig->GetDefaultModel()->FindNodeByName(*Begin), nullptr);
		}

		/** Adds a unit node named Name of the struct at the path (/Script/Module.Struct). */
		void Unit(const TCHAR* StructPath, const TCHAR* Name)
		{
			ASSERT_NE(Graph->AddUnitNodeFromStructPath(StructPath, TEXT("Execute"), FVector2D::ZeroVector, Name), nullptr) << TCHAR_TO_UTF8(StructPath);
		}

		void Set(const FString& PinPath, const FString& Value)
		{
			ASSERT_TRUE(Graph->SetPinDefaultValue(PinPath, Value)) << TCHAR_TO_UTF8(*PinPath) << " = " << TCHAR_TO_UTF8(*Value);
		}

		void Link(const FString& From, const FString& To)
		{
			ASSERT_TRUE(Graph->AddLink(From, To)) << TCHAR_TO_UTF8(*From) << " -> " << TCHAR_TO_UTF8(*To);
		}
	};

	FString KeyText(const TCHAR* Type, const TCHAR* Name)
	{
		return FString::Printf(TEXT("(Type=%s,Name=\"%s\")"), Type, Name);
	}

	FString TransformText(const FVector& Translation, const FQuat& Rotation = FQuat::Identity)
	{
		return FString::Printf(TEXT("(Rotation=(X=%.17g,Y=%.17g,Z=%.17g,W=%.17g),Translation=(X=%.17g,Y=%.17g,Z=%.17g),Scale3D=(X=1,Y=1,Z=1))"),
			Rotation.X, Rotation.Y, Rotation.Z, Rotation.W, Translation.X, Translation.Y, Translation.Z);
	}

	FTransform GlobalOf(const HostEditor::FRigEvaluation& Evaluation, const FRigElementKey& Key)
	{
		FTransform Transform;
		EXPECT_TRUE(Evaluation.GetGlobalTransform(Key, Transform)) << TCHAR_TO_UTF8(*Key.ToString());
		return Transform;
	}

	void ExpectNear(const FVector& Actual, const FVector& Expected, double Tolerance = 1e-4)
	{
		EXPECT_TRUE(Actual.Equals(Expected, Tolerance)) << "actual " << TCHAR_TO_UTF8(*Actual.ToString()) << ", expected " << TCHAR_TO_UTF8(*Expected.ToString());
	}

	/**
	 * A straight limb along X: Upper at the origin, Lower 10 cm further, End 10 cm beyond that, and
	 * a basic IK node solving it toward an effector with the pole at (8, 0, 10).
	 */
	void AddStraightLimbWithIK(FTestRig& Test, const FVector& Effector, bool bStretch)
	{
		Test.Hierarchy->AddBone(TEXT("Upper"), FRigElementKey(), FTransform::Identity, true);
		Test.Hierarchy->AddBone(TEXT("Lower"), Bone(TEXT("Upper")), FTransform(FVector(10, 0, 0)), true);
		Test.Hierarchy->AddBone(TEXT("End"), Bone(TEXT("Lower")), FTransform(FVector(20, 0, 0)), true);
		Test.Hierarchy->AddBone(TEXT("Tip"), Bone(TEXT("End")), FTransform(FVector(21, 0, 0)), true);
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_TwoBoneIKSimplePerItem"), TEXT("IK"));
		Test.Set(TEXT("IK.ItemA"), KeyText(TEXT("Bone"), TEXT("Upper")));
		Test.Set(TEXT("IK.ItemB"), KeyText(TEXT("Bone"), TEXT("Lower")));
		Test.Set(TEXT("IK.EffectorItem"), KeyText(TEXT("Bone"), TEXT("End")));
		Test.Set(TEXT("IK.Effector"), TransformText(Effector));
		Test.Set(TEXT("IK.SecondaryAxis"), TEXT("(X=0,Y=0,Z=1)"));
		Test.Set(TEXT("IK.PoleVector"), TEXT("(X=8,Y=0,Z=10)"));
		Test.Set(TEXT("IK.PoleVectorKind"), TEXT("Location"));
		Test.Set(TEXT("IK.bEnableStretch"), bStretch ? TEXT("True") : TEXT("False"));
		Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("IK.ExecuteContext"));
	}
}

TEST(RigGraphExecution, TwoBoneIKBendsTheJointTowardThePoleAndKeepsTheBoneLengths)
{
	FTestRig Test;
	AddStraightLimbWithIK(Test, FVector(16, 0, 0), false);
	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));

	// Sides 10, 10 and a reach of 16: the upper bone leaves at acos(8/10) from the reach, so the
	// joint sits at (8, 0, 6), on the pole's side.
	const FTransform Upper = GlobalOf(Evaluation, Bone(TEXT("Upper")));
	const FTransform Lower = GlobalOf(Evaluation, Bone(TEXT("Lower")));
	const FTransform End = GlobalOf(Evaluation, Bone(TEXT("End")));
	ExpectNear(Upper.GetTranslation(), FVector(0, 0, 0));
	ExpectNear(Lower.GetTranslation(), FVector(8, 0, 6));
	ExpectNear(End.GetTranslation(), FVector(16, 0, 0));
	// Each bone's X axis runs along it; its Z axis turns toward the bend, at right angles to it.
	ExpectNear(Upper.GetUnitAxis(EAxis::X), FVector(0.8, 0, 0.6));
	ExpectNear(Lower.GetUnitAxis(EAxis::X), FVector(0.8, 0, -0.6));
	ExpectNear(Upper.GetUnitAxis(EAxis::Z), FVector(-0.6, 0, 0.8));
	ExpectNear(Lower.GetUnitAxis(EAxis::Z), FVector(0.6, 0, 0.8));
	// The end takes the effector's rotation, and its child follows it.
	ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Tip"))).GetTranslation(), FVector(17, 0, 0));
}

TEST(RigGraphExecution, TwoBoneIKOutOfReachStretchesStraightOrLengthensTheBones)
{
	{
		FTestRig Test;
		AddStraightLimbWithIK(Test, FVector(0, 30, 0), false);
		HostEditor::FRigEvaluation Evaluation(*Test.Rig);
		ASSERT_TRUE(Evaluation.RunForwardsSolve());
		// Out of reach, the limb points straight at the goal with its own lengths.
		ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Lower"))).GetTranslation(), FVector(0, 10, 0));
		ExpectNear(GlobalOf(Evaluation, Bone(TEXT("End"))).GetTranslation(), FVector(0, 20, 0));
	}
	{
		FTestRig Test;
		AddStraightLimbWithIK(Test, FVector(0, 30, 0), true);
		HostEditor::FRigEvaluation Evaluation(*Test.Rig);
		ASSERT_TRUE(Evaluation.RunForwardsSolve());
		// Stretch starts at 0.75 of the reach and tops out at 1.25 times the length: a reach ratio
		// of 1.5 is past the top, so each bone is 12.5 cm long.
		ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Lower"))).GetTranslation(), FVector(0, 12.5, 0));
		ExpectNear(GlobalOf(Evaluation, Bone(TEXT("End"))).GetTranslation(), FVector(0, 25, 0));
	}
}

TEST(RigGraphExecution, ParentConstraintBlendsItsParentsByWeightWithOrWithoutTheOffset)
{
	for (const bool bMaintainOffset : {true, false})
	{
		FTestRig Test;
		Test.Hierarchy->AddNull(TEXT("P1"), FRigElementKey(), FTransform(FVector(10, 0, 0)), true);
		Test.Hierarchy->AddNull(TEXT("P2"), FRigElementKey(), FTransform(FVector(0, 10, 0)), true);
		Test.Hierarchy->AddNull(TEXT("Child"), FRigElementKey(), FTransform::Identity, true);
		// P1 moves 10 cm along X first; the constraint then blends P1 and P2 one to three.
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("MoveP1"));
		Test.Set(TEXT("MoveP1.Item"), KeyText(TEXT("Null"), TEXT("P1")));
		Test.Set(TEXT("MoveP1.Value"), TransformText(FVector(20, 0, 0)));
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_ParentConstraint"), TEXT("Constraint"));
		Test.Set(TEXT("Constraint.Child"), KeyText(TEXT("Null"), TEXT("Child")));
		Test.Set(TEXT("Constraint.bMaintainOffset"), bMaintainOffset ? TEXT("True") : TEXT("False"));
		Test.Set(TEXT("Constraint.Parents"), TEXT("((Item=(Type=Null,Name=\"P1\"),Weight=1.0),(Item=(Type=Null,Name=\"P2\"),Weight=3.0))"));
		Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("MoveP1.ExecuteContext"));
		Test.Link(TEXT("MoveP1.ExecuteContext"), TEXT("Constraint.ExecuteContext"));
		HostEditor::FRigEvaluation Evaluation(*Test.Rig);
		ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
		// With the offset, each parent carries the child from where it sat at rest: P1 gives
		// (10, 0, 0) and P2 (0, 0, 0), blended 0.25 : 0.75. Without it the child goes to the blend
		// of the parents themselves: 0.25 * (20, 0, 0) + 0.75 * (0, 10, 0).
		ExpectNear(GlobalOf(Evaluation, Null(TEXT("Child"))).GetTranslation(), bMaintainOffset ? FVector(2.5, 0, 0) : FVector(5, 7.5, 0));
	}
}

TEST(RigGraphExecution, ValuesFlowAlongLinksAndSubPinLinksOverTheDefaultsOfTheRest)
{
	FTestRig Test;
	Test.Hierarchy->AddBone(TEXT("Source"), FRigElementKey(), FTransform(FRotator(0, 45, 0), FVector(1, 2, 3)), true);
	Test.Hierarchy->AddNull(TEXT("Target"), FRigElementKey(), FTransform::Identity, true);
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_GetTransform"), TEXT("Get"));
	Test.Set(TEXT("Get.Item"), KeyText(TEXT("Bone"), TEXT("Source")));
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("Put"));
	Test.Set(TEXT("Put.Item"), KeyText(TEXT("Null"), TEXT("Target")));
	const FQuat Turn = FQuat(FVector(1, 0, 0), UE_DOUBLE_PI / 2);
	Test.Set(TEXT("Put.Value"), TransformText(FVector(0, 0, 0), Turn));
	// Only the translation comes from the bone; the rotation stays the pin's own default.
	Test.Link(TEXT("Get.Transform.Translation"), TEXT("Put.Value.Translation"));
	// 1 + 2 + 4 through an aggregate add, then into the Z of the scale (a float into a double).
	Test.Unit(TEXT("/Script/RigVM.RigVMFunction_MathFloatAdd"), TEXT("Sum"));
	Test.Set(TEXT("Sum.A"), TEXT("1.0"));
	Test.Set(TEXT("Sum.B"), TEXT("2.0"));
	const FString Added = Test.Graph->AddAggregatePin(TEXT("Sum"), TEXT(""), TEXT("4.0"));
	ASSERT_FALSE(Added.IsEmpty());
	Test.Link(TEXT("Sum.Result"), TEXT("Put.Value.Scale3D.Z"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Put.ExecuteContext"));

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	const FTransform Target = GlobalOf(Evaluation, Null(TEXT("Target")));
	ExpectNear(Target.GetTranslation(), FVector(1, 2, 3));
	ExpectNear(Target.GetScale3D(), FVector(1, 1, 7));
	EXPECT_TRUE(Target.GetRotation().Equals(Turn, 1e-6)) << TCHAR_TO_UTF8(*Target.GetRotation().ToString());
}

TEST(RigGraphExecution, AnIteratorRunsItsBodyPerChildThenCompletedAndABranchTakesOneSide)
{
	FTestRig Test;
	Test.Hierarchy->AddNull(TEXT("Group"), FRigElementKey(), FTransform::Identity, true);
	for (const TCHAR* Name : {TEXT("A"), TEXT("B"), TEXT("C")})
	{
		Test.Hierarchy->AddNull(Name, Null(TEXT("Group")), FTransform(FRotator(0, 90, 0), FVector(0, 0, 0)), true);
	}
	Test.Hierarchy->AddNull(TEXT("Done"), FRigElementKey(), FTransform::Identity, true);
	Test.Hierarchy->AddNull(TEXT("Yes"), FRigElementKey(), FTransform::Identity, true);
	Test.Hierarchy->AddNull(TEXT("No"), FRigElementKey(), FTransform::Identity, true);

	Test.Unit(TEXT("/Script/RigVM.RigVMFunction_Sequence"), TEXT("Steps"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Steps.ExecuteContext"));
	// Step A: for each child of Group, offset it 1 cm along its own X (which its 90 degree turn
	// points along world Y); then mark Done.
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_CollectionChildrenArray"), TEXT("Children"));
	Test.Set(TEXT("Children.Parent"), KeyText(TEXT("Null"), TEXT("Group")));
	const FRigVMDispatchFactory* Iterator = FRigVMDispatchFactory::FindFactory(TEXT("DISPATCH_RigVMDispatch_ArrayIterator"));
	ASSERT_NE(Iterator, nullptr);
	ASSERT_NE(Test.Graph->AddTemplateNode(Iterator->GetTemplateNotation(), FVector2D::ZeroVector, TEXT("Each")), nullptr);
	Test.Link(TEXT("Children.Items"), TEXT("Each.Array"));
	Test.Link(TEXT("Steps.A"), TEXT("Each.ExecuteContext"));
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_OffsetTransformForItem"), TEXT("Nudge"));
	Test.Set(TEXT("Nudge.OffsetTransform"), TransformText(FVector(1, 0, 0)));
	Test.Link(TEXT("Each.Element"), TEXT("Nudge.Item"));
	Test.Link(TEXT("Each.ExecuteContext"), TEXT("Nudge.ExecuteContext"));
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("MarkDone"));
	Test.Set(TEXT("MarkDone.Item"), KeyText(TEXT("Null"), TEXT("Done")));
	Test.Set(TEXT("MarkDone.Value"), TransformText(FVector(5, 5, 5)));
	Test.Link(TEXT("Each.Completed"), TEXT("MarkDone.ExecuteContext"));
	// Step B: a branch on whether Group has a child "B" (it has).
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_ItemExists"), TEXT("HasB"));
	Test.Set(TEXT("HasB.Item"), KeyText(TEXT("Null"), TEXT("B")));
	Test.Unit(TEXT("/Script/RigVM.RigVMFunction_ControlFlowBranch"), TEXT("Branch"));
	Test.Link(TEXT("HasB.Exists"), TEXT("Branch.Condition"));
	Test.Link(TEXT("Steps.B"), TEXT("Branch.ExecuteContext"));
	for (const TCHAR* Side : {TEXT("Yes"), TEXT("No")})
	{
		const FString Node = FString(TEXT("Mark")) + Side;
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), *Node);
		Test.Set(Node + TEXT(".Item"), KeyText(TEXT("Null"), Side));
		Test.Set(Node + TEXT(".Value"), TransformText(FVector(1, 1, 1)));
	}
	Test.Link(TEXT("Branch.True"), TEXT("MarkYes.ExecuteContext"));
	Test.Link(TEXT("Branch.False"), TEXT("MarkNo.ExecuteContext"));

	Test.Rig->RigGraphDisplaySettings.NodeRunLimit = 2;
	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	for (const TCHAR* Name : {TEXT("A"), TEXT("B"), TEXT("C")})
	{
		ExpectNear(GlobalOf(Evaluation, Null(Name)).GetTranslation(), FVector(0, 1, 0));
	}
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Done"))).GetTranslation(), FVector(5, 5, 5));
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Yes"))).GetTranslation(), FVector(1, 1, 1));
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("No"))).GetTranslation(), FVector(0, 0, 0));

	const HostEditor::FRigRunReport Report = Evaluation.GetReport();
	EXPECT_EQ(Report.UnitsPerType.FindRef(TEXT("RigUnit_OffsetTransformForItem")), 3);
	EXPECT_EQ(Report.UnitsPerType.FindRef(TEXT("DISPATCH_RigVMDispatch_ArrayIterator")), 1);
	EXPECT_EQ(Report.UnitsPerType.FindRef(TEXT("RigUnit_SetTransform")), 2);
	EXPECT_EQ(Report.NodesNeverRun, TArray<FString>({TEXT("MarkNo")}));
	// The body node ran three times in one evaluation, more than the blueprint's limit of 2: that is
	// reported, and only for it (the other nodes ran once).
	ASSERT_EQ(Report.Warnings.Num(), 1);
	EXPECT_TRUE(Report.Warnings[0].Contains(TEXT("'Nudge'")) && Report.Warnings[0].Contains(TEXT("ran 3 times, limit is 2"))) << TCHAR_TO_UTF8(*Report.Warnings[0]);
	// The nulls keep what the solve gave them, so a second solve nudges them once more.
	ASSERT_TRUE(Evaluation.RunForwardsSolve());
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("B"))).GetTranslation(), FVector(0, 2, 0));
}

TEST(RigGraphExecution, ThePlugInsUnitsRunThroughTheirOwnExecute)
{
	FTestRig Test;
	Test.Hierarchy->AddBone(TEXT("Spine"), FRigElementKey(), FTransform(FVector(0, 0, 50)), true);
	Test.Hierarchy->AddNull(TEXT("VNBendBase_Spine"), FRigElementKey(), FTransform(FRotator(0, 30, 0), FVector(1, 2, 3)), true);
	Test.Unit(TEXT("/Script/VantorelUnreal.RigUnit_VNBendySolver"), TEXT("Restore"));
	Test.Set(TEXT("Restore.bRestore"), TEXT("True"));
	Test.Set(TEXT("Restore.SnapshotBones"), TEXT("(\"Spine\")"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Restore.ExecuteContext"));
	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	// Restoring puts the bone at the local transform its snapshot null keeps.
	ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Spine"))).GetTranslation(), FVector(1, 2, 3));
	EXPECT_EQ(Evaluation.GetReport().UnitsPerType.FindRef(TEXT("RigUnit_VNBendySolver")), 1);
}

TEST(RigGraphExecution, AChainFollowsASplineThroughItsHandlesSolveAfterSolve)
{
	FTestRig Test;
	// Four bones 10 cm apart along X, and four handles the spline runs through.
	FRigElementKey Parent;
	TArray<FString> BoneTexts;
	for (int32 Index = 0; Index < 4; ++Index)
	{
		const FString Name = FString::Printf(TEXT("Spine%d"), Index);
		Parent = Test.Hierarchy->AddBone(*Name, Parent, FTransform(FVector(10.0 * Index, 0, 0)), true);
		BoneTexts.Add(KeyText(TEXT("Bone"), *Name));
	}
	const TArray<FVector> Handles = {FVector(0, 0, 0), FVector(15, 0, 20), FVector(35, 0, 20), FVector(50, 0, 0)};
	for (int32 Index = 0; Index < 4; ++Index)
	{
		const FString Name = FString::Printf(TEXT("Handle%d"), Index);
		Test.Hierarchy->AddNull(*Name, FRigElementKey(), FTransform(Handles[Index]), true);
		const FString Get = FString::Printf(TEXT("Get%d"), Index);
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_GetTransform"), *Get);
		Test.Set(Get + TEXT(".Item"), KeyText(TEXT("Null"), *Name));
	}
	Test.Unit(TEXT("/Script/ControlRigSpline.RigUnit_ControlRigSplineFromPoints"), TEXT("Spline"));
	Test.Set(TEXT("Spline.Points"), TEXT("((X=0,Y=0,Z=0),(X=0,Y=0,Z=0),(X=0,Y=0,Z=0),(X=0,Y=0,Z=0))"));
	Test.Set(TEXT("Spline.SplineMode"), TEXT("BSpline"));
	Test.Set(TEXT("Spline.SamplesPerSegment"), TEXT("64"));
	for (int32 Index = 0; Index < 4; ++Index)
	{
		Test.Link(FString::Printf(TEXT("Get%d.Transform.Translation"), Index), FString::Printf(TEXT("Spline.Points.%d"), Index));
	}
	Test.Unit(TEXT("/Script/ControlRigSpline.RigUnit_FitChainToSplineCurveItemArray"), TEXT("Fit"));
	Test.Set(TEXT("Fit.Items"), TEXT("(") + FString::Join(BoneTexts, TEXT(",")) + TEXT(")"));
	Test.Set(TEXT("Fit.SamplingPrecision"), TEXT("64"));
	Test.Link(TEXT("Spline.Spline"), TEXT("Fit.Spline"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Fit.ExecuteContext"));

	// Four handles make one cubic span: the spline is their Bezier curve.
	const auto Curve = [&Handles](double T)
	{
		const double S = 1.0 - T;
		return Handles[0] * (S * S * S) + Handles[1] * (3.0 * S * S * T) + Handles[2] * (3.0 * S * T * T) + Handles[3] * (T * T * T);
	};
	const auto DistanceToCurve = [&Curve](const FVector& Point)
	{
		double Nearest = MAX_dbl;
		for (int32 Step = 0; Step <= 10000; ++Step)
		{
			Nearest = FMath::Min(Nearest, FVector::Distance(Point, Curve(Step / 10000.0)));
		}
		return Nearest;
	};

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	for (int32 Solve = 0; Solve < 2; ++Solve)
	{
		ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
		const HostEditor::FRigRunReport Report = Evaluation.GetReport();
		EXPECT_TRUE(Report.Errors.IsEmpty()) << TCHAR_TO_UTF8(*FString::Join(Report.Errors, TEXT("\n")));
		EXPECT_TRUE(Report.Warnings.IsEmpty()) << TCHAR_TO_UTF8(*FString::Join(Report.Warnings, TEXT("\n")));
		EXPECT_EQ(Report.UnitsPerType.FindRef(TEXT("RigUnit_FitChainToSplineCurveItemArray")), Solve + 1);

		// The chain starts where the curve does, its bones equally long as they were at rest, and
		// all but the last (which reaches a little past the end along the curve's direction) on it.
		ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Spine0"))).GetTranslation(), Handles[0], 0.01);
		TArray<FVector> Positions;
		for (int32 Index = 0; Index < 4; ++Index)
		{
			Positions.Add(GlobalOf(Evaluation, Bone(*FString::Printf(TEXT("Spine%d"), Index))).GetTranslation());
		}
		const double First = FVector::Distance(Positions[0], Positions[1]);
		EXPECT_GT(First, 15.0);
		for (int32 Index = 1; Index < 4; ++Index)
		{
			EXPECT_NEAR(FVector::Distance(Positions[Index - 1], Positions[Index]), First, 0.02) << "Spine" << Index;
			if (Index < 3)
			{
				EXPECT_LT(DistanceToCurve(Positions[Index]), 0.05) << "Spine" << Index;
			}
		}
	}
}

TEST(RigGraphExecution, ASplineOfTooFewPointsIsAWarningOnItsNodeAndLeavesTheChainAlone)
{
	FTestRig Test;
	Test.Hierarchy->AddBone(TEXT("Root"), FRigElementKey(), FTransform::Identity, true);
	Test.Hierarchy->AddBone(TEXT("Tip"), Bone(TEXT("Root")), FTransform(FVector(10, 0, 0)), true);
	Test.Unit(TEXT("/Script/ControlRigSpline.RigUnit_ControlRigSplineFromPoints"), TEXT("Spline"));
	Test.Set(TEXT("Spline.Points"), TEXT("((X=0,Y=0,Z=0),(X=5,Y=0,Z=0),(X=10,Y=0,Z=0))"));
	Test.Unit(TEXT("/Script/ControlRigSpline.RigUnit_FitChainToSplineCurveItemArray"), TEXT("Fit"));
	Test.Set(TEXT("Fit.Items"), TEXT("(") + KeyText(TEXT("Bone"), TEXT("Root")) + TEXT(",") + KeyText(TEXT("Bone"), TEXT("Tip")) + TEXT(")"));
	Test.Link(TEXT("Spline.Spline"), TEXT("Fit.Spline"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Fit.ExecuteContext"));
	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	// Three points make no spline; the fit has none to follow and leaves the chain alone.
	EXPECT_EQ(Evaluation.GetReport().Warnings, TArray<FString>({TEXT("Node 'Spline': Cannot create a spline with less than 4 points (3 received).")}));
	ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Tip"))).GetTranslation(), FVector(10, 0, 0));
}

TEST(RigGraphExecution, AWarningOfAUnitRunOutsideARigIsOnlyLoggedAndNoLaterRunReportsIt)
{
	FTestRig Test;
	// Basic IK run on its own, outside any rig, on bones the hierarchy lacks: it warns in the log.
	HostEditor::FLogCapture Log;
	FRigUnit_TwoBoneIKSimplePerItem Alone;
	Alone.ExecuteContext.Hierarchy = Test.Hierarchy->GetHierarchy();
	Alone.ItemA = Bone(TEXT("Upper"));
	Alone.ItemB = Bone(TEXT("Lower"));
	Alone.Execute();
	EXPECT_EQ(Log.Count(TEXT("LogControlRigUnits"), ELogVerbosity::Warning, TEXT("Basic IK")), 1);

	// A rig run afterwards reports what its own nodes warn of, here nothing.
	AddStraightLimbWithIK(Test, FVector(16, 0, 0), false);
	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	EXPECT_TRUE(Evaluation.GetReport().Warnings.IsEmpty()) << TCHAR_TO_UTF8(*FString::Join(Evaluation.GetReport().Warnings, TEXT("\n")));
}

TEST(RigGraphExecution, WhatCannotRunIsAnErrorThatNamesIt)
{
	{
		// An array iterator whose array is never given has no element type to iterate with.
		FTestRig Test;
		const FRigVMDispatchFactory* Iterator = FRigVMDispatchFactory::FindFactory(TEXT("DISPATCH_RigVMDispatch_ArrayIterator"));
		ASSERT_NE(Iterator, nullptr);
		ASSERT_NE(Test.Graph->AddTemplateNode(Iterator->GetTemplateNotation(), FVector2D::ZeroVector, TEXT("Each")), nullptr);
		Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Each.ExecuteContext"));
		HostEditor::FRigEvaluation Evaluation(*Test.Rig);
		EXPECT_FALSE(Evaluation.RunForwardsSolve());
		const FString Errors = FString::Join(Evaluation.GetReport().Errors, TEXT("\n"));
		EXPECT_TRUE(Errors.Contains(TEXT("unresolved type")) && Errors.Contains(TEXT("'Each'"))) << TCHAR_TO_UTF8(*Errors);
	}
	{
		// A graph without a forwards solve event has nothing to run: that is said, not passed over.
		FTestRig Test;
		Test.Graph->RemoveNodeByName(*Begin);
		HostEditor::FRigEvaluation Evaluation(*Test.Rig);
		EXPECT_FALSE(Evaluation.RunForwardsSolve());
		const FString Errors = FString::Join(Evaluation.GetReport().Errors, TEXT("\n"));
		EXPECT_TRUE(Errors.Contains(TEXT("Forwards Solve"))) << TCHAR_TO_UTF8(*Errors);
	}
}

TEST(RigGraphExecution, ControlValuesAreSetByNameInTheirTypesAndBonesStartEachSolveAtRest)
{
	FTestRig Test;
	FRigControlSettings Settings;
	Settings.ControlType = ERigControlType::EulerTransform;
	Test.Hierarchy->AddControl(TEXT("Handle"), FRigElementKey(), Settings, FRigControlValue(), FTransform(FVector(0, 0, 100)));
	Test.Hierarchy->AddBone(TEXT("Hand"), FRigElementKey(), FTransform(FVector(0, 0, 90)), true);
	// Each solve puts Hand 10 cm below Handle; a stray move of Hand between solves is undone.
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_GetTransform"), TEXT("Get"));
	Test.Set(TEXT("Get.Item"), KeyText(TEXT("Control"), TEXT("Handle")));
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_OffsetTransformForItem"), TEXT("Follow"));
	Test.Set(TEXT("Follow.Item"), KeyText(TEXT("Bone"), TEXT("Hand")));
	Test.Unit(TEXT("/Script/RigVM.RigVMFunction_MathTransformMakeRelative"), TEXT("Relative"));
	Test.Link(TEXT("Get.Transform"), TEXT("Relative.Global"));
	Test.Set(TEXT("Relative.Parent"), TransformText(FVector(0, 0, 100)));
	Test.Link(TEXT("Relative.Local"), TEXT("Follow.OffsetTransform"));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("Follow.ExecuteContext"));

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	FString Error;
	ASSERT_TRUE(Evaluation.SetControlValueFromText(TEXT("Handle"), TEXT("(Location=(X=5,Y=0,Z=0),Rotation=(Pitch=0,Yaw=0,Roll=0),Scale=(X=1,Y=1,Z=1))"), Error)) << TCHAR_TO_UTF8(*Error);
	EXPECT_FALSE(Evaluation.SetControlValueFromText(TEXT("Handle"), TEXT("5"), Error));
	EXPECT_FALSE(Evaluation.SetControlValue(TEXT("Missing"), FRigControlValue::Make<float>(1.f), Error));
	EXPECT_TRUE(Error.Contains(TEXT("Missing"))) << TCHAR_TO_UTF8(*Error);
	ASSERT_TRUE(Evaluation.RunForwardsSolve(3)) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	// The handle moved 5 cm along X from its offset; Hand, back at rest before each solve, moves by
	// the same amount once, however many solves ran.
	ExpectNear(GlobalOf(Evaluation, FRigElementKey(TEXT("Handle"), ERigElementType::Control)).GetTranslation(), FVector(5, 0, 100));
	ExpectNear(GlobalOf(Evaluation, Bone(TEXT("Hand"))).GetTranslation(), FVector(5, 0, 90));
	EXPECT_EQ(Evaluation.GetReport().EventsRun, 3);
	// The blueprint's own hierarchy is not touched by the evaluation.
	ExpectNear(Test.Rig->Hierarchy->GetGlobalTransform(FRigElementKey(TEXT("Handle"), ERigElementType::Control)).GetTranslation(), FVector(0, 0, 100));
}

TEST(RigGraphExecution, TheBackwardsSolveRunsItsOwnChainOnlyWhenAskedFor)
{
	FTestRig Test;
	Test.Hierarchy->AddNull(TEXT("Forward"), FRigElementKey(), FTransform::Identity, true);
	Test.Hierarchy->AddNull(TEXT("Backward"), FRigElementKey(), FTransform::Identity, true);
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_InverseExecution"), TEXT("Inverse"));
	for (const TCHAR* Name : {TEXT("Forward"), TEXT("Backward")})
	{
		const FString Node = FString(TEXT("Move")) + Name;
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), *Node);
		Test.Set(Node + TEXT(".Item"), KeyText(TEXT("Null"), Name));
		Test.Set(Node + TEXT(".Value"), TransformText(FVector(0, 0, 3)));
	}
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("MoveForward.ExecuteContext"));
	Test.Link(TEXT("Inverse.ExecuteContext"), TEXT("MoveBackward.ExecuteContext"));

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.HasBackwardsSolve());
	ASSERT_TRUE(Evaluation.RunForwardsSolve());
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Forward"))).GetTranslation(), FVector(0, 0, 3));
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Backward"))).GetTranslation(), FVector(0, 0, 0));
	ASSERT_TRUE(Evaluation.RunBackwardsSolve());
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Backward"))).GetTranslation(), FVector(0, 0, 3));
	EXPECT_EQ(Evaluation.GetReport().EventsRun, 2);
}

TEST(RigGraphExecution, TransformsAreReadAndWrittenInTheirSpacesAndBlendedByWeight)
{
	FTestRig Test;
	FRigControlSettings Settings;
	Settings.ControlType = ERigControlType::EulerTransform;
	FRigControlValue Value;
	Value.SetFromTransform(FTransform(FVector(5, 0, 0)), ERigControlType::EulerTransform, ERigControlAxis::X);
	Test.Hierarchy->AddControl(TEXT("Handle"), FRigElementKey(), Settings, Value, FTransform(FVector(0, 0, 100)));
	Test.Hierarchy->AddNull(TEXT("Out"), FRigElementKey(), FTransform::Identity, true);
	Test.Hierarchy->AddNull(TEXT("Half"), FRigElementKey(), FTransform(FVector(10, 0, 0)), true);
	// A control's local transform is its value, relative to its offset.
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_GetTransform"), TEXT("Local"));
	Test.Set(TEXT("Local.Item"), KeyText(TEXT("Control"), TEXT("Handle")));
	Test.Set(TEXT("Local.Space"), TEXT("LocalSpace"));
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("PutOut"));
	Test.Set(TEXT("PutOut.Item"), KeyText(TEXT("Null"), TEXT("Out")));
	Test.Link(TEXT("Local.Transform"), TEXT("PutOut.Value"));
	// A weight of a quarter moves a quarter of the way, from (10, 0, 0) toward (30, 0, 0).
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTranslation"), TEXT("PutHalf"));
	Test.Set(TEXT("PutHalf.Item"), KeyText(TEXT("Null"), TEXT("Half")));
	Test.Set(TEXT("PutHalf.Value"), TEXT("(X=30,Y=0,Z=0)"));
	Test.Set(TEXT("PutHalf.Weight"), TEXT("0.25"));
	// An initial write to a control moves its offset; outside the construction event its value stays.
	Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("MoveOffset"));
	Test.Set(TEXT("MoveOffset.Item"), KeyText(TEXT("Control"), TEXT("Handle")));
	Test.Set(TEXT("MoveOffset.bInitial"), TEXT("True"));
	Test.Set(TEXT("MoveOffset.Value"), TransformText(FVector(0, 0, 200)));
	Test.Link(Begin + TEXT(".ExecuteContext"), TEXT("PutOut.ExecuteContext"));
	Test.Link(TEXT("PutOut.ExecuteContext"), TEXT("PutHalf.ExecuteContext"));
	Test.Link(TEXT("PutHalf.ExecuteContext"), TEXT("MoveOffset.ExecuteContext"));

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Out"))).GetTranslation(), FVector(5, 0, 0));
	ExpectNear(GlobalOf(Evaluation, Null(TEXT("Half"))).GetTranslation(), FVector(15, 0, 0));
	ExpectNear(GlobalOf(Evaluation, FRigElementKey(TEXT("Handle"), ERigElementType::Control)).GetTranslation(), FVector(5, 0, 200));
}

TEST(RigGraphExecution, SwingAndTwistSplitARotationAboutTheTwistAxisAndInterpolationTakesTheShortWay)
{
	FTestRig Test;
	// Input: a twist of 60 degrees about X followed by a swing of 40 degrees about Z, multiplied out by
	// hand: (cos20 sin30, sin20 sin30, sin20 cos30, cos20 cos30).
	const double S20 = FMath::Sin(FMath::DegreesToRadians(20.0)), C20 = FMath::Cos(FMath::DegreesToRadians(20.0));
	const double S30 = 0.5, C30 = FMath::Sqrt(3.0) / 2.0;
	const FString Input = FString::Printf(TEXT("(X=%.17g,Y=%.17g,Z=%.17g,W=%.17g)"), C20 * S30, S20 * S30, S20 * C30, C20 * C30);
	struct FCase
	{
		const TCHAR* Name;
		const TCHAR* Axis;
		FQuat Swing, Twist;
	};
	// The twist axis is normalised; a zero axis gives no split at all.
	const FCase Cases[] = {
		{TEXT("UnitAxis"), TEXT("(X=1,Y=0,Z=0)"), FQuat(0, 0, S20, C20), FQuat(S30, 0, 0, C30)},
		{TEXT("LongAxis"), TEXT("(X=2.5,Y=0,Z=0)"), FQuat(0, 0, S20, C20), FQuat(S30, 0, 0, C30)},
		{TEXT("NoAxis"), TEXT("(X=0,Y=0,Z=0)"), FQuat::Identity, FQuat::Identity},
	};
	FString Previous = Begin + TEXT(".ExecuteContext");
	const auto Store = [&Test, &Previous](const FString& Null, const FString& Source)
	{
		Test.Hierarchy->AddNull(*Null, FRigElementKey(), FTransform::Identity, true);
		const FString Setter = TEXT("Set") + Null;
		Test.Unit(TEXT("/Script/ControlRig.RigUnit_SetRotation"), *Setter);
		Test.Set(Setter + TEXT(".Item"), KeyText(TEXT("Null"), *Null));
		Test.Link(Source, Setter + TEXT(".Value"));
		Test.Link(Previous, Setter + TEXT(".ExecuteContext"));
		Previous = Setter + TEXT(".ExecuteContext");
	};
	for (const FCase& Case : Cases)
	{
		const FString Split = FString(TEXT("Split")) + Case.Name;
		Test.Unit(TEXT("/Script/RigVM.RigVMFunction_MathQuaternionSwingTwist"), *Split);
		Test.Set(Split + TEXT(".Input"), Input);
		Test.Set(Split + TEXT(".TwistAxis"), Case.Axis);
		Store(FString(TEXT("Swing")) + Case.Name, Split + TEXT(".Swing"));
		Store(FString(TEXT("Twist")) + Case.Name, Split + TEXT(".Twist"));
	}
	// A third of the way from no rotation to the 60 degree twist is 20 degrees about X, also when the
	// twist is given as its negated quaternion (the same rotation the long way round).
	for (const TCHAR* Sign : {TEXT("Positive"), TEXT("Negated")})
	{
		const FString Third = FString(TEXT("Third")) + Sign;
		const double Flip = FCString::Strcmp(Sign, TEXT("Negated")) == 0 ? -1.0 : 1.0;
		Test.Unit(TEXT("/Script/RigVM.RigVMFunction_MathQuaternionSlerp"), *Third);
		Test.Set(Third + TEXT(".B"), FString::Printf(TEXT("(X=%.17g,Y=0,Z=0,W=%.17g)"), Flip * S30, Flip * C30));
		Test.Set(Third + TEXT(".T"), TEXT("0.333333333"));
		Store(FString(TEXT("Share")) + Sign, Third + TEXT(".Result"));
	}

	HostEditor::FRigEvaluation Evaluation(*Test.Rig);
	ASSERT_TRUE(Evaluation.RunForwardsSolve()) << TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport()));
	const auto ExpectRotation = [&Evaluation](const FString& Null, const FQuat& Expected)
	{
		const FQuat Actual = GlobalOf(Evaluation, FRigElementKey(*Null, ERigElementType::Null)).GetRotation();
		EXPECT_NEAR(FMath::Abs(Actual | Expected), 1.0, 1e-6) << TCHAR_TO_UTF8(*Null) << ": " << TCHAR_TO_UTF8(*Actual.ToString());
	};
	for (const FCase& Case : Cases)
	{
		ExpectRotation(FString(TEXT("Swing")) + Case.Name, Case.Swing);
		ExpectRotation(FString(TEXT("Twist")) + Case.Name, Case.Twist);
	}
	const FQuat TwentyAboutX(FMath::Sin(FMath::DegreesToRadians(10.0)), 0, 0, FMath::Cos(FMath::DegreesToRadians(10.0)));
	ExpectRotation(TEXT("SharePositive"), TwentyAboutX);
	ExpectRotation(TEXT("ShareNegated"), TwentyAboutX);
}
