#include "EditorUtilityLibrary.h"

#include "HostEditorSupport/ContentBrowserSelection.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	TArray<FString>& Selection()
	{
		static TArray<FString> Paths;
		return Paths;
	}
}

namespace HostEditor
{
	void SetSelectedAssetPaths(const TArray<FString>& ObjectPaths)
	{
		Selection() = ObjectPaths;
	}

	const TArray<FString>& GetSelectedAssetPaths()
	{
		return Selection();
	}
}

TArray<UObject*> UEditorUtilityLibrary::GetSelectedAssets()
{
	// The selection names assets by path, as the Content Browser's asset data does; assets that
	// no longer exist drop out of the result.
	TArray<UObject*> Assets;
	for (const FString& Path : Selection())
	{
		UObject* Asset = StaticLoadObject(UObject::StaticClass(), nullptr, *Path, nullptr, LOAD_NoWarn);
		if (IsValid(Asset) && Asset->IsAsset())
		{
			Assets.AddUnique(Asset);
		}
	}
	return Assets;
}
