// The native Control Rig edits: where controls and shapes end up (numbers worked out here from Maya
// data and bone poses by hand), what a failing call leaves behind, and the warnings in LogTemp.

#include <gtest/gtest.h>

#include <random>

#include "ControlRigBlueprint.h"
#include "ControlRigBlueprintFactory.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "HostEditorSupport/LogCapture.h"
#include "MayaTestFrames.h"
#include "Misc/OutputDevice.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	using MayaTestFrames::ExpectVectorNear;
	using MayaTestFrames::MayaMatrix;

	const FName TempLog(TEXT("LogTemp"));
	const FVector UnitScale(1, 1, 1);
	const TArray<float> NoMatrix;

	FRigElementKey Null(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Null); }

	class FTextCollector : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override { Text += V; }
		FString Text;
	};

	/** A clean rig (package not dirty) with a null "Head" at (0, 0, 150) turned 90 degrees about Z. */
	class ControlRigEditing : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			static int32 Counter = 0;
			Rig = UControlRigBlueprintFactory::CreateNewControlRigAsset(FString::Printf(TEXT("/Game/RigEditingTests/Rig%d"), ++Counter));
			ASSERT_NE(Rig, nullptr);
			Hierarchy = Rig->Hierarchy;
			Controller = Rig->GetHierarchyController();
			Controller->AddNull(TEXT("Head"), FRigElementKey(), FTransform(FRotator(0, 90, 0), FVector(0, 0, 150)), true);
			Rig->GetPackage()->SetDirtyFlag(false);
		}

		FRigElementKey AddControl(const TCHAR* Name, const FRigElementKey& Parent, const FTransform& Offset = FTransform::Identity, const FTransform& Shape = FTransform::Identity)
		{
			const FRigElementKey Key = Controller->AddControl(Name, Parent, FRigControlSettings(), FRigControlValue(), Offset, Shape);
			Rig->GetPackage()->SetDirtyFlag(false);
			return Key;
		}

		FString Snapshot() const
		{
			FTextCollector Out;
			Hierarchy->ExportCustomProperties(Out, 0);
			return Out.Text;
		}

		/** Checks that an edit was made on both poses alike and reached the instances and the package. */
		void ExpectEditFinished(const FRigElementKey& Key, int32 PropagationsBefore) const
		{
			EXPECT_TRUE(Rig->GetPackage()->IsDirty());
			EXPECT_EQ(Rig->GetHierarchyPropagationCount(), PropagationsBefore + 1);
			EXPECT_TRUE(Hierarchy->GetGlobalTransform(Key, true).Equals(Hierarchy->GetGlobalTransform(Key, false), 0.0));
			EXPECT_TRUE(Hierarchy->GetLocalControlShapeTransform(Key, true).Equals(Hierarchy->GetLocalControlShapeTransform(Key, false), 0.0));
		}

		UControlRigBlueprint* Rig = nullptr;
		URigHierarchy* Hierarchy = nullptr;
		URigHierarchyController* Controller = nullptr;
	};

	/** A mesh with Root at (0, 0, 100) and Cheek at component-space (3, 10, 160), Cheek turned by CheekYaw. */
	USkeletalMesh* MakeFaceMesh(double CheekYaw)
	{
		static int32 Counter = 0;
		UPackage* Package = CreatePackage(*FString::Printf(TEXT("/Game/RigEditingTests/SK_Face%d"), ++Counter));
		USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, TEXT("SK_Face"), EObjectFlags(RF_Public | RF_Standalone));
		FReferenceSkeletonModifier Modifier(Mesh->GetRefSkeleton(), nullptr);
		Modifier.Add(FMeshBoneInfo(TEXT("Root"), TEXT("Root"), INDEX_NONE), FTransform(FVector(0, 0, 100)));
		Modifier.Add(FMeshBoneInfo(TEXT("Cheek"), TEXT("Cheek"), 0), FTransform(FRotator(0, CheekYaw, 0), FVector(3, 10, 60)));
		return Mesh;
	}
}

