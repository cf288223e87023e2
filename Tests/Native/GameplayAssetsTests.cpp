// The playable third-person setup made for the sample character: every asset read back from its saved
// file after an editor restart, with its references rewired, the clips matched to the template's
// samples, the size compensation each mode asks for, the level's game mode, the validation messages
// in their order, a second run and the template taken from the project or the engine.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "AnimGraphNode_BlendSpacePlayer.h"
#include "AnimGraphNode_ControlRig.h"
#include "AnimGraphNode_Root.h"
#include "Animation/AnimBlueprint.h"
#include "Animation/AnimSequence.h"
#include "Animation/BlendSpace.h"
#include "Animation/Skeleton.h"
#include "Components/CapsuleComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "EdGraph/EdGraph.h"
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
#include "HostEditorSupport/HostEditorPaths.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/ThirdPersonTemplates.h"
#include "K2Node_DynamicCast.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "ReferenceSkeleton.h"
#include "Subsystems/AssetEditorSubsystem.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNGameplayAssets.h"

namespace
{
	namespace fs = std::filesystem;

	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	FString Wide(const fs::path& Path)
	{
		return FString(UTF8_TO_TCHAR(Path.string().c_str()));
	}

	const fs::path SampleDir = fs::path(VN_SOURCE_DIR) / "Samples" / "SampleHero";
	const TCHAR* const MeshPath = TEXT("/Game/SampleHero/SK_SampleHero.SK_SampleHero");

	/** The sample's leg, hip to knee to ankle in its reference pose, over the mannequin's 85.55921 cm. */
	double SampleFactor(const USkeletalMesh* Mesh)
	{
		const FReferenceSkeleton& Skeleton = Mesh->GetRefSkeleton();
		auto Position = [&Skeleton](const TCHAR* Bone) {
			int32 Index = Skeleton.FindBoneIndex(FName(Bone));
			EXPECT_NE(Index, INDEX_NONE) << Narrow(Bone);
			FTransform Transform = FTransform::Identity;
			for (; Index != INDEX_NONE; Index = Skeleton.GetParentIndex(Index))
			{
				Transform = Transform * Skeleton.GetRefBonePose()[Index];
			}
			return Transform.GetLocation();
		};
		const FVector Hip = Position(TEXT("Hip_R"));
		const FVector Knee = Position(TEXT("Knee_R"));
		const FVector Ankle = Position(TEXT("Ankle_R"));
		return ((Knee - Hip).Size() + (Ankle - Knee).Size()) / 85.55921;
	}

