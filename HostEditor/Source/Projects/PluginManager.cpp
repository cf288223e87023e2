// The plug-in manager: finds .uplugin files under the project's Plugins folder and the added
// search paths, reads their descriptors and mounts the content of those that have any.

#include "Interfaces/IPluginManager.h"

#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "HostEditorSupport/EditorProcessReset.h"
#include "Misc/FileHelper.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

DEFINE_LOG_CATEGORY_STATIC(LogPluginManager, Log, All);

bool FPluginDescriptor::Load(const FString& FileName, FText& OutFailReason)
{
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *FileName))
	{
		OutFailReason = FText::FromString(FString::Printf(TEXT("Failed to open descriptor file '%s'"), *FileName));
		return false;
	}
	return Read(Text, OutFailReason);
}

bool FPluginDescriptor::Read(const FString& Text, FText& OutFailReason)
{
	TSharedPtr<FJsonObject> Object;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object) || !Object.IsValid())
	{
		OutFailReason = FText::FromString(TEXT("The descriptor is not a JSON object"));
		return false;
	}
	if (!Object->TryGetNumberField(TEXT("FileVersion"), FileVersion))
	{
		OutFailReason = FText::FromString(TEXT("The descriptor has no FileVersion"));
		return false;
	}
	Object->TryGetNumberField(TEXT("Version"), Version);
	Object->TryGetStringField(TEXT("VersionName"), VersionName);
	Object->TryGetStringField(TEXT("FriendlyName"), FriendlyName);
	Object->TryGetStringField(TEXT("Description"), Description);
	Object->TryGetStringField(TEXT("Category"), Category);
	Object->TryGetStringField(TEXT("CreatedBy"), CreatedBy);
	Object->TryGetStringField(TEXT("EngineVersion"), EngineVersion);
	Object->TryGetBoolField(TEXT("CanContainContent"), bCanContainContent);
	Object->TryGetBoolField(TEXT("IsBetaVersion"), bIsBetaVersion);
	Object->TryGetBoolField(TEXT("IsExperimentalVersion"), bIsExperimentalVersion);
	Modules.Reset();
	const TArray<TSharedPtr<FJsonValue>>* ModuleValues = nullptr;
	if (Object->TryGetArrayField(TEXT("Modules"), ModuleValues))
	{
		for (const TSharedPtr<FJsonValue>& Value : *ModuleValues)
		{
			const TSharedPtr<FJsonObject>* ModuleObject = nullptr;
			FString Name;
			if (!Value.IsValid() || !Value->TryGetObject(ModuleObject) || !(*ModuleObject)->TryGetStringField(TEXT("Name"), Name) || Name.IsEmpty())
			{
				OutFailReason = FText::FromString(TEXT("A module of the descriptor has no name"));
				return false;
			}
			FModuleDescriptor Module;
			Module.Name = FName(*Name);
			(*ModuleObject)->TryGetStringField(TEXT("Type"), Module.Type);
			(*ModuleObject)->TryGetStringField(TEXT("LoadingPhase"), Module.LoadingPhase);
			Modules.Add(Module);
		}
	}
	return true;
}

namespace
{
	class FPlugin : public IPlugin
	{
	public:
		FPlugin(const FString& InFileName, const FPluginDescriptor& InDescriptor)
			: FileName(InFileName)
			, Name(FPaths::GetBaseFilename(InFileName))
			, Descriptor(InDescriptor)
		{
		}

		virtual const FString& GetName() const override { return Name; }
		virtual const FString& GetFriendlyName() const override { return Descriptor.FriendlyName.IsEmpty() ? Name : Descriptor.FriendlyName; }
		virtual const FString& GetDescriptorFileName() const override { return FileName; }
		virtual FString GetBaseDir() const override { return FPaths::GetPath(FileName); }
		virtual FString GetContentDir() const override { return GetBaseDir() / TEXT("Content"); }
		virtual FString GetMountedAssetPath() const override { return TEXT("/") + Name + TEXT("/"); }
		virtual bool IsEnabled() const override { return true; }
		virtual bool CanContainContent() const override { return Descriptor.bCanContainContent; }
		virtual const FPluginDescriptor& GetDescriptor() const override { return Descriptor; }

