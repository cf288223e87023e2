// Fuzzes the native Face rig JSON importer with arbitrary file contents. Besides the sanitizers'
// checks it stops on a broken contract: a failed import must leave the asset's version and drivers as
// they were and report an "Import failed: " message; a successful one must report no message.

#include <cstdio>
#include <cstdlib>

#include "CoreMinimal.h"
#include "Misc/FileHelper.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	const TCHAR* const SeedJson = TEXT(R"({"version": 3, "drivers": [{"control": "Lip_L", "channel": "ty", "driven": [{"bone": "LipBone_L", "channel": "rx", "multiplier": 2, "keys": [{"x": 0, "y": 0}, {"x": 1, "y": 30}]}]}]})");

	UVNFaceRigDataAsset* MakeSeededAsset()
	{
		UPackage* Package = CreatePackage(TEXT("/Game/Fuzz/DA_Fuzz_VNFaceSDK"));
		UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, FName(TEXT("DA_Fuzz_VNFaceSDK")), RF_Public | RF_Standalone);
		FString Error;
		if (!UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(Asset, SeedJson, Error))
		{
			std::fprintf(stderr, "seed import failed\n");
			std::abort();
		}
		return Asset;
	}

	[[noreturn]] void Violation(const char* What)
	{
		std::fprintf(stderr, "importer contract broken: %s\n", What);
		std::abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8* Data, size_t Size)
{
	static UVNFaceRigDataAsset* Asset = MakeSeededAsset();
	static const FProperty* DriversProperty = UVNFaceRigDataAsset::StaticClass()->FindPropertyByName(TEXT("Drivers"));

	const TArray<FVNFaceSDKDriver> DriversBefore = Asset->Drivers;
	const int32 VersionBefore = Asset->Version;

	FString Text;
	FFileHelper::BufferToString(Text, Data, (int32)Size);
	FString Error;
	const bool bImported = UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(Asset, Text, Error);
	if (bImported)
	{
		if (!Error.IsEmpty())
		{
			Violation("a successful import reported a message");
		}
		// Start the next input from the seed again so that failures compare against known drivers.
		Asset->Drivers = DriversBefore;
		Asset->Version = VersionBefore;
		return 0;
	}
	if (!Error.StartsWith(TEXT("Import failed: "), ESearchCase::CaseSensitive))
	{
		Violation("a failed import did not report an 'Import failed: ' message");
	}
	if (Asset->Version != VersionBefore || !DriversProperty->Identical(&Asset->Drivers, &DriversBefore))
	{
		Violation("a failed import changed the asset");
	}
	return 0;
}
