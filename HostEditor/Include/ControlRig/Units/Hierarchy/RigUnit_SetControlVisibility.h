// Shows or hides controls at run time.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_SetControlVisibility.generated.h"

/**
 * SetControlVisibility is used to change the visibility on a control at runtime
 */
USTRUCT(meta = (DisplayName = "Set Control Visibility", Category = "Controls", DocumentationPolicy = "Strict", Keywords = "SetControlVisibility,Visibility,Hide,Show,Hidden,Visible,SetGizmoVisibility", TemplateName = "SetControlVisibility", NodeColor = "0, 0.364706, 1.0"))
struct CONTROLRIG_API FRigUnit_SetControlVisibility : public FRigUnitMutable
{
	GENERATED_BODY()

	FRigUnit_SetControlVisibility()
		: Item(NAME_None, ERigElementType::Control)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The name of the Control to set the visibility for. */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Item;

	/** If the ControlName is set to None this can be used to look for a series of Controls */
	UPROPERTY(meta = (Input, Constant))
	FString Pattern;

	/** The visibility to set for the control */
	UPROPERTY(meta = (Input))
	bool bVisible = true;

	/** Used to cache the internally used control index */
	UPROPERTY()
	TArray<FCachedRigElement> CachedControlIndices;
};
