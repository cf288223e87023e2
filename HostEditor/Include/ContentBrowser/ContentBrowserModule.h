// FContentBrowserModule: the "ContentBrowser" module, reached by name through the module manager.
#pragma once

#include "CoreMinimal.h"
#include "IContentBrowserSingleton.h"
#include "Modules/ModuleInterface.h"

class CONTENTBROWSER_API FContentBrowserModule : public IModuleInterface
{
public:
	/** The Content Browser of this editor. */
	virtual IContentBrowserSingleton& Get() const;
};
