// Stand-in only: the Content Browser's selection, which a user would make by clicking assets.
#pragma once

#include "CoreMinimal.h"

namespace HostEditor
{
	/** Replaces the selection with the assets at these object paths ("/Game/A/B.B" or "/Game/A/B"). */
	BLUTILITY_API void SetSelectedAssetPaths(const TArray<FString>& ObjectPaths);
	/** The selected object paths, in selection order. */
	BLUTILITY_API const TArray<FString>& GetSelectedAssetPaths();
}
