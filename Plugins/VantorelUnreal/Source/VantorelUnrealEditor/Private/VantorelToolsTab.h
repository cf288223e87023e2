// The dockable Vantorel tools tab.
#pragma once

#include "CoreMinimal.h"

class SDockTab;
class FSpawnTabArgs;

namespace VantorelToolsTab
{
	/** The tab's identifier, used to register its spawner and to bring it up. */
	extern const FName TabId;

	/** Registers the tab's spawner with the global tab manager, unless it is registered already. */
	void RegisterTabSpawner();

	/** Opens the tab, or brings the open one to front. */
	void InvokeTab();

	/** Builds the tab and its contents. */
	TSharedRef<SDockTab> SpawnTab(const FSpawnTabArgs& Args);
}