TEST_F(ControlRigEditing, OnFaceControlSitsOnTheBoneWithItsShapePushedOutHorizontally)
{
	struct FCase
	{
		double CheekYaw;
		float Push;
		float ShapeSize;
		FVector ExpectedShapeLocation;
		double ExpectedShapeScale;
	};
	// Without rotation the local push is ((3, 10) * 0.2) / 2; turned 90 degrees about Z it is turned back.
	for (const FCase& Case : {FCase{0, 1.2f, 1.5f, FVector(0.3, 1, 0), 1.5}, FCase{0, 1.0f, 0.0f, FVector(0, 0, 0), 0.0001},
							  FCase{0, 1.2f, -3.0f, FVector(0.3, 1, 0), 0.0001}, FCase{90, 1.2f, 2.0f, FVector(1, -0.3, 0), 2.0}})
	{
		const FRigElementKey Key = AddControl(*FString::Printf(TEXT("Cheek_%d_%g"), (int32)Case.CheekYaw, Case.ShapeSize), Null(TEXT("Head")));
		HostEditor::FLogCapture Log;
		const int32 Propagations = Rig->GetHierarchyPropagationCount();
		ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControl(Rig, MakeFaceMesh(Case.CheekYaw), Key.Name, TEXT("Cheek"), FVector(-2, 2, 2), Case.ShapeSize, Case.Push));

		const FTransform Offset = Hierarchy->GetGlobalControlOffsetTransform(Key, true);
		ExpectVectorNear(Offset.GetTranslation(), FVector(3, 10, 160), 1e-9);
		ExpectVectorNear(Offset.GetScale3D(), FVector(2, 2, 2), 1e-9);
		const FTransform Shape = Hierarchy->GetLocalControlShapeTransform(Key, true);
		ExpectVectorNear(Shape.GetLocation(), Case.ExpectedShapeLocation, 1e-6);
		ExpectVectorNear(Shape.GetScale3D(), FVector(Case.ExpectedShapeScale), 1e-7);
		EXPECT_TRUE(Shape.GetRotation().Equals(FQuat::Identity, 0.0));
		// In the component, the shape is the bone moved outward by the push, at the bone's height.
		ExpectVectorNear(Hierarchy->GetGlobalControlShapeTransform(Key, true).GetLocation(), FVector(3 * Case.Push, 10 * Case.Push, 160), 1e-5);
		ExpectEditFinished(Key, Propagations);
		EXPECT_EQ(Log.Count(TempLog, ELogVerbosity::Display, FString::Printf(TEXT("Vantorel on-face control '%s' placed from 'Cheek'."), *Key.Name.ToString())), 1);
	}
}

TEST_F(ControlRigEditing, MayaDataWithoutAFullMatrixPlacesFromPositionAndYRotation)
{
	for (const int32 Count : {15, 17})
	{
		TArray<float> Values;
		Values.Init(5.0f, Count);
		const FRigElementKey Key = AddControl(*FString::Printf(TEXT("Lip%d"), Count), FRigElementKey());
		ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(Rig, Key.Name, FVector(1, 2, 3), FVector(10, 30, 50), Values, FVector(1, 2, 3), FVector(2, -3, 4), 1.0f));
		const FTransform Offset = Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Key), ERigTransformType::InitialLocal);
		ExpectVectorNear(Offset.GetTranslation(), FVector(1, 3, 2), 1e-9);
		ExpectVectorNear(Offset.GetScale3D(), FVector(2, 3, 4), 1e-9);
		EXPECT_TRUE(Offset.GetRotation().Equals(FRotator(0, -30, 90).Quaternion(), 1e-9));
	}
}

