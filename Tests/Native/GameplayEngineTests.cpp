// The stand-in's gameplay classes: blueprints and their generated classes and defaults kept across a
// save and an editor restart, graphs with their links, the compiler's checks, BlendSpace sample
// edits, reference replacement and forced deletion.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Animation/AnimBlueprint.h"
#include "Animation/AnimBlueprintGeneratedClass.h"
#include "Animation/AnimInstance.h"
#include "Animation/AnimSequence.h"
#include "Animation/BlendSpace1D.h"
#include "Animation/Skeleton.h"
#include "AnimGraphNode_BlendSpacePlayer.h"
#include "AnimGraphNode_Root.h"
#include "AnimGraphNode_SequencePlayer.h"
#include "AnimationGraph.h"
#include "AssetToolsModule.h"
#include "Components/CapsuleComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Engine/BlueprintGeneratedClass.h"
#include "Engine/SCS_Node.h"
#include "Engine/SimpleConstructionScript.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "FileHelpers.h"
#include "GameFramework/Character.h"
#include "GameFramework/CharacterMovementComponent.h"
#include "GameFramework/GameModeBase.h"
#include "GameFramework/PlayerController.h"
#include "GameFramework/SpringArmComponent.h"
#include "GameFramework/WorldSettings.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "K2Node_DynamicCast.h"
#include "Kismet2/BlueprintEditorUtils.h"
#include "Kismet2/CompilerResultsLog.h"
#include "Kismet2/KismetEditorUtilities.h"
#include "Misc/PackageName.h"
#include "ObjectTools.h"
#include "Serialization/ArchiveReplaceObjectRef.h"
#include "Subsystems/AssetEditorSubsystem.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	class GameplayEngineTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ProjectDir = std::filesystem::temp_directory_path() / "vn_gameplay_engine_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			Restart();
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
			std::filesystem::remove_all(ProjectDir);
		}

		void Restart()
		{
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {}, Error)) << Narrow(Error);
		}

		static void Save(const TArray<UObject*>& Assets)
		{
			TArray<UPackage*> Packages;
			for (UObject* Asset : Assets)
			{
				Asset->MarkPackageDirty();
				Packages.Add(Asset->GetPackage());
			}
			ASSERT_TRUE(UEditorLoadingAndSavingUtils::SavePackages(Packages, false));
		}

		static UBlueprint* MakeBlueprint(UClass* Parent, const FString& PackageName)
		{
			UPackage* Package = CreatePackage(*PackageName);
			return FKismetEditorUtilities::CreateBlueprint(Parent, Package, FName(*FPackageName::GetLongPackageAssetName(PackageName)), BPTYPE_Normal);
		}

		static USkeletalMesh* MakeMesh(const FString& Path)
		{
			FString Error;
			USkeletalMesh* Mesh = HostEditor::CreateSkeletalMesh(Path, {{TEXT("root"), NAME_None, FTransform::Identity}, {TEXT("pelvis"), TEXT("root"), FTransform(FVector(0, 0, 90))}}, 1.0f, Error);
			EXPECT_NE(Mesh, nullptr) << Narrow(Error);
			return Mesh;
		}

		static UAnimSequence* MakeClip(const FString& PackageName, USkeleton* Skeleton)
		{
			UPackage* Package = CreatePackage(*PackageName);
			UAnimSequence* Clip = NewObject<UAnimSequence>(Package, FName(*FPackageName::GetLongPackageAssetName(PackageName)), EObjectFlags(RF_Public | RF_Standalone));
			Clip->SetSkeleton(Skeleton);
			return Clip;
		}

		static UAnimBlueprint* MakeAnimBlueprint(const FString& PackageName, USkeleton* Skeleton)
		{
			UPackage* Package = CreatePackage(*PackageName);
			UAnimBlueprint* Blueprint = Cast<UAnimBlueprint>(FKismetEditorUtilities::CreateBlueprint(UAnimInstance::StaticClass(), Package,
				FName(*FPackageName::GetLongPackageAssetName(PackageName)), BPTYPE_Normal, UAnimBlueprint::StaticClass(), UAnimBlueprintGeneratedClass::StaticClass()));
			Blueprint->TargetSkeleton = Skeleton;
			return Blueprint;
		}

		template <typename T>
		static T* AddNode(UEdGraph* Graph, const TCHAR* Name)
		{
			T* Node = NewObject<T>(Graph, FName(Name), RF_Transactional);
			Graph->AddNode(Node);
			Node->AllocateDefaultPins();
			return Node;
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(GameplayEngineTest, CharacterBlueprintDefaultsAndComponentsSurviveARestart)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"));
	UBlueprint* Blueprint = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Hero/BP_Hero"));
	ASSERT_NE(Blueprint, nullptr);
	ASSERT_NE(Blueprint->GeneratedClass.Get(), nullptr);
	EXPECT_EQ(Narrow(Blueprint->GeneratedClass->GetPathName()), "/Game/Hero/BP_Hero.BP_Hero_C");
	EXPECT_TRUE(Blueprint->GeneratedClass->IsChildOf(ACharacter::StaticClass()));
	EXPECT_EQ(Blueprint->Status, BS_UpToDate);

	ACharacter* Defaults = Cast<ACharacter>(Blueprint->GeneratedClass->GetDefaultObject());
	ASSERT_NE(Defaults, nullptr);
	ASSERT_NE(Defaults->GetMesh(), nullptr);
	EXPECT_EQ(Narrow(Defaults->GetMesh()->GetName()), "CharacterMesh0");
	EXPECT_EQ(Narrow(Defaults->GetCapsuleComponent()->GetName()), "CollisionCylinder");
	EXPECT_EQ(Narrow(Defaults->GetCharacterMovement()->GetName()), "CharMoveComp");
	// The native defaults: what a new character gets before anyone edits it.
	EXPECT_FLOAT_EQ(Defaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 34.0f);
	EXPECT_FLOAT_EQ(Defaults->GetCharacterMovement()->MaxWalkSpeed, 600.0f);

	Defaults->GetMesh()->SetSkeletalMeshAsset(Mesh);
	Defaults->GetMesh()->SetRelativeLocation(FVector(0, 0, -89));
	Defaults->GetMesh()->SetRelativeScale3D(FVector(0.5));
	Defaults->GetCapsuleComponent()->SetCapsuleSize(70.0f, 180.0f);
	Defaults->GetCharacterMovement()->JumpZVelocity = 707.1f;
	Defaults->GetCharacterMovement()->SetCrouchedHalfHeight(80.0f);
	USCS_Node* Boom = Blueprint->SimpleConstructionScript->CreateNode(USpringArmComponent::StaticClass(), TEXT("CameraBoom"));
	Blueprint->SimpleConstructionScript->AddNode(Boom);
	Cast<USpringArmComponent>(Boom->ComponentTemplate)->TargetArmLength = 800.0f;
	Save({Blueprint});

	HostEditor::ShutdownEditor();
	Restart();
	UBlueprint* Loaded = LoadObject<UBlueprint>(nullptr, TEXT("/Game/Hero/BP_Hero.BP_Hero"));
	ASSERT_NE(Loaded, nullptr);
	ASSERT_NE(Loaded, Blueprint);
	UClass* Class = LoadObject<UClass>(nullptr, TEXT("/Game/Hero/BP_Hero.BP_Hero_C"));
	ASSERT_NE(Class, nullptr);
	EXPECT_EQ(Class, Loaded->GeneratedClass.Get());
	EXPECT_EQ(UBlueprint::GetBlueprintFromClass(Class), Loaded);
	EXPECT_FALSE(Class->IsAsset());
	ACharacter* LoadedDefaults = Cast<ACharacter>(Class->GetDefaultObject());
	ASSERT_NE(LoadedDefaults, nullptr);
	EXPECT_EQ(Narrow(LoadedDefaults->GetMesh()->GetSkeletalMeshAsset()->GetPathName()), "/Game/Hero/SK_Hero.SK_Hero");
	EXPECT_EQ(LoadedDefaults->GetMesh()->GetRelativeLocation(), FVector(0, 0, -89));
	EXPECT_EQ(LoadedDefaults->GetMesh()->GetRelativeScale3D(), FVector(0.5));
	EXPECT_FLOAT_EQ(LoadedDefaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 70.0f);
	EXPECT_FLOAT_EQ(LoadedDefaults->GetCapsuleComponent()->GetUnscaledCapsuleHalfHeight(), 180.0f);
	EXPECT_FLOAT_EQ(LoadedDefaults->GetCharacterMovement()->JumpZVelocity, 707.1f);
	EXPECT_FLOAT_EQ(LoadedDefaults->GetCharacterMovement()->GetCrouchedHalfHeight(), 80.0f);
	EXPECT_FLOAT_EQ(LoadedDefaults->GetCharacterMovement()->MaxWalkSpeed, 600.0f);
	// The native class's own defaults are untouched by the blueprint's.
	EXPECT_FLOAT_EQ(GetDefault<ACharacter>()->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 34.0f);
	const TArray<USCS_Node*> Nodes = Loaded->SimpleConstructionScript->GetAllNodes();
	ASSERT_EQ(Nodes.Num(), 1);
	EXPECT_EQ(Narrow(Nodes[0]->GetVariableName().ToString()), "CameraBoom");
	ASSERT_NE(Cast<USpringArmComponent>(Nodes[0]->ComponentTemplate), nullptr);
	EXPECT_FLOAT_EQ(Cast<USpringArmComponent>(Nodes[0]->ComponentTemplate)->TargetArmLength, 800.0f);
}