	class GameplayAssetsTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ProjectDir = fs::temp_directory_path() / "vn_gameplay_assets_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			fs::remove_all(ProjectDir);
			fs::create_directories(ProjectDir / "Content" / "SampleHero");
			for (const char* Name : {"SK_SampleHero.uasset", "SK_SampleHero_Skeleton.uasset"})
			{
				fs::copy_file(SampleDir / Name, ProjectDir / "Content" / "SampleHero" / Name);
			}
			ClipsDir = ProjectDir / "FbxClips";
			fs::create_directories(ClipsDir);
			for (const fs::directory_entry& Entry : fs::directory_iterator(SampleDir / "Anims"))
			{
				fs::copy_file(Entry.path(), ClipsDir / Entry.path().filename());
			}
			Restart();
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
			HostEditor::SetEngineDir(TEXT(VN_SOURCE_DIR "/HostEditor/Engine"));
			fs::remove_all(ProjectDir);
		}

		void Restart()
		{
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(Wide(ProjectDir), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		USkeletalMesh* Mesh() const
		{
			return LoadObject<USkeletalMesh>(nullptr, MeshPath);
		}

		bool Run(bool bMatchMannequinSize, FString& OutMessage) const
		{
			return UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(Mesh(), Wide(ClipsDir), bMatchMannequinSize, OutMessage);
		}

		/** The sample at twice its size: every bone's offset from its parent doubled, saved. */
		void MakeTheSampleTwiceAsLarge() const
		{
			USkeletalMesh* Hero = Mesh();
			const FReferenceSkeleton Old = Hero->GetRefSkeleton();
			Hero->GetRefSkeleton().Empty();
			{
				FReferenceSkeletonModifier Modifier(Hero->GetRefSkeleton(), nullptr);
				for (int32 Index = 0; Index < Old.GetNum(); ++Index)
				{
					FTransform Pose = Old.GetRefBonePose()[Index];
					Pose.SetTranslation(Pose.GetTranslation() * 2.0);
					Modifier.Add(FMeshBoneInfo(Old.GetBoneName(Index), Old.GetBoneName(Index).ToString(), Old.GetParentIndex(Index)), Pose);
				}
			}
			Hero->MarkPackageDirty();
			ASSERT_TRUE(UEditorLoadingAndSavingUtils::SavePackages({Hero->GetPackage()}, false));
		}

		template <typename T>
		static T* Load(const FString& Name)
		{
			return LoadObject<T>(nullptr, *(TEXT("/Game/SampleHero/") + Name + TEXT(".") + Name));
		}

		template <typename T>
		static T* Defaults(const FString& BlueprintName)
		{
			UBlueprint* Blueprint = Load<UBlueprint>(BlueprintName);
			return Blueprint && Blueprint->GeneratedClass ? Cast<T>(Blueprint->GeneratedClass->GetDefaultObject()) : nullptr;
		}

		bool ProjectHas(const char* Relative) const
		{
			return fs::exists(ProjectDir / "Content" / Relative);
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

		fs::path ProjectDir;
		fs::path ClipsDir;
	};

	const char* const ResultFiles[] = {"SampleHero/BS_SampleHero_Idle_Walk_Run.uasset", "SampleHero/ABP_SampleHero.uasset", "SampleHero/BP_SampleHero.uasset",
		"SampleHero/BP_SampleHero_PlayerController.uasset", "SampleHero/BP_SampleHero_GameMode.uasset"};
}

TEST_F(GameplayAssetsTest, ScaleToFitMakesThePlayableSetupRewiredToTheSampleAndSizedToIt)
{
	// The sample is within a fraction of a percent of the mannequin's size; at twice that the scaling shows.
	EXPECT_NEAR(SampleFactor(Mesh()), 1.0, 0.01);
	MakeTheSampleTwiceAsLarge();
	const double Factor = SampleFactor(Mesh());
	ASSERT_NEAR(Factor, 2.0, 0.02);
	FString Message;
	ASSERT_TRUE(Run(false, Message)) << Narrow(Message);
	EXPECT_EQ(Narrow(Message), "Created BP_SampleHero, ABP_SampleHero, BS_SampleHero_Idle_Walk_Run, BP_SampleHero_PlayerController, and BP_SampleHero_GameMode next to "
		"SK_SampleHero. Imported 4 FBX animation clip(s) into /Game/SampleHero/Anims, remapped the gameplay assets, and set the current level's GameMode Override so it is ready for Play.");
	EXPECT_TRUE(LogHas(TEXT("Vantorel batch Game Play: Created BP_SampleHero")));
	UBlueprint* GameModeNow = Load<UBlueprint>(TEXT("BP_SampleHero_GameMode"));
	ASSERT_NE(GameModeNow, nullptr);
	EXPECT_EQ(GEditor->GetEditorWorldContext().World()->GetWorldSettings()->DefaultGameMode.Get(), GameModeNow->GeneratedClass.Get());
	// The template content was mounted only while it loaded; nothing of it was copied into the project.
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter")));
	EXPECT_FALSE(ProjectHas("ThirdPerson"));
	EXPECT_FALSE(ProjectHas("Characters"));

	HostEditor::ShutdownEditor();
	Restart();
	USkeletalMesh* Hero = Mesh();
	USkeleton* Skeleton = Hero->GetSkeleton();

	// The clips, all four, of the character's Skeleton.
	for (const TCHAR* Clip : {TEXT("SampleHero_Idle"), TEXT("SampleHero_Walk_Forward"), TEXT("SampleHero_Run_Forward"), TEXT("SampleHero_Wave")})
	{
		UAnimSequence* Sequence = LoadObject<UAnimSequence>(nullptr, *FString::Printf(TEXT("/Game/SampleHero/Anims/%s.%s"), Clip, Clip));
		ASSERT_NE(Sequence, nullptr) << Narrow(Clip);
		EXPECT_EQ(Sequence->GetSkeleton(), Skeleton);
	}

	// The BlendSpace plays the character's clips, on a Speed axis scaled to its size.
	UBlendSpace* BlendSpace = Load<UBlendSpace>(TEXT("BS_SampleHero_Idle_Walk_Run"));
	ASSERT_NE(BlendSpace, nullptr);
	EXPECT_EQ(BlendSpace->GetSkeleton(), Skeleton);
	ASSERT_EQ(BlendSpace->GetNumberOfBlendSamples(), 3);
	const char* const Expected[] = {"SampleHero_Idle", "SampleHero_Walk_Forward", "SampleHero_Run_Forward"};
	const double Speeds[] = {0.0, 200.0, 500.0};
	for (int32 Index = 0; Index < 3; ++Index)
	{
		const FBlendSample& Sample = BlendSpace->GetBlendSample(Index);
		ASSERT_NE(Sample.Animation.Get(), nullptr);
		EXPECT_EQ(Narrow(Sample.Animation->GetName()), Expected[Index]);
		EXPECT_NEAR(Sample.SampleValue.X, Speeds[Index] * Factor, 1e-3) << Index;
		EXPECT_TRUE(Sample.bIsValid) << Index;
	}
	EXPECT_EQ(Narrow(BlendSpace->GetBlendParameter(0).DisplayName), "Speed");
	EXPECT_NEAR(BlendSpace->GetBlendParameter(0).Min, 0.0, 1e-4);
	EXPECT_NEAR(BlendSpace->GetBlendParameter(0).Max, 500.0 * Factor, 1e-3);
	EXPECT_EQ(BlendSpace->GetBlendParameter(0).GridNum, 4);

	// The animation blueprint: the character's Skeleton and mesh, its BlendSpace, its class in the cast,
	// and the pose past the template's Control Rig straight into the output.
	UAnimBlueprint* Anim = Load<UAnimBlueprint>(TEXT("ABP_SampleHero"));
	UBlueprint* Character = Load<UBlueprint>(TEXT("BP_SampleHero"));
	UBlueprint* Controller = Load<UBlueprint>(TEXT("BP_SampleHero_PlayerController"));
	UBlueprint* GameMode = Load<UBlueprint>(TEXT("BP_SampleHero_GameMode"));
	ASSERT_TRUE(Anim && Character && Controller && GameMode);
	ASSERT_TRUE(Anim->GeneratedClass && Character->GeneratedClass && Controller->GeneratedClass && GameMode->GeneratedClass);
	EXPECT_EQ(Anim->TargetSkeleton.Get(), Skeleton);
	EXPECT_EQ(Anim->GetPreviewMesh(), Hero);
	TArray<UEdGraph*> Graphs;
	Anim->GetAllGraphs(Graphs);
	int32 BlendSpacePlayers = 0;
	int32 Casts = 0;
	for (UEdGraph* Graph : Graphs)
	{
		for (UEdGraphNode* Node : Graph->Nodes)
		{
			EXPECT_FALSE(Node->IsA<UAnimGraphNode_ControlRig>()) << "the Control Rig node is bypassed";
			if (UAnimGraphNode_BlendSpacePlayer* Player = Cast<UAnimGraphNode_BlendSpacePlayer>(Node))
			{
				++BlendSpacePlayers;
				EXPECT_EQ(Player->Node.GetBlendSpace(), BlendSpace);
				UEdGraphPin* Pose = Player->FindPin(FName(TEXT("Pose")), EGPD_Output);
				ASSERT_EQ(Pose->LinkedTo.Num(), 1);
				EXPECT_TRUE(Pose->LinkedTo[0]->GetOwningNode()->IsA<UAnimGraphNode_Root>());
			}
			if (UK2Node_DynamicCast* CastNode = Cast<UK2Node_DynamicCast>(Node))
			{
				++Casts;
				EXPECT_EQ(CastNode->TargetType.Get(), Character->GeneratedClass.Get());
				EXPECT_NE(CastNode->FindPin(FName(TEXT("AsBP_SampleHero"))), nullptr) << "the cast node was made again for its new class";
			}
		}
	}
	EXPECT_EQ(BlendSpacePlayers, 1);
	EXPECT_EQ(Casts, 1);

	// The character: the sample's mesh with the new animation blueprint, its gameplay values scaled.
	ACharacter* CharacterDefaults = Defaults<ACharacter>(TEXT("BP_SampleHero"));
	ASSERT_NE(CharacterDefaults, nullptr);
	USkeletalMeshComponent* MeshComponent = CharacterDefaults->GetMesh();
	EXPECT_EQ(MeshComponent->GetSkeletalMeshAsset(), Hero);
	EXPECT_EQ(MeshComponent->AnimClass.Get(), Anim->GeneratedClass.Get());
	EXPECT_NEAR(MeshComponent->GetRelativeLocation().Z, -89.0 * Factor, 1e-3);
	EXPECT_EQ(MeshComponent->GetRelativeScale3D(), FVector(1.0));
	EXPECT_NEAR(CharacterDefaults->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 35.0 * Factor, 1e-3);
	EXPECT_NEAR(CharacterDefaults->GetCapsuleComponent()->GetUnscaledCapsuleHalfHeight(), 90.0 * Factor, 1e-3);
	const UCharacterMovementComponent* Movement = CharacterDefaults->GetCharacterMovement();
	EXPECT_FLOAT_EQ(Movement->GravityScale, 1.0f);
	EXPECT_NEAR(Movement->MaxStepHeight, 45.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->JumpZVelocity, 500.0 * std::sqrt(Factor), 1e-3);
	EXPECT_NEAR(Movement->GetCrouchedHalfHeight(), 40.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->MaxWalkSpeed, 600.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->MaxWalkSpeedCrouched, 300.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->MaxSwimSpeed, 300.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->MaxFlySpeed, 600.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->MaxAcceleration, 1500.0 * Factor, 1e-2);
	EXPECT_NEAR(Movement->MinAnalogWalkSpeed, 20.0 * Factor, 1e-3);
	EXPECT_NEAR(Movement->BrakingDecelerationWalking, 2000.0 * Factor, 1e-2);
	const TArray<USCS_Node*> Nodes = Character->SimpleConstructionScript->GetAllNodes();
	ASSERT_EQ(Nodes.Num(), 1);
	EXPECT_NEAR(Cast<USpringArmComponent>(Nodes[0]->ComponentTemplate)->TargetArmLength, 400.0 * Factor, 1e-3);

	// The game mode plays the character with the new controller.
	AGameModeBase* GameModeDefaults = Defaults<AGameModeBase>(TEXT("BP_SampleHero_GameMode"));
	ASSERT_NE(GameModeDefaults, nullptr);
	EXPECT_EQ(GameModeDefaults->DefaultPawnClass.Get(), Character->GeneratedClass.Get());
	EXPECT_EQ(GameModeDefaults->PlayerControllerClass.Get(), Controller->GeneratedClass.Get());
	EXPECT_TRUE(Controller->GeneratedClass->IsChildOf(APlayerController::StaticClass()));
}

TEST_F(GameplayAssetsTest, MatchMannequinSizeScalesOnlyTheMeshComponentAndNoneChangesNothing)
{
	const double Factor = SampleFactor(Mesh());
	FString Message;
	ASSERT_TRUE(Run(true, Message)) << Narrow(Message);
	EXPECT_TRUE(LogHas(FString::Printf(TEXT("Vantorel Match Mannequin Size: character %.6fx, Mesh component scale %.6f"), (float)Factor, 1.0f / (float)Factor)));
	HostEditor::ShutdownEditor();
	Restart();
	ACharacter* Character = Defaults<ACharacter>(TEXT("BP_SampleHero"));
	ASSERT_NE(Character, nullptr);
	EXPECT_NEAR(Character->GetMesh()->GetRelativeScale3D().X, 1.0 / Factor, 1e-5);
	EXPECT_NEAR(Character->GetMesh()->GetRelativeScale3D().Z, 1.0 / Factor, 1e-5);
	EXPECT_FLOAT_EQ(Character->GetCapsuleComponent()->GetUnscaledCapsuleRadius(), 35.0f);
	EXPECT_FLOAT_EQ(Character->GetCharacterMovement()->JumpZVelocity, 500.0f);
	UBlendSpace* BlendSpace = Load<UBlendSpace>(TEXT("BS_SampleHero_Idle_Walk_Run"));
	EXPECT_FLOAT_EQ(BlendSpace->GetBlendParameter(0).Max, 500.0f);
	EXPECT_FLOAT_EQ(BlendSpace->GetBlendSample(1).SampleValue.X, 200.0f);

	// No compensation: the template's values as they are.
	const VantorelGameplayAssets::FCreationResult None = VantorelGameplayAssets::CreateStandardGameplayAssets(Mesh(), Wide(ClipsDir), 2, false);
	ASSERT_TRUE(None.bSuccess) << Narrow(None.Message);
	Character = Defaults<ACharacter>(TEXT("BP_SampleHero"));
	EXPECT_EQ(Character->GetMesh()->GetRelativeScale3D(), FVector(1.0));
	EXPECT_FLOAT_EQ(Character->GetCapsuleComponent()->GetUnscaledCapsuleHalfHeight(), 90.0f);
	EXPECT_FLOAT_EQ(Load<UBlendSpace>(TEXT("BS_SampleHero_Idle_Walk_Run"))->GetBlendParameter(0).Max, 500.0f);
}

TEST_F(GameplayAssetsTest, EachValidationStopsInItsOrderWithNothingCreated)
{
	FString Message;
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(nullptr, TEXT("/no/such/folder"), false, Message));
	EXPECT_EQ(Narrow(Message), "Choose a SkeletalMesh in Standard Exported first.");
	EXPECT_TRUE(LogHas(TEXT("Vantorel batch Game Play failed: Choose a SkeletalMesh in Standard Exported first.")));
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(Mesh(), Wide(ProjectDir / "missing"), false, Message));
	EXPECT_EQ(Narrow(Message), "Choose a valid FBX Anims folder first.");
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(Mesh(), TEXT(""), false, Message));
	EXPECT_EQ(Narrow(Message), "Choose a valid FBX Anims folder first.");
	USkeletalMesh* NoSkeleton = Mesh();
	USkeleton* Skeleton = NoSkeleton->GetSkeleton();
	NoSkeleton->SetSkeleton(nullptr);
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(NoSkeleton, Wide(ClipsDir), false, Message));
	EXPECT_EQ(Narrow(Message), "The selected SkeletalMesh has no Skeleton asset.");
	NoSkeleton->SetSkeleton(Skeleton);

	const fs::path Empty = ProjectDir / "Empty";
	fs::create_directories(Empty / "Sub");
	std::ofstream(Empty / "Sub" / "notes.txt") << "no clips here";
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(Mesh(), Wide(Empty), false, Message));
	EXPECT_EQ(Narrow(Message), "No FBX files were found in " + Empty.string() + ".");
	std::ofstream(Empty / "Sub" / "Fake.FBX") << "this is text, not FBX";
	EXPECT_FALSE(UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(Mesh(), Wide(Empty), false, Message));
	EXPECT_EQ(Narrow(Message), "The FBX import completed without creating any Animation Sequence assets.");
	for (const char* File : ResultFiles)
	{
		EXPECT_FALSE(ProjectHas(File)) << File;
	}
}

