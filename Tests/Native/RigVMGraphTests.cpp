// The RigVM graph model as native code sees it: Control Rig assets made from skeletal meshes, VM
// compilation of a rig's graph, the controller's error reports and model fix-ups after loading.

#include <gtest/gtest.h>

#include "Animation/Skeleton.h"
#include "ControlRigBlueprint.h"
#include "ControlRigBlueprintFactory.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "HostEditorSupport/LogCapture.h"
#include "RigVMModel/RigVMController.h"
#include "RigVMTestUnits.h"
#include "RigUnit_VNFaceSDKSolver.h"
#include "RigUnit_VNBendySolver.h"
#include "RigUnit_VNReverseFootRoll.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

namespace
{
	const FName LogRigVM(TEXT("LogRigVMDeveloper"));
	int32 GAssetCounter = 0;

	FString UniqueAssetPath(const TCHAR* Base)
	{
		return FString::Printf(TEXT("/Game/NativeGraphTests/%s%d"), Base, ++GAssetCounter);
	}

	/** A mesh with Root at (0,0,10), Spine 20 cm above Root turned 90 degrees about Z, and Hand 5 cm along Spine's X. */
	USkeletalMesh* MakeMesh(const FString& PackagePath)
	{
		UPackage* Package = CreatePackage(*PackagePath);
		FString Folder;
		FString Name;
		PackagePath.Split(TEXT("/"), &Folder, &Name, ESearchCase::CaseSensitive, ESearchDir::FromEnd);
		USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, FName(*Name), EObjectFlags(RF_Public | RF_Standalone));
		FReferenceSkeletonModifier Modifier(Mesh->GetRefSkeleton(), nullptr);
		Modifier.Add(FMeshBoneInfo(TEXT("Root"), TEXT("Root"), INDEX_NONE), FTransform(FVector(0, 0, 10)));
		Modifier.Add(FMeshBoneInfo(TEXT("Spine"), TEXT("Spine"), 0), FTransform(FRotator(0, 90, 0), FVector(0, 0, 20)));
		Modifier.Add(FMeshBoneInfo(TEXT("Hand"), TEXT("Hand"), 1), FTransform(FVector(5, 0, 0)));
		return Mesh;
	}

	UControlRigBlueprint* NewRig()
	{
		return UControlRigBlueprintFactory::CreateNewControlRigAsset(UniqueAssetPath(TEXT("Rig")));
	}
}

TEST(ControlRigFactoryTests, RigFromSkeletalMeshHoldsItsBonesAtTheirGlobalReferencePose)
{
	USkeletalMesh* Mesh = MakeMesh(UniqueAssetPath(TEXT("Mesh")));
	UControlRigBlueprint* Rig = UControlRigBlueprintFactory::CreateControlRigFromSkeletalMeshOrSkeleton(Mesh);
	ASSERT_NE(Rig, nullptr);
	EXPECT_EQ(Rig->GetName(), Mesh->GetName() + TEXT("_CtrlRig"));
	EXPECT_EQ(Rig->GetPackage()->GetName(), Mesh->GetPackage()->GetName() + TEXT("_CtrlRig"));
	EXPECT_TRUE(Rig->HasAllFlags(EObjectFlags(RF_Public | RF_Standalone)));
	EXPECT_EQ(Rig->GetPreviewMesh(), Mesh);

	URigHierarchy* Hierarchy = Rig->Hierarchy;
	const FRigElementKey Root(TEXT("Root"), ERigElementType::Bone);
	const FRigElementKey Spine(TEXT("Spine"), ERigElementType::Bone);
	const FRigElementKey Hand(TEXT("Hand"), ERigElementType::Bone);
	ASSERT_TRUE(Hierarchy->Contains(Root) && Hierarchy->Contains(Spine) && Hierarchy->Contains(Hand));
	EXPECT_EQ(Hierarchy->GetFirstParent(Hand), Spine);
	EXPECT_EQ(Hierarchy->GetFirstParent(Spine), Root);
	EXPECT_TRUE(Hierarchy->GetGlobalTransform(Spine, true).GetTranslation().Equals(FVector(0, 0, 30), 1e-4));
	// Spine is turned 90 degrees about Z, so Hand's local X runs along global Y.
	EXPECT_TRUE(Hierarchy->GetGlobalTransform(Hand, true).GetTranslation().Equals(FVector(0, 5, 30), 1e-4));
	EXPECT_TRUE(Hierarchy->GetLocalTransform(Hand, true).GetTranslation().Equals(FVector(5, 0, 0), 1e-4));
}

