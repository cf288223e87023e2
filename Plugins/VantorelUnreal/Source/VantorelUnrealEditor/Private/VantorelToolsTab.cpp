// The dockable Vantorel tools tab: a nomad tab registered on first opening and hidden from the
// editor's window menus, since the main-menu entry is the way to open it.

#include "VantorelToolsTab.h"

#include "Engine/SkeletalMesh.h"
#include "Framework/Docking/TabManager.h"
#include "VantorelToolsWindowState.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Text/STextBlock.h"

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

		// Shows which skeletal mesh the tools work on; read afresh whenever the tab is looked at.
		const TAttribute<FText> TargetText = TAttribute<FText>::CreateLambda([]()
		{
			const USkeletalMesh* Mesh = FVantorelToolsWindowState::Get().ChosenMesh.Get();
			return Mesh ? FText::Format(LOCTEXT("VantorelToolsTarget", "Target skeletal mesh: {0}"), FText::FromString(Mesh->GetPathName()))
						: LOCTEXT("VantorelToolsNoTarget", "No skeletal mesh chosen. Select one in the Content Browser and open the tools again.");
		});
		return SNew(SDockTab)
			.TabRole(ETabRole::NomadTab)
			[
				SNew(STextBlock)
				.Text(TargetText)
			];
	}
}

#undef LOCTEXT_NAMESPACE
