// The headless editor's session: project folders, plug-ins, and what tests do by hand.

#include "HostEditorSupport/HostEditorSession.h"

#include "Animation/Skeleton.h"
#include "AssetToolsModule.h"
#include "Containers/Ticker.h"
#include "Editor.h"
#include "Framework/Application/SlateApplication.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "Factories/FbxSkeletalMeshImportData.h"
#include "FileHelpers.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "HostEditorSupport/ContentBrowserSelection.h"
#include "HostEditorSupport/DesktopDialogs.h"
#include "HostEditorSupport/EditorProcessReset.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "Misc/ConfigCacheIni.h"
#include "HostEditorSupport/HostEditorPaths.h"
#include "HostEditorSupport/SlateRecord.h"
#include "Interfaces/IPluginManager.h"
#include "Misc/CoreDelegates.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "PackageTools.h"
#include "Subsystems/AssetEditorSubsystem.h"
#include "Templates/UniquePtr.h"
#include "ToolMenus.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogHostEditor, Log, All);

namespace HostEditor
{
	namespace
	{
		TUniquePtr<FLogCapture>& Capture()
		{
			static TUniquePtr<FLogCapture> Instance;
			return Instance;
		}

		bool& Started()
		{
			static bool bStarted = false;
			return bStarted;
		}

		/** The engine's loading phases, earliest first; unknown phases load with Default. */
		int32 LoadingPhaseOrder(const FString& Phase)
		{
			static const TCHAR* const Phases[] = {TEXT("EarliestPossible"), TEXT("PostConfigInit"), TEXT("PostSplashScreen"), TEXT("PreEarlyLoadingScreen"),
				TEXT("PreLoadingScreen"), TEXT("PreDefault"), TEXT("Default"), TEXT("PostDefault"), TEXT("PostEngineInit")};
			for (int32 Index = 0; Index < (int32)UE_ARRAY_COUNT(Phases); ++Index)
			{
				if (Phase.Equals(Phases[Index], ESearchCase::IgnoreCase))
				{
					return Index;
				}
			}
			return 6;
		}

		void UnloadAssetPackages()
		{
			TArray<UObject*> Objects;
			GetObjectsOfClass(UPackage::StaticClass(), Objects, true);
			TArray<UPackage*> Packages;
			for (UObject* Object : Objects)
			{
				UPackage* Package = static_cast<UPackage*>(Object);
				if (Package != GetTransientPackage() && !Package->HasAnyFlags(RF_Transient) && !Package->GetName().StartsWith(TEXT("/Script/")))
				{
					Packages.Add(Package);
				}
			}
			FText Ignored;
			UPackageTools::UnloadPackages(Packages, Ignored, true);
		}

		/** The editor's own modules that plug-ins build on, loaded before any plug-in. */
		bool LoadEditorModules(FString& OutError)
		{
			for (const TCHAR* Module : {TEXT("SlateCore"), TEXT("Slate"), TEXT("ToolMenus")})
			{
				if (!FModuleManager::Get().LoadModule(Module))
				{
					OutError = FString::Printf(TEXT("The editor module '%s' could not be loaded."), Module);
					return false;
				}
			}
			// The level editor's menu bar, which plug-ins extend.
			if (!UToolMenus::Get()->IsMenuRegistered(TEXT("LevelEditor.MainMenu")))
			{
				UToolMenus::Get()->RegisterMenu(TEXT("LevelEditor.MainMenu"), TEXT("MainFrame.MainMenu"), EMultiBoxType::MenuBar);
			}
			return true;
		}

		bool& EngineInitialised()
		{
			static bool bInitialised = false;
			return bInitialised;
		}

		/** The entry of a generated menu whose name or label is Step. */
		const FToolMenuEntry* FindMenuEntry(const UToolMenu& Menu, const FString& Step)
		{
			for (const FToolMenuSection& Section : Menu.Sections)
			{
				for (const FToolMenuEntry& Entry : Section.Blocks)
				{
					if (Entry.Name.ToString() == Step || Entry.Label.Get().ToString() == Step)
					{
						return &Entry;
					}
				}
			}
			return nullptr;
		}

