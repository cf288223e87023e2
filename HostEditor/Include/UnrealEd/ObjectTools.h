// ObjectTools: the editor's operations on objects and assets (deleting them).
#pragma once

#include "CoreMinimal.h"

namespace ObjectTools
{
	/**
	 * Deletes the objects and their packages' files without asking whether references may break
	 * (ShowConfirmation off), closing the asset editors open on them first. An object whose package
	 * file cannot be removed (a read-only file) is not deleted. Returns the number of objects deleted.
	 */
	UNREALED_API int32 ForceDeleteObjects(const TArray<UObject*>& ObjectsToDelete, bool ShowConfirmation = true);
}
