// SDockTab: a tab that holds a panel's content, spawned and kept by a tab manager.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SDockTab;
class SWindow;

enum class ETabRole : uint8
{
	MajorTab,
	PanelTab,
	NomadTab,
	DocumentTab,
	NumRoles
};

enum class ETabActivationCause : uint8
{
	UserClickedOnTab,
	SetDirectly
};

DECLARE_DELEGATE_OneParam(FOnTabClosedCallback, TSharedRef<SDockTab>);

class SLATE_API SDockTab : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SDockTab) : _Content(), _TabRole(ETabRole::PanelTab), _Label() {}
		SLATE_DEFAULT_SLOT(FArguments, Content)
		SLATE_ARGUMENT(ETabRole, TabRole)
		SLATE_ATTRIBUTE(FText, Label)
		SLATE_ATTRIBUTE(FText, ToolTipText)
		SLATE_EVENT(FOnTabClosedCallback, OnTabClosed)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	void SetContent(TSharedRef<SWidget> InContent);
	TSharedRef<SWidget> GetContent();

	ETabRole GetTabRole() const { return TabRole; }
	FText GetTabLabel() const { return TabLabel.Get(); }
	void SetLabel(const TAttribute<FText>& InTabLabel) { TabLabel = InTabLabel; }
	FText GetTabToolTipText() const { return TabToolTipText.Get(); }

	/** The identifier the tab was spawned under. */
	const FTabId GetLayoutIdentifier() const { return LayoutIdentifier; }
	TSharedPtr<FTabManager> GetTabManagerPtr() const { return MyTabManager.Pin(); }
	/** The window the tab is docked in: the editor's main window when there is one, else none. */
	TSharedPtr<SWindow> GetParentWindow() const { return ParentWindowPtr.Pin(); }

	/** Brings the tab to the front of its tab well and makes it the active tab. */
	void ActivateInParent(ETabActivationCause InActivationCause);
	/** True while the tab is the one shown in its well. */
	bool IsForeground() const { return bIsForeground; }
	/** True while the tab is the active tab of its manager. */
	bool IsActive() const;
	/** Asks the tab to flash to draw the user's eye; counted, since nothing is drawn. */
	void FlashTab() { ++FlashCount; }
	void DrawAttention() { ActivateInParent(ETabActivationCause::SetDirectly); FlashTab(); }
	int32 GetFlashCount() const { return FlashCount; }

	/** Closes the tab: its manager forgets it and its closed callback runs. */
	void RequestCloseTab();

	void SetOnTabClosed(const FOnTabClosedCallback& InDelegate) { OnTabClosed = InDelegate; }

private:
	friend class FTabManager;

	void ProvideTabManager(const TSharedRef<FTabManager>& InTabManager, const FTabId& InLayoutIdentifier, const TSharedPtr<SWindow>& InParentWindow);
	void SetForeground(bool bInForeground) { bIsForeground = bInForeground; }
	void NotifyClosed();

	ETabRole TabRole = ETabRole::PanelTab;
	TAttribute<FText> TabLabel;
	TAttribute<FText> TabToolTipText;
	FOnTabClosedCallback OnTabClosed;
	TWeakPtr<FTabManager> MyTabManager;
	TWeakPtr<SWindow> ParentWindowPtr;
	FTabId LayoutIdentifier;
	bool bIsForeground = false;
	int32 FlashCount = 0;
};
