#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Misc/FileHelper.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Policies/PrettyJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

namespace
{
	typedef TJsonWriter<TCHAR, TCondensedJsonPrintPolicy<TCHAR>> FCondensedWriter;
	typedef TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>> FCondensedWriterFactory;

	std::string ToUtf8(const FString& Text)
	{
		return StringConv::TCharToUtf8(*Text, Text.Len());
	}

	/** Parses Text with a root of any kind; OutError receives the reader's message. */
	TSharedPtr<FJsonValue> ParseValue(const FString& Text, FString* OutError = nullptr, FJsonSerializer::EFlags Flags = FJsonSerializer::EFlags::None)
	{
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
		TSharedPtr<FJsonValue> Value;
		const bool bParsed = FJsonSerializer::Deserialize(Reader, Value, Flags);
		if (OutError)
		{
			*OutError = Reader->GetErrorMessage();
		}
		return bParsed ? Value : TSharedPtr<FJsonValue>();
	}

	TSharedPtr<FJsonObject> ParseObject(const FString& Text)
	{
		TSharedPtr<FJsonObject> Object;
		return FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object) ? Object : TSharedPtr<FJsonObject>();
	}

	FString WriteCondensed(const TSharedPtr<FJsonValue>& Value)
	{
		FString Out;
		const TSharedRef<FCondensedWriter> Writer = FCondensedWriterFactory::Create(&Out);
		EXPECT_TRUE(FJsonSerializer::Serialize(Value, FString(), Writer));
		return Out;
	}

	FString WritePretty(const TSharedPtr<FJsonValue>& Value)
	{
		FString Out;
		const TSharedRef<TJsonWriter<>> Writer = TJsonWriterFactory<>::Create(&Out);
		EXPECT_TRUE(FJsonSerializer::Serialize(Value, FString(), Writer));
		return Out;
	}

	/** Collects the LogJson lines written while it exists. */
	class FJsonLogCapture : public FOutputDevice
	{
	public:
		FJsonLogCapture() { GLog->AddOutputDevice(this); }
		~FJsonLogCapture() override { GLog->RemoveOutputDevice(this); }

		void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			if (Category == FName(TEXT("LogJson")))
			{
				Lines.Add(FString(V));
				Verbosities.Add(Verbosity);
			}
		}

		bool HasError() const { return Verbosities.Contains(ELogVerbosity::Error); }

		TArray<FString> Lines;
		TArray<ELogVerbosity::Type> Verbosities;
	};

	/** The JSONTestSuite parsing folder: VN_JSON_TEST_SUITE_DIR from the environment, else the one beside the checkout. */
	std::filesystem::path SuiteDir()
	{
		const char* FromEnvironment = std::getenv("VN_JSON_TEST_SUITE_DIR");
		return FromEnvironment && *FromEnvironment ? std::filesystem::path(FromEnvironment) : std::filesystem::path(VN_JSON_TEST_SUITE_DIR);
	}

	/** The test-suite files whose names start with Prefix, sorted. */
	std::vector<std::filesystem::path> SuiteFiles(const char* Prefix)
	{
		std::vector<std::filesystem::path> Files;
		for (const std::filesystem::directory_entry& Entry : std::filesystem::directory_iterator(SuiteDir()))
		{
			const std::string Name = Entry.path().filename().string();
			if (Entry.is_regular_file() && Name.rfind(Prefix, 0) == 0 && Entry.path().extension() == ".json")
			{
				Files.push_back(Entry.path());
			}
		}
		std::sort(Files.begin(), Files.end());
		return Files;
	}

	FString LoadSuiteFile(const std::filesystem::path& Path)
	{
		FString Text;
		const FString FileName(FUTF8ToTCHAR(Path.string().c_str()).Get());
		EXPECT_TRUE(FFileHelper::LoadFileToString(Text, *FileName)) << Path;
		return Text;
	}

	FString Nested(TCHAR Open, TCHAR Close, int32 Depth)
	{
		FString Text = FString::ChrN(Depth, Open);
		Text += FString::ChrN(Depth, Close);
		return Text;
	}

	FString NestedObjects(int32 Depth)
	{
		FString Text;
		for (int32 Level = 0; Level < Depth; ++Level)
		{
			Text += TEXT("{\"a\":");
		}
		Text += TEXT("1");
		Text += FString::ChrN(Depth, TCHAR('}'));
		return Text;
	}
}

