// The native Face rig JSON importer: messages in their order, channel spellings, defaults, the
// apply-mode and space rules, and an asset that only changes when an import succeeds.

#include <gtest/gtest.h>

#include <filesystem>

#include "CoreMinimal.h"
#include "Misc/FileHelper.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNFaceSDKJsonFormat.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	FString Wide(const std::string& Text)
	{
		return FString(UTF8_TO_TCHAR(Text.c_str()));
	}

	/** A fresh asset in its own, clean package. */
	UVNFaceRigDataAsset* NewAsset()
	{
		static int32 Counter = 0;
		const FString Name = FString::Printf(TEXT("DA_Import%d_VNFaceSDK"), Counter++);
		UPackage* Package = CreatePackage(*(TEXT("/Game/Tests/") + Name));
		return NewObject<UVNFaceRigDataAsset>(Package, FName(*Name), EObjectFlags(RF_Public | RF_Standalone | RF_Transactional));
	}

	/** Imports text and returns the error text ("" on success). */
	std::string Import(UVNFaceRigDataAsset* Asset, const std::string& Json)
	{
		FString Error;
		const bool bImported = UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(Asset, Wide(Json), Error);
		EXPECT_EQ(bImported, Error.IsEmpty()) << "the result and the message must agree";
		return Narrow(Error);
	}

	/** A document with one driver "Ctrl" on ty driving one row with the given members. */
	std::string OneRow(const std::string& RowMembers)
	{
		return R"({"drivers": [{"control": "Ctrl", "channel": "ty", "driven": [{"bone": "Bone", )" + RowMembers + R"(}]}]})";
	}

	std::string OneDriverChannel(const std::string& Channel)
	{
		return R"({"drivers": [{"control": "Ctrl", "channel": ")" + Channel + R"(", "driven": []}]})";
	}

	std::string OneRowChannel(const std::string& Channel)
	{
		return OneRow(R"("channel": ")" + Channel + R"(", "keys": [])");
	}
}

TEST(FaceRigJsonImport, ImportsDriversRowsAndKeysAsWritten)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	const std::string Json = R"({
		"version": 2, "exportType": "VantorelFaceRig", "coordinateSystem": {"source": "Maya"},
		"drivers": [
			{"control": "Jaw_M", "channel": "Rotate.Z", "driven": [
				{"bone": "JawJoint_M", "channel": "translate.y", "multiplier": 2.5, "mode": "absolute", "space": "world",
				 "keys": [{"x": 0, "y": 0}, {"x": 1, "y": -3.25}]},
				{"bone": "Tongue0Joint_M", "channel": "rotation", "representation": "quaternion", "composition": "restThenDelta",
				 "keys": [{"x": 0.5, "value": [0, 0, 0, 1]}]}]},
			{"control": "Brow_L", "channel": "browRaise", "driven": []}]})";
	ASSERT_EQ(Import(Asset, Json), "");
	EXPECT_EQ(Asset->Version, 2);
	ASSERT_EQ(Asset->Drivers.Num(), 2);

	const FVNFaceSDKDriver& Jaw = Asset->Drivers[0];
	EXPECT_EQ(Jaw.ControlName, FName(TEXT("Jaw_M")));
	EXPECT_EQ(Jaw.Channel, EVNFaceSDKChannel::RotationZ);
	EXPECT_TRUE(Jaw.CustomChannelName.IsNone());
	ASSERT_EQ(Jaw.Driven.Num(), 2);
	const FVNDrivenSDKChannel& Row = Jaw.Driven[0];
	EXPECT_EQ(Narrow(Row.BoneName.ToString()), "JawJoint_M");
	EXPECT_EQ(Row.Channel, EVNFaceSDKChannel::TranslationY);
	EXPECT_FLOAT_EQ(Row.Multiplier, 2.5f);
	EXPECT_EQ(Row.ApplyMode, EVNFaceSDKApplyMode::Absolute);
	EXPECT_EQ(Row.TransformSpace, EVNFaceSDKTransformSpace::World);
	ASSERT_EQ(Row.Keys.Num(), 2);
	EXPECT_FLOAT_EQ(Row.Keys[1].X, 1.0f);
	EXPECT_FLOAT_EQ(Row.Keys[1].Y, -3.25f);

	// The native importer stores whole-rotation rows as plain rows: "value" is ignored.
	const FVNDrivenSDKChannel& Tongue = Jaw.Driven[1];
	EXPECT_EQ(Tongue.Channel, EVNFaceSDKChannel::Rotation);
	EXPECT_FALSE(Tongue.bQuaternionRotation);
	EXPECT_EQ(Tongue.QuaternionKeys.Num(), 0);
	ASSERT_EQ(Tongue.Keys.Num(), 1);
	EXPECT_FLOAT_EQ(Tongue.Keys[0].X, 0.5f);
	EXPECT_FLOAT_EQ(Tongue.Keys[0].Y, 0.0f);

	const FVNFaceSDKDriver& Brow = Asset->Drivers[1];
	EXPECT_EQ(Brow.Channel, EVNFaceSDKChannel::ValueFloat);
	EXPECT_EQ(Narrow(Brow.CustomChannelName.ToString()), "browRaise");
	EXPECT_EQ(Brow.Driven.Num(), 0);
}

