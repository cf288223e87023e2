// The "PythonScriptPlugin" module: the editor's embedded CPython. It starts the interpreter when the
// host has not (a host program links libpython; inside a Python process the running interpreter is
// used), puts the `unreal` module on the path and runs command texts, sending what they print to the
// log line by line as it is printed, as the editor's Python does.

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <string>

#include "CoreMinimal.h"
#include "IPythonScriptPlugin.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY_STATIC(LogPython, Log, All);

namespace
{
	/** Runs one command in the interpreter; see FPythonScriptPlugin::ExecPythonCommandEx. */
	const char* const CommandRunnerSource = R"PY(
import os
import shlex
import sys
import traceback


class _LogStream:
    """Sends what a command writes to the log a line at a time, each line as it completes, and keeps
    the lines for the command's result. flush() keeps a partial line, so that a line written in
    pieces stays one line; finish() sends what is left when the command ends."""

    def __init__(self, entries, kind):
        self.entries = entries
        self.kind = kind
        self.pending = ""

    def write(self, text):
        if not isinstance(text, str):
            raise TypeError("write() argument must be str, not %s" % type(text).__name__)
        self.pending += text
        while "\n" in self.pending:
            line, self.pending = self.pending.split("\n", 1)
            self._send(line)
        return len(text)

    def flush(self):
        pass

    def finish(self):
        if self.pending:
            line, self.pending = self.pending, ""
            self._send(line)

    def isatty(self):
        return False

    def _send(self, line):
        self.entries.append((self.kind, line))
        log_output_line(self.kind, line.encode("utf-8", "backslashreplace"))


console_globals = {"__name__": "__main__", "__builtins__": __builtins__}


def _file_command(text):
    """The .py file and arguments a one-line command names, or None."""
    if "\n" in text.strip():
        return None, []
    try:
        parts = shlex.split(text.strip())
    except ValueError:
        return None, []
    if parts and parts[0].lower().endswith(".py") and os.path.isfile(parts[0]):
        return parts[0], parts[1:]
    return None, []


def run(mode, public_scope, command):
    entries = []
    out, err = _LogStream(entries, 0), _LogStream(entries, 2)
    saved = sys.stdout, sys.stderr, sys.argv
    sys.stdout, sys.stderr = out, err
    ok, result = True, ""
    try:
        if mode == 0:
            scope = console_globals if public_scope else {"__name__": "__main__", "__builtins__": __builtins__}
            path, arguments = _file_command(command)
            if path:
                with open(path, encoding="utf-8") as stream:
                    code = compile(stream.read(), path, "exec")
                scope["__file__"] = path
                sys.argv = [path] + arguments
            else:
                code = compile(command, "<string>", "exec")
            exec(code, scope)
        elif mode == 1:
            exec(compile(command, "<string>", "exec"), console_globals)
        else:
            result = repr(eval(compile(command, "<string>", "eval"), console_globals))
    except BaseException as error:
        ok = False
        result = "".join(traceback.format_exception_only(type(error), error)).strip()
        err.write(traceback.format_exc())
    finally:
        out.finish()
        err.finish()
        sys.stdout, sys.stderr, sys.argv = saved
    return ok, result, entries


def restore_builtins(saved):
    """Puts the interpreter's builtins back as saved: the names added since go, the replaced ones return."""
    import builtins
    current = vars(builtins)
    for name in [name for name in current if name not in saved]:
        del current[name]
    current.update(saved)
)PY";

	FString FromPython(PyObject* Object)
	{
		const char* Utf8 = Object ? PyUnicode_AsUTF8(Object) : nullptr;
		return Utf8 ? FString(UTF8_TO_TCHAR(Utf8)) : FString();
	}

	/**
	 * log_output_line(kind, utf8): one completed line a command wrote, sent to the log at once so
	 * that it stands among the engine's own lines in the order things happened. Kind 2 is standard
	 * error (an Error line), anything else standard output (a Log line).
	 */
	PyObject* LogOutputLine(PyObject* /*Self*/, PyObject* Args)
	{
		int Kind = 0;
		const char* Utf8 = nullptr;
		Py_ssize_t Length = 0;
		if (!PyArg_ParseTuple(Args, "iy#", &Kind, &Utf8, &Length))
		{
			return nullptr;
		}
		const FString Line(UTF8_TO_TCHAR(std::string(Utf8, (size_t)Length).c_str()));
		if (Kind == 2)
		{
			UE_LOG(LogPython, Error, TEXT("%s"), *Line);
		}
		else
		{
			UE_LOG(LogPython, Log, TEXT("%s"), *Line);
		}
		Py_RETURN_NONE;
	}

	PyMethodDef LogOutputLineDef = {"log_output_line", &LogOutputLine, METH_VARARGS, "Sends one line a command wrote to the log."};
}

class FPythonScriptPlugin : public IPythonScriptPlugin
{
public:
	virtual void StartupModule() override
	{
		if (!Py_IsInitialized())
		{
			Py_InitializeEx(0);
			// Hand the interpreter lock back; every call takes it as it needs it.
			PyEval_SaveThread();
		}
		const PyGILState_STATE State = PyGILState_Ensure();
		bAvailable = Setup();
		if (!bAvailable)
		{
			LogPythonError();
		}
		PyGILState_Release(State);
	}

