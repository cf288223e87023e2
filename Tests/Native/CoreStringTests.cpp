// FString, FName, FText, the containers and the core file and text helpers behave as the engine's.

#include <gtest/gtest.h>

#include <filesystem>

#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "Misc/Base64.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	FString TempFile(const char* Name)
	{
		const std::filesystem::path Path = std::filesystem::temp_directory_path() / "vn_core_tests" / Name;
		std::filesystem::create_directories(Path.parent_path());
		return FString(UTF8_TO_TCHAR(Path.string().c_str()));
	}
}

TEST(FString, OperatorsCompareIgnoringCaseWhileEqualsDefaultsToCaseSensitive)
{
	const FString Lower(TEXT("drivers"));
	const FString Mixed(TEXT("Drivers"));
	EXPECT_TRUE(Lower == Mixed);
	EXPECT_FALSE(Lower != Mixed);
	EXPECT_FALSE(Lower.Equals(Mixed));
	EXPECT_TRUE(Lower.Equals(Mixed, ESearchCase::IgnoreCase));
	EXPECT_FALSE(Mixed < Lower);
	EXPECT_TRUE(FString(TEXT("apple")) < FString(TEXT("Banana")));
	EXPECT_EQ(GetTypeHash(Lower), GetTypeHash(Mixed));
}

TEST(FString, PrintfFormatsTextAndNumbersLikeTheEngine)
{
	const FString Name(TEXT("Jaw_M"));
	EXPECT_EQ(Narrow(FString::Printf(TEXT("Unknown driven channel '%s'."), *Name)), "Unknown driven channel 'Jaw_M'.");
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%d|%5d|%-4d|%03d"), 7, 42, 3, 9)), "7|   42|3   |009");
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%.6f %f %.2f"), 1.5, 0.25f, -2.345)), "1.500000 0.250000 -2.35");
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%lld %u %x %%"), (int64)1 << 40, 4000000000u, 255)), "1099511627776 4000000000 ff %");
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%s and %hs"), TEXT("wide"), "narrow")), "wide and narrow");
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%c%c"), 'o', 'k')), "ok");
	// A %d narrows to 32 bits as printf reads it.
	EXPECT_EQ(Narrow(FString::Printf(TEXT("%d"), (int64)0x100000005)), "5");
}

TEST(FString, ReplaceAndSearchIgnoreCaseByDefault)
{
	const FString Path(TEXT("C:\\Rigs\\\"Hero\"\\Face.JSON"));
	EXPECT_EQ(Narrow(Path.Replace(TEXT("\\"), TEXT("\\\\")).Replace(TEXT("\""), TEXT("\\\""))), "C:\\\\Rigs\\\\\\\"Hero\\\"\\\\Face.JSON");
	EXPECT_EQ(Narrow(FString(TEXT("aXbxc")).Replace(TEXT("x"), TEXT("-"))), "a-b-c");
	EXPECT_EQ(Narrow(FString(TEXT("aXbxc")).Replace(TEXT("x"), TEXT("-"), ESearchCase::CaseSensitive)), "aXb-c");
	EXPECT_EQ(FString(TEXT("aaaa")).Replace(TEXT("aa"), TEXT("a")).Len(), 2);
	EXPECT_TRUE(Path.EndsWith(TEXT(".json")));
	EXPECT_FALSE(Path.EndsWith(TEXT(".json"), ESearchCase::CaseSensitive));
	EXPECT_EQ(Path.Find(TEXT("face")), 15);
	EXPECT_EQ(FString(TEXT("a.b.c")).Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd), 3);
	EXPECT_FALSE(FString(TEXT("abc")).StartsWith(TEXT("")));
}