TEST(FaceRigJsonImport, MayaNativeFilesAreStoredWithoutConversion)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	const std::string Json = R"({"version": 3, "coordinateSystem": {"source": "Maya"}, "drivers": [
		{"control": "Lid_L", "channel": "ty", "driven": [
			{"bone": "LidJoint_L", "channel": "ty", "multiplier": 1.5, "keys": [{"x": 1, "y": 2}]},
			{"bone": "LidJoint_L", "channel": "rx", "keys": [{"x": 1, "y": 20}]},
			{"bone": "LidJoint_L", "channel": "tz", "space": "world", "keys": [{"x": 1, "y": 4}]}]}]})";
	ASSERT_EQ(Import(Asset, Json), "");
	const TArray<FVNDrivenSDKChannel>& Rows = Asset->Drivers[0].Driven;
	EXPECT_FLOAT_EQ(Rows[0].Multiplier, 1.5f);
	EXPECT_FLOAT_EQ(Rows[1].Keys[0].Y, 20.0f);
	EXPECT_EQ(Rows[2].Channel, EVNFaceSDKChannel::TranslationZ);
	EXPECT_FLOAT_EQ(Rows[2].Keys[0].Y, 4.0f);
}

TEST(FaceRigJsonImport, RowsWithoutOptionalMembersKeepTheDefaults)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	ASSERT_EQ(Import(Asset, OneRow(R"("channel": "sx", "keys": [{"x": 2}, {}])")), "");
	const FVNDrivenSDKChannel& Row = Asset->Drivers[0].Driven[0];
	EXPECT_FLOAT_EQ(Row.Multiplier, 1.0f);
	EXPECT_EQ(Row.ApplyMode, EVNFaceSDKApplyMode::Additive);
	EXPECT_EQ(Row.TransformSpace, EVNFaceSDKTransformSpace::Local);
	ASSERT_EQ(Row.Keys.Num(), 2);
	EXPECT_FLOAT_EQ(Row.Keys[0].X, 2.0f);
	EXPECT_FLOAT_EQ(Row.Keys[0].Y, 0.0f);
	EXPECT_FLOAT_EQ(Row.Keys[1].X, 0.0f);
	EXPECT_EQ(Asset->Version, 0) << "a file without \"version\" stores 0";
}

TEST(FaceRigJsonImport, EmptyDriversAndEmptyRowsAreAccepted)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	ASSERT_EQ(Import(Asset, R"({"version": 1, "drivers": [{"control": "A", "channel": "tx", "driven": []}]})"), "");
	ASSERT_EQ(Import(Asset, R"({"version": 4, "drivers": []})"), "");
	EXPECT_EQ(Asset->Drivers.Num(), 0);
	EXPECT_EQ(Asset->Version, 4);
	ASSERT_EQ(Import(Asset, OneRow(R"("channel": "tx", "keys": [])")), "");
	EXPECT_EQ(Asset->Drivers[0].Driven[0].Keys.Num(), 0);
}

struct FChannelCase
{
	const char* Text;
	EVNFaceSDKChannel Channel;
};

class FaceRigJsonImportChannels : public testing::TestWithParam<FChannelCase>
{
};

TEST_P(FaceRigJsonImportChannels, AcceptsEverySpellingInAnyCaseAndWithBlanks)
{
	const FChannelCase Case = GetParam();
	const std::string Spellings[] = {Case.Text, Narrow(Wide(Case.Text).ToUpper()), std::string(" ") + Case.Text + " "};
	for (const std::string& Spelling : Spellings)
	{
		UVNFaceRigDataAsset* Asset = NewAsset();
		ASSERT_EQ(Import(Asset, OneRowChannel(Spelling)), "") << Spelling;
		EXPECT_EQ(Asset->Drivers[0].Driven[0].Channel, Case.Channel) << Spelling;
		ASSERT_EQ(Import(Asset, OneDriverChannel(Spelling)), "") << Spelling;
		EXPECT_EQ(Asset->Drivers[0].Channel, Case.Channel) << Spelling;
		EXPECT_TRUE(Asset->Drivers[0].CustomChannelName.IsNone()) << Spelling;
	}
}

