#include "Modules/ModuleManager.h"

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
	TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
	if (Info && *Info)
	{
		(*Info)->bAvailable = bAvailable;
	}
}

IModuleInterface* FModuleManager::LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason)
{
	TUniquePtr<FModuleInfo>* Info = Modules.Find(InModuleName);
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
	return Info && *Info && (*Info)->Initializer && (*Info)->bAvailable;
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
