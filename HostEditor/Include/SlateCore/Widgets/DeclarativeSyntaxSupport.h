// Slate's declarative syntax: SNew(SWidgetType).Argument(Value)[ Child ] builds a widget from its
// FArguments, and SLATE_BEGIN_ARGS ... SLATE_END_ARGS declares those arguments in a widget class.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Layout/Visibility.h"
#include "Misc/Attribute.h"
#include "Widgets/SNullWidget.h"
#include "Widgets/SWidget.h"

/** A widget that must be set; it holds the null widget until it is. */
struct TAlwaysValidWidget
{
	TAlwaysValidWidget() : Widget(SNullWidget::NullWidget) {}
	TSharedRef<SWidget> Widget;
};

/** The base of every widget's FArguments. */
template <typename WidgetType>
struct TSlateBaseNamedArgs
{
	using WidgetArgsType = typename WidgetType::FArguments;

	WidgetArgsType& Me() { return *static_cast<WidgetArgsType*>(this); }

	WidgetArgsType& IsEnabled(TAttribute<bool> InAttribute)
	{
		_IsEnabled = InAttribute;
		return Me();
	}

	WidgetArgsType& Visibility(TAttribute<EVisibility> InAttribute)
	{
		_Visibility = InAttribute;
		return Me();
	}

	WidgetArgsType& ToolTipText(const TAttribute<FText>& InAttribute)
	{
		_ToolTipText = InAttribute;
		return Me();
	}

	TAttribute<bool> _IsEnabled = true;
	TAttribute<EVisibility> _Visibility = EVisibility::Visible;
	TAttribute<FText> _ToolTipText;
};

/** A named slot of FArguments: Args.SlotName()[ Widget ]. */
template <typename DeclarationType>
struct NamedSlotProperty
{
	NamedSlotProperty(DeclarationType& InOwnerDeclaration, TAlwaysValidWidget& InSlotContent) : OwnerDeclaration(InOwnerDeclaration), SlotContent(InSlotContent) {}

	DeclarationType& operator[](const TSharedRef<SWidget>& InChild)
	{
		SlotContent.Widget = InChild;
		return OwnerDeclaration;
	}

	DeclarationType& OwnerDeclaration;
	TAlwaysValidWidget& SlotContent;
};

#define SLATE_BEGIN_ARGS(InWidgetType) \
public: \
	struct FArguments : public TSlateBaseNamedArgs<InWidgetType> \
	{ \
		typedef FArguments WidgetArgsType; \
		typedef InWidgetType WidgetType; \
		FArguments()

#define SLATE_END_ARGS() \
	};

#define SLATE_ATTRIBUTE(AttrType, AttrName) \
	TAttribute<AttrType> _##AttrName; \
	WidgetArgsType& AttrName(const TAttribute<AttrType>& InAttribute) \
	{ \
		_##AttrName = InAttribute; \
		return this->Me(); \
	}

#define SLATE_ARGUMENT(ArgType, ArgName) \
	ArgType _##ArgName; \
	WidgetArgsType& ArgName(ArgType InArg) \
	{ \
		_##ArgName = InArg; \
		return this->Me(); \
	}

#define SLATE_STYLE_ARGUMENT(ArgType, ArgName) \
	const ArgType* _##ArgName; \
	WidgetArgsType& ArgName(const ArgType* InArg) \
	{ \
		_##ArgName = InArg; \
		return this->Me(); \
	}

#define SLATE_EVENT(DelegateName, EventName) \
	DelegateName _##EventName; \
	WidgetArgsType& EventName(const DelegateName& InDelegate) \
	{ \
		_##EventName = InDelegate; \
		return this->Me(); \
	}

#define SLATE_NAMED_SLOT(DeclarationType, SlotName) \
	NamedSlotProperty<DeclarationType> SlotName() { return NamedSlotProperty<DeclarationType>(*this, _##SlotName); } \
	TAlwaysValidWidget _##SlotName;

#define SLATE_DEFAULT_SLOT(DeclarationType, SlotName) \
	SLATE_NAMED_SLOT(DeclarationType, SlotName) \
	DeclarationType& operator[](const TSharedRef<SWidget>& InChild) \
	{ \
		_##SlotName.Widget = InChild; \
		return this->Me(); \
	}

/** What SNew makes: the new widget, constructed from the arguments that follow. */
template <typename WidgetType>
struct TSlateDecl
{
	TSlateDecl(const ANSICHAR* InType, const ANSICHAR* InFile, int32 InLine) : Widget(MakeShared<WidgetType>())
	{
		Widget->SWidgetConstruct(FName(UTF8_TO_TCHAR(InType)), InFile, InLine);
	}

	TSlateDecl&& Expose(TSharedPtr<WidgetType>& OutVarToInit) &&
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	TSlateDecl&& Expose(TSharedRef<WidgetType>& OutVarToInit) &&
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	TSharedRef<WidgetType> operator<<=(const typename WidgetType::FArguments& InArgs) &&
	{
		Widget->SetEnabled(InArgs._IsEnabled);
		Widget->SetVisibility(InArgs._Visibility);
		Widget->SetToolTipText(InArgs._ToolTipText);
		Widget->Construct(InArgs);
		return Widget;
	}

	TSharedRef<WidgetType> Widget;
};

#define SNew(WidgetType, ...) TSlateDecl<WidgetType>(#WidgetType, __FILE__, __LINE__) <<= typename WidgetType::FArguments()
#define SAssignNew(ExposeAs, WidgetType, ...) TSlateDecl<WidgetType>(#WidgetType, __FILE__, __LINE__).Expose(ExposeAs) <<= typename WidgetType::FArguments()
