// FBlueprintEditorUtils: edits of blueprints and their graphs.
#pragma once

#include "CoreMinimal.h"

class UBlueprint;
class UEdGraph;

class UNREALED_API FBlueprintEditorUtils
{
public:
	/** Marks the blueprint as changed in its structure: it needs a compile (BS_Dirty), and its package is dirty. */
	static void MarkBlueprintAsStructurallyModified(UBlueprint* Blueprint);
	/** Marks the blueprint as changed (BS_Dirty) and its package dirty. */
	static void MarkBlueprintAsModified(UBlueprint* Blueprint);
	/** The blueprint a graph belongs to, or null. */
	static UBlueprint* FindBlueprintForGraph(const UEdGraph* Graph);
};
