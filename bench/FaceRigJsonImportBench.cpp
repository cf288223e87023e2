// Measures the native Face rig JSON importer on a production-sized file (2,000 drivers, 8 driven
// rows each, 12 keys a row: about 190,000 keys) against the JSON parse alone on the same text.
// Prints the throughputs and the import-to-parse ratio; the import should cost at most twice the parse.
//
// Usage: FaceRigJsonImportBench [drivers] [rows per driver] [keys per row] [repetitions]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	const char* const DrivenChannels[] = {"translate.x", "translate.y", "translate.z", "rotate.x", "rotate.y", "rotate.z", "scale.x", "scale.y"};
	const char* const DriverChannels[] = {"translateX", "ty", "Rotate.Z", "blink", "sneer"};

	/** Writes a Face rig JSON the way the Maya-side exporter lays it out. */
	std::string MakeFaceRigJson(int Drivers, int Rows, int Keys)
	{
		std::string Json = "{\n\t\"exportType\": \"VantorelFaceRig\",\n\t\"version\": 2,\n\t\"coordinateSystem\": {\"source\": \"Maya\", \"upAxis\": \"y\"},\n\t\"drivers\": [\n";
		char Buffer[256];
		for (int Driver = 0; Driver < Drivers; ++Driver)
		{
			std::snprintf(Buffer, sizeof(Buffer), "\t\t{\"control\": \"FaceCtrl%04d_%s\", \"channel\": \"%s\", \"driven\": [\n", Driver, Driver % 2 ? "L" : "R", DriverChannels[Driver % 5]);
			Json += Buffer;
			for (int Row = 0; Row < Rows; ++Row)
			{
				std::snprintf(Buffer, sizeof(Buffer), "\t\t\t{\"bone\": \"FaceJoint%04d_%d\", \"channel\": \"%s\", \"multiplier\": %.3f, \"mode\": \"%s\", \"space\": \"%s\", \"keys\": [",
					Driver, Row, DrivenChannels[Row % 8], 0.5 + Row * 0.25, Row % 3 ? "additive" : "absolute", Row % 4 ? "local" : "world");
				Json += Buffer;
				for (int Key = 0; Key < Keys; ++Key)
				{
					std::snprintf(Buffer, sizeof(Buffer), "%s{\"x\": %.6f, \"y\": %.6f}", Key ? ", " : "", Key / (double)(Keys - 1), std::sin(Driver + Row + Key * 0.37) * 12.5);
					Json += Buffer;
				}
				Json += Row + 1 < Rows ? "]},\n" : "]}\n";
			}
			Json += Driver + 1 < Drivers ? "\t\t]},\n" : "\t\t]}\n";
		}
		Json += "\t]\n}\n";
		return Json;
	}

	template <typename FunctionType>
	double BestSeconds(int Repetitions, FunctionType&& Function)
	{
		double Best = 1e30;
		for (int Repetition = 0; Repetition < Repetitions; ++Repetition)
		{
			const auto Start = std::chrono::steady_clock::now();
			Function();
			const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
			Best = std::min(Best, Seconds);
		}
		return Best;
	}
}

int main(int Argc, char** Argv)
{
	const int Drivers = Argc > 1 ? std::atoi(Argv[1]) : 2000;
	const int Rows = Argc > 2 ? std::atoi(Argv[2]) : 8;
	const int Keys = Argc > 3 ? std::atoi(Argv[3]) : 12;
	const int Repetitions = Argc > 4 ? std::atoi(Argv[4]) : 5;

	const std::string Utf8 = MakeFaceRigJson(Drivers, Rows, Keys);
	const FString Text(UTF8_TO_TCHAR(Utf8.c_str()));
	const double Megabytes = Utf8.size() / (1024.0 * 1024.0);

	UPackage* Package = CreatePackage(TEXT("/Game/Bench/DA_Bench_VNFaceSDK"));
	UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, TEXT("DA_Bench_VNFaceSDK"), RF_Public | RF_Standalone);

	bool bAllParsed = true;
	const double LibrarySeconds = BestSeconds(Repetitions, [&]()
	{
		bAllParsed &= nlohmann::json::accept(Utf8);
	});
	const double ParseSeconds = BestSeconds(Repetitions, [&]()
	{
		TSharedPtr<FJsonObject> Root;
		bAllParsed &= FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Root) && Root.IsValid();
	});
	bool bAllImported = true;
	FString Error;
	const double ImportSeconds = BestSeconds(Repetitions, [&]()
	{
		bAllImported &= UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(Asset, Text, Error);
	});
	if (!bAllParsed || !bAllImported)
	{
		std::fprintf(stderr, "benchmark input did not import: %s\n", TCHAR_TO_UTF8(*Error));
		return 1;
	}

	int64 KeyCount = 0;
	for (const FVNFaceSDKDriver& Driver : Asset->Drivers)
	{
		for (const FVNDrivenSDKChannel& Row : Driver.Driven)
		{
			KeyCount += Row.Keys.Num();
		}
	}

	const double Ratio = ImportSeconds / ParseSeconds;
	std::printf("Face rig JSON import benchmark (best of %d runs)\n", Repetitions);
	std::printf("  input:                 %.2f MB, %d drivers, %lld keys\n", Megabytes, (int)Asset->Drivers.Num(), (long long)KeyCount);
	std::printf("  JSON library alone:    %8.1f MB/s  (%.3f s, validation only)\n", Megabytes / LibrarySeconds, LibrarySeconds);
	std::printf("  engine JSON parse:     %8.1f MB/s  (%.3f s, FJsonSerializer::Deserialize)\n", Megabytes / ParseSeconds, ParseSeconds);
	std::printf("  ImportVNFaceSDKJsonText: %6.1f MB/s  (%.3f s)\n", Megabytes / ImportSeconds, ImportSeconds);
	std::printf("  import-to-parse ratio: %.2f (target: at most 2.00) %s\n", Ratio, Ratio <= 2.0 ? "OK" : "OVER TARGET");
	return 0;
}
