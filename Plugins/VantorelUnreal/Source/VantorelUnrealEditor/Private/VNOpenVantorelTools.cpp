// Opening the Vantorel tools: the target mesh, the tool script and the tools tab.

#include "ContentBrowserModule.h"
#include "Engine/SkeletalMesh.h"
#include "IContentBrowserSingleton.h"
#include "Modules/ModuleManager.h"
#include "Templates/Casts.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNToolScriptHost.h"
#include "VantorelUnrealEditorLog.h"
#include "VantorelToolsTab.h"
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
}

void UVNFaceSDKImportLibrary::OpenVantorelTools(const FString& SourceFile, bool bIncludeFaceSolver, bool bIncludeRetargetingOptions, const FString& TargetSkeletalMeshPath, const FString& FaceJsonFile)
{
	FVantorelToolsWindowState& Window = FVantorelToolsWindowState::Get();
	Window.SourceFile = SourceFile;
	Window.bIncludeFaceSolver = bIncludeFaceSolver;
	Window.bIncludeRetargetingOptions = bIncludeRetargetingOptions;
	Window.ChosenMesh = nullptr;

	if (!TargetSkeletalMeshPath.IsEmpty())
	{
		Window.ChosenMesh = ResolveSkeletalMesh(TargetSkeletalMeshPath);
	}
	if (!Window.ChosenMesh.IsValid())
	{
		Window.ChosenMesh = SelectedSkeletalMesh();
	}
	UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel tools target SkeletalMesh path: '%s' resolved: %s"),
		*TargetSkeletalMeshPath, Window.ChosenMesh.IsValid() ? TEXT("yes") : TEXT("no"));

	VantorelToolScriptHost::LoadToolScript(SourceFile, bIncludeFaceSolver, FaceJsonFile);

	VantorelToolsTab::RegisterTabSpawner();
	VantorelToolsTab::InvokeTab();
}
