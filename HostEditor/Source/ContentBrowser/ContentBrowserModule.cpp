#include "ContentBrowserModule.h"

#include "HostEditorSupport/ContentBrowserSelection.h"
#include "Modules/ModuleManager.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	/** The headless Content Browser: its selection is the one tests and the host make. */
	class FHeadlessContentBrowser final : public IContentBrowserSingleton
	{
	public:
		virtual void GetSelectedAssets(TArray<FAssetData>& SelectedAssets) override
		{
			SelectedAssets.Reset();
			for (const FString& Path : HostEditor::GetSelectedAssetPaths())
			{
				const UObject* Asset = StaticLoadObject(UObject::StaticClass(), nullptr, *Path, nullptr, LOAD_NoWarn);
				if (IsValid(Asset) && Asset->IsAsset())
				{
					SelectedAssets.Add(FAssetData(Asset));
				}
			}
		}

		virtual void SyncBrowserToAssets(const TArray<UObject*>& AssetList, bool bAllowLockedBrowsers, bool bFocusContentBrowser, const FName& InstanceName, bool bNewSpawnBrowser) override
		{
			TArray<FString> Paths;
			for (const UObject* Asset : AssetList)
			{
				if (IsValid(Asset) && Asset->IsAsset())
				{
					Paths.Add(Asset->GetPathName());
				}
			}
			HostEditor::SetSelectedAssetPaths(Paths);
		}

		virtual void SyncBrowserToAssets(const TArray<FAssetData>& AssetDataList, bool bAllowLockedBrowsers, bool bFocusContentBrowser, const FName& InstanceName, bool bNewSpawnBrowser) override
		{
			TArray<FString> Paths;
			for (const FAssetData& Data : AssetDataList)
			{
				Paths.Add(Data.GetObjectPathString());
			}
			HostEditor::SetSelectedAssetPaths(Paths);
		}
	};
}

IContentBrowserSingleton& FContentBrowserModule::Get() const
{
	static FHeadlessContentBrowser ContentBrowser;
	return ContentBrowser;
}

IMPLEMENT_MODULE(FContentBrowserModule, ContentBrowser)