TEST(FString, TrimSplitAndSubstringsClampLikeTheEngine)
{
	EXPECT_EQ(Narrow(FString(TEXT(" \t Root_M \r\n")).TrimStartAndEnd()), "Root_M");
	EXPECT_EQ(Narrow(FString(TEXT("abc")).Left(10)), "abc");
	EXPECT_EQ(Narrow(FString(TEXT("abc")).Mid(1, 100)), "bc");
	EXPECT_EQ(Narrow(FString(TEXT("abc")).Mid(5)), "");
	EXPECT_EQ(Narrow(FString(TEXT("abc")).RightChop(1)), "bc");
	EXPECT_EQ(Narrow(FString(TEXT("abc")).LeftChop(5)), "");
	FString Left;
	FString Right;
	EXPECT_TRUE(FString(TEXT("/Game/Chars/Hero.Hero")).Split(TEXT("."), &Left, &Right));
	EXPECT_EQ(Narrow(Left), "/Game/Chars/Hero");
	EXPECT_EQ(Narrow(Right), "Hero");
	TArray<FString> Parts;
	EXPECT_EQ(FString(TEXT("a,,b,")).ParseIntoArray(Parts, TEXT(","), true), 2);
	EXPECT_EQ(FString(TEXT("a,,b,")).ParseIntoArray(Parts, TEXT(","), false), 4);
}

TEST(FString, NumbersConvertAsTheEngineDoes)
{
	EXPECT_EQ(Narrow(FString::SanitizeFloat(1.0)), "1.0");
	EXPECT_EQ(Narrow(FString::SanitizeFloat(1.0, 0)), "1");
	EXPECT_EQ(Narrow(FString::SanitizeFloat(-0.0)), "0.0");
	EXPECT_EQ(Narrow(FString::SanitizeFloat(2.5)), "2.5");
	EXPECT_EQ(Narrow(FString::SanitizeFloat(0.1234567)), "0.123457");
	EXPECT_TRUE(FString(TEXT("-12.5")).IsNumeric());
	EXPECT_FALSE(FString(TEXT("1e5")).IsNumeric());
	EXPECT_FALSE(FString().IsNumeric());
	EXPECT_EQ(FCString::Atoi(TEXT("  42abc")), 42);
	EXPECT_DOUBLE_EQ(FCString::Atod(TEXT("-2.5e1")), -25.0);
	EXPECT_TRUE(FString(TEXT("yes")).ToBool());
	EXPECT_FALSE(FString(TEXT("off")).ToBool());
	EXPECT_TRUE(FString(TEXT("3")).ToBool());
}

TEST(FString, Utf8RoundTripsAndInvalidBytesBecomeReplacementCharacters)
{
	const char* Utf8 = "Ä\xe2\x82\xac\xf0\x9f\x98\x80";
	const FString Text(UTF8_TO_TCHAR(Utf8));
	EXPECT_EQ(Text.Len(), 4);
	EXPECT_EQ(Narrow(Text), Utf8);
	const FString Invalid(UTF8_TO_TCHAR("a\xff" "b\xe2\x82"));
	EXPECT_EQ(Invalid.Len(), 4);
	EXPECT_EQ(Invalid[1], (TCHAR)0xFFFD);
	EXPECT_EQ(Invalid[3], (TCHAR)0xFFFD);
}

TEST(FName, ComparesWithoutCaseAndKeepsEachSpelling)
{
	const FName Upper(TEXT("FaceJoint_M"));
	const FName Lower(TEXT("facejoint_m"));
	EXPECT_EQ(Upper, Lower);
	EXPECT_EQ(Narrow(Upper.ToString()), "FaceJoint_M");
	EXPECT_EQ(Narrow(Lower.ToString()), "facejoint_m");
	EXPECT_TRUE(FName().IsNone());
	EXPECT_TRUE(FName(TEXT("")).IsNone());
	EXPECT_EQ(FName(TEXT("none")), FName(NAME_None));
	EXPECT_EQ(Narrow(FName().ToString()), "None");
	EXPECT_NE(FName(TEXT("A")), FName(TEXT("B")));
	EXPECT_EQ(GetTypeHash(Upper), GetTypeHash(Lower));
}