// ---------------------------------------------------------------------------------------------
// Conformance with the JSONTestSuite parsing cases

TEST(JsonConformance, AcceptsEveryValidDocument)
{
	if (!std::filesystem::is_directory(SuiteDir()))
	{
		GTEST_SKIP() << "JSONTestSuite not found at " << SuiteDir() << "; set VN_JSON_TEST_SUITE_DIR to run it";
	}
	const std::vector<std::filesystem::path> Files = SuiteFiles("y_");
	ASSERT_GT(Files.size(), 90u) << "test suite incomplete at " << SuiteDir();
	std::vector<std::string> Rejected;
	for (const std::filesystem::path& Path : Files)
	{
		FString Error;
		if (!ParseValue(LoadSuiteFile(Path), &Error).IsValid())
		{
			Rejected.push_back(Path.filename().string() + ": " + ToUtf8(Error));
		}
	}
	EXPECT_TRUE(Rejected.empty()) << "rejected: " << ::testing::PrintToString(Rejected);
}

TEST(JsonConformance, RejectsEveryInvalidDocumentWithAReason)
{
	if (!std::filesystem::is_directory(SuiteDir()))
	{
		GTEST_SKIP() << "JSONTestSuite not found at " << SuiteDir() << "; set VN_JSON_TEST_SUITE_DIR to run it";
	}
	const std::vector<std::filesystem::path> Files = SuiteFiles("n_");
	ASSERT_GT(Files.size(), 180u) << "test suite incomplete at " << SuiteDir();
	std::vector<std::string> Accepted;
	for (const std::filesystem::path& Path : Files)
	{
		FString Error;
		if (ParseValue(LoadSuiteFile(Path), &Error).IsValid() || Error.IsEmpty())
		{
			Accepted.push_back(Path.filename().string());
		}
	}
	EXPECT_TRUE(Accepted.empty()) << "accepted: " << ::testing::PrintToString(Accepted);
}

TEST(JsonConformance, ImplementationDefinedDocumentsParseOrFailCleanly)
{
	if (!std::filesystem::is_directory(SuiteDir()))
	{
		GTEST_SKIP() << "JSONTestSuite not found at " << SuiteDir() << "; set VN_JSON_TEST_SUITE_DIR to run it";
	}
	const std::vector<std::filesystem::path> Files = SuiteFiles("i_");
	ASSERT_GT(Files.size(), 30u);
	for (const std::filesystem::path& Path : Files)
	{
		FString Error;
		const TSharedPtr<FJsonValue> Value = ParseValue(LoadSuiteFile(Path), &Error);
		EXPECT_NE(Value.IsValid(), !Error.IsEmpty()) << Path.filename() << " must either parse or say why not";
	}
}

TEST(JsonConformance, EveryValidDocumentSurvivesAWriteAndReread)
{
	if (!std::filesystem::is_directory(SuiteDir()))
	{
		GTEST_SKIP() << "JSONTestSuite not found at " << SuiteDir() << "; set VN_JSON_TEST_SUITE_DIR to run it";
	}
	std::vector<std::string> Changed;
	for (const std::filesystem::path& Path : SuiteFiles("y_"))
	{
		const TSharedPtr<FJsonValue> Original = ParseValue(LoadSuiteFile(Path));
		ASSERT_TRUE(Original.IsValid()) << Path.filename();
		for (const FString& Written : {WriteCondensed(Original), WritePretty(Original)})
		{
			const TSharedPtr<FJsonValue> Reread = ParseValue(Written);
			if (!Reread.IsValid() || !FJsonValue::CompareEqual(*Original, *Reread))
			{
				Changed.push_back(Path.filename().string() + " -> " + ToUtf8(Written));
			}
		}
	}
	EXPECT_TRUE(Changed.empty()) << ::testing::PrintToString(Changed);
}

// ---------------------------------------------------------------------------------------------
// Reading: input the grammar alone does not cover

TEST(JsonReader, RejectsTextContainingNul)
{
	for (const FString& Text : {FString(4, u"123\0"), FString(4, u"[1]\0"), FString(7, u"[\"a\0b\"]")})
	{
		FString Error;
		EXPECT_FALSE(ParseValue(Text, &Error).IsValid()) << ToUtf8(Text);
		EXPECT_TRUE(Error.Contains(TEXT("NUL"))) << ToUtf8(Error);
	}
}

