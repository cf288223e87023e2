// The headless user at the widgets: walking the tree as it is laid out, naming each control by the
// words around it, and using it through its own input path.

#include "HostEditorSupport/SlateUser.h"

#include "Framework/Docking/TabManager.h"
#include "PropertyCustomizationHelpers.h"
#include "Styling/SlateTypes.h"
#include "UObject/Class.h"
#include "UObject/UObjectGlobals.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SCheckBox.h"
#include "Widgets/Input/SComboButton.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Layout/SExpandableArea.h"
#include "Widgets/Layout/SSeparator.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Text/STextBlock.h"

namespace HostEditor
{
	SLATECORE_API FName GetCheckBoxStyleName(const FCheckBoxStyle* Style);

	namespace
	{
		/** The first text shown in a widget or below it; empty when there is none. */
		FString FirstText(const TSharedRef<SWidget>& Widget)
		{
			if (const STextBlock* Text = dynamic_cast<const STextBlock*>(&Widget.Get()))
			{
				return Text->GetText().ToString();
			}
			FChildren* Children = Widget->GetChildren();
			for (int32 Index = 0; Index < Children->Num(); ++Index)
			{
				const FString Found = FirstText(Children->GetChildAt(Index));
				if (!Found.IsEmpty())
				{
					return Found;
				}
			}
			return FString();
		}

		/** A section's header button and body border, as SExpandableArea lays them out. */
		bool SplitExpandableArea(SExpandableArea& Area, TSharedPtr<SButton>& OutHeader, TSharedPtr<SWidget>& OutBody)
		{
			FChildren* Top = Area.GetChildren();
			if (Top->Num() != 1)
			{
				return false;
			}
			FChildren* Rows = Top->GetChildAt(0)->GetChildren();
			if (Rows->Num() != 2)
			{
				return false;
			}
			const TSharedRef<SWidget> Header = Rows->GetChildAt(0);
			if (!dynamic_cast<SButton*>(&Header.Get()))
			{
				return false;
			}
			OutHeader = StaticCastSharedRef<SButton>(Header);
			OutBody = Rows->GetChildAt(1);
			return true;
		}

		/** What a widget inherits from the widgets around it. */
		struct FScope
		{
			/** The titles of the sections around it, then its row's label when it has one. */
			TArray<FString> Context;
			/** Its row's label: the text a row starts with; empty outside a labelled row. */
			FString RowLabel;
			/** The row (horizontal box) it is in; null when none. */
			const SWidget* Row = nullptr;
			int32 SectionDepth = 0;
			bool bEnabled = true;
			bool bVisible = true;
			/** Shown but for collapsed sections. */
			bool bLaidOut = true;
		};

		/** Walks the tree in layout order, handing each widget the scope of the widgets around it. */
		class FWalker
		{
		public:
			TArray<FSlateUserControl> Controls;

