#include "PyHostEditor.h"

#include <pybind11/stl.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "ControlRigBlueprint.h"
#include "CoreMinimal.h"
#include "Animation/Skeleton.h"
#include "Engine/SkeletalMesh.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorSupport/AnimSequenceAccess.h"
#include "HostEditorSupport/ContentBrowserSelection.h"
#include "HostEditorSupport/DesktopDialogs.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/RigEvaluation.h"
#include "HostEditorSupport/SlateRecord.h"
#include "HostEditorSupport/SlateUser.h"
#include "HostEditorSupport/ThirdPersonTemplates.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Widgets/Docking/SDockTab.h"
#include "Modules/ModuleManager.h"
#include "Widgets/SWindow.h"
#include "UObject/Class.h"
#include "UObject/NoExportTypes.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace py = pybind11;

namespace HostEditorPython
{
	namespace
	{
		std::string ToUtf8(const FString& Text)
		{
			return std::string(TCHAR_TO_UTF8(*Text));
		}

		FString FromUtf8(const std::string& Text)
		{
			return FString(UTF8_TO_TCHAR(Text.c_str()));
		}

		const char* VerbosityName(ELogVerbosity::Type Verbosity)
		{
			switch (Verbosity)
			{
			case ELogVerbosity::Fatal:
				return "Fatal";
			case ELogVerbosity::Error:
				return "Error";
			case ELogVerbosity::Warning:
				return "Warning";
			case ELogVerbosity::Display:
				return "Display";
			case ELogVerbosity::Verbose:
				return "Verbose";
			case ELogVerbosity::VeryVerbose:
				return "VeryVerbose";
			default:
				return "Log";
			}
		}