TEST(JsonReader, RejectsUnpairedSurrogatesAndKeepsPairedOnes)
{
	const TCHAR LoneHigh[] = {'[', '"', 0xD83D, '"', ']', 0};
	const TCHAR LoneLow[] = {'[', '"', 0xDE00, 'x', '"', ']', 0};
	const TCHAR HighAtEnd[] = {'[', '1', ']', 0xD83D, 0};
	for (const TCHAR* Text : {LoneHigh, LoneLow, HighAtEnd})
	{
		FString Error;
		EXPECT_FALSE(ParseValue(FString(Text), &Error).IsValid());
		EXPECT_TRUE(Error.Contains(TEXT("surrogate"))) << ToUtf8(Error);
	}

	const TCHAR Paired[] = {'"', 0xD83D, 0xDE00, '"', 0};
	const TSharedPtr<FJsonValue> Value = ParseValue(FString(Paired));
	ASSERT_TRUE(Value.IsValid());
	EXPECT_TRUE(Value->AsString().Equals(FString(2, Paired + 1), ESearchCase::CaseSensitive));
}

TEST(JsonReader, DecodesEscapesAndNonAsciiTextToUtf16)
{
	const TSharedPtr<FJsonValue> Value = ParseValue(TEXT("[\"\\u00e9\\ud83d\\ude00\", \"\u00e9\U0001F600\", \"a\\u0000b\"]"));
	ASSERT_TRUE(Value.IsValid());
	const TArray<TSharedPtr<FJsonValue>>& Elements = Value->AsArray();
	ASSERT_EQ(Elements.Num(), 3);
	const FString Expected(TEXT("\u00e9\U0001F600"));
	EXPECT_TRUE(Elements[0]->AsString().Equals(Expected, ESearchCase::CaseSensitive));
	EXPECT_TRUE(Elements[1]->AsString().Equals(Expected, ESearchCase::CaseSensitive));
	EXPECT_EQ(Elements[2]->AsString().Len(), 3) << "an escaped NUL is kept inside the string";
}

TEST(JsonReader, AcceptsNestingUpToTheLimitAndRejectsDeeper)
{
	const int32 Limit = FJsonSerializer::MaxNestingDepth;
	EXPECT_TRUE(ParseValue(Nested('[', ']', Limit)).IsValid());
	EXPECT_TRUE(ParseValue(NestedObjects(Limit)).IsValid());

	FString Error;
	EXPECT_FALSE(ParseValue(Nested('[', ']', Limit + 1), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("nested"))) << ToUtf8(Error);
	EXPECT_FALSE(ParseValue(NestedObjects(Limit + 1)).IsValid());
	EXPECT_FALSE(ParseValue(FString::ChrN(1000000, TCHAR('['))).IsValid());
}

TEST(JsonReader, ReportsTheLineAndCharacterOfASyntaxError)
{
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(TEXT("{\n\t\"a\": 1,\n\t\"b\": tru\n}"));
	TSharedPtr<FJsonObject> Object;
	EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Object));
	EXPECT_EQ(Reader->GetLineNumber(), 3u);
	EXPECT_GE(Reader->GetCharacterNumber(), 7u);
	EXPECT_TRUE(Reader->GetErrorMessage().Contains(TEXT("Line: 3"))) << ToUtf8(Reader->GetErrorMessage());
}

TEST(JsonReader, IsConsumedByOneRead)
{
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(TEXT("{\"a\": 1}"));
	TSharedPtr<FJsonObject> Object;
	EXPECT_TRUE(FJsonSerializer::Deserialize(Reader, Object));
	TSharedPtr<FJsonObject> Again;
	EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Again));
	EXPECT_FALSE(Again.IsValid());
	EXPECT_FALSE(Reader->GetErrorMessage().IsEmpty());
}

TEST(JsonReader, EachOverloadDemandsItsRootKindAndLeavesOutputUntouchedOnFailure)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	const FJsonObject* const Before = Object.Get();
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[1]")), Object));
	EXPECT_EQ(Object.Get(), Before);

	TArray<TSharedPtr<FJsonValue>> Array;
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{}")), Array));
	EXPECT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[1, \"x\"]")), Array));
	EXPECT_EQ(Array.Num(), 2);

	const TSharedPtr<FJsonValue> Scalar = ParseValue(TEXT(" 42 "));
	ASSERT_TRUE(Scalar.IsValid());
	EXPECT_EQ(Scalar->AsNumber(), 42.0);
}

