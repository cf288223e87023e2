#include "Modules/ModuleManager.h"

#include <dlfcn.h>

#include "Logging/LogMacros.h"
#include "Misc/Paths.h"

DEFINE_LOG_CATEGORY_STATIC(LogModuleManager, Log, All);

FModuleManager& FModuleManager::Get()
{
	static FModuleManager Singleton;
	return Singleton;
}

void FModuleManager::RegisterStaticallyLinkedModule(const FName InModuleName, FInitializeModuleFunctionPtr InInitializer)
{
	TUniquePtr<FModuleInfo>& Info = Modules.FindOrAdd(InModuleName);
	if (!Info)
	{
		Info = MakeUnique<FModuleInfo>();
	}
	Info->Initializer = InInitializer;
}

void FModuleManager::SetModuleAvailable(const FName InModuleName, bool bAvailable)
{
	// Also for a module whose library is not loaded yet: it stays hidden once it registers.
	TUniquePtr<FModuleInfo>& Info = Modules.FindOrAdd(InModuleName);
	if (!Info)
	{
		Info = MakeUnique<FModuleInfo>();
	}
	Info->bAvailable = bAvailable;
}

IModuleInterface* FModuleManager::LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason)
{
	TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
	if ((!Info || !*Info || !(*Info)->Initializer) && LoadModuleLibrary(InModuleName))
	{
		Info = Modules.Find(InModuleName);
	}
	if (!Info || !*Info || !(*Info)->Initializer || !(*Info)->bAvailable)
	{
		OutFailureReason = EModuleLoadResult::FileNotFound;
		return nullptr;
	}
	FModuleInfo& Module = **Info;
	if (!Module.Module)
	{
		Module.Module = TUniquePtr<IModuleInterface>(Module.Initializer());
		if (!Module.Module)
		{
			OutFailureReason = EModuleLoadResult::FailedToInitialize;
			return nullptr;
		}
		Module.LoadOrder = NextLoadOrder++;
		Module.Module->StartupModule();
	}
	OutFailureReason = EModuleLoadResult::Success;
	return Module.Module.Get();
}

IModuleInterface* FModuleManager::LoadModule(const FName InModuleName)
{
	EModuleLoadResult Reason;
	return LoadModuleWithFailureReason(InModuleName, Reason);
}

IModuleInterface& FModuleManager::LoadModuleChecked(const FName InModuleName)
{
	IModuleInterface* Module = LoadModule(InModuleName);
	check(Module);
	return *Module;
}

bool FModuleManager::UnloadModule(const FName InModuleName, bool bIsShutdown)
{
	(void)bIsShutdown;
	TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
	if (!Info || !*Info || !(*Info)->Module)
	{
		return false;
	}
	(*Info)->Module->ShutdownModule();
	(*Info)->Module.Reset();
	return true;
}

bool FModuleManager::IsModuleLoaded(const FName InModuleName) const
{
	const TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
	return Info && *Info && (*Info)->Module.IsValid();
}

bool FModuleManager::ModuleExists(const TCHAR* ModuleName) const
{
	const TUniquePtr<FModuleInfo>* Info = Modules.Find(FName(ModuleName));
	if (Info && *Info && !(*Info)->bAvailable)
	{
		return false;
	}
	if (Info && *Info && (*Info)->Initializer)
	{
		return true;
	}
	for (const FString& Directory : BinariesDirectories)
	{
		if (FPaths::FileExists(Directory / (FString(TEXT("lib")) + ModuleName + TEXT(".so"))))
		{
			return true;
		}
	}
	return false;
}

IModuleInterface* FModuleManager::GetModule(const FName InModuleName)
{
	TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
	return Info && *Info ? (*Info)->Module.Get() : nullptr;
}

TArray<FName> FModuleManager::GetLoadedModuleNames() const
{
	TArray<TPair<int32, FName>> Loaded;
	for (const auto& Pair : Modules)
	{
		if (Pair.Value && Pair.Value->Module)
		{
			Loaded.Add(TPair<int32, FName>(Pair.Value->LoadOrder, Pair.Key));
		}
	}
	Loaded.Sort([](const TPair<int32, FName>& A, const TPair<int32, FName>& B) { return A.Key < B.Key; });
	TArray<FName> Names;
	for (const auto& Entry : Loaded)
	{
		Names.Add(Entry.Value);
	}
	return Names;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	TArray<FName> Names = GetLoadedModuleNames();
	for (int32 Index = Names.Num() - 1; Index >= 0; --Index)
	{
		UnloadModule(Names[Index], true);
	}
}

void FModuleManager::AddBinariesDirectory(const TCHAR* InDirectory, bool bIsGameDirectory)
{
	const FString Directory(InDirectory);
	if (!Directory.IsEmpty() && !BinariesDirectories.Contains(Directory))
	{
		BinariesDirectories.Add(Directory);
	}
}

bool FModuleManager::LoadModuleLibrary(const FName InModuleName)
{
	for (const FString& Directory : BinariesDirectories)
	{
		const FString Path = Directory / (TEXT("lib") + InModuleName.ToString() + TEXT(".so"));
		if (!FPaths::FileExists(Path))
		{
			continue;
		}
		// The library's IMPLEMENT_MODULE registers the module while it loads; it stays loaded for
		// the life of the process, as the engine keeps module libraries.
		if (!dlopen(TCHAR_TO_UTF8(*Path), RTLD_NOW | RTLD_GLOBAL))
		{
			UE_LOG(LogModuleManager, Warning, TEXT("Could not load module library %s: %hs"), *Path, dlerror());
			return false;
		}
		const TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
		return Info && *Info && (*Info)->Initializer;
	}
	return false;
}
