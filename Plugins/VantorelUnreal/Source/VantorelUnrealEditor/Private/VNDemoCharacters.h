// The demo characters: the download server's list of demo projects, the local copy of what is
// installed, their statuses, and the requests that fetch the list and a demo.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "HttpFwd.h"

namespace VantorelDemos
{
	/** Told of a request's response when it came with HTTP 200. */
	DECLARE_DELEGATE_OneParam(FOnDemoResponse, FHttpResponsePtr);

	/** The list's file name, on the server and in the demo folder. */
	extern const TCHAR* const DemoListFileName;
	/** Where the demos are downloaded from: the download server's "download/VantorelExamples/". */
	FString DownloadBaseUrl();

	/** Not empty, not "." or "..", and only letters, digits, "_" and "-". */
	bool IsValidDemoName(const FString& Name);

	/** The demos of a list's text, name to version; lines that are not "name version" with a valid name are skipped (and logged). */
	TMap<FString, FString> ParseDemoList(const FString& Text);

	/** The list's text: "name version" and CR LF per demo, sorted by name ignoring case. */
	FString WriteDemoList(const TMap<FString, FString>& Versions);

	/** Whether version A is newer than version B, part by part as numbers ("1.10" is newer than "1.9"). */
	bool IsVersionNewer(const FString& A, const FString& B);

	/** Name + "Unreal": the folder of an installed demo in the demo folder, and its project's base name. */
	FString DemoProjectFile(const FString& DemoFolder, const FString& Name);

	/** "Not downloaded", "Downloaded", "Update available" or "Up to date". */
	FString DemoStatus(const FString& DemoFolder, const FString& Name, const FString& OnlineVersion, const TMap<FString, FString>& LocalVersions);

	/** One item per online demo, sorted by name ignoring case: name, two blanks and the status in brackets. */
	TArray<FString> MakeOnlineItems(const TMap<FString, FString>& OnlineVersions, const FString& DemoFolder);

	/** The demo name of an online item: its text up to the first "  (". */
	FString DemoNameOfItem(const FString& Item);

	/** The demo folder's local copy of the list (empty when it has none). */
	TMap<FString, FString> ReadLocalDemoList(const FString& DemoFolder);

	/**
	 * The first entry of a 7-Zip technical listing ("7z l -slt") that would land outside the folder it
	 * is extracted into: an absolute path, a drive letter, a ".." part, or a link. Empty when none.
	 */
	FString FindUnsafeArchiveEntry(const FString& Listing);

	/**
	 * Installs a demo's 7-Zip archive into the demo folder: extracts it with 7-Zip into a staging folder
	 * and moves the one project folder it holds into place, keeping the installed demo until then (and
	 * restoring it when the move fails). False with the message when anything fails.
	 */
	bool InstallDemo(const FString& DemoFolder, const FString& Name, const TArray<uint8>& Archive, FString& OutMessage);

	/** The Demo section's online part, for the whole editor run. */
	struct FDemoDownloads
	{
		TMap<FString, FString> OnlineVersions;
		TArray<FString> OnlineItems;
		FString SelectedOnlineItem;
		FString Status;
		bool bBusy = false;
		FHttpRequestPtr CurrentRequest;

		static FDemoDownloads& Get();

		/** Fetches the server's list; the status and items follow when it completes, and then OnListed runs. */
		void CheckOnline(const FString& DemoFolder, FSimpleDelegate OnListed);
		/** Downloads and installs the selected demo. OnInstalled runs after a successful install. */
		void DownloadSelected(const FString& DemoFolder, FSimpleDelegate OnInstalled);
		void Cancel();
		/** The editor is closing: the running request stops without calling back, and the state starts over. */
		void Abandon();
		bool CanDownload() const { return !bBusy && !SelectedOnlineItem.IsEmpty() && !SelectedOnlineItem.Contains(TEXT("(Up to date)")); }
		/** The items again from the online versions and the demo folder's local copy; keeps the selection when it still names a demo. */
		void RebuildOnlineItems(const FString& DemoFolder);

	private:
		/** The status texts of a request that ends without success: no response, HTTP 429, another code (%d). */
		struct FRequestTexts
		{
			const TCHAR* Unreachable;
			const TCHAR* ServerBusy;
			const TCHAR* OtherCode;
		};

		/** Starts a GET of Url unless one runs; OnOk gets an HTTP 200 response, every other end sets the status. */
		bool Send(const FString& Url, const FString& StartStatus, const FRequestTexts& Texts, bool bReportProgress, FOnDemoResponse OnOk);
	};
}
