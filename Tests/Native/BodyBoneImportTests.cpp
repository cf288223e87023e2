// The body rig's bone import: the Maya rig's top groups are left out whatever their case, the other
// bones hang below their nearest kept ancestor at their place in the mesh, and other elements stay.

#include <gtest/gtest.h>

#include "ControlRigBlueprint.h"
#include "ControlRigBlueprintFactory.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "HostEditorSupport/LogCapture.h"
#include "MayaTestFrames.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	using MayaTestFrames::ExpectVectorNear;

	struct FBone
	{
		const TCHAR* Name;
		int32 Parent;
		FVector Location;
	};

	int32 GCounter = 0;

	USkeletalMesh* MakeMesh(std::initializer_list<FBone> Bones)
	{
		UPackage* Package = CreatePackage(*FString::Printf(TEXT("/Game/BoneImportTests/SK_Body%d"), ++GCounter));
		USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, TEXT("SK_Body"), EObjectFlags(RF_Public | RF_Standalone));
		FReferenceSkeletonModifier Modifier(Mesh->GetRefSkeleton(), nullptr);
		for (const FBone& Bone : Bones)
		{
			Modifier.Add(FMeshBoneInfo(Bone.Name, FString(Bone.Name), Bone.Parent), FTransform(Bone.Location));
		}
		return Mesh;
	}

	UControlRigBlueprint* MakeRig()
	{
		UControlRigBlueprint* Rig = UControlRigBlueprintFactory::CreateNewControlRigAsset(FString::Printf(TEXT("/Game/BoneImportTests/Rig%d"), ++GCounter));
		Rig->GetPackage()->SetDirtyFlag(false);
		return Rig;
	}

	FRigElementKey Bone(const TCHAR* Name) { return FRigElementKey(Name, ERigElementType::Bone); }

	/** "Name<Parent" for every bone, parents first. */
	TArray<FString> BoneTree(URigHierarchy* Hierarchy)
	{
		TArray<FString> Tree;
		for (const FRigElementKey& Key : Hierarchy->GetBoneKeys(true))
		{
			Tree.Add(Key.Name.ToString() + TEXT("<") + Hierarchy->GetFirstParent(Key).Name.ToString());
		}
		return Tree;
	}
}

TEST(BodyBoneImport, TheMayaTopGroupsVanishAndTheirChildrenKeepTheirPlace)
{
	UControlRigBlueprint* Rig = MakeRig();
	USkeletalMesh* Mesh = MakeMesh({{TEXT("Main"), INDEX_NONE, FVector(0, 0, 5)}, {TEXT("MainSystem"), 0, FVector(1, 0, 0)},
		{TEXT("MotionSystem"), 1, FVector(0, 2, 0)}, {TEXT("Root_M"), 2, FVector(0, 0, 90)}, {TEXT("Spine1_M"), 3, FVector(0, 0, 10)}});
	HostEditor::FLogCapture Log;
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, Mesh));

	URigHierarchy* Hierarchy = Rig->Hierarchy;
	EXPECT_EQ(BoneTree(Hierarchy), TArray<FString>({TEXT("Root_M<None"), TEXT("Spine1_M<Root_M")}));
	// Where the mesh has them: the groups' offsets (1, 2, 5) are not lost with the groups.
	for (const bool bInitial : {true, false})
	{
		ExpectVectorNear(Hierarchy->GetGlobalTransform(Bone(TEXT("Root_M")), bInitial).GetTranslation(), FVector(1, 2, 95));
		ExpectVectorNear(Hierarchy->GetGlobalTransform(Bone(TEXT("Spine1_M")), bInitial).GetTranslation(), FVector(1, 2, 105));
	}
	EXPECT_TRUE(Rig->GetPackage()->IsDirty());
	EXPECT_EQ(Log.Count(TEXT("LogTemp"), ELogVerbosity::Display,
		TEXT("Vantorel body import: 2 bones imported; removed legacy MotionSystem/MainSystem/Main; no replacement MotionSystem was created.")), 1);
}

TEST(BodyBoneImport, ExcludedNamesMatchInAnyCaseAnywhereInTheSkeleton)
{
	UControlRigBlueprint* Rig = MakeRig();
	USkeletalMesh* Mesh = MakeMesh({{TEXT("Root_M"), INDEX_NONE, FVector()}, {TEXT("main"), 0, FVector(0, 0, 3)}, {TEXT("Hip_R"), 1, FVector(-10, 0, 0)},
		{TEXT("MOTIONSYSTEM"), 2, FVector()}, {TEXT("Knee_R"), 3, FVector(0, 0, -40)}, {TEXT("Mainframe"), 0, FVector()}});
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, Mesh));
	EXPECT_EQ(BoneTree(Rig->Hierarchy), TArray<FString>({TEXT("Root_M<None"), TEXT("Hip_R<Root_M"), TEXT("Knee_R<Hip_R"), TEXT("Mainframe<Root_M")}));
	ExpectVectorNear(Rig->Hierarchy->GetGlobalTransform(Bone(TEXT("Knee_R")), true).GetTranslation(), FVector(-10, 0, -37));
}

