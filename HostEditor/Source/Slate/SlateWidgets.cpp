// The Slate widgets of the headless editor.

#include "Styling/CoreStyle.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SCheckBox.h"
#include "Widgets/Input/SComboButton.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Layout/SExpandableArea.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SSeparator.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/Text/STextBlock.h"

void STextBlock::Construct(const FArguments& InArgs)
{
	BoundText = InArgs._Text;
	Font = InArgs._Font;
	ColorAndOpacity = InArgs._ColorAndOpacity;
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

void SButton::Construct(const FArguments& InArgs)
{
	OnClicked = InArgs._OnClicked;
	// A button given a text shows it in a text block; otherwise it shows its slot.
	if (InArgs._Text.IsSet())
	{
		ChildSlot[SNew(STextBlock).Text(InArgs._Text)];
	}
	else
	{
		ChildSlot[InArgs._Content.Widget];
	}
}

FReply SButton::ExecuteOnClick()
{
	return OnClicked.IsBound() ? OnClicked.Execute() : FReply::Unhandled();
}

void SButton::SimulateClick()
{
	ExecuteOnClick();
}

void SCheckBox::Construct(const FArguments& InArgs)
{
	Style = InArgs._Style;
	IsCheckboxChecked = InArgs._IsChecked;
	OnCheckStateChanged = InArgs._OnCheckStateChanged;
	ChildSlot[InArgs._Content.Widget];
}

void SCheckBox::ToggleCheckedState()
{
	const ECheckBoxState State = GetCheckedState();
	const ECheckBoxState NewState = State == ECheckBoxState::Checked ? ECheckBoxState::Unchecked : ECheckBoxState::Checked;
	// A box whose state is bound shows what its owner says; an unbound one keeps the new state itself.
	if (!IsCheckboxChecked.IsBound())
	{
		IsCheckboxChecked.Set(NewState);
	}
	OnCheckStateChanged.ExecuteIfBound(NewState);
}

void SEditableTextBox::Construct(const FArguments& InArgs)
{
	BoundText = InArgs._Text;
	HintText = InArgs._HintText;
	bIsReadOnly = InArgs._IsReadOnly;
	OnTextChanged = InArgs._OnTextChanged;
	OnTextCommitted = InArgs._OnTextCommitted;
}

FText SEditableTextBox::GetText() const
{
	return EditedText.IsSet() ? EditedText.GetValue() : BoundText.Get(FText::GetEmpty());
}

void SComboButton::Construct(const FArguments& InArgs)
{
	ChildSlot[InArgs._ButtonContent.Widget];
}

void SScrollBox::Construct(const FArguments& InArgs)
{
	Orientation = InArgs._Orientation;
	Slots = InArgs._Slots;
}

void SSeparator::Construct(const FArguments& InArgs)
{
	Orientation = InArgs._Orientation;
	Thickness = InArgs._Thickness;
}

void SExpandableArea::Construct(const FArguments& InArgs)
{
	bAreaCollapsed = InArgs._InitiallyCollapsed;
	OnAreaExpansionChanged = InArgs._OnAreaExpansionChanged;

	// The header is a button over the title (or the given header content); the body shows only while expanded.
	const TAttribute<FSlateFontInfo> TitleFont = InArgs._AreaTitleFont.IsSet() ? InArgs._AreaTitleFont : TAttribute<FSlateFontInfo>(FCoreStyle::GetDefaultFontStyle(FName(TEXT("Bold")), 10.0f));
	const TSharedRef<SWidget> Header = InArgs._HeaderContent.Widget != SNullWidget::NullWidget
		? InArgs._HeaderContent.Widget
		: StaticCastSharedRef<SWidget>(SNew(STextBlock).Text(InArgs._AreaTitle).Font(TitleFont));
	ChildSlot
	[
		SNew(SVerticalBox)
		+ SVerticalBox::Slot()
		.AutoHeight()
		[
			SNew(SButton)
			.OnClicked(FOnClicked::CreateSP(this, &SExpandableArea::OnHeaderClicked))
			[
				Header
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(InArgs._Padding)
		[
			SNew(SBorder)
			.Visibility(TAttribute<EVisibility>::CreateLambda([this]() { return bAreaCollapsed ? EVisibility::Collapsed : EVisibility::Visible; }))
			[
				InArgs._BodyContent.Widget
			]
		]
	];
}

FReply SExpandableArea::OnHeaderClicked()
{
	bAreaCollapsed = !bAreaCollapsed;
	OnAreaExpansionChanged.ExecuteIfBound(!bAreaCollapsed);
	return FReply::Handled();
}
