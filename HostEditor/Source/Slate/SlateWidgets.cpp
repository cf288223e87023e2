// The Slate widgets of the headless editor.

#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/Text/STextBlock.h"

void STextBlock::Construct(const FArguments& InArgs)
{
	BoundText = InArgs._Text;
	ToolTipText = InArgs._ToolTipText;
	AutoWrapText = InArgs._AutoWrapText;
}

void SBorder::Construct(const FArguments& InArgs)
{
	Padding = InArgs._Padding;
	ChildSlot[InArgs._Content.Widget];
}

void SBorder::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

void SProgressBar::Construct(const FArguments& InArgs)
{
	Percent = InArgs._Percent;
}

void SDockTab::Construct(const FArguments& InArgs)
{
	TabRole = InArgs._TabRole;
	TabLabel = InArgs._Label;
	TabToolTipText = InArgs._ToolTipText;
	OnTabClosed = InArgs._OnTabClosed;
	ChildSlot[InArgs._Content.Widget];
}

void SDockTab::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

TSharedRef<SWidget> SDockTab::GetContent()
{
	return ChildSlot.GetWidget();
}

void SDockTab::ActivateInParent(ETabActivationCause InActivationCause)
{
	if (TSharedPtr<FTabManager> Manager = MyTabManager.Pin())
	{
		Manager->BringToFront(StaticCastSharedRef<SDockTab>(AsShared()));
	}
	else
	{
		bIsForeground = true;
	}
}

bool SDockTab::IsActive() const
{
	const TSharedPtr<FTabManager> Manager = MyTabManager.Pin();
	return Manager && Manager->GetActiveTab().Get() == this;
}

void SDockTab::RequestCloseTab()
{
	const TSharedRef<SDockTab> Self = StaticCastSharedRef<SDockTab>(AsShared());
	if (TSharedPtr<FTabManager> Manager = MyTabManager.Pin())
	{
		Manager->OnTabClosing(Self);
	}
	NotifyClosed();
}

void SDockTab::ProvideTabManager(const TSharedRef<FTabManager>& InTabManager, const FTabId& InLayoutIdentifier, const TSharedPtr<SWindow>& InParentWindow)
{
	MyTabManager = InTabManager;
	LayoutIdentifier = InLayoutIdentifier;
	ParentWindowPtr = InParentWindow;
}

void SDockTab::NotifyClosed()
{
	bIsForeground = false;
	OnTabClosed.ExecuteIfBound(StaticCastSharedRef<SDockTab>(AsShared()));
}
