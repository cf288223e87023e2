// The tab managers of the headless editor. Nothing is drawn: a spawned tab is kept open (docked)
// by its manager until it is closed, and bringing a tab up makes it the foreground, active tab.

#include "Framework/Docking/TabManager.h"

#include "HostEditorSupport/EditorProcessReset.h"
#include "Widgets/Docking/SDockTab.h"

DEFINE_LOG_CATEGORY_STATIC(LogTabManager, Log, All);

FTabManager::~FTabManager() = default;

FTabSpawnerEntry& FTabManager::RegisterTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab)
{
	if (TSharedRef<FTabSpawnerEntry>* Existing = TabSpawner.Find(TabId))
	{
		UE_LOG(LogTabManager, Error, TEXT("A tab spawner for '%s' is already registered; the new one is ignored."), *TabId.ToString());
		return Existing->Get();
	}
	return TabSpawner.Add(TabId, MakeShared<FTabSpawnerEntry>(TabId, OnSpawnTab, CanSpawnTab)).Get();
}

bool FTabManager::UnregisterTabSpawner(const FName TabId)
{
	return TabSpawner.Remove(TabId) > 0;
}

bool FTabManager::HasTabSpawner(FName TabId) const
{
	return TabSpawner.Contains(TabId) || NomadTabSpawner.Contains(TabId);
}

TSharedPtr<FTabSpawnerEntry> FTabManager::FindSpawner(FName TabId) const
{
	if (const TSharedRef<FTabSpawnerEntry>* Nomad = NomadTabSpawner.Find(TabId))
	{
		return *Nomad;
	}
	if (const TSharedRef<FTabSpawnerEntry>* Spawner = TabSpawner.Find(TabId))
	{
		return *Spawner;
	}
	return nullptr;
}

TSharedPtr<SDockTab> FTabManager::FindExistingLiveTab(const FTabId& TabId) const
{
	for (const TSharedRef<SDockTab>& Tab : LiveTabs)
	{
		if (Tab->GetLayoutIdentifier() == TabId)
		{
			return Tab;
		}
	}
	return nullptr;
}

TSharedPtr<SDockTab> FTabManager::TryInvokeTab(const FTabId& TabId, bool bInvokeAsInactive)
{
	if (TSharedPtr<SDockTab> Existing = FindExistingLiveTab(TabId))
	{
		if (!bInvokeAsInactive)
		{
			Existing->ActivateInParent(ETabActivationCause::SetDirectly);
		}
		return Existing;
	}
	const TSharedPtr<FTabSpawnerEntry> Spawner = FindSpawner(TabId.TabType);
	if (!Spawner)
	{
		UE_LOG(LogTabManager, Warning, TEXT("Cannot invoke tab '%s': no tab spawner is registered for it."), *TabId.ToString());
		return nullptr;
	}
	const FSpawnTabArgs Args(GetDockingWindow(), TabId);
	if (Spawner->CanSpawnTab.IsBound() && !Spawner->CanSpawnTab.Execute(Args))
	{
		return nullptr;
	}
	if (!Spawner->OnSpawnTab.IsBound())
	{
		UE_LOG(LogTabManager, Warning, TEXT("Cannot invoke tab '%s': its spawner has no spawn function."), *TabId.ToString());
		return nullptr;
	}
	const TSharedRef<SDockTab> Tab = Spawner->OnSpawnTab.Execute(Args);
	Tab->ProvideTabManager(AsShared(), FTabId(TabId.TabType, TabId.InstanceId), Args.GetOwnerWindow());
	if (Tab->GetTabLabel().IsEmpty())
	{
		Tab->SetLabel(Spawner->GetDisplayName());
	}
	LiveTabs.Add(Tab);
	if (!bInvokeAsInactive)
	{
		BringToFront(Tab);
	}
	return Tab;
}

void FTabManager::BringToFront(const TSharedRef<SDockTab>& Tab)
{
	// Every live tab shares the one tab well of the headless editor.
	for (const TSharedRef<SDockTab>& Other : LiveTabs)
	{
		Other->SetForeground(Other == Tab);
	}
	ActiveTab = Tab;
}

void FTabManager::OnTabClosing(const TSharedRef<SDockTab>& Tab)
{
	LiveTabs.RemoveAll([&Tab](const TSharedRef<SDockTab>& Other) { return Other == Tab; });
	if (ActiveTab.Pin() == Tab)
	{
		ActiveTab = nullptr;
	}
}

namespace
{
	/** Set when an editor run ends: the next use of the global tab manager makes a new one. */
	bool bGlobalTabManagerRetired = false;
}

const TSharedRef<FGlobalTabmanager>& FGlobalTabmanager::Get()
{
	static TSharedRef<FGlobalTabmanager> Instance = MakeShareable(new FGlobalTabmanager());
	if (bGlobalTabManagerRetired)
	{
		bGlobalTabManagerRetired = false;
		Instance = MakeShareable(new FGlobalTabmanager());
	}
	return Instance;
}

void HostEditor::ResetGlobalTabManager()
{
	bGlobalTabManagerRetired = true;
	// Replaced now, so that the tabs the old one kept open close with it.
	FGlobalTabmanager::Get();
}

FTabSpawnerEntry& FGlobalTabmanager::RegisterNomadTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab)
{
	if (TSharedRef<FTabSpawnerEntry>* Existing = NomadTabSpawner.Find(TabId))
	{
		UE_LOG(LogTabManager, Error, TEXT("A nomad tab spawner for '%s' is already registered; the new one is ignored."), *TabId.ToString());
		return Existing->Get();
	}
	return NomadTabSpawner.Add(TabId, MakeShared<FTabSpawnerEntry>(TabId, OnSpawnTab, CanSpawnTab)).Get();
}

void FGlobalTabmanager::UnregisterNomadTabSpawner(const FName TabId)
{
	NomadTabSpawner.Remove(TabId);
}