TEST_F(GameplayEngineTest, ClassReferencesBetweenBlueprintsResolveWhicheverLoadsFirst)
{
	// A game mode names the character class; the character's animation blueprint casts back to it.
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"));
	UAnimBlueprint* Anim = MakeAnimBlueprint(TEXT("/Game/Hero/ABP_Hero"), Mesh->GetSkeleton());
	UBlueprint* Character = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Hero/BP_Hero"));
	UBlueprint* GameMode = MakeBlueprint(AGameModeBase::StaticClass(), TEXT("/Game/Hero/BP_Hero_GameMode"));
	UEdGraph* EventGraph = NewObject<UEdGraph>(Anim, FName(TEXT("EventGraph")), RF_Transactional);
	Anim->UbergraphPages.Add(EventGraph);
	UK2Node_DynamicCast* CastNode = NewObject<UK2Node_DynamicCast>(EventGraph, FName(TEXT("K2Node_DynamicCast_0")), RF_Transactional);
	EventGraph->AddNode(CastNode);
	CastNode->TargetType = Character->GeneratedClass.Get();
	CastNode->AllocateDefaultPins();
	EXPECT_NE(CastNode->FindPin(FName(TEXT("AsBP_Hero"))), nullptr);
	Character->GeneratedClass->GetDefaultObject<ACharacter>()->GetMesh()->SetAnimInstanceClass(Anim->GeneratedClass);
	GameMode->GeneratedClass->GetDefaultObject<AGameModeBase>()->DefaultPawnClass = Character->GeneratedClass.Get();
	Save({Anim, Character, GameMode});

	for (const TCHAR* First : {TEXT("/Game/Hero/BP_Hero_GameMode.BP_Hero_GameMode"), TEXT("/Game/Hero/ABP_Hero.ABP_Hero"), TEXT("/Game/Hero/BP_Hero.BP_Hero")})
	{
		HostEditor::ShutdownEditor();
		Restart();
		ASSERT_NE(LoadObject<UObject>(nullptr, First), nullptr) << Narrow(First);
		UClass* CharacterClass = LoadObject<UClass>(nullptr, TEXT("/Game/Hero/BP_Hero.BP_Hero_C"));
		UClass* AnimClass = LoadObject<UClass>(nullptr, TEXT("/Game/Hero/ABP_Hero.ABP_Hero_C"));
		UClass* GameModeClass = LoadObject<UClass>(nullptr, TEXT("/Game/Hero/BP_Hero_GameMode.BP_Hero_GameMode_C"));
		ASSERT_TRUE(CharacterClass && AnimClass && GameModeClass) << Narrow(First);
		EXPECT_TRUE(AnimClass->IsA<UAnimBlueprintGeneratedClass>());
		EXPECT_EQ(GameModeClass->GetDefaultObject<AGameModeBase>()->DefaultPawnClass.Get(), CharacterClass) << Narrow(First);
		EXPECT_EQ(CharacterClass->GetDefaultObject<ACharacter>()->GetMesh()->AnimClass.Get(), AnimClass) << Narrow(First);
		UAnimBlueprint* LoadedAnim = LoadObject<UAnimBlueprint>(nullptr, TEXT("/Game/Hero/ABP_Hero.ABP_Hero"));
		ASSERT_EQ(LoadedAnim->UbergraphPages.Num(), 1);
		UK2Node_DynamicCast* LoadedCast = Cast<UK2Node_DynamicCast>(LoadedAnim->UbergraphPages[0]->Nodes[0]);
		ASSERT_NE(LoadedCast, nullptr);
		EXPECT_EQ(LoadedCast->TargetType.Get(), CharacterClass) << Narrow(First);
		EXPECT_EQ(LoadedCast->GetCastResultPin()->PinType.PinSubCategoryObject, CharacterClass) << Narrow(First);
	}
}

