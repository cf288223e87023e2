// The updater's texts and checks: version manifests and their comparison, the installer text with
// its quoting, and the update package's completeness; and the demo archive listings that are refused.

#include <gtest/gtest.h>

#include <string>

#include "CoreMinimal.h"
#include "VNDemoCharacters.h"
#include "VNPluginUpdater.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	void AppendLittleEndian(TArray<uint8>& Bytes, uint32 Value, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Bytes.Add((uint8)((Value >> (8 * Index)) & 0xFF));
		}
	}

	/** A stored (uncompressed) zip archive of the named entries, each holding its own name. */
	TArray<uint8> MakeZip(const TArray<FString>& Names)
	{
		TArray<uint8> Zip;
		TArray<uint32> Offsets;
		for (const FString& Name : Names)
		{
			const std::string Utf8 = Narrow(Name);
			Offsets.Add((uint32)Zip.Num());
			AppendLittleEndian(Zip, 0x04034b50u, 4);
			AppendLittleEndian(Zip, 20, 2);
			AppendLittleEndian(Zip, 0, 2);
			AppendLittleEndian(Zip, 0, 2);
			AppendLittleEndian(Zip, 0, 4);
			AppendLittleEndian(Zip, 0, 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 2);
			AppendLittleEndian(Zip, 0, 2);
			Zip.Append(reinterpret_cast<const uint8*>(Utf8.data()), (int32)Utf8.size());
			Zip.Append(reinterpret_cast<const uint8*>(Utf8.data()), (int32)Utf8.size());
		}
		const uint32 Directory = (uint32)Zip.Num();
		for (int32 Index = 0; Index < Names.Num(); ++Index)
		{
			const std::string Utf8 = Narrow(Names[Index]);
			AppendLittleEndian(Zip, 0x02014b50u, 4);
			AppendLittleEndian(Zip, 20, 2);
			AppendLittleEndian(Zip, 20, 2);
			// Flags, method, time and date.
			for (int32 Skip = 0; Skip < 4; ++Skip)
			{
				AppendLittleEndian(Zip, 0, 2);
			}
			// CRC, then the compressed and whole sizes.
			AppendLittleEndian(Zip, 0, 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 4);
			AppendLittleEndian(Zip, (uint32)Utf8.size(), 2);
			// Extra and comment lengths, first disk, internal attributes.
			for (int32 Skip = 0; Skip < 4; ++Skip)
			{
				AppendLittleEndian(Zip, 0, 2);
			}
			AppendLittleEndian(Zip, 0, 4);
			AppendLittleEndian(Zip, Offsets[Index], 4);
			Zip.Append(reinterpret_cast<const uint8*>(Utf8.data()), (int32)Utf8.size());
		}
		const uint32 DirectorySize = (uint32)Zip.Num() - Directory;
		AppendLittleEndian(Zip, 0x06054b50u, 4);
		AppendLittleEndian(Zip, 0, 2);
		AppendLittleEndian(Zip, 0, 2);
		AppendLittleEndian(Zip, (uint32)Names.Num(), 2);
		AppendLittleEndian(Zip, (uint32)Names.Num(), 2);
		AppendLittleEndian(Zip, DirectorySize, 4);
		AppendLittleEndian(Zip, Directory, 4);
		AppendLittleEndian(Zip, 0, 2);
		return Zip;
	}
}

TEST(PluginUpdater, TheManifestsLatestVersionIsItsFirstVersionLine)
{
	using VantorelUpdater::ParseLatestVersion;
	EXPECT_EQ(ParseLatestVersion(TEXT("# Vantorel Unreal\n\n2.1.0\n3.0\n")), TEXT("2.1.0"));
	EXPECT_EQ(ParseLatestVersion(TEXT("\r\n  v2.0  \r\n7\r\n 1.4 \r\n")), TEXT("1.4")) << "a letter prefix and a single number are no versions";
	EXPECT_EQ(ParseLatestVersion(TEXT("1..2\n")), TEXT("1..2")) << "empty parts are dropped";
	EXPECT_EQ(ParseLatestVersion(TEXT("1.2-beta\n1.x\n# 9.9\n")), TEXT(""));
	EXPECT_EQ(ParseLatestVersion(TEXT("")), TEXT(""));
	EXPECT_EQ(ParseLatestVersion(TEXT("<html>Not Found</html>")), TEXT(""));
}