TEST(JsonReader, NumbersAsStringsKeepEveryDigit)
{
	const TSharedPtr<FJsonValue> Value = ParseValue(TEXT("[18446744073709551615, -9223372036854775808, 1.50e1]"), nullptr, FJsonSerializer::EFlags::StoreNumbersAsStrings);
	ASSERT_TRUE(Value.IsValid());
	const TArray<TSharedPtr<FJsonValue>>& Elements = Value->AsArray();
	uint64 Unsigned = 0;
	EXPECT_TRUE(Elements[0]->TryGetNumber(Unsigned));
	EXPECT_EQ(Unsigned, std::numeric_limits<uint64>::max());
	int64 Signed = 0;
	EXPECT_TRUE(Elements[1]->TryGetNumber(Signed));
	EXPECT_EQ(Signed, std::numeric_limits<int64>::min());
	int32 Small = 0;
	EXPECT_FALSE(Elements[0]->TryGetNumber(Small));
	EXPECT_EQ(Elements[2]->AsString(), TEXT("1.50e1"));
	EXPECT_TRUE(Elements[2]->TryGetNumber(Small));
	EXPECT_EQ(Small, 15);
}

// ---------------------------------------------------------------------------------------------
// Objects: field lookup, duplicates, getters

TEST(JsonObject, FieldLookupIgnoresCase)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"Drivers\": [1], \"Name\": \"jaw\"}"));
	ASSERT_TRUE(Object.IsValid());
	EXPECT_TRUE(Object->HasField(TEXT("drivers")));
	EXPECT_TRUE(Object->HasTypedField<EJson::Array>(TEXT("DRIVERS")));
	EXPECT_FALSE(Object->HasTypedField<EJson::Object>(TEXT("drivers")));
	EXPECT_EQ(Object->GetStringField(TEXT("name")), TEXT("jaw"));
	EXPECT_TRUE(Object->TryGetField(TEXT("nAmE")).IsValid());
	Object->RemoveField(TEXT("NAME"));
	EXPECT_FALSE(Object->HasField(TEXT("Name")));
}

TEST(JsonObject, DuplicateKeyTakesTheLaterValueInTheEarlierPlace)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"a\": 1, \"b\": 2, \"A\": 3}"));
	ASSERT_TRUE(Object.IsValid());
	ASSERT_EQ(Object->Values.Num(), 2);
	EXPECT_EQ(Object->GetNumberField(TEXT("a")), 3.0);
	EXPECT_EQ(Object->Values.begin()->Key, TEXT("a"));
}

TEST(JsonObject, KeepsFieldsInDocumentOrder)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"k\":0,\"j\":1,\"i\":2,\"h\":3,\"g\":4,\"f\":5,\"e\":6,\"d\":7,\"c\":8,\"b\":9,\"a\":10}"));
	ASSERT_TRUE(Object.IsValid());
	int32 Expected = 0;
	for (const TPair<FString, TSharedPtr<FJsonValue>>& Field : Object->Values)
	{
		EXPECT_EQ(Field.Value->AsNumber(), (double)Expected++);
	}
	EXPECT_EQ(Object->GetNumberField(TEXT("A")), 10.0);
}

TEST(JsonObject, GettersOfMissingOrMistypedFieldsLogAndReturnDefaults)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"n\": 2, \"s\": \"x\"}"));
	ASSERT_TRUE(Object.IsValid());
	FJsonLogCapture Log;
	EXPECT_EQ(Object->GetStringField(TEXT("missing")), TEXT(""));
	EXPECT_EQ(Object->GetNumberField(TEXT("missing")), 0.0);
	EXPECT_EQ(Object->GetIntegerField(TEXT("missing")), 0);
	EXPECT_FALSE(Object->GetBoolField(TEXT("missing")));
	EXPECT_EQ(Object->GetArrayField(TEXT("n")).Num(), 0);
	const TSharedPtr<FJsonObject>& Empty = Object->GetObjectField(TEXT("s"));
	ASSERT_TRUE(Empty.IsValid());
	EXPECT_EQ(Empty->Values.Num(), 0);
	EXPECT_GE(Log.Lines.Num(), 6);
	EXPECT_TRUE(Log.HasError());
}

