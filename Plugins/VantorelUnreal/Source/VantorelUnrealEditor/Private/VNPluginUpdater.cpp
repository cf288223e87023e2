// The plug-in updater. A loaded plug-in's files cannot be replaced while the editor runs, so the
// downloaded package is staged beside the plug-in with a PowerShell installer that waits for the
// editor to exit, swaps the folders (keeping a backup until the new one is in place) and opens the
// project again.

#include "VNPluginUpdater.h"

#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Interfaces/IPluginManager.h"
#include "Misc/EngineVersion.h"
#include "Misc/FileHelper.h"
#include "Misc/MessageDialog.h"
#include "Misc/Paths.h"
#include "VNDownloadServer.h"
#include "VantorelUnrealEditorLog.h"

namespace VantorelUpdater
{
	const TCHAR* const PluginName = TEXT("VantorelUnreal");

	namespace
	{
		const TCHAR* const DialogTitle = TEXT("Vantorel Unreal");

		// Substituted in this order: the staging folder, the plug-in folder, the engine version, the
		// version being installed and the project file; each path is already quoted for PowerShell.
		const TCHAR* const InstallerTemplate = TEXT(
			"# Installs the staged Vantorel Unreal update once the editor has exited, then opens the project again.\r\n"
			"param([int]$EditorProcessId)\r\n"
			"$ErrorActionPreference = 'Stop'\r\n"
			"$stage = '%s'\r\n"
			"$target = '%s'\r\n"
			"$engine = '%s'\r\n"
			"$version = '%s'\r\n"
			"$project = '%s'\r\n"
			"$log = Join-Path $stage 'InstallUpdate.log'\r\n"
			"$resultFile = Join-Path $stage 'InstallResult.txt'\r\n"
			"Start-Transcript -LiteralPath $log -Append | Out-Null\r\n"
			"try {\r\n"
			"    $archive = Join-Path $stage 'VantorelUnreal.zip'\r\n"
			"    while (Get-Process -Id $EditorProcessId -ErrorAction SilentlyContinue) {\r\n"
			"        Start-Sleep -Seconds 1\r\n"
			"    }\r\n"
			"    $extracted = Join-Path $stage 'extracted'\r\n"
			"    Remove-Item -LiteralPath $extracted -Recurse -Force -ErrorAction SilentlyContinue\r\n"
			"    Expand-Archive -LiteralPath $archive -DestinationPath $extracted -Force\r\n"
			"    $source = Join-Path $extracted ('UE_' + $engine + '\\VantorelUnreal')\r\n"
			"    $descriptor = Join-Path $source 'VantorelUnreal.uplugin'\r\n"
			"    if (-not (Test-Path -LiteralPath $descriptor)) {\r\n"
			"        throw 'The update does not contain a package for this Unreal version.'\r\n"
			"    }\r\n"
			"    $manifest = Get-Content -LiteralPath $descriptor -Raw | ConvertFrom-Json\r\n"
			"    if ($manifest.VersionName -ne $version) {\r\n"
			"        throw 'The downloaded update version does not match the checked manifest.'\r\n"
			"    }\r\n"
			"    $backup = $target + '.update-backup'\r\n"
			"    Remove-Item -LiteralPath $backup -Recurse -Force -ErrorAction SilentlyContinue\r\n"
			"    try {\r\n"
			"        Move-Item -LiteralPath $target -Destination $backup\r\n"
			"        Move-Item -LiteralPath $source -Destination $target\r\n"
			"        Remove-Item -LiteralPath $backup -Recurse -Force\r\n"
			"    } catch {\r\n"
			"        if (-not (Test-Path -LiteralPath $target) -and (Test-Path -LiteralPath $backup)) {\r\n"
			"            Move-Item -LiteralPath $backup -Destination $target\r\n"
			"        }\r\n"
			"        throw\r\n"
			"    }\r\n"
			"    Start-Process -FilePath $project\r\n"
			"    Set-Content -LiteralPath $resultFile -Value 'Installed' -Encoding Ascii\r\n"
			"} catch {\r\n"
			"    Write-Output ('Install failed: ' + $_.Exception.Message)\r\n"
			"    Set-Content -LiteralPath $resultFile -Value 'Failed' -Encoding Ascii\r\n"
			"    throw\r\n"
			"} finally {\r\n"
			"    Stop-Transcript | Out-Null\r\n"
			"}\r\n");

