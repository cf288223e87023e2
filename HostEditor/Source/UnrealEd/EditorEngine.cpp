// The editor engine: its world and its editor subsystems; the asset editors that are open; deleting objects.

#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "EditorSubsystem.h"
#include "Engine/World.h"
#include "HAL/FileManager.h"
#include "Misc/PackageName.h"
#include "ObjectTools.h"
#include "Subsystems/AssetEditorSubsystem.h"
#include "UObject/Package.h"
#include "Templates/Casts.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogAssetEditorSubsystem, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogObjectTools, Log, All);

UEditorEngine* GEditor = nullptr;

FWorldContext& UEditorEngine::GetEditorWorldContext(bool bEnsureIsGWorld)
{
	(void)bEnsureIsGWorld;
	EditorWorldContext.WorldType = EWorldType::Editor;
	return EditorWorldContext;
}

void UEditorEngine::SetEditorWorld(UWorld* World)
{
	EditorWorldContext.SetCurrentWorld(World);
}

UEditorSubsystem* UEditorEngine::GetEditorSubsystemBase(TSubclassOf<UEditorSubsystem> SubsystemClass) const
{
	// The subsystem's instance is its class's default object, as the editor's Python gets it too.
	UClass* Class = SubsystemClass.Get();
	return Class && !Class->HasAnyClassFlags(CLASS_Abstract) ? Cast<UEditorSubsystem>(Class->GetDefaultObject()) : nullptr;
}

namespace
{
	/** An asset's editor, as the headless editor keeps it: nothing is drawn. */
	class FHeadlessAssetEditor : public IAssetEditorInstance
	{
	public:
		explicit FHeadlessAssetEditor(UObject* InAsset)
			: Asset(InAsset)
		{
		}
		virtual FName GetEditorName() const override { return FName(TEXT("HeadlessAssetEditor")); }
		virtual void CloseWindow() override { Asset = nullptr; }
		UObject* Asset;
	};

	TArray<TSharedPtr<FHeadlessAssetEditor>>& OpenEditors()
	{
		static TArray<TSharedPtr<FHeadlessAssetEditor>> Editors;
		return Editors;
	}

	void ForgetClosedEditors()
	{
		OpenEditors().RemoveAll([](const TSharedPtr<FHeadlessAssetEditor>& Editor) { return !Editor->Asset || !IsValid(Editor->Asset); });
	}
}

bool UAssetEditorSubsystem::OpenEditorForAsset(UObject* Asset)
{
	if (!IsValid(Asset) || !Asset->IsAsset())
	{
		UE_LOG(LogAssetEditorSubsystem, Warning, TEXT("OpenEditorForAsset: %s is not an asset"), Asset ? *Asset->GetPathName() : TEXT("None"));
		return false;
	}
	if (FindEditorsForAsset(Asset).IsEmpty())
	{
		OpenEditors().Add(MakeShared<FHeadlessAssetEditor>(Asset));
	}
	return true;
}

TArray<IAssetEditorInstance*> UAssetEditorSubsystem::FindEditorsForAsset(UObject* Asset)
{
	ForgetClosedEditors();
	TArray<IAssetEditorInstance*> Result;
	for (const TSharedPtr<FHeadlessAssetEditor>& Editor : OpenEditors())
	{
		if (Editor->Asset == Asset)
		{
			Result.Add(Editor.Get());
		}
	}
	return Result;
}

int32 UAssetEditorSubsystem::CloseAllEditorsForAsset(UObject* Asset)
{
	const TArray<IAssetEditorInstance*> Editors = FindEditorsForAsset(Asset);
	for (IAssetEditorInstance* Editor : Editors)
	{
		Editor->CloseWindow();
	}
	ForgetClosedEditors();
	return Editors.Num();
}

TArray<UObject*> UAssetEditorSubsystem::GetAllEditedAssets()
{
	ForgetClosedEditors();
	TArray<UObject*> Result;
	for (const TSharedPtr<FHeadlessAssetEditor>& Editor : OpenEditors())
	{
		Result.AddUnique(Editor->Asset);
	}
	return Result;
}

void UAssetEditorSubsystem::CloseAllAssetEditors()
{
	for (const TSharedPtr<FHeadlessAssetEditor>& Editor : OpenEditors())
	{
		Editor->CloseWindow();
	}
	OpenEditors().Empty();
}

int32 ObjectTools::ForceDeleteObjects(const TArray<UObject*>& ObjectsToDelete, bool ShowConfirmation)
{
	(void)ShowConfirmation;
	int32 Deleted = 0;
	UAssetEditorSubsystem* Editors = GEditor ? GEditor->GetEditorSubsystem<UAssetEditorSubsystem>() : nullptr;
	for (UObject* Object : ObjectsToDelete)
	{
		if (!IsValid(Object))
		{
			continue;
		}
		if (Editors)
		{
			Editors->CloseAllEditorsForAsset(Object);
		}
		UPackage* Package = Object->GetPackage();
		FString Filename;
		if (Package && FPackageName::DoesPackageExist(Package->GetName(), &Filename) && !IFileManager::Get().Delete(*Filename, false, false, true))
		{
			UE_LOG(LogObjectTools, Warning, TEXT("ForceDeleteObjects: cannot delete the file '%s' of %s; the asset stays"), *Filename, *Object->GetPathName());
			continue;
		}
		// The whole package goes with the asset: what is inside it, and a blueprint's generated class
		// and its defaults beside it.
		UObject* const Outermost = Package ? static_cast<UObject*>(Package) : Object;
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Outermost, Inner, true);
		for (int32 Index = Inner.Num() - 1; Index >= 0; --Index)
		{
			Inner[Index]->MarkAsGarbage();
		}
		Outermost->MarkAsGarbage();
		++Deleted;
	}
	return Deleted;
}
