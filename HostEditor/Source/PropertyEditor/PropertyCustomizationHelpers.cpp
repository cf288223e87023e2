// The property editor's object entry box. Its asset picker is the user's (HostEditorSupport/SlateUser.h):
// a pick of an asset of the allowed class, or a clear, is told to OnObjectChanged.

#include "PropertyCustomizationHelpers.h"

#include "Modules/ModuleManager.h"
#include "Widgets/Text/STextBlock.h"

void SObjectPropertyEntryBox::Construct(const FArguments& InArgs)
{
	AllowedClass = InArgs._AllowedClass;
	ObjectPath = InArgs._ObjectPath;
	OnObjectChanged = InArgs._OnObjectChanged;
	bAllowClear = InArgs._AllowClear;
	// The field shows the asset's path, or "None".
	ChildSlot
	[
		SNew(STextBlock)
		.Text(TAttribute<FText>::CreateLambda([this]()
		{
			const FString Path = ObjectPath.Get(FString());
			return FText::FromString(Path.IsEmpty() ? FString(TEXT("None")) : Path);
		}))
	];
}

IMPLEMENT_MODULE(FDefaultModuleImpl, PropertyEditor)
