// Packages on disk: saving an object graph as text and loading it back in a later run, object
// paths and package names, duplication, and refusing bad files without crashing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Animation/Skeleton.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "Factories/FbxSkeletalMeshImportData.h"
#include "HAL/FileManager.h"
#include "HostEditorSupport/HostEditorPaths.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/LogCapture.h"
#include "Misc/FileHelper.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "PackageTestTypes.h"
#include "PackageTools.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/SavePackage.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	/** A fresh project folder for each test; packages loaded meanwhile are unloaded afterwards. */
	class PackageTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			const ::testing::TestInfo* Info = ::testing::UnitTest::GetInstance()->current_test_info();
			std::string Leaf = std::string(Info->test_suite_name()) + "_" + Info->name();
			for (char& Char : Leaf)
			{
				Char = std::isalnum((unsigned char)Char) ? Char : '_';
			}
			ProjectDir = std::filesystem::temp_directory_path() / "vn_package_tests" / Leaf;
			std::filesystem::remove_all(ProjectDir);
			std::filesystem::create_directories(ProjectDir / "Content");
			HostEditor::SetProjectDir(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())));
		}

		void TearDown() override
		{
			UnloadAll();
			std::filesystem::remove_all(ProjectDir);
		}

		/** Unloads every /Game package, as quitting the editor does; the next load reads the files. */
		static void UnloadAll()
		{
			TArray<UObject*> Objects;
			GetObjectsOfClass(UPackage::StaticClass(), Objects, true);
			TArray<UPackage*> Packages;
			for (UObject* Object : Objects)
			{
				if (Object->GetName().StartsWith(TEXT("/Game/")))
				{
					Packages.Add(static_cast<UPackage*>(Object));
				}
			}
			FText Error;
			UPackageTools::UnloadPackages(Packages, Error, true);
		}

		static bool Save(UPackage* Package)
		{
			FSavePackageArgs Args;
			return UPackage::SavePackage(Package, nullptr, *FPackageName::LongPackageNameToFilename(Package->GetName(), FPackageName::GetAssetPackageExtension()), Args);
		}

		static UPackageTestNode* MakeNode(UObject* Outer, const TCHAR* Name, const TCHAR* Label, int32 Count)
		{
			UPackageTestNode* Node = NewObject<UPackageTestNode>(Outer, FName(Name), Outer->IsA<UPackage>() ? EObjectFlags(RF_Public | RF_Standalone) : RF_NoFlags);
			Node->Label = Label;
			Node->Count = Count;
			return Node;
		}

		FString FileOf(const TCHAR* PackageName) const
		{
			return FPackageName::LongPackageNameToFilename(PackageName, FPackageName::GetAssetPackageExtension());
		}

		void WriteFile(const TCHAR* PackageName, const FString& Text) const
		{
			IFileManager::Get().MakeDirectory(*FPaths::GetPath(FileOf(PackageName)), true);
			ASSERT_TRUE(FFileHelper::SaveStringToFile(Text, *FileOf(PackageName)));
		}

		std::filesystem::path ProjectDir;
	};

	/**
	 * Saves /Game/Graph/Root: a root node with two child subobjects that refer to each other, a
	 * grandchild, custom notes, a transient value and a reference to a second package's asset.
	 */
	void SaveSampleGraph()
	{
		UPackage* OtherPackage = CreatePackage(TEXT("/Game/Shared/Target"));
		UPackageTestNode* Target = NewObject<UPackageTestNode>(OtherPackage, FName(TEXT("Target")), EObjectFlags(RF_Public | RF_Standalone));
		Target->Label = TEXT("shared");

		UPackage* Package = CreatePackage(TEXT("/Game/Graph/Root"));
		UPackageTestNode* Root = NewObject<UPackageTestNode>(Package, FName(TEXT("Root")), EObjectFlags(RF_Public | RF_Standalone));
		Root->Label = TEXT("root \"quoted\", with = and\nnewline");
		Root->Count = 7;
		Root->Scratch = 99;
		Root->Notes = {TEXT("first note"), TEXT("second = note")};
		Root->External = Target;
		UPackageTestNode* Left = NewObject<UPackageTestNode>(Root, FName(TEXT("Left")));
		UPackageTestNode* Right = NewObject<UPackageTestNode>(Root, FName(TEXT("Right")));
		UPackageTestNode* Leaf = NewObject<UPackageTestNode>(Left, FName(TEXT("Leaf")));
		Left->Label = TEXT("left");
		Right->Label = TEXT("right");
		Leaf->Count = 3;
		Left->Next = Right;
		Right->Next = Left;
		Left->Children = {Leaf};
		Root->Children = {Left, Right};
		NewObject<UPackageTestNode>(Root, FName(TEXT("Scratchpad")), RF_Transient);

		FSavePackageArgs Args;
		ASSERT_TRUE(UPackage::SavePackage(OtherPackage, Target, *FPackageName::LongPackageNameToFilename(OtherPackage->GetName(), TEXT(".uasset")), Args));
		ASSERT_TRUE(UPackage::SavePackage(Package, Root, *FPackageName::LongPackageNameToFilename(Package->GetName(), TEXT(".uasset")), Args));
	}
}