TEST_F(GameplayEngineTest, AnimationGraphLinksSurviveARestartAndTheCompilerChecksSkeletons)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"));
	USkeletalMesh* Other = MakeMesh(TEXT("/Game/Other/SK_Other"));
	UAnimSequence* Walk = MakeClip(TEXT("/Game/Hero/Anims/Walk"), Mesh->GetSkeleton());
	UAnimSequence* OtherWalk = MakeClip(TEXT("/Game/Other/Walk"), Other->GetSkeleton());
	UAnimBlueprint* Anim = MakeAnimBlueprint(TEXT("/Game/Hero/ABP_Hero"), Mesh->GetSkeleton());
	UAnimationGraph* Graph = NewObject<UAnimationGraph>(Anim, FName(TEXT("AnimGraph")), RF_Transactional);
	Anim->FunctionGraphs.Add(Graph);
	UAnimGraphNode_SequencePlayer* Player = AddNode<UAnimGraphNode_SequencePlayer>(Graph, TEXT("Player"));
	UAnimGraphNode_Root* Root = AddNode<UAnimGraphNode_Root>(Graph, TEXT("Root"));
	Player->Node.SetSequence(OtherWalk);
	Player->FindPin(FName(TEXT("Pose")))->MakeLinkTo(Root->FindPin(FName(TEXT("Result"))));

	FCompilerResultsLog Results;
	FKismetEditorUtilities::CompileBlueprint(Anim, EBlueprintCompileOptions::None, &Results);
	EXPECT_EQ(Anim->Status, BS_Error);
	ASSERT_EQ(Results.NumErrors, 1);
	EXPECT_NE(Narrow(Results.Messages[0]).find("/Game/Other/Walk.Walk"), std::string::npos) << Narrow(Results.Messages[0]);

	TMap<UAnimationAsset*, UAnimationAsset*> Map;
	Map.Add(OtherWalk, Walk);
	Player->ReplaceReferredAnimations(Map);
	TArray<UAnimationAsset*> Referred;
	Player->GetAllAnimationSequencesReferred(Referred);
	ASSERT_EQ(Referred.Num(), 1);
	EXPECT_EQ(Referred[0], Walk);
	FKismetEditorUtilities::CompileBlueprint(Anim);
	EXPECT_EQ(Anim->Status, BS_UpToDate);
	FBlueprintEditorUtils::MarkBlueprintAsStructurallyModified(Anim);
	EXPECT_EQ(Anim->Status, BS_Dirty);
	Save({Anim, Walk, OtherWalk});

	HostEditor::ShutdownEditor();
	Restart();
	UAnimBlueprint* Loaded = LoadObject<UAnimBlueprint>(nullptr, TEXT("/Game/Hero/ABP_Hero.ABP_Hero"));
	ASSERT_NE(Loaded, nullptr);
	TArray<UEdGraph*> Graphs;
	Loaded->GetAllGraphs(Graphs);
	ASSERT_EQ(Graphs.Num(), 1);
	EXPECT_TRUE(Graphs[0]->IsA<UAnimationGraph>());
	ASSERT_EQ(Graphs[0]->Nodes.Num(), 2);
	UAnimGraphNode_SequencePlayer* LoadedPlayer = Cast<UAnimGraphNode_SequencePlayer>(Graphs[0]->Nodes[0]);
	UAnimGraphNode_Root* LoadedRoot = Cast<UAnimGraphNode_Root>(Graphs[0]->Nodes[1]);
	ASSERT_TRUE(LoadedPlayer && LoadedRoot);
	EXPECT_EQ(Narrow(LoadedPlayer->Node.GetSequence()->GetPathName()), "/Game/Hero/Anims/Walk.Walk");
	UEdGraphPin* Pose = LoadedPlayer->FindPin(FName(TEXT("Pose")), EGPD_Output);
	ASSERT_NE(Pose, nullptr);
	ASSERT_EQ(Pose->LinkedTo.Num(), 1);
	EXPECT_EQ(Pose->LinkedTo[0], LoadedRoot->FindPin(FName(TEXT("Result")), EGPD_Input));
	EXPECT_EQ(Pose->LinkedTo[0]->LinkedTo[0], Pose);

	// A node taken out while its partner keeps the link is a broken graph.
	Loaded->FunctionGraphs[0]->Nodes.Remove(LoadedRoot);
	FCompilerResultsLog Broken;
	FKismetEditorUtilities::CompileBlueprint(Loaded, EBlueprintCompileOptions::None, &Broken);
	EXPECT_EQ(Loaded->Status, BS_Error);
	EXPECT_EQ(Broken.NumErrors, 2) << Narrow(FString::Join(Broken.Messages, TEXT(" | ")));
}

