// Stand-in only: forgetting what an editor process keeps for its whole life, so that one test
// process can hold several editor runs, each beginning as a newly launched editor does. The engine
// has no such resets (an editor run ends with its process); HostEditor::ShutdownEditor calls them
// once the modules have shut down.
#pragma once

#include "CoreMinimal.h"

namespace HostEditor
{
	/**
	 * Drops the menu system with every menu, extension and owner it holds, and its start-up
	 * callbacks; the next use makes a new one, whose start-up callbacks wait for the engine to start.
	 */
	TOOLMENUS_API void ResetToolMenus();

	/** Replaces the global tab manager with a new one: no tab spawners, no open tabs. */
	SLATE_API void ResetGlobalTabManager();

	/** Forgets the plug-in search paths and the discovered plug-ins, unmounting their content. */
	PROJECTS_API void ResetPluginManager();
}