INSTANTIATE_TEST_SUITE_P(AllSpellings, FaceRigJsonImportChannels, testing::Values(
	FChannelCase{"translation.x", EVNFaceSDKChannel::TranslationX}, FChannelCase{"translate.x", EVNFaceSDKChannel::TranslationX}, FChannelCase{"tx", EVNFaceSDKChannel::TranslationX},
	FChannelCase{"translation.y", EVNFaceSDKChannel::TranslationY}, FChannelCase{"Translate.Y", EVNFaceSDKChannel::TranslationY}, FChannelCase{"ty", EVNFaceSDKChannel::TranslationY},
	FChannelCase{"translation.z", EVNFaceSDKChannel::TranslationZ}, FChannelCase{"translate.z", EVNFaceSDKChannel::TranslationZ}, FChannelCase{"tz", EVNFaceSDKChannel::TranslationZ},
	FChannelCase{"rotation.x", EVNFaceSDKChannel::RotationX}, FChannelCase{"rotate.x", EVNFaceSDKChannel::RotationX}, FChannelCase{"rx", EVNFaceSDKChannel::RotationX},
	FChannelCase{"rotation.y", EVNFaceSDKChannel::RotationY}, FChannelCase{"rotate.y", EVNFaceSDKChannel::RotationY}, FChannelCase{"ry", EVNFaceSDKChannel::RotationY},
	FChannelCase{"rotation.z", EVNFaceSDKChannel::RotationZ}, FChannelCase{"rotate.z", EVNFaceSDKChannel::RotationZ}, FChannelCase{"rz", EVNFaceSDKChannel::RotationZ},
	FChannelCase{"Rotation", EVNFaceSDKChannel::Rotation},
	FChannelCase{"scale.x", EVNFaceSDKChannel::ScaleX}, FChannelCase{"sx", EVNFaceSDKChannel::ScaleX},
	FChannelCase{"scale.y", EVNFaceSDKChannel::ScaleY}, FChannelCase{"sy", EVNFaceSDKChannel::ScaleY},
	FChannelCase{"scale.z", EVNFaceSDKChannel::ScaleZ}, FChannelCase{"sz", EVNFaceSDKChannel::ScaleZ},
	FChannelCase{"value.x", EVNFaceSDKChannel::ValueX}, FChannelCase{"valuex", EVNFaceSDKChannel::ValueX},
	FChannelCase{"value.y", EVNFaceSDKChannel::ValueY}, FChannelCase{"valuey", EVNFaceSDKChannel::ValueY},
	FChannelCase{"value.z", EVNFaceSDKChannel::ValueZ}, FChannelCase{"valuez", EVNFaceSDKChannel::ValueZ},
	FChannelCase{"value.float", EVNFaceSDKChannel::ValueFloat}, FChannelCase{"valuefloat", EVNFaceSDKChannel::ValueFloat}, FChannelCase{"float", EVNFaceSDKChannel::ValueFloat},
	FChannelCase{"T x", EVNFaceSDKChannel::TranslationX}));

TEST(FaceRigJsonImport, SpellingsWithOtherPunctuationAreNotChannels)
{
	// Only the tool script drops punctuation; natively these name no channel.
	for (const char* Spelling : {"translate_x", "translatex", "scalex", "rotate-y", "rotation.w", "value_float"})
	{
		UVNFaceRigDataAsset* Asset = NewAsset();
		EXPECT_EQ(Import(Asset, OneRowChannel(Spelling)), std::string("Import failed: Unknown driven channel '") + Spelling + "'.");
		ASSERT_EQ(Import(Asset, OneDriverChannel(Spelling)), "");
		EXPECT_EQ(Asset->Drivers[0].Channel, EVNFaceSDKChannel::ValueFloat);
		EXPECT_EQ(Narrow(Asset->Drivers[0].CustomChannelName.ToString()), Spelling);
	}
}