		bool LoadPluginModules(FString& OutError)
		{
			struct FPending
			{
				FString Plugin;
				FName Module;
				int32 Order;
			};
			TArray<FPending> Pending;
			for (const TSharedRef<IPlugin>& Plugin : IPluginManager::Get().GetEnabledPlugins())
			{
				for (const FModuleDescriptor& Module : Plugin->GetDescriptor().Modules)
				{
					Pending.Add(FPending{Plugin->GetName(), Module.Name, LoadingPhaseOrder(Module.LoadingPhase)});
				}
			}
			Pending.StableSort([](const FPending& A, const FPending& B) { return A.Order < B.Order; });
			bool bAllLoaded = true;
			for (const FPending& Entry : Pending)
			{
				if (!FModuleManager::Get().LoadModule(Entry.Module))
				{
					const FString Message = FString::Printf(TEXT("Plugin '%s' failed to load because module '%s' could not be loaded."), *Entry.Plugin, *Entry.Module.ToString());
					UE_LOG(LogHostEditor, Error, TEXT("%s"), *Message);
					OutError += OutError.IsEmpty() ? Message : TEXT(" ") + Message;
					bAllLoaded = false;
				}
			}
			return bAllLoaded;
		}

		bool ValidateBones(const TArray<FBoneDescription>& Bones, FString& OutError)
		{
			if (Bones.IsEmpty())
			{
				OutError = TEXT("a skeletal mesh needs at least one bone");
				return false;
			}
			for (int32 Index = 0; Index < Bones.Num(); ++Index)
			{
				const FBoneDescription& Bone = Bones[Index];
				if (Bone.Name.IsNone())
				{
					OutError = FString::Printf(TEXT("bone %d has no name"), Index);
					return false;
				}
				for (int32 Earlier = 0; Earlier < Index; ++Earlier)
				{
					if (Bones[Earlier].Name == Bone.Name)
					{
						OutError = FString::Printf(TEXT("bone '%s' appears twice"), *Bone.Name.ToString());
						return false;
					}
				}
				if (Index == 0 && !Bone.ParentName.IsNone())
				{
					OutError = FString::Printf(TEXT("the first bone '%s' must be the root and have no parent"), *Bone.Name.ToString());
					return false;
				}
				if (Index > 0)
				{
					bool bParentEarlier = false;
					for (int32 Earlier = 0; Earlier < Index; ++Earlier)
					{
						bParentEarlier |= Bones[Earlier].Name == Bone.ParentName;
					}
					if (!bParentEarlier)
					{
						OutError = FString::Printf(TEXT("bone '%s' has parent '%s', which is not an earlier bone"), *Bone.Name.ToString(), *Bone.ParentName.ToString());
						return false;
					}
				}
			}
			return true;
		}

		void FillReferenceSkeleton(const TArray<FBoneDescription>& Bones, FReferenceSkeleton& OutRefSkeleton)
		{
			OutRefSkeleton.Empty();
			FReferenceSkeletonModifier Modifier(OutRefSkeleton, nullptr);
			for (const FBoneDescription& Bone : Bones)
			{
				const int32 ParentIndex = Bone.ParentName.IsNone() ? INDEX_NONE : Modifier.FindBoneIndex(Bone.ParentName);
				Modifier.Add(FMeshBoneInfo(Bone.Name, Bone.Name.ToString(), ParentIndex), Bone.LocalTransform);
			}
		}
	}

	namespace
	{
		int32& EditorWorldCount()
		{
			static int32 Count = 0;
			return Count;
		}

		/** The editor engine and the empty level it shows (the engine loads the project's start-up map). */
		void StartEditorEngine()
		{
			if (!GEditor)
			{
				GEditor = NewObject<UEditorEngine>(GetTransientPackage(), FName(TEXT("EditorEngine")), RF_Transient);
			}
			if (UAssetEditorSubsystem* Editors = GEditor->GetEditorSubsystem<UAssetEditorSubsystem>())
			{
				Editors->CloseAllAssetEditors();
			}
			UPackage* LevelPackage = CreatePackage(*FString::Printf(TEXT("/Temp/Untitled_%d"), ++EditorWorldCount()));
			LevelPackage->SetFlags(RF_Transient);
			GEditor->SetEditorWorld(NewObject<UWorld>(LevelPackage, FName(*FPackageName::GetLongPackageAssetName(LevelPackage->GetName())), RF_Transient));
		}

		void EndEditorEngine()
		{
			if (!GEditor)
			{
				return;
			}
			if (UAssetEditorSubsystem* Editors = GEditor->GetEditorSubsystem<UAssetEditorSubsystem>())
			{
				Editors->CloseAllAssetEditors();
			}
			GEditor->SetEditorWorld(nullptr);
			GEditor->MarkAsGarbage();
			GEditor = nullptr;
		}
	}

