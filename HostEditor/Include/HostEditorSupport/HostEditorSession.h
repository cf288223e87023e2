// Stand-in only: starting the headless editor on a project folder and the few things a user
// would do by hand (select assets, import a skeletal mesh), for tests and the host program.
#pragma once

#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "HostEditorSupport/MessageDialogLog.h"

class USkeletalMesh;

namespace HostEditor
{
	/**
	 * Starts the editor on a project folder, or restarts it: creates the project's Content,
	 * Intermediate, Saved and Plugins folders when missing, unloads every asset package (so
	 * assets load from disk again), clears the message boxes, the selection and the captured log,
	 * points the project paths at the folder, discovers the plug-ins of its Plugins folder and of
	 * PluginDirectories, and loads their modules in loading-phase order. Returns false with
	 * OutError when the folder cannot be made or a plug-in module does not load.
	 */
	UNREALED_API bool StartEditor(const FString& ProjectDir, const TArray<FString>& PluginDirectories, FString& OutError);

	/** True once StartEditor has run. */
	UNREALED_API bool IsEditorStarted();

	/** Selects these assets in the Content Browser, replacing the selection. */
	UNREALED_API void SelectAssets(const TArray<FString>& ObjectPaths);

	/** The log lines written since the editor was (re)started. */
	UNREALED_API const TArray<FLogLine>& GetLogLines();

	/** One bone of a skeletal mesh to create: parents come before their children. */
	struct FBoneDescription
	{
		FName Name;
		/** NAME_None for the root bone. */
		FName ParentName;
		FTransform LocalTransform = FTransform::Identity;
	};

	/**
	 * Creates and saves a skeletal mesh asset at PackagePath ("/Game/Characters/SK_Hero") and its
	 * skeleton beside it ("/Game/Characters/SK_Hero_Skeleton"), both with the bones as their
	 * reference skeleton, FBX import data holding ImportUniformScale and ImportedBounds as the
	 * mesh's imported bounds, as importing an FBX would. Returns null with OutError when the path is taken or invalid or the bones do not
	 * form one tree.
	 */
	UNREALED_API USkeletalMesh* CreateSkeletalMesh(const FString& PackagePath, const TArray<FBoneDescription>& Bones, float ImportUniformScale, FString& OutError, const FBoxSphereBounds& ImportedBounds = FBoxSphereBounds(ForceInit));
}
