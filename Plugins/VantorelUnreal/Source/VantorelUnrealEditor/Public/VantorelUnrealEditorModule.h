// The Vantorel Unreal editor module: on start-up it adds the "Vantorel" menu to the level editor's
// main menu bar, whose entry opens the Vantorel tools. It holds what lasts for the editor run: whether
// the tool script was loaded.
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"

class UToolMenu;

class FVantorelUnrealEditorModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** The editor module, loaded when it is not yet. */
	static FVantorelUnrealEditorModule& Get();

	/**
	 * True the first time it is asked in this run of the module, false ever after: the tool script is
	 * loaded once per editor run, and the module lives as long as the run.
	 */
	bool ClaimToolScriptLoad();

private:
	/** Set by the first ClaimToolScriptLoad, whether or not that load then found Python. */
	bool bToolScriptLoadClaimed = false;

	/** Adds the "Vantorel" sub-menu to the main menu bar; the menu system calls it once menus may be extended. */
	void RegisterMenus();
	/** Fills the "Vantorel" sub-menu each time it opens. */
	void FillVantorelMenu(UToolMenu* Menu);
};
