// The third-person template's gameplay assets, made through the engine's own operations.

#include "HostEditorSupport/ThirdPersonTemplates.h"

#include "AnimGraphNode_BlendSpacePlayer.h"
#include "AnimGraphNode_ControlRig.h"
#include "AnimGraphNode_Root.h"
#include "Animation/AnimBlueprint.h"
#include "Animation/AnimBlueprintGeneratedClass.h"
#include "Animation/AnimInstance.h"
#include "Animation/AnimSequence.h"
#include "Animation/BlendSpace1D.h"
#include "Animation/Skeleton.h"
#include "AnimationGraph.h"
#include "Components/CapsuleComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "EdGraph/EdGraph.h"
#include "Engine/BlueprintGeneratedClass.h"
#include "Engine/SCS_Node.h"
#include "Engine/SimpleConstructionScript.h"
#include "Engine/SkeletalMesh.h"
#include "FileHelpers.h"
#include "GameFramework/Character.h"
#include "GameFramework/CharacterMovementComponent.h"
#include "GameFramework/GameModeBase.h"
#include "GameFramework/PlayerController.h"
#include "GameFramework/SpringArmComponent.h"
#include "HostEditorSupport/AnimSequenceAccess.h"
#include "K2Node_DynamicCast.h"
#include "Kismet2/KismetEditorUtilities.h"
#include "Misc/PackageName.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace HostEditor
{
	namespace
	{
		FName AssetName(const FString& PackageName)
		{
			return FName(*FPackageName::GetLongPackageAssetName(PackageName));
		}

		UPackage* NewPackage(const FString& PackageName, FString& OutError)
		{
			if (FindPackage(nullptr, *PackageName) || FPackageName::DoesPackageExist(PackageName))
			{
				OutError = FString::Printf(TEXT("%s exists already"), *PackageName);
				return nullptr;
			}
			return CreatePackage(*PackageName);
		}

		UBlueprint* NewBlueprint(UClass* Parent, const FString& PackageName, FString& OutError, TSubclassOf<UBlueprint> Type = UBlueprint::StaticClass(),
			TSubclassOf<UBlueprintGeneratedClass> ClassType = UBlueprintGeneratedClass::StaticClass())
		{
			UPackage* Package = NewPackage(PackageName, OutError);
			return Package ? FKismetEditorUtilities::CreateBlueprint(Parent, Package, AssetName(PackageName), BPTYPE_Normal, Type, ClassType) : nullptr;
		}

		UAnimSequence* NewClip(const FString& PackageName, USkeleton* Skeleton, int32 Frames, FString& OutError)
		{
			UPackage* Package = NewPackage(PackageName, OutError);
			if (!Package)
			{
				return nullptr;
			}
			UAnimSequence* Clip = NewObject<UAnimSequence>(Package, AssetName(PackageName), EObjectFlags(RF_Public | RF_Standalone | RF_Transactional));
			Clip->SetSkeleton(Skeleton);
			// The root at rest for the clip's length: the template's clips are stand-ins for motion.
			FRawAnimSequenceTrack Track;
			for (int32 Key = 0; Key <= Frames; ++Key)
			{
				Track.PosKeys.Add(FVector::ZeroVector);
				Track.RotKeys.Add(FQuat::Identity);
				Track.ScaleKeys.Add(FVector::OneVector);
			}
			FAnimSequenceAccess::SetData(*Clip, FFrameRate(30, 1), Frames + 1, {Skeleton->GetReferenceSkeleton().GetBoneName(0)}, {Track});
			return Clip;
		}

		template <typename T>
		T* NewNode(UEdGraph* Graph, const TCHAR* Name, int32 X, int32 Y)
		{
			T* Node = NewObject<T>(Graph, FName(Name), RF_Transactional);
			Node->NodePosX = X;
			Node->NodePosY = Y;
			Graph->AddNode(Node);
			Node->AllocateDefaultPins();
			return Node;
		}

		void Link(UEdGraphNode* From, const TCHAR* FromPin, UEdGraphNode* To, const TCHAR* ToPin)
		{
			From->FindPinChecked(FName(FromPin), EGPD_Output)->MakeLinkTo(To->FindPinChecked(FName(ToPin), EGPD_Input));
		}
	}

	TArray<FString> MakeThirdPersonGameplayTemplates(USkeletalMesh* Mesh, FString& OutError)
	{
		OutError.Reset();
		USkeleton* Skeleton = Mesh ? Mesh->GetSkeleton() : nullptr;
		if (!Skeleton)
		{
			OutError = TEXT("the templates need a mesh with a Skeleton");
			return {};
		}
		using namespace ThirdPersonTemplate;
		const FString Clips = ClipFolder;
		UAnimSequence* Idle = NewClip(Clips + TEXT("/MM_Idle"), Skeleton, 60, OutError);
		UAnimSequence* Walk = Idle ? NewClip(Clips + TEXT("/MM_Walk_Fwd"), Skeleton, 32, OutError) : nullptr;
		UAnimSequence* Run = Walk ? NewClip(Clips + TEXT("/MM_Run_Fwd"), Skeleton, 20, OutError) : nullptr;
		if (!Run)
		{
			return {};
		}

		UPackage* BlendSpacePackage = NewPackage(BlendSpacePath, OutError);
		if (!BlendSpacePackage)
		{
			return {};
		}
		UBlendSpace1D* BlendSpace = NewObject<UBlendSpace1D>(BlendSpacePackage, AssetName(BlendSpacePath), EObjectFlags(RF_Public | RF_Standalone | RF_Transactional));
		BlendSpace->SetSkeleton(Skeleton);
		FProperty* Axes = UBlendSpace::StaticClass()->FindPropertyByName(FName(TEXT("BlendParameters")));
		FBlendParameter* Speed = Axes->ContainerPtrToValuePtr<FBlendParameter>(BlendSpace, 0);
		Speed->DisplayName = TEXT("Speed");
		Speed->Min = 0.0f;
		Speed->Max = 500.0f;
		Speed->GridNum = 4;
		BlendSpace->AddSample(Idle, FVector(0, 0, 0));
		BlendSpace->AddSample(Walk, FVector(200, 0, 0));
		BlendSpace->AddSample(Run, FVector(500, 0, 0));
		BlendSpace->ValidateSampleData();
		BlendSpace->ResampleData();

		UAnimBlueprint* Anim = Cast<UAnimBlueprint>(NewBlueprint(UAnimInstance::StaticClass(), AnimBlueprintPath, OutError, UAnimBlueprint::StaticClass(), UAnimBlueprintGeneratedClass::StaticClass()));
		if (!Anim)
		{
			return {};
		}
		Anim->TargetSkeleton = Skeleton;
		Anim->SetPreviewMesh(Mesh);
		UEdGraph* EventGraph = NewObject<UEdGraph>(Anim, FName(TEXT("EventGraph")), RF_Transactional);
		Anim->UbergraphPages.Add(EventGraph);
		UAnimationGraph* AnimGraph = NewObject<UAnimationGraph>(Anim, FName(TEXT("AnimGraph")), RF_Transactional);
		Anim->FunctionGraphs.Add(AnimGraph);
		UAnimGraphNode_BlendSpacePlayer* Locomotion = NewNode<UAnimGraphNode_BlendSpacePlayer>(AnimGraph, TEXT("AnimGraphNode_BlendSpacePlayer_0"), -600, 0);
		Locomotion->Node.SetBlendSpace(BlendSpace);
		UAnimGraphNode_ControlRig* Rig = NewNode<UAnimGraphNode_ControlRig>(AnimGraph, TEXT("AnimGraphNode_ControlRig_0"), -300, 0);
		UAnimGraphNode_Root* Output = NewNode<UAnimGraphNode_Root>(AnimGraph, TEXT("AnimGraphNode_Root_0"), 0, 0);
		Link(Locomotion, TEXT("Pose"), Rig, TEXT("Source"));
		Link(Rig, TEXT("Pose"), Output, TEXT("Result"));

		UBlueprint* Character = NewBlueprint(ACharacter::StaticClass(), CharacterPath, OutError);
		UBlueprint* Controller = Character ? NewBlueprint(APlayerController::StaticClass(), PlayerControllerPath, OutError) : nullptr;
		UBlueprint* GameMode = Controller ? NewBlueprint(AGameModeBase::StaticClass(), GameModePath, OutError) : nullptr;
		if (!GameMode)
		{
			return {};
		}
		UK2Node_DynamicCast* CastToCharacter = NewObject<UK2Node_DynamicCast>(EventGraph, FName(TEXT("K2Node_DynamicCast_0")), RF_Transactional);
		EventGraph->AddNode(CastToCharacter);
		CastToCharacter->TargetType = Character->GeneratedClass.Get();
		CastToCharacter->AllocateDefaultPins();
		FKismetEditorUtilities::CompileBlueprint(Anim);

		ACharacter* Defaults = Character->GeneratedClass->GetDefaultObject<ACharacter>();
		Defaults->GetCapsuleComponent()->SetCapsuleSize(35.0f, 90.0f);
		USkeletalMeshComponent* MeshComponent = Defaults->GetMesh();
		MeshComponent->SetSkeletalMeshAsset(Mesh);
		MeshComponent->SetAnimationMode(EAnimationMode::AnimationBlueprint);
		MeshComponent->SetAnimInstanceClass(Anim->GeneratedClass);
		MeshComponent->SetRelativeLocation(FVector(0, 0, -89));
		MeshComponent->SetRelativeRotation(FRotator(0, -90, 0));
		UCharacterMovementComponent* Movement = Defaults->GetCharacterMovement();
		Movement->GravityScale = 1.0f;
		Movement->MaxStepHeight = 45.0f;
		Movement->JumpZVelocity = 500.0f;
		Movement->SetCrouchedHalfHeight(40.0f);
		Movement->MaxWalkSpeed = 600.0f;
		Movement->MaxWalkSpeedCrouched = 300.0f;
		Movement->MaxSwimSpeed = 300.0f;
		Movement->MaxFlySpeed = 600.0f;
		Movement->MaxAcceleration = 1500.0f;
		Movement->MinAnalogWalkSpeed = 20.0f;
		Movement->BrakingDecelerationWalking = 2000.0f;
		USCS_Node* Boom = Character->SimpleConstructionScript->CreateNode(USpringArmComponent::StaticClass(), FName(TEXT("CameraBoom")));
		Character->SimpleConstructionScript->AddNode(Boom);
		Cast<USpringArmComponent>(Boom->ComponentTemplate)->TargetArmLength = 400.0f;
		FKismetEditorUtilities::CompileBlueprint(Character);

		AGameModeBase* GameModeDefaults = GameMode->GeneratedClass->GetDefaultObject<AGameModeBase>();
		GameModeDefaults->DefaultPawnClass = Character->GeneratedClass.Get();
		GameModeDefaults->PlayerControllerClass = Controller->GeneratedClass.Get();
		FKismetEditorUtilities::CompileBlueprint(GameMode);
		FKismetEditorUtilities::CompileBlueprint(Controller);

		const TArray<UObject*> Assets = {Idle, Walk, Run, BlendSpace, Anim, Character, Controller, GameMode};
		TArray<UPackage*> Packages;
		TArray<FString> Paths;
		for (UObject* Asset : Assets)
		{
			if (Asset->IsA<UBlueprint>() && Cast<UBlueprint>(Asset)->Status == BS_Error)
			{
				OutError = FString::Printf(TEXT("%s does not compile"), *Asset->GetPathName());
				return {};
			}
			Asset->MarkPackageDirty();
			Packages.Add(Asset->GetPackage());
			Paths.Add(Asset->GetPathName());
		}
		if (!UEditorLoadingAndSavingUtils::SavePackages(Packages, false))
		{
			OutError = TEXT("the template packages could not be saved");
			return {};
		}
		return Paths;
	}
}