			void Walk(const TSharedRef<SWidget>& Widget, FScope Scope)
			{
				Scope.bEnabled = Scope.bEnabled && Widget->IsEnabled();
				Scope.bVisible = Scope.bVisible && Widget->GetVisibility().IsVisible();
				Scope.bLaidOut = Scope.bLaidOut && Widget->GetVisibility().IsVisible();
				SWidget& Raw = Widget.Get();

				if (SExpandableArea* Area = dynamic_cast<SExpandableArea*>(&Raw))
				{
					TSharedPtr<SButton> Header;
					TSharedPtr<SWidget> Body;
					if (SplitExpandableArea(*Area, Header, Body))
					{
						FSlateUserControl& Section = Add(Widget, Scope, TEXT("Section"), FirstText(Header.ToSharedRef()));
						Section.Value = Area->IsExpanded() ? TEXT("true") : TEXT("false");
						FScope Inner = Scope;
						Inner.Context.Add(Section.Label);
						Inner.RowLabel.Reset();
						Inner.Row = nullptr;
						Inner.SectionDepth += 1;
						Inner.bEnabled = Inner.bEnabled && Body->IsEnabled();
						// A collapsed section hides its body from view, not from the layout it keeps.
						Inner.bVisible = Inner.bVisible && Area->IsExpanded();
						WalkChildren(*Body, Inner);
						return;
					}
				}
				if (dynamic_cast<SButton*>(&Raw))
				{
					Add(Widget, Scope, TEXT("Button"), FirstText(Widget));
					return;
				}
				if (SCheckBox* Check = dynamic_cast<SCheckBox*>(&Raw))
				{
					const bool bRadio = GetCheckBoxStyleName(Check->GetStyle()) == FName(TEXT("RadioButton"));
					FSlateUserControl& Control = Add(Widget, Scope, bRadio ? TEXT("RadioButton") : TEXT("CheckBox"), FirstText(Widget));
					Control.Value = Check->IsChecked() ? TEXT("true") : TEXT("false");
					return;
				}
				if (SComboButton* Combo = dynamic_cast<SComboButton*>(&Raw))
				{
					FSlateUserControl& Control = Add(Widget, Scope, TEXT("ComboBox"), Scope.RowLabel);
					Control.Value = FirstText(Widget);
					for (const TSharedRef<SWidget>& Option : FSlateUser::GenerateRows(*Combo))
					{
						Control.Options.Add(FirstText(Option));
					}
					return;
				}
				if (SEditableTextBox* Box = dynamic_cast<SEditableTextBox*>(&Raw))
				{
					Add(Widget, Scope, TEXT("TextBox"), Scope.RowLabel).Value = Box->GetText().ToString();
					return;
				}
				if (dynamic_cast<SObjectPropertyEntryBox*>(&Raw))
				{
					Add(Widget, Scope, TEXT("AssetPicker"), Scope.RowLabel).Value = FirstText(Widget);
					return;
				}
				if (SProgressBar* Bar = dynamic_cast<SProgressBar*>(&Raw))
				{
					const TOptional<float> Percent = Bar->GetPercent();
					Add(Widget, Scope, TEXT("ProgressBar"), FString()).Value = Percent.IsSet() ? FString::Printf(TEXT("%.0f"), Percent.GetValue() * 100.0f) : FString();
					return;
				}
				if (const STextBlock* Text = dynamic_cast<const STextBlock*>(&Raw))
				{
					FSlateUserControl& Control = Add(Widget, Scope, TEXT("Text"), Text->GetText().ToString());
					Control.Value = Control.Label;
					return;
				}
				if (dynamic_cast<SHorizontalBox*>(&Raw))
				{
					Scope.Row = &Raw;
					// A row that starts with a text: that text labels the row's other controls.
					FChildren* Children = Widget->GetChildren();
					if (Children->Num() > 1 && dynamic_cast<const STextBlock*>(&Children->GetChildAt(0).Get()))
					{
						Scope.RowLabel = FirstText(Children->GetChildAt(0));
						Scope.Context.Add(Scope.RowLabel);
					}
				}
				WalkChildren(Raw, Scope);
			}

		private:
			void WalkChildren(SWidget& Parent, const FScope& Scope)
			{
				FChildren* Children = Parent.GetChildren();
				for (int32 Index = 0; Index < Children->Num(); ++Index)
				{
					Walk(Children->GetChildAt(Index), Scope);
				}
			}

			FSlateUserControl& Add(const TSharedRef<SWidget>& Widget, const FScope& Scope, const TCHAR* Kind, const FString& Label)
			{
				FSlateUserControl& Control = Controls.AddDefaulted_GetRef();
				Control.Widget = Widget;
				Control.Kind = Kind;
				Control.Label = Label;
				Control.ToolTip = FSlateUser::ToolTipOf(Widget.Get());
				Control.Context = Scope.Context;
				Control.bEnabled = Scope.bEnabled;
				Control.bVisible = Scope.bVisible;
				Control.bInLayout = Scope.bLaidOut;
				Control.SectionDepth = Scope.SectionDepth;
				Control.Row = Scope.Row;
				return Control;
			}
		};

		TArray<FString> SplitQuery(const FString& Query)
		{
			TArray<FString> Parts;
			Query.ParseIntoArray(Parts, TEXT(">"), true);
			for (FString& Part : Parts)
			{
				Part = Part.TrimStartAndEnd();
			}
			return Parts;
		}

