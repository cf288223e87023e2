#include "VNToolScriptHost.h"

#include "IPythonScriptPlugin.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "VNToolScript.h"
#include "VantorelUnrealEditorLog.h"
#include "VantorelUnrealEditorModule.h"

const TCHAR* const VantorelToolScriptHost::ScriptFileName = TEXT("vn_tool_check.py");

namespace
{
	/**
	 * Registers the script's builtins from its own table, VANTOREL_BUILTINS (builtin name to setter or
	 * action), so the names and the functions behind them are listed once, in the script; the bootstrap
	 * relies on no other name of it.
	 */
	const TCHAR* const BuiltinRegistration =
		TEXT("import builtins; ")
		TEXT("builtins.__dict__.update(VANTOREL_BUILTINS); ")
		TEXT("print('Vantorel: Python builtins registered successfully')");

	FString ForwardSlashes(const FString& Path)
	{
		return Path.Replace(TEXT("\\"), TEXT("/"));
	}
}

namespace
{
	/**
	 * Value as the inside of a Python string literal quoted with Quote: backslashes doubled, the quote
	 * escaped, and line breaks and other control characters written as escapes, so that no value can
	 * end the literal or the one-line command around it.
	 */
	FString EscapeForPythonString(const FString& Value, TCHAR Quote)
	{
		FString Escaped;
		Escaped.Reserve(Value.Len());
		for (const TCHAR Character : Value)
		{
			if (Character == TEXT('\\') || Character == Quote)
			{
				Escaped.AppendChar(TEXT('\\'));
				Escaped.AppendChar(Character);
			}
			else if (Character == TEXT('\n'))
			{
				Escaped += TEXT("\\n");
			}
			else if (Character == TEXT('\r'))
			{
				Escaped += TEXT("\\r");
			}
			else if (Character == TEXT('\t'))
			{
				Escaped += TEXT("\\t");
			}
			else if (Character < 0x20 || Character == 0x7f)
			{
				Escaped += FString::Printf(TEXT("\\x%02x"), static_cast<uint32>(Character));
			}
			else
			{
				Escaped.AppendChar(Character);
			}
		}
		return Escaped;
	}
}

FString VantorelToolScriptHost::EscapeCommandValue(const FString& Value)
{
	return EscapeForPythonString(Value, TEXT('"'));
}

FString VantorelToolScriptHost::MakeRigBuildCommand(const FRigBuildValues& Values)
{
	const auto Flag = [](bool bValue) { return bValue ? TEXT("True") : TEXT("False"); };
	return FString::Printf(TEXT("import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset(\"%s\")); builtins.vn_set_body_control_rig_template_file(\"%s\"); builtins.vn_set_body_json_file(\"%s\"); builtins.vn_set_body_control_rig_source(\"%s\"); builtins.vn_set_face_json_file(\"%s\"); builtins.vn_set_control_rig_mode(\"%s\"); builtins.vn_set_body_rig_options(%s, %s, %s); builtins.vn_set_include_custom_controllers(%s); builtins.vn_run_create_control_rig()"),
		*EscapeCommandValue(Values.MeshPath), *EscapeCommandValue(Values.BodyTemplateFile), *EscapeCommandValue(Values.BodyJsonFile),
		*EscapeCommandValue(Values.BodySource), *EscapeCommandValue(Values.FaceJsonFile), *EscapeCommandValue(Values.Mode),
		Flag(Values.bIncludeBackwardsSolve), Flag(Values.bIncludeDrivingSystems), Flag(Values.bIncludeTwistSolution), Flag(Values.bIncludeCustomControllers));
}

FString VantorelToolScriptHost::MakeMeshActionCommand(const FString& MeshPath, const TCHAR* ActionBuiltin)
{
	return FString::Printf(TEXT("import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset(\"%s\")); builtins.%s()"), *EscapeCommandValue(MeshPath), ActionBuiltin);
}

FString VantorelToolScriptHost::ToPythonStringLiteral(const FString& Value)
{
	return TEXT("'") + EscapeForPythonString(Value, TEXT('\'')) + TEXT("'");
}

FString VantorelToolScriptHost::MakeBootstrapCommand(const FString& SourceFile, bool bIncludeFaceSolver, const FString& FaceJsonFile, const FString& ScriptFile)
{
	// The script file is read as UTF-8, the encoding it is written in, whatever the interpreter's locale.
	return FString::Printf(TEXT("SOURCE_FILE=%s; INCLUDE_VN_FACE_SOLVER=%s; json_file=%s; exec(open(%s, encoding='utf-8').read()); %s"),
		*ToPythonStringLiteral(SourceFile), bIncludeFaceSolver ? TEXT("True") : TEXT("False"),
		*ToPythonStringLiteral(FaceJsonFile), *ToPythonStringLiteral(ScriptFile), BuiltinRegistration);
}

void VantorelToolScriptHost::LoadToolScript(const FString& SourceFile, bool bIncludeFaceSolver, const FString& FaceJsonFile)
{
	// Claimed before Python is looked up: the script loads at most once per run, also when Python is missing.
	if (!FVantorelUnrealEditorModule::Get().ClaimToolScriptLoad())
	{
		return;
	}

	IPythonScriptPlugin* Python = IPythonScriptPlugin::Get();
	if (!Python)
	{
		UE_LOG(LogVantorelUnrealEditor, Error, TEXT("Vantorel: Python script plugin not available"));
		return;
	}
	UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel: Loading Python tool script (embedded)"));

	const FString ScriptFile = FPaths::ConvertRelativePathToFull(FPaths::Combine(FPaths::ProjectIntermediateDir(), ScriptFileName));
	// An unwritten script is not run: the file there may be another build's script, or nothing at all.
	if (!FFileHelper::SaveStringToFile(VantorelToolScript::DecodeScript(), *ScriptFile, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM))
	{
		UE_LOG(LogVantorelUnrealEditor, Error, TEXT("Vantorel: could not write the Python tool script to '%s'"), *ScriptFile);
		return;
	}
	Python->ExecPythonCommand(*MakeBootstrapCommand(ForwardSlashes(SourceFile), bIncludeFaceSolver, ForwardSlashes(FaceJsonFile), ForwardSlashes(ScriptFile)));
}

void VantorelToolScriptHost::SendCommand(const FString& Command)
{
	if (IPythonScriptPlugin* Python = IPythonScriptPlugin::Get())
	{
		Python->ExecPythonCommand(*Command);
	}
}
