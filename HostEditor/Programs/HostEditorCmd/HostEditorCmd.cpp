// HostEditor-Cmd: the headless editor on the command line. It starts the editor on a project folder,
// loads the plug-ins' modules and then does, in the order given, what a user would do in the
// editor: import files through the Content Browser, select assets, choose main-menu entries (such as
// "Vantorel > Vantorel Functions"), use the tools window's controls, type commands into the Python
// console, save, and evaluate a saved Control Rig with given control values. Every log line is
// printed as it is written, message boxes included, and the message boxes are listed at the end.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ControlRigBlueprint.h"
#include "CoreMinimal.h"
#include "FileHelpers.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorSupport/DesktopDialogs.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/RigEvaluation.h"
#include "HostEditorSupport/SlateUser.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "IPythonScriptPlugin.h"
#include "Misc/CoreDelegates.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"
#include "Widgets/Docking/SDockTab.h"

namespace
{
	const char* const UsageText =
		"Usage: HostEditor-Cmd <ProjectFolder> [options and actions]\n"
		"\n"
		"Starts the headless editor on the project folder (made when missing), discovers the plug-ins of\n"
		"its Plugins folder and of the plug-in folders named, loads their modules, then runs the actions\n"
		"in the order given. Each log line is printed as it is written (\"Category: Verbosity: text\"),\n"
		"what Python prints among them as LogPython lines; message boxes are answered as in unattended\n"
		"runs and listed at the end, with the web pages opened and the project switches asked for.\n"
		"\n"
		"Actions (each may be given more than once):\n"
		"  -Import=<File>              Import a file through the Content Browser into the current\n"
		"                              import folder.\n"
		"  -ImportDest=<Folder>        Content folder for the imports that follow (default /Game).\n"
		"  -Select=<Path>[,<Path>...]  Select assets in the Content Browser by object path\n"
		"                              (/Game/Hero/SK_Hero.SK_Hero), replacing the selection.\n"
		"  -OpenTools                  Choose Vantorel > Vantorel Functions in the main menu.\n"
		"  -Menu=<Entry>[><Entry>...]  Choose an entry of the level editor's main menu, each step by\n"
		"                              name or label (\"Vantorel>Vantorel Functions\").\n"
		"  -ShowTools                  Print the Vantorel tools window as an indented outline of its\n"
		"                              sections and controls with their values and states:\n"
		"                              [-]/[+] expanded/collapsed section, <Button>, [x] check box,\n"
		"                              (o) radio choice, [text] text box, [Choice v] drop-down,\n"
		"                              {/Game/Asset} asset picker, \"(disabled)\" after a disabled one.\n"
		"  -Click=<Control>            Click a button or a section's header in the tools window. A\n"
		"                              control is named by its label or tool tip, with the sections\n"
		"                              and row label around it when needed: \"Standard Exported>Create\n"
		"                              Control Rig\", \"Standard Exported>Body JSON File>Browse\".\n"
		"  -Expand=<Section>           Expand a section of the tools window (nothing when it is);\n"
		"                              -Collapse=<Section> collapses one.\n"
		"  -Pick=<Control>=<Item>      Choose a drop-down's item (\"Create ControlRig for:=Body+Face\")\n"
		"                              or a picker's asset by object path (None clears it).\n"
		"  -Type=<Control>=<Text>      Type a text box's new text and press Enter.\n"
		"  -Tick=<Control>             Tick a check box or radio choice; -Untick=<Control> clears one.\n"
		"  -Answer=<Path>              Answer the next file or folder dialog with a path.\n"
		"  -CancelDialog               Cancel the next file or folder dialog (a dialog with no answer\n"
		"                              queued is cancelled too).\n"
		"  -CloseTools                 Close the Vantorel tools tab.\n"
		"  -WaitDownloads[=<Seconds>]  Run the editor's frames until no download or other HTTP request\n"
		"                              is in flight (fails after the seconds given, default 120).\n"
		"  -ExecCmd=<Python>           Run a Python command text, as the Python console does.\n"
		"  -ExecFile=<File.py>         Run a Python file.\n"
		"  -SaveAll                    Save every asset with unsaved changes (File > Save All).\n"
		"  -ControlValue=<Control>=<Value>\n"
		"                              Give a control a value for the evaluations that follow, in the\n"
		"                              text of its type: true/false, a number, (X=..,Y=..,Z=..),\n"
		"                              (Pitch=..,Yaw=..,Roll=..) or a transform's text.\n"
		"  -EvalRuns=<Count>           How many forwards solves the evaluations that follow run\n"
		"                              (default 1).\n"
		"  -EvalRig=<Path>             Evaluate the saved Control Rig at the object path with the\n"
		"                              control values given so far: run its forwards solve and print\n"
		"                              every bone's global transform and the run report.\n"
		"\n"
		"Options:\n"
		"  -Plugins=<Folder>[,...]     Further folders to search for plug-ins; the default is the\n"
		"                              Plugins folder of the repository this program was built from.\n"
		"  -NoPython                   Start without the Python Editor Script plug-in, as in a project\n"
		"                              that does not enable it.\n"
		"  -Help                       Print this text.\n"
		"\n"
		"Exit status: 0 when the editor started and every action succeeded, 1 when something failed\n"
		"(the remaining actions still run), 2 for a command line that cannot be used.\n";