TEST_F(ControlRigEditing, AMayaMatrixMirrorsTheOffsetsXAndOnlyTheFlipTurnsTheShape)
{
	const TArray<float> Matrix = MayaMatrix(FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(10, 20, 30));
	const FRigElementKey Plain = AddControl(TEXT("Plain"), FRigElementKey());
	const FRigElementKey Flipped = AddControl(TEXT("Flipped"), FRigElementKey());
	for (const FRigElementKey& Key : {Plain, Flipped})
	{
		ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(Rig, Key.Name, FVector(99, 99, 99), FVector(45, 45, 45), Matrix,
			FVector(10, 21, 30), FVector(2, 3, -4), 0.5f, false, Key == Flipped));
	}
	const FTransform Offset = Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Plain), ERigTransformType::InitialLocal);
	ExpectVectorNear(Offset.GetScale3D(), FVector(-2, 3, 4), 1e-6);
	ExpectVectorNear(Offset.GetTranslation(), FVector(10, 30, 20), 1e-6);
	// Scaled Maya axes, converted: X stays X, Y becomes up, Z becomes Unreal Y.
	ExpectVectorNear(Offset.TransformVector(FVector(1, 0, 0)), FVector(2, 0, 0), 1e-6);
	ExpectVectorNear(Offset.TransformVector(FVector(0, 1, 0)), FVector(0, 0, 3), 1e-6);
	ExpectVectorNear(Offset.TransformVector(FVector(0, 0, 1)), FVector(0, 4, 0), 1e-6);

	EXPECT_TRUE(Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Flipped), ERigTransformType::InitialLocal).Equals(Offset, 0.0));
	const FTransform PlainShape = Hierarchy->GetLocalControlShapeTransform(Plain, true);
	const FTransform FlippedShape = Hierarchy->GetLocalControlShapeTransform(Flipped, true);
	// The shape point is 1 Maya unit up, which is the control's local +Y scaled by 3.
	ExpectVectorNear(PlainShape.GetTranslation(), FVector(0, 1.0 / 3.0, 0), 1e-6);
	ExpectVectorNear(PlainShape.GetScale3D(), FVector(0.25, 0.5 / 3.0, 0.125), 1e-7);
	EXPECT_TRUE(PlainShape.GetRotation().Equals(FQuat::Identity, 0.0));
	EXPECT_TRUE(FlippedShape.GetTranslation().Equals(PlainShape.GetTranslation(), 0.0));
	EXPECT_TRUE(FlippedShape.GetScale3D().Equals(PlainShape.GetScale3D(), 0.0));
	ExpectVectorNear(FlippedShape.GetRotation().RotateVector(FVector(0, 1, 0)), FVector(0, -1, 0), 1e-9);
	ExpectVectorNear(FlippedShape.GetRotation().RotateVector(FVector(1, 0, 0)), FVector(1, 0, 0), 1e-9);
}

TEST_F(ControlRigEditing, ControlsBelowATurnedParentLandOnTheirMayaFramesInBothPoses)
{
	std::mt19937 Random(5022026);
	std::uniform_real_distribution<double> Coordinate(-100.0, 100.0);
	for (int32 Trial = 0; Trial < 25; ++Trial)
	{
		FVector AxisX, AxisY, AxisZ;
		MayaTestFrames::RandomMayaFrame(Random, AxisX, AxisY, AxisZ);
		const TArray<float> M = MayaMatrix(AxisX, AxisY, AxisZ, FVector(Coordinate(Random), Coordinate(Random), Coordinate(Random)));
		const FVector ShapePoint(Coordinate(Random), Coordinate(Random), Coordinate(Random));
		const FRigElementKey Key = AddControl(*FString::Printf(TEXT("Face%d"), Trial), Null(TEXT("Head")));
		ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(Rig, Key.Name, FVector(), FVector(), M, ShapePoint, UnitScale, 2.0f));

		for (const bool bInitial : {true, false})
		{
			// Row-vector Maya point p * M, with the world's Y and Z swapped.
			const FTransform World = Hierarchy->GetGlobalTransform(Key, bInitial);
			for (const FVector& P : {FVector(0, 0, 0), FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(0.5, -2, 3)})
			{
				const FVector Expected(P.X * M[0] + P.Y * M[4] + P.Z * M[8] + M[12], P.X * M[2] + P.Y * M[6] + P.Z * M[10] + M[14],
									   P.X * M[1] + P.Y * M[5] + P.Z * M[9] + M[13]);
				ExpectVectorNear(World.TransformPosition(P), Expected, 1e-4);
			}
			const FTransform Shape = Hierarchy->GetGlobalControlShapeTransform(Key, bInitial);
			ExpectVectorNear(Shape.GetLocation(), FVector(ShapePoint.X, ShapePoint.Z, ShapePoint.Y), 1e-4);
			ExpectVectorNear(Shape.GetScale3D().GetAbs(), FVector(2, 2, 2), 1e-5);
		}
	}
}