TEST(ControlRigFactoryTests, SecondRigFromTheSameMeshTakesTheNextFreeName)
{
	USkeletalMesh* Mesh = MakeMesh(UniqueAssetPath(TEXT("Mesh")));
	UControlRigBlueprint* First = UControlRigBlueprintFactory::CreateControlRigFromSkeletalMeshOrSkeleton(Mesh);
	UControlRigBlueprint* Second = UControlRigBlueprintFactory::CreateControlRigFromSkeletalMeshOrSkeleton(Mesh);
	ASSERT_NE(First, nullptr);
	ASSERT_NE(Second, nullptr);
	EXPECT_NE(First, Second);
	EXPECT_EQ(Second->GetName(), Mesh->GetName() + TEXT("_CtrlRig1"));
	EXPECT_EQ(First->Hierarchy->Num(), 3);
}

TEST(ControlRigFactoryTests, RigFromSkeletonHasItsBonesAndNoPreviewMesh)
{
	UPackage* Package = CreatePackage(*UniqueAssetPath(TEXT("Skeleton")));
	USkeleton* Skeleton = NewObject<USkeleton>(Package, TEXT("Skel"), EObjectFlags(RF_Public | RF_Standalone));
	FReferenceSkeletonModifier(Skeleton->GetMutableReferenceSkeleton(), nullptr).Add(FMeshBoneInfo(TEXT("Pelvis"), TEXT("Pelvis"), INDEX_NONE), FTransform(FVector(1, 2, 3)));
	UControlRigBlueprint* Rig = UControlRigBlueprintFactory::CreateControlRigFromSkeletalMeshOrSkeleton(Skeleton);
	ASSERT_NE(Rig, nullptr);
	EXPECT_EQ(Rig->GetPreviewMesh(), nullptr);
	EXPECT_TRUE(Rig->Hierarchy->GetGlobalTransform(FRigElementKey(TEXT("Pelvis"), ERigElementType::Bone), true).GetTranslation().Equals(FVector(1, 2, 3), 1e-6));
}

TEST(ControlRigFactoryTests, NewRigIsCompiledWithItsBeginExecutionNode)
{
	UControlRigBlueprint* Rig = NewRig();
	ASSERT_NE(Rig, nullptr);
	EXPECT_EQ(Rig->GetVMCompileCount(), 1);
	EXPECT_TRUE(Rig->GetLastCompileSucceeded());
	ASSERT_EQ(Rig->GetDefaultModel()->GetNodes().Num(), 1);
	EXPECT_EQ(Rig->GetDefaultModel()->GetNodes()[0]->GetName(), TEXT("RigUnit_BeginExecution"));
	EXPECT_TRUE(Rig->GetPackage()->IsDirty());
}

TEST(RigVMCompileTests, ChangesWaitForRecompilationWhichCountsAndSucceeds)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	EXPECT_FALSE(Rig->IsVMRecompilationRequired());
	Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"));
	EXPECT_TRUE(Rig->IsVMRecompilationRequired());
	Rig->RecompileVMIfRequired();
	EXPECT_EQ(Rig->GetVMCompileCount(), 2);
	EXPECT_FALSE(Rig->IsVMRecompilationRequired());
	Rig->RecompileVMIfRequired();
	EXPECT_EQ(Rig->GetVMCompileCount(), 2);
}

TEST(RigVMCompileTests, SwitchingAutoRecompileBackOnCompilesWaitingChanges)
{
	UControlRigBlueprint* Rig = NewRig();
	Rig->SetAutoVMRecompile(false);
	Rig->GetController()->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"));
	EXPECT_EQ(Rig->GetVMCompileCount(), 1);
	Rig->SetAutoVMRecompile(true);
	EXPECT_EQ(Rig->GetVMCompileCount(), 2);
}

TEST(RigVMCompileTests, GraphWithUnresolvedTemplateFailsAndSaysWhichNode)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	URigVMTemplateNode* Node = Controller->AddTemplateNode(TEXT("DISPATCH_RigVMDispatch_If(in Condition,in True,in False,out Result)"));
	ASSERT_NE(Node, nullptr);
	HostEditor::FLogCapture Log;
	Rig->RecompileVM();
	EXPECT_FALSE(Rig->GetLastCompileSucceeded());
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, Node->GetName() + TEXT("' has unresolved types")), 1);

	ASSERT_TRUE(Controller->ResolveWildCardPin(Node->GetName() + TEXT(".Result"), TEXT("float"), NAME_None));
	Rig->RecompileVM();
	EXPECT_TRUE(Rig->GetLastCompileSucceeded());
}

