// The editor module's log category, so its lines can be told apart from (and filtered separately to)
// other code's. The rig edits' warnings and placement lines stay in LogTemp, where users look for them.
#pragma once

#include "CoreMinimal.h"

DECLARE_LOG_CATEGORY_EXTERN(LogVantorelUnrealEditor, Log, All);
