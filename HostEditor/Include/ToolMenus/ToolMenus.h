// UToolMenus: the editor's menu system. Modules register start-up callbacks that extend menus once
// the menu system is ready; every element added is tagged with the current owner, so that a module
// can remove all of its elements when it shuts down.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "ToolMenu.h"
#include "ToolMenuContext.h"
#include "ToolMenuDelegates.h"
#include "ToolMenuEntry.h"
#include "ToolMenuOwner.h"
#include "ToolMenuSection.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

#include "ToolMenus.generated.h"

UCLASS()
class TOOLMENUS_API UToolMenus : public UObject
{
	GENERATED_BODY()

public:
	UToolMenus(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The menu system, made on first use. */
	static UToolMenus* Get();
	/** The menu system when it exists, else null. */
	static UToolMenus* TryGet();
	static bool IsToolMenuUIEnabled();

	/** Calls the delegate once menus may be extended: at once when that time has come, else then. */
	static FDelegateHandle RegisterStartupCallback(const FSimpleMulticastDelegate::FDelegate& InDelegate);
	static void UnRegisterStartupCallback(FDelegateHandle InHandle);
	static void UnRegisterStartupCallback(const void* UserPointer);

	/** Removes every section and entry that the owner added, from every menu. */
	static void UnregisterOwner(FToolMenuOwner InOwner);

	UToolMenu* RegisterMenu(const FName Name, const FName Parent = NAME_None, EMultiBoxType Type = EMultiBoxType::Menu, bool bWarnIfAlreadyRegistered = true);
	/** The menu to add to: the registered one, or a new extension waiting for its registration. */
	UToolMenu* ExtendMenu(const FName Name);
	UToolMenu* FindMenu(const FName Name);
	bool IsMenuRegistered(const FName Name) const;
	void RemoveMenu(const FName MenuName);

	/** A new menu as the user sees it when it opens: the registered menu's sections and entries. */
	UToolMenu* GenerateMenu(const FName Name, const FToolMenuContext& InMenuContext);
	/** Opens the sub-menu entry InBlockName of a generated menu, running the entry's generator. */
	UToolMenu* GenerateSubMenu(const UToolMenu* InGeneratedParent, const FName InBlockName);

	/** The owner given to elements added now. */
	FToolMenuOwner CurrentOwner() const;
	void PushOwner(const FToolMenuOwner InOwner);
	void PopOwner(const FToolMenuOwner InOwner);

	/** Runs the start-up callbacks; the editor calls it once, when it has finished starting. */
	static void RunStartupCallbacks();

private:
	void UnregisterOwnerInternal(FToolMenuOwner InOwner);

	TMap<FName, UToolMenu*> Menus;
	TArray<FToolMenuOwner> OwnerStack;
};

/** Makes an owner current for the lifetime of the object. */
struct FToolMenuOwnerScoped
{
	FToolMenuOwnerScoped(const FToolMenuOwner InOwner) : Owner(InOwner) { UToolMenus::Get()->PushOwner(InOwner); }
	~FToolMenuOwnerScoped() { UToolMenus::Get()->PopOwner(Owner); }

	FToolMenuOwner GetOwner() const { return Owner; }

private:
	FToolMenuOwner Owner;
};
