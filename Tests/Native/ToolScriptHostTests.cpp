// The tool script host: the bootstrap and command texts carry every value intact, the bootstrap registers
// the builtins from the script's own table, and opening the tools writes and runs the script once per
// editor run.

#include <gtest/gtest.h>

#include <filesystem>

#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/LogCapture.h"
#include "HostEditorSupport/MessageDialogLog.h"
#include "IPythonScriptPlugin.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "VNFaceSDKImportLibrary.h"
#include "VNToolScript.h"
#include "VNToolScriptHost.h"
#include "VantorelToolsTab.h"
#include "Widgets/Docking/SDockTab.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	IPythonScriptPlugin* LoadPython()
	{
		FModuleManager::Get().AddBinariesDirectory(TEXT(VN_MODULE_BINARIES_DIR), false);
		return FModuleManager::LoadModulePtr<IPythonScriptPlugin>(TEXT("PythonScriptPlugin"));
	}

	/** Evaluates a Python expression; its repr, or the error text. */
	FString Evaluate(IPythonScriptPlugin& Python, const FString& Expression)
	{
		FPythonCommandEx Command;
		Command.ExecutionMode = EPythonCommandExecutionMode::EvaluateStatement;
		Command.Command = Expression;
		Python.ExecPythonCommandEx(Command);
		return Command.CommandResult;
	}

	/** Runs a statement in the console's globals, where Evaluate finds what it assigns; whether it succeeded. */
	bool ExecuteStatement(IPythonScriptPlugin& Python, const FString& Statement)
	{
		FPythonCommandEx Command;
		Command.ExecutionMode = EPythonCommandExecutionMode::ExecuteStatement;
		Command.Command = Statement;
		return Python.ExecPythonCommandEx(Command);
	}

	/** Hex of the UTF-8 bytes of Text, as Python's str.encode('utf-8').hex() writes it. */
	FString Utf8Hex(const FString& Text)
	{
		const std::string Bytes = Narrow(Text);
		FString Hex;
		for (const unsigned char Byte : Bytes)
		{
			Hex += FString::Printf(TEXT("%02x"), static_cast<uint32>(Byte));
		}
		return TEXT("'") + Hex + TEXT("'");
	}

	/** The editor module's own log category. */
	const FName EditorLog(TEXT("LogVantorelUnrealEditor"));

	const TCHAR* const HostileValues[] = {
		TEXT("C:/Proj/Hero.fbx"),
		TEXT("C:/O'Brien/Hero.fbx"),
		TEXT("x'); import builtins; builtins.vn_injected = True; ('"),
		TEXT("ends with a backslash\\"),
		TEXT("quote \" and \\' and \\\\ mixed"),
		TEXT("line\nbreak\rand\ttab\x01"),
		TEXT("Ünïcödé/Ĥero.fbx"),
	};
}

TEST(ToolScriptHost, PythonStringLiteralsCarryEveryValueExactlyAndRunNothing)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	for (const TCHAR* Value : HostileValues)
	{
		const FString Literal = VantorelToolScriptHost::ToPythonStringLiteral(Value);
		EXPECT_EQ(Evaluate(*Python, Literal + TEXT(".encode('utf-8').hex()")), Utf8Hex(Value)) << Narrow(Literal);
	}
	EXPECT_EQ(Evaluate(*Python, TEXT("hasattr(__import__('builtins'), 'vn_injected')")), TEXT("False"));
}

