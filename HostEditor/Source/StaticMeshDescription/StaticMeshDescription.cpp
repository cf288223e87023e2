// The static mesh description: the material slot names of its polygon groups.

#include "StaticMeshDescription.h"

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, StaticMeshDescription)

void UStaticMeshDescription::SetPolygonGroupMaterialSlotName(FPolygonGroupID PolygonGroupID, const FName& SlotName)
{
	if (IsPolygonGroupValid(PolygonGroupID))
	{
		PolygonGroupMaterialSlotNames[PolygonGroupID.GetValue()] = SlotName;
	}
}