		bool Matches(const FSlateUserControl& Control, const TArray<FString>& Parts)
		{
			if (Parts.IsEmpty())
			{
				return false;
			}
			const FString& Name = Parts.Last();
			const bool bNamed = (!Control.Label.IsEmpty() && Control.Label.Equals(Name, ESearchCase::IgnoreCase))
				|| (!Control.ToolTip.IsEmpty() && Control.ToolTip.Equals(Name, ESearchCase::IgnoreCase));
			if (!bNamed)
			{
				return false;
			}
			int32 Next = 0;
			for (int32 Part = 0; Part + 1 < Parts.Num(); ++Part)
			{
				while (Next < Control.Context.Num() && !Control.Context[Next].Equals(Parts[Part], ESearchCase::IgnoreCase))
				{
					++Next;
				}
				if (Next == Control.Context.Num())
				{
					return false;
				}
				++Next;
			}
			return true;
		}

		/** The control to act on, shown and enabled; an error naming why not otherwise. */
		bool FindUsable(const TSharedRef<SWidget>& Root, const FString& Query, std::initializer_list<const TCHAR*> Kinds, FSlateUserControl& OutControl, FString& OutError)
		{
			if (!FSlateUser::FindControl(Root, Query, OutControl, OutError))
			{
				return false;
			}
			bool bKind = false;
			FString KindList;
			for (const TCHAR* Kind : Kinds)
			{
				bKind |= OutControl.Kind == Kind;
				KindList += KindList.IsEmpty() ? FString(Kind) : FString::Printf(TEXT(" or %s"), Kind);
			}
			if (!bKind)
			{
				OutError = FString::Printf(TEXT("'%s' is a %s, not a %s"), *OutControl.GetPath(), *OutControl.Kind, *KindList);
				return false;
			}
			if (!OutControl.bVisible)
			{
				OutError = FString::Printf(TEXT("'%s' is not shown (expand the section it is in)"), *OutControl.GetPath());
				return false;
			}
			if (!OutControl.bEnabled)
			{
				OutError = FString::Printf(TEXT("'%s' is disabled"), *OutControl.GetPath());
				return false;
			}
			return true;
		}
	}

	FString FSlateUserControl::GetPath() const
	{
		const FString Name = Label.IsEmpty() ? ToolTip : Label;
		TArray<FString> Steps;
		for (int32 Index = 0; Index < Context.Num(); ++Index)
		{
			// A box labelled by its row carries the row's label as its own.
			if (Index + 1 < Context.Num() || Context[Index] != Name)
			{
				Steps.Add(Context[Index]);
			}
		}
		if (!Name.IsEmpty())
		{
			Steps.Add(Name);
		}
		return FString::Join(Steps, TEXT(">"));
	}

	FString FSlateUser::ToolTipOf(const SWidget& Widget)
	{
		return Widget.ToolTipTextAttribute.Get(FText::GetEmpty()).ToString();
	}

	TArray<TSharedRef<SWidget>> FSlateUser::GenerateRows(SComboButton& Combo)
	{
		return Combo.GenerateMenuRowsForUser();
	}