	/** Prints every log line to standard output, in the editor's own format. */
	class FStdOutLog : public FOutputDevice
	{
	public:
		FStdOutLog() { GLog->AddOutputDevice(this); }
		virtual ~FStdOutLog() override { GLog->RemoveOutputDevice(this); }
		FStdOutLog(const FStdOutLog&) = delete;
		FStdOutLog& operator=(const FStdOutLog&) = delete;

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			const ELogVerbosity::Type Level = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
			const FString Line = Level == ELogVerbosity::Log
				? FString::Printf(TEXT("%s: %s"), *Category.ToString(), V)
				: FString::Printf(TEXT("%s: %s: %s"), *Category.ToString(), ToString(Level), V);
			std::fputs(TCHAR_TO_UTF8(*Line), stdout);
			std::fputc('\n', stdout);
			std::fflush(stdout);
		}
	};

	enum class EAction
	{
		Import,
		ImportDest,
		Select,
		OpenTools,
		Menu,
		ExecCmd,
		ExecFile,
		SaveAll,
		ControlValue,
		EvalRuns,
		EvalRig,
		ShowTools,
		Click,
		Expand,
		Collapse,
		Pick,
		Type,
		Tick,
		Untick,
		Answer,
		CancelDialog,
		CloseTools,
		WaitDownloads,
	};

	struct FAction
	{
		EAction Kind;
		FString Value;
		FString Spelling;
	};

	struct FCommandLine
	{
		FString ProjectDir;
		TArray<FString> PluginDirectories;
		TArray<FAction> Actions;
		bool bHelp = false;
		bool bNoPython = false;
	};

	FString FromUtf8(const char* Text)
	{
		return FString(UTF8_TO_TCHAR(Text));
	}

	TArray<FString> SplitList(const FString& Value, const TCHAR* Separator)
	{
		TArray<FString> Parts;
		Value.ParseIntoArray(Parts, Separator, true);
		for (FString& Part : Parts)
		{
			Part.TrimStartAndEndInline();
		}
		return Parts;
	}

	/** Reads "-Key=Value" and "-Switch" arguments, keys in any letter case, as the engine's tools do. */
	bool ParseCommandLine(int Argc, char** Argv, FCommandLine& Out, FString& OutError)
	{
		struct FKey
		{
			const TCHAR* Name;
			EAction Kind;
			bool bTakesValue;
			/** A value may follow, or not. */
			bool bValueOptional = false;
		};
		static const FKey ActionKeys[] = {
			{TEXT("Import"), EAction::Import, true},
			{TEXT("ImportDest"), EAction::ImportDest, true},
			{TEXT("Select"), EAction::Select, true},
			{TEXT("OpenTools"), EAction::OpenTools, false},
			{TEXT("Menu"), EAction::Menu, true},
			{TEXT("ExecCmd"), EAction::ExecCmd, true},
			{TEXT("ExecFile"), EAction::ExecFile, true},
			{TEXT("SaveAll"), EAction::SaveAll, false},
			{TEXT("ControlValue"), EAction::ControlValue, true},
			{TEXT("EvalRuns"), EAction::EvalRuns, true},
			{TEXT("EvalRig"), EAction::EvalRig, true},
			{TEXT("ShowTools"), EAction::ShowTools, false},
			{TEXT("Click"), EAction::Click, true},
			{TEXT("Expand"), EAction::Expand, true},
			{TEXT("Collapse"), EAction::Collapse, true},
			{TEXT("Pick"), EAction::Pick, true},
			{TEXT("Type"), EAction::Type, true},
			{TEXT("Tick"), EAction::Tick, true},
			{TEXT("Untick"), EAction::Untick, true},
			{TEXT("Answer"), EAction::Answer, true},
			{TEXT("CancelDialog"), EAction::CancelDialog, false},
			{TEXT("CloseTools"), EAction::CloseTools, false},
			{TEXT("WaitDownloads"), EAction::WaitDownloads, false, true},
		};
		for (int Index = 1; Index < Argc; ++Index)
		{
			const FString Argument = FromUtf8(Argv[Index]);
			if (!Argument.StartsWith(TEXT("-")))
			{
				if (!Out.ProjectDir.IsEmpty())
				{
					OutError = FString::Printf(TEXT("Only one project folder can be given; '%s' is a second."), *Argument);
					return false;
				}
				Out.ProjectDir = Argument;
				continue;
			}
			const FString Option = Argument.Mid(Argument.StartsWith(TEXT("--")) ? 2 : 1);
			FString Key = Option;
			FString Value;
			const bool bHasValue = Option.Split(TEXT("="), &Key, &Value, ESearchCase::CaseSensitive);
			if (Key.Equals(TEXT("Help"), ESearchCase::IgnoreCase) || Key.Equals(TEXT("h")) || Key.Equals(TEXT("?")))
			{
				Out.bHelp = true;
				continue;
			}
			if (Key.Equals(TEXT("NoPython"), ESearchCase::IgnoreCase) && !bHasValue)
			{
				Out.bNoPython = true;
				continue;
			}
			if (Key.Equals(TEXT("Plugins"), ESearchCase::IgnoreCase))
			{
				if (!bHasValue || Value.IsEmpty())
				{
					OutError = TEXT("-Plugins needs a folder: -Plugins=<Folder>.");
					return false;
				}
				Out.PluginDirectories.Append(SplitList(Value, TEXT(",")));
				continue;
			}
			const FKey* Found = nullptr;
			for (const FKey& Candidate : ActionKeys)
			{
				if (Key.Equals(Candidate.Name, ESearchCase::IgnoreCase))
				{
					Found = &Candidate;
				}
			}
			if (!Found)
			{
				OutError = FString::Printf(TEXT("Unknown option '%s'."), *Argument);
				return false;
			}
			if (Found->bTakesValue && (!bHasValue || Value.IsEmpty()))
			{
				OutError = FString::Printf(TEXT("-%s needs a value: -%s=<...>."), Found->Name, Found->Name);
				return false;
			}
			if (!Found->bTakesValue && !Found->bValueOptional && bHasValue)
			{
				OutError = FString::Printf(TEXT("-%s takes no value."), Found->Name);
				return false;
			}
			Out.Actions.Add(FAction{Found->Kind, Value, Argument});
		}
		if (!Out.bHelp && Out.ProjectDir.IsEmpty())
		{
			OutError = TEXT("No project folder was given.");
			return false;
		}
		return true;
	}

	/** The folder this program lies in, which is where the editor's module libraries are. */
	FString ProgramDirectory()
	{
		std::error_code Error;
		const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
		return Error ? FString(TEXT(VN_MODULE_BINARIES_DIR)) : FromUtf8(Program.parent_path().string().c_str());
	}

	void Report(const TCHAR* Format, const FString& Text)
	{
		std::printf("HostEditor-Cmd: %s\n", TCHAR_TO_UTF8(*FString::Printf(Format, *Text)));
		std::fflush(stdout);
	}

	bool RunPython(EPythonCommandExecutionMode Mode, const FString& Command)
	{
		IPythonScriptPlugin* Python = IPythonScriptPlugin::Get();
		if (!Python || !Python->IsPythonAvailable())
		{
			Report(TEXT("%s"), TEXT("the editor has no Python"));
			return false;
		}
		FPythonCommandEx PythonCommand;
		PythonCommand.ExecutionMode = Mode;
		PythonCommand.Command = Command;
		return Python->ExecPythonCommandEx(PythonCommand);
	}

	/** What the evaluation actions that follow use: the control values given and the number of runs. */
	struct FEvaluationSettings
	{
		TArray<TPair<FString, FString>> ControlValues;
		int32 Runs = 1;
	};

	/** Prints a transform as its translation, rotation (pitch, yaw, roll in degrees) and scale. */
	FString DescribeTransform(const FTransform& Transform)
	{
		const FVector T = Transform.GetTranslation();
		const FRotator R = Transform.Rotator();
		const FVector S = Transform.GetScale3D();
		return FString::Printf(TEXT("T=(%.4f, %.4f, %.4f) R=(%.4f, %.4f, %.4f) S=(%.4f, %.4f, %.4f)"), T.X, T.Y, T.Z, R.Pitch, R.Yaw, R.Roll, S.X, S.Y, S.Z);
	}

	/** Evaluates the rig at ObjectPath with the settings and prints its bones and run report. */
	bool EvaluateRig(const FString& ObjectPath, const FEvaluationSettings& Settings)
	{
		UControlRigBlueprint* Blueprint = LoadObject<UControlRigBlueprint>(nullptr, *ObjectPath);
		if (!Blueprint)
		{
			Report(TEXT("no Control Rig at %s"), ObjectPath);
			return false;
		}
		HostEditor::FRigEvaluation Evaluation(*Blueprint);
		bool bSucceeded = true;
		for (const TPair<FString, FString>& Value : Settings.ControlValues)
		{
			FString Error;
			if (!Evaluation.SetControlValueFromText(FName(*Value.Key), Value.Value, Error))
			{
				Report(TEXT("%s"), Error);
				bSucceeded = false;
			}
		}
		bSucceeded &= Evaluation.RunForwardsSolve(Settings.Runs);
		std::printf("== bones of %s after %d forwards solve%s\n", TCHAR_TO_UTF8(*ObjectPath), Settings.Runs, Settings.Runs == 1 ? "" : "s");
		for (const FRigElementKey& Bone : Evaluation.GetHierarchy().GetBoneKeys(true))
		{
			FTransform Global;
			Evaluation.GetGlobalTransform(Bone, Global);
			std::printf("%s %s\n", TCHAR_TO_UTF8(*Bone.Name.ToString()), TCHAR_TO_UTF8(*DescribeTransform(Global)));
		}
		std::printf("== run report\n%s", TCHAR_TO_UTF8(*HostEditor::DescribeRigRunReport(Evaluation.GetReport())));
		std::fflush(stdout);
		return bSucceeded;
	}

	const FName ToolsTabId(TEXT("VantorelTools"));

	/** The tools window's content; null, with a report, when the tools are not open. */
	TSharedPtr<SWidget> ToolsContent()
	{
		const TSharedPtr<SWidget> Content = HostEditor::FSlateUser::FindTabContent(ToolsTabId);
		if (!Content)
		{
			Report(TEXT("%s"), TEXT("the Vantorel tools are not open (-OpenTools opens them)"));
		}
		return Content;
	}

	/** Splits "<Control>=<Value>" at its first "="; false, with a report, when there is none. */
	bool SplitControlValue(const FAction& Action, const TCHAR* Name, FString& OutControl, FString& OutValue)
	{
		if (!Action.Value.Split(TEXT("="), &OutControl, &OutValue) || OutControl.TrimStartAndEnd().IsEmpty())
		{
			Report(TEXT("%s"), FString::Printf(TEXT("-%s needs a control and a value: -%s=<Control>=<Value>, not %s"), Name, Name, *Action.Value));
			return false;
		}
		OutControl.TrimStartAndEndInline();
		return true;
	}

	bool RunToolsAction(const FAction& Action)
	{
		const TSharedPtr<SWidget> Content = ToolsContent();
		if (!Content)
		{
			return false;
		}
		const TSharedRef<SWidget> Root = Content.ToSharedRef();
		FString Error;
		bool bDone = false;
		FString Control, Value;
		switch (Action.Kind)
		{
		case EAction::ShowTools:
		{
			const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTabId));
			std::printf("== tools window: %s\n%s", TCHAR_TO_UTF8(*Tab->GetTabLabel().ToString()), TCHAR_TO_UTF8(*HostEditor::FSlateUser::Outline(Root)));
			std::fflush(stdout);
			return true;
		}
		case EAction::Click:
			bDone = HostEditor::FSlateUser::Click(Root, Action.Value, Error);
			break;
		case EAction::Expand:
		case EAction::Collapse:
			bDone = HostEditor::FSlateUser::SetExpanded(Root, Action.Value, Action.Kind == EAction::Expand, Error);
			break;
		case EAction::Pick:
			bDone = SplitControlValue(Action, TEXT("Pick"), Control, Value) && HostEditor::FSlateUser::Pick(Root, Control, Value, Error);
			break;
		case EAction::Type:
			bDone = SplitControlValue(Action, TEXT("Type"), Control, Value) && HostEditor::FSlateUser::Type(Root, Control, Value, Error);
			break;
		case EAction::Tick:
		case EAction::Untick:
			bDone = HostEditor::FSlateUser::SetChecked(Root, Action.Value, Action.Kind == EAction::Tick, Error);
			break;
		default:
			return false;
		}
		if (!bDone && !Error.IsEmpty())
		{
			Report(TEXT("%s"), Error);
		}
		return bDone;
	}

	bool RunAction(const FAction& Action, FString& ImportFolder, FEvaluationSettings& Evaluation)
	{
		switch (Action.Kind)
		{
		case EAction::ImportDest:
			ImportFolder = Action.Value;
			return true;
		case EAction::Import:
		{
			const FString File = FPaths::ConvertRelativePathToFull(Action.Value);
			const TArray<UObject*> Created = HostEditor::ImportFile(File, ImportFolder);
			for (const UObject* Object : Created)
			{
				Report(TEXT("imported %s"), Object->GetPathName());
			}
			if (Created.IsEmpty())
			{
				Report(TEXT("nothing was imported from %s"), File);
			}
			return !Created.IsEmpty();
		}
		case EAction::Select:
			HostEditor::SelectAssets(SplitList(Action.Value, TEXT(",")));
			return true;
		case EAction::OpenTools:
		case EAction::Menu:
		{
			const TArray<FString> Path = Action.Kind == EAction::OpenTools ? TArray<FString>{TEXT("Vantorel"), TEXT("VantorelFunctions")} : SplitList(Action.Value, TEXT(">"));
			FString Error;
			if (!HostEditor::InvokeMenuEntry(TEXT("LevelEditor.MainMenu"), Path, Error))
			{
				Report(TEXT("cannot choose the menu entry: %s"), Error);
				return false;
			}
			return true;
		}
		case EAction::ExecCmd:
			return RunPython(EPythonCommandExecutionMode::ExecuteStatement, Action.Value);
		case EAction::ExecFile:
			return RunPython(EPythonCommandExecutionMode::ExecuteFile, FPaths::ConvertRelativePathToFull(Action.Value));
		case EAction::SaveAll:
			return UEditorLoadingAndSavingUtils::SaveDirtyPackages(true, true);
		case EAction::ControlValue:
		{
			FString Control, Value;
			if (!Action.Value.Split(TEXT("="), &Control, &Value) || Control.TrimStartAndEnd().IsEmpty())
			{
				Report(TEXT("-ControlValue needs a control and a value: -ControlValue=<Control>=<Value>, not %s"), Action.Value);
				return false;
			}
			Evaluation.ControlValues.Add(TPair<FString, FString>(Control.TrimStartAndEnd(), Value));
			return true;
		}
		case EAction::EvalRuns:
		{
			const FString Count = Action.Value.TrimStartAndEnd();
			if (!Count.IsNumeric() || FCString::Atoi(*Count) < 1 || Count.Contains(TEXT(".")))
			{
				Report(TEXT("-EvalRuns needs a whole number of at least 1, not %s"), Action.Value);
				return false;
			}
			Evaluation.Runs = FCString::Atoi(*Count);
			return true;
		}
		case EAction::EvalRig:
			return EvaluateRig(Action.Value.TrimStartAndEnd(), Evaluation);
		case EAction::ShowTools:
		case EAction::Click:
		case EAction::Expand:
		case EAction::Collapse:
		case EAction::Pick:
		case EAction::Type:
		case EAction::Tick:
		case EAction::Untick:
			return RunToolsAction(Action);
		case EAction::Answer:
			HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(Action.Value));
			return true;
		case EAction::CancelDialog:
			HostEditor::QueueDesktopDialogAnswer(TOptional<FString>());
			return true;
		case EAction::CloseTools:
		{
			const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTabId));
			if (!Tab)
			{
				Report(TEXT("%s"), TEXT("the Vantorel tools are not open"));
				return false;
			}
			Tab->RequestCloseTab();
			return true;
		}
		case EAction::WaitDownloads:
		{
			const FString Given = Action.Value.TrimStartAndEnd();
			if (!Given.IsEmpty() && (!Given.IsNumeric() || FCString::Atod(*Given) <= 0.0))
			{
				Report(TEXT("-WaitDownloads needs a number of seconds above 0, not %s"), Action.Value);
				return false;
			}
			const double Timeout = Given.IsEmpty() ? 120.0 : FCString::Atod(*Given);
			if (!HostEditor::RunFramesUntil([]() { return FHttpModule::Get().GetHttpManager().GetNumRequestsInFlight() == 0; }, Timeout))
			{
				Report(TEXT("HTTP requests were still in flight after %s s"), FString::Printf(TEXT("%.1f"), Timeout));
				return false;
			}
			return true;
		}
		}
		return false;
	}

	const TCHAR* AnswerName(EAppReturnType::Type Answer)
	{
		switch (Answer)
		{
		case EAppReturnType::No: return TEXT("No");
		case EAppReturnType::Yes: return TEXT("Yes");
		case EAppReturnType::YesAll: return TEXT("Yes to all");
		case EAppReturnType::NoAll: return TEXT("No to all");
		case EAppReturnType::Cancel: return TEXT("Cancel");
		case EAppReturnType::Ok: return TEXT("OK");
		case EAppReturnType::Retry: return TEXT("Retry");
		case EAppReturnType::Continue: return TEXT("Continue");
		}
		return TEXT("?");
	}

	void PrintMessageBoxes()
	{
		const TArray<HostEditor::FMessageDialogRecord>& Boxes = HostEditor::GetMessageDialogs();
		std::printf("== %d message box%s\n", Boxes.Num(), Boxes.Num() == 1 ? "" : "es");
		for (const HostEditor::FMessageDialogRecord& Box : Boxes)
		{
			std::printf("[%s] %s\n", TCHAR_TO_UTF8(*Box.Title), TCHAR_TO_UTF8(*Box.Message));
			// A box that offers a choice also shows the answer the unattended editor gave.
			if (Box.Type != EAppMsgType::Ok)
			{
				std::printf("  -> %s\n", TCHAR_TO_UTF8(AnswerName(Box.Result)));
			}
		}
		std::fflush(stdout);
	}

	/** What the editor handed to the desktop: web pages and project switches (shown only when there were some). */
	void PrintExternalLaunches()
	{
		const TArray<FString>& Pages = HostEditor::GetLaunchedURLs();
		if (!Pages.IsEmpty())
		{
			std::printf("== %d web page%s opened\n", Pages.Num(), Pages.Num() == 1 ? "" : "s");
			for (const FString& Page : Pages)
			{
				std::printf("%s\n", TCHAR_TO_UTF8(*Page));
			}
		}
		for (const HostEditor::FProjectSwitchRecord& Switch : HostEditor::GetProjectSwitches())
		{
			std::printf("== project switch: %s\n", TCHAR_TO_UTF8(*Switch.RestartCommand));
		}
		std::fflush(stdout);
	}
}