TEST_F(GameplayAssetsTest, UnmatchedSamplesAreNamedAndUpperCaseClipsInSubFoldersImport)
{
	// Only idle and run clips, in a sub-folder and spelled in capitals: the walk sample stays unmatched
	// (walk on its side only, idle or run on the clip's: -160 against each).
	fs::remove_all(ClipsDir);
	fs::create_directories(ClipsDir / "Locomotion");
	fs::copy_file(SampleDir / "Anims" / "SampleHero_Idle.fbx", ClipsDir / "Locomotion" / "Idle.FBX");
	fs::copy_file(SampleDir / "Anims" / "SampleHero_Run_Forward.fbx", ClipsDir / "Locomotion" / "Run.Fbx");
	FString Message;
	EXPECT_FALSE(Run(false, Message));
	EXPECT_EQ(Narrow(Message), "Could not match imported FBX clips to these BS_Idle_Walk_Run samples: MM_Walk_Fwd. Include clearly named Idle, Walk, and Run FBX clips.");
	EXPECT_NE(LoadObject<UAnimSequence>(nullptr, TEXT("/Game/SampleHero/Anims/Idle.Idle")), nullptr);
	EXPECT_NE(LoadObject<UAnimSequence>(nullptr, TEXT("/Game/SampleHero/Anims/Run.Run")), nullptr);
	EXPECT_FALSE(ProjectHas("SampleHero/ABP_SampleHero.uasset"));
}

