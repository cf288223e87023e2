// The playable third-person setup: the template's five assets copied next to the mesh and rewired to
// it, its clips imported and matched to the template's locomotion samples, its size compensated.

#include "VNGameplayAssets.h"

#include "AnimGraphNode_Base.h"
#include "AnimGraphNode_ControlRig.h"
#include "Animation/AnimBlueprint.h"
#include "Animation/AnimSequence.h"
#include "Animation/BlendSpace.h"
#include "AssetImportTask.h"
#include "AssetToolsModule.h"
#include "Components/SkeletalMeshComponent.h"
#include "ContentBrowserModule.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraphSchema_K2.h"
#include "Editor.h"
#include "Engine/Blueprint.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "Factories/FbxImportUI.h"
#include "GameFramework/Character.h"
#include "GameFramework/GameModeBase.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "GameFramework/WorldSettings.h"
#include "HAL/FileManager.h"
#include "IContentBrowserSingleton.h"
#include "K2Node_DynamicCast.h"
#include "Kismet2/BlueprintEditorUtils.h"
#include "Kismet2/KismetEditorUtilities.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "ObjectTools.h"
#include "Serialization/ArchiveReplaceObjectRef.h"
#include "Subsystems/AssetEditorSubsystem.h"
#include "UObject/Package.h"
#include "UObject/SavePackage.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNGameplayClipMatching.h"
#include "VNMannequinScale.h"
#include "VantorelUnrealEditorLog.h"

namespace VantorelGameplayAssets
{
	namespace
	{
		/** One template asset: its name, object path and class. */
		struct FTemplateAsset
		{
			const TCHAR* Name;
			const TCHAR* ObjectPath;
			UClass* (*Class)();
		};

		enum ETemplate
		{
			CharacterTemplate,
			GameModeTemplate,
			PlayerControllerTemplate,
			AnimBlueprintTemplate,
			BlendSpaceTemplate,
			TemplateCount,
		};