	virtual void ShutdownModule() override
	{
		bAvailable = false;
		if (!Py_IsInitialized())
		{
			return;
		}
		// The interpreter lives as long as the process (other modules' Python objects may outlive this
		// one), so of what ending the editor's Python drops, this drops what it can: the builtins that
		// scripts added or replaced return to how they were at start-up, and the console's globals go
		// with the runner.
		const PyGILState_STATE State = PyGILState_Ensure();
		if (RunnerModule && BuiltinsAtStartup)
		{
			PyObject* Restored = PyObject_CallMethod(RunnerModule, "restore_builtins", "O", BuiltinsAtStartup);
			if (!Restored)
			{
				LogPythonError();
			}
			Py_XDECREF(Restored);
		}
		Py_CLEAR(Runner);
		Py_CLEAR(RunnerModule);
		Py_CLEAR(BuiltinsAtStartup);
		PyGILState_Release(State);
	}

	virtual bool IsPythonAvailable() const override
	{
		return bAvailable;
	}

	virtual bool ExecPythonCommand(const TCHAR* InPythonCommand) override
	{
		FPythonCommandEx Command;
		Command.Command = InPythonCommand;
		return ExecPythonCommandEx(Command);
	}

	virtual bool ExecPythonCommandEx(FPythonCommandEx& InOutPythonCommand) override
	{
		InOutPythonCommand.LogOutput.Reset();
		if (!bAvailable)
		{
			InOutPythonCommand.CommandResult = TEXT("Python is not available.");
			UE_LOG(LogPython, Error, TEXT("%s"), *InOutPythonCommand.CommandResult);
			return false;
		}
		const PyGILState_STATE State = PyGILState_Ensure();
		bool bSucceeded = false;
		PyObject* Outcome = PyObject_CallFunction(Runner, "iis", (int)InOutPythonCommand.ExecutionMode,
			InOutPythonCommand.FileExecutionScope == EPythonFileExecutionScope::Public ? 1 : 0, TCHAR_TO_UTF8(*InOutPythonCommand.Command));
		if (Outcome && PyTuple_Check(Outcome) && PyTuple_Size(Outcome) == 3)
		{
			bSucceeded = PyObject_IsTrue(PyTuple_GetItem(Outcome, 0)) == 1;
			InOutPythonCommand.CommandResult = FromPython(PyTuple_GetItem(Outcome, 1));
			PyObject* Entries = PyTuple_GetItem(Outcome, 2);
			for (Py_ssize_t Index = 0; Index < PyList_Size(Entries); ++Index)
			{
				PyObject* Entry = PyList_GetItem(Entries, Index);
				FPythonLogOutputEntry& Output = InOutPythonCommand.LogOutput.AddDefaulted_GetRef();
				// Each line reached the log as it was written; the command keeps them too.
				Output.Type = PyLong_AsLong(PyTuple_GetItem(Entry, 0)) == 2 ? EPythonLogOutputType::Error : EPythonLogOutputType::Info;
				Output.Output = FromPython(PyTuple_GetItem(Entry, 1));
			}
		}
		else
		{
			LogPythonError();
		}
		Py_XDECREF(Outcome);
		PyGILState_Release(State);
		return bSucceeded;
	}

private:
	/** Puts the editor's Python folder on the path and prepares the command runner. */
	bool Setup()
	{
		PyObject* Path = PySys_GetObject("path");
		PyObject* Folder = PyUnicode_FromString(VN_PYTHON_DIR);
		if (!Path || !Folder)
		{
			Py_XDECREF(Folder);
			return false;
		}
		if (PySequence_Contains(Path, Folder) == 0)
		{
			PyList_Insert(Path, 0, Folder);
		}
		Py_DECREF(Folder);

		PyObject* Module = PyModule_New("_python_command_runner");
		if (!Module)
		{
			return false;
		}
		PyObject* Globals = PyModule_GetDict(Module);
		PyDict_SetItemString(Globals, "__builtins__", PyEval_GetBuiltins());
		PyObject* LogFunction = PyCFunction_New(&LogOutputLineDef, nullptr);
		if (!LogFunction || PyDict_SetItemString(Globals, "log_output_line", LogFunction) != 0)
		{
			Py_XDECREF(LogFunction);
			Py_DECREF(Module);
			return false;
		}
		Py_DECREF(LogFunction);
		PyObject* Result = PyRun_String(CommandRunnerSource, Py_file_input, Globals, Globals);
		if (!Result)
		{
			Py_DECREF(Module);
			return false;
		}
		Py_DECREF(Result);
		Runner = PyDict_GetItemString(Globals, "run");
		Py_XINCREF(Runner);
		RunnerModule = Module;

		PyObject* Builtins = PyImport_ImportModule("builtins");
		if (!Builtins)
		{
			return false;
		}
		BuiltinsAtStartup = PyDict_Copy(PyModule_GetDict(Builtins));
		Py_DECREF(Builtins);
		return Runner != nullptr && BuiltinsAtStartup != nullptr;
	}

	void LogPythonError()
	{
		if (!PyErr_Occurred())
		{
			return;
		}
		PyObject* Type = nullptr;
		PyObject* Value = nullptr;
		PyObject* Traceback = nullptr;
		PyErr_Fetch(&Type, &Value, &Traceback);
		PyObject* Text = Value ? PyObject_Str(Value) : nullptr;
		UE_LOG(LogPython, Error, TEXT("%s"), *FromPython(Text));
		Py_XDECREF(Text);
		Py_XDECREF(Type);
		Py_XDECREF(Value);
		Py_XDECREF(Traceback);
	}

	bool bAvailable = false;
	PyObject* Runner = nullptr;
	PyObject* RunnerModule = nullptr;
	/** A copy of the builtins module's names as they were when the module started. */
	PyObject* BuiltinsAtStartup = nullptr;
};

IMPLEMENT_MODULE(FPythonScriptPlugin, PythonScriptPlugin)