TEST(JsonObject, TryGettersReportFailureWithoutLogging)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"s\": \"x\", \"n\": 3000000000}"));
	ASSERT_TRUE(Object.IsValid());
	FJsonLogCapture Log;
	FString String;
	double Number = 0.0;
	int32 Integer = 7;
	bool bValue = false;
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	const TSharedPtr<FJsonObject>* Child = nullptr;
	EXPECT_FALSE(Object->TryGetStringField(TEXT("missing"), String));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("s"), Number));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("n"), Integer)) << "3e9 is beyond int32";
	EXPECT_EQ(Integer, 7);
	EXPECT_FALSE(Object->TryGetBoolField(TEXT("missing"), bValue));
	EXPECT_FALSE(Object->TryGetArrayField(TEXT("s"), Array));
	EXPECT_FALSE(Object->TryGetObjectField(TEXT("n"), Child));
	EXPECT_EQ(Log.Lines.Num(), 0);
}

TEST(JsonObject, StringArrayFieldConvertsScalarsAndFailsWholeOnAContainer)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"ok\": [\"a\", 1.5, true], \"bad\": [\"a\", {}]}"));
	ASSERT_TRUE(Object.IsValid());
	TArray<FString> Strings;
	EXPECT_TRUE(Object->TryGetStringArrayField(TEXT("ok"), Strings));
	EXPECT_EQ(Strings, (TArray<FString>{TEXT("a"), TEXT("1.5"), TEXT("true")}));
	EXPECT_FALSE(Object->TryGetStringArrayField(TEXT("bad"), Strings));
	EXPECT_EQ(Strings.Num(), 3) << "a failed read adds nothing";
}

TEST(JsonObject, EmptyObjectHandedOutOnFailureDoesNotKeepFieldsSetOnIt)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"n\": 1}"));
	ASSERT_TRUE(Object.IsValid());
	Object->GetObjectField(TEXT("n"))->SetStringField(TEXT("leak"), TEXT("x"));
	EXPECT_EQ(Object->GetObjectField(TEXT("other"))->Values.Num(), 0);
}

TEST(JsonObject, IntegerFieldTruncatesAndStaysInRange)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"a\": 2.9, \"b\": -2.9, \"big\": 1e12, \"small\": -1e12}"));
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Object->GetIntegerField(TEXT("a")), 2);
	EXPECT_EQ(Object->GetIntegerField(TEXT("b")), -2);
	EXPECT_EQ(Object->GetIntegerField(TEXT("big")), MAX_int32);
	EXPECT_EQ(Object->GetIntegerField(TEXT("small")), MIN_int32);
}

TEST(JsonObject, SettingAnInvalidObjectStoresNull)
{
	FJsonObject Object;
	Object.SetObjectField(TEXT("child"), nullptr);
	EXPECT_TRUE(Object.HasTypedField<EJson::Null>(TEXT("child")));
}

// ---------------------------------------------------------------------------------------------
// Values: conversions between kinds

TEST(JsonValue, NumberConvertsToTextWithoutTrailingZerosAndToBool)
{
	FString Text;
	EXPECT_TRUE(FJsonValueNumber(1.0).TryGetString(Text));
	EXPECT_EQ(Text, TEXT("1"));
	FJsonValueNumber(1.5).TryGetString(Text);
	EXPECT_EQ(Text, TEXT("1.5"));
	FJsonValueNumber(-0.25).TryGetString(Text);
	EXPECT_EQ(Text, TEXT("-0.25"));
	bool bValue = false;
	EXPECT_TRUE(FJsonValueNumber(0.5).TryGetBool(bValue));
	EXPECT_TRUE(bValue);
	FJsonValueNumber(0.0).TryGetBool(bValue);
	EXPECT_FALSE(bValue);
}

TEST(JsonValue, BooleanConvertsToTextAndNumber)
{
	FString Text;
	double Number = -1.0;
	EXPECT_TRUE(FJsonValueBoolean(true).TryGetString(Text));
	EXPECT_EQ(Text, TEXT("true"));
	EXPECT_TRUE(FJsonValueBoolean(false).TryGetNumber(Number));
	EXPECT_EQ(Number, 0.0);
	EXPECT_EQ(FJsonValueBoolean(true).AsNumber(), 1.0);
}