		const FTemplateAsset Templates[TemplateCount] = {
			{TEXT("BP_ThirdPersonCharacter"), TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter.BP_ThirdPersonCharacter"), &UBlueprint::StaticClass},
			{TEXT("BP_ThirdPersonGameMode"), TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonGameMode.BP_ThirdPersonGameMode"), &UBlueprint::StaticClass},
			{TEXT("BP_ThirdPersonPlayerController"), TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonPlayerController.BP_ThirdPersonPlayerController"), &UBlueprint::StaticClass},
			{TEXT("ABP_Unarmed"), TEXT("/Game/Characters/Mannequins/Anims/Unarmed/ABP_Unarmed.ABP_Unarmed"), &UAnimBlueprint::StaticClass},
			{TEXT("BS_Idle_Walk_Run"), TEXT("/Game/Characters/Mannequins/Anims/Unarmed/BS_Idle_Walk_Run.BS_Idle_Walk_Run"), &UBlendSpace::StaticClass},
		};

		/** The engine's template content, mounted only while the templates load: mount point and folder under the engine's root. */
		const TPair<const TCHAR*, const TCHAR*> TemplateRoots[] = {
			{TEXT("/Game/ThirdPerson/"), TEXT("Templates/TP_ThirdPersonBP/Content/ThirdPerson/")},
			{TEXT("/Game/Characters/"), TEXT("Templates/TemplateResources/High/Characters/Content/")},
			{TEXT("/Game/Input/"), TEXT("Templates/TemplateResources/High/Input/Content/")},
		};

		FCreationResult Fail(const FString& Message)
		{
			return FCreationResult{false, Message};
		}

		FString ObjectPathOf(const FString& Folder, const FString& Name)
		{
			return Folder + TEXT("/") + Name + TEXT(".") + Name;
		}

		UObject* LoadQuietly(UClass* Class, const FString& ObjectPath)
		{
			return StaticLoadObject(Class, nullptr, *ObjectPath, nullptr, LOAD_NoWarn | LOAD_Quiet);
		}

		/** Loads the templates that are not loaded yet, and says whether all are now. */
		bool LoadMissingTemplates(UObject* (&Loaded)[TemplateCount])
		{
			bool bAll = true;
			for (int32 Index = 0; Index < TemplateCount; ++Index)
			{
				if (!Loaded[Index])
				{
					UObject* Object = LoadQuietly(Templates[Index].Class(), Templates[Index].ObjectPath);
					Loaded[Index] = Object && Object->IsA(Templates[Index].Class()) ? Object : nullptr;
				}
				bAll &= Loaded[Index] != nullptr;
			}
			return bAll;
		}

		/** The templates from the project; those it lacks from the engine's template content. */
		bool LoadTemplates(UObject* (&Loaded)[TemplateCount], FString& OutMissing)
		{
			if (!LoadMissingTemplates(Loaded))
			{
				TArray<TPair<FString, FString>> Mounted;
				for (const TPair<const TCHAR*, const TCHAR*>& Root : TemplateRoots)
				{
					const FString Folder = FPaths::ConvertRelativePathToFull(FPaths::Combine(FPaths::RootDir(), Root.Value));
					if (IFileManager::Get().DirectoryExists(*Folder))
					{
						FPackageName::RegisterMountPoint(Root.Key, Folder);
						Mounted.Add(TPair<FString, FString>(Root.Key, Folder));
					}
				}
				LoadMissingTemplates(Loaded);
				for (int32 Index = Mounted.Num() - 1; Index >= 0; --Index)
				{
					FPackageName::UnRegisterMountPoint(Mounted[Index].Key, Mounted[Index].Value);
				}
			}
			TArray<FString> Missing;
			for (int32 Index = 0; Index < TemplateCount; ++Index)
			{
				if (!Loaded[Index])
				{
					Missing.Add(Templates[Index].Name);
				}
			}
			OutMissing = FString::Join(Missing, TEXT(", "));
			return Missing.IsEmpty();
		}

		/** Deletes the results of an earlier run; false with the message when some stay. */
		bool DeleteEarlierResults(const FString& Folder, const FAssetNames& Names, FString& OutMessage)
		{
			TArray<UObject*> Existing;
			UBlueprint* OldGameMode = nullptr;
			for (const FString* Name : {&Names.BlendSpace, &Names.AnimBlueprint, &Names.Character, &Names.PlayerController, &Names.GameMode})
			{
				if (UObject* Object = LoadQuietly(UObject::StaticClass(), ObjectPathOf(Folder, *Name)))
				{
					Existing.AddUnique(Object);
					OldGameMode = Name == &Names.GameMode ? Cast<UBlueprint>(Object) : OldGameMode;
				}
			}
			if (Existing.IsEmpty())
			{
				return true;
			}
			UAssetEditorSubsystem* Editors = GEditor ? GEditor->GetEditorSubsystem<UAssetEditorSubsystem>() : nullptr;
			for (UObject* Object : Existing)
			{
				if (Editors)
				{
					Editors->CloseAllEditorsForAsset(Object);
				}
			}
			// The level must not keep playing with a game mode that is about to go.
			UWorld* World = GEditor ? GEditor->GetEditorWorldContext().World() : nullptr;
			AWorldSettings* Settings = World ? World->GetWorldSettings() : nullptr;
			if (Settings && OldGameMode && OldGameMode->GeneratedClass && Settings->DefaultGameMode.Get() == OldGameMode->GeneratedClass.Get())
			{
				Settings->Modify();
				Settings->DefaultGameMode = nullptr;
			}
			const int32 Deleted = ObjectTools::ForceDeleteObjects(Existing, false);
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			if (Deleted < Existing.Num())
			{
				OutMessage = FString::Printf(TEXT("Could not replace all existing gameplay assets. Deleted %d of %d. Close any open asset editors and try again."), Deleted, Existing.Num());
				return false;
			}
			return true;
		}

		/** Every FBX file under the folder (any letter case), sorted by full path ignoring case. */
		TArray<FString> FindFbxFiles(const FString& Folder)
		{
			TArray<FString> Found;
			IFileManager::Get().FindFilesRecursive(Found, *Folder, TEXT("*"), true, false);
			TArray<FString> Files;
			for (const FString& File : Found)
			{
				if (FPaths::GetExtension(File).Equals(TEXT("fbx"), ESearchCase::IgnoreCase))
				{
					Files.Add(FPaths::ConvertRelativePathToFull(File));
				}
			}
			Files.Sort([](const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; });
			return Files;
		}

		/** Imports the files in one automated batch as animations of the Skeleton; the sequences made, in import order. */
		TArray<UAnimSequence*> ImportClips(const TArray<FString>& Files, const FString& ClipFolder, USkeleton* Skeleton)
		{
			TArray<UAssetImportTask*> Tasks;
			for (const FString& File : Files)
			{
				UFbxImportUI* Options = NewObject<UFbxImportUI>();
				Options->bImportMesh = false;
				Options->bImportAnimations = true;
				Options->bImportAsSkeletal = true;
				Options->bImportMaterials = false;
				Options->bImportTextures = false;
				Options->bAutomatedImportShouldDetectType = false;
				Options->MeshTypeToImport = FBXIT_Animation;
				Options->OriginalImportType = FBXIT_Animation;
				Options->Skeleton = Skeleton;
				UAssetImportTask* Task = NewObject<UAssetImportTask>();
				Task->Filename = File;
				Task->DestinationPath = ClipFolder;
				Task->bAutomated = true;
				Task->bReplaceExisting = true;
				Task->bSave = false;
				Task->Options = Options;
				Tasks.Add(Task);
			}
			FAssetToolsModule::GetModule().Get().ImportAssetTasks(Tasks);
			TArray<UAnimSequence*> Clips;
			for (const UAssetImportTask* Task : Tasks)
			{
				for (UObject* Object : Task->GetObjects())
				{
					if (UAnimSequence* Clip = Cast<UAnimSequence>(Object))
					{
						Clip->SetSkeleton(Skeleton);
						Clip->MarkPackageDirty();
						Clips.AddUnique(Clip);
					}
				}
			}
			return Clips;
		}

		TArray<UEdGraphNode*> AllNodes(const UBlueprint* Blueprint)
		{
			TArray<UEdGraph*> Graphs;
			Blueprint->GetAllGraphs(Graphs);
			TArray<UEdGraphNode*> Nodes;
			for (const UEdGraph* Graph : Graphs)
			{
				for (UEdGraphNode* Node : Graph->Nodes)
				{
					if (Node)
					{
						Nodes.Add(Node);
					}
				}
			}
			return Nodes;
		}

		/** The node's pose pin in Direction (an animation pose link). */
		UEdGraphPin* PosePin(const UEdGraphNode* Node, EEdGraphPinDirection Direction)
		{
			for (UEdGraphPin* Pin : Node->Pins)
			{
				if (Pin->Direction == Direction && Pin->PinType.PinCategory == UEdGraphSchema_K2::PC_Struct)
				{
					return Pin;
				}
			}
			return nullptr;
		}

		/** Takes the node out of the pose chain: what fed its pose now feeds what it fed. */
		void BypassPoseNode(UEdGraphNode* Node)
		{
			UEdGraphPin* Input = PosePin(Node, EGPD_Input);
			UEdGraphPin* Output = PosePin(Node, EGPD_Output);
			const TArray<UEdGraphPin*> Sources = Input ? Input->LinkedTo : TArray<UEdGraphPin*>();
			const TArray<UEdGraphPin*> Targets = Output ? Output->LinkedTo : TArray<UEdGraphPin*>();
			if (Input)
			{
				Input->BreakAllPinLinks();
			}
			if (Output)
			{
				Output->BreakAllPinLinks();
			}
			for (UEdGraphPin* Source : Sources)
			{
				for (UEdGraphPin* Target : Targets)
				{
					Source->MakeLinkTo(Target);
				}
			}
			Node->DestroyNode();
		}

		/** Replaces references in each object by itself (not in what is inside it; those are listed too). */
		void ReplaceReferences(const TArray<UObject*>& Objects, const TMap<UObject*, UObject*>& Replacements)
		{
			for (UObject* Object : Objects)
			{
				if (Object)
				{
					FArchiveReplaceObjectRef<UObject> Walk(Object, Replacements, EArchiveReplaceObjectFlags::IgnoreOuterRef);
				}
			}
		}

		/** The object and everything inside it. */
		TArray<UObject*> WithInnerObjects(UObject* Object)
		{
			TArray<UObject*> Objects;
			if (Object)
			{
				Objects.Add(Object);
				TArray<UObject*> Inner;
				GetObjectsWithOuter(Object, Inner, true);
				Objects.Append(Inner);
			}
			return Objects;
		}

		bool SaveAsset(UObject* Asset)
		{
			UPackage* Package = Asset->GetPackage();
			Package->MarkPackageDirty();
			const FString Filename = FPackageName::LongPackageNameToFilename(Package->GetName(), FPackageName::GetAssetPackageExtension());
			FSavePackageArgs Args;
			Args.TopLevelFlags = EObjectFlags(RF_Public | RF_Standalone);
			return UPackage::SavePackage(Package, Asset, *Filename, Args);
		}
	}

	UObject* DuplicateTemplate(UObject* Template, UClass* ExpectedClass, const FString& Folder, const FString& Name, FString& OutError)
	{
		const FString ObjectPath = ObjectPathOf(Folder, Name);
		if (UObject* Existing = LoadQuietly(UObject::StaticClass(), ObjectPath))
		{
			if (Existing->IsA(ExpectedClass))
			{
				return Existing;
			}
			OutError = FString::Printf(TEXT("An asset already exists at %s, but it has the wrong type."), *ObjectPath);
			return nullptr;
		}
		UObject* Copy = FAssetToolsModule::GetModule().Get().DuplicateAsset(Name, Folder, Template);
		if (!Copy || !Copy->IsA(ExpectedClass))
		{
			OutError = FString::Printf(TEXT("Could not duplicate %s to %s/%s."), *Template->GetName(), *Folder, *Name);
			return nullptr;
		}
		return Copy;
	}

	FCreationResult CreateStandardGameplayAssets(USkeletalMesh* Mesh, const FString& FbxFolder, int32 SizeCompensationMode, bool bInteractive)
	{
		using VantorelMannequinScale::ESizeCompensation;
		if (!Mesh)
		{
			return Fail(TEXT("Choose a SkeletalMesh in Standard Exported first."));
		}
		if (FbxFolder.IsEmpty() || !IFileManager::Get().DirectoryExists(*FbxFolder))
		{
			return Fail(TEXT("Choose a valid FBX Anims folder first."));
		}
		USkeleton* Skeleton = Mesh->GetSkeleton();
		if (!Skeleton)
		{
			return Fail(TEXT("The selected SkeletalMesh has no Skeleton asset."));
		}
		const TStrongObjectPtr<USkeletalMesh> KeepMesh(Mesh);

		const FString Folder = FPackageName::GetLongPackagePath(Mesh->GetPackage()->GetName());
		const FString ClipFolder = Folder + TEXT("/Anims");
		const FAssetNames Names = MakeAssetNames(Mesh->GetName());

		FString Message;
		if (!DeleteEarlierResults(Folder, Names, Message))
		{
			return Fail(Message);
		}

		UObject* Loaded[TemplateCount] = {};
		FString Missing;
		if (!LoadTemplates(Loaded, Missing))
		{
			return Fail(TEXT("Could not load the Unreal Engine mannequin template assets: ") + Missing + TEXT(". Verify that the UE Third Person templates are installed for this engine version."));
		}
		UBlueprint* TemplateCharacter = Cast<UBlueprint>(Loaded[CharacterTemplate]);
		UBlueprint* TemplateGameMode = Cast<UBlueprint>(Loaded[GameModeTemplate]);
		UBlueprint* TemplateController = Cast<UBlueprint>(Loaded[PlayerControllerTemplate]);
		UAnimBlueprint* TemplateAnim = Cast<UAnimBlueprint>(Loaded[AnimBlueprintTemplate]);
		UBlendSpace* TemplateBlendSpace = Cast<UBlendSpace>(Loaded[BlendSpaceTemplate]);

		const TArray<FString> Files = FindFbxFiles(FbxFolder);
		if (Files.IsEmpty())
		{
			return Fail(FString::Printf(TEXT("No FBX files were found in %s."), *FbxFolder));
		}
		const TArray<UAnimSequence*> Clips = ImportClips(Files, ClipFolder, Skeleton);
		if (Clips.IsEmpty())
		{
			return Fail(TEXT("The FBX import completed without creating any Animation Sequence assets."));
		}
		TArray<FString> ClipNames;
		for (const UAnimSequence* Clip : Clips)
		{
			ClipNames.Add(Clip->GetName());
		}

		// The BlendSpace: the template's samples play the character's clips.
		UBlendSpace* BlendSpace = Cast<UBlendSpace>(DuplicateTemplate(TemplateBlendSpace, UBlendSpace::StaticClass(), Folder, Names.BlendSpace, Message));
		if (!BlendSpace)
		{
			return Fail(Message);
		}
		if (BlendSpace->GetNumberOfBlendSamples() != TemplateBlendSpace->GetNumberOfBlendSamples())
		{
			return Fail(FString::Printf(TEXT("%s already exists, but its sample layout no longer matches BS_Idle_Walk_Run."), *Names.BlendSpace));
		}
		BlendSpace->SetSkeleton(Skeleton);
		TMap<UAnimationAsset*, UAnimationAsset*> Remap;
		TArray<FString> Unmatched;
		for (int32 Index = 0; Index < TemplateBlendSpace->GetNumberOfBlendSamples(); ++Index)
		{
			UAnimSequence* TemplateClip = TemplateBlendSpace->GetBlendSample(Index).Animation;
			const int32 Best = FindBestClip(TemplateClip ? TemplateClip->GetName() : FString(), ClipNames);
			if (Best != INDEX_NONE && BlendSpace->ReplaceSampleAnimation(Index, Clips[Best]))
			{
				if (TemplateClip)
				{
					Remap.Add(TemplateClip, Clips[Best]);
				}
				continue;
			}
			Unmatched.Add(TemplateClip ? TemplateClip->GetName() : FString::Printf(TEXT("Sample %d"), Index));
		}
		if (!Unmatched.IsEmpty())
		{
			return Fail(TEXT("Could not match imported FBX clips to these BS_Idle_Walk_Run samples: ") + FString::Join(Unmatched, TEXT(", ")) + TEXT(". Include clearly named Idle, Walk, and Run FBX clips."));
		}
		if (SizeCompensationMode == (int32)ESizeCompensation::ScaleGameplayValues)
		{
			VantorelMannequinScale::ScaleBlendSpaceSpeeds(Mesh, TemplateBlendSpace, BlendSpace);
		}
		BlendSpace->ValidateSampleData();
		BlendSpace->ResampleData();
		BlendSpace->MarkPackageDirty();

		// What the animation blueprint's nodes play: the template's BlendSpace and clips become the character's.
		Remap.Add(TemplateBlendSpace, BlendSpace);
		for (UEdGraphNode* Node : AllNodes(TemplateAnim))
		{
			if (const UAnimGraphNode_Base* AnimNode = Cast<UAnimGraphNode_Base>(Node))
			{
				TArray<UAnimationAsset*> Referred;
				AnimNode->GetAllAnimationSequencesReferred(Referred);
				for (UAnimationAsset* Asset : Referred)
				{
					if (Remap.Contains(Asset) || !Asset->IsA<UAnimSequence>())
					{
						continue;
					}
					const int32 Best = FindBestClip(Asset->GetName(), ClipNames);
					if (Best != INDEX_NONE)
					{
						Remap.Add(Asset, Clips[Best]);
					}
				}
			}
		}

		UAnimBlueprint* Anim = Cast<UAnimBlueprint>(DuplicateTemplate(TemplateAnim, UAnimBlueprint::StaticClass(), Folder, Names.AnimBlueprint, Message));
		if (!Anim)
		{
			return Fail(Message);
		}
		Anim->TargetSkeleton = Skeleton;
		Anim->SetPreviewMesh(Mesh);
		for (UEdGraphNode* Node : AllNodes(Anim))
		{
			if (UAnimGraphNode_Base* AnimNode = Cast<UAnimGraphNode_Base>(Node))
			{
				AnimNode->ReplaceReferredAnimations(Remap);
			}
		}
		FBlueprintEditorUtils::MarkBlueprintAsStructurallyModified(Anim);
		FKismetEditorUtilities::CompileBlueprint(Anim);
		if (Anim->Status == BS_Error)
		{
			return Fail(FString::Printf(TEXT("%s was created, but it did not compile after animation remapping."), *Names.AnimBlueprint));
		}

		// The character, and the animation blueprint pointed at it instead of the template's.
		UBlueprint* Character = Cast<UBlueprint>(DuplicateTemplate(TemplateCharacter, UBlueprint::StaticClass(), Folder, Names.Character, Message));
		if (!Character)
		{
			return Fail(Message);
		}
		UClass* TemplateCharacterClass = TemplateCharacter->GeneratedClass;
		UClass* CharacterClass = Character->GeneratedClass;
		TArray<UK2Node_DynamicCast*> Casts;
		TArray<UEdGraphNode*> RigNodes;
		for (UEdGraphNode* Node : AllNodes(Anim))
		{
			UK2Node_DynamicCast* CastNode = Cast<UK2Node_DynamicCast>(Node);
			if (CastNode && TemplateCharacterClass && CastNode->TargetType.Get() == TemplateCharacterClass)
			{
				Casts.Add(CastNode);
			}
			if (Node->IsA<UAnimGraphNode_ControlRig>())
			{
				RigNodes.Add(Node);
			}
		}
		if (TemplateCharacterClass && CharacterClass)
		{
			TMap<UObject*, UObject*> ClassMap;
			ClassMap.Add(TemplateCharacterClass, CharacterClass);
			TArray<UObject*> Searched = {Anim, Anim->GeneratedClass.Get()};
			TArray<UEdGraph*> Graphs;
			Anim->GetAllGraphs(Graphs);
			for (UEdGraph* Graph : Graphs)
			{
				Searched.Add(Graph);
			}
			for (UEdGraphNode* Node : AllNodes(Anim))
			{
				Searched.Add(Node);
			}
			ReplaceReferences(Searched, ClassMap);
		}
		for (UK2Node_DynamicCast* CastNode : Casts)
		{
			CastNode->TargetType = CharacterClass;
			CastNode->ReconstructNode();
		}
		// The template's Control Rig nodes were made for the mannequin's skeleton: the pose passes them by.
		for (UEdGraphNode* Node : RigNodes)
		{
			BypassPoseNode(Node);
		}
		FBlueprintEditorUtils::MarkBlueprintAsStructurallyModified(Anim);
		FKismetEditorUtilities::CompileBlueprint(Anim);
		Anim->MarkPackageDirty();
		if (Anim->Status == BS_Error)
		{
			return Fail(FString::Printf(TEXT("%s was created, but it did not compile after character-reference remapping."), *Names.AnimBlueprint));
		}

		// The character shows the mesh, animated by the new animation blueprint, sized as chosen.
		if (ACharacter* Defaults = CharacterClass ? Cast<ACharacter>(CharacterClass->GetDefaultObject()) : nullptr)
		{
			USkeletalMeshComponent* MeshComponent = Defaults->GetMesh();
			USkeletalMesh* TemplateMesh = nullptr;
			const ACharacter* TemplateDefaults = TemplateCharacterClass ? Cast<ACharacter>(TemplateCharacterClass->GetDefaultObject()) : nullptr;
			if (TemplateDefaults && TemplateDefaults->GetMesh())
			{
				TemplateMesh = TemplateDefaults->GetMesh()->GetSkeletalMeshAsset();
			}
			if (MeshComponent)
			{
				MeshComponent->Modify();
				MeshComponent->SetSkeletalMeshAsset(Mesh);
				MeshComponent->SetAnimationMode(EAnimationMode::AnimationBlueprint);
				MeshComponent->SetAnimInstanceClass(Anim->GeneratedClass);
			}
			TMap<UObject*, UObject*> CharacterMap;
			if (TemplateAnim->GeneratedClass && Anim->GeneratedClass)
			{
				CharacterMap.Add(TemplateAnim->GeneratedClass.Get(), Anim->GeneratedClass.Get());
			}
			if (TemplateMesh)
			{
				CharacterMap.Add(TemplateMesh, Mesh);
			}
			TArray<UObject*> Searched = WithInnerObjects(Character);
			Searched.Append(WithInnerObjects(Defaults));
			ReplaceReferences(Searched, CharacterMap);
			if (SizeCompensationMode == (int32)ESizeCompensation::ScaleGameplayValues)
			{
				VantorelMannequinScale::ScaleCharacterGameplayValues(Mesh, Character);
			}
			else if (SizeCompensationMode == (int32)ESizeCompensation::MatchMannequinSize)
			{
				VantorelMannequinScale::MatchMannequinSize(Mesh, Character);
			}
			Character->MarkPackageDirty();
		}
		if (!Character->GeneratedClass)
		{
			return Fail(FString::Printf(TEXT("%s has an invalid parent class. Delete the previously generated asset and run Create again."), *Names.Character));
		}

		UBlueprint* Controller = Cast<UBlueprint>(DuplicateTemplate(TemplateController, UBlueprint::StaticClass(), Folder, Names.PlayerController, Message));
		if (!Controller)
		{
			return Fail(Message);
		}
		UBlueprint* GameMode = Cast<UBlueprint>(DuplicateTemplate(TemplateGameMode, UBlueprint::StaticClass(), Folder, Names.GameMode, Message));
		if (!GameMode)
		{
			return Fail(Message);
		}
		// A copy without a class cannot be played with; say which one rather than stopping silently.
		for (const UBlueprint* Copy : {Controller, GameMode})
		{
			if (!Copy->GeneratedClass)
			{
				return Fail(FString::Printf(TEXT("%s has an invalid parent class. Delete the previously generated asset and run Create again."), *Copy->GetName()));
			}
		}

		if (AGameModeBase* GameModeDefaults = Cast<AGameModeBase>(GameMode->GeneratedClass->GetDefaultObject()))
		{
			GameModeDefaults->Modify();
			GameModeDefaults->DefaultPawnClass = Character->GeneratedClass.Get();
			GameModeDefaults->PlayerControllerClass = Controller->GeneratedClass.Get();
		}
		FBlueprintEditorUtils::MarkBlueprintAsStructurallyModified(GameMode);
		FKismetEditorUtilities::CompileBlueprint(GameMode);
		GameMode->MarkPackageDirty();

		if (GEditor)
		{
			if (UWorld* World = GEditor->GetEditorWorldContext().World())
			{
				AWorldSettings* Settings = World->GetWorldSettings();
				Settings->Modify();
				Settings->DefaultGameMode = GameMode->GeneratedClass.Get();
				Settings->MarkPackageDirty();
			}
		}

		for (UAnimSequence* Clip : Clips)
		{
			if (!SaveAsset(Clip))
			{
				UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel Game Play: the clip %s could not be saved"), *Clip->GetPathName());
			}
		}
		bool bSaved = true;
		for (UObject* Asset : TArray<UObject*>{BlendSpace, Anim, Character, Controller, GameMode})
		{
			bSaved &= SaveAsset(Asset);
		}
		if (!bSaved)
		{
			return Fail(TEXT("The assets were created, but one or more packages could not be saved. Check source-control permissions and the Output Log."));
		}

		if (bInteractive && FModuleManager::Get().ModuleExists(TEXT("ContentBrowser")))
		{
			FContentBrowserModule& ContentBrowser = FModuleManager::LoadModuleChecked<FContentBrowserModule>(TEXT("ContentBrowser"));
			ContentBrowser.Get().SyncBrowserToAssets(TArray<UObject*>{Character, Anim, BlendSpace, Controller, GameMode});
		}

		return FCreationResult{true, FString::Printf(TEXT("Created %s, %s, %s, %s, and %s next to %s. Imported %d FBX animation clip(s) into %s, remapped the gameplay assets, and set the current level's GameMode Override so it is ready for Play."),
			*Names.Character, *Names.AnimBlueprint, *Names.BlendSpace, *Names.PlayerController, *Names.GameMode, *Mesh->GetName(), Clips.Num(), *ClipFolder)};
	}
}

bool UVNFaceSDKImportLibrary::CreateStandardGameplayAssetsForBatch(USkeletalMesh* SkeletalMesh, const FString& FbxAnimationsFolder, bool bMatchMannequinSize, FString& OutMessage)
{
	using VantorelMannequinScale::ESizeCompensation;
	const ESizeCompensation Mode = bMatchMannequinSize ? ESizeCompensation::MatchMannequinSize : ESizeCompensation::ScaleGameplayValues;
	const VantorelGameplayAssets::FCreationResult Result = VantorelGameplayAssets::CreateStandardGameplayAssets(SkeletalMesh, FbxAnimationsFolder, (int32)Mode, false);
	OutMessage = Result.Message;
	if (Result.bSuccess)
	{
		UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel batch Game Play: %s"), *Result.Message);
	}
	else
	{
		UE_LOG(LogVantorelUnrealEditor, Error, TEXT("Vantorel batch Game Play failed: %s"), *Result.Message);
	}
	return Result.bSuccess;
}
