// UAssetEditorSubsystem: the asset editors that are open, and opening and closing them.
#pragma once

#include "CoreMinimal.h"
#include "EditorSubsystem.h"
#include "UObject/ObjectMacros.h"

#include "AssetEditorSubsystem.generated.h"

/** An open asset editor, as the subsystem lists it. */
class IAssetEditorInstance
{
public:
	virtual ~IAssetEditorInstance() = default;
	virtual FName GetEditorName() const = 0;
	virtual void CloseWindow() = 0;
};

UCLASS()
class UNREALED_API UAssetEditorSubsystem : public UEditorSubsystem
{
	GENERATED_BODY()

public:
	/** Opens the asset's editor (one per asset; a second open brings the first to front). True when it is open. */
	bool OpenEditorForAsset(UObject* Asset);
	/** The editors that have the asset open. */
	TArray<IAssetEditorInstance*> FindEditorsForAsset(UObject* Asset);
	/** Closes every editor that has the asset open; returns how many were closed. */
	int32 CloseAllEditorsForAsset(UObject* Asset);
	/** The assets that have an editor open. */
	TArray<UObject*> GetAllEditedAssets();
	void CloseAllAssetEditors();
};