TEST(ToolScriptHost, CommandValuesSurviveADoubleQuotedString)
{
	EXPECT_EQ(VantorelToolScriptHost::EscapeCommandValue(TEXT("C:\\a\"b")), TEXT("C:\\\\a\\\"b"));
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	const FString MeshPath = TEXT("/Game/Odd\"Name\\Dir/Mesh.Mesh");
	EXPECT_EQ(Evaluate(*Python, TEXT("\"") + VantorelToolScriptHost::EscapeCommandValue(MeshPath) + TEXT("\".encode('utf-8').hex()")), Utf8Hex(MeshPath));
	// Line breaks, tabs, other control characters, non-ASCII letters and text that looks like code
	// all stay inside the one string.
	for (const FString& Value : {FString(TEXT("C:/Two\nLines\r\n")), FString(TEXT("Tab\there\x01\x7f")), FString(TEXT("H\u00e9ros/\u9854/\u0416.json")),
			 FString(TEXT("\"); import os; os.remove(\"x\"); (\"")), FString(TEXT("trailing\\"))})
	{
		EXPECT_EQ(Evaluate(*Python, TEXT("\"") + VantorelToolScriptHost::EscapeCommandValue(Value) + TEXT("\".encode('utf-8').hex()")), Utf8Hex(Value)) << TCHAR_TO_UTF8(*Value);
		const FString Escaped = VantorelToolScriptHost::EscapeCommandValue(Value);
		EXPECT_FALSE(Escaped.Contains(TEXT("\n")) || Escaped.Contains(TEXT("\r"))) << "a raw line break would end the command's line";
	}
}

TEST(ToolScriptHost, TheRigBuildAndMeshActionCommandsAreTheScriptsOneLineCalls)
{
	VantorelToolScriptHost::FRigBuildValues Values;
	Values.MeshPath = TEXT("/Game/Hero/SK_Hero.SK_Hero");
	Values.BodyTemplateFile = TEXT("C:\\Engine\\CR_Mannequin_Body.uasset");
	Values.BodyJsonFile = TEXT("D:/Hero/Hero_BodyRig.json");
	Values.BodySource = TEXT("Generate from JSON");
	Values.FaceJsonFile = TEXT("D:/Hero/He\"ro_FaceRig.json");
	Values.Mode = TEXT("Body+Face");
	Values.bIncludeBackwardsSolve = true;
	Values.bIncludeDrivingSystems = false;
	Values.bIncludeTwistSolution = true;
	Values.bIncludeCustomControllers = false;
	EXPECT_EQ(VantorelToolScriptHost::MakeRigBuildCommand(Values),
		TEXT("import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset(\"/Game/Hero/SK_Hero.SK_Hero\")); ")
		TEXT("builtins.vn_set_body_control_rig_template_file(\"C:\\\\Engine\\\\CR_Mannequin_Body.uasset\"); builtins.vn_set_body_json_file(\"D:/Hero/Hero_BodyRig.json\"); ")
		TEXT("builtins.vn_set_body_control_rig_source(\"Generate from JSON\"); builtins.vn_set_face_json_file(\"D:/Hero/He\\\"ro_FaceRig.json\"); ")
		TEXT("builtins.vn_set_control_rig_mode(\"Body+Face\"); builtins.vn_set_body_rig_options(True, False, True); builtins.vn_set_include_custom_controllers(False); ")
		TEXT("builtins.vn_run_create_control_rig()"));
	EXPECT_EQ(VantorelToolScriptHost::MakeMeshActionCommand(TEXT("/Game/A\"B.A\"B"), TEXT("vn_run_set_retarget_options")),
		TEXT("import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset(\"/Game/A\\\"B.A\\\"B\")); builtins.vn_run_set_retarget_options()"));
}