TEST(JsonValue, StringConvertsToNumberOnlyWhenNumericAndToBoolByWords)
{
	double Number = -1.0;
	EXPECT_TRUE(FJsonValueString(TEXT("-12.5")).TryGetNumber(Number));
	EXPECT_EQ(Number, -12.5);
	EXPECT_FALSE(FJsonValueString(TEXT("12abc")).TryGetNumber(Number));
	EXPECT_FALSE(FJsonValueString(TEXT("1e5")).TryGetNumber(Number));
	EXPECT_EQ(Number, -12.5);
	bool bValue = false;
	EXPECT_TRUE(FJsonValueString(TEXT("Yes")).TryGetBool(bValue));
	EXPECT_TRUE(bValue);
	FJsonValueString(TEXT("off")).TryGetBool(bValue);
	EXPECT_FALSE(bValue);
}

TEST(JsonValue, NullConvertsToNothing)
{
	const FJsonValueNull Null;
	FString Text;
	double Number = 0.0;
	bool bValue = false;
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	const TSharedPtr<FJsonObject>* Object = nullptr;
	EXPECT_TRUE(Null.IsNull());
	EXPECT_FALSE(Null.TryGetString(Text));
	EXPECT_FALSE(Null.TryGetNumber(Number));
	EXPECT_FALSE(Null.TryGetBool(bValue));
	EXPECT_FALSE(Null.TryGetArray(Array));
	EXPECT_FALSE(Null.TryGetObject(Object));
}

TEST(JsonValue, AsOnTheWrongKindLogsAnErrorAndReturnsADefault)
{
	FJsonLogCapture Log;
	const FJsonValueNumber Number(3.0);
	EXPECT_EQ(Number.AsArray().Num(), 0);
	ASSERT_EQ(Log.Lines.Num(), 1);
	EXPECT_EQ(Log.Verbosities[0], ELogVerbosity::Error);
	EXPECT_TRUE(Log.Lines[0].Contains(TEXT("Number")) && Log.Lines[0].Contains(TEXT("Array"))) << ToUtf8(Log.Lines[0]);
	EXPECT_EQ(FJsonValueNull().AsString(), TEXT(""));
	EXPECT_FALSE(FJsonValueString(TEXT("x")).AsObject()->Values.Num() != 0);
	EXPECT_EQ(Log.Lines.Num(), 3);
}

TEST(JsonValue, ObjectValueWithoutAnObjectActsAsNoObject)
{
	const FJsonValueObject Value{TSharedPtr<FJsonObject>()};
	const TSharedPtr<FJsonObject>* Object = nullptr;
	EXPECT_FALSE(Value.TryGetObject(Object));
	EXPECT_TRUE(Value.AsObject().IsValid());
	EXPECT_EQ(WriteCondensed(MakeShared<FJsonValueObject>(TSharedPtr<FJsonObject>())), TEXT("null"));
}

TEST(JsonValue, IntegerConversionRoundsHalfAwayFromZero)
{
	int32 Integer = 0;
	EXPECT_TRUE(FJsonValueNumber(2.5).TryGetNumber(Integer));
	EXPECT_EQ(Integer, 3);
	EXPECT_TRUE(FJsonValueNumber(-2.5).TryGetNumber(Integer));
	EXPECT_EQ(Integer, -3);
	EXPECT_TRUE(FJsonValueNumber(0.49).TryGetNumber(Integer));
	EXPECT_EQ(Integer, 0);
	EXPECT_TRUE(FJsonValueString(TEXT("7.5")).TryGetNumber(Integer));
	EXPECT_EQ(Integer, 8);
}

