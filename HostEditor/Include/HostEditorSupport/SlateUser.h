// Stand-in only: a user at the headless editor's widgets. It finds a control as a user does, by
// the words on screen (its label, the row label beside it, its tool tip, the sections around it),
// reads what the control shows, and uses it through the widget's own input path: a click runs the
// button's OnClicked, a pick chooses a row of the combo box's list or an asset in the picker,
// typing edits a text box and commits it with Enter, a tick toggles a check box. Hidden and
// disabled controls refuse, as they would under the mouse.
#pragma once

#include "CoreMinimal.h"

class SComboButton;
class SWidget;

namespace HostEditor
{
	/** One control as the user sees it. */
	struct FSlateUserControl
	{
		TSharedPtr<SWidget> Widget;
		/** "Section", "Button", "CheckBox", "RadioButton", "ComboBox", "TextBox", "AssetPicker", "Text", "ProgressBar". */
		FString Kind;
		/** The words that name it: a button's or check box's text, a section's title, the row label of a
		 * box, picker or drop-down, a text's own text. */
		FString Label;
		FString ToolTip;
		/** The titles of the sections around it, outermost first, then its row's label when it has one. */
		TArray<FString> Context;
		/** What it shows: a box's text, the drop-down's choice, the picker's asset ("None" when empty),
		 * "true"/"false" for a check box or section (expanded), the bar's percent. */
		FString Value;
		/** The drop-down's choices, as its list shows them when opened. */
		TArray<FString> Options;
		/** Enabled and shown, counting the widgets around it. */
		bool bEnabled = true;
		bool bVisible = true;
		/** Part of the layout: hidden, if at all, only by a collapsed section around it. A control
		 * collapsed by its own rule (a row one kind of section lacks) is not there for the user. */
		bool bInLayout = true;
		/** How many sections it is in, and the row (horizontal box) it shares a line with; null when none. */
		int32 SectionDepth = 0;
		const SWidget* Row = nullptr;

		/** "Section>Row>Label", as a query names it. */
		FString GetPath() const;
	};

	class SLATE_API FSlateUser
	{
	public:
		/** The content of the live tab TabId of the global tab manager; null when the tab is not open. */
		static TSharedPtr<SWidget> FindTabContent(FName TabId);

		/** Every control under Root in layout order, hidden ones included. */
		static TArray<FSlateUserControl> ListControls(const TSharedRef<SWidget>& Root);

		/**
		 * The control a query names: "Label" or "Context>...>Label", where Label is the control's label
		 * or tool tip and each context step a section title or row label around it, in order (case is
		 * ignored). When several match and one of them is shown, that one; otherwise an error that
		 * lists them.
		 */
		static bool FindControl(const TSharedRef<SWidget>& Root, const FString& Query, FSlateUserControl& OutControl, FString& OutError);

		/** Expands (or collapses) a section as a click on its header does; nothing happens when it already is. */
		static bool SetExpanded(const TSharedRef<SWidget>& Root, const FString& Query, bool bExpanded, FString& OutError);

		/** Clicks a button, or a section's header (expanding or collapsing it). */
		static bool Click(const TSharedRef<SWidget>& Root, const FString& Query, FString& OutError);
		/** Chooses an item of a drop-down by its text, or an asset of a picker by object path ("None" clears it). */
		static bool Pick(const TSharedRef<SWidget>& Root, const FString& Query, const FString& Item, FString& OutError);
		/** Replaces a text box's text as typing does, then commits it with Enter. */
		static bool Type(const TSharedRef<SWidget>& Root, const FString& Query, const FString& Text, FString& OutError);
		/** Ticks (or clears) a check box or radio choice; nothing happens when it already is. */
		static bool SetChecked(const TSharedRef<SWidget>& Root, const FString& Query, bool bChecked, FString& OutError);

		/**
		 * The window as an indented outline, one line per section, row or control: "[-] Title" for an
		 * expanded section (its content indented below), "[+] Title" for a collapsed one, "<Button>",
		 * "[x] Check" / "[ ] Check", "(o) Choice" / "( ) Choice", "[text]" for a text box, "[Choice v]
		 * (A | B)" for a drop-down, "{/Game/Asset}" for a picker, "[####------] 40%" for a bar; a row's
		 * controls share its line, and a disabled control is followed by "(disabled)". Hidden controls
		 * are left out.
		 */
		static FString Outline(const TSharedRef<SWidget>& Root);

		/** A widget's tool tip text; empty when it has none. */
		static FString ToolTipOf(const SWidget& Widget);
		/** The rows a combo box's list shows when opened, made afresh. */
		static TArray<TSharedRef<SWidget>> GenerateRows(SComboButton& Combo);
	};
}