TEST(BodyBoneImport, AGroupAtTheRootLeavesEachOfItsChildrenARoot)
{
	UControlRigBlueprint* Rig = MakeRig();
	USkeletalMesh* Mesh = MakeMesh({{TEXT("Main"), INDEX_NONE, FVector(0, 0, 5)}, {TEXT("Root_M"), 0, FVector(0, 0, 90)},
		{TEXT("Prop_R"), 0, FVector(30, 0, 0)}, {TEXT("Spine1_M"), 1, FVector(0, 0, 10)}});
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, Mesh));
	EXPECT_EQ(BoneTree(Rig->Hierarchy), TArray<FString>({TEXT("Root_M<None"), TEXT("Spine1_M<Root_M"), TEXT("Prop_R<None")}));
	ExpectVectorNear(Rig->Hierarchy->GetGlobalTransform(Bone(TEXT("Prop_R")), true).GetTranslation(), FVector(30, 0, 5));
	ExpectVectorNear(Rig->Hierarchy->GetGlobalTransform(Bone(TEXT("Spine1_M")), true).GetTranslation(), FVector(0, 0, 105));
}

TEST(BodyBoneImport, ASkeletonWithoutGroupsImportsOneToOne)
{
	UControlRigBlueprint* Rig = MakeRig();
	USkeletalMesh* Mesh = MakeMesh({{TEXT("Root_M"), INDEX_NONE, FVector(0, 0, 1)}, {TEXT("Hip_L"), 0, FVector(10, 0, 0)}, {TEXT("Spine1_M"), 0, FVector(0, 0, 10)}});
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, Mesh));
	EXPECT_EQ(BoneTree(Rig->Hierarchy), TArray<FString>({TEXT("Root_M<None"), TEXT("Hip_L<Root_M"), TEXT("Spine1_M<Root_M")}));
	ExpectVectorNear(Rig->Hierarchy->GetLocalTransform(Bone(TEXT("Hip_L")), true).GetTranslation(), FVector(10, 0, 0));
}

TEST(BodyBoneImport, ControlsNullsStayAndOldBonesAreReplaced)
{
	UControlRigBlueprint* Rig = MakeRig();
	URigHierarchyController* Controller = Rig->GetHierarchyController();
	Controller->AddBone(TEXT("MotionSystem"), FRigElementKey(), FTransform(), true, ERigBoneType::Imported);
	Controller->AddBone(TEXT("Root_M"), Bone(TEXT("MotionSystem")), FTransform(FVector(0, 0, 50)), true, ERigBoneType::Imported);
	Controller->AddBone(TEXT("OldTail"), Bone(TEXT("Root_M")), FTransform(), true, ERigBoneType::Imported);
	const FRigElementKey Space = Controller->AddNull(TEXT("Main"), FRigElementKey(), FTransform(FVector(0, 0, 7)), true);
	const FRigElementKey Ctrl = Controller->AddControl(TEXT("Root_CTRL"), Space, FRigControlSettings(), FRigControlValue());

	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, MakeMesh({{TEXT("Main"), INDEX_NONE, FVector()}, {TEXT("Root_M"), 0, FVector(0, 0, 90)}})));
	URigHierarchy* Hierarchy = Rig->Hierarchy;
	EXPECT_EQ(BoneTree(Hierarchy), TArray<FString>({TEXT("Root_M<None")}));
	ExpectVectorNear(Hierarchy->GetGlobalTransform(Bone(TEXT("Root_M")), true).GetTranslation(), FVector(0, 0, 90));
	EXPECT_TRUE(Hierarchy->Contains(Space));
	EXPECT_EQ(Hierarchy->GetFirstParent(Ctrl), Space);
}

TEST(BodyBoneImport, MissingInputsWarnAndChangeNothing)
{
	UControlRigBlueprint* Rig = MakeRig();
	Rig->GetHierarchyController()->AddBone(TEXT("Keep"), FRigElementKey(), FTransform(), true, ERigBoneType::Imported);
	Rig->GetPackage()->SetDirtyFlag(false);
	HostEditor::FLogCapture Log;
	EXPECT_FALSE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(Rig, nullptr));
	EXPECT_FALSE(UVNFaceSDKImportLibrary::ImportBodyControlRigBones(nullptr, MakeMesh({{TEXT("Root_M"), INDEX_NONE, FVector()}})));
	EXPECT_EQ(Log.Count(TEXT("LogTemp"), ELogVerbosity::Warning, TEXT("Vantorel body bone import failed: Control Rig or SkeletalMesh is null.")), 2);
	EXPECT_EQ(BoneTree(Rig->Hierarchy), TArray<FString>({TEXT("Keep<None")}));
	EXPECT_FALSE(Rig->GetPackage()->IsDirty());
}