TEST(JsonValue, IntegerConversionChecksTheRangeBeforeRounding)
{
	int8 Small = 5;
	EXPECT_TRUE(FJsonValueNumber(127.0).TryGetNumber(Small));
	EXPECT_TRUE(FJsonValueNumber(-128.0).TryGetNumber(Small));
	EXPECT_EQ(Small, -128);
	EXPECT_FALSE(FJsonValueNumber(128.0).TryGetNumber(Small));
	EXPECT_FALSE(FJsonValueNumber(127.2).TryGetNumber(Small));
	EXPECT_FALSE(FJsonValueNumber(-128.5).TryGetNumber(Small));
	EXPECT_EQ(Small, -128) << "a failed conversion leaves the output alone";

	uint8 Byte = 0;
	EXPECT_FALSE(FJsonValueNumber(-0.4).TryGetNumber(Byte));
	EXPECT_TRUE(FJsonValueNumber(255.0).TryGetNumber(Byte));
	EXPECT_EQ(Byte, 255);

	const double TwoTo63 = 9223372036854775808.0;
	int64 Wide = 0;
	EXPECT_FALSE(FJsonValueNumber(TwoTo63).TryGetNumber(Wide));
	EXPECT_TRUE(FJsonValueNumber(-TwoTo63).TryGetNumber(Wide));
	EXPECT_EQ(Wide, std::numeric_limits<int64>::min());
	uint64 WideUnsigned = 0;
	EXPECT_FALSE(FJsonValueNumber(TwoTo63 * 2.0).TryGetNumber(WideUnsigned));
	EXPECT_TRUE(FJsonValueNumber(std::nextafter(TwoTo63 * 2.0, 0.0)).TryGetNumber(WideUnsigned));
	EXPECT_EQ(WideUnsigned, 18446744073709549568ull);
	EXPECT_FALSE(FJsonValueNumber(std::numeric_limits<double>::quiet_NaN()).TryGetNumber(Wide));
}

