// Importing Face rig JSON files through the Content Browser: which files the face rig importer
// claims, the importer the editor picks by priority, the asset it makes, and what a failed import
// leaves behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AssetToolsModule.h"
#include "CoreMinimal.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "Misc/PackageName.h"
#include "Modules/ModuleManager.h"
#include "PackageTestTypes.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceRigDataAssetFactory.h"

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

	const char* const TwoDrivers = R"({"version": 3, "exportType": "VantorelFaceRig", "drivers": [
		{"control": "Jaw_M", "channel": "ry", "driven": [{"bone": "Jaw", "channel": "tz", "keys": [{"x": 0, "y": 0}, {"x": 1, "y": 2}]}]},
		{"control": "Brow_L", "channel": "browRaise", "driven": []}]})";

	const char* const UnknownRowChannel = R"({"drivers": [
		{"control": "Jaw_M", "channel": "ry", "driven": [{"bone": "Jaw", "channel": "squash", "keys": []}]}]})";

	const char* const BodyRig = R"({"exportType": "VantorelBodyRig", "joints": [{"name": "Root_M"}], "controls": []})";

	class FaceRigImportFactoryTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			FModuleManager::Get().AddBinariesDirectory(TEXT(VN_MODULE_BINARIES_DIR), false);
			ProjectDir = std::filesystem::temp_directory_path() / "vn_import_factory_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(Wide(ProjectDir.string()), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		void TearDown() override
		{
			std::filesystem::remove_all(ProjectDir);
		}

		/** Writes a source file outside the project's content and returns its path. */
		FString WriteFile(const std::string& Name, const std::string& Text) const
		{
			const std::filesystem::path Path = ProjectDir / "Sources" / Name;
			std::filesystem::create_directories(Path.parent_path());
			std::ofstream(Path, std::ios::binary) << Text;
			return Wide(Path.string());
		}

		bool Claims(const std::string& Text) const
		{
			return NewObject<UVNFaceRigDataAssetFactory>()->FactoryCanImport(WriteFile("Claim.json", Text));
		}

		static TArray<UObject*> Import(const FString& File, const FString& Folder = TEXT("/Game/Face"))
		{
			return FAssetToolsModule::GetModule().Get().ImportAssets({File}, Folder);
		}

		/** The log lines of a verbosity, as text. */
		static std::vector<std::string> LogLines(ELogVerbosity::Type Verbosity)
		{
			std::vector<std::string> Lines;
			for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
			{
				if (Line.Verbosity == Verbosity)
				{
					Lines.push_back(Narrow(Line.Text));
				}
			}
			return Lines;
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(FaceRigImportFactoryTest, ClaimsOnlyJsonObjectsWithADriversArray)
{
	EXPECT_TRUE(Claims(TwoDrivers));
	EXPECT_TRUE(Claims(R"({"drivers": []})"));
	EXPECT_TRUE(Claims(UnknownRowChannel)) << "a file is claimed on its shape; the import itself may still fail";
	EXPECT_FALSE(Claims(R"({"drivers": {"control": "Jaw_M"}})"));
	EXPECT_FALSE(Claims(R"({"drivers": null})"));
	EXPECT_FALSE(Claims(R"({"Drivers ": []})"));
	EXPECT_FALSE(Claims(BodyRig));
	EXPECT_FALSE(Claims(R"([{"drivers": []}])"));
	EXPECT_FALSE(Claims(R"({"drivers": [],})"));
	EXPECT_FALSE(Claims(""));
	EXPECT_FALSE(NewObject<UVNFaceRigDataAssetFactory>()->FactoryCanImport(Wide((ProjectDir / "Missing.json").string())));
}

TEST_F(FaceRigImportFactoryTest, PresentsItselfAsTheFaceSdkJsonImporter)
{
	UVNFaceRigDataAssetFactory* Factory = NewObject<UVNFaceRigDataAssetFactory>();
	const FText Name = Factory->GetDisplayName();
	EXPECT_EQ(Narrow(Name.ToString()), "Vantorel Face SDK JSON");
	EXPECT_EQ(Narrow(FTextInspector::GetNamespace(Name).Get(FString())), "VantorelUnreal");
	EXPECT_EQ(Narrow(FTextInspector::GetKey(Name).Get(FString())), "VNFaceRigDataAssetFactory");
	TArray<FString> Extensions;
	Factory->GetSupportedFileExtensions(Extensions);
	EXPECT_EQ(Extensions, TArray<FString>({TEXT("json")}));
	EXPECT_TRUE(Factory->bEditorImport);
	EXPECT_FALSE(Factory->CanCreateNew()) << "empty face rig data assets are not offered in the New menu";
	EXPECT_EQ(Narrow(UVNFaceRigDataAssetFactory::StaticClass()->GetPathName()), "/Script/VantorelUnrealEditor.VNFaceRigDataAssetFactory");

	EXPECT_TRUE(Factory->DoesSupportClass(UObject::StaticClass()));
	EXPECT_TRUE(Factory->DoesSupportClass(UVNFaceRigDataAsset::StaticClass()));
	EXPECT_FALSE(Factory->DoesSupportClass(UDataAsset::StaticClass()));
	EXPECT_FALSE(Factory->DoesSupportClass(UPackageTestNode::StaticClass()));
	EXPECT_FALSE(Factory->DoesSupportClass(nullptr));
}

TEST_F(FaceRigImportFactoryTest, IsAskedBeforeTheGeneralJsonImporters)
{
	EXPECT_GT(GetDefault<UVNFaceRigDataAssetFactory>()->ImportPriority, UFactory::DefaultImportPriority);

	const TArray<UObject*> Face = Import(WriteFile("Hero_FaceRig.json", TwoDrivers));
	ASSERT_EQ(Face.Num(), 1);
	EXPECT_TRUE(Face[0]->IsA<UVNFaceRigDataAsset>());

	// Files the face importer declines go to the next importer of "json" that claims them.
	for (const char* Text : {BodyRig, R"({"drivers": {}})"})
	{
		const TArray<UObject*> Other = Import(WriteFile("Other.json", Text), TEXT("/Game/Other"));
		ASSERT_EQ(Other.Num(), 1) << Text;
		ASSERT_TRUE(Other[0]->IsA<UPackageTestNode>()) << Text;
		EXPECT_EQ(Narrow(static_cast<UPackageTestNode*>(Other[0])->Label), "any json");
	}
	EXPECT_TRUE(LogLines(ELogVerbosity::Error).empty());
}

TEST_F(FaceRigImportFactoryTest, ImportMakesAFilledUnsavedAssetNamedAfterTheFile)
{
	const TArray<UObject*> Imported = Import(WriteFile("Hero_FaceRig.json", TwoDrivers), TEXT("/Game/Characters/Hero/"));
	ASSERT_EQ(Imported.Num(), 1);
	UVNFaceRigDataAsset* Asset = Cast<UVNFaceRigDataAsset>(Imported[0]);
	ASSERT_NE(Asset, nullptr);
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Game/Characters/Hero/Hero_FaceRig.Hero_FaceRig");
	EXPECT_TRUE(Asset->HasAllFlags(EObjectFlags(RF_Public | RF_Standalone | RF_Transactional)));
	EXPECT_EQ(Asset->Version, 3);
	ASSERT_EQ(Asset->Drivers.Num(), 2);
	EXPECT_EQ(Asset->Drivers[0].ControlName, FName(TEXT("Jaw_M")));
	ASSERT_EQ(Asset->Drivers[0].Driven.Num(), 1);
	EXPECT_EQ(Asset->Drivers[0].Driven[0].Keys.Num(), 2);
	EXPECT_EQ(Asset->Drivers[1].CustomChannelName, FName(TEXT("browRaise")));
	EXPECT_TRUE(Asset->GetPackage()->IsDirty());
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Game/Characters/Hero/Hero_FaceRig"))) << "imported assets are saved by the user";

	const TArray<UObject*> Empty = Import(WriteFile("Empty.json", R"({"drivers": [], "version": 1})"));
	ASSERT_EQ(Empty.Num(), 1);
	EXPECT_EQ(Cast<UVNFaceRigDataAsset>(Empty[0])->Drivers.Num(), 0);
	EXPECT_EQ(Cast<UVNFaceRigDataAsset>(Empty[0])->Version, 1);
}

TEST_F(FaceRigImportFactoryTest, FailedImportLogsTheImportersMessageAndLeavesNoAsset)
{
	EXPECT_TRUE(Import(WriteFile("Bad_FaceRig.json", UnknownRowChannel)).IsEmpty());
	EXPECT_EQ(LogLines(ELogVerbosity::Error), std::vector<std::string>({"Import failed: Unknown driven channel 'squash'."}));
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Face/Bad_FaceRig")), nullptr);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Face/Bad_FaceRig.Bad_FaceRig")), nullptr);
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Game/Face/Bad_FaceRig")));
	const std::vector<std::string> Warnings = LogLines(ELogVerbosity::Warning);
	ASSERT_EQ(Warnings.size(), 1u);
	EXPECT_NE(Warnings[0].find("Failed to create asset '/Game/Face/Bad_FaceRig'"), std::string::npos) << Warnings[0];
}

