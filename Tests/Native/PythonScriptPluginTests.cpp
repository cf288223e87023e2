// The editor's Python as native code reaches it: command texts run through the PythonScriptPlugin
// module edit the very objects that C++ then reads.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "IPythonScriptPlugin.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "ControlRigBlueprint.h"
#include "RigVMModel/RigVMGraph.h"
#include "RigVMModel/RigVMPin.h"
#include "Rigs/RigHierarchy.h"

namespace
{
	IPythonScriptPlugin* LoadPython()
	{
		FModuleManager::Get().AddBinariesDirectory(TEXT(VN_MODULE_BINARIES_DIR), false);
		return FModuleManager::LoadModulePtr<IPythonScriptPlugin>(TEXT("PythonScriptPlugin"));
	}
}

TEST(PythonScriptPlugin, CommandsEditObjectsThatNativeCodeReads)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	ASSERT_TRUE(Python->IsPythonAvailable());
	EXPECT_EQ(IPythonScriptPlugin::Get(), Python);

	UPackage* Package = CreatePackage(TEXT("/Game/Faces/DA_FromPython"));
	UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, TEXT("DA_FromPython"), RF_Public | RF_Standalone);
	const std::string JsonPath = ::testing::TempDir() + "vn_python_face.json";
	std::ofstream(JsonPath) << R"({"version": 7, "drivers": [{"control": "Brow_L", "channel": "ty", "driven": [{"bone": "BrowBone_L", "channel": "tz", "keys": [{"x": 0, "y": 0}, {"x": 1, "y": 2}]}]}]})";

	HostEditor::FLogCapture Log;
	const FString Command = FString::Printf(TEXT(
		"import unreal\n"
		"unreal.load_module('VantorelUnrealEditor')\n"
		"asset = unreal.find_object(None, '/Game/Faces/DA_FromPython.DA_FromPython')\n"
		"result = unreal.VNFaceSDKImportLibrary.import_vn_face_sdk_json(asset, r'%hs')\n"
		"asset.drivers[0].control_name\n"
		"print('imported', len(asset.drivers), repr(result))\n"),
		JsonPath.c_str());
	ASSERT_TRUE(Python->ExecPythonCommand(*Command));
	EXPECT_EQ(Asset->Version, 7);
	ASSERT_EQ(Asset->Drivers.Num(), 1);
	EXPECT_EQ(Asset->Drivers[0].ControlName, FName(TEXT("Brow_L")));
	EXPECT_EQ(Asset->Drivers[0].Driven[0].Channel, EVNFaceSDKChannel::TranslationZ);
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Log, TEXT("imported 1 ''")), 1) << "print goes to the log";

	Asset->Version = 11;
	FPythonCommandEx Evaluate;
	Evaluate.ExecutionMode = EPythonCommandExecutionMode::EvaluateStatement;
	Evaluate.Command = TEXT("__import__('unreal').find_object(None, '/Game/Faces/DA_FromPython.DA_FromPython').version");
	ASSERT_TRUE(Python->ExecPythonCommandEx(Evaluate));
	EXPECT_EQ(Evaluate.CommandResult, TEXT("11")) << "Python reads what C++ wrote";
}

TEST(PythonScriptPlugin, UsesTheUnrealCoreBuiltIntoTheHostProgram)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	FPythonCommandEx Evaluate;
	Evaluate.ExecutionMode = EPythonCommandExecutionMode::EvaluateStatement;
	Evaluate.Command = TEXT("(__import__('_unreal_core').__name__ in __import__('sys').builtin_module_names, hasattr(__import__('_unreal_core'), '__file__'))");
	ASSERT_TRUE(Python->ExecPythonCommandEx(Evaluate));
	EXPECT_EQ(Evaluate.CommandResult, TEXT("(True, False)")) << "the program's own module, not the extension from the build folder";
}

TEST(PythonScriptPlugin, AFailingCommandReportsItsErrorToTheLog)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	HostEditor::FLogCapture Log;
	FPythonCommandEx Command;
	Command.Command = TEXT("import unreal\nunreal.VNFaceSDKImportLibrary.import_vn_face_sdk_json()\n");
	EXPECT_FALSE(Python->ExecPythonCommandEx(Command));
	EXPECT_TRUE(Command.CommandResult.StartsWith(TEXT("TypeError"))) << TCHAR_TO_UTF8(*Command.CommandResult);
	EXPECT_GE(Log.Count(TEXT("LogPython"), ELogVerbosity::Error, TEXT("Traceback")), 1);

	// Private scopes: what one command defines, the next does not see.
	EXPECT_TRUE(Python->ExecPythonCommand(TEXT("leaked = 1")));
	EXPECT_FALSE(Python->ExecPythonCommand(TEXT("leaked")));
}