TEST_F(ControlRigEditing, MatchingTheParentOrientationKeepsOnlyTheMayaPosition)
{
	const FRigElementKey Key = AddControl(TEXT("Brow"), Null(TEXT("Head")));
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(Rig, Key.Name, FVector(4, 160, 8), FVector(0, 70, 0), NoMatrix, FVector(4, 160, 8), UnitScale, 1.0f, true));
	const FTransform World = Hierarchy->GetGlobalTransform(Key, true);
	ExpectVectorNear(World.GetTranslation(), FVector(4, 8, 160), 1e-9);
	EXPECT_TRUE(World.GetRotation().Equals(FRotator(0, 90, 0).Quaternion(), 1e-9));
}

TEST_F(ControlRigEditing, ExportedTransformsPlaceTheControlAndKeepTheShapeAsGiven)
{
	const FRigElementKey Key = AddControl(TEXT("Jaw"), Null(TEXT("Head")));
	const FTransform Global(FRotator(10, 20, 30), FVector(5, 6, 140), FVector(7, 7, 7));
	const FTransform Shape(FRotator(0, 0, 45), FVector(1, 2, 3), FVector(0.5, 0.5, 0.5));
	HostEditor::FLogCapture Log;
	const int32 Propagations = Rig->GetHierarchyPropagationCount();
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromTransform(Rig, Key.Name, Global, FVector(-1, 2, 3), Shape));
	const FTransform World = Hierarchy->GetGlobalTransform(Key, true);
	ExpectVectorNear(World.GetTranslation(), Global.GetTranslation(), 1e-9);
	ExpectVectorNear(World.GetScale3D(), FVector(1, 2, 3), 1e-9);
	EXPECT_TRUE(World.GetRotation().Equals(Global.GetRotation(), 1e-9));
	EXPECT_TRUE(Hierarchy->GetLocalControlShapeTransform(Key, true).Equals(Shape, 0.0));
	ExpectEditFinished(Key, Propagations);
	EXPECT_EQ(Log.Count(TempLog, ELogVerbosity::Display, TEXT("Vantorel on-face control 'Jaw' placed from exported controller data.")), 1);
}

TEST_F(ControlRigEditing, ShapeMovesToTheMayaPointAndKeepsItsWorldSizeAndRotation)
{
	const FRotator ShapeTurn(0, 0, 90);
	const FRigElementKey Key = AddControl(TEXT("Nose"), Null(TEXT("Head")), FTransform(FQuat::Identity, FVector(0, 0, 10), FVector(2, 0, 4)), FTransform(ShapeTurn, FVector(9, 9, 9)));
	const FTransform OffsetBefore = Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Key), ERigTransformType::InitialLocal);
	const int32 Propagations = Rig->GetHierarchyPropagationCount();
	ASSERT_TRUE(UVNFaceSDKImportLibrary::SetControlShapeFromMayaWorldPosition(Rig, Key.Name, FVector(3, 164, 5), 3.0f));

	const FTransform Shape = Hierarchy->GetLocalControlShapeTransform(Key, true);
	// The control sits at (0, 0, 160) turned 90 degrees about Z: world (3, 5, 164) is local (5, -3, 4) before scaling.
	ExpectVectorNear(Shape.GetTranslation(), FVector(2.5, 0, 1), 1e-9);
	ExpectVectorNear(Shape.GetScale3D(), FVector(1.5, 30000, 0.75), 1e-6);
	EXPECT_TRUE(Shape.GetRotation().Equals(ShapeTurn.Quaternion(), 1e-12));
	EXPECT_TRUE(Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Key), ERigTransformType::InitialLocal).Equals(OffsetBefore, 0.0));
	ExpectEditFinished(Key, Propagations);
}

