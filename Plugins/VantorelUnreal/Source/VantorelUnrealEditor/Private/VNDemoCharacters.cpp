// The demo characters: the server's list, the statuses against what is installed, the list and
// download requests through the engine's HTTP module, and installing an archive with 7-Zip.

#include "VNDemoCharacters.h"

#include "HAL/FileManager.h"
#include "HAL/PlatformMisc.h"
#include "HAL/PlatformProcess.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Misc/DateTime.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "VNDownloadServer.h"
#include "VantorelUnrealEditorLog.h"

namespace VantorelDemos
{
	const TCHAR* const DemoListFileName = TEXT("DemoVersionsUnreal.txt");

	namespace
	{
		const TCHAR* const DemoSuffix = TEXT("Unreal");
		const TCHAR* const ItemSeparator = TEXT("  (");
		constexpr double BytesPerMegabyte = 1048576.0;

		/** A version part's value: its leading digits (0 when it has none). */
		int64 PartValue(const FString& Part)
		{
			int64 Value = 0;
			for (const TCHAR Char : Part)
			{
				if (Char < '0' || Char > '9')
				{
					break;
				}
				Value = Value * 10 + (Char - '0');
			}
			return Value;
		}

		TArray<FString> SortedNames(const TMap<FString, FString>& Versions)
		{
			TArray<FString> Names;
			Versions.GenerateKeyArray(Names);
			Names.Sort([](const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; });
			return Names;
		}

		/** 7-Zip as the Program Files folders hold it, else the bare program name for the system's search. */
		FString FindSevenZip()
		{
			for (const TCHAR* Variable : {TEXT("ProgramFiles"), TEXT("ProgramFiles(x86)")})
			{
				const FString Folder = FPlatformMisc::GetEnvironmentVariable(Variable);
				const FString Candidate = FPaths::Combine(Folder, TEXT("7-Zip/7z.exe"));
				if (!Folder.IsEmpty() && FPaths::FileExists(Candidate))
				{
					return Candidate;
				}
			}
			return TEXT("7z.exe");
		}

		/** Whether an entry's path, read with either slash, could reach outside the folder it is extracted into. */
		bool IsUnsafeEntryPath(FString Path)
		{
			Path.ReplaceInline(TEXT("\\"), TEXT("/"));
			if (Path.StartsWith(TEXT("/")) || (Path.Len() >= 2 && Path[1] == ':'))
			{
				return true;
			}
			TArray<FString> Parts;
			Path.ParseIntoArray(Parts, TEXT("/"), true);
			return Parts.Contains(TEXT(".."));
		}

		/**
		 * Whether an entry's attributes mark a link: a Unix mode that starts with "l" ("lrwxrwxrwx"),
		 * or the Windows reparse-point letter "L" among the attribute letters.
		 */
		bool IsLinkAttributes(const FString& Attributes)
		{
			TArray<FString> Tokens;
			Attributes.ParseIntoArrayWS(Tokens);
			for (const FString& Token : Tokens)
			{
				if (Token.Len() == 10 && Token[0] == 'l')
				{
					return true;
				}
				bool bLettersOnly = Token.Len() < 10;
				for (const TCHAR Char : Token)
				{
					bLettersOnly &= (Char >= 'A' && Char <= 'Z') || (Char >= 'a' && Char <= 'z') || Char == '8';
				}
				if (bLettersOnly && Token.Contains(TEXT("L"), ESearchCase::CaseSensitive))
				{
					return true;
				}
			}
			return false;
		}

		void FindProjects(const FString& Folder, const FString& FileName, TArray<FString>& OutFound)
		{
			TArray<FString> Found;
			IFileManager::Get().FindFilesRecursive(Found, *Folder, *FileName, true, false);
			for (const FString& File : Found)
			{
				if (FPaths::GetCleanFilename(File).Equals(FileName, ESearchCase::IgnoreCase))
				{
					OutFound.Add(File);
				}
			}
		}
	}

	FString DownloadBaseUrl()
	{
		return VantorelServer::ServerUrl() + TEXT("download/VantorelExamples/");
	}

	bool IsValidDemoName(const FString& Name)
	{
		if (Name.IsEmpty() || Name == TEXT(".") || Name == TEXT(".."))
		{
			return false;
		}
		for (const TCHAR Char : Name)
		{
			const bool bLetterOrDigit = (Char >= 'a' && Char <= 'z') || (Char >= 'A' && Char <= 'Z') || (Char >= '0' && Char <= '9');
			if (!bLetterOrDigit && Char != '_' && Char != '-')
			{
				return false;
			}
		}
		return true;
	}