	bool StartEditor(const FString& ProjectDir, const TArray<FString>& PluginDirectories, FString& OutError)
	{
		OutError.Reset();
		const FString Project = FPaths::ConvertRelativePathToFull(ProjectDir);
		for (const TCHAR* Folder : {TEXT("Content"), TEXT("Intermediate"), TEXT("Saved"), TEXT("Plugins")})
		{
			const FString Path = Project / Folder;
			if (!IFileManager::Get().MakeDirectory(*Path, true) && !IFileManager::Get().DirectoryExists(*Path))
			{
				OutError = FString::Printf(TEXT("Cannot create the project folder '%s'"), *Path);
				return false;
			}
		}
		UnloadAssetPackages();
		ResetMessageDialogs();
		ResetExternalLaunches();
		SetSelectedAssetPaths({});
		// The Slate application lives for the whole process; a start closes what a previous one left open.
		ResetSlate();
		Capture().Reset();
		Capture() = MakeUnique<FLogCapture>();
		SetProjectDir(Project);
		ResetDesktopDialogs();
		// The configuration starts each run from the files on disk; the editor's per-project user
		// settings live under the project's Saved/Config, as the Linux editor keeps them.
		if (!GConfig)
		{
			GConfig = new FConfigCacheIni();
		}
		GConfig->Flush(true);
		GEditorPerProjectIni = FPaths::ProjectSavedDir() / TEXT("Config/LinuxEditor/EditorPerProjectUserSettings.ini");
		// The stand-in's engine folder holds the content of the engine plug-ins (HostEditor/Engine).
		SetEngineDir(TEXT(VN_ENGINE_DIR));
		for (const FString& Directory : PluginDirectories)
		{
			IPluginManager::Get().AddPluginSearchPath(Directory, false);
		}
		IPluginManager::Get().RefreshPluginsList();
		StartEditorEngine();
		Started() = true;
		if (!LoadEditorModules(OutError))
		{
			return false;
		}
		const bool bLoaded = LoadPluginModules(OutError);
		if (!EngineInitialised())
		{
			EngineInitialised() = true;
			FCoreDelegates::OnPostEngineInit.Broadcast();
		}
		UE_LOG(LogHostEditor, Display, TEXT("Editor started on project '%s'"), *Project);
		return bLoaded;
	}

	void ShutdownEditor()
	{
		FCoreDelegates::OnEnginePreExit.Broadcast();
		FModuleManager::Get().UnloadModulesAtShutdown();
		UnloadAssetPackages();
		ResetSlate();
		ResetGlobalTabManager();
		ResetToolMenus();
		ResetPluginManager();
		ResetMessageDialogs();
		ResetExternalLaunches();
		ResetDesktopDialogs();
		EndEditorEngine();
		if (GConfig)
		{
			GConfig->Flush(true);
		}
		SetSelectedAssetPaths({});
		Capture().Reset();
		Started() = false;
		EngineInitialised() = false;
	}

	bool IsEditorStarted()
	{
		return Started();
	}

	void TickEngine(float DeltaSeconds)
	{
		FTSTicker::GetCoreTicker().Tick(DeltaSeconds);
		if (FSlateApplication::IsInitialized())
		{
			FSlateApplication::Get().Tick(ESlateTickType::All);
		}
	}

	bool RunFramesUntil(const TFunction<bool()>& Done, double TimeoutSeconds)
	{
		const double Start = FPlatformTime::Seconds();
		const float Step = 0.005f;
		while (!Done())
		{
			if (FPlatformTime::Seconds() - Start > TimeoutSeconds)
			{
				return false;
			}
			FPlatformProcess::Sleep(Step);
			TickEngine(Step);
		}
		return true;
	}

	void SelectAssets(const TArray<FString>& ObjectPaths)
	{
		SetSelectedAssetPaths(ObjectPaths);
	}

	const TArray<FLogLine>& GetLogLines()
	{
		static const TArray<FLogLine> None;
		return Capture() ? Capture()->GetLines() : None;
	}