	TSharedPtr<SWidget> FSlateUser::FindTabContent(FName TabId)
	{
		const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(TabId));
		return Tab ? TSharedPtr<SWidget>(Tab->GetContent()) : TSharedPtr<SWidget>();
	}

	TArray<FSlateUserControl> FSlateUser::ListControls(const TSharedRef<SWidget>& Root)
	{
		FWalker Walker;
		Walker.Walk(Root, FScope());
		return MoveTemp(Walker.Controls);
	}

	bool FSlateUser::FindControl(const TSharedRef<SWidget>& Root, const FString& Query, FSlateUserControl& OutControl, FString& OutError)
	{
		const TArray<FString> Parts = SplitQuery(Query);
		TArray<FSlateUserControl> Found;
		for (FSlateUserControl& Control : ListControls(Root))
		{
			if (Control.Kind != TEXT("Text") && Control.bInLayout && Matches(Control, Parts))
			{
				Found.Add(MoveTemp(Control));
			}
		}
		if (Found.IsEmpty())
		{
			OutError = FString::Printf(TEXT("no control is named '%s'"), *Query);
			return false;
		}
		if (Found.Num() > 1)
		{
			TArray<FSlateUserControl> Shown;
			for (const FSlateUserControl& Control : Found)
			{
				if (Control.bVisible)
				{
					Shown.Add(Control);
				}
			}
			if (Shown.Num() != 1)
			{
				FString Names;
				for (const FSlateUserControl& Control : Found)
				{
					Names += FString::Printf(TEXT("\n  %s"), *Control.GetPath());
				}
				OutError = FString::Printf(TEXT("'%s' names %d controls; name the section or row too:%s"), *Query, Found.Num(), *Names);
				return false;
			}
			Found = Shown;
		}
		OutControl = Found[0];
		return true;
	}

	bool FSlateUser::Click(const TSharedRef<SWidget>& Root, const FString& Query, FString& OutError)
	{
		FSlateUserControl Control;
		if (!FindUsable(Root, Query, {TEXT("Button"), TEXT("Section")}, Control, OutError))
		{
			return false;
		}
		if (Control.Kind == TEXT("Section"))
		{
			TSharedPtr<SButton> Header;
			TSharedPtr<SWidget> Body;
			SplitExpandableArea(static_cast<SExpandableArea&>(*Control.Widget), Header, Body);
			Header->SimulateClick();
			return true;
		}
		static_cast<SButton&>(*Control.Widget).SimulateClick();
		return true;
	}

	bool FSlateUser::SetExpanded(const TSharedRef<SWidget>& Root, const FString& Query, bool bExpanded, FString& OutError)
	{
		FSlateUserControl Control;
		if (!FindUsable(Root, Query, {TEXT("Section")}, Control, OutError))
		{
			return false;
		}
		SExpandableArea& Area = static_cast<SExpandableArea&>(*Control.Widget);
		if (Area.IsExpanded() != bExpanded)
		{
			TSharedPtr<SButton> Header;
			TSharedPtr<SWidget> Body;
			SplitExpandableArea(Area, Header, Body);
			Header->SimulateClick();
		}
		return true;
	}

	bool FSlateUser::Pick(const TSharedRef<SWidget>& Root, const FString& Query, const FString& Item, FString& OutError)
	{
		FSlateUserControl Control;
		if (!FindUsable(Root, Query, {TEXT("ComboBox"), TEXT("AssetPicker")}, Control, OutError))
		{
			return false;
		}
		if (Control.Kind == TEXT("ComboBox"))
		{
			SComboButton& Combo = static_cast<SComboButton&>(*Control.Widget);
			const TArray<TSharedRef<SWidget>> Rows = Combo.GenerateMenuRowsForUser();
			for (int32 Index = 0; Index < Rows.Num(); ++Index)
			{
				if (FirstText(Rows[Index]) == Item)
				{
					Combo.PickMenuRowForUser(Index);
					return true;
				}
			}
			OutError = FString::Printf(TEXT("'%s' has no item '%s' (it lists: %s)"), *Control.GetPath(), *Item, *FString::Join(Control.Options, TEXT(", ")));
			return false;
		}
		SObjectPropertyEntryBox& Picker = static_cast<SObjectPropertyEntryBox&>(*Control.Widget);
		const FString Path = Item.TrimStartAndEnd();
		if (Path.IsEmpty() || Path.Equals(TEXT("None"), ESearchCase::IgnoreCase))
		{
			if (!Picker.bAllowClear)
			{
				OutError = FString::Printf(TEXT("'%s' cannot be cleared"), *Control.GetPath());
				return false;
			}
			Picker.OnObjectChanged.ExecuteIfBound(FAssetData());
			return true;
		}
		// The asset picker lists the assets of the allowed class; anything else cannot be picked.
		UObject* Asset = StaticLoadObject(UObject::StaticClass(), nullptr, *Path, nullptr, LOAD_NoWarn);
		if (!IsValid(Asset) || !Asset->IsAsset())
		{
			OutError = FString::Printf(TEXT("'%s' lists no asset '%s'"), *Control.GetPath(), *Path);
			return false;
		}
		if (Picker.AllowedClass && !Asset->IsA(Picker.AllowedClass))
		{
			OutError = FString::Printf(TEXT("'%s' lists only %s assets; '%s' is a %s"), *Control.GetPath(), *Picker.AllowedClass->GetName(), *Path, *Asset->GetClass()->GetName());
			return false;
		}
		Picker.OnObjectChanged.ExecuteIfBound(FAssetData(Asset));
		return true;
	}

	bool FSlateUser::Type(const TSharedRef<SWidget>& Root, const FString& Query, const FString& Text, FString& OutError)
	{
		FSlateUserControl Control;
		if (!FindUsable(Root, Query, {TEXT("TextBox")}, Control, OutError))
		{
			return false;
		}
		SEditableTextBox& Box = static_cast<SEditableTextBox&>(*Control.Widget);
		if (Box.bIsReadOnly.Get(false))
		{
			OutError = FString::Printf(TEXT("'%s' is read-only"), *Control.GetPath());
			return false;
		}
		const FText NewText = FText::FromString(Text);
		Box.EditedText = NewText;
		Box.OnTextChanged.ExecuteIfBound(NewText);
		Box.EditedText.Reset();
		Box.OnTextCommitted.ExecuteIfBound(NewText, ETextCommit::OnEnter);
		return true;
	}

	bool FSlateUser::SetChecked(const TSharedRef<SWidget>& Root, const FString& Query, bool bChecked, FString& OutError)
	{
		FSlateUserControl Control;
		if (!FindUsable(Root, Query, {TEXT("CheckBox"), TEXT("RadioButton")}, Control, OutError))
		{
			return false;
		}
		SCheckBox& Check = static_cast<SCheckBox&>(*Control.Widget);
		if (Check.IsChecked() != bChecked)
		{
			Check.ToggleCheckedState();
		}
		return true;
	}

	namespace
	{
		FString Render(const FSlateUserControl& Control)
		{
			FString Shown;
			if (Control.Kind == TEXT("Button"))
			{
				Shown = FString::Printf(TEXT("<%s>"), *Control.Label);
			}
			else if (Control.Kind == TEXT("CheckBox"))
			{
				Shown = FString::Printf(TEXT("[%s] %s"), Control.Value == TEXT("true") ? TEXT("x") : TEXT(" "), *Control.Label);
			}
			else if (Control.Kind == TEXT("RadioButton"))
			{
				Shown = FString::Printf(TEXT("(%s) %s"), Control.Value == TEXT("true") ? TEXT("o") : TEXT(" "), *Control.Label);
			}
			else if (Control.Kind == TEXT("ComboBox"))
			{
				Shown = FString::Printf(TEXT("[%s v] (%s)"), *Control.Value, *FString::Join(Control.Options, TEXT(" | ")));
			}
			else if (Control.Kind == TEXT("TextBox"))
			{
				Shown = FString::Printf(TEXT("[%s]"), *Control.Value);
			}
			else if (Control.Kind == TEXT("AssetPicker"))
			{
				Shown = FString::Printf(TEXT("{%s}"), *Control.Value);
			}
			else if (Control.Kind == TEXT("ProgressBar"))
			{
				const int32 Filled = FMath::Clamp(FCString::Atoi(*Control.Value) / 10, 0, 10);
				Shown = FString::Printf(TEXT("[%s%s] %s%%"), *FString::ChrN(Filled, TEXT('#')), *FString::ChrN(10 - Filled, TEXT('-')), *Control.Value);
			}
			else
			{
				Shown = Control.Label;
			}
			if (!Control.bEnabled && Control.Kind != TEXT("Text"))
			{
				Shown += TEXT(" (disabled)");
			}
			return Shown;
		}
	}

	FString FSlateUser::Outline(const TSharedRef<SWidget>& Root)
	{
		FString Text;
		TArray<FString> Line;
		int32 LineDepth = 0;
		const SWidget* LineRow = nullptr;
		const auto FlushLine = [&]()
		{
			if (!Line.IsEmpty())
			{
				Text += FString::ChrN(LineDepth * 2, TEXT(' ')) + FString::Join(Line, TEXT("  ")) + TEXT("\n");
				Line.Reset();
			}
		};
		for (const FSlateUserControl& Control : ListControls(Root))
		{
			if (!Control.bVisible || (Control.Kind == TEXT("Text") && Control.Label.IsEmpty()))
			{
				continue;
			}
			if (Control.Kind == TEXT("Section"))
			{
				FlushLine();
				Text += FString::ChrN(Control.SectionDepth * 2, TEXT(' ')) + FString::Printf(TEXT("[%s] %s%s\n"),
					Control.Value == TEXT("true") ? TEXT("-") : TEXT("+"), *Control.Label, Control.bEnabled ? TEXT("") : TEXT(" (disabled)"));
				continue;
			}
			// The controls of one row (its label first) share a line.
			if (!Line.IsEmpty() && (Control.Row == nullptr || Control.Row != LineRow))
			{
				FlushLine();
			}
			if (Line.IsEmpty())
			{
				LineDepth = Control.SectionDepth;
				LineRow = Control.Row;
			}
			Line.Add(Render(Control));
		}
		FlushLine();
		return Text;
	}
}