TEST_F(GameplayEngineTest, BlendSpaceSampleEditsStayInsideTheAxesAndApartAndSurviveARestart)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"));
	UAnimSequence* Idle = MakeClip(TEXT("/Game/Hero/Anims/Idle"), Mesh->GetSkeleton());
	UAnimSequence* Run = MakeClip(TEXT("/Game/Hero/Anims/Run"), Mesh->GetSkeleton());
	UAnimSequence* Alien = MakeClip(TEXT("/Game/Hero/Anims/Alien"), nullptr);
	UPackage* Package = CreatePackage(TEXT("/Game/Hero/BS_Hero"));
	UBlendSpace1D* BlendSpace = NewObject<UBlendSpace1D>(Package, FName(TEXT("BS_Hero")), EObjectFlags(RF_Public | RF_Standalone));
	BlendSpace->SetSkeleton(Mesh->GetSkeleton());
	FBlendParameter& Speed = const_cast<FBlendParameter&>(BlendSpace->GetBlendParameter(0));
	Speed.DisplayName = TEXT("Speed");
	Speed.Min = 0.0f;
	Speed.Max = 500.0f;
	Speed.GridNum = 4;

	EXPECT_EQ(BlendSpace->AddSample(Idle, FVector(0, 0, 0)), 0);
	EXPECT_EQ(BlendSpace->AddSample(Run, FVector(500, 0, 0)), 1);
	EXPECT_EQ(BlendSpace->AddSample(Run, FVector(600, 0, 0)), INDEX_NONE) << "outside the axis";
	EXPECT_EQ(BlendSpace->AddSample(Run, FVector(500, 0, 0)), INDEX_NONE) << "on another sample";
	EXPECT_EQ(BlendSpace->AddSample(Alien, FVector(250, 0, 0)), 2);
	EXPECT_FALSE(BlendSpace->EditSampleValue(1, FVector(1000, 0, 0)));
	EXPECT_FALSE(BlendSpace->EditSampleValue(1, FVector(0, 0, 0)));
	EXPECT_TRUE(BlendSpace->EditSampleValue(1, FVector(400, 0, 0)));
	EXPECT_FALSE(BlendSpace->ReplaceSampleAnimation(3, Idle));
	BlendSpace->ValidateSampleData();
	EXPECT_TRUE(BlendSpace->GetBlendSample(0).bIsValid);
	EXPECT_TRUE(BlendSpace->GetBlendSample(1).bIsValid);
	EXPECT_FALSE(BlendSpace->GetBlendSample(2).bIsValid) << "a clip of no Skeleton";
	BlendSpace->ResampleData();
	// Grid points at 0, 125, 250, 375, 500 between the valid samples at 0 and 400.
	const TArray<FEditorElement>& Grid = BlendSpace->GetGridSamples();
	ASSERT_EQ(Grid.Num(), 5);
	EXPECT_EQ(Grid[0].Indices[0], 0);
	EXPECT_FLOAT_EQ(Grid[0].Weights[0], 1.0f);
	EXPECT_EQ(Grid[2].Indices[0], 0);
	EXPECT_EQ(Grid[2].Indices[1], 1);
	EXPECT_FLOAT_EQ(Grid[2].Weights[1], 250.0f / 400.0f);
	EXPECT_EQ(Grid[4].Indices[0], 1);
	EXPECT_FLOAT_EQ(Grid[4].Weights[0], 1.0f);
	Save({BlendSpace, Idle, Run, Alien});

	HostEditor::ShutdownEditor();
	Restart();
	UBlendSpace* Loaded = LoadObject<UBlendSpace>(nullptr, TEXT("/Game/Hero/BS_Hero.BS_Hero"));
	ASSERT_NE(Loaded, nullptr);
	EXPECT_TRUE(Loaded->IsA<UBlendSpace1D>());
	EXPECT_EQ(Narrow(Loaded->GetBlendParameter(0).DisplayName), "Speed");
	EXPECT_FLOAT_EQ(Loaded->GetBlendParameter(0).Max, 500.0f);
	EXPECT_EQ(Narrow(Loaded->GetBlendParameter(1).DisplayName), "None");
	ASSERT_EQ(Loaded->GetNumberOfBlendSamples(), 3);
	EXPECT_EQ(Loaded->GetBlendSample(1).SampleValue, FVector(400, 0, 0));
	EXPECT_EQ(Narrow(Loaded->GetBlendSample(1).Animation->GetPathName()), "/Game/Hero/Anims/Run.Run");
	ASSERT_EQ(Loaded->GetGridSamples().Num(), 5);
	EXPECT_FLOAT_EQ(Loaded->GetGridSamples()[2].Weights[1], 250.0f / 400.0f);
}

