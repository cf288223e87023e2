// The editor's menu system in the headless editor: menus, their sections and entries, owners, and
// generating what the user sees when a menu or sub-menu opens.

#include "ToolMenus.h"

#include "HostEditorSupport/EditorProcessReset.h"
#include "Misc/CoreDelegates.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogToolMenus, Log, All);

namespace
{
	UToolMenus*& Singleton()
	{
		static UToolMenus* Instance = nullptr;
		return Instance;
	}

	FSimpleMulticastDelegate& StartupCallbacks()
	{
		static FSimpleMulticastDelegate Callbacks;
		return Callbacks;
	}

	bool& HasRunStartupCallbacks()
	{
		static bool bHasRun = false;
		return bHasRun;
	}

	void CopyEntry(const FToolMenuEntry& Entry, FToolMenuSection& Into)
	{
		Into.Blocks.Add(Entry);
	}
}

// ---------------------------------------------------------------------------------------------------
// Entries and sections

FToolMenuEntry FToolMenuEntry::InitMenuEntry(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon,
	const FToolUIActionChoice& InAction, const EUserInterfaceActionType UserInterfaceActionType, const FName InTutorialHighlightName)
{
	FToolMenuEntry Entry;
	Entry.Name = InName;
	Entry.Type = EMultiBlockType::MenuEntry;
	Entry.Label = InLabel;
	Entry.ToolTip = InToolTip;
	Entry.Icon = InIcon;
	Entry.Action = InAction;
	Entry.UserInterfaceActionType = UserInterfaceActionType;
	Entry.TutorialHighlightName = InTutorialHighlightName;
	return Entry;
}

FToolMenuEntry FToolMenuEntry::InitSubMenu(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const FNewToolMenuChoice& InMakeMenu,
	bool bInOpenSubMenuOnClick, const TAttribute<FSlateIcon>& InIcon, const bool bShouldCloseWindowAfterMenuSelection, const FName InTutorialHighlightName)
{
	FToolMenuEntry Entry = InitMenuEntry(InName, InLabel, InToolTip, InIcon, FToolUIActionChoice(), EUserInterfaceActionType::Button, InTutorialHighlightName);
	Entry.SubMenuData.bIsSubMenu = true;
	Entry.SubMenuData.bOpenSubMenuOnClick = bInOpenSubMenuOnClick;
	Entry.SubMenuData.ConstructMenu = InMakeMenu;
	Entry.bShouldCloseWindowAfterMenuSelection = bShouldCloseWindowAfterMenuSelection;
	return Entry;
}

FToolMenuEntry& FToolMenuSection::AddEntry(const FToolMenuEntry& Args)
{
	FToolMenuEntry Entry = Args;
	if (!Entry.Owner.IsSet())
	{
		Entry.Owner = UToolMenus::Get()->CurrentOwner();
	}
	if (!Entry.Name.IsNone())
	{
		if (FToolMenuEntry* Existing = FindEntry(Entry.Name))
		{
			*Existing = Entry;
			return *Existing;
		}
	}
	Blocks.Add(Entry);
	return Blocks.Last();
}

FToolMenuEntry& FToolMenuSection::AddMenuEntry(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon,
	const FToolUIActionChoice& InAction, const EUserInterfaceActionType UserInterfaceActionType, const FName InTutorialHighlightName)
{
	return AddEntry(FToolMenuEntry::InitMenuEntry(InName, InLabel, InToolTip, InIcon, InAction, UserInterfaceActionType, InTutorialHighlightName));
}

FToolMenuEntry& FToolMenuSection::AddSubMenu(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const FNewToolMenuChoice& InMakeMenu,
	bool bInOpenSubMenuOnClick, const TAttribute<FSlateIcon>& InIcon, const bool bShouldCloseWindowAfterMenuSelection, const FName InTutorialHighlightName)
{
	return AddEntry(FToolMenuEntry::InitSubMenu(InName, InLabel, InToolTip, InMakeMenu, bInOpenSubMenuOnClick, InIcon, bShouldCloseWindowAfterMenuSelection, InTutorialHighlightName));
}

FToolMenuEntry* FToolMenuSection::FindEntry(const FName InName)
{
	return Blocks.FindByPredicate([&InName](const FToolMenuEntry& Entry) { return Entry.Name == InName; });
}

const FToolMenuEntry* FToolMenuSection::FindEntry(const FName InName) const
{
	return Blocks.FindByPredicate([&InName](const FToolMenuEntry& Entry) { return Entry.Name == InName; });
}

// ---------------------------------------------------------------------------------------------------
// Menus

UToolMenu::UToolMenu(const FObjectInitializer& ObjectInitializer) : Super(ObjectInitializer)
{
}