		/** The running engine's "major.minor". */
		FString RunningEngineVersion()
		{
			return FString::Printf(TEXT("%d.%d"), FEngineVersion::Current().GetMajor(), FEngineVersion::Current().GetMinor());
		}

		void ShowMessage(const TCHAR* Title, const FString& Message)
		{
			FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(Message), FText::FromString(Title));
		}

		bool IsDigits(const FString& Text)
		{
			if (Text.IsEmpty())
			{
				return false;
			}
			for (const TCHAR Char : Text)
			{
				if (Char < '0' || Char > '9')
				{
					return false;
				}
			}
			return true;
		}

		uint32 ReadLittleEndian(const TArray<uint8>& Bytes, int64 Offset, int32 Count)
		{
			uint32 Value = 0;
			for (int32 Index = Count - 1; Index >= 0; --Index)
			{
				Value = (Value << 8) | Bytes[(int32)(Offset + Index)];
			}
			return Value;
		}
	}

	FString InstalledVersion()
	{
		const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(PluginName);
		return Plugin ? Plugin->GetDescriptor().VersionName : FString(TEXT("Unknown"));
	}

	bool ParseVersion(const FString& Text, TArray<int64>& OutParts)
	{
		OutParts.Reset();
		TArray<FString> Parts;
		Text.ParseIntoArray(Parts, TEXT("."), true);
		if (Parts.Num() < 2)
		{
			return false;
		}
		for (const FString& Part : Parts)
		{
			// Eighteen digits keep every part inside a 64-bit integer.
			if (!IsDigits(Part) || Part.Len() > 18)
			{
				OutParts.Reset();
				return false;
			}
			OutParts.Add(FCString::Atoi64(*Part));
		}
		return true;
	}

	bool IsVersionNewer(const FString& A, const FString& B)
	{
		TArray<int64> PartsA;
		TArray<int64> PartsB;
		if (!ParseVersion(A, PartsA) || !ParseVersion(B, PartsB))
		{
			return false;
		}
		for (int32 Index = 0; Index < FMath::Max(PartsA.Num(), PartsB.Num()); ++Index)
		{
			const int64 ValueA = PartsA.IsValidIndex(Index) ? PartsA[Index] : 0;
			const int64 ValueB = PartsB.IsValidIndex(Index) ? PartsB[Index] : 0;
			if (ValueA != ValueB)
			{
				return ValueA > ValueB;
			}
		}
		return false;
	}

	FString ParseLatestVersion(const FString& Manifest)
	{
		TArray<FString> Lines;
		Manifest.ParseIntoArrayLines(Lines, true);
		for (const FString& Raw : Lines)
		{
			const FString Line = Raw.TrimStartAndEnd();
			TArray<int64> Parts;
			if (!Line.IsEmpty() && !Line.StartsWith(TEXT("#")) && ParseVersion(Line, Parts))
			{
				return Line;
			}
		}
		return FString();
	}

	FString ManifestUrl()
	{
		return VantorelServer::ServerUrl() + TEXT("download/VantorelUnreal/latestVersionUnreal.txt");
	}

	FString PackageUrl(const FString& Version)
	{
		const FString Folder = VantorelServer::ServerUrl() + TEXT("download/VantorelUnreal/");
		return FString::Printf(TEXT("%sVantorelUnreal_v%s/VantorelUnreal.zip"), *Folder, *Version);
	}

	FString PageUrl(const FString& Page)
	{
		return VantorelServer::ServerUrl() + Page;
	}

	FString QuoteForPowerShell(const FString& Text)
	{
		// PowerShell ends a single-quoted string at any of these marks, and reads two in a row as one.
		static const TCHAR Quotes[] = {TEXT('\''), TCHAR(0x2018), TCHAR(0x2019), TCHAR(0x201A), TCHAR(0x201B)};
		FString Quoted;
		Quoted.Reserve(Text.Len());
		for (const TCHAR Char : Text)
		{
			Quoted.AppendChar(Char);
			for (const TCHAR Quote : Quotes)
			{
				if (Char == Quote)
				{
					Quoted.AppendChar(Char);
					break;
				}
			}
		}
		return Quoted;
	}

	FString MakeInstallerScript(const FString& StageFolder, const FString& PluginFolder, const FString& EngineVersion, const FString& Version, const FString& ProjectFile)
	{
		return FString::Printf(InstallerTemplate, *QuoteForPowerShell(StageFolder), *QuoteForPowerShell(PluginFolder), *EngineVersion, *Version,
			*QuoteForPowerShell(ProjectFile));
	}

	FString PackageDescriptorPath(const FString& EngineVersion)
	{
		return FString::Printf(TEXT("UE_%s/VantorelUnreal/VantorelUnreal.uplugin"), *EngineVersion);
	}

	EPackageCheck CheckUpdatePackage(const TArray<uint8>& Zip, const FString& EngineVersion, FString& OutProblem)
	{
		// The end-of-central-directory record: 22 bytes and a comment of up to 65535 at the very end.
		constexpr int32 EndRecordSize = 22;
		int64 EndRecord = -1;
		for (int64 Offset = (int64)Zip.Num() - EndRecordSize; Offset >= 0 && Offset >= (int64)Zip.Num() - EndRecordSize - 65535; --Offset)
		{
			if (ReadLittleEndian(Zip, Offset, 4) == 0x06054b50u && Offset + EndRecordSize + ReadLittleEndian(Zip, Offset + 20, 2) == Zip.Num())
			{
				EndRecord = Offset;
				break;
			}
		}
		if (EndRecord < 0)
		{
			OutProblem = TEXT("the package is not a whole zip archive (its directory is missing)");
			return EPackageCheck::Incomplete;
		}
		const uint32 EntryCount = ReadLittleEndian(Zip, EndRecord + 10, 2);
		const uint32 DirectorySize = ReadLittleEndian(Zip, EndRecord + 12, 4);
		const uint32 DirectoryOffset = ReadLittleEndian(Zip, EndRecord + 16, 4);
		if (EntryCount == 0xFFFFu || DirectoryOffset == 0xFFFFFFFFu)
		{
			OutProblem = TEXT("the package is a zip64 archive, which the installer is not given");
			return EPackageCheck::Incomplete;
		}
		if ((int64)DirectoryOffset + DirectorySize > EndRecord)
		{
			OutProblem = TEXT("the package's directory lies outside the archive");
			return EPackageCheck::Incomplete;
		}
		const FString Wanted = PackageDescriptorPath(EngineVersion);
		bool bHasDescriptor = false;
		int64 Cursor = DirectoryOffset;
		for (uint32 Entry = 0; Entry < EntryCount; ++Entry)
		{
			if (Cursor + 46 > EndRecord || ReadLittleEndian(Zip, Cursor, 4) != 0x02014b50u)
			{
				OutProblem = TEXT("the package's directory is cut short");
				return EPackageCheck::Incomplete;
			}
			const uint32 NameLength = ReadLittleEndian(Zip, Cursor + 28, 2);
			const uint32 ExtraLength = ReadLittleEndian(Zip, Cursor + 30, 2);
			const uint32 CommentLength = ReadLittleEndian(Zip, Cursor + 32, 2);
			const uint32 LocalHeader = ReadLittleEndian(Zip, Cursor + 42, 4);
			if (Cursor + 46 + NameLength > EndRecord || (int64)LocalHeader + 30 > DirectoryOffset || ReadLittleEndian(Zip, LocalHeader, 4) != 0x04034b50u)
			{
				OutProblem = TEXT("an entry of the package lies outside the archive");
				return EPackageCheck::Incomplete;
			}
			std::string Name(reinterpret_cast<const char*>(Zip.GetData()) + Cursor + 46, NameLength);
			FString EntryName = UTF8_TO_TCHAR(Name.c_str());
			EntryName.ReplaceInline(TEXT("\\"), TEXT("/"));
			bHasDescriptor |= EntryName.Equals(Wanted, ESearchCase::IgnoreCase);
			Cursor += 46 + NameLength + ExtraLength + CommentLength;
		}
		if (!bHasDescriptor)
		{
			OutProblem = FString::Printf(TEXT("the package holds no %s"), *Wanted);
			return EPackageCheck::NoPackageForEngine;
		}
		return EPackageCheck::Usable;
	}

	FPluginUpdates& FPluginUpdates::Get()
	{
		static FPluginUpdates Updates;
		return Updates;
	}

	bool FPluginUpdates::CanUpdate() const
	{
		return !bDownloading && IsVersionNewer(LatestVersion, InstalledVersion());
	}

	void FPluginUpdates::Check()
	{
		if (!CanCheck())
		{
			return;
		}
		bChecking = true;
		LatestVersion.Reset();
		FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
		Request->SetVerb(TEXT("GET"));
		Request->SetURL(ManifestUrl());
		Request->OnProcessRequestComplete().BindLambda([this](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully) {
			bChecking = false;
			CurrentRequest.Reset();
			const bool bOk = bConnectedSuccessfully && Response && Response->GetResponseCode() == EHttpResponseCodes::Ok;
			const FString Parsed = bOk ? ParseLatestVersion(Response->GetContentAsString()) : FString();
			if (!bOk)
			{
				UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update check: %s"),
					Response ? *FString::Printf(TEXT("the server answered HTTP %d"), Response->GetResponseCode()) : TEXT("no answer from the server"));
			}
			if (!Parsed.IsEmpty() && IsVersionNewer(Parsed, InstalledVersion()))
			{
				LatestVersion = Parsed;
				Status = FString::Printf(TEXT("Version %s is available"), *Parsed);
			}
			else if (Parsed.IsEmpty())
			{
				Status.Reset();
				ShowMessage(DialogTitle, TEXT("Could not check for updates. Please try again later."));
			}
			else
			{
				Status = TEXT("Up to date");
			}
		});
		CurrentRequest = Request;
		if (!Request->ProcessRequest())
		{
			CurrentRequest.Reset();
			bChecking = false;
			ShowMessage(DialogTitle, TEXT("Could not check for updates. Please try again later."));
		}
	}

	void FPluginUpdates::Download()
	{
		if (bDownloading || !IsVersionNewer(LatestVersion, InstalledVersion()))
		{
			return;
		}
		bDownloading = true;
		Progress = 0.0f;
		TotalBytes = 0;
		const FString Version = LatestVersion;
		FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
		Request->SetVerb(TEXT("GET"));
		Request->SetURL(PackageUrl(Version));
		Request->OnHeaderReceived().BindLambda([this](FHttpRequestPtr, const FString& HeaderName, const FString& NewHeaderValue) {
			if (HeaderName.Equals(TEXT("Content-Length"), ESearchCase::IgnoreCase))
			{
				TotalBytes = FCString::Atoi64(*NewHeaderValue);
			}
		});
		Request->OnRequestProgress64().BindLambda([this](FHttpRequestPtr, uint64, uint64 BytesReceived) {
			if (TotalBytes > 0)
			{
				Progress = FMath::Clamp((float)((double)BytesReceived / (double)TotalBytes), 0.0f, 1.0f);
			}
		});
		Request->OnProcessRequestComplete().BindLambda([this, Version](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully) {
			bDownloading = false;
			CurrentRequest.Reset();
			Progress = 1.0f;
			if (bConnectedSuccessfully && Response && Response->GetResponseCode() == EHttpResponseCodes::Ok && Response->GetContent().Num() > 0)
			{
				Stage(Version, Response->GetContent());
				return;
			}
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update download of %s: %s"), *Version,
				Response ? *FString::Printf(TEXT("the server answered HTTP %d"), Response->GetResponseCode()) : TEXT("no complete answer from the server"));
			ShowMessage(DialogTitle, TEXT("Could not download the update. Please try again later."));
		});
		CurrentRequest = Request;
		if (!Request->ProcessRequest())
		{
			CurrentRequest.Reset();
			bDownloading = false;
			ShowMessage(DialogTitle, TEXT("Could not download the update. Please try again later."));
		}
	}

	void FPluginUpdates::Abandon()
	{
		if (CurrentRequest)
		{
			CurrentRequest->OnProcessRequestComplete().Unbind();
			CurrentRequest->OnRequestProgress64().Unbind();
			CurrentRequest->OnHeaderReceived().Unbind();
			CurrentRequest->CancelRequest();
		}
		*this = FPluginUpdates();
	}

	void FPluginUpdates::Stage(const FString& Version, const TArray<uint8>& Package)
	{
		const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(PluginName);
		if (!Plugin)
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update: the loaded %s plug-in was not found; the update was not staged"), PluginName);
			return;
		}
		// A package that is cut short or lacks this engine's plug-in would leave the installer nothing
		// to install; it is refused before anything is staged.
		const FString EngineVersion = RunningEngineVersion();
		FString Problem;
		const EPackageCheck Check = CheckUpdatePackage(Package, EngineVersion, Problem);
		if (Check != EPackageCheck::Usable)
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update %s was not staged: %s"), *Version, *Problem);
			ShowMessage(DialogTitle, Check == EPackageCheck::NoPackageForEngine ? TEXT("The update does not contain a package for this Unreal version.")
																				: TEXT("Could not download the update. Please try again later."));
			return;
		}

		FString PluginFolder = FPaths::ConvertRelativePathToFull(Plugin->GetBaseDir());
		FPaths::NormalizeDirectoryName(PluginFolder);
		FString StageFolder = FPaths::Combine(PluginFolder, TEXT(".."), TEXT("VantorelUnrealUpdate"), Version);
		FPaths::CollapseRelativeDirectories(StageFolder);
		IFileManager::Get().MakeDirectory(*StageFolder, true);
		const FString Archive = FPaths::Combine(StageFolder, TEXT("VantorelUnreal.zip"));
		TArray<uint8> Written;
		if (!FFileHelper::SaveArrayToFile(Package, *Archive) || !FFileHelper::LoadFileToArray(Written, *Archive) || Written.Num() != Package.Num())
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update %s was not staged: %s could not be written"), *Version, *Archive);
			return;
		}
		const FString ProjectFile = FPaths::ConvertRelativePathToFull(FPaths::GetProjectFilePath());
		const FString Script = FPaths::Combine(StageFolder, TEXT("InstallUpdate.ps1"));
		// With a byte-order mark, Windows PowerShell reads the script as UTF-8, so paths outside ASCII survive.
		if (!FFileHelper::SaveStringToFile(MakeInstallerScript(StageFolder, PluginFolder, EngineVersion, Version, ProjectFile), *Script,
				FFileHelper::EEncodingOptions::ForceUTF8))
		{
			UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel update %s was not staged: %s could not be written"), *Version, *Script);
			return;
		}

		const FString Arguments = FString::Printf(TEXT("/c start \"Vantorel Update\" /min powershell.exe -NoProfile -ExecutionPolicy Bypass -File \"%s\" %u"), *Script,
			FPlatformProcess::GetCurrentProcessId());
		FProcHandle Installer = FPlatformProcess::CreateProc(TEXT("cmd.exe"), *Arguments, true, true, true, nullptr, 0, nullptr, nullptr);
		if (!Installer.IsValid())
		{
			ShowMessage(DialogTitle, TEXT("Could not start the update installer."));
			return;
		}
		FPlatformProcess::CloseProc(Installer);
		Status = TEXT("Update staged. Restart Unreal");
		ShowMessage(TEXT("Restart Unreal Required"), FString::Printf(TEXT("Vantorel Unreal %s is staged. Restart Unreal now to install the update."), *Version));
	}
}