TEST_F(GameplayEngineTest, ReplacingReferencesReachesStructsArraysAndInnerObjects)
{
	USkeletalMesh* Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"));
	UAnimBlueprint* Template = MakeAnimBlueprint(TEXT("/Game/Hero/ABP_Template"), Mesh->GetSkeleton());
	UAnimBlueprint* Copy = MakeAnimBlueprint(TEXT("/Game/Hero/ABP_Copy"), Mesh->GetSkeleton());
	UBlueprint* OldCharacter = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Hero/BP_Old"));
	UBlueprint* NewCharacter = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Hero/BP_New"));
	UEdGraph* Graph = NewObject<UEdGraph>(Copy, FName(TEXT("EventGraph")), RF_Transactional);
	Copy->UbergraphPages.Add(Graph);
	UK2Node_DynamicCast* CastNode = NewObject<UK2Node_DynamicCast>(Graph, FName(TEXT("Cast")), RF_Transactional);
	Graph->AddNode(CastNode);
	CastNode->TargetType = OldCharacter->GeneratedClass.Get();

	TMap<UObject*, UObject*> Replacements;
	Replacements.Add(OldCharacter->GeneratedClass.Get(), NewCharacter->GeneratedClass.Get());
	Replacements.Add(Template, Copy);
	FArchiveReplaceObjectRef<UObject> Walk(Copy, Replacements, EArchiveReplaceObjectFlags::TrackReplacedReferences);
	EXPECT_EQ(Walk.GetCount(), 1);
	EXPECT_EQ(CastNode->TargetType.Get(), NewCharacter->GeneratedClass.Get());
	EXPECT_EQ(Walk.GetReplacedReferences().FindRef(CastNode), 1);

	CastNode->TargetType = OldCharacter->GeneratedClass.Get();
	FArchiveReplaceObjectRef<UObject> Shallow(Copy, Replacements, EArchiveReplaceObjectFlags::IgnoreOuterRef);
	EXPECT_EQ(Shallow.GetCount(), 0);
	EXPECT_EQ(CastNode->TargetType.Get(), OldCharacter->GeneratedClass.Get());
}