TEST_F(PackageTest, SavedGraphLoadsInALaterRunWithSubobjectsReferencesAndCustomState)
{
	SaveSampleGraph();
	UnloadAll();
	ASSERT_EQ(FindPackage(nullptr, TEXT("/Game/Graph/Root")), nullptr);

	UPackageTestNode* Root = LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Graph/Root.Root"));
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Narrow(Root->Label), "root \"quoted\", with = and\nnewline");
	EXPECT_EQ(Root->Count, 7);
	EXPECT_EQ(Root->Scratch, 0) << "transient members are not saved";
	ASSERT_EQ(Root->Notes.Num(), 2);
	EXPECT_EQ(Narrow(Root->Notes[1]), "second = note");

	ASSERT_EQ(Root->Children.Num(), 2);
	UPackageTestNode* Left = Root->Children[0];
	UPackageTestNode* Right = Root->Children[1];
	ASSERT_TRUE(Left && Right);
	EXPECT_EQ(Left->GetOuter(), Root);
	EXPECT_EQ(Narrow(Left->GetPathName()), "/Game/Graph/Root.Root:Left");
	EXPECT_EQ(Left->Next, Right);
	EXPECT_EQ(Right->Next, Left);
	ASSERT_EQ(Left->Children.Num(), 1);
	EXPECT_EQ(Left->Children[0]->GetOuter(), Left);
	EXPECT_EQ(Left->Children[0]->Count, 3);
	EXPECT_EQ(StaticFindObject(nullptr, Root, TEXT("Scratchpad")), nullptr) << "transient subobjects are not saved";

	ASSERT_NE(Root->External, nullptr) << "a reference to another package loads that package";
	EXPECT_EQ(Narrow(Root->External->GetPathName()), "/Game/Shared/Target.Target");
	EXPECT_FALSE(Root->GetPackage()->IsDirty());
}

TEST_F(PackageTest, PostLoadRunsOnceOnEveryObjectInnerObjectsFirst)
{
	SaveSampleGraph();
	UnloadAll();
	UPackageTestNode* Root = LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Graph/Root.Root"));
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Root->PostLoadCalls, 1);
	EXPECT_TRUE(Root->bChildrenLoadedFirst);
	EXPECT_EQ(Root->Children[0]->PostLoadCalls, 1);
	EXPECT_TRUE(Root->Children[0]->bChildrenLoadedFirst);
}

TEST_F(PackageTest, SavedFileIsReadableTextWithOneBlockPerObject)
{
	SaveSampleGraph();
	FString Text;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *FileOf(TEXT("/Game/Graph/Root"))));
	EXPECT_TRUE(Text.StartsWith(TEXT("Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Root\"")));
	EXPECT_TRUE(Text.Contains(TEXT("   Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Left\"")));
	EXPECT_TRUE(Text.Contains(TEXT("      Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Leaf\"")));
	EXPECT_TRUE(Text.Contains(TEXT("Next=/Script/NativeTests.PackageTestNode'/Game/Graph/Root.Root:Right'")));
	EXPECT_TRUE(Text.Contains(TEXT("CustomProperties Note first note")));
	EXPECT_FALSE(Text.Contains(TEXT("Scratch")));
}