TEST_F(ControlRigEditing, BodyRotationFromAMatrixKeepsTranslationAndScaleExactly)
{
	const FVector Translation(1.0 / 3.0, 2, 3);
	const FVector Scale(0.7, 3, -4);
	const FRigElementKey Key = AddControl(TEXT("Chest"), Null(TEXT("Head")), FTransform(FRotator(5, 6, 7), Translation, Scale));
	// A Maya frame turned 90 degrees about Maya's Y axis: local X points along Maya -Z, local Z along Maya +X.
	const TArray<float> M = MayaMatrix(FVector(0, 0, -1), FVector(0, 1, 0), FVector(1, 0, 0), FVector(100, 200, 300));
	const int32 Propagations = Rig->GetHierarchyPropagationCount();
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ConfigureBodyControlRotationFromMayaMatrix(Rig, Key.Name, M));

	const FTransform Offset = Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Key), ERigTransformType::InitialLocal);
	EXPECT_EQ(Offset.GetTranslation(), Translation);
	EXPECT_EQ(Offset.GetScale3D(), Scale);
	const FQuat WorldRotation = FRotator(0, 90, 0).Quaternion() * Offset.GetRotation();
	ExpectVectorNear(WorldRotation.GetAxisY(), FVector(0, 0, 1), 1e-6);
	ExpectVectorNear(WorldRotation.GetAxisZ(), FVector(1, 0, 0), 1e-6);
	ExpectVectorNear(WorldRotation.GetAxisX(), FVector(0, 1, 0), 1e-6);
	ExpectEditFinished(Key, Propagations);
}

TEST_F(ControlRigEditing, ParentingPrefersANullVerifiesAndLeavesACorrectParentAlone)
{
	const FRigElementKey Key = AddControl(TEXT("Lid"), FRigElementKey(), FTransform(FVector(1, 2, 3)));
	AddControl(TEXT("Head"), FRigElementKey(), FTransform(FVector(50, 0, 0)));
	const FTransform GlobalBefore = Hierarchy->GetGlobalTransform(Key, true);
	const int32 Propagations = Rig->GetHierarchyPropagationCount();
	ASSERT_TRUE(UVNFaceSDKImportLibrary::EnsureControlParent(Rig, Key.Name, TEXT("Head")));
	EXPECT_EQ(Hierarchy->GetFirstParent(Key), Null(TEXT("Head")));
	EXPECT_TRUE(Hierarchy->GetGlobalTransform(Key, true).Equals(GlobalBefore, 1e-9));
	ExpectEditFinished(Key, Propagations);

	const FString Before = Snapshot();
	ASSERT_TRUE(UVNFaceSDKImportLibrary::EnsureControlParent(Rig, Key.Name, TEXT("Head"), false));
	EXPECT_EQ(Snapshot(), Before);

	// A control is the parent when no null has the name; without keeping the global transform the
	// offset stays as it was, now relative to the new parent.
	const FRigElementKey Tip = AddControl(TEXT("Tip"), FRigElementKey(), FTransform(FVector(0, 0, 1)));
	ASSERT_TRUE(UVNFaceSDKImportLibrary::EnsureControlParent(Rig, Tip.Name, TEXT("Lid"), false));
	EXPECT_EQ(Hierarchy->GetFirstParent(Tip), Key);
	ExpectVectorNear(Hierarchy->GetControlOffsetTransform(Hierarchy->Find<FRigControlElement>(Tip), ERigTransformType::InitialLocal).GetTranslation(), FVector(0, 0, 1));
}