int main(int Argc, char** Argv)
{
	FCommandLine CommandLine;
	FString Error;
	if (!ParseCommandLine(Argc, Argv, CommandLine, Error))
	{
		std::fprintf(stderr, "HostEditor-Cmd: %s\n\n%s", TCHAR_TO_UTF8(*Error), UsageText);
		return 2;
	}
	if (CommandLine.bHelp)
	{
		std::fputs(UsageText, stdout);
		return 0;
	}
	if (CommandLine.PluginDirectories.IsEmpty())
	{
		CommandLine.PluginDirectories.Add(TEXT(VN_PLUGINS_DIR));
	}

	FStdOutLog StdOut;
	FModuleManager::Get().AddBinariesDirectory(*ProgramDirectory(), false);
	// The Python Editor Script plug-in is an engine plug-in: it loads before the project's plug-ins.
	if (!CommandLine.bNoPython && !FModuleManager::Get().LoadModule(TEXT("PythonScriptPlugin")))
	{
		Report(TEXT("%s"), TEXT("the Python Editor Script plug-in could not be loaded; the editor runs without Python"));
	}
	bool bAllSucceeded = HostEditor::StartEditor(CommandLine.ProjectDir, CommandLine.PluginDirectories, Error);
	if (!bAllSucceeded && !HostEditor::IsEditorStarted())
	{
		Report(TEXT("the editor did not start: %s"), Error);
		return 1;
	}
	if (!bAllSucceeded)
	{
		Report(TEXT("the editor started, but %s"), Error);
	}

	FString ImportFolder = TEXT("/Game");
	FEvaluationSettings Evaluation;
	for (const FAction& Action : CommandLine.Actions)
	{
		if (!RunAction(Action, ImportFolder, Evaluation))
		{
			Report(TEXT("failed: %s"), Action.Spelling);
			bAllSucceeded = false;
		}
	}

	PrintMessageBoxes();
	PrintExternalLaunches();
	FCoreDelegates::OnEnginePreExit.Broadcast();
	FModuleManager::Get().UnloadModulesAtShutdown();
	return bAllSucceeded ? 0 : 1;
}
