// The dockable Vantorel tools tab: a nomad tab registered on first opening and hidden from the
// editor's window menus, since the main-menu entry is the way to open it.

#include "VantorelToolsTab.h"

#include "Framework/Docking/TabManager.h"
#include "Interfaces/IPluginManager.h"
#include "SVantorelToolsWindow.h"
#include "VantorelToolsWindowState.h"
#include "Widgets/Docking/SDockTab.h"

#define LOCTEXT_NAMESPACE "FVantorelUnrealEditorModule"

namespace VantorelToolsTab
{
	const FName TabId(TEXT("VantorelTools"));

	void RegisterTabSpawner()
	{
		const TSharedRef<FGlobalTabmanager>& TabManager = FGlobalTabmanager::Get();
		if (TabManager->HasTabSpawner(TabId))
		{
			return;
		}
		TabManager->RegisterNomadTabSpawner(TabId, FOnSpawnTab::CreateStatic(&SpawnTab))
			.SetDisplayName(LOCTEXT("VantorelToolsTabTitle", "Vantorel"))
			.SetMenuType(ETabSpawnerMenuType::Hidden);
	}

	void InvokeTab()
	{
		FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TabId));
	}

	TSharedRef<SDockTab> SpawnTab(const FSpawnTabArgs& Args)
	{
		// Windows the tools open (the rig build's progress window) stay above the window holding the tab.
		FVantorelToolsWindowState::Get().HostWindow = Args.GetOwnerWindow();

		FText Label = LOCTEXT("VantorelToolsTabLabel", "Vantorel");
		const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(TEXT("VantorelUnreal"));
		if (Plugin && !Plugin->GetDescriptor().VersionName.IsEmpty())
		{
			Label = FText::FromString(Label.ToString() + TEXT(" ") + Plugin->GetDescriptor().VersionName);
		}
		return SNew(SDockTab)
			.TabRole(ETabRole::NomadTab)
			.Label(Label)
			[
				SNew(SVantorelToolsWindow)
			];
	}
}

#undef LOCTEXT_NAMESPACE