TEST_F(PackageTest, LoadingALoadedPackageReturnsItWithoutReadingTheFileAgain)
{
	SaveSampleGraph();
	UPackage* First = LoadPackage(nullptr, TEXT("/Game/Graph/Root"), LOAD_None);
	WriteFile(TEXT("/Game/Graph/Root"), TEXT("not a package"));
	EXPECT_EQ(LoadPackage(nullptr, TEXT("/Game/Graph/Root"), LOAD_None), First);
}

TEST_F(PackageTest, MissingReferencedPackageLoadsWithTheReferenceClearedAndAWarning)
{
	SaveSampleGraph();
	UnloadAll();
	IFileManager::Get().Delete(*FileOf(TEXT("/Game/Shared/Target")));
	HostEditor::FLogCapture Log;
	UPackageTestNode* Root = LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Graph/Root.Root"));
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Root->External, nullptr);
	EXPECT_EQ(Root->Count, 7);
	EXPECT_EQ(Log.Count(FName(TEXT("LogLinker")), ELogVerbosity::Warning, TEXT("External")), 1);
}

TEST_F(PackageTest, UnreadableValueKeepsTheDefaultAndTheRestOfTheObjectLoads)
{
	WriteFile(TEXT("/Game/Bad/Values"),
		TEXT("Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Values\" ObjectFlags=0x00000003\n")
		TEXT("   Count=not-a-number\n")
		TEXT("   Label=\"kept\"\n")
		TEXT("   NoSuchProperty=1\n")
		TEXT("End Object\n"));
	HostEditor::FLogCapture Log;
	UPackageTestNode* Node = LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Bad/Values.Values"));
	ASSERT_NE(Node, nullptr);
	EXPECT_EQ(Node->Count, 0);
	EXPECT_EQ(Narrow(Node->Label), "kept");
	EXPECT_EQ(Log.Count(FName(TEXT("LogLinker")), ELogVerbosity::Warning), 2);
}

struct FBadFileCase
{
	const char* Name;
	const char* Text;
	const char* ExpectedReason;
};

class PackageBadFileTest : public PackageTest, public ::testing::WithParamInterface<FBadFileCase>
{
};

TEST_P(PackageBadFileTest, BadFileFailsToLoadWithAnErrorAndLeavesNothingLoaded)
{
	const FBadFileCase& Case = GetParam();
	WriteFile(TEXT("/Game/Bad/File"), FString(UTF8_TO_TCHAR(Case.Text)));
	HostEditor::FLogCapture Log;
	EXPECT_EQ(LoadPackage(nullptr, TEXT("/Game/Bad/File"), LOAD_None), nullptr);
	EXPECT_EQ(LoadObject<UObject>(nullptr, TEXT("/Game/Bad/File.File"), nullptr, LOAD_NoWarn), nullptr);
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Bad/File")), nullptr);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Bad/File.File")), nullptr);
	EXPECT_GE(Log.Count(FName(TEXT("LogLinker")), ELogVerbosity::Error, UTF8_TO_TCHAR(Case.ExpectedReason)), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, PackageBadFileTest,
	::testing::Values(
		FBadFileCase{"Empty", "", "holds no object"},
		FBadFileCase{"Garbage", "\x01\x02 this is not a package", "outside an object block"},
		FBadFileCase{"TruncatedAfterALine", "Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"File\"\n   Count=1\n   Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Sub\"\n   Label=\"x\"\n", "truncated"},
		FBadFileCase{"TruncatedMidLine", "Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"File\"\n   Count=1\n   Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"Sub\"\n   La", "line 4"},
		FBadFileCase{"UnknownClass", "Begin Object Class=/Script/Nowhere.Thing Name=\"File\"\nEnd Object\n", "unknown class"},
		FBadFileCase{"AbstractClass", "Begin Object Class=/Script/CoreUObject.Object Name=\"File\"\nEnd Object\n", "cannot be loaded"},
		FBadFileCase{"EndWithoutBegin", "End Object\n", "without a 'Begin Object'"},
		FBadFileCase{"HeaderWithoutName", "Begin Object Class=/Script/NativeTests.PackageTestNode\nEnd Object\n", "needs a Class and a Name"},
		FBadFileCase{"DuplicateSubobject", "Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"File\"\n Begin Object Class=/Script/NativeTests.PackageTestNode Name=\"A\"\n End Object\n Begin Object Class=/Script/Engine.DataAsset Name=\"A\"\n End Object\nEnd Object\n", "A"}),
	[](const ::testing::TestParamInfo<FBadFileCase>& Info) { return std::string(Info.param.Name); });

