#include "PluginBlueprintLibrary.h"

#include "Interfaces/IPluginManager.h"

namespace
{
	template <typename ReadType>
	bool ReadPlugin(const FString& PluginName, ReadType Read)
	{
		const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(PluginName);
		if (!Plugin.IsValid())
		{
			return false;
		}
		Read(*Plugin);
		return true;
	}
}

TArray<FString> UPluginBlueprintLibrary::GetEnabledPluginNames()
{
	TArray<FString> Names;
	for (const TSharedRef<IPlugin>& Plugin : IPluginManager::Get().GetEnabledPlugins())
	{
		Names.Add(Plugin->GetName());
	}
	return Names;
}

TArray<FString> UPluginBlueprintLibrary::GetAdditionalPluginSearchPaths()
{
	TArray<FString> Paths;
	for (const FString& Path : IPluginManager::Get().GetAdditionalPluginSearchPaths())
	{
		Paths.Add(Path);
	}
	return Paths;
}

bool UPluginBlueprintLibrary::GetPluginVersionName(const FString& PluginName, FString& OutVersionName)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutVersionName = Plugin.GetDescriptor().VersionName; });
}

bool UPluginBlueprintLibrary::GetPluginVersion(const FString& PluginName, int32& OutVersion)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutVersion = Plugin.GetDescriptor().Version; });
}

bool UPluginBlueprintLibrary::GetPluginDescription(const FString& PluginName, FString& OutDescription)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutDescription = Plugin.GetDescriptor().Description; });
}

bool UPluginBlueprintLibrary::GetPluginBaseDir(const FString& PluginName, FString& OutBaseDir)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutBaseDir = Plugin.GetBaseDir(); });
}

bool UPluginBlueprintLibrary::GetPluginContentDir(const FString& PluginName, FString& OutContentDir)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutContentDir = Plugin.GetContentDir(); });
}

bool UPluginBlueprintLibrary::GetPluginDescriptorFilePath(const FString& PluginName, FString& OutFilePath)
{
	return ReadPlugin(PluginName, [&](const IPlugin& Plugin) { OutFilePath = Plugin.GetDescriptorFileName(); });
}
