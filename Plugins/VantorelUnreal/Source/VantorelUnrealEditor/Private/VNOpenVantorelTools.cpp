// Opening the Vantorel tools: the target mesh, the tool script and the tools tab.

#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "ContentBrowserModule.h"
#include "Engine/Blueprint.h"
#include "Engine/SkeletalMesh.h"
#include "IContentBrowserSingleton.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "Templates/Casts.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNToolScriptHost.h"
#include "VantorelUnrealEditorLog.h"
#include "VantorelToolsTab.h"
#include "VantorelToolsSettings.h"
#include "VantorelToolsWindowState.h"

namespace
{
	/** The skeletal mesh at an object path, loading it when needed; null for anything else. */
	USkeletalMesh* ResolveSkeletalMesh(const FString& ObjectPath)
	{
		if (USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, *ObjectPath, nullptr, LOAD_NoWarn))
		{
			return Mesh;
		}
		return Cast<USkeletalMesh>(FSoftObjectPath(ObjectPath).TryLoad());
	}

	/** The first skeletal mesh selected in the Content Browser, or null. */
	USkeletalMesh* SelectedSkeletalMesh()
	{
		if (!FModuleManager::Get().ModuleExists(TEXT("ContentBrowser")))
		{
			return nullptr;
		}
		FContentBrowserModule& ContentBrowser = FModuleManager::LoadModuleChecked<FContentBrowserModule>(TEXT("ContentBrowser"));
		TArray<FAssetData> Selected;
		ContentBrowser.Get().GetSelectedAssets(Selected);
		for (const FAssetData& Asset : Selected)
		{
			if (Asset.AssetClassPath.GetAssetName() == USkeletalMesh::StaticClass()->GetFName())
			{
				return Cast<USkeletalMesh>(Asset.GetAsset());
			}
		}
		return nullptr;
	}

	/**
	 * The project's third-person character blueprint: the first Blueprint asset (sub-classes included)
	 * named BP_ThirdPersonCharacter, else BP_FirstPersonCharacter, else BP_TopDownCharacter, in the
	 * registry's order; empty when there is none.
	 */
	FSoftObjectPath FindCharacterBlueprint()
	{
		if (!FModuleManager::Get().ModuleExists(TEXT("AssetRegistry")))
		{
			return FSoftObjectPath();
		}
		const IAssetRegistry& Registry = FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
		TArray<FAssetData> Blueprints;
		Registry.GetAssetsByClass(UBlueprint::StaticClass()->GetClassPathName(), Blueprints, true);
		for (const TCHAR* Name : {TEXT("BP_ThirdPersonCharacter"), TEXT("BP_FirstPersonCharacter"), TEXT("BP_TopDownCharacter")})
		{
			for (const FAssetData& Blueprint : Blueprints)
			{
				if (Blueprint.AssetName == FName(Name))
				{
					return FSoftObjectPath(Blueprint.GetObjectPathString());
				}
			}
		}
		return FSoftObjectPath();
	}

	/** The face JSON the tools start with: the one given, else "<Source>_FaceRig.json" beside the source file. */
	FString DeriveFaceJsonFile(const FString& SourceFile, const FString& FaceJsonFile)
	{
		if (!FaceJsonFile.IsEmpty())
		{
			return FaceJsonFile;
		}
		if (SourceFile.IsEmpty())
		{
			return FString();
		}
		return FPaths::Combine(FPaths::GetPath(SourceFile), FPaths::GetBaseFilename(SourceFile) + TEXT("_FaceRig.json"));
	}

	/** The body JSON beside the face JSON ("Hero_FaceRig.json" gives "Hero_BodyRig.json"), or beside the source file. */
	FString DeriveBodyJsonFile(const FString& SourceFile, const FString& FaceJsonFile)
	{
		if (FaceJsonFile.IsEmpty())
		{
			return SourceFile.IsEmpty() ? FString() : FPaths::Combine(FPaths::GetPath(SourceFile), FPaths::GetBaseFilename(SourceFile) + TEXT("_BodyRig.json"));
		}
		const FString BaseName = FPaths::GetBaseFilename(FaceJsonFile);
		FString BodyName = BaseName.Replace(TEXT("_FaceRig"), TEXT("_BodyRig"), ESearchCase::IgnoreCase);
		if (BodyName.Equals(BaseName, ESearchCase::IgnoreCase))
		{
			BodyName += TEXT("_BodyRig");
		}
		return FPaths::Combine(FPaths::GetPath(FaceJsonFile), BodyName + TEXT(".json"));
	}
}

void UVNFaceSDKImportLibrary::OpenVantorelTools(const FString& SourceFile, bool bIncludeFaceSolver, bool bIncludeRetargetingOptions, const FString& TargetSkeletalMeshPath, const FString& FaceJsonFile)
{
	FVantorelToolsWindowState& Window = FVantorelToolsWindowState::Get();
	Window.SourceFile = SourceFile;
	Window.bIncludeFaceSolver = bIncludeFaceSolver;
	Window.bIncludeRetargetingOptions = bIncludeRetargetingOptions;

	USkeletalMesh* Mesh = TargetSkeletalMeshPath.IsEmpty() ? nullptr : ResolveSkeletalMesh(TargetSkeletalMeshPath);
	if (!Mesh)
	{
		Mesh = SelectedSkeletalMesh();
	}
	UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel tools target SkeletalMesh path: '%s' resolved: %s"),
		*TargetSkeletalMeshPath, Mesh ? TEXT("yes") : TEXT("no"));

	// What each opening starts afresh: both sections' mesh and mode, the files, the options as saved.
	Window.Mannequin.Mesh = Mesh ? FSoftObjectPath(Mesh) : FSoftObjectPath();
	Window.Standard.Mesh = Window.Mannequin.Mesh;
	Window.Mannequin.Mode = TEXT("Body");
	Window.Standard.Mode = TEXT("Body");
	Window.BodyTemplateFile = FPaths::ConvertRelativePathToFull(FPaths::Combine(FPaths::RootDir(), TEXT("Templates/TemplateResources/High/Characters/Content/Mannequins/Rigs/CR_Mannequin_Body.uasset")));
	const FString DerivedFaceJson = DeriveFaceJsonFile(SourceFile, FaceJsonFile);
	Window.Mannequin.FaceJsonFile = DerivedFaceJson;
	Window.Standard.FaceJsonFile = DerivedFaceJson;
	Window.BodyJsonFile = DeriveBodyJsonFile(SourceFile, DerivedFaceJson);
	VantorelToolsSettings::LoadBuildOptions(Window);
	// Looked up here only: a blueprint made later enables "Set Character" once the tools are opened again.
	Window.CharacterBlueprint = FindCharacterBlueprint();

	VantorelToolScriptHost::LoadToolScript(SourceFile, bIncludeFaceSolver, FaceJsonFile);

	VantorelToolsTab::RegisterTabSpawner();
	VantorelToolsTab::InvokeTab();
}