TEST_F(GameplayAssetsTest, ASecondRunReplacesTheAssetsClosingTheirEditorsAndAReadOnlyOneStopsIt)
{
	FString Message;
	ASSERT_TRUE(Run(false, Message)) << Narrow(Message);
	UBlueprint* First = Load<UBlueprint>(TEXT("BP_SampleHero"));
	UAssetEditorSubsystem* Editors = GEditor->GetEditorSubsystem<UAssetEditorSubsystem>();
	ASSERT_TRUE(Editors->OpenEditorForAsset(First));
	ASSERT_TRUE(Run(false, Message)) << Narrow(Message);
	UBlueprint* Second = Load<UBlueprint>(TEXT("BP_SampleHero"));
	ASSERT_NE(Second, nullptr);
	EXPECT_NE(Second, First) << "the earlier asset was deleted and made again";
	EXPECT_FALSE(IsValid(First));
	EXPECT_TRUE(Editors->GetAllEditedAssets().IsEmpty());
	EXPECT_EQ(GEditor->GetEditorWorldContext().World()->GetWorldSettings()->DefaultGameMode.Get(), Load<UBlueprint>(TEXT("BP_SampleHero_GameMode"))->GeneratedClass.Get());

	// A read-only package (not checked out) cannot be deleted: the run stops and says how far it got.
	fs::permissions(ProjectDir / "Content" / "SampleHero" / "BP_SampleHero.uasset", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
	EXPECT_FALSE(Run(false, Message));
	EXPECT_EQ(Narrow(Message), "Could not replace all existing gameplay assets. Deleted 4 of 5. Close any open asset editors and try again.");
	EXPECT_EQ(GEditor->GetEditorWorldContext().World()->GetWorldSettings()->DefaultGameMode.Get(), nullptr) << "the level no longer plays with the deleted game mode";
}

TEST_F(GameplayAssetsTest, TemplatesInTheProjectAreUsedAndMissingOnesAreNamed)
{
	// The project has its own copy of the template, with a slower run.
	{
		fs::path Content = ProjectDir / "Content";
		fs::copy(fs::path(VN_SOURCE_DIR) / "HostEditor/Templates/TP_ThirdPersonBP/Content/ThirdPerson", Content / "ThirdPerson", fs::copy_options::recursive);
		fs::copy(fs::path(VN_SOURCE_DIR) / "HostEditor/Templates/TemplateResources/High/Characters/Content", Content / "Characters", fs::copy_options::recursive);
		UBlendSpace* Template = LoadObject<UBlendSpace>(nullptr, HostEditor::ThirdPersonTemplate::BlendSpacePath);
		ASSERT_NE(Template, nullptr);
		FProperty* Axes = UBlendSpace::StaticClass()->FindPropertyByName(FName(TEXT("BlendParameters")));
		Axes->ContainerPtrToValuePtr<FBlendParameter>(Template, 0)->Max = 400.0f;
		ASSERT_TRUE(Template->EditSampleValue(2, FVector(400, 0, 0)));
		Template->MarkPackageDirty();
		ASSERT_TRUE(UEditorLoadingAndSavingUtils::SavePackages({Template->GetPackage()}, false));
	}
	HostEditor::ShutdownEditor();
	Restart();
	const VantorelGameplayAssets::FCreationResult Result = VantorelGameplayAssets::CreateStandardGameplayAssets(Mesh(), Wide(ClipsDir), 2, false);
	ASSERT_TRUE(Result.bSuccess) << Narrow(Result.Message);
	UBlendSpace* BlendSpace = Load<UBlendSpace>(TEXT("BS_SampleHero_Idle_Walk_Run"));
	EXPECT_FLOAT_EQ(BlendSpace->GetBlendParameter(0).Max, 400.0f);
	EXPECT_FLOAT_EQ(BlendSpace->GetBlendSample(2).SampleValue.X, 400.0f);

	// An engine without the template content: every template is named, in its order.
	fs::remove_all(ProjectDir / "Content" / "ThirdPerson");
	fs::remove_all(ProjectDir / "Content" / "Characters");
	HostEditor::ShutdownEditor();
	Restart();
	fs::create_directories(ProjectDir / "BareEngine" / "Engine");
	HostEditor::SetEngineDir(Wide(ProjectDir / "BareEngine" / "Engine"));
	const VantorelGameplayAssets::FCreationResult Missing = VantorelGameplayAssets::CreateStandardGameplayAssets(Mesh(), Wide(ClipsDir), 0, false);
	EXPECT_FALSE(Missing.bSuccess);
	EXPECT_EQ(Narrow(Missing.Message), "Could not load the Unreal Engine mannequin template assets: BP_ThirdPersonCharacter, BP_ThirdPersonGameMode, BP_ThirdPersonPlayerController, "
		"ABP_Unarmed, BS_Idle_Walk_Run. Verify that the UE Third Person templates are installed for this engine version.");
}

TEST_F(GameplayAssetsTest, TheDuplicationRuleReusesTheRightClassAndRefusesAnother)
{
	UBlendSpace* Template = nullptr;
	{
		FPackageName::RegisterMountPoint(TEXT("/Game/Characters/"), TEXT(VN_SOURCE_DIR "/HostEditor/Templates/TemplateResources/High/Characters/Content/"));
		Template = LoadObject<UBlendSpace>(nullptr, HostEditor::ThirdPersonTemplate::BlendSpacePath);
		FPackageName::UnRegisterMountPoint(TEXT("/Game/Characters/"), TEXT(VN_SOURCE_DIR "/HostEditor/Templates/TemplateResources/High/Characters/Content/"));
	}
	ASSERT_NE(Template, nullptr);
	FString Error;
	UObject* Copy = VantorelGameplayAssets::DuplicateTemplate(Template, UBlendSpace::StaticClass(), TEXT("/Game/SampleHero"), TEXT("BS_Copy"), Error);
	ASSERT_NE(Copy, nullptr) << Narrow(Error);
	EXPECT_NE(Copy, Template);
	EXPECT_EQ(VantorelGameplayAssets::DuplicateTemplate(Template, UBlendSpace::StaticClass(), TEXT("/Game/SampleHero"), TEXT("BS_Copy"), Error), Copy) << "an existing copy of the class is reused";
	EXPECT_EQ(VantorelGameplayAssets::DuplicateTemplate(Template, UBlendSpace::StaticClass(), TEXT("/Game/SampleHero"), TEXT("SK_SampleHero"), Error), nullptr);
	EXPECT_EQ(Narrow(Error), "An asset already exists at /Game/SampleHero/SK_SampleHero.SK_SampleHero, but it has the wrong type.");
}