TEST(FaceRigJsonImport, ApplyModeAndSpaceFollowTheNativeRules)
{
	struct FModeCase
	{
		std::string Members;
		EVNFaceSDKApplyMode Mode;
		EVNFaceSDKTransformSpace Space;
	};
	const FModeCase Cases[] = {
		{R"("mode": "Set Absolute")", EVNFaceSDKApplyMode::Absolute, EVNFaceSDKTransformSpace::Local},
		{R"("mode": "SET")", EVNFaceSDKApplyMode::Absolute, EVNFaceSDKTransformSpace::Local},
		{R"("mode": "Multiply")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::Local},
		{R"("mode": "set-absolute")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::Local},
		{R"("applyMode": "absolute")", EVNFaceSDKApplyMode::Absolute, EVNFaceSDKTransformSpace::Local},
		{R"("mode": "whatever", "applyMode": "absolute")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::Local},
		{R"("space": "World Space")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::World},
		{R"("transformSpace": "WORLD")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::World},
		{R"("space": "local", "transformSpace": "world")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::Local},
		{R"("space": "parent")", EVNFaceSDKApplyMode::Additive, EVNFaceSDKTransformSpace::Local},
	};
	for (const FModeCase& Case : Cases)
	{
		UVNFaceRigDataAsset* Asset = NewAsset();
		ASSERT_EQ(Import(Asset, OneRow(Case.Members + R"(, "channel": "tx", "keys": [])")), "") << Case.Members;
		EXPECT_EQ(Asset->Drivers[0].Driven[0].ApplyMode, Case.Mode) << Case.Members;
		EXPECT_EQ(Asset->Drivers[0].Driven[0].TransformSpace, Case.Space) << Case.Members;
	}
}

TEST(FaceRigJsonImport, EachMalformedElementFailsWithItsMessage)
{
	struct FFailureCase
	{
		std::string Json;
		std::string Message;
	};
	const FFailureCase Cases[] = {
		{"", "Import failed: JSON is invalid."},
		{"{\"drivers\": [}", "Import failed: JSON is invalid."},
		{"[1, 2]", "Import failed: JSON is invalid."},
		{R"({"version": 1})", "Import failed: Missing 'drivers' array."},
		{R"({"drivers": {"control": "A"}})", "Import failed: Missing 'drivers' array."},
		{R"({"drivers": [3]})", "Import failed: Driver entry is not an object."},
		{R"({"drivers": [{"channel": "tx", "driven": []}]})", "Import failed: Driver needs 'control' and 'channel'."},
		{R"({"drivers": [{"control": "A", "driven": []}]})", "Import failed: Driver needs 'control' and 'channel'."},
		{R"({"drivers": [{"control": "Jaw_M", "channel": "tx"}]})", "Import failed: Driver 'Jaw_M' is missing 'driven' array."},
		{R"({"drivers": [{"control": "Jaw_M", "channel": "tx", "driven": "x"}]})", "Import failed: Driver 'Jaw_M' is missing 'driven' array."},
		{R"({"drivers": [{"control": "A", "channel": "tx", "driven": [null, {"bone": "B", "channel": "tx", "keys": []}]}]})", "Import failed: Driven entry is not an object."},
		{R"({"drivers": [{"control": "A", "channel": "tx", "driven": [{"channel": "tx", "keys": []}]}]})", "Import failed: Driven entry needs 'bone' and 'channel'."},
		{OneRow(R"("keys": [])"), "Import failed: Driven entry needs 'bone' and 'channel'."},
		{OneRowChannel("Bogus.Channel"), "Import failed: Unknown driven channel 'Bogus.Channel'."},
		{OneRow(R"("channel": "tx")"), "Import failed: Driven bone 'Bone' is missing 'keys' array."},
		{OneRow(R"("channel": "tx", "keys": [{"x": 1}, [0, 1]])"), "Import failed: Key entry is not an object."},
	};
	for (const FFailureCase& Case : Cases)
	{
		UVNFaceRigDataAsset* Asset = NewAsset();
		EXPECT_EQ(Import(Asset, Case.Json), Case.Message) << Case.Json;
	}
}

TEST(FaceRigJsonImport, TheFirstBadElementDecidesTheMessage)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	// The second driver lacks "driven" and the third is not an object: the earlier fault is reported.
	EXPECT_EQ(Import(Asset, R"({"drivers": [{"control": "A", "channel": "tx", "driven": []}, {"control": "B", "channel": "tx"}, 7]})"),
		"Import failed: Driver 'B' is missing 'driven' array.");
	// Within a row the channel is checked before the keys.
	EXPECT_EQ(Import(Asset, OneRow(R"("channel": "nope", "keys": [1])")), "Import failed: Unknown driven channel 'nope'.");
}

TEST(FaceRigJsonImport, AFailedImportLeavesTheAssetAndItsPackageUntouched)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	ASSERT_EQ(Import(Asset, R"({"version": 7, "drivers": [{"control": "Keep", "channel": "tx", "driven": []}]})"), "");
	Asset->DirectControls.AddDefaulted();
	Asset->GetPackage()->SetDirtyFlag(false);

	EXPECT_EQ(Import(Asset, R"({"version": 9, "drivers": [{"control": "New", "channel": "tx", "driven": []}, {"control": "Bad"}]})"),
		"Import failed: Driver needs 'control' and 'channel'.");
	EXPECT_EQ(Asset->Version, 7);
	ASSERT_EQ(Asset->Drivers.Num(), 1);
	EXPECT_EQ(Asset->Drivers[0].ControlName, FName(TEXT("Keep")));
	EXPECT_FALSE(Asset->GetPackage()->IsDirty());
}

TEST(FaceRigJsonImport, ASuccessfulImportReplacesDriversKeepsOtherDataAndDirtiesThePackage)
{
	struct FRecordingTransaction : ITransaction
	{
		TArray<UObject*> Saved;
		virtual void SaveObject(UObject* Object) override { Saved.Add(Object); }
	};

	UVNFaceRigDataAsset* Asset = NewAsset();
	ASSERT_EQ(Import(Asset, R"({"drivers": [{"control": "Old1", "channel": "tx", "driven": []}, {"control": "Old2", "channel": "tx", "driven": []}]})"), "");
	Asset->DirectControls.AddDefaulted();
	Asset->EyeChains.AddDefaulted(2);
	Asset->GetPackage()->SetDirtyFlag(false);

	FRecordingTransaction Transaction;
	GUndo = &Transaction;
	const std::string Error = Import(Asset, R"({"version": 5, "drivers": [{"control": "New", "channel": "tz", "driven": []}]})");
	GUndo = nullptr;

	ASSERT_EQ(Error, "");
	ASSERT_EQ(Asset->Drivers.Num(), 1);
	EXPECT_EQ(Asset->Drivers[0].ControlName, FName(TEXT("New")));
	EXPECT_EQ(Asset->DirectControls.Num(), 1);
	EXPECT_EQ(Asset->EyeChains.Num(), 2);
	EXPECT_TRUE(Asset->GetPackage()->IsDirty());
	ASSERT_EQ(Transaction.Saved.Num(), 1) << "the asset is recorded for undo before it changes";
	EXPECT_EQ(Transaction.Saved[0], Asset);
}

TEST(FaceRigJsonImport, TheFileEntryPointReadsFilesAndReportsUnreadableOnes)
{
	UVNFaceRigDataAsset* Asset = NewAsset();
	FString Error;
	EXPECT_FALSE(UVNFaceSDKImportLibrary::ImportVNFaceSDKJson(nullptr, TEXT("/nowhere.json"), Error));
	EXPECT_EQ(Narrow(Error), "Import failed: TargetAsset is null.");
	EXPECT_FALSE(UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(nullptr, TEXT("{}"), Error));
	EXPECT_EQ(Narrow(Error), "Import failed: TargetAsset is null.");

	const FString Missing = TEXT("/nonexistent/folder/Hero_FaceRig.json");
	EXPECT_FALSE(UVNFaceSDKImportLibrary::ImportVNFaceSDKJson(Asset, Missing, Error));
	EXPECT_EQ(Narrow(Error), "Import failed: Could not read '/nonexistent/folder/Hero_FaceRig.json'.");

	const std::filesystem::path Path = std::filesystem::temp_directory_path() / "vn_import_tests" / "Hero_FaceRig.json";
	std::filesystem::create_directories(Path.parent_path());
	const FString File(UTF8_TO_TCHAR(Path.string().c_str()));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"version\": 2, \"drivers\": [{\"control\": \"Jaw_M\", \"channel\": \"rz\", \"driven\": []}]}"), *File, FFileHelper::EEncodingOptions::ForceUTF8));
	EXPECT_TRUE(UVNFaceSDKImportLibrary::ImportVNFaceSDKJson(Asset, File, Error));
	EXPECT_TRUE(Error.IsEmpty());
	EXPECT_EQ(Asset->Version, 2);
	EXPECT_EQ(Asset->Drivers[0].Channel, EVNFaceSDKChannel::RotationZ);
}
