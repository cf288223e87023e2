#include "ControlRigGizmoLibrary.h"

const FControlRigShapeDefinition* UControlRigShapeLibrary::GetShapeByName(const FName& InName, bool bUseDefaultIfNotFound) const
{
	for (const FControlRigShapeDefinition& Shape : Shapes)
	{
		if (Shape.ShapeName == InName)
		{
			return &Shape;
		}
	}
	return bUseDefaultIfNotFound ? &DefaultShape : nullptr;
}