	bool InvokeMenuEntry(const FName MenuName, const TArray<FString>& EntryPath, FString& OutError)
	{
		OutError.Reset();
		if (EntryPath.IsEmpty())
		{
			OutError = TEXT("no menu entry was named");
			return false;
		}
		UToolMenus* Menus = UToolMenus::Get();
		if (!Menus->FindMenu(MenuName))
		{
			OutError = FString::Printf(TEXT("there is no menu '%s'"), *MenuName.ToString());
			return false;
		}
		const UToolMenu* Menu = Menus->GenerateMenu(MenuName, FToolMenuContext());
		FString Walked = MenuName.ToString();
		for (int32 Index = 0; Index < EntryPath.Num(); ++Index)
		{
			const FString& Step = EntryPath[Index];
			const FToolMenuEntry* Entry = FindMenuEntry(*Menu, Step);
			if (!Entry)
			{
				OutError = FString::Printf(TEXT("menu '%s' has no entry '%s'"), *Walked, *Step);
				return false;
			}
			Walked += TEXT(" > ") + Step;
			if (Index + 1 < EntryPath.Num())
			{
				if (!Entry->IsSubMenu())
				{
					OutError = FString::Printf(TEXT("'%s' is not a sub-menu"), *Walked);
					return false;
				}
				Menu = Menus->GenerateSubMenu(Menu, Entry->Name);
				continue;
			}
			const FUIAction* Action = Entry->GetActionForCommand();
			if (!Action || !Action->IsBound())
			{
				OutError = FString::Printf(TEXT("'%s' has no action to run"), *Walked);
				return false;
			}
			if (!Action->CanExecute())
			{
				OutError = FString::Printf(TEXT("'%s' is disabled"), *Walked);
				return false;
			}
			UE_LOG(LogHostEditor, Display, TEXT("Menu: %s"), *Walked);
			Action->Execute();
		}
		return true;
	}

	TArray<UObject*> ImportFile(const FString& Filename, const FString& DestinationFolder)
	{
		return FAssetToolsModule::GetModule().Get().ImportAssets({Filename}, DestinationFolder);
	}

	USkeletalMesh* CreateSkeletalMesh(const FString& PackagePath, const TArray<FBoneDescription>& Bones, float ImportUniformScale, FString& OutError, const FBoxSphereBounds& ImportedBounds)
	{
		const FString MeshName = FPackageName::GetLongPackageAssetName(PackagePath);
		const FString SkeletonPackageName = PackagePath + TEXT("_Skeleton");
		const FString SkeletonName = MeshName + TEXT("_Skeleton");
		FText Reason;
		if (!FPackageName::IsValidLongPackageName(PackagePath, false, &Reason) || !FPackageName::IsValidObjectPath(PackagePath + TEXT(".") + MeshName, &Reason))
		{
			OutError = FString::Printf(TEXT("'%s' cannot name a skeletal mesh: %s"), *PackagePath, *Reason.ToString());
			return nullptr;
		}
		for (const FString& Name : {PackagePath, SkeletonPackageName})
		{
			if (FindPackage(nullptr, *Name) || FPackageName::DoesPackageExist(Name))
			{
				OutError = FString::Printf(TEXT("an asset already exists at %s"), *Name);
				return nullptr;
			}
		}
		if (!ValidateBones(Bones, OutError))
		{
			return nullptr;
		}
		const EObjectFlags AssetFlags = EObjectFlags(RF_Public | RF_Standalone | RF_Transactional);
		UPackage* SkeletonPackage = CreatePackage(*SkeletonPackageName);
		USkeleton* Skeleton = NewObject<USkeleton>(SkeletonPackage, FName(*SkeletonName), AssetFlags);
		FillReferenceSkeleton(Bones, Skeleton->GetMutableReferenceSkeleton());

		UPackage* MeshPackage = CreatePackage(*PackagePath);
		USkeletalMesh* Mesh = NewObject<USkeletalMesh>(MeshPackage, FName(*MeshName), AssetFlags);
		FillReferenceSkeleton(Bones, Mesh->GetRefSkeleton());
		Mesh->SetSkeleton(Skeleton);
		Mesh->SetImportedBounds(ImportedBounds);
		UFbxSkeletalMeshImportData* ImportData = NewObject<UFbxSkeletalMeshImportData>(Mesh);
		ImportData->ImportUniformScale = ImportUniformScale;
		Mesh->SetAssetImportData(ImportData);

		SkeletonPackage->SetDirtyFlag(true);
		MeshPackage->SetDirtyFlag(true);
		if (!UEditorLoadingAndSavingUtils::SavePackages({SkeletonPackage, MeshPackage}, false))
		{
			OutError = FString::Printf(TEXT("the skeletal mesh %s could not be saved"), *PackagePath);
			return nullptr;
		}
		return Mesh;
	}
}
