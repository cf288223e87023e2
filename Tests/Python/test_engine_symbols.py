"""The engine symbol check: which engine declarations a plug-in's C++ refers to, read by libclang, and
how they are held to the engine C++ record. Each test builds a small tree of its own: an engine header
under HostEditor/Include, a plug-in source under Plugins/ and the compile commands that join them."""

import json
import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "HostEditor", "Tools", "EngineSymbols"))

import engine_symbols  # noqa: E402

ENGINE_HEADER = r"""
#pragma once
#define ENGINE_CONST 5
#define ENGINE_TWICE(X) (HiddenHelper(X) + HiddenHelper(X))
int HiddenHelper(int Value);
struct FThing
{
	int Count = 0;
	int Twice(int Value) const;
	int Twice(float Value) const;
	static FThing Make();
};
template <typename T>
struct TBox
{
	T Value;
	T Get() const { return Value; }
};
class IRunner
{
public:
	virtual ~IRunner() = default;
	virtual void Run();
};
enum class EMode { Fast, Slow };
"""

PLUGIN_SOURCE = r"""
#include "Engine.h"

class FRunner : public IRunner
{
public:
	virtual void Run() override {}
};

int Use()
{
	FThing Thing = FThing::Make();
	FThing Copy = Thing;
	TBox<float> Box{1.0f};
	return Thing.Twice(ENGINE_CONST) + ENGINE_TWICE(Copy.Count) + (int)Box.Get() + (int)EMode::Slow;
}
"""


@pytest.fixture
def tree(tmp_path):
    """A checkout with one engine header and one plug-in source, and its build folder."""
    include = tmp_path / "HostEditor" / "Include" / "Core"
    include.mkdir(parents=True)
    (include / "Engine.h").write_text(ENGINE_HEADER)
    source = tmp_path / "Plugins" / "P" / "Source" / "P" / "Private" / "Use.cpp"
    source.parent.mkdir(parents=True)
    source.write_text(PLUGIN_SOURCE)
    build = tmp_path / "build"
    build.mkdir()
    command = "clang++ -std=c++20 -I%s -Wall -o Use.o -c %s" % (include, source)
    (build / "compile_commands.json").write_text(json.dumps([{"directory": str(build), "command": command, "file": str(source)}]))
    return tmp_path


def references(tree):
    engine_symbols.load_libclang()
    found, errors = engine_symbols.engine_references(str(tree / "build"), str(tree), jobs=1)
    assert errors == []
    return set(found)


def test_the_plugin_references_are_its_types_calls_members_macros_headers_and_overrides(tree):
    assert references(tree) == {
        '#include "Engine.h"',
        "#define ENGINE_CONST",
        "#define ENGINE_TWICE",
        "FThing",
        "FThing::Make()",
        "FThing::Twice(int) const",
        "FThing::Count",
        "TBox",
        "TBox::Get() const",
        "IRunner",
        "IRunner::Run()",
        "EMode",
        "EMode::Slow",
    }


def test_a_macro_text_and_implicit_members_are_not_the_plugins_references(tree):
    found = references(tree)
    # HiddenHelper only appears in ENGINE_TWICE's own text; the copy construction is the compiler's.
    assert not {key for key in found if "HiddenHelper" in key or key.startswith("FThing::FThing")}
    assert "FThing::Twice(float) const" not in found, "only the overload the plug-in calls"


def write_record(path, lines):
    path.write_text("# Record\n\n## Core — Engine.h\n" + "".join(line + "\n" for line in lines))
    return str(path)


def test_the_check_counts_confirmed_and_unconfirmed_entries_and_fails_on_a_missing_one(tree, capsys):
    keys = sorted(references(tree))
    complete = ["- `%s` — [5.4] https://example.invalid/%d" % (key, index) for index, key in enumerate(keys)]
    complete[0] = "- `%s` — unconfirmed: no page found" % keys[0]
    record = write_record(tree / "complete.md", complete)
    assert engine_symbols.main(["--build-dir", str(tree / "build"), "--root", str(tree), "--record", record, "--jobs", "1"]) == 0
    assert "engine symbols used by the plug-in: 13; confirmed: 12; unconfirmed: 1; not in the record: 0" in capsys.readouterr().out

    record = write_record(tree / "longer.md", complete + ["- `FGone::Away()` — [5.4] https://example.invalid/gone"])
    assert engine_symbols.main(["--build-dir", str(tree / "build"), "--root", str(tree), "--record", record, "--jobs", "1"]) == 0
    assert "recorded but no longer used by the plug-in: FGone::Away()" in capsys.readouterr().out

    record = write_record(tree / "short.md", complete[1:])
    assert engine_symbols.main(["--build-dir", str(tree / "build"), "--root", str(tree), "--record", record, "--jobs", "1"]) == 1
    output = capsys.readouterr().out
    assert "not in the record: 1" in output
    assert "not in the record: %s (Plugins/P/Source/P/Private/Use.cpp:" % keys[0] in output


@pytest.mark.parametrize("line, message", [
    ("- `FThing` —", "an entry is"),
    ("- `FThing` without a dash", "an entry is"),
    ("- `FThing` —  ", "an entry is"),
])
def test_an_entry_without_a_source_is_refused(tmp_path, line, message):
    with pytest.raises(ValueError, match=message):
        engine_symbols.read_record(write_record(tmp_path / "record.md", [line]))


def test_an_entry_recorded_twice_is_refused(tmp_path):
    lines = ["- `FThing` — [5.4] https://example.invalid/a", "- `FThing` — [5.4] https://example.invalid/b"]
    with pytest.raises(ValueError, match="FThing is recorded twice"):
        engine_symbols.read_record(write_record(tmp_path / "record.md", lines))


def test_a_plugin_that_does_not_parse_is_reported(tree, capsys):
    source = tree / "Plugins" / "P" / "Source" / "P" / "Private" / "Use.cpp"
    source.write_text(PLUGIN_SOURCE + "\nint Broken() { return FThing::Missing(); }\n")
    record = write_record(tree / "record.md", [])
    assert engine_symbols.main(["--build-dir", str(tree / "build"), "--root", str(tree), "--record", record, "--jobs", "1"]) == 1
    assert "the plug-in does not parse" in capsys.readouterr().out
