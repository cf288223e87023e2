// The editor module: its menu in the level editor's main menu bar. Its reflected classes register
// with the object system as the module's library loads.

#include "VantorelUnrealEditorModule.h"

#include "Framework/Commands/UIAction.h"
#include "Modules/ModuleManager.h"
#include "Textures/SlateIcon.h"
#include "ToolMenus.h"
#include "VNDemoCharacters.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNPluginUpdater.h"
#include "VantorelToolsWindowState.h"
#include "VantorelUnrealEditorLog.h"

#define LOCTEXT_NAMESPACE "FVantorelUnrealEditorModule"

DEFINE_LOG_CATEGORY(LogVantorelUnrealEditor);

namespace
{
	const FName EditorModuleName(TEXT("VantorelUnrealEditor"));
	const FName ToolMenusModuleName(TEXT("ToolMenus"));
	const FName MainMenuName(TEXT("LevelEditor.MainMenu"));
	const FName VantorelSectionName(TEXT("Vantorel"));
	const FName VantorelSubMenuName(TEXT("Vantorel"));
	const FName VantorelFunctionsName(TEXT("VantorelFunctions"));

	/** The menu entry opens the tools with no preset: no source file, every option, no mesh or face file. */
	void OpenToolsFromMenu()
	{
		UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	}
}

void FVantorelUnrealEditorModule::StartupModule()
{
	UToolMenus::RegisterStartupCallback(FSimpleMulticastDelegate::FDelegate::CreateRaw(this, &FVantorelUnrealEditorModule::RegisterMenus));
}

void FVantorelUnrealEditorModule::ShutdownModule()
{
	// The tools window's choices, the demo list and the update state last for the editor run, which
	// ends here; a download still running stops without calling back into the closing module.
	FVantorelToolsWindowState::Get() = FVantorelToolsWindowState();
	VantorelDemos::FDemoDownloads::Get().Abandon();
	VantorelUpdater::FPluginUpdates::Get().Abandon();
	UToolMenus::UnRegisterStartupCallback(this);
	// During editor exit the menu system may already be gone; then there is nothing left to remove.
	if (FModuleManager::Get().IsModuleLoaded(ToolMenusModuleName))
	{
		UToolMenus::UnregisterOwner(this);
	}
}

FVantorelUnrealEditorModule& FVantorelUnrealEditorModule::Get()
{
	return FModuleManager::LoadModuleChecked<FVantorelUnrealEditorModule>(EditorModuleName);
}

bool FVantorelUnrealEditorModule::ClaimToolScriptLoad()
{
	const bool bFirst = !bToolScriptLoadClaimed;
	bToolScriptLoadClaimed = true;
	return bFirst;
}

void FVantorelUnrealEditorModule::RegisterMenus()
{
	FToolMenuOwnerScoped OwnerScoped(this);
	UToolMenu* MainMenu = UToolMenus::Get()->ExtendMenu(MainMenuName);
	FToolMenuSection& Section = MainMenu->FindOrAddSection(VantorelSectionName);
	Section.AddSubMenu(VantorelSubMenuName,
		LOCTEXT("VantorelMenuLabel", "Vantorel"),
		LOCTEXT("VantorelMenuTooltip", "Vantorel Unreal tools."),
		FNewToolMenuDelegate::CreateRaw(this, &FVantorelUnrealEditorModule::FillVantorelMenu),
		/*bInOpenSubMenuOnClick=*/false,
		FSlateIcon(),
		/*bShouldCloseWindowAfterMenuSelection=*/true);
}

void FVantorelUnrealEditorModule::FillVantorelMenu(UToolMenu* Menu)
{
	FToolMenuSection& Section = Menu->AddSection(VantorelFunctionsName, LOCTEXT("VantorelFunctionsSection", "Vantorel"));
	Section.AddMenuEntry(VantorelFunctionsName,
		LOCTEXT("VantorelFunctionsLabel", "Vantorel Functions"),
		LOCTEXT("VantorelFunctionsTooltip", "Open Vantorel tools for Unreal."),
		FSlateIcon(),
		FUIAction(FExecuteAction::CreateStatic(&OpenToolsFromMenu)),
		EUserInterfaceActionType::Button);
}

#undef LOCTEXT_NAMESPACE

IMPLEMENT_MODULE(FVantorelUnrealEditorModule, VantorelUnrealEditor)