TEST_F(GameplayEngineTest, ForceDeleteClosesEditorsAndKeepsAnAssetWhoseFileCannotGo)
{
	UBlueprint* Kept = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Locked/BP_Kept"));
	UBlueprint* Gone = MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Open/BP_Gone"));
	Save({Kept, Gone});
	UAssetEditorSubsystem* Editors = GEditor->GetEditorSubsystem<UAssetEditorSubsystem>();
	ASSERT_NE(Editors, nullptr);
	ASSERT_TRUE(Editors->OpenEditorForAsset(Gone));
	EXPECT_EQ(Editors->FindEditorsForAsset(Gone).Num(), 1);
	const std::filesystem::path Locked = ProjectDir / "Content" / "Locked";
	// A read-only package file, as a file under source control that is not checked out.
	std::filesystem::permissions(Locked / "BP_Kept.uasset", std::filesystem::perms::owner_write | std::filesystem::perms::group_write | std::filesystem::perms::others_write, std::filesystem::perm_options::remove);

	UClass* GoneClass = Gone->GeneratedClass;
	EXPECT_EQ(ObjectTools::ForceDeleteObjects({Kept, Gone}, false), 1);
	EXPECT_TRUE(IsValid(Kept));
	EXPECT_FALSE(IsValid(Gone));
	EXPECT_FALSE(IsValid(GoneClass));
	EXPECT_TRUE(Editors->GetAllEditedAssets().IsEmpty());
	EXPECT_TRUE(std::filesystem::exists(Locked / "BP_Kept.uasset"));
	EXPECT_FALSE(std::filesystem::exists(ProjectDir / "Content" / "Open" / "BP_Gone.uasset"));
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(StaticFindObject(UObject::StaticClass(), nullptr, TEXT("/Game/Open/BP_Gone.BP_Gone")), nullptr);
	// The name is free again.
	EXPECT_NE(MakeBlueprint(ACharacter::StaticClass(), TEXT("/Game/Open/BP_Gone")), nullptr);
}