TEST(ToolScriptHost, BootstrapHandsOverHostValuesRunsTheFileAndRegistersTheScriptsTable)
{
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	const FString ScriptFile = FString(UTF8_TO_TCHAR((std::filesystem::temp_directory_path() / "vn_bootstrap_probe's.py").string().c_str()));
	// A script function with a builtin's name but missing from the table must stay unregistered.
	const FString Probe = TEXT(
		"import builtins\n"
		"builtins.vn_probe_host = (SOURCE_FILE, INCLUDE_VN_FACE_SOLVER, json_file)\n"
		"def set_body_json_file(*args): return 'set_body_json_file'\n"
		"def vn_run_create_control_rig(): return 'not in the table'\n"
		"VANTOREL_BUILTINS = {'vn_set_body_json_file': set_body_json_file, 'vn_probe_action': lambda: 'from the table'}\n");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Probe, *ScriptFile, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));

	HostEditor::FLogCapture Log;
	const FString Bootstrap = VantorelToolScriptHost::MakeBootstrapCommand(TEXT("C:/O'Brien/Hero.fbx"), false, TEXT("D:/Faces/Hero_FaceRig.json"), ScriptFile);
	ASSERT_TRUE(Python->ExecPythonCommand(*Bootstrap));
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Log, TEXT("Vantorel: Python builtins registered successfully")), 1);
	EXPECT_EQ(Evaluate(*Python, TEXT("__import__('builtins').vn_probe_host")), TEXT("(\"C:/O'Brien/Hero.fbx\", False, 'D:/Faces/Hero_FaceRig.json')"));
	EXPECT_EQ(Evaluate(*Python, TEXT("__import__('builtins').vn_set_body_json_file()")), TEXT("'set_body_json_file'"));
	EXPECT_EQ(Evaluate(*Python, TEXT("__import__('builtins').vn_probe_action()")), TEXT("'from the table'"));
	EXPECT_EQ(Evaluate(*Python, TEXT("hasattr(__import__('builtins'), 'vn_run_create_control_rig')")), TEXT("False")) << "the bootstrap names no function itself";

	// A script without the table fails the bootstrap, which then does not claim success.
	ASSERT_TRUE(FFileHelper::SaveStringToFile(FString(TEXT("def set_body_json_file(): pass\n")), *ScriptFile, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));
	Log.Reset();
	EXPECT_FALSE(Python->ExecPythonCommand(*Bootstrap));
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Error, TEXT("NameError: name 'VANTOREL_BUILTINS' is not defined")), 1);
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Log, TEXT("registered successfully")), 0);
	std::filesystem::remove(TCHAR_TO_UTF8(*ScriptFile));
}

namespace
{
	/** Starts an editor run with Python on a new project. */
	void StartOnNewProject(const char* Project)
	{
		ASSERT_NE(LoadPython(), nullptr);
		const std::filesystem::path ProjectDir = std::filesystem::temp_directory_path() / "vn_tool_script_host" / Project;
		std::filesystem::remove_all(ProjectDir);
		FString Error;
		ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
	}
}

TEST(ToolScriptHost, TheRealScriptRegistersExactlyItsFourteenBuiltinsEachCallable)
{
	StartOnNewProject("RealBuiltins");
	if (HasFatalFailure())
	{
		return;
	}
	IPythonScriptPlugin* Python = IPythonScriptPlugin::Get();
	ASSERT_NE(Python, nullptr);
	ASSERT_TRUE(ExecuteStatement(*Python, TEXT("import builtins as _vn_builtins; _vn_builtins_before = set(vars(_vn_builtins))")));
	// Opening the tools runs the real script under the bootstrap.
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	const FString Expected = TEXT("['vn_run_create_body_control_rig', 'vn_run_create_control_rig', 'vn_run_create_face_control_rig', ")
		TEXT("'vn_run_set_retarget_options', 'vn_run_set_third_person_character', 'vn_set_body_control_rig_source', ")
		TEXT("'vn_set_body_control_rig_template', 'vn_set_body_control_rig_template_file', 'vn_set_body_json_file', ")
		TEXT("'vn_set_body_rig_options', 'vn_set_control_rig_mode', 'vn_set_face_json_file', ")
		TEXT("'vn_set_include_custom_controllers', 'vn_set_target_skeletal_mesh']");
	// Dunder names are the interpreter's own (pybind11 keeps its internals there when unreal is first imported).
	EXPECT_EQ(Narrow(Evaluate(*Python, TEXT("sorted(name for name in set(vars(_vn_builtins)) - _vn_builtins_before if not name.startswith('__'))"))), Narrow(Expected))
		<< "nothing more and nothing less is added";
	EXPECT_EQ(Narrow(Evaluate(*Python, TEXT("[name for name in ") + Expected + TEXT(" if not callable(getattr(_vn_builtins, name, None))]"))), "[]");
}

