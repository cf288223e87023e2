// UEditorEngine: the engine object of the editor: its world and its editor subsystems.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectMacros.h"

#include "EditorEngine.generated.h"

class UEditorSubsystem;

UCLASS()
class UNREALED_API UEditorEngine : public UEngine
{
	GENERATED_BODY()

public:
	/** The context of the world the level editor shows. */
	FWorldContext& GetEditorWorldContext(bool bEnsureIsGWorld = false);

	/** The editor's instance of an editor subsystem class (null for a class that is none). */
	UEditorSubsystem* GetEditorSubsystemBase(TSubclassOf<UEditorSubsystem> SubsystemClass) const;
	template <typename TSubsystemClass>
	TSubsystemClass* GetEditorSubsystem() const
	{
		return static_cast<TSubsystemClass*>(GetEditorSubsystemBase(TSubsystemClass::StaticClass()));
	}

	/** Stand-in: the editor start makes its world here (the engine loads the start-up map). */
	void SetEditorWorld(UWorld* World);

private:
	FWorldContext EditorWorldContext;
};