TEST(FText, LocalisedTextKeepsItsNamespaceAndKey)
{
#define LOCTEXT_NAMESPACE "VantorelUnreal"
	const FText Text = LOCTEXT("VNFaceRigDataAssetFactory", "Vantorel Face SDK JSON");
#undef LOCTEXT_NAMESPACE
	EXPECT_EQ(Narrow(Text.ToString()), "Vantorel Face SDK JSON");
	EXPECT_EQ(Narrow(FTextInspector::GetNamespace(Text).GetValue()), "VantorelUnreal");
	EXPECT_EQ(Narrow(FTextInspector::GetKey(Text).GetValue()), "VNFaceRigDataAssetFactory");
	EXPECT_FALSE(FTextInspector::GetKey(FText::FromString(TEXT("x"))).IsSet());
	EXPECT_EQ(Narrow(FText::Format(NSLOCTEXT("T", "K", "{0} of {1}: {0}"), FText::FromString(TEXT("a")), 12).ToString()), "a of 12: a");
	EXPECT_TRUE(FText::GetEmpty().IsEmpty());
}

TEST(TMap, KeepsInsertionOrderAndReplacesValuesOfExistingKeys)
{
	TMap<FString, int32> Map;
	for (int32 Index = 0; Index < 40; ++Index)
	{
		Map.Add(FString::Printf(TEXT("Key%d"), Index), Index);
	}
	Map.Add(TEXT("KEY3"), 300);
	EXPECT_EQ(Map.Num(), 40);
	EXPECT_EQ(Map.FindRef(TEXT("key3")), 300);
	int32 Expected = 0;
	for (const TPair<FString, int32>& Pair : Map)
	{
		EXPECT_EQ(Narrow(Pair.Key), "Key" + std::to_string(Expected));
		++Expected;
	}
	EXPECT_EQ(Map.Remove(TEXT("Key10")), 1);
	EXPECT_EQ(Map.Find(TEXT("Key10")), nullptr);
	EXPECT_EQ(Map.FindRef(TEXT("Key11")), 11);
	for (auto It = Map.CreateIterator(); It; ++It)
	{
		if (It.Value() % 2 == 0)
		{
			It.RemoveCurrent();
		}
	}
	// Nineteen even keys were left after Key10, and Key3 now holds 300.
	EXPECT_EQ(Map.Num(), 19);
	EXPECT_EQ(Map.Find(TEXT("Key3")), nullptr);
	EXPECT_EQ(Map.FindRef(TEXT("Key39")), 39);
}

TEST(TArray, GrowsInsertsAndRemovesKeepingOrder)
{
	TArray<FString> Array;
	for (int32 Index = 0; Index < 100; ++Index)
	{
		Array.Add(FString::FromInt(Index));
	}
	Array.Insert(TEXT("first"), 0);
	Array.RemoveAt(50, 10);
	EXPECT_EQ(Array.Num(), 91);
	EXPECT_EQ(Narrow(Array[0]), "first");
	EXPECT_EQ(Narrow(Array[50]), "59");
	EXPECT_EQ(Array.RemoveAll([](const FString& Item) { return Item.EndsWith(TEXT("9")); }), 9);
	EXPECT_EQ(Array.Find(TEXT("49")), INDEX_NONE);
	TArray<int32> Numbers = {5, 3, 9, 1};
	Numbers.Sort();
	EXPECT_EQ(Numbers, (TArray<int32>{1, 3, 5, 9}));
	TSet<FName> Names = {FName(TEXT("A")), FName(TEXT("a")), FName(TEXT("B"))};
	EXPECT_EQ(Names.Num(), 2);

	// The references handed back by the _GetRef adds stay valid while the storage grows under them.
	TArray<FString> Grown;
	for (int32 Index = 0; Index < 64; ++Index)
	{
		Grown.AddDefaulted_GetRef() = FString::FromInt(Index);
		Grown.Emplace_GetRef(TEXT("x")) += TEXT("y");
	}
	EXPECT_EQ(Narrow(Grown[62]), "31");
	EXPECT_EQ(Narrow(Grown.Last()), "xy");
}