TEST(ToolScriptHost, TheThirdPersonCharacterBuiltinReachesTheActionAndReportsAMissingMesh)
{
	StartOnNewProject("ThirdPerson");
	if (HasFatalFailure())
	{
		return;
	}
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	IPythonScriptPlugin* Python = IPythonScriptPlugin::Get();
	ASSERT_NE(Python, nullptr);
	HostEditor::ResetMessageDialogs();
	HostEditor::FLogCapture Log;
	EXPECT_TRUE(Python->ExecPythonCommand(TEXT("import builtins; builtins.vn_run_set_third_person_character()"))) << "the action reports its failure and raises nothing";
	const TArray<HostEditor::FMessageDialogRecord>& Dialogs = HostEditor::GetMessageDialogs();
	ASSERT_EQ(Dialogs.Num(), 1);
	EXPECT_EQ(Narrow(Dialogs[0].Title), "Vantorel");
	EXPECT_EQ(Narrow(Dialogs[0].Message), "Set Character failed:\nChoose a SkeletalMesh in Mannequin Exported, or select one in the Content Browser, first.");
	int32 NameErrors = 0;
	for (const HostEditor::FLogLine& Line : Log.GetLines())
	{
		NameErrors += Line.Text.Contains(TEXT("NameError")) ? 1 : 0;
	}
	EXPECT_EQ(NameErrors, 0);
}

TEST(ToolScriptHost, OpeningTheToolsTwiceWritesAndRunsTheScriptOnce)
{
	ASSERT_NE(LoadPython(), nullptr);
	const std::filesystem::path ProjectDir = std::filesystem::temp_directory_path() / "vn_tool_script_host" / "Project";
	std::filesystem::remove_all(ProjectDir);
	FString Error;
	ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
	ASSERT_NE(HostEditor::CreateSkeletalMesh(TEXT("/Game/Chars/Hero/Hero"), {{TEXT("root"), NAME_None, FTransform::Identity}}, 1.0f, Error), nullptr) << Narrow(Error);
	HostEditor::SelectAssets({TEXT("/Game/Chars/Hero/Hero.Hero")});

	HostEditor::FLogCapture Log;
	UVNFaceSDKImportLibrary::OpenVantorelTools(TEXT("C:\\Proj\\Hero.fbx"), true, true, FString(), FString());
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("Vantorel tools target SkeletalMesh path: '' resolved: yes")), 1) << "the selected mesh is taken";
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("Vantorel: Loading Python tool script (embedded)")), 1);
	EXPECT_EQ(Log.Count(TEXT("LogTemp"), ELogVerbosity::Display), 0) << "opening the tools writes nothing to LogTemp";
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Log, TEXT("Vantorel: Python builtins registered successfully")), 1) << "the real script ran under the bootstrap";
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Error), 0);
	FString Written;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Written, *FPaths::Combine(FPaths::ProjectIntermediateDir(), TEXT("vn_tool_check.py"))));
	EXPECT_EQ(Written, VantorelToolScript::DecodeScript());

	const std::filesystem::path ScriptPath = ProjectDir / "Intermediate" / "vn_tool_check.py";
	std::filesystem::remove(ScriptPath);
	Log.Reset();
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, TEXT("/Game/Chars/Missing.Missing"), FString());
	HostEditor::SelectAssets({});
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, TEXT("/Game/Chars/Missing.Missing"), FString());
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("resolved: yes")), 1) << "a missing path falls back to the selection";
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("'/Game/Chars/Missing.Missing' resolved: no")), 1);
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("Loading Python tool script")), 0);
	EXPECT_FALSE(std::filesystem::exists(ScriptPath)) << "later openings neither write nor run the script";
}