TEST(RigVMControllerTests, ASecondNodeOfAnEventIsRefusedAndTheGraphsOwnIsReturned)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	URigVMNode* Existing = Rig->GetDefaultModel()->FindNodeByName(TEXT("RigUnit_BeginExecution"));
	ASSERT_NE(Existing, nullptr);
	const int32 Nodes = Rig->GetDefaultModel()->GetNodes().Num();
	HostEditor::FLogCapture Log;
	EXPECT_EQ(Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_BeginExecution"), TEXT("Execute"), FVector2D::ZeroVector, TEXT("Again")), Existing);
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("Rig Graph can only contain one single Forwards Solve node.")), 1);
	EXPECT_EQ(Rig->GetDefaultModel()->GetNodes().Num(), Nodes);
	// Another event is not held back by it.
	EXPECT_NE(Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_InverseExecution")), nullptr);
	EXPECT_EQ(Rig->GetDefaultModel()->GetNodes().Num(), Nodes + 1);
}

TEST(RigVMControllerTests, RefusalsAreLoggedAsErrorsNamingThePin)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"));
	HostEditor::FLogCapture Log;
	EXPECT_FALSE(Controller->AddLink(TEXT("RigUnit_BeginExecution.ExecuteContext"), TEXT("RigUnit_SetTransform.Missing")));
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("Cannot find pin 'RigUnit_SetTransform.Missing'")), 1);
	EXPECT_FALSE(Controller->AddLink(TEXT("RigUnit_SetTransform.Item"), TEXT("RigUnit_BeginExecution.ExecuteContext")));
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("Source pin is not an output")), 1);
	EXPECT_FALSE(Controller->SetPinDefaultValue(TEXT("RigUnit_SetTransform.Weight"), TEXT("heavy")));
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("RigUnit_SetTransform.Weight")), 1);
}

TEST(RigVMControllerTests, UnitsWhoseMembersRigVMDoesNotCarryAreNotRegistered)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	HostEditor::FLogCapture Log;
	EXPECT_NE(Controller->AddUnitNode(FRigVMTestUnit_PlainValues::StaticStruct()), nullptr);
	EXPECT_EQ(Controller->AddUnitNode(FRigVMTestUnit_SoftObject::StaticStruct()), nullptr);
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("member 'Asset' of 'RigVMTestUnit_SoftObject'")), 1);
	EXPECT_EQ(Controller->AddUnitNode(FRigVMTestUnit_ObjectArray::StaticStruct()), nullptr);
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("member 'Objects' of 'RigVMTestUnit_ObjectArray'")), 1);
	EXPECT_EQ(Rig->GetModel()->GetNodes().Num(), 2) << "the begin node and the plain unit";

	// The plug-in's own units pass the same rule.
	for (UScriptStruct* Unit : {FRigUnit_VNFaceSDKSolver::StaticStruct(), FRigUnit_VNBendySolver::StaticStruct(), FRigUnit_VNReverseFootRoll::StaticStruct()})
	{
		EXPECT_NE(Controller->AddUnitNode(Unit), nullptr) << TCHAR_TO_UTF8(*Unit->GetName());
	}
}

TEST(RigVMControllerTests, ControllerWithoutGraphRefusesEdits)
{
	URigVMController* Controller = NewObject<URigVMController>();
	HostEditor::FLogCapture Log;
	EXPECT_EQ(Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform")), nullptr);
	EXPECT_FALSE(Controller->AddLink(TEXT("A.B"), TEXT("C.D")));
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("no graph")), 2);
}

TEST(RigVMControllerTests, BlueprintGivesNoControllerForAnotherBlueprintsGraph)
{
	UControlRigBlueprint* First = NewRig();
	UControlRigBlueprint* Second = NewRig();
	EXPECT_EQ(First->GetController(Second->GetDefaultModel()), nullptr);
	EXPECT_EQ(First->GetController(First->GetDefaultModel()), First->GetController());
}

TEST(RigVMModelTests, ModelLivesInsideTheBlueprintWithControllersTransient)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMGraph* Model = Rig->GetDefaultModel();
	EXPECT_EQ(Model->GetOuter(), Rig);
	EXPECT_EQ(Rig->Hierarchy->GetOuter(), Rig);
	URigVMNode* Node = Model->GetNodes()[0];
	EXPECT_EQ(Node->GetOuter(), Model);
	EXPECT_EQ(Node->GetPins()[0]->GetOuter(), Node);
	EXPECT_TRUE(Rig->GetController()->HasAnyFlags(RF_Transient));
}

