// FModuleManager: finds, loads and unloads modules by name.
#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "CoreTypes.h"
#include "Modules/ModuleInterface.h"
#include "Templates/UniquePtr.h"
#include "UObject/NameTypes.h"

/** A module with no start-up or shut-down work of its own. */
class FDefaultModuleImpl : public IModuleInterface
{
};

class FDefaultGameModuleImpl : public FDefaultModuleImpl
{
public:
	virtual bool IsGameModule() const override { return true; }
};

enum class EModuleLoadResult
{
	Success,
	FileNotFound,
	FileIncompatible,
	CouldNotBeLoadedByOS,
	FailedToInitialize,
};

class CORE_API FModuleManager
{
public:
	typedef IModuleInterface* (*FInitializeModuleFunctionPtr)();

	static FModuleManager& Get();

	/** Loads a module (starting it up) when it is not loaded yet; null when no such module exists. */
	IModuleInterface* LoadModule(const FName InModuleName);
	IModuleInterface* LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason);
	IModuleInterface& LoadModuleChecked(const FName InModuleName);
	/** Shuts a module down and unloads it. */
	bool UnloadModule(const FName InModuleName, bool bIsShutdown = false);
	bool IsModuleLoaded(const FName InModuleName) const;
	/** True when a module of that name can be loaded. */
	bool ModuleExists(const TCHAR* ModuleName) const;
	IModuleInterface* GetModule(const FName InModuleName);
	/** Shuts down every loaded module, the last loaded first. */
	void UnloadModulesAtShutdown();
	/** Returns the names of the loaded modules in load order. */
	TArray<FName> GetLoadedModuleNames() const;

	/** Registers a module that is linked into the program; IMPLEMENT_MODULE does this. */
	void RegisterStaticallyLinkedModule(const FName InModuleName, FInitializeModuleFunctionPtr InInitializer);
	/**
	 * Adds a folder where module libraries (lib<Module>.so) are looked for when a module is not
	 * linked into the program; loading such a library registers the module it implements.
	 */
	void AddBinariesDirectory(const TCHAR* InDirectory, bool bIsGameDirectory);

	/** Hides a registered module from loading, or shows it again (a stand-in switch for tests). */
	void SetModuleAvailable(const FName InModuleName, bool bAvailable);

	template <typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(const FName InModuleName)
	{
		return static_cast<TModuleInterface&>(Get().LoadModuleChecked(InModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface* LoadModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(Get().LoadModule(InModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface& GetModuleChecked(const FName InModuleName)
	{
		IModuleInterface* Module = Get().GetModule(InModuleName);
		check(Module);
		return static_cast<TModuleInterface&>(*Module);
	}

	template <typename TModuleInterface>
	static TModuleInterface* GetModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(Get().GetModule(InModuleName));
	}

private:
	struct FModuleInfo
	{
		FInitializeModuleFunctionPtr Initializer = nullptr;
		TUniquePtr<IModuleInterface> Module;
		bool bAvailable = true;
		int32 LoadOrder = 0;
	};

	/** Opens lib<Module>.so from the binaries directories; true when it registered the module. */
	bool LoadModuleLibrary(const FName InModuleName);

	TMap<FName, TUniquePtr<FModuleInfo>> Modules;
	TArray<FString> BinariesDirectories;
	int32 NextLoadOrder = 1;
};

/** Registers the module class of a module with the module manager. */
#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	static IModuleInterface* InitializeModule_##ModuleName() { return new ModuleImplClass(); } \
	static struct FStaticallyLinkedModuleRegistrant_##ModuleName \
	{ \
		FStaticallyLinkedModuleRegistrant_##ModuleName() { FModuleManager::Get().RegisterStaticallyLinkedModule(FName(TEXT(#ModuleName)), &InitializeModule_##ModuleName); } \
	} ModuleRegistrant_##ModuleName;

#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
#define IMPLEMENT_PRIMARY_GAME_MODULE(ModuleImplClass, ModuleName, GameName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