FToolMenuSection& UToolMenu::AddSection(const FName SectionName, const TAttribute<FText>& InLabel, const FToolMenuInsert InPosition)
{
	if (FToolMenuSection* Existing = FindSection(SectionName))
	{
		if (InLabel.IsSet())
		{
			Existing->Label = InLabel;
		}
		return *Existing;
	}
	FToolMenuSection Section;
	Section.Name = SectionName;
	Section.Label = InLabel;
	Section.Owner = UToolMenus::Get()->CurrentOwner();
	int32 Index = Sections.Num();
	if (InPosition.Position == EToolMenuInsertType::First)
	{
		Index = 0;
	}
	else if (InPosition.Position == EToolMenuInsertType::Before || InPosition.Position == EToolMenuInsertType::After)
	{
		const int32 Sibling = Sections.IndexOfByPredicate([&InPosition](const FToolMenuSection& Other) { return Other.Name == InPosition.Name; });
		if (Sibling != INDEX_NONE)
		{
			Index = InPosition.Position == EToolMenuInsertType::Before ? Sibling : Sibling + 1;
		}
	}
	Sections.Insert(Section, Index);
	return Sections[Index];
}

FToolMenuSection& UToolMenu::FindOrAddSection(const FName SectionName)
{
	return AddSection(SectionName);
}

FToolMenuSection& UToolMenu::FindOrAddSection(const FName SectionName, const TAttribute<FText>& InLabel, const FToolMenuInsert InPosition)
{
	return AddSection(SectionName, InLabel, InPosition);
}

FToolMenuSection* UToolMenu::FindSection(const FName SectionName)
{
	return Sections.FindByPredicate([&SectionName](const FToolMenuSection& Section) { return Section.Name == SectionName; });
}

void UToolMenu::RemoveSection(const FName SectionName)
{
	Sections.RemoveAll([&SectionName](const FToolMenuSection& Section) { return Section.Name == SectionName; });
}

// ---------------------------------------------------------------------------------------------------
// The menu system

UToolMenus::UToolMenus(const FObjectInitializer& ObjectInitializer) : Super(ObjectInitializer)
{
}

UToolMenus* UToolMenus::Get()
{
	UToolMenus*& Instance = Singleton();
	if (!Instance)
	{
		Instance = NewObject<UToolMenus>(GetTransientPackage(), FName(TEXT("ToolMenus")));
	}
	return Instance;
}

UToolMenus* UToolMenus::TryGet()
{
	return Singleton();
}

bool UToolMenus::IsToolMenuUIEnabled()
{
	return FModuleManager::Get().IsModuleLoaded(TEXT("ToolMenus"));
}

FDelegateHandle UToolMenus::RegisterStartupCallback(const FSimpleMulticastDelegate::FDelegate& InDelegate)
{
	if (HasRunStartupCallbacks() && IsToolMenuUIEnabled())
	{
		// The menu system is ready: the callback runs now, as it would have run at start-up.
		InDelegate.ExecuteIfBound();
	}
	return StartupCallbacks().Add(InDelegate);
}

void UToolMenus::UnRegisterStartupCallback(FDelegateHandle InHandle)
{
	StartupCallbacks().Remove(InHandle);
}

void UToolMenus::UnRegisterStartupCallback(const void* UserPointer)
{
	StartupCallbacks().RemoveAll(UserPointer);
}

void UToolMenus::RunStartupCallbacks()
{
	if (HasRunStartupCallbacks())
	{
		return;
	}
	HasRunStartupCallbacks() = true;
	StartupCallbacks().Broadcast();
}

void HostEditor::ResetToolMenus()
{
	if (UToolMenus* Menus = Singleton())
	{
		Menus->MarkAsGarbage();
	}
	Singleton() = nullptr;
	StartupCallbacks().Clear();
	HasRunStartupCallbacks() = false;
}

void UToolMenus::UnregisterOwner(FToolMenuOwner InOwner)
{
	if (UToolMenus* Instance = TryGet())
	{
		Instance->UnregisterOwnerInternal(InOwner);
	}
}

void UToolMenus::UnregisterOwnerInternal(FToolMenuOwner InOwner)
{
	if (!InOwner.IsSet())
	{
		return;
	}
	for (TPair<FName, UToolMenu*>& Pair : Menus)
	{
		UToolMenu* Menu = Pair.Value;
		for (FToolMenuSection& Section : Menu->Sections)
		{
			Section.Blocks.RemoveAll([&InOwner](const FToolMenuEntry& Entry) { return Entry.Owner == InOwner; });
		}
		// A section the owner added goes once none of its entries belongs to anyone else.
		Menu->Sections.RemoveAll([&InOwner](const FToolMenuSection& Section) { return Section.Owner == InOwner && Section.Blocks.IsEmpty(); });
	}
}

