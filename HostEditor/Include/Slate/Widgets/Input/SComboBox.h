// SComboBox: a drop-down list of options; the chosen one is told to OnSelectionChanged. Each row of
// the open list is made by OnGenerateWidget; the closed box shows its own content.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Framework/SlateDelegates.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SComboButton.h"

template <typename OptionType>
class SComboBox : public SComboButton
{
public:
	using NullableOptionType = OptionType;
	typedef typename TSlateDelegates<NullableOptionType>::FOnSelectionChanged FOnSelectionChanged;
	typedef typename TSlateDelegates<OptionType>::FOnGenerateWidget FOnGenerateWidget;
	DECLARE_DELEGATE(FOnComboBoxOpening);

	SLATE_BEGIN_ARGS(SComboBox) : _Content(), _OptionsSource(nullptr), _InitiallySelectedItem() {}
		SLATE_DEFAULT_SLOT(FArguments, Content)
		SLATE_ARGUMENT(const TArray<OptionType>*, OptionsSource)
		SLATE_EVENT(FOnSelectionChanged, OnSelectionChanged)
		SLATE_EVENT(FOnGenerateWidget, OnGenerateWidget)
		SLATE_EVENT(FOnComboBoxOpening, OnComboBoxOpening)
		SLATE_ARGUMENT(NullableOptionType, InitiallySelectedItem)
	SLATE_END_ARGS()

	SComboBox() = default;

	void Construct(const FArguments& InArgs)
	{
		OptionsSource = InArgs._OptionsSource;
		OnSelectionChanged = InArgs._OnSelectionChanged;
		OnGenerateWidget = InArgs._OnGenerateWidget;
		OnComboBoxOpening = InArgs._OnComboBoxOpening;
		SelectedItem = InArgs._InitiallySelectedItem;
		ChildSlot[InArgs._Content.Widget];
	}

	/** Selects an option as code does: OnSelectionChanged is told, with ESelectInfo::Direct. */
	void SetSelectedItem(NullableOptionType InSelectedItem)
	{
		SelectedItem = InSelectedItem;
		OnSelectionChanged.ExecuteIfBound(InSelectedItem, ESelectInfo::Direct);
	}

	void ClearSelection() { SelectedItem = NullableOptionType(); }

	NullableOptionType GetSelectedItem() { return SelectedItem; }

	/** Re-reads the options source the next time the list opens. */
	void RefreshOptions() {}

	void SetOptionsSource(const TArray<OptionType>* InOptionsSource) { OptionsSource = InOptionsSource; }

private:
	virtual TArray<TSharedRef<SWidget>> GenerateMenuRowsForUser() override
	{
		OnComboBoxOpening.ExecuteIfBound();
		TArray<TSharedRef<SWidget>> Rows;
		if (OptionsSource && OnGenerateWidget.IsBound())
		{
			for (const OptionType& Option : *OptionsSource)
			{
				Rows.Add(OnGenerateWidget.Execute(Option));
			}
		}
		return Rows;
	}

	virtual void PickMenuRowForUser(int32 Index) override
	{
		if (OptionsSource && OptionsSource->IsValidIndex(Index))
		{
			SelectedItem = (*OptionsSource)[Index];
			OnSelectionChanged.ExecuteIfBound(SelectedItem, ESelectInfo::OnMouseClick);
		}
	}

	const TArray<OptionType>* OptionsSource = nullptr;
	FOnSelectionChanged OnSelectionChanged;
	FOnGenerateWidget OnGenerateWidget;
	FOnComboBoxOpening OnComboBoxOpening;
	NullableOptionType SelectedItem;
};