		/** Reads a struct value of type T from its exported text; the empty text gives Default. */
		template <typename T>
		T StructFromText(const std::string& Text, const T& Default, const char* What)
		{
			T Value = Default;
			if (Text.empty())
			{
				return Value;
			}
			const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, StaticStruct<T>());
			const FString Buffer = FromUtf8(Text);
			const TCHAR* End = Property.ImportText_Direct(*Buffer, &Value, nullptr, PPF_None);
			if (!End || *PropertyTextUtils::SkipWhitespace(End))
			{
				throw py::value_error("'" + Text + "' is not " + What);
			}
			return Value;
		}
	}

	namespace
	{
		/** A control value from its kind ("bool", "float", "int" or a struct name) and its value or text. */
		FRigControlValue MakeControlValue(const std::string& Kind, const py::object& Value)
		{
			if (Kind == "bool") { return URigHierarchy::MakeControlValueFromBool(Value.cast<bool>()); }
			if (Kind == "float") { return URigHierarchy::MakeControlValueFromFloat(Value.cast<float>()); }
			if (Kind == "int") { return URigHierarchy::MakeControlValueFromInt(Value.cast<int32>()); }
			const std::string Text = Value.cast<std::string>();
			if (Kind == "Vector2D") { return URigHierarchy::MakeControlValueFromVector2D(StructFromText(Text, FVector2D::ZeroVector, "a Vector2D")); }
			if (Kind == "Vector") { return URigHierarchy::MakeControlValueFromVector(StructFromText(Text, FVector::ZeroVector, "a Vector")); }
			if (Kind == "Rotator") { return URigHierarchy::MakeControlValueFromRotator(StructFromText(Text, FRotator::ZeroRotator, "a Rotator")); }
			if (Kind == "Transform") { return URigHierarchy::MakeControlValueFromTransform(StructFromText(Text, FTransform::Identity, "a Transform")); }
			if (Kind == "EulerTransform") { return URigHierarchy::MakeControlValueFromEulerTransform(StructFromText(Text, FEulerTransform::Identity, "an EulerTransform")); }
			throw py::type_error("control values are bool, float, int, Vector2D, Vector, Rotator, Transform or EulerTransform, not " + Kind);
		}

		/** Whether a value of the kind MakeControlValue takes fits a control of the type. */
		bool KindFitsControl(const std::string& Kind, ERigControlType Type)
		{
			switch (Type)
			{
			case ERigControlType::Bool: return Kind == "bool";
			case ERigControlType::Float:
			case ERigControlType::ScaleFloat: return Kind == "float" || Kind == "int";
			case ERigControlType::Integer: return Kind == "int";
			case ERigControlType::Vector2D: return Kind == "Vector2D";
			case ERigControlType::Position:
			case ERigControlType::Scale: return Kind == "Vector";
			case ERigControlType::Rotator: return Kind == "Rotator";
			case ERigControlType::Transform:
			case ERigControlType::TransformNoScale: return Kind == "Transform";
			case ERigControlType::EulerTransform: return Kind == "EulerTransform";
			}
			return false;
		}

		py::dict ReportToDict(const HostEditor::FRigRunReport& Report)
		{
			py::dict Result;
			Result["events_run"] = Report.EventsRun;
			Result["nodes_executed"] = Report.NodesExecuted;
			py::dict Units;
			for (const TPair<FString, int32>& Unit : Report.UnitsPerType)
			{
				Units[py::str(ToUtf8(Unit.Key))] = Unit.Value;
			}
			Result["units_per_type"] = Units;
			const auto ToList = [](const TArray<FString>& Lines) {
				std::vector<std::string> List;
				for (const FString& Line : Lines)
				{
					List.push_back(ToUtf8(Line));
				}
				return List;
			};
			Result["errors"] = ToList(Report.Errors);
			Result["warnings"] = ToList(Report.Warnings);
			Result["nodes_never_run"] = ToList(Report.NodesNeverRun);
			Result["text"] = ToUtf8(HostEditor::DescribeRigRunReport(Report));
			return Result;
		}
	}

	void DefineHostEditor(py::module_& Module)
	{
		Module.def("default_object_path", [](const std::string& ClassPath) -> py::object {
			UClass* Class = static_cast<UClass*>(StaticFindObject(UClass::StaticClass(), nullptr, *FromUtf8(ClassPath)));
			UObject* Default = Class ? Class->GetDefaultObject() : nullptr;
			return Default ? py::cast(ToUtf8(Default->GetPathName())) : py::none();
		});

		py::module_ Editor = Module.def_submodule("hosteditor", "The headless editor's session, for tests and the host program.");
		Editor.def("start", [](const std::string& ProjectDir, const std::vector<std::string>& PluginDirs) {
			// An editor that runs Python has the Python Editor Script plug-in, and this one runs Python:
			// the plug-in (an engine plug-in, so before the project's plug-ins) uses the running interpreter.
			if (!FModuleManager::Get().LoadModule(TEXT("PythonScriptPlugin")))
			{
				throw std::runtime_error("The Python Editor Script plug-in (PythonScriptPlugin) could not be loaded.");
			}
			TArray<FString> Directories;
			for (const std::string& Directory : PluginDirs)
			{
				Directories.Add(FromUtf8(Directory));
			}
			FString Error;
			if (!HostEditor::StartEditor(FromUtf8(ProjectDir), Directories, Error))
			{
				throw std::runtime_error(ToUtf8(Error));
			}
		});
		Editor.def("shutdown", &HostEditor::ShutdownEditor);
		Editor.def("is_started", &HostEditor::IsEditorStarted);
		Editor.def("default_plugins_dir", []() { return std::string(VN_PLUGINS_DIR); });
		Editor.def("select_assets", [](const std::vector<std::string>& Paths) {
			TArray<FString> Selection;
			for (const std::string& Path : Paths)
			{
				Selection.Add(FromUtf8(Path));
			}
			HostEditor::SelectAssets(Selection);
		});
		Editor.def("selected_asset_paths", []() {
			std::vector<std::string> Paths;
			for (const FString& Path : HostEditor::GetSelectedAssetPaths())
			{
				Paths.push_back(ToUtf8(Path));
			}
			return Paths;
		});
		Editor.def("message_boxes", []() {
			std::vector<std::tuple<std::string, std::string>> Boxes;
			for (const HostEditor::FMessageDialogRecord& Record : HostEditor::GetMessageDialogs())
			{
				Boxes.emplace_back(ToUtf8(Record.Title), ToUtf8(Record.Message));
			}
			return Boxes;
		});
		Editor.def("log_lines", []() {
			std::vector<std::tuple<std::string, std::string, std::string>> Lines;
			for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
			{
				Lines.emplace_back(ToUtf8(Line.Category.ToString()), VerbosityName(Line.Verbosity), ToUtf8(Line.Text));
			}
			return Lines;
		});
		Editor.def("slate_ticks", []() {
			std::vector<std::tuple<int, std::vector<std::string>>> Ticks;
			for (const HostEditor::FSlateTickRecord& Tick : HostEditor::GetSlateTicks())
			{
				std::vector<std::string> Painted;
				for (const FString& Window : Tick.PaintedWindows)
				{
					Painted.push_back(ToUtf8(Window));
				}
				Ticks.emplace_back((int)Tick.TickType, Painted);
			}
			return Ticks;
		});
		Editor.def("slate_windows", []() {
			py::list Windows;
			for (const HostEditor::FSlateWindowRecord& Record : HostEditor::GetSlateWindows())
			{
				const TSharedPtr<SWindow> Parent = Record.NativeParent.Pin();
				py::dict Window;
				Window["title"] = ToUtf8(Record.Window->GetTitle().ToString());
				Window["client_size"] = py::make_tuple(Record.Window->GetClientSizeInScreen().X, Record.Window->GetClientSizeInScreen().Y);
				Window["parent"] = Parent ? py::cast(ToUtf8(Parent->GetTitle().ToString())) : py::none();
				Window["shown"] = Record.Window->IsVisible();
				Window["destroyed"] = Record.bDestroyed;
				Window["content"] = ToUtf8(HostEditor::DescribeWidgetTree(Record.Window->GetContent()));
				Windows.append(Window);
			}
			return Windows;
		});
		// The user at a tab's widgets: find, read and use its controls by the words on screen.
		const auto TabContent = [](const std::string& TabId) -> TSharedRef<SWidget>
		{
			const TSharedPtr<SWidget> Content = HostEditor::FSlateUser::FindTabContent(FName(*FromUtf8(TabId)));
			if (!Content)
			{
				throw std::runtime_error("the tab '" + TabId + "' is not open");
			}
			return Content.ToSharedRef();
		};
		const auto ControlToDict = [](const HostEditor::FSlateUserControl& Control)
		{
			py::dict Result;
			Result["kind"] = ToUtf8(Control.Kind);
			Result["label"] = ToUtf8(Control.Label);
			Result["tooltip"] = ToUtf8(Control.ToolTip);
			std::vector<std::string> Context;
			for (const FString& Step : Control.Context)
			{
				Context.push_back(ToUtf8(Step));
			}
			Result["context"] = Context;
			Result["path"] = ToUtf8(Control.GetPath());
			Result["value"] = ToUtf8(Control.Value);
			std::vector<std::string> Options;
			for (const FString& Option : Control.Options)
			{
				Options.push_back(ToUtf8(Option));
			}
			Result["options"] = Options;
			Result["enabled"] = Control.bEnabled;
			Result["visible"] = Control.bVisible;
			return Result;
		};
		const auto Check = [](bool bDone, const FString& Error)
		{
			if (!bDone)
			{
				throw std::runtime_error(ToUtf8(Error));
			}
		};
		Editor.def("tab_label", [](const std::string& TabId) -> py::object {
			const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(FName(*FromUtf8(TabId))));
			return Tab ? py::cast(ToUtf8(Tab->GetTabLabel().ToString())) : py::none();
		});
		Editor.def("close_tab", [](const std::string& TabId) {
			const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(FName(*FromUtf8(TabId))));
			if (!Tab)
			{
				throw std::runtime_error("the tab '" + TabId + "' is not open");
			}
			Tab->RequestCloseTab();
		});
		Editor.def("tab_controls", [TabContent, ControlToDict](const std::string& TabId) {
			py::list Controls;
			for (const HostEditor::FSlateUserControl& Control : HostEditor::FSlateUser::ListControls(TabContent(TabId)))
			{
				Controls.append(ControlToDict(Control));
			}
			return Controls;
		});
		Editor.def("tab_control", [TabContent, ControlToDict, Check](const std::string& TabId, const std::string& Query) {
			HostEditor::FSlateUserControl Control;
			FString Error;
			Check(HostEditor::FSlateUser::FindControl(TabContent(TabId), FromUtf8(Query), Control, Error), Error);
			return ControlToDict(Control);
		});
		Editor.def("tab_outline", [TabContent](const std::string& TabId) {
			return ToUtf8(HostEditor::FSlateUser::Outline(TabContent(TabId)));
		});
		Editor.def("tab_click", [TabContent, Check](const std::string& TabId, const std::string& Query) {
			FString Error;
			Check(HostEditor::FSlateUser::Click(TabContent(TabId), FromUtf8(Query), Error), Error);
		});
		Editor.def("tab_set_expanded", [TabContent, Check](const std::string& TabId, const std::string& Query, bool bExpanded) {
			FString Error;
			Check(HostEditor::FSlateUser::SetExpanded(TabContent(TabId), FromUtf8(Query), bExpanded, Error), Error);
		});
		Editor.def("tab_pick", [TabContent, Check](const std::string& TabId, const std::string& Query, const std::string& Item) {
			FString Error;
			Check(HostEditor::FSlateUser::Pick(TabContent(TabId), FromUtf8(Query), FromUtf8(Item), Error), Error);
		});
		Editor.def("tab_type", [TabContent, Check](const std::string& TabId, const std::string& Query, const std::string& Text) {
			FString Error;
			Check(HostEditor::FSlateUser::Type(TabContent(TabId), FromUtf8(Query), FromUtf8(Text), Error), Error);
		});
		Editor.def("tab_set_checked", [TabContent, Check](const std::string& TabId, const std::string& Query, bool bChecked) {
			FString Error;
			Check(HostEditor::FSlateUser::SetChecked(TabContent(TabId), FromUtf8(Query), bChecked, Error), Error);
		});
		Editor.def("bone_translation_retargeting_modes", [](const std::string& SkeletonPath) {
			const USkeleton* Skeleton = LoadObject<USkeleton>(nullptr, *FromUtf8(SkeletonPath));
			if (!Skeleton)
			{
				throw std::runtime_error("no Skeleton at " + SkeletonPath);
			}
			static const char* const Names[] = {"Animation", "Skeleton", "AnimationScaled", "AnimationRelative", "OrientAndScale"};
			std::vector<std::pair<std::string, std::string>> Modes;
			const FReferenceSkeleton& Bones = Skeleton->GetReferenceSkeleton();
			for (int32 Index = 0; Index < Bones.GetNum(); ++Index)
			{
				Modes.emplace_back(ToUtf8(Bones.GetBoneName(Index).ToString()), Names[Skeleton->GetBoneTranslationRetargetingMode(Index)]);
			}
			return Modes;
		});
		Editor.def("anim_sequence_keys", [](const std::string& SequencePath) {
			const UAnimSequence* Sequence = LoadObject<UAnimSequence>(nullptr, *FromUtf8(SequencePath));
			if (!Sequence)
			{
				throw std::runtime_error("no animation sequence at " + SequencePath);
			}
			py::dict Result;
			const FFrameRate Rate = Sequence->GetSamplingFrameRate();
			Result["frame_rate"] = py::make_tuple(Rate.Numerator, Rate.Denominator);
			Result["keys"] = Sequence->GetNumberOfSampledKeys();
			Result["play_length"] = Sequence->GetPlayLength();
			Result["skeleton"] = Sequence->GetSkeleton() ? py::cast(ToUtf8(Sequence->GetSkeleton()->GetPathName())) : py::none();
			py::dict Tracks;
			const TArray<FName>& Names = HostEditor::FAnimSequenceAccess::GetTrackNames(*Sequence);
			const TArray<FRawAnimSequenceTrack>& Keys = HostEditor::FAnimSequenceAccess::GetTracks(*Sequence);
			for (int32 Index = 0; Index < Names.Num(); ++Index)
			{
				py::list Track;
				for (int32 Key = 0; Key < Keys[Index].PosKeys.Num(); ++Key)
				{
					const FVector& P = Keys[Index].PosKeys[Key];
					const FQuat& R = Keys[Index].RotKeys[Key];
					const FVector& S = Keys[Index].ScaleKeys[Key];
					Track.append(py::make_tuple(py::make_tuple(P.X, P.Y, P.Z), py::make_tuple(R.X, R.Y, R.Z, R.W), py::make_tuple(S.X, S.Y, S.Z)));
				}
				Tracks[py::str(ToUtf8(Names[Index].ToString()))] = Track;
			}
			Result["tracks"] = Tracks;
			return Result;
		});
		Editor.def("queue_dialog_answer", [](const std::optional<std::string>& Answer) {
			HostEditor::QueueDesktopDialogAnswer(Answer ? TOptional<FString>(FromUtf8(*Answer)) : TOptional<FString>());
		});
		Editor.def("desktop_dialogs", []() {
			py::list Dialogs;
			for (const HostEditor::FDesktopDialogRecord& Record : HostEditor::GetDesktopDialogs())
			{
				py::dict Dialog;
				Dialog["kind"] = ToUtf8(Record.Kind);
				Dialog["title"] = ToUtf8(Record.Title);
				Dialog["default_path"] = ToUtf8(Record.DefaultPath);
				Dialog["default_file"] = ToUtf8(Record.DefaultFile);
				Dialog["file_types"] = ToUtf8(Record.FileTypes);
				Dialog["flags"] = Record.Flags;
				Dialog["has_parent_window"] = Record.bHasParentWindow;
				Dialog["answer"] = Record.Answer.IsSet() ? py::cast(ToUtf8(Record.Answer.GetValue())) : py::none();
				Dialogs.append(Dialog);
			}
			return Dialogs;
		});
		Editor.def("import_file", [](const std::string& Filename, const std::string& DestinationFolder) {
			std::vector<std::string> Paths;
			for (const UObject* Asset : HostEditor::ImportFile(FromUtf8(Filename), FromUtf8(DestinationFolder)))
			{
				Paths.push_back(ToUtf8(Asset->GetPathName()));
			}
			return Paths;
		});
		Editor.def("invoke_menu_entry", [](const std::string& MenuName, const std::vector<std::string>& EntryPath) {
			TArray<FString> Steps;
			for (const std::string& Step : EntryPath)
			{
				Steps.Add(FromUtf8(Step));
			}
			FString Error;
			if (!HostEditor::InvokeMenuEntry(FName(*FromUtf8(MenuName)), Steps, Error))
			{
				throw std::runtime_error(ToUtf8(Error));
			}
		});
		py::class_<HostEditor::FRigEvaluation>(Editor, "RigEvaluation")
			.def(py::init([](const std::string& BlueprintPath) {
				UControlRigBlueprint* Blueprint = dynamic_cast<UControlRigBlueprint*>(StaticFindObject(UControlRigBlueprint::StaticClass(), nullptr, *FromUtf8(BlueprintPath)));
				if (!Blueprint)
				{
					throw py::value_error("no Control Rig blueprint at " + BlueprintPath);
				}
				return new HostEditor::FRigEvaluation(*Blueprint);
			}))
			.def("set_control_value", [](HostEditor::FRigEvaluation& Evaluation, const std::string& Name, const std::string& Kind, const py::object& Value) {
				const FName Control(*FromUtf8(Name));
				const FRigControlElement* Element = Evaluation.GetHierarchy().Find<FRigControlElement>(FRigElementKey(Control, ERigElementType::Control));
				if (Element && !KindFitsControl(Kind, Element->Settings.ControlType))
				{
					throw py::type_error("a " + Kind + " is not a value of the " + ToUtf8(StaticEnum<ERigControlType>()->GetNameStringByValue((int64)Element->Settings.ControlType)) + " control " + Name);
				}
				FString Error;
				const FRigControlValue ControlValue = Kind == "int" && Element && Element->Settings.ControlType != ERigControlType::Integer
					? URigHierarchy::MakeControlValueFromFloat(Value.cast<float>())
					: MakeControlValue(Kind, Value);
				if (!Evaluation.SetControlValue(Control, ControlValue, Error))
				{
					throw py::key_error(ToUtf8(Error));
				}
			})
			.def("run_forwards_solve", &HostEditor::FRigEvaluation::RunForwardsSolve)
			.def("set_bone_local_transform", [](HostEditor::FRigEvaluation& Evaluation, const std::string& Name, const std::string& Text) {
				FTransform Transform;
				const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, TBaseStructure<FTransform>::Get());
				const TCHAR* End = Property.ImportText_Direct(*FromUtf8(Text), &Transform, nullptr, PPF_None);
				if (!End)
				{
					throw py::value_error("not the text of a transform: " + Text);
				}
				FString Error;
				if (!Evaluation.SetBoneLocalTransform(FName(*FromUtf8(Name)), Transform, Error))
				{
					throw py::key_error(ToUtf8(Error));
				}
			})
			.def("has_backwards_solve", &HostEditor::FRigEvaluation::HasBackwardsSolve)
			.def("run_backwards_solve", &HostEditor::FRigEvaluation::RunBackwardsSolve)
			.def("global_transform", [](const HostEditor::FRigEvaluation& Evaluation, const std::string& Name, const std::string& TypeName) -> py::object {
				const UEnum* Types = StaticEnum<ERigElementType>();
				const int64 Type = Types->GetValueByNameString(FromUtf8(TypeName));
				FTransform Transform;
				if (Type == INDEX_NONE || !Evaluation.GetGlobalTransform(FRigElementKey(FName(*FromUtf8(Name)), (ERigElementType)Type), Transform))
				{
					return py::none();
				}
				FString Text;
				const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, TBaseStructure<FTransform>::Get());
				Property.ExportTextItem_Direct(Text, &Transform, nullptr, nullptr, PPF_None);
				return py::cast(ToUtf8(Text));
			})
			.def("control_shape_visible", [](const HostEditor::FRigEvaluation& Evaluation, const std::string& Name) -> py::object {
				bool bVisible = false;
				if (!Evaluation.GetControlShapeVisible(FName(*FromUtf8(Name)), bVisible))
				{
					return py::none();
				}
				return py::cast(bVisible);
			})
			.def("report", [](const HostEditor::FRigEvaluation& Evaluation) { return ReportToDict(Evaluation.GetReport()); });
		Editor.def("create_skeletal_mesh", [](const std::string& PackagePath, const std::vector<std::tuple<std::string, std::string, std::string>>& Bones, float ImportUniformScale, const std::string& ImportedBounds) {
			TArray<HostEditor::FBoneDescription> Descriptions;
			for (const auto& [Name, Parent, Transform] : Bones)
			{
				HostEditor::FBoneDescription Bone;
				Bone.Name = FName(*FromUtf8(Name));
				Bone.ParentName = Parent.empty() ? FName() : FName(*FromUtf8(Parent));
				Bone.LocalTransform = StructFromText(Transform, FTransform::Identity, "a transform");
				Descriptions.Add(Bone);
			}
			FString Error;
			const FBoxSphereBounds Bounds = StructFromText(ImportedBounds, FBoxSphereBounds(ForceInit), "box-sphere bounds");
			USkeletalMesh* Mesh = HostEditor::CreateSkeletalMesh(FromUtf8(PackagePath), Descriptions, ImportUniformScale, Error, Bounds);
			if (!Mesh)
			{
				throw py::value_error(ToUtf8(Error));
			}
			return ToUtf8(Mesh->GetPathName());
		});
		Editor.def("launched_urls", []() {
			std::vector<std::string> Urls;
			for (const FString& Url : HostEditor::GetLaunchedURLs())
			{
				Urls.push_back(ToUtf8(Url));
			}
			return Urls;
		});
		Editor.def("project_switches", []() {
			py::list Switches;
			for (const HostEditor::FProjectSwitchRecord& Record : HostEditor::GetProjectSwitches())
			{
				py::dict Switch;
				Switch["project_file"] = ToUtf8(Record.ProjectFile);
				Switch["command_line"] = ToUtf8(Record.CommandLine);
				Switch["restart_command"] = ToUtf8(Record.RestartCommand);
				Switches.append(Switch);
			}
			return Switches;
		});
		Editor.def("tick_engine", [](float DeltaSeconds) { HostEditor::TickEngine(DeltaSeconds); });
		Editor.def("http_requests_in_flight", []() { return FHttpModule::Get().GetHttpManager().GetNumRequestsInFlight(); });
		Editor.def("make_third_person_gameplay_templates", [](const std::string& MeshPath) {
			USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, *FromUtf8(MeshPath));
			if (!Mesh)
			{
				throw py::value_error("no skeletal mesh at " + MeshPath);
			}
			FString Error;
			const TArray<FString> Paths = HostEditor::MakeThirdPersonGameplayTemplates(Mesh, Error);
			if (Paths.IsEmpty())
			{
				throw py::value_error(ToUtf8(Error));
			}
			std::vector<std::string> Result;
			for (const FString& Path : Paths)
			{
				Result.push_back(ToUtf8(Path));
			}
			return Result;
		});
	}
}
