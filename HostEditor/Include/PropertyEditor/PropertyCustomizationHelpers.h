// The property editor's widgets for editing values outside a details panel; the stand-in has the
// object entry box, a field that shows an asset and lets the user pick another of a class.
#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/AssetData.h"
#include "Delegates/Delegate.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class UClass;

namespace HostEditor
{
	class FSlateUser;
}

/** The user chose an asset (an empty asset data when the field was cleared). */
DECLARE_DELEGATE_OneParam(FOnSetObject, const FAssetData&);

/** A field that acts as an object property: it shows the asset at ObjectPath and picks assets of AllowedClass. */
class PROPERTYEDITOR_API SObjectPropertyEntryBox : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SObjectPropertyEntryBox) : _AllowedClass(nullptr), _ObjectPath(), _AllowClear(true), _DisplayUseSelected(true), _DisplayBrowse(true), _DisplayThumbnail(true) {}
		SLATE_ARGUMENT(UClass*, AllowedClass)
		SLATE_ATTRIBUTE(FString, ObjectPath)
		SLATE_EVENT(FOnSetObject, OnObjectChanged)
		SLATE_ARGUMENT(bool, AllowClear)
		SLATE_ARGUMENT(bool, DisplayUseSelected)
		SLATE_ARGUMENT(bool, DisplayBrowse)
		SLATE_ARGUMENT(bool, DisplayThumbnail)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

private:
	friend class HostEditor::FSlateUser;

	UClass* AllowedClass = nullptr;
	TAttribute<FString> ObjectPath;
	FOnSetObject OnObjectChanged;
	bool bAllowClear = true;
};