TEST(PluginUpdater, VersionsCompareNumberByNumber)
{
	using VantorelUpdater::IsVersionNewer;
	EXPECT_TRUE(IsVersionNewer(TEXT("1.10"), TEXT("1.9")));
	EXPECT_FALSE(IsVersionNewer(TEXT("1.9"), TEXT("1.10")));
	EXPECT_FALSE(IsVersionNewer(TEXT("1.0"), TEXT("1.0.0"))) << "a missing part counts as 0";
	EXPECT_TRUE(IsVersionNewer(TEXT("1.0.1"), TEXT("1.0")));
	EXPECT_FALSE(IsVersionNewer(TEXT("2.0"), TEXT("Unknown"))) << "nothing is newer than an unknown installed version";
	EXPECT_FALSE(IsVersionNewer(TEXT("2"), TEXT("1.0"))) << "one part is no version";
	EXPECT_FALSE(IsVersionNewer(TEXT(""), TEXT("1.0")));
	EXPECT_TRUE(IsVersionNewer(TEXT("10.0.0.1"), TEXT("9.99")));
	EXPECT_FALSE(IsVersionNewer(TEXT("1.99999999999999999999"), TEXT("1.0"))) << "a part too long for a number is no version";
}

TEST(PluginUpdater, TheInstallerTextHoldsItsValuesInOrderWithPathsQuoted)
{
	const FString Script = VantorelUpdater::MakeInstallerScript(TEXT("C:/Users/O'Neil/Plugins/VantorelUnrealUpdate/1.10"), TEXT("C:/Users/O'Neil/Plugins/VantorelUnreal"),
		TEXT("5.4"), TEXT("1.10"), TEXT("D:/Projects/It\u2019s \"Mine\"/Mine.uproject"));
	EXPECT_TRUE(Script.Contains(TEXT("$stage = 'C:/Users/O''Neil/Plugins/VantorelUnrealUpdate/1.10'\r\n")));
	EXPECT_TRUE(Script.Contains(TEXT("$target = 'C:/Users/O''Neil/Plugins/VantorelUnreal'\r\n")));
	EXPECT_TRUE(Script.Contains(TEXT("$engine = '5.4'\r\n$version = '1.10'\r\n")));
	EXPECT_TRUE(Script.Contains(TEXT("$project = 'D:/Projects/It\u2019\u2019s \"Mine\"/Mine.uproject'\r\n"))) << Narrow(Script);
	EXPECT_TRUE(Script.StartsWith(TEXT("# ")));
	EXPECT_TRUE(Script.Contains(TEXT("param([int]$EditorProcessId)")));
	// The steps that matter, in their order: wait, extract, check the package, swap with a backup, start.
	const TCHAR* const Steps[] = {
		TEXT("Start-Transcript -LiteralPath $log -Append"),
		TEXT("Get-Process -Id $EditorProcessId"),
		TEXT("Expand-Archive -LiteralPath $archive -DestinationPath $extracted -Force"),
		TEXT("throw 'The update does not contain a package for this Unreal version.'"),
		TEXT("if ($manifest.VersionName -ne $version)"),
		TEXT("Move-Item -LiteralPath $target -Destination $backup"),
		TEXT("Move-Item -LiteralPath $source -Destination $target"),
		TEXT("Move-Item -LiteralPath $backup -Destination $target"),
		TEXT("Start-Process -FilePath $project"),
		TEXT("-Value 'Installed' -Encoding Ascii"),
		TEXT("-Value 'Failed' -Encoding Ascii"),
		TEXT("Stop-Transcript"),
	};
	int32 Last = -1;
	for (const TCHAR* Step : Steps)
	{
		const int32 At = Script.Find(Step);
		EXPECT_GT(At, Last) << Narrow(Step);
		Last = At;
	}
	EXPECT_EQ(VantorelUpdater::QuoteForPowerShell(TEXT("a'b\u2018c\u201Ad\u201Be\"f")), TEXT("a''b\u2018\u2018c\u201A\u201Ad\u201B\u201Be\"f"));
}