	TMap<FString, FString> ParseDemoList(const FString& Text)
	{
		TMap<FString, FString> Versions;
		TArray<FString> Lines;
		Text.ParseIntoArrayLines(Lines, true);
		for (const FString& Raw : Lines)
		{
			const FString Line = Raw.TrimStartAndEnd();
			if (Line.IsEmpty())
			{
				continue;
			}
			TArray<FString> Fields;
			Line.ParseIntoArrayWS(Fields);
			if (Fields.Num() != 2 || !IsValidDemoName(Fields[0]))
			{
				UE_LOG(LogVantorelUnrealEditor, Log, TEXT("Vantorel demos: skipped the list line '%s'"), *Line.Left(200));
				continue;
			}
			Versions.Add(Fields[0], Fields[1]);
		}
		return Versions;
	}

	FString WriteDemoList(const TMap<FString, FString>& Versions)
	{
		FString Text;
		for (const FString& Name : SortedNames(Versions))
		{
			Text += Name + TEXT(" ") + Versions[Name] + TEXT("\r\n");
		}
		return Text;
	}

	bool IsVersionNewer(const FString& A, const FString& B)
	{
		TArray<FString> PartsA;
		TArray<FString> PartsB;
		A.ParseIntoArray(PartsA, TEXT("."), true);
		B.ParseIntoArray(PartsB, TEXT("."), true);
		for (int32 Index = 0; Index < FMath::Max(PartsA.Num(), PartsB.Num()); ++Index)
		{
			const int64 ValueA = PartsA.IsValidIndex(Index) ? PartValue(PartsA[Index]) : 0;
			const int64 ValueB = PartsB.IsValidIndex(Index) ? PartValue(PartsB[Index]) : 0;
			if (ValueA != ValueB)
			{
				return ValueA > ValueB;
			}
		}
		return false;
	}

	FString DemoProjectFile(const FString& DemoFolder, const FString& Name)
	{
		return FPaths::Combine(DemoFolder, Name + DemoSuffix, Name + DemoSuffix + TEXT(".uproject"));
	}

	FString DemoStatus(const FString& DemoFolder, const FString& Name, const FString& OnlineVersion, const TMap<FString, FString>& LocalVersions)
	{
		if (!FPaths::FileExists(DemoProjectFile(DemoFolder, Name)))
		{
			return TEXT("Not downloaded");
		}
		const FString* Local = LocalVersions.Find(Name);
		if (!Local)
		{
			return TEXT("Downloaded");
		}
		return IsVersionNewer(OnlineVersion, *Local) ? TEXT("Update available") : TEXT("Up to date");
	}

	TMap<FString, FString> ReadLocalDemoList(const FString& DemoFolder)
	{
		FString Text;
		if (DemoFolder.IsEmpty() || !FFileHelper::LoadFileToString(Text, *FPaths::Combine(DemoFolder, DemoListFileName)))
		{
			return TMap<FString, FString>();
		}
		return ParseDemoList(Text);
	}

	TArray<FString> MakeOnlineItems(const TMap<FString, FString>& OnlineVersions, const FString& DemoFolder)
	{
		const TMap<FString, FString> Local = ReadLocalDemoList(DemoFolder);
		TArray<FString> Items;
		for (const FString& Name : SortedNames(OnlineVersions))
		{
			Items.Add(Name + ItemSeparator + DemoStatus(DemoFolder, Name, OnlineVersions[Name], Local) + TEXT(")"));
		}
		return Items;
	}

	FString DemoNameOfItem(const FString& Item)
	{
		const int32 Separator = Item.Find(ItemSeparator);
		return Separator == INDEX_NONE ? Item : Item.Left(Separator);
	}

	FString FindUnsafeArchiveEntry(const FString& Listing)
	{
		TArray<FString> Lines;
		Listing.ParseIntoArrayLines(Lines, false);
		// The archive's own properties come first; its entries follow the line of dashes.
		bool bInEntries = false;
		FString Path;
		for (const FString& Raw : Lines)
		{
			const FString Line = Raw.TrimStartAndEnd();
			if (!bInEntries)
			{
				bInEntries = Line.StartsWith(TEXT("----------"));
				continue;
			}
			FString Key;
			FString Value;
			if (!Line.Split(TEXT(" = "), &Key, &Value))
			{
				// "Key = " with nothing after it.
				if (!Line.EndsWith(TEXT(" =")))
				{
					continue;
				}
				Key = Line.LeftChop(2);
			}
			Key.TrimStartAndEndInline();
			if (Key == TEXT("Path"))
			{
				Path = Value;
				if (IsUnsafeEntryPath(Path))
				{
					return Path;
				}
			}
			else if ((Key == TEXT("Attributes") && IsLinkAttributes(Value)) || (Key.Contains(TEXT("Link")) && !Value.TrimStartAndEnd().IsEmpty()))
			{
				return Path;
			}
		}
		return FString();
	}

