// Windows and the application base they reach to be destroyed.

#include "Widgets/SWindow.h"

#include "Application/SlateApplicationBase.h"

FSlateApplicationBase* FSlateApplicationBase::CurrentBaseApplication = nullptr;

void SWindow::Construct(const FArguments& InArgs)
{
	Title = InArgs._Title;
	AutoCenter = InArgs._AutoCenter;
	ClientSize = InArgs._ClientSize;
	bHasMaximizeButton = InArgs._SupportsMaximize;
	bHasMinimizeButton = InArgs._SupportsMinimize;
	bHasCloseButton = InArgs._HasCloseButton;
	SizingRule = InArgs._SizingRule;
	ChildSlot[InArgs._Content.Widget];
}

void SWindow::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

TSharedRef<const SWidget> SWindow::GetContent() const
{
	return ChildSlot.GetWidget();
}

void SWindow::ShowWindow()
{
	if (!bClosedNotified)
	{
		bIsVisible = true;
	}
}

void SWindow::HideWindow()
{
	bIsVisible = false;
}

void SWindow::AddChildWindow(const TSharedRef<SWindow>& ChildWindow)
{
	if (const TSharedPtr<SWindow> PreviousParent = ChildWindow->ParentWindowPtr.Pin())
	{
		PreviousParent->RemoveDescendantWindow(ChildWindow);
	}
	ChildWindow->ParentWindowPtr = StaticCastSharedRef<SWindow>(AsShared());
	ChildWindows.Add(ChildWindow);
}

bool SWindow::RemoveDescendantWindow(const TSharedRef<SWindow>& DescendantToRemove)
{
	return ChildWindows.RemoveAll([&DescendantToRemove](const TSharedRef<SWindow>& Child) { return Child == DescendantToRemove; }) > 0;
}

void SWindow::RequestDestroyWindow()
{
	if (FSlateApplicationBase::IsInitialized())
	{
		FSlateApplicationBase::Get().RequestDestroyWindow(StaticCastSharedRef<SWindow>(AsShared()));
	}
	else
	{
		NotifyWindowBeingDestroyed();
	}
}

void SWindow::NotifyWindowBeingDestroyed()
{
	bIsVisible = false;
	if (bClosedNotified)
	{
		return;
	}
	bClosedNotified = true;
	OnWindowClosed.ExecuteIfBound(StaticCastSharedRef<SWindow>(AsShared()));
}