UToolMenu* UToolMenus::RegisterMenu(const FName Name, const FName Parent, EMultiBoxType Type, bool bWarnIfAlreadyRegistered)
{
	UToolMenu* Menu = ExtendMenu(Name);
	if (Menu->bRegistered && bWarnIfAlreadyRegistered)
	{
		UE_LOG(LogToolMenus, Warning, TEXT("Menu '%s' is already registered."), *Name.ToString());
	}
	Menu->bRegistered = true;
	Menu->MenuParent = Parent;
	Menu->MenuType = Type;
	return Menu;
}

UToolMenu* UToolMenus::ExtendMenu(const FName Name)
{
	if (UToolMenu** Existing = Menus.Find(Name))
	{
		return *Existing;
	}
	UToolMenu* Menu = NewObject<UToolMenu>(this);
	Menu->MenuName = Name;
	Menus.Add(Name, Menu);
	return Menu;
}

UToolMenu* UToolMenus::FindMenu(const FName Name)
{
	UToolMenu** Existing = Menus.Find(Name);
	return Existing ? *Existing : nullptr;
}

bool UToolMenus::IsMenuRegistered(const FName Name) const
{
	UToolMenu* const* Existing = Menus.Find(Name);
	return Existing && (*Existing)->bRegistered;
}

void UToolMenus::RemoveMenu(const FName MenuName)
{
	Menus.Remove(MenuName);
}

UToolMenu* UToolMenus::GenerateMenu(const FName Name, const FToolMenuContext& InMenuContext)
{
	UToolMenu* Generated = NewObject<UToolMenu>(this);
	Generated->MenuName = Name;
	Generated->Context = InMenuContext;
	if (UToolMenu* Source = FindMenu(Name))
	{
		Generated->MenuType = Source->MenuType;
		Generated->MenuParent = Source->MenuParent;
		for (const FToolMenuSection& Section : Source->Sections)
		{
			FToolMenuSection& Copy = Generated->Sections.Add_GetRef(FToolMenuSection());
			Copy.Name = Section.Name;
			Copy.Label = Section.Label;
			Copy.Owner = Section.Owner;
			for (const FToolMenuEntry& Entry : Section.Blocks)
			{
				CopyEntry(Entry, Copy);
			}
		}
	}
	return Generated;
}

UToolMenu* UToolMenus::GenerateSubMenu(const UToolMenu* InGeneratedParent, const FName InBlockName)
{
	if (!InGeneratedParent)
	{
		return nullptr;
	}
	const FToolMenuEntry* Block = nullptr;
	for (const FToolMenuSection& Section : InGeneratedParent->Sections)
	{
		if (const FToolMenuEntry* Found = Section.FindEntry(InBlockName))
		{
			Block = Found;
			break;
		}
	}
	if (!Block || !Block->IsSubMenu())
	{
		return nullptr;
	}
	const FName SubMenuName(*(InGeneratedParent->MenuName.ToString() + TEXT(".") + InBlockName.ToString()));
	UToolMenu* SubMenu = GenerateMenu(SubMenuName, InGeneratedParent->Context);
	SubMenu->MenuType = EMultiBoxType::Menu;
	SubMenu->MenuParent = InGeneratedParent->MenuName;
	// The generator fills the menu each time it opens; what it adds belongs to nobody.
	const TArray<FToolMenuOwner> SavedOwners = MoveTemp(OwnerStack);
	OwnerStack.Reset();
	Block->SubMenuData.ConstructMenu.NewToolMenuDelegate.ExecuteIfBound(SubMenu);
	OwnerStack = SavedOwners;
	return SubMenu;
}

FToolMenuOwner UToolMenus::CurrentOwner() const
{
	return OwnerStack.IsEmpty() ? FToolMenuOwner() : OwnerStack.Last();
}

void UToolMenus::PushOwner(const FToolMenuOwner InOwner)
{
	OwnerStack.Add(InOwner);
}

void UToolMenus::PopOwner(const FToolMenuOwner InOwner)
{
	if (!OwnerStack.IsEmpty() && OwnerStack.Last() == InOwner)
	{
		OwnerStack.Pop();
	}
	else
	{
		UE_LOG(LogToolMenus, Warning, TEXT("The menu owner being popped is not the current owner."));
	}
}

// ---------------------------------------------------------------------------------------------------
// The module

namespace
{
	class FToolMenusModule : public IModuleInterface
	{
	public:
		virtual void StartupModule() override
		{
			PostEngineInitHandle = FCoreDelegates::OnPostEngineInit.AddStatic(&UToolMenus::RunStartupCallbacks);
		}

		virtual void ShutdownModule() override
		{
			FCoreDelegates::OnPostEngineInit.Remove(PostEngineInitHandle);
		}

	private:
		FDelegateHandle PostEngineInitHandle;
	};
}

IMPLEMENT_MODULE(FToolMenusModule, ToolMenus)
