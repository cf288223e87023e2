// SWindow: a window of the application, holding one content widget. It is shown once the application
// adds it, as a top-level window or as the native child of another window, and is gone once destroyed.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Math/Vector2D.h"
#include "Misc/Attribute.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SWindow;

/** How a window's size is decided. */
enum class ESizingRule : uint8
{
	/** The window keeps the size it was given; the user cannot resize it. */
	FixedSize,
	/** The window takes the size of its content. */
	Autosized,
	/** The user may resize the window. */
	UserSized,
};

/** Where a window is placed when it is first shown. */
enum class EAutoCenter : uint8
{
	None,
	PrimaryWorkArea,
	PreferredWorkArea,
};

DECLARE_DELEGATE_OneParam(FOnWindowClosed, const TSharedRef<SWindow>&);

class SLATECORE_API SWindow : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SWindow)
		: _Title()
		, _AutoCenter(EAutoCenter::PreferredWorkArea)
		, _ClientSize(FVector2D::ZeroVector)
		, _SupportsMaximize(true)
		, _SupportsMinimize(true)
		, _HasCloseButton(true)
		, _SizingRule(ESizingRule::UserSized)
		, _Content()
	{
	}
		SLATE_ATTRIBUTE(FText, Title)
		SLATE_ARGUMENT(EAutoCenter, AutoCenter)
		/** The size of the window's client area, without its title bar and border. */
		SLATE_ARGUMENT(FVector2D, ClientSize)
		SLATE_ARGUMENT(bool, SupportsMaximize)
		SLATE_ARGUMENT(bool, SupportsMinimize)
		SLATE_ARGUMENT(bool, HasCloseButton)
		SLATE_ARGUMENT(ESizingRule, SizingRule)
		SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** The title shown in the window's title bar. */
	FText GetTitle() const { return Title.Get(); }
	void SetTitle(const FText& InTitle) { Title.Set(InTitle); }

	/** The size of the client area. */
	FVector2D GetClientSizeInScreen() const { return ClientSize; }
	ESizingRule GetSizingRule() const { return SizingRule; }
	EAutoCenter GetAutoCenterRule() const { return AutoCenter; }
	bool HasCloseBox() const { return bHasCloseButton; }
	bool HasMaximizeBox() const { return bHasMaximizeButton; }
	bool HasMinimizeBox() const { return bHasMinimizeButton; }

	/** Replaces the window's content. */
	void SetContent(TSharedRef<SWidget> InContent);
	TSharedRef<const SWidget> GetContent() const;

	/** Shows or hides the window; only a window the application added is shown. */
	void ShowWindow();
	void HideWindow();
	bool IsVisible() const { return bIsVisible; }

	/** The window this one is the native child of, if any. */
	TSharedPtr<SWindow> GetParentWindow() const { return ParentWindowPtr.Pin(); }
	const TArray<TSharedRef<SWindow>>& GetChildWindows() const { return ChildWindows; }
	/** Makes ChildWindow a native child of this window. */
	void AddChildWindow(const TSharedRef<SWindow>& ChildWindow);
	/** Forgets a child window; true when it was one. */
	bool RemoveDescendantWindow(const TSharedRef<SWindow>& DescendantToRemove);

	/** Runs when the window is destroyed. */
	void SetOnWindowClosed(const FOnWindowClosed& InDelegate) { OnWindowClosed = InDelegate; }

	/** Asks the application to destroy the window and its child windows. */
	void RequestDestroyWindow();

	/** Called by the application as the window goes: runs the closed callback once and hides it. */
	void NotifyWindowBeingDestroyed();

private:
	TAttribute<FText> Title;
	FVector2D ClientSize = FVector2D::ZeroVector;
	ESizingRule SizingRule = ESizingRule::UserSized;
	EAutoCenter AutoCenter = EAutoCenter::PreferredWorkArea;
	bool bHasCloseButton = true;
	bool bHasMaximizeButton = true;
	bool bHasMinimizeButton = true;
	bool bIsVisible = false;
	bool bClosedNotified = false;
	TWeakPtr<SWindow> ParentWindowPtr;
	TArray<TSharedRef<SWindow>> ChildWindows;
	FOnWindowClosed OnWindowClosed;
};
