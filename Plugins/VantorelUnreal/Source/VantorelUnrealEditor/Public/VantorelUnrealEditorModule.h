// The Vantorel Unreal editor module: on start-up it adds the "Vantorel" menu to the level editor's
// main menu bar, whose entry opens the Vantorel tools.
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"

class UToolMenu;

class FVantorelUnrealEditorModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

private:
	/** Adds the "Vantorel" sub-menu to the main menu bar; the menu system calls it once menus may be extended. */
	void RegisterMenus();
	/** Fills the "Vantorel" sub-menu each time it opens. */
	void FillVantorelMenu(UToolMenu* Menu);
};