	private:
		FString FileName;
		FString Name;
		FPluginDescriptor Descriptor;
	};

	class FPluginManager : public IPluginManager
	{
	public:
		virtual void RefreshPluginsList() override
		{
			ForgetPlugins();
			TArray<FString> Folders;
			// The engine's own plug-ins come first, as the engine finds them before a project's.
			if (!FPaths::EngineDir().IsEmpty())
			{
				Folders.Add(FPaths::EngineDir() / TEXT("Plugins"));
			}
			if (!FPaths::ProjectDir().IsEmpty())
			{
				Folders.Add(FPaths::ProjectPluginsDir());
			}
			for (const FString& Path : SearchPaths)
			{
				Folders.Add(Path);
			}
			for (const FString& Folder : Folders)
			{
				Discover(Folder);
			}
		}

		virtual bool AddPluginSearchPath(const FString& ExtraDiscoveryPath, bool bRefresh) override
		{
			const FString Full = FPaths::ConvertRelativePathToFull(ExtraDiscoveryPath);
			if (SearchPaths.Contains(Full))
			{
				return false;
			}
			SearchPaths.Add(Full);
			if (bRefresh)
			{
				RefreshPluginsList();
			}
			return true;
		}

		virtual const TSet<FString>& GetAdditionalPluginSearchPaths() const override { return SearchPaths; }

		virtual TSharedPtr<IPlugin> FindPlugin(const FStringView Name) override
		{
			const FString Wanted(Name.Len(), Name.GetData());
			for (const TSharedRef<IPlugin>& Plugin : Plugins)
			{
				if (Plugin->GetName().Equals(Wanted, ESearchCase::IgnoreCase))
				{
					return Plugin;
				}
			}
			return nullptr;
		}

		virtual TArray<TSharedRef<IPlugin>> GetDiscoveredPlugins() override { return Plugins; }
		virtual TArray<TSharedRef<IPlugin>> GetEnabledPlugins() override { return Plugins; }

		/** Forgets every plug-in found and every search path added. */
		void Reset()
		{
			ForgetPlugins();
			SearchPaths.Reset();
		}

	private:
		void ForgetPlugins()
		{
			for (const TSharedRef<IPlugin>& Plugin : Plugins)
			{
				if (Plugin->CanContainContent())
				{
					FPackageName::UnRegisterMountPoint(Plugin->GetMountedAssetPath(), Plugin->GetContentDir());
				}
			}
			Plugins.Reset();
		}

		void Discover(const FString& Folder)
		{
			if (!IFileManager::Get().DirectoryExists(*Folder))
			{
				return;
			}
			TArray<FString> Files;
			IFileManager::Get().FindFilesRecursive(Files, *Folder, TEXT("*.uplugin"), true, false);
			for (const FString& File : Files)
			{
				FPluginDescriptor Descriptor;
				FText Reason;
				if (!Descriptor.Load(File, Reason))
				{
					UE_LOG(LogPluginManager, Error, TEXT("Plugin '%s' could not be read: %s"), *File, *Reason.ToString());
					continue;
				}
				TSharedRef<IPlugin> Plugin = MakeShared<FPlugin>(File, Descriptor);
				if (FindPlugin(Plugin->GetName()))
				{
					UE_LOG(LogPluginManager, Warning, TEXT("Plugin '%s' is found twice; '%s' is ignored"), *Plugin->GetName(), *File);
					continue;
				}
				if (Plugin->CanContainContent())
				{
					FPackageName::RegisterMountPoint(Plugin->GetMountedAssetPath(), Plugin->GetContentDir());
				}
				Plugins.Add(Plugin);
			}
		}

		TArray<TSharedRef<IPlugin>> Plugins;
		TSet<FString> SearchPaths;
	};
}

namespace
{
	FPluginManager& PluginManager()
	{
		static FPluginManager Manager;
		return Manager;
	}
}

IPluginManager& IPluginManager::Get()
{
	return PluginManager();
}

void HostEditor::ResetPluginManager()
{
	PluginManager().Reset();
}