TEST_F(ControlRigEditing, FailingCallsChangeNothingAndWarnWhereTheyShould)
{
	const FRigElementKey Key = AddControl(TEXT("Ctrl"), Null(TEXT("Head")), FTransform(FVector(1, 2, 3)));
	AddControl(TEXT("Child"), Key);
	USkeletalMesh* Mesh = MakeFaceMesh(0);
	const TArray<float> Matrix = MayaMatrix(FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(0, 0, 0));
	TArray<float> Short = Matrix;
	Short.Pop();
	const FString OnFace = TEXT("Vantorel on-face setup failed: ");
	const FString Parent = TEXT("Vantorel parent setup failed: ");

	const TArray<TPair<TFunction<bool()>, FString>> Calls = {
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControl(nullptr, Mesh, TEXT("Ctrl"), TEXT("Cheek"), UnitScale, 1.0f); }, OnFace + TEXT("Control Rig or SkeletalMesh is null.")},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControl(Rig, nullptr, TEXT("Ctrl"), TEXT("Cheek"), UnitScale, 1.0f); }, OnFace + TEXT("Control Rig or SkeletalMesh is null.")},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControl(Rig, Mesh, TEXT("Head"), TEXT("Cheek"), UnitScale, 1.0f); }, OnFace + TEXT("control 'Head' was not found.")},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControl(Rig, Mesh, TEXT("Ctrl"), TEXT("Chin"), UnitScale, 1.0f); }, OnFace + TEXT("bone 'Chin' was not found.")},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(Rig, TEXT("Missing"), FVector(), FVector(), Matrix, FVector(), UnitScale, 1.0f); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(nullptr, TEXT("Ctrl"), FVector(), FVector(), Matrix, FVector(), UnitScale, 1.0f); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromTransform(Rig, NAME_None, FTransform(), UnitScale, FTransform()); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromTransform(Rig, TEXT("Missing"), FTransform(), UnitScale, FTransform()); }, OnFace + TEXT("control 'Missing' was not found.")},
		{[&] { return UVNFaceSDKImportLibrary::SetControlShapeFromMayaWorldPosition(Rig, TEXT("Head"), FVector(), 1.0f); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureBodyControlRotationFromMayaMatrix(Rig, TEXT("Ctrl"), Short); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::ConfigureBodyControlRotationFromMayaMatrix(Rig, TEXT("Missing"), Matrix); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::EnsureControlParent(Rig, TEXT("Ctrl"), NAME_None); }, FString()},
		{[&] { return UVNFaceSDKImportLibrary::EnsureControlParent(Rig, TEXT("Ctrl"), TEXT("Nowhere")); }, Parent + TEXT("parent 'Nowhere' was not found.")},
		{[&] { return UVNFaceSDKImportLibrary::EnsureControlParent(Rig, TEXT("Ctrl"), TEXT("Child")); }, Parent + TEXT("'Ctrl' is not parented to 'Child'.")},
	};
	const FString Before = Snapshot();
	for (int32 Index = 0; Index < Calls.Num(); ++Index)
	{
		HostEditor::FLogCapture Log;
		EXPECT_FALSE(Calls[Index].Key()) << "call " << Index;
		EXPECT_EQ(Snapshot(), Before) << "call " << Index;
		EXPECT_FALSE(Rig->GetPackage()->IsDirty()) << "call " << Index;
		EXPECT_EQ(Rig->GetHierarchyPropagationCount(), 0) << "call " << Index;
		const FString& Warning = Calls[Index].Value;
		EXPECT_EQ(Log.Count(TempLog, ELogVerbosity::Warning), Warning.IsEmpty() ? 0 : 1) << "call " << Index;
		if (!Warning.IsEmpty())
		{
			EXPECT_EQ(Log.Count(TempLog, ELogVerbosity::Warning, Warning), 1) << "call " << Index << ": " << TCHAR_TO_UTF8(*Warning);
		}
	}
}