TEST_F(PackageTest, FailedSaveReportsAnErrorAndKeepsTheExistingFile)
{
	SaveSampleGraph();
	const FString Before = [&] { FString Text; FFileHelper::LoadFileToString(Text, *FileOf(TEXT("/Game/Graph/Root"))); return Text; }();
	HostEditor::FLogCapture Log;
	FSavePackageArgs Args;
	EXPECT_FALSE(UPackage::SavePackage(GetTransientPackage(), nullptr, *FileOf(TEXT("/Game/Graph/Root")), Args));
	UPackage* Empty = CreatePackage(TEXT("/Game/Graph/Empty"));
	EXPECT_FALSE(UPackage::SavePackage(Empty, nullptr, *FileOf(TEXT("/Game/Graph/Root")), Args));
	FString After;
	FFileHelper::LoadFileToString(After, *FileOf(TEXT("/Game/Graph/Root")));
	EXPECT_EQ(Narrow(After), Narrow(Before));
	EXPECT_EQ(Log.Count(FName(TEXT("LogSavePackage")), ELogVerbosity::Error), 2);
}

TEST_F(PackageTest, SavingClearsTheDirtyFlagAndNewPackageFlag)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Flags/Node"));
	MakeNode(Package, TEXT("Node"), TEXT("x"), 1);
	Package->SetDirtyFlag(true);
	ASSERT_TRUE(Save(Package));
	EXPECT_FALSE(Package->IsDirty());
	EXPECT_FALSE(Package->HasAnyPackageFlags(PKG_NewlyCreated));
}

TEST_F(PackageTest, DuplicatePointsInternalReferencesAtTheCopiesAndKeepsExternalOnes)
{
	SaveSampleGraph();
	UPackageTestNode* Root = LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Graph/Root.Root"));
	ASSERT_NE(Root, nullptr);
	UPackage* CopyPackage = CreatePackage(TEXT("/Game/Graph/Copy"));
	UPackageTestNode* Copy = DuplicateObject(Root, CopyPackage, FName(TEXT("Copy")));
	ASSERT_NE(Copy, nullptr);
	EXPECT_EQ(Narrow(Copy->GetPathName()), "/Game/Graph/Copy.Copy");
	ASSERT_EQ(Copy->Children.Num(), 2);
	EXPECT_EQ(Copy->Children[0]->GetOuter(), Copy);
	EXPECT_EQ(Copy->Children[0]->Next, Copy->Children[1]);
	EXPECT_NE(Copy->Children[0], Root->Children[0]);
	EXPECT_EQ(Copy->External, Root->External);
	EXPECT_EQ(Narrow(Copy->Notes[0]), "first note");
	EXPECT_EQ(Root->Children[0]->Next, Root->Children[1]) << "the source is unchanged";
}

TEST_F(PackageTest, FaceRigDataAssetRoundTripsThroughItsFile)
{
	FString Json;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Json, TEXT(VN_SOURCE_DIR "/Tests/Fuzz/Corpus/valid_face.json")));
	UPackage* Package = CreatePackage(TEXT("/Game/Face/FaceRig"));
	UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, FName(TEXT("FaceRig")), EObjectFlags(RF_Public | RF_Standalone));
	FString Error;
	ASSERT_TRUE(UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(Asset, Json, Error)) << Narrow(Error);
	ASSERT_GT(Asset->Drivers.Num(), 0);
	const TArray<FVNFaceSDKDriver> Drivers = Asset->Drivers;
	const int32 Version = Asset->Version;
	ASSERT_TRUE(Save(Package));
	UnloadAll();

	UVNFaceRigDataAsset* Loaded = LoadObject<UVNFaceRigDataAsset>(nullptr, TEXT("/Game/Face/FaceRig.FaceRig"));
	ASSERT_NE(Loaded, nullptr);
	ASSERT_NE(Loaded, Asset);
	EXPECT_EQ(Loaded->Version, Version);
	ASSERT_EQ(Loaded->Drivers.Num(), Drivers.Num());
	const FStructProperty DriverProperty(nullptr, NAME_None, 0, CPF_None, FVNFaceSDKDriver::StaticStruct());
	for (int32 Index = 0; Index < Drivers.Num(); ++Index)
	{
		EXPECT_TRUE(DriverProperty.Identical(&Drivers[Index], &Loaded->Drivers[Index])) << "driver " << Index;
	}
}

