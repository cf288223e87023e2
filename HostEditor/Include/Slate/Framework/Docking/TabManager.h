// The tab managers: tab spawners registered by identifier, and the live tabs they spawned. The
// global tab manager holds the editor's nomad tabs (tabs that may dock anywhere).
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Misc/Attribute.h"
#include "Textures/SlateIcon.h"

class SDockTab;
class SWindow;

struct SLATE_API FTabId
{
	FTabId() = default;
	FTabId(const FName& InTabType) : TabType(InTabType) {}
	FTabId(const FName& InTabType, const int32 InInstanceId) : TabType(InTabType), InstanceId(InInstanceId) {}

	bool operator==(const FTabId& Other) const { return TabType == Other.TabType && (InstanceId == INDEX_NONE || Other.InstanceId == INDEX_NONE || InstanceId == Other.InstanceId); }
	bool operator!=(const FTabId& Other) const { return !(*this == Other); }

	FString ToString() const { return InstanceId == INDEX_NONE ? TabType.ToString() : FString::Printf(TEXT("%s : %d"), *TabType.ToString(), InstanceId); }
	FText ToText() const { return FText::FromString(ToString()); }

	FName TabType;
	int32 InstanceId = INDEX_NONE;
};

class SLATE_API FSpawnTabArgs
{
public:
	FSpawnTabArgs(const TSharedPtr<SWindow>& InOwnerWindow, const FTabId& InTabBeingSpawnedId) : OwnerWindow(InOwnerWindow), TabIdBeingSpawned(InTabBeingSpawnedId) {}

	const TSharedPtr<SWindow>& GetOwnerWindow() const { return OwnerWindow; }
	const FTabId& GetTabId() const { return TabIdBeingSpawned; }

private:
	TSharedPtr<SWindow> OwnerWindow;
	FTabId TabIdBeingSpawned;
};

DECLARE_DELEGATE_RetVal_OneParam(TSharedRef<SDockTab>, FOnSpawnTab, const FSpawnTabArgs&);
DECLARE_DELEGATE_RetVal_OneParam(bool, FCanSpawnTab, const FSpawnTabArgs&);

namespace ETabSpawnerMenuType
{
	enum Type
	{
		/** Listed in the window menus. */
		Enabled,
		/** Listed, but cannot be chosen. */
		Disabled,
		/** Not listed; the tab is opened some other way. */
		Hidden,
	};
}

/** One registered tab spawner and how the editor's menus present it. */
struct SLATE_API FTabSpawnerEntry
{
	FTabSpawnerEntry(const FName& InTabType, const FOnSpawnTab& InSpawnTabMethod, const FCanSpawnTab& InCanSpawnTab)
		: TabType(InTabType), OnSpawnTab(InSpawnTabMethod), CanSpawnTab(InCanSpawnTab), MenuType(ETabSpawnerMenuType::Enabled)
	{
	}

	FTabSpawnerEntry& SetDisplayName(const FText& InLegibleName)
	{
		DisplayName = InLegibleName;
		return *this;
	}

	FTabSpawnerEntry& SetTooltipText(const FText& InTooltipText)
	{
		TooltipText = InTooltipText;
		return *this;
	}

	FTabSpawnerEntry& SetIcon(const FSlateIcon& InIcon)
	{
		Icon = InIcon;
		return *this;
	}

	FTabSpawnerEntry& SetMenuType(const TAttribute<ETabSpawnerMenuType::Type>& InMenuType)
	{
		MenuType = InMenuType;
		return *this;
	}

	FName GetTabType() const { return TabType; }
	FText GetDisplayName() const { return DisplayName; }
	FText GetTooltipText() const { return TooltipText; }
	const FSlateIcon& GetIcon() const { return Icon; }
	ETabSpawnerMenuType::Type GetMenuType() const { return MenuType.Get(); }

private:
	friend class FTabManager;

	FName TabType;
	FOnSpawnTab OnSpawnTab;
	FCanSpawnTab CanSpawnTab;
	TAttribute<ETabSpawnerMenuType::Type> MenuType;
	FText DisplayName;
	FText TooltipText;
	FSlateIcon Icon;
};

class SLATE_API FTabManager : public TSharedFromThis<FTabManager>
{
public:
	virtual ~FTabManager();

	/** Registers how to spawn the tab TabId; a second registration of one identifier is refused. */
	FTabSpawnerEntry& RegisterTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab = FCanSpawnTab());
	bool UnregisterTabSpawner(const FName TabId);
	bool HasTabSpawner(FName TabId) const;

	/** Brings up the tab: the live one is brought to front, else the spawner makes one. Null when neither can. */
	TSharedPtr<SDockTab> TryInvokeTab(const FTabId& TabId, bool bInvokeAsInactive = false);
	TSharedPtr<SDockTab> FindExistingLiveTab(const FTabId& TabId) const;

	/** The tab most recently brought to front, while it is open. */
	TSharedPtr<SDockTab> GetActiveTab() const { return ActiveTab.Pin(); }

protected:
	FTabManager() = default;

	/** The window that spawned tabs dock in; none when the editor has no main window. */
	virtual TSharedPtr<SWindow> GetDockingWindow() const { return nullptr; }

	TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId) const;

	TMap<FName, TSharedRef<FTabSpawnerEntry>> TabSpawner;
	TMap<FName, TSharedRef<FTabSpawnerEntry>> NomadTabSpawner;

private:
	friend class SDockTab;

	void OnTabClosing(const TSharedRef<SDockTab>& Tab);
	void BringToFront(const TSharedRef<SDockTab>& Tab);

	/** The open tabs, in the order they were spawned; the manager keeps them alive until they close. */
	TArray<TSharedRef<SDockTab>> LiveTabs;
	TWeakPtr<SDockTab> ActiveTab;
};

class SLATE_API FGlobalTabmanager : public FTabManager
{
public:
	static const TSharedRef<FGlobalTabmanager>& Get();

	/** Registers a nomad tab: one that may be docked anywhere in the editor. */
	FTabSpawnerEntry& RegisterNomadTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab = FCanSpawnTab());
	void UnregisterNomadTabSpawner(const FName TabId);

	/** Sets the editor's main window, where tabs dock. */
	void SetRootWindow(const TSharedRef<SWindow> InRootWindow) { RootWindowPtr = InRootWindow; }
	/** The editor's main window, while it exists. */
	TSharedPtr<SWindow> GetRootWindow() const { return RootWindowPtr.Pin(); }

protected:
	virtual TSharedPtr<SWindow> GetDockingWindow() const override { return GetRootWindow(); }

private:
	FGlobalTabmanager() = default;

	TWeakPtr<SWindow> RootWindowPtr;
};