TEST(ToolScriptHost, AScriptThatCannotBeWrittenIsReportedAndNotRun)
{
	StartOnNewProject("Unwritable");
	if (HasFatalFailure())
	{
		return;
	}
	// A folder where the script file belongs: the write fails whoever runs the test.
	const FString ScriptPath = FPaths::Combine(FPaths::ProjectIntermediateDir(), VantorelToolScriptHost::ScriptFileName);
	ASSERT_TRUE(std::filesystem::create_directories(TCHAR_TO_UTF8(*ScriptPath)));

	HostEditor::FLogCapture Log;
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Error, TEXT("Vantorel: could not write the Python tool script to '")), 1);
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Error), 0) << "the bootstrap was not sent";
	EXPECT_EQ(Log.Count(TEXT("LogPython"), ELogVerbosity::Log, TEXT("registered successfully")), 0);
	IPythonScriptPlugin* Python = IPythonScriptPlugin::Get();
	ASSERT_NE(Python, nullptr);
	EXPECT_EQ(Evaluate(*Python, TEXT("hasattr(__import__('builtins'), 'vn_set_control_rig_mode')")), TEXT("False"));
	EXPECT_TRUE(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(VantorelToolsTab::TabId)).IsValid()) << "the tools still open";
}

TEST(ToolScriptHost, ANewEditorRunWritesAndRunsTheScriptAgainWhereARestartDoesNot)
{
	const std::filesystem::path Root = std::filesystem::temp_directory_path() / "vn_tool_script_host" / "Runs";
	std::filesystem::remove_all(Root);
	const auto Start = [&Root](const char* Project)
	{
		FString Error;
		return HostEditor::StartEditor(FString(UTF8_TO_TCHAR((Root / Project).string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error);
	};
	const auto Registered = []()
	{
		int32 Found = 0;
		for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
		{
			Found += Line.Category == FName(TEXT("LogPython")) && Line.Text == TEXT("Vantorel: Python builtins registered successfully") ? 1 : 0;
		}
		return Found;
	};

	ASSERT_NE(LoadPython(), nullptr);
	ASSERT_TRUE(Start("First"));
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	EXPECT_EQ(Registered(), 1);
	ASSERT_TRUE(Start("First"));
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	EXPECT_EQ(Registered(), 0) << "a restart on a project stays in the same editor run";

	HostEditor::ShutdownEditor();
	IPythonScriptPlugin* Python = LoadPython();
	ASSERT_NE(Python, nullptr);
	EXPECT_EQ(Evaluate(*Python, TEXT("hasattr(__import__('builtins'), 'vn_set_control_rig_mode')")), TEXT("False")) << "the builtins went with the run";
	ASSERT_TRUE(Start("Second"));
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	EXPECT_EQ(Registered(), 1) << "the next editor run loads the script again";
	EXPECT_TRUE(std::filesystem::exists(Root / "Second" / "Intermediate" / "vn_tool_check.py"));
	std::filesystem::remove_all(Root);
}

TEST(ToolScriptHost, WithoutPythonTheToolsOpenAndTheScriptIsNeverTried)
{
	ASSERT_EQ(IPythonScriptPlugin::Get(), nullptr) << "each test's editor run has no Python until the host loads it";
	FModuleManager::Get().SetModuleAvailable(TEXT("PythonScriptPlugin"), false);
	const std::filesystem::path ProjectDir = std::filesystem::temp_directory_path() / "vn_tool_script_host" / "NoPython";
	std::filesystem::remove_all(ProjectDir);
	FString Error;
	ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);

	HostEditor::FLogCapture Log;
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	UVNFaceSDKImportLibrary::OpenVantorelTools(FString(), true, true, FString(), FString());
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Error, TEXT("Vantorel: Python script plugin not available")), 1) << "reported once per editor run";
	EXPECT_EQ(Log.Count(EditorLog, ELogVerbosity::Display, TEXT("resolved: no")), 2);
	EXPECT_FALSE(std::filesystem::exists(ProjectDir / "Intermediate" / "vn_tool_check.py"));
	const int32 LinesBefore = Log.GetLines().Num();
	VantorelToolScriptHost::SendCommand(TEXT("print('never runs')"));
	EXPECT_EQ(Log.GetLines().Num(), LinesBefore) << "without Python a command does nothing";
	FModuleManager::Get().SetModuleAvailable(TEXT("PythonScriptPlugin"), true);
}