TEST(RigVMModelTests, LoadedPinFindsItsTypeObjectByPath)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	URigVMUnitNode* Node = Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"));
	URigVMPin* Item = Node->FindPin(TEXT("Item"));
	UObject* TypeObject = Item->GetCPPTypeObject();
	ASSERT_NE(TypeObject, nullptr);
	// A loader that could not resolve the reference leaves it empty; PostLoad finds it again.
	FObjectProperty* Property = CastField<FObjectProperty>(URigVMPin::StaticClass()->FindPropertyByName(TEXT("CPPTypeObject")));
	ASSERT_NE(Property, nullptr);
	Property->SetObjectPropertyValue(Property->ContainerPtrToValuePtr<void>(Item), nullptr);
	EXPECT_EQ(Item->GetCPPTypeObject(), nullptr);
	Item->PostLoad();
	EXPECT_EQ(Item->GetCPPTypeObject(), TypeObject);
}

namespace
{
	/** Rewrites a link's target path as a damaged or hand-edited asset might hold it. */
	void SetLinkTargetPath(URigVMLink* Link, const FString& Path)
	{
		FStrProperty* Property = CastField<FStrProperty>(URigVMLink::StaticClass()->FindPropertyByName(TEXT("TargetPinPath")));
		ASSERT_NE(Property, nullptr);
		Property->SetPropertyValue_InContainer(Link, Path);
	}
}

TEST(RigVMCompileTests, LinksToMissingPinsAndDoubleInputsFailTheCompilation)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_GetTransform"), TEXT("Execute"), FVector2D::ZeroVector, TEXT("Get"));
	Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("Execute"), FVector2D::ZeroVector, TEXT("Set"));
	ASSERT_TRUE(Controller->AddLink(TEXT("Get.Transform"), TEXT("Set.Value")));
	ASSERT_TRUE(Controller->AddLink(TEXT("Get.Transform.Translation.X"), TEXT("Set.Weight")));
	TArray<URigVMLink*> Links = Rig->GetDefaultModel()->GetLinks();

	SetLinkTargetPath(Links[1], TEXT("Set.Value"));
	HostEditor::FLogCapture Log;
	Rig->RecompileVM();
	EXPECT_FALSE(Rig->GetLastCompileSucceeded());
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("Pin 'Set.Value' has more than one link into it.")), 1);

	SetLinkTargetPath(Links[1], TEXT("Set.Gone"));
	Log.Reset();
	Rig->RecompileVM();
	EXPECT_FALSE(Rig->GetLastCompileSucceeded());
	EXPECT_EQ(Log.Count(LogRigVM, ELogVerbosity::Error, TEXT("refers to a pin that does not exist")), 1);
}

TEST(RigVMModelTests, UnitNodeStructDefaultHoldsEveryMemberWithThePinValues)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	URigVMUnitNode* Node = Controller->AddUnitNodeFromStructPath(TEXT("/Script/VantorelUnreal.RigUnit_VNFaceSDKSolver"));
	ASSERT_NE(Node, nullptr);
	ASSERT_TRUE(Controller->SetPinDefaultValue(TEXT("RigUnit_VNFaceSDKSolver.CtrlBoxAttach.Name"), TEXT("box")));
	const FString Text = Node->GetStructDefaultValue();
	EXPECT_TRUE(Text.Contains(TEXT("CtrlBoxAttach=(Type=Null,Name=\"box\")"))) << TCHAR_TO_UTF8(*Text);
	EXPECT_TRUE(Text.Contains(TEXT("FaceJoint=(Type=Bone,Name=\"FaceJoint_M\")"))) << TCHAR_TO_UTF8(*Text);
	EXPECT_TRUE(Text.Contains(TEXT("FaceScaler=1.000000"))) << TCHAR_TO_UTF8(*Text);
}

TEST(RigVMModelTests, RemovedNodesLeaveTheGraphAndTheirNamesFree)
{
	UControlRigBlueprint* Rig = NewRig();
	URigVMController* Controller = Rig->GetController();
	URigVMGraph* Graph = Rig->GetDefaultModel();
	URigVMUnitNode* Node = Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("Execute"), FVector2D::ZeroVector, TEXT("Temp"));
	ASSERT_TRUE(Controller->RemoveNode(Node));
	EXPECT_EQ(StaticFindObjectFast(nullptr, Graph, TEXT("Temp")), nullptr);
	TArray<UObject*> Inside;
	GetObjectsWithOuter(Graph, Inside, false);
	for (const UObject* Object : Inside)
	{
		EXPECT_NE(Object, Node);
	}
	EXPECT_EQ(Controller->AddUnitNodeFromStructPath(TEXT("/Script/ControlRig.RigUnit_SetTransform"), TEXT("Execute"), FVector2D::ZeroVector, TEXT("Temp"))->GetName(), TEXT("Temp"));
}
