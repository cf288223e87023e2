// IPluginManager: the plug-ins the editor found and enabled.
#pragma once

#include "CoreMinimal.h"
#include "Containers/StringView.h"
#include "PluginDescriptor.h"
#include "Templates/SharedPointer.h"

/** One discovered plug-in. */
class IPlugin
{
public:
	virtual ~IPlugin() = default;

	/** The plug-in's name: its descriptor file's name without extension. */
	virtual const FString& GetName() const = 0;
	virtual const FString& GetFriendlyName() const = 0;
	/** The descriptor file. */
	virtual const FString& GetDescriptorFileName() const = 0;
	/** The folder that holds the descriptor. */
	virtual FString GetBaseDir() const = 0;
	virtual FString GetContentDir() const = 0;
	/** The root its assets are mounted at ("/Name/"). */
	virtual FString GetMountedAssetPath() const = 0;
	virtual bool IsEnabled() const = 0;
	virtual bool CanContainContent() const = 0;
	virtual const FPluginDescriptor& GetDescriptor() const = 0;
};

class PROJECTS_API IPluginManager
{
public:
	virtual ~IPluginManager() = default;

	/** Returns the editor's plug-in manager. */
	static IPluginManager& Get();

	/** Discovers the plug-ins again: the project's Plugins folder and the added search paths, searched recursively. */
	virtual void RefreshPluginsList() = 0;
	/** Adds a folder searched for plug-ins; refreshes the list when bRefresh. False when it was added already. */
	virtual bool AddPluginSearchPath(const FString& ExtraDiscoveryPath, bool bRefresh = true) = 0;
	virtual const TSet<FString>& GetAdditionalPluginSearchPaths() const = 0;
	/** The plug-in of that name (compared without case), or null. */
	virtual TSharedPtr<IPlugin> FindPlugin(const FStringView Name) = 0;
	virtual TArray<TSharedRef<IPlugin>> GetDiscoveredPlugins() = 0;
	virtual TArray<TSharedRef<IPlugin>> GetEnabledPlugins() = 0;
};