TEST(PythonScriptPlugin, WhatACommandPrintsReachesTheLogLineByLineAsItIsPrinted)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	HostEditor::FLogCapture Log;
	FPythonCommandEx Command;
	Command.Command = TEXT(
		"import sys, unreal\n"
		"print('before')\n"
		"unreal.EditorDialog.show_message('Order', 'between', unreal.AppMsgType.OK)\n"
		"sys.stdout.write('written ')\n"
		"sys.stdout.flush()\n"
		"print('in pieces')\n"
		"print('to standard error', file=sys.stderr)\n"
		"print('two\\nlines')\n"
		"print('unfinished', end='')\n");
	ASSERT_TRUE(Python->ExecPythonCommandEx(Command)) << TCHAR_TO_UTF8(*Command.CommandResult);

	std::vector<std::string> Lines;
	for (const HostEditor::FLogLine& Line : Log.GetLines())
	{
		Lines.push_back(std::string(TCHAR_TO_UTF8(*FString::Printf(TEXT("%s: %s: %s"), *Line.Category.ToString(), ToString(Line.Verbosity), *Line.Text))));
	}
	// The engine's own line (the message box) stands between the prints made before and after it; a
	// line written in pieces, flushed halfway, is one line; an unfinished line comes when the command ends.
	EXPECT_EQ(Lines, (std::vector<std::string>{
		"LogPython: Log: before",
		"LogCore: Display: Message dialog: Order: between",
		"LogPython: Log: written in pieces",
		"LogPython: Error: to standard error",
		"LogPython: Log: two",
		"LogPython: Log: lines",
		"LogPython: Log: unfinished"}));

	// The command also keeps what it wrote, standard error as errors.
	std::vector<std::string> Output;
	for (const FPythonLogOutputEntry& Entry : Command.LogOutput)
	{
		Output.push_back(std::string(Entry.Type == EPythonLogOutputType::Error ? "E " : "I ") + TCHAR_TO_UTF8(*Entry.Output));
	}
	EXPECT_EQ(Output, (std::vector<std::string>{"I before", "I written in pieces", "E to standard error", "I two", "I lines", "I unfinished"}));
}

TEST(PythonScriptPlugin, IsAbsentWhenTheEditorHasNoPython)
{
	FModuleManager::Get().SetModuleAvailable(TEXT("PythonScriptPlugin"), false);
	EXPECT_FALSE(FModuleManager::Get().ModuleExists(TEXT("PythonScriptPlugin")));
	EXPECT_EQ(FModuleManager::LoadModulePtr<IPythonScriptPlugin>(TEXT("PythonScriptPlugin")), nullptr);
	FModuleManager::Get().SetModuleAvailable(TEXT("PythonScriptPlugin"), true);
}

TEST(PythonScriptPlugin, PythonAndNativeCodeEditTheSameControlRig)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	ASSERT_TRUE(Python->ExecPythonCommand(TEXT(
		"import unreal\n"
		"unreal.load_module('ControlRigDeveloper')\n"
		"rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path='/Game/Rigs/Shared_CR')\n"
		"controller = rig.get_hierarchy_controller()\n"
		"root = controller.add_null('Root_M', unreal.RigElementKey(), unreal.Transform(location=unreal.Vector(0, 0, 100)), True)\n"
		"controller.add_null('Chest_M', root, unreal.Transform(location=unreal.Vector(0, 0, 150)), True)\n"
		"node = rig.get_controller().add_unit_node_from_struct_path('/Script/ControlRig.RigUnit_GetTransform', 'Execute', unreal.Vector2D(0, 0), 'ReadChest')\n"
		"rig.get_controller().set_pin_default_value(node.get_node_path() + '.Item.Name', 'Chest_M', True)\n")));

	UControlRigBlueprint* Rig = FindObject<UControlRigBlueprint>(nullptr, TEXT("/Game/Rigs/Shared_CR.Shared_CR"));
	ASSERT_NE(Rig, nullptr);
	URigHierarchy* Hierarchy = Rig->Hierarchy;
	ASSERT_NE(Hierarchy, nullptr);
	const FRigElementKey Root(TEXT("Root_M"), ERigElementType::Null);
	const FRigElementKey Chest(TEXT("Chest_M"), ERigElementType::Null);
	EXPECT_EQ(Hierarchy->GetFirstParent(Chest), Root);
	EXPECT_NEAR(Hierarchy->GetLocalTransform(Chest, true).GetLocation().Z, 50.0, 1e-9) << "added with a global transform";
	const URigVMPin* ItemName = Rig->GetDefaultModel()->FindPin(TEXT("ReadChest.Item.Name"));
	ASSERT_NE(ItemName, nullptr);
	EXPECT_EQ(ItemName->GetDefaultValue(), TEXT("Chest_M"));

	Hierarchy->SetGlobalTransform(Root, FTransform(FVector(0.0, 10.0, 100.0)), true, true);
	FPythonCommandEx Evaluate;
	Evaluate.ExecutionMode = EPythonCommandExecutionMode::EvaluateStatement;
	Evaluate.Command = TEXT("(lambda unreal: (lambda t: (round(t.y, 6), round(t.z, 6)))(unreal.load_asset('/Game/Rigs/Shared_CR').hierarchy.get_global_transform(unreal.RigElementKey(unreal.RigElementType.NULL, 'Chest_M'), True).translation))(__import__('unreal'))");
	ASSERT_TRUE(Python->ExecPythonCommandEx(Evaluate)) << TCHAR_TO_UTF8(*Evaluate.CommandResult);
	EXPECT_EQ(Evaluate.CommandResult, TEXT("(10.0, 150.0)")) << "Python sees the child follow the parent that C++ moved";
}