TEST(FFileHelper, ReadsAndWritesTheEngineEncodings)
{
	const FString Unicode(UTF8_TO_TCHAR("Fa\xc3\xa7" "e"));
	const FString Path = TempFile("encodings.txt");
	FString Loaded;

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Unicode, *Path));
	TArray<uint8> Bytes;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Path));
	EXPECT_EQ(Bytes[0], 0xff) << "non-ANSI text is written as UTF-16 with a byte-order mark";
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *Path));
	EXPECT_TRUE(Loaded.Equals(Unicode));

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Unicode, *Path, FFileHelper::EEncodingOptions::ForceUTF8));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *Path));
	EXPECT_TRUE(Loaded.Equals(Unicode)) << "the UTF-8 byte-order mark is skipped";

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Unicode, *Path, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *Path));
	EXPECT_TRUE(Loaded.Equals(Unicode));

	EXPECT_FALSE(FFileHelper::LoadFileToString(Loaded, *TempFile("does-not-exist.txt")));
	EXPECT_FALSE(FFileHelper::LoadFileToString(Loaded, *FPaths::GetPath(Path))) << "a folder is not a readable file";
}

TEST(FPaths, SplitsAndJoinsPaths)
{
	EXPECT_EQ(Narrow(FPaths::GetExtension(TEXT("/a/b.c/Hero_FaceRig.json"))), "json");
	EXPECT_EQ(Narrow(FPaths::GetExtension(TEXT("/a/b.c/README"))), "");
	EXPECT_EQ(Narrow(FPaths::GetBaseFilename(TEXT("/a/Hero_FaceRig.json"))), "Hero_FaceRig");
	EXPECT_EQ(Narrow(FPaths::GetCleanFilename(TEXT("C:\\x\\y.txt"))), "y.txt");
	EXPECT_EQ(Narrow(FPaths::GetPath(TEXT("/a/b/c.txt"))), "/a/b");
	EXPECT_EQ(Narrow(FPaths::Combine(TEXT("/a/"), TEXT("b"), TEXT("c.txt"))), "/a/b/c.txt");
	EXPECT_EQ(Narrow(FPaths::ConvertRelativePathToFull(TEXT("/a/b"), TEXT("../c/./d"))), "/a/c/d");
}

TEST(FBase64, EncodesAndDecodesBytesAndRejectsInvalidText)
{
	const uint8 Bytes[] = {0x00, 0xff, 0x10, 0x80, 'M'};
	for (uint32 Length = 0; Length <= 5; ++Length)
	{
		const FString Encoded = FBase64::Encode(Bytes, Length);
		EXPECT_EQ((uint32)Encoded.Len(), FBase64::GetEncodedDataSize(Length));
		TArray<uint8> Decoded;
		ASSERT_TRUE(FBase64::Decode(Encoded, Decoded));
		ASSERT_EQ((uint32)Decoded.Num(), Length);
		for (uint32 Index = 0; Index < Length; ++Index)
		{
			EXPECT_EQ(Decoded[Index], Bytes[Index]);
		}
	}
	EXPECT_EQ(Narrow(FBase64::Encode(FString(TEXT("Man")))), "TWFu");
	TArray<uint8> Decoded;
	EXPECT_FALSE(FBase64::Decode(TEXT("TWF"), Decoded));
	EXPECT_FALSE(FBase64::Decode(TEXT("TW=u"), Decoded));
	EXPECT_FALSE(FBase64::Decode(TEXT("TW*u"), Decoded));
}

TEST(UELog, LinesReachAttachedDevicesWithCategoryAndVerbosity)
{
	HostEditor::FLogCapture Capture;
	UE_LOG(LogTemp, Warning, TEXT("Vantorel parent setup failed: %s"), TEXT("no control"));
	UE_LOG(LogTemp, Verbose, TEXT("suppressed by the category's default verbosity"));
	ASSERT_EQ(Capture.GetLines().Num(), 1);
	EXPECT_EQ(Capture.GetLines()[0].Category, FName(TEXT("LogTemp")));
	EXPECT_EQ(Capture.GetLines()[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Narrow(Capture.GetLines()[0].Text), "Vantorel parent setup failed: no control");
}