	bool InstallDemo(const FString& DemoFolder, const FString& Name, const TArray<uint8>& Archive, FString& OutMessage)
	{
		IFileManager& Files = IFileManager::Get();
		Files.MakeDirectory(*DemoFolder, true);
		const FString Stamp = FDateTime::UtcNow().ToString(TEXT("%Y%m%d%H%M%S"));
		const FString Work = FPaths::Combine(DemoFolder, TEXT(".vn_download_") + Stamp);
		const FString ArchiveFile = FPaths::Combine(Work, Name + DemoSuffix + TEXT(".7z"));
		const FString Stage = FPaths::Combine(Work, TEXT("stage"));
		const FString Target = FPaths::Combine(DemoFolder, Name + DemoSuffix);
		const FString Backup = Target + TEXT(".backup_") + Stamp;
		const auto Fail = [&](const TCHAR* Message) {
			Files.DeleteDirectory(*Work, false, true);
			OutMessage = Message;
			return false;
		};
		Files.MakeDirectory(*Stage, true);
		if (!FFileHelper::SaveArrayToFile(Archive, *ArchiveFile))
		{
			return Fail(TEXT("Could not save the temporary demo archive."));
		}

		// The entries are checked before anything is extracted: none may land outside the stage folder.
		const FString SevenZip = FindSevenZip();
		int32 ListCode = -1;
		FString Listing;
		if (!FPlatformProcess::ExecProcess(*SevenZip, *FString::Printf(TEXT("l -slt -sccUTF-8 \"%s\""), *ArchiveFile), &ListCode, &Listing, nullptr, *Work))
		{
			return Fail(TEXT("Could not start 7-Zip."));
		}
		if (ListCode != 0)
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel demos: 7-Zip (%s) could not list the archive: %d"), *SevenZip, ListCode);
			return Fail(TEXT("7-Zip could not extract the demo archive."));
		}
		const FString Unsafe = FindUnsafeArchiveEntry(Listing);
		if (!Unsafe.IsEmpty())
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel demos: refused the archive of %s: its entry '%s' leaves the demo folder"), *Name, *Unsafe);
			Files.DeleteDirectory(*Work, false, true);
			OutMessage = FString::Printf(TEXT("The archive holds an entry that would land outside the demo folder (%s); nothing was installed."), *Unsafe);
			return false;
		}
		const FString Arguments = FString::Printf(TEXT("x \"%s\" -o\"%s\" -y"), *ArchiveFile, *Stage);
		FProcHandle Process = FPlatformProcess::CreateProc(*SevenZip, *Arguments, true, true, true, nullptr, 0, *Work, nullptr);
		if (!Process.IsValid())
		{
			return Fail(TEXT("Could not start 7-Zip."));
		}
		FPlatformProcess::WaitForProc(Process);
		int32 ExitCode = -1;
		FPlatformProcess::GetProcReturnCode(Process, &ExitCode);
		FPlatformProcess::CloseProc(Process);
		if (ExitCode != 0)
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel demos: 7-Zip (%s) ended with %d"), *SevenZip, ExitCode);
			return Fail(TEXT("7-Zip could not extract the demo archive."));
		}

		TArray<FString> Projects;
		FindProjects(Stage, Name + DemoSuffix + TEXT(".uproject"), Projects);
		if (Projects.Num() != 1)
		{
			return Fail(TEXT("The archive did not contain the expected Unreal project."));
		}
		const FString Extracted = FPaths::GetPath(Projects[0]);
		const bool bHadDemo = Files.DirectoryExists(*Target);
		if (bHadDemo && !Files.Move(*Backup, *Target, true, true))
		{
			return Fail(TEXT("Could not prepare the existing demo for replacement."));
		}
		if (!Files.Move(*Target, *Extracted, true, true))
		{
			if (bHadDemo)
			{
				Files.Move(*Target, *Backup, true, true);
			}
			return Fail(TEXT("Could not install the extracted demo; the previous demo was restored."));
		}
		if (bHadDemo)
		{
			Files.DeleteDirectory(*Backup, false, true);
		}
		Files.DeleteDirectory(*Work, false, true);
		return true;
	}

	FDemoDownloads& FDemoDownloads::Get()
	{
		static FDemoDownloads Downloads;
		return Downloads;
	}

	void FDemoDownloads::RebuildOnlineItems(const FString& DemoFolder)
	{
		const FString SelectedName = DemoNameOfItem(SelectedOnlineItem);
		OnlineItems = MakeOnlineItems(OnlineVersions, DemoFolder);
		SelectedOnlineItem = OnlineItems.IsEmpty() ? FString() : OnlineItems[0];
		for (const FString& Item : OnlineItems)
		{
			if (DemoNameOfItem(Item) == SelectedName)
			{
				SelectedOnlineItem = Item;
			}
		}
	}

	bool FDemoDownloads::Send(const FString& Url, const FString& StartStatus, const FRequestTexts& Texts, bool bReportProgress, FOnDemoResponse OnOk)
	{
		if (bBusy)
		{
			return false;
		}
		bBusy = true;
		Status = StartStatus;
		FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
		Request->SetVerb(TEXT("GET"));
		Request->SetURL(Url);
		if (bReportProgress)
		{
			Request->OnRequestProgress64().BindLambda([this](FHttpRequestPtr, uint64, uint64 BytesReceived) {
				const uint64 Received = FMath::Min<uint64>(BytesReceived, 2147483647ull);
				Status = FString::Printf(TEXT("Downloading... %.1f MB received"), (double)Received / BytesPerMegabyte);
			});
		}
		Request->OnProcessRequestComplete().BindLambda([this, Texts, OnOk](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully) {
			bBusy = false;
			CurrentRequest.Reset();
			const int32 Code = Response ? Response->GetResponseCode() : 0;
			if (!bConnectedSuccessfully || !Response)
			{
				Status = Texts.Unreachable;
			}
			else if (Code == EHttpResponseCodes::TooManyRequests)
			{
				Status = Texts.ServerBusy;
			}
			else if (Code != EHttpResponseCodes::Ok)
			{
				Status = FString::Printf(Texts.OtherCode, Code);
			}
			else
			{
				OnOk.ExecuteIfBound(Response);
			}
		});
		CurrentRequest = Request;
		if (!Request->ProcessRequest())
		{
			bBusy = false;
			CurrentRequest.Reset();
			Status = Texts.Unreachable;
			return false;
		}
		return true;
	}

	void FDemoDownloads::CheckOnline(const FString& DemoFolder, FSimpleDelegate OnListed)
	{
		const FRequestTexts Texts{TEXT("Could not reach the demo server."), TEXT("Server busy (HTTP 429). Please try again later."), TEXT("Demo server returned HTTP %d.")};
		Send(DownloadBaseUrl() + DemoListFileName, TEXT("Checking online demo versions..."), Texts, false,
			FOnDemoResponse::CreateLambda([this, DemoFolder, OnListed](FHttpResponsePtr Response) {
				OnlineVersions = ParseDemoList(Response->GetContentAsString());
				RebuildOnlineItems(DemoFolder);
				Status = OnlineVersions.IsEmpty() ? TEXT("No valid demos were listed by the server.") : TEXT("Choose one demo to download.");
				OnListed.ExecuteIfBound();
			}));
	}

	void FDemoDownloads::DownloadSelected(const FString& DemoFolder, FSimpleDelegate OnInstalled)
	{
		const FString Name = DemoNameOfItem(SelectedOnlineItem);
		const FRequestTexts Texts{TEXT("Download cancelled or could not reach the demo server."), TEXT("Server busy (HTTP 429). Download was not retried."), TEXT("Download failed: HTTP %d.")};
		Send(DownloadBaseUrl() + Name + DemoSuffix + TEXT(".7z"), TEXT("Downloading ") + Name + TEXT("..."), Texts, true,
			FOnDemoResponse::CreateLambda([this, Name, DemoFolder, OnInstalled](FHttpResponsePtr Response) {
				FString Message;
				if (!InstallDemo(DemoFolder, Name, Response->GetContent(), Message))
				{
					Status = Message;
					return;
				}
				TMap<FString, FString> Local = ReadLocalDemoList(DemoFolder);
				if (const FString* Online = OnlineVersions.Find(Name))
				{
					Local.Add(Name, *Online);
				}
				FFileHelper::SaveStringToFile(WriteDemoList(Local), *FPaths::Combine(DemoFolder, DemoListFileName));
				RebuildOnlineItems(DemoFolder);
				Status = TEXT("Installed ") + Name + TEXT(". Demo list refreshed.");
				OnInstalled.ExecuteIfBound();
			}));
	}

	void FDemoDownloads::Abandon()
	{
		if (CurrentRequest)
		{
			CurrentRequest->OnProcessRequestComplete().Unbind();
			CurrentRequest->OnRequestProgress64().Unbind();
			CurrentRequest->CancelRequest();
		}
		*this = FDemoDownloads();
	}

	void FDemoDownloads::Cancel()
	{
		if (CurrentRequest)
		{
			CurrentRequest->CancelRequest();
			Status = TEXT("Cancelling download...");
		}
	}
}