TEST(PluginUpdater, OnlyAWholePackageWithThisEnginesPluginIsUsable)
{
	using VantorelUpdater::EPackageCheck;
	FString Problem;
	const TArray<uint8> Whole = MakeZip({TEXT("UE_5.4/VantorelUnreal/Content/Readme.txt"), TEXT("UE_5.4/VantorelUnreal/VantorelUnreal.uplugin")});
	EXPECT_EQ(VantorelUpdater::CheckUpdatePackage(Whole, TEXT("5.4"), Problem), EPackageCheck::Usable) << Narrow(Problem);
	EXPECT_EQ(VantorelUpdater::CheckUpdatePackage(Whole, TEXT("5.3"), Problem), EPackageCheck::NoPackageForEngine);
	EXPECT_EQ(Problem, TEXT("the package holds no UE_5.3/VantorelUnreal/VantorelUnreal.uplugin"));

	const TArray<uint8> Backslashes = MakeZip({TEXT("UE_5.4\\VantorelUnreal\\VantorelUnreal.uplugin")});
	EXPECT_EQ(VantorelUpdater::CheckUpdatePackage(Backslashes, TEXT("5.4"), Problem), EPackageCheck::Usable);

	// Cut anywhere, the archive is refused; so is one whose directory points past its entries.
	for (const int32 Keep : {0, 10, Whole.Num() / 2, Whole.Num() - 1})
	{
		TArray<uint8> Cut(Whole.GetData(), Keep);
		EXPECT_EQ(VantorelUpdater::CheckUpdatePackage(Cut, TEXT("5.4"), Problem), EPackageCheck::Incomplete) << Keep;
	}
	TArray<uint8> Shifted = Whole;
	Shifted.RemoveAt(0, 8);
	EXPECT_EQ(VantorelUpdater::CheckUpdatePackage(Shifted, TEXT("5.4"), Problem), EPackageCheck::Incomplete);
	EXPECT_EQ(VantorelUpdater::PackageDescriptorPath(TEXT("5.4")), TEXT("UE_5.4/VantorelUnreal/VantorelUnreal.uplugin"));
}

TEST(DemoArchives, ListingsWithAnEntryLeavingTheFolderAreRefused)
{
	const FString Head = TEXT("7-Zip 23.01\r\n\r\nListing archive: Hero.7z\r\n\r\n--\r\nPath = C:\\Temp\\HeroUnreal.7z\r\nType = 7z\r\n\r\n----------\r\n");
	const auto Entry = [](const TCHAR* Path, const TCHAR* Attributes) {
		return FString::Printf(TEXT("Path = %s\r\nSize = 2\r\nAttributes = %s\r\nCRC = 1\r\n\r\n"), Path, Attributes);
	};
	const FString Safe = Entry(TEXT("HeroUnreal"), TEXT("D")) + Entry(TEXT("HeroUnreal\\HeroUnreal.uproject"), TEXT("A")) + Entry(TEXT("HeroUnreal/Content/..Dots..txt"), TEXT("A -rw-r--r--"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Safe), TEXT("")) << "the archive's own absolute path is not an entry";
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Safe + Entry(TEXT("HeroUnreal\\..\\..\\x.txt"), TEXT("A"))), TEXT("HeroUnreal\\..\\..\\x.txt"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Entry(TEXT("D:\\x.txt"), TEXT("A")) + Safe), TEXT("D:\\x.txt"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Entry(TEXT("\\\\server\\share\\x.txt"), TEXT("A"))), TEXT("\\\\server\\share\\x.txt"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Entry(TEXT("/etc/x"), TEXT("A"))), TEXT("/etc/x"));
	// Links: a Windows reparse point, a Unix link mode, and a tar link's target.
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Safe + Entry(TEXT("HeroUnreal\\Up"), TEXT("DL"))), TEXT("HeroUnreal\\Up"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + Entry(TEXT("HeroUnreal/Up"), TEXT("A lrwxrwxrwx"))), TEXT("HeroUnreal/Up"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + TEXT("Path = HeroUnreal/Up\r\nSymbolic Link = ../..\r\n\r\n")), TEXT("HeroUnreal/Up"));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(Head + TEXT("Path = HeroUnreal/File\r\nSymbolic Link = \r\nHard Link =\r\n\r\n")), TEXT(""));
	EXPECT_EQ(VantorelDemos::FindUnsafeArchiveEntry(TEXT("")), TEXT(""));
}
