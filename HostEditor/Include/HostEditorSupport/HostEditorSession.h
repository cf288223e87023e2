// Stand-in only: starting the headless editor on a project folder and the few things a user
// would do by hand (select assets, import a skeletal mesh), for tests and the host program.
#pragma once

#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "HostEditorSupport/MessageDialogLog.h"

class USkeletalMesh;
class UObject;

namespace HostEditor
{
	/**
	 * Starts the editor on a project folder, or restarts it: creates the project's Content,
	 * Intermediate, Saved and Plugins folders when missing, unloads every asset package (so
	 * assets load from disk again), clears the message boxes, the selection and the captured log,
	 * creates the Slate application or destroys the windows left open in it (clearing its record),
	 * points the project paths at the folder, discovers the plug-ins of its Plugins folder and of
	 * PluginDirectories, and loads their modules in loading-phase order. The first start also loads
	 * the editor's own UI modules (Slate, the menu system), registers the level editor's main menu
	 * and, once the plug-in modules are in, tells modules that the engine has started (menu
	 * start-up callbacks run then). Returns false with
	 * OutError when the folder cannot be made or a plug-in module does not load.
	 */
	UNREALED_API bool StartEditor(const FString& ProjectDir, const TArray<FString>& PluginDirectories, FString& OutError);

	/**
	 * Ends the editor run as closing the editor does: tells modules that the engine exits, shuts down
	 * every loaded module (the last loaded first: the plug-ins', the editor's own, the Python plug-in),
	 * unloads the asset packages and closes the Slate application's windows, and then forgets what the
	 * process kept for the run: the menu system, the global tab manager, the plug-in list, the message
	 * boxes, selection and log. The next StartEditor begins a new run, as a newly launched editor does
	 * (its first start, with the engine-started notice). Does no harm when no run is going. Stand-in
	 * only: lets one test process hold several editor runs.
	 */
	UNREALED_API void ShutdownEditor();

	/** True once StartEditor has run, until ShutdownEditor. */
	UNREALED_API bool IsEditorStarted();

	/**
	 * One frame of the editor's engine loop: the core ticker (the HTTP module hands its requests'
	 * progress and ends to their delegates there) and a Slate tick. Stand-in only: the headless editor
	 * runs frames when asked to.
	 */
	UNREALED_API void TickEngine(float DeltaSeconds);

	/**
	 * Runs frames (a few milliseconds apart) until Done says so or TimeoutSeconds pass. Returns whether
	 * Done said so.
	 */
	UNREALED_API bool RunFramesUntil(const TFunction<bool()>& Done, double TimeoutSeconds);

	/** Selects these assets in the Content Browser, replacing the selection. */
	UNREALED_API void SelectAssets(const TArray<FString>& ObjectPaths);

	/** The log lines written since the editor was (re)started. */
	UNREALED_API const TArray<FLogLine>& GetLogLines();

	/**
	 * Opens the menu MenuName ("LevelEditor.MainMenu") as the user would, follows the sub-menus of
	 * EntryPath (each step the entry's name or its label) and clicks the last entry, running its
	 * action. False with OutError when an entry is missing, is not a sub-menu where one is needed,
	 * or has no action that can run.
	 */
	UNREALED_API bool InvokeMenuEntry(const FName MenuName, const TArray<FString>& EntryPath, FString& OutError);

	/** One bone of a skeletal mesh to create: parents come before their children. */
	struct FBoneDescription
	{
		FName Name;
		/** NAME_None for the root bone. */
		FName ParentName;
		FTransform LocalTransform = FTransform::Identity;
	};

	/**
	 * Imports a file into the content folder DestinationFolder ("/Game/Face") as dropping it on the
	 * Content Browser does, through the import factory that claims it. Returns the assets made
	 * (unsaved, their packages dirty); empty when the import failed, with the reasons in the log.
	 */
	UNREALED_API TArray<UObject*> ImportFile(const FString& Filename, const FString& DestinationFolder);

	/**
	 * Creates and saves a skeletal mesh asset at PackagePath ("/Game/Characters/SK_Hero") and its
	 * skeleton beside it ("/Game/Characters/SK_Hero_Skeleton"), both with the bones as their
	 * reference skeleton, FBX import data holding ImportUniformScale and ImportedBounds as the
	 * mesh's imported bounds, as importing an FBX would. Returns null with OutError when the path is taken or invalid or the bones do not
	 * form one tree.
	 */
	UNREALED_API USkeletalMesh* CreateSkeletalMesh(const FString& PackagePath, const TArray<FBoneDescription>& Bones, float ImportUniformScale, FString& OutError, const FBoxSphereBounds& ImportedBounds = FBoxSphereBounds(ForceInit));
}