TEST_F(GameplayEngineTest, TheEditorWorldHasSettingsAndADuplicatedBlueprintItsOwnClass)
{
	UWorld* World = GEditor->GetEditorWorldContext().World();
	ASSERT_NE(World, nullptr);
	AWorldSettings* Settings = World->GetWorldSettings();
	ASSERT_NE(Settings, nullptr);
	EXPECT_EQ(Settings->DefaultGameMode.Get(), nullptr);

	UBlueprint* Template = MakeBlueprint(AGameModeBase::StaticClass(), TEXT("/Game/ThirdPerson/BP_GameMode"));
	Template->GeneratedClass->GetDefaultObject<AGameModeBase>()->PlayerControllerClass = nullptr;
	UBlueprint* Copy = Cast<UBlueprint>(IAssetTools::Get().DuplicateAsset(TEXT("BP_Hero_GameMode"), TEXT("/Game/Hero"), Template));
	ASSERT_NE(Copy, nullptr);
	ASSERT_NE(Copy->GeneratedClass.Get(), nullptr);
	EXPECT_NE(Copy->GeneratedClass.Get(), Template->GeneratedClass.Get());
	EXPECT_EQ(Narrow(Copy->GeneratedClass->GetPathName()), "/Game/Hero/BP_Hero_GameMode.BP_Hero_GameMode_C");
	EXPECT_TRUE(Copy->GeneratedClass->IsChildOf(AGameModeBase::StaticClass()));
	EXPECT_EQ(Copy->GeneratedClass->GetDefaultObject<AGameModeBase>()->PlayerControllerClass.Get(), nullptr) << "the copy keeps the class defaults";
	Settings->DefaultGameMode = Copy->GeneratedClass.Get();
	EXPECT_EQ(GEditor->GetEditorWorldContext().World()->GetWorldSettings()->DefaultGameMode.Get(), Copy->GeneratedClass.Get());

	// A new editor run shows a new, empty level.
	HostEditor::ShutdownEditor();
	Restart();
	EXPECT_EQ(GEditor->GetEditorWorldContext().World()->GetWorldSettings()->DefaultGameMode.Get(), nullptr);
}
