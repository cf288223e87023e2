// The plug-in updater: the installed version, the server's latest version, the update package's
// download, and the staged installer that swaps the plug-in folder once the editor has exited.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"

namespace VantorelUpdater
{
	/** The plug-in's name, as the plug-in manager knows it. */
	extern const TCHAR* const PluginName;

	/** The version name of the loaded plug-in, or "Unknown" when it is not found. */
	FString InstalledVersion();

	/** The numbers of a version text: at least two "."-separated numeric parts (empty parts dropped). False otherwise. */
	bool ParseVersion(const FString& Text, TArray<int64>& OutParts);

	/** Whether A is newer than B; both must be versions ParseVersion accepts, else not newer. */
	bool IsVersionNewer(const FString& A, const FString& B);

	/** The manifest's latest version: its first line that is a version, skipping blanks and "#" comments. Empty when none. */
	FString ParseLatestVersion(const FString& Manifest);

	FString ManifestUrl();
	FString PackageUrl(const FString& Version);
	/** A page at the server's top ("newsUnreal.html", "EULA.html"). */
	FString PageUrl(const FString& Page);

	/** Text for the inside of a PowerShell single-quoted string: every single quotation mark (', and the typographic ones PowerShell also reads as quotes) doubled. */
	FString QuoteForPowerShell(const FString& Text);

	/** The installer script for these values: it waits for the editor process, swaps the plug-in folder with a backup and roll-back, and opens the project again. */
	FString MakeInstallerScript(const FString& StageFolder, const FString& PluginFolder, const FString& EngineVersion, const FString& Version, const FString& ProjectFile);

	enum class EPackageCheck
	{
		/** A whole zip archive with the plug-in for this engine version. */
		Usable,
		/** Cut short or not a zip archive. */
		Incomplete,
		/** Whole, but without the plug-in descriptor for this engine version. */
		NoPackageForEngine,
	};

	/**
	 * Whether a zip archive is whole (its central directory is there and every entry it lists starts
	 * inside the archive) and holds the plug-in descriptor for this engine version; OutProblem says
	 * what is wrong otherwise.
	 */
	EPackageCheck CheckUpdatePackage(const TArray<uint8>& Zip, const FString& EngineVersion, FString& OutProblem);

	/** "UE_<major>.<minor>/VantorelUnreal/VantorelUnreal.uplugin" for the running engine's version text. */
	FString PackageDescriptorPath(const FString& EngineVersion);

	/** The About section's update state, for the whole editor run. */
	struct FPluginUpdates
	{
		bool bChecking = false;
		bool bDownloading = false;
		FString LatestVersion;
		FString Status;
		int64 TotalBytes = 0;
		float Progress = 0.0f;
		/** The running check or download. */
		FHttpRequestPtr CurrentRequest;

		static FPluginUpdates& Get();

		bool CanCheck() const { return !bChecking && !bDownloading; }
		bool CanUpdate() const;
		/** Asks the server for its latest version; the status and message follow when it completes. */
		void Check();
		/** Downloads the latest version's package and stages it for installation. */
		void Download();
		/** The editor is closing: the running request stops without calling back, and the state starts over. */
		void Abandon();
		/** Writes the package and the installer into the staging folder and starts the installer. */
		void Stage(const FString& Version, const TArray<uint8>& Package);
	};
}