TEST_F(FaceRigImportFactoryTest, ReimportMakesTheAssetAnewAndAFailedOneKeepsIt)
{
	const FString File = WriteFile("Hero_FaceRig.json", TwoDrivers);
	UVNFaceRigDataAsset* First = Cast<UVNFaceRigDataAsset>(Import(File)[0]);
	First->DirectControls.AddDefaulted();
	First->GetPackage()->SetDirtyFlag(false);

	std::ofstream(Narrow(File), std::ios::binary) << R"({"drivers": [{"control": "Lid_L", "channel": "ty", "driven": []}]})";
	const TArray<UObject*> Again = Import(File);
	ASSERT_EQ(Again.Num(), 1);
	UVNFaceRigDataAsset* Second = Cast<UVNFaceRigDataAsset>(Again[0]);
	EXPECT_EQ(Narrow(Second->GetPathName()), "/Game/Face/Hero_FaceRig.Hero_FaceRig");
	EXPECT_EQ(Second->Version, 0);
	ASSERT_EQ(Second->Drivers.Num(), 1);
	EXPECT_EQ(Second->Drivers[0].ControlName, FName(TEXT("Lid_L")));
	EXPECT_EQ(Second->DirectControls.Num(), 0) << "a re-import fills the asset completely, not over the old one";
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Face/Hero_FaceRig.Hero_FaceRig")), Second);
	EXPECT_TRUE(Second->GetPackage()->IsDirty());

	std::ofstream(Narrow(File), std::ios::binary) << UnknownRowChannel;
	EXPECT_TRUE(Import(File).IsEmpty());
	ASSERT_TRUE(IsValid(Second)) << "a file that fails to import must not destroy the asset it would replace";
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Face/Hero_FaceRig.Hero_FaceRig")), Second);
	ASSERT_EQ(Second->Drivers.Num(), 1);
	EXPECT_EQ(Second->Drivers[0].ControlName, FName(TEXT("Lid_L")));
}

TEST_F(FaceRigImportFactoryTest, FilesNoImporterTakesImportNothing)
{
	EXPECT_TRUE(Import(WriteFile("Notes.txt", "drivers")).IsEmpty());
	const std::vector<std::string> Warnings = LogLines(ELogVerbosity::Warning);
	ASSERT_EQ(Warnings.size(), 1u);
	EXPECT_NE(Warnings[0].find("Unknown extension 'txt'"), std::string::npos) << Warnings[0];

	// A face rig file cannot replace an asset of another class at its path.
	UPackage* Package = CreatePackage(TEXT("/Game/Face/Hero_FaceRig"));
	UPackageTestNode* Other = NewObject<UPackageTestNode>(Package, TEXT("Hero_FaceRig"), EObjectFlags(RF_Public | RF_Standalone));
	EXPECT_TRUE(Import(WriteFile("Hero_FaceRig.json", TwoDrivers)).IsEmpty());
	EXPECT_TRUE(IsValid(Other));
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Face/Hero_FaceRig.Hero_FaceRig")), Other);
}