TEST(JsonValue, CompareEqualMatchesContentsNotLayout)
{
	const TSharedPtr<FJsonValue> A = ParseValue(TEXT("{\"x\": [1, \"s\", null], \"y\": {\"z\": true}}"));
	const TSharedPtr<FJsonValue> SameOtherOrder = ParseValue(TEXT("{\"y\": {\"z\": true}, \"x\": [1.0, \"s\", null]}"));
	const TSharedPtr<FJsonValue> OtherCase = ParseValue(TEXT("{\"x\": [1, \"S\", null], \"y\": {\"z\": true}}"));
	const TSharedPtr<FJsonValue> OtherNumber = ParseValue(TEXT("{\"x\": [2, \"s\", null], \"y\": {\"z\": true}}"));
	ASSERT_TRUE(A && SameOtherOrder && OtherCase && OtherNumber);
	EXPECT_TRUE(FJsonValue::CompareEqual(*A, *SameOtherOrder));
	EXPECT_FALSE(FJsonValue::CompareEqual(*A, *OtherCase)) << "string contents compare case-sensitively";
	EXPECT_FALSE(FJsonValue::CompareEqual(*A, *OtherNumber));
	EXPECT_FALSE(FJsonValueNumber(1.0) == FJsonValueBoolean(true));
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST(JsonWriter, CondensedPolicyWritesCompactJson)
{
	FString Out;
	const TSharedRef<FCondensedWriter> Writer = FCondensedWriterFactory::Create(&Out);
	Writer->WriteObjectStart();
	Writer->WriteValue(TEXT("a"), 1);
	Writer->WriteArrayStart(TEXT("b"));
	Writer->WriteValue(true);
	Writer->WriteNull();
	Writer->WriteArrayEnd();
	Writer->WriteValue(TEXT("c"), TEXT("t"));
	Writer->WriteObjectEnd();
	EXPECT_TRUE(Out.IsEmpty()) << "the string receives the text on Close";
	EXPECT_TRUE(Writer->Close());
	EXPECT_EQ(ToUtf8(Out), "{\"a\":1,\"b\":[true,null],\"c\":\"t\"}");
}

TEST(JsonWriter, PrettyPolicyIndentsWithTabs)
{
	const TSharedPtr<FJsonValue> Value = ParseValue(TEXT("{\"a\":1,\"b\":[true,null],\"c\":[\"x\",{\"d\":\"e\"}]}"));
	ASSERT_TRUE(Value.IsValid());
	EXPECT_EQ(ToUtf8(WritePretty(Value)),
		"{\n"
		"\t\"a\": 1,\n"
		"\t\"b\": [ true, null ],\n"
		"\t\"c\": [\n"
		"\t\t\"x\",\n"
		"\t\t{\n"
		"\t\t\t\"d\": \"e\"\n"
		"\t\t}\n"
		"\t]\n"
		"}");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters)
{
	const TCHAR Raw[] = {'"', '\\', '/', '\n', '\t', 0x01, 0x1F, 0xE9, 0};
	FString Text(Raw);
	Text.AppendChar(0);
	EXPECT_EQ(ToUtf8(WriteCondensed(MakeShared<FJsonValueString>(Text))), "\"\\\"\\\\/\\n\\t\\u0001\\u001f\xC3\xA9\\u0000\"");
}

TEST(JsonWriter, WritesIntegralNumbersWithoutFractionAndOthersExactly)
{
	EXPECT_EQ(WriteCondensed(MakeShared<FJsonValueNumber>(3.0)), TEXT("3"));
	EXPECT_EQ(WriteCondensed(MakeShared<FJsonValueNumber>(-9007199254740992.0)), TEXT("-9007199254740992"));
	for (const double Number : {0.1, 1.0 / 3.0, 1e300, -2.5e-300, 123456.789})
	{
		const TSharedPtr<FJsonValue> Reread = ParseValue(WriteCondensed(MakeShared<FJsonValueNumber>(Number)));
		ASSERT_TRUE(Reread.IsValid());
		EXPECT_EQ(Reread->AsNumber(), Number);
	}
	FString Out;
	const TSharedRef<FCondensedWriter> Writer = FCondensedWriterFactory::Create(&Out);
	Writer->WriteArrayStart();
	Writer->WriteValue(0.1f);
	Writer->WriteValue(int64(-9223372036854775807LL - 1));
	Writer->WriteValue(uint64(18446744073709551615ULL));
	Writer->WriteArrayEnd();
	Writer->Close();
	EXPECT_EQ(ToUtf8(Out), "[0.100000001,-9223372036854775808,18446744073709551615]");
}

TEST(JsonWriter, NonFiniteNumbersBecomeNullSoTheTextStaysReadable)
{
	FJsonLogCapture Log;
	const TArray<TSharedPtr<FJsonValue>> Elements = {MakeShared<FJsonValueNumber>(std::numeric_limits<double>::infinity()),
		MakeShared<FJsonValueNumber>(std::numeric_limits<double>::quiet_NaN())};
	EXPECT_EQ(WriteCondensed(MakeShared<FJsonValueArray>(Elements)), TEXT("[null,null]"));
	EXPECT_EQ(Log.Lines.Num(), 2) << "each replaced number is reported";
}

TEST(JsonWriter, CloseReportsWhetherEveryContainerWasClosed)
{
	FString Out;
	const TSharedRef<FCondensedWriter> Writer = FCondensedWriterFactory::Create(&Out);
	Writer->WriteObjectStart();
	Writer->WriteValue(TEXT("a"), 1.5);
	EXPECT_FALSE(Writer->Close());
	EXPECT_EQ(Out, TEXT("{\"a\":1.5"));
}

TEST(JsonWriter, WritesScalarRootsAndEmptyFieldNames)
{
	EXPECT_EQ(WriteCondensed(MakeShared<FJsonValueString>(TEXT("x"))), TEXT("\"x\""));
	EXPECT_EQ(WritePretty(MakeShared<FJsonValueNumber>(42.0)), TEXT("42"));
	const TSharedPtr<FJsonValue> EmptyName = ParseValue(TEXT("{\"\": 1}"));
	ASSERT_TRUE(EmptyName.IsValid());
	EXPECT_EQ(WriteCondensed(EmptyName), TEXT("{\"\":1}"));
}

TEST(JsonWriter, SerializesObjectsBuiltInCode)
{
	const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetStringField(TEXT("name"), TEXT("jaw_M"));
	Object->SetNumberField(TEXT("weight"), 0.25);
	Object->SetBoolField(TEXT("enabled"), true);
	Object->SetArrayField(TEXT("keys"), {MakeShared<FJsonValueNumber>(1.0)});
	Object->SetObjectField(TEXT("child"), MakeShared<FJsonObject>());
	FString Out;
	EXPECT_TRUE(FJsonSerializer::Serialize(Object, FCondensedWriterFactory::Create(&Out)));
	EXPECT_EQ(ToUtf8(Out), "{\"name\":\"jaw_M\",\"weight\":0.25,\"enabled\":true,\"keys\":[1],\"child\":{}}");
}
