// FToolMenuInsert: where a section or entry goes among its siblings.
#pragma once

#include "CoreMinimal.h"

enum class EToolMenuInsertType : uint8
{
	/** After every sibling there is. */
	Default,
	/** Just before the named sibling. */
	Before,
	/** Just after the named sibling. */
	After,
	/** Before every sibling. */
	First,
};

struct TOOLMENUS_API FToolMenuInsert
{
	FToolMenuInsert() = default;
	FToolMenuInsert(FName InName, EToolMenuInsertType InPosition)
		: Name(InName)
		, Position(InPosition)
	{
	}

	/** The sibling that Before and After are relative to. */
	FName Name;
	EToolMenuInsertType Position = EToolMenuInsertType::Default;

	bool IsDefault() const { return Position == EToolMenuInsertType::Default; }
};