struct FPackageNameCase
{
	const char* Name;
	bool bValid;
};

class PackageNameTest : public PackageTest, public ::testing::WithParamInterface<FPackageNameCase>
{
};

TEST_P(PackageNameTest, LongPackageNamesMustBeUnderAMountedRootWithoutUnsafeCharacters)
{
	EXPECT_EQ(FPackageName::IsValidLongPackageName(UTF8_TO_TCHAR(GetParam().Name)), GetParam().bValid) << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(Names, PackageNameTest,
	::testing::Values(
		FPackageNameCase{"/Game/Characters/Hero", true},
		FPackageNameCase{"/Game/Hero", true},
		FPackageNameCase{"/Game/", false},
		FPackageNameCase{"/Game", false},
		FPackageNameCase{"/Game/../../etc/passwd", false},
		FPackageNameCase{"/Game/A//B", false},
		FPackageNameCase{"/Game/A/B/", false},
		FPackageNameCase{"/Game/With Space", false},
		FPackageNameCase{"/Game/Dot.Name", false},
		FPackageNameCase{"/Game/Back\\Slash", false},
		FPackageNameCase{"/NotMounted/Hero", false},
		FPackageNameCase{"Game/Hero", false},
		FPackageNameCase{"", false}));

TEST_F(PackageTest, PackageNamesAndFilenamesConvertBothWays)
{
	const FString Filename = FPackageName::LongPackageNameToFilename(TEXT("/Game/A/B"), FPackageName::GetAssetPackageExtension());
	EXPECT_TRUE(Filename.EndsWith(TEXT("/Content/A/B.uasset")));
	FString PackageName;
	ASSERT_TRUE(FPackageName::TryConvertFilenameToLongPackageName(Filename, PackageName));
	EXPECT_EQ(Narrow(PackageName), "/Game/A/B");
	EXPECT_FALSE(FPackageName::TryConvertFilenameToLongPackageName(TEXT("/somewhere/else/B.uasset"), PackageName));
	EXPECT_EQ(Narrow(FPackageName::ObjectPathToPackageName(TEXT("/Game/A/B.B:Sub"))), "/Game/A/B");
	EXPECT_EQ(Narrow(FPackageName::GetLongPackagePath(TEXT("/Game/A/B"))), "/Game/A");
	EXPECT_EQ(Narrow(FPackageName::GetLongPackageAssetName(TEXT("/Game/A/B"))), "B");
}

TEST_F(PackageTest, MountedRootsMapToTheirOwnContentFolders)
{
	const FString PluginContent = FString(UTF8_TO_TCHAR((ProjectDir / "Plugins" / "Extra" / "Content").string().c_str()));
	FPackageName::RegisterMountPoint(TEXT("/Extra/"), PluginContent);
	EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/Extra/Thing")));
	EXPECT_EQ(Narrow(FPackageName::LongPackageNameToFilename(TEXT("/Extra/Sub/Thing"), TEXT(".uasset"))), Narrow(PluginContent + TEXT("/Sub/Thing.uasset")));
	FPackageName::UnRegisterMountPoint(TEXT("/Extra/"), PluginContent);
	EXPECT_FALSE(FPackageName::IsValidLongPackageName(TEXT("/Extra/Thing")));
}

TEST_F(PackageTest, LoadObjectOfAMissingOrWrongClassObjectReturnsNull)
{
	SaveSampleGraph();
	UnloadAll();
	EXPECT_EQ(LoadObject<UObject>(nullptr, TEXT("/Game/Nothing/Here.Here"), nullptr, LOAD_NoWarn), nullptr);
	EXPECT_EQ(LoadObject<UVNFaceRigDataAsset>(nullptr, TEXT("/Game/Graph/Root.Root"), nullptr, LOAD_NoWarn), nullptr);
	EXPECT_NE(LoadObject<UPackageTestNode>(nullptr, TEXT("/Game/Graph/Root")), nullptr) << "a package name stands for its asset";
}

TEST_F(PackageTest, SkeletalMeshAndSkeletonKeepTheirReferenceSkeletonsThroughSaveAndLoad)
{
	const FTransform PelvisPose(FQuat(FVector(0, 0, 1), 0.5), FVector(1, 2, 90), FVector(1, 1, 1));
	const TArray<HostEditor::FBoneDescription> Bones = {
		{FName(TEXT("root")), NAME_None, FTransform::Identity},
		{FName(TEXT("pelvis")), FName(TEXT("root")), PelvisPose},
		{FName(TEXT("thigh_l")), FName(TEXT("pelvis")), FTransform(FVector(10, 0, -5))},
		{FName(TEXT("thigh_r")), FName(TEXT("pelvis")), FTransform(FVector(-10, 0, -5))},
	};
	FString Error;
	ASSERT_NE(HostEditor::CreateSkeletalMesh(TEXT("/Game/Chars/SK_Hero"), Bones, 0.5f, Error), nullptr) << Narrow(Error);
	UnloadAll();

	USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/SK_Hero.SK_Hero"));
	ASSERT_NE(Mesh, nullptr);
	ASSERT_NE(Mesh->GetSkeleton(), nullptr);
	const UFbxSkeletalMeshImportData* ImportData = Cast<UFbxSkeletalMeshImportData>(Mesh->GetAssetImportData());
	ASSERT_NE(ImportData, nullptr);
	EXPECT_FLOAT_EQ(ImportData->ImportUniformScale, 0.5f);
	const USkeletalMesh* ConstMesh = Mesh;
	for (const FReferenceSkeleton* RefSkeleton : {&ConstMesh->GetRefSkeleton(), &ConstMesh->GetSkeleton()->GetReferenceSkeleton()})
	{
		ASSERT_EQ(RefSkeleton->GetNum(), 4);
		EXPECT_EQ(RefSkeleton->GetParentIndex(0), INDEX_NONE);
		EXPECT_EQ(RefSkeleton->GetParentIndex(3), 1);
		EXPECT_EQ(Narrow(RefSkeleton->GetBoneName(2).ToString()), "thigh_l");
		EXPECT_TRUE(RefSkeleton->GetRefBonePose()[1].Equals(PelvisPose, 1e-4));
		EXPECT_TRUE(RefSkeleton->GetRefBonePose()[3].GetTranslation().Equals(FVector(-10, 0, -5), 1e-4));
	}
}

TEST_F(PackageTest, ReferenceSkeletonWithAParentAfterItsChildLoadsEmptyWithAWarning)
{
	WriteFile(TEXT("/Game/Chars/SK_Bad"),
		TEXT("Begin Object Class=/Script/Engine.SkeletalMesh Name=\"SK_Bad\" ObjectFlags=0x00000003\n")
		TEXT("   CustomProperties Bone Name=\"root\" Parent=-1 Pose=(Rotation=(X=0,Y=0,Z=0,W=1),Translation=(X=0,Y=0,Z=0),Scale3D=(X=1,Y=1,Z=1))\n")
		TEXT("   CustomProperties Bone Name=\"child\" Parent=5 Pose=(Rotation=(X=0,Y=0,Z=0,W=1),Translation=(X=0,Y=0,Z=0),Scale3D=(X=1,Y=1,Z=1))\n")
		TEXT("End Object\n"));
	HostEditor::FLogCapture Log;
	USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/SK_Bad.SK_Bad"));
	ASSERT_NE(Mesh, nullptr);
	EXPECT_EQ(Mesh->GetRefSkeleton().GetNum(), 0);
	EXPECT_EQ(Log.Count(FName(TEXT("LogLinker")), ELogVerbosity::Warning, TEXT("not an earlier bone")), 1);
}
