"""The tool script's bundling: the package's sources become the one script text (the loader, a part per
module, the closing part), which serves them as modules when it runs, and the carriage holds exactly
that text as one Base64 stream per part."""

import base64
import difflib
import linecache
import os
import re
import shutil
import sys
import traceback

import pytest

import bundle_tool_script
from conftest import TOOL_SCRIPT_DIR

PACKAGE = "_vantorel_tool"
HOST_RECORDS_ITS_START = "def start(namespace):\n    namespace['started'] = True\n"


def forget_the_package():
    sys.meta_path[:] = [finder for finder in sys.meta_path if finder not in carriers()]
    for name in [name for name in sys.modules if name == PACKAGE or name.startswith(PACKAGE + ".")]:
        del sys.modules[name]


@pytest.fixture(autouse=True)
def fresh_imports():
    """Each test starts without the package's modules or import hook, whoever ran before, and leaves
    none of its own, nor search paths, behind."""
    path = list(sys.path)
    forget_the_package()
    yield
    sys.path[:] = path
    forget_the_package()


def make_sources(folder, files, loader=True):
    """A source folder with the real loader and the given files (paths relative to the folder; text,
    or bytes written as they are)."""
    folder.mkdir(parents=True)
    if loader:
        shutil.copy(os.path.join(TOOL_SCRIPT_DIR, bundle_tool_script.LOADER_NAME), folder)
    for relative, content in files.items():
        path = folder / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        if isinstance(content, bytes):
            path.write_bytes(content)
        else:
            path.write_text(content, encoding="utf-8")
    return str(folder)


def package(files, host=HOST_RECORDS_ITS_START):
    """The files of a package: an empty __init__.py, host.py, and the given modules by path in it."""
    tree = {PACKAGE + "/__init__.py": "", PACKAGE + "/host.py": host}
    tree.update({PACKAGE + "/" + relative: text for relative, text in files.items()})
    return tree


def run(source_dir, **host_values):
    """Runs the bundled script as the host does, in a namespace holding the host's values."""
    namespace = dict(host_values, __name__="__main__")
    exec(compile(bundle_tool_script.bundle(source_dir), "vn_tool_check.py", "exec"), namespace)
    return namespace


def carriers():
    return [finder for finder in sys.meta_path if getattr(finder, "carried_package", None) == PACKAGE]


def carriage_streams(text):
    """The carriage's streams in its table's order: (comment above the stream, its literals)."""
    defined = {}
    for comment, name, body in re.findall(r"\t// ([^\n]*)\n\tconst ANSICHAR\* const (\w+)\[\] = \{\n(.*?)\t\tnullptr\};", text, re.S):
        defined[name] = (comment, re.findall(r'^\t\t"([^"]*)",$', body, re.M))
        assert body.count("\n") == len(defined[name][1]), "one literal a line, nothing else"
    table = re.search(r"EmbeddedBase64Streams\[\] = \{\n(.*?)\tnullptr\};", text, re.S).group(1)
    names = re.findall(r"^\t(\w+),$", table, re.M)
    assert sorted(names) == sorted(defined), "every stream is in the table once"
    return [defined[name] for name in names]


def decoded(streams):
    return "".join(base64.b64decode("".join(literals), validate=True).decode("utf-8") for _, literals in streams)


# ---- bundling ---------------------------------------------------------------------------------------

def test_parts_are_the_loader_then_each_module_by_path_then_the_closing(tmp_path):
    files = package({"graph.py": "", "body/__init__.py": "", "body/driver.py": "", "body/__pycache__/driver.cpython-311.pyc": b"\0",
                     "body/notes.txt": "not a module", "assets/shape.json": "{}"})
    source_dir = make_sources(tmp_path / "src", files)
    script = bundle_tool_script.bundle(source_dir)
    assert re.findall(r"^# ==== (.*) ====$", script, re.M) == [
        "vn_tool_loader.py", "_vantorel_tool/__init__.py", "_vantorel_tool/body/__init__.py", "_vantorel_tool/body/driver.py",
        "_vantorel_tool/graph.py", "_vantorel_tool/host.py", "closing"]
    assert re.findall(r"^_vn_tool_module\('([\w.]+)', (True|False), ", script, re.M) == [
        ("_vantorel_tool", "True"), ("_vantorel_tool.body", "True"), ("_vantorel_tool.body.driver", "False"),
        ("_vantorel_tool.graph", "False"), ("_vantorel_tool.host", "False")]
    assert bundle_tool_script.bundle(source_dir) == script


@pytest.mark.parametrize("files, loader, message", [
    ({PACKAGE + "/host.py": ""}, True, "_vantorel_tool/__init__.py is missing"),
    ({}, True, "_vantorel_tool/__init__.py is missing"),
    (package({"body/driver.py": ""}), True, "folder _vantorel_tool/body holds modules but has no __init__.py"),
    (package({"body/limbs/arm.py": "", "body/limbs/__init__.py": ""}), True, "folder _vantorel_tool/body holds modules but has no __init__.py"),
    (dict(package({}), **{"vn_tool.py": "", "helpers.py": ""}), True, "sources outside the package _vantorel_tool in"),
    (package({"graph.py": b"NAME = '\xe9'\n"}), True, "_vantorel_tool/graph.py is not UTF-8 text"),
    (package({"graph.py": "A = 1\0\n"}), True, "_vantorel_tool/graph.py holds a NUL character"),
    (package({"body-parts.py": ""}), True, "'body-parts' is not a Python module name"),
    (package({"class.py": ""}), True, "'class' is not a Python module name"),
    (package({}), False, "has no loader vn_tool_loader.py"),
])
def test_a_tree_python_could_not_import_as_the_package_is_refused(tmp_path, files, loader, message):
    source_dir = make_sources(tmp_path / "src", files, loader)
    with pytest.raises(bundle_tool_script.BundleError, match=re.escape(message)):
        bundle_tool_script.bundle(source_dir)


def test_each_module_is_carried_exactly_with_its_lines_kept_as_lines(tmp_path):
    tricky = ('"""A docstring with \\"quotes\\" and a path C:\\\\temp\\\\new."""\n'
              "RAW = r'C:\\no\\escape'\nQUOTES = '\"\"\"' + \"'''\" + '\"'\n"
              "ODD = 'form\x0cfeed, next\x85line, separator\u2028here, bom\ufeffinside, tab\there, \u00e9t\u00e9'\n\n"
              'LAST = "no newline at the end"')
    files = package({"tricky.py": tricky, "empty.py": "", "crlf.py": b"A = 1\r\nB = 2\r\n", "bom.py": b"\xef\xbb\xbfC = 3\n"})
    source_dir = make_sources(tmp_path / "src", files)
    carried = {}
    for part in bundle_tool_script.bundle_parts(source_dir)[1:-1]:
        calls = []
        exec(part.text, {"_vn_tool_module": lambda *arguments: calls.append(arguments)})
        [(name, _, text)] = calls
        carried[name] = text
        assert part.text.count("\n") == text.count("\n") + 3, "a header line, the call's line and the closing line"
    assert carried["_vantorel_tool.tricky"] == tricky
    assert (carried["_vantorel_tool.empty"], carried["_vantorel_tool.crlf"], carried["_vantorel_tool.bom"]) == ("", "A = 1\nB = 2\n", "C = 3\n")
    namespace = run(make_sources(tmp_path / "run", package({"tricky.py": tricky}, host=(
        "from . import tricky\ndef start(namespace):\n    namespace['values'] = (tricky.__doc__, tricky.RAW, tricky.QUOTES, tricky.ODD, tricky.LAST)\n"))))
    on_disk = {}
    exec(tricky, on_disk)
    assert namespace["values"] == (on_disk["__doc__"], on_disk["RAW"], on_disk["QUOTES"], on_disk["ODD"], on_disk["LAST"])


# ---- the loader -------------------------------------------------------------------------------------

def test_modules_import_each_other_relatively_and_absolutely_across_subpackages(tmp_path):
    files = package({
        "graph.py": "NODES = []\ndef add(name):\n    NODES.append(name)\n    return len(NODES)\n",
        "body/__init__.py": "from . import controls\nfrom .limbs.arm import ARM\n",
        "body/controls.py": "from .. import graph\nfrom _vantorel_tool.graph import add\ndef make():\n    return add('ctl'), graph.NODES\n",
        "body/limbs/__init__.py": "",
        "body/limbs/arm.py": "from ...graph import add\nimport _vantorel_tool.body.controls as controls\nARM = ('arm', controls.make)\n",
    }, host="from _vantorel_tool.body import controls, ARM\nimport _vantorel_tool.body.limbs.arm as arm\n"
            "def start(namespace):\n    namespace['made'] = (controls.make(), ARM[0], ARM[1] is controls.make, arm.add is controls.add)\n"
            "    namespace['modules'] = (controls, arm)\n")
    namespace = run(make_sources(tmp_path / "src", files), SOURCE_FILE="C:/Hero.fbx")
    assert namespace["made"] == ((1, ["ctl"]), "arm", True, True)
    controls, arm = namespace["modules"]
    assert (controls.__name__, controls.__package__, controls.__spec__.name) == ("_vantorel_tool.body.controls", "_vantorel_tool.body", "_vantorel_tool.body.controls")
    assert controls.__file__ == "vn_tool_check.py/_vantorel_tool/body/controls.py" and not hasattr(controls, "__path__")
    limbs = sys.modules["_vantorel_tool.body.limbs"]
    assert (limbs.__file__, limbs.__package__, limbs.__path__) == (
        "vn_tool_check.py/_vantorel_tool/body/limbs/__init__.py", "_vantorel_tool.body.limbs", ["vn_tool_check.py/_vantorel_tool/body/limbs"])
    assert arm.__package__ == "_vantorel_tool.body.limbs"
    assert sorted(namespace) == ["SOURCE_FILE", "__builtins__", "__name__", "made", "modules"], "only the host's values and what start put there"


def test_import_cycles_behave_as_they_do_from_files(tmp_path):
    cycles = {
        "working.py": "from . import partner\nVALUE = 'working'\ndef partner_value():\n    return partner.value()\n",
        "partner.py": "import _vantorel_tool.working\ndef value():\n    return _vantorel_tool.working.VALUE\n",
        "broken.py": "from .other import NAME\nFROM_BROKEN = 1\n",
        "other.py": "from .broken import FROM_BROKEN\nNAME = 'other'\n",
    }
    host = ("def start(namespace):\n    from . import working\n    namespace['value'] = working.partner_value()\n"
            "    try:\n        from . import broken\n    except ImportError as error:\n        namespace['error'] = (type(error), str(error))\n")
    files = package(cycles, host)
    on_disk = make_sources(tmp_path / "disk", files, loader=False)
    sys.path.insert(0, on_disk)
    from _vantorel_tool import host as disk_host
    expected = {}
    disk_host.start(expected)
    sys.path.remove(on_disk)
    forget_the_package()

    namespace = run(make_sources(tmp_path / "src", files))
    assert namespace["value"] == expected["value"] == "working"
    assert "partially initialized module '_vantorel_tool.broken'" in namespace["error"][1]
    assert namespace["error"] == (expected["error"][0], expected["error"][1].replace(os.path.join(on_disk, ""), "vn_tool_check.py/"))


def test_every_run_gets_fresh_modules_and_replaces_the_earlier_hook(tmp_path, monkeypatch):
    counter = "RUNS = []\n"
    host = "from . import counter\ndef start(namespace):\n    counter.RUNS.append(1)\n    namespace['runs'] = counter.RUNS\n"
    first = run(make_sources(tmp_path / "first", package({"counter.py": counter, "old.py": "OLD = 1\n"}, host)))
    # A package of the same name on the search path does not mix in: the carried one is served first.
    monkeypatch.syspath_prepend(make_sources(tmp_path / "disk", package({"counter.py": "RUNS = ['from disk']\n"}, host), loader=False))
    second = run(make_sources(tmp_path / "second", package({"counter.py": counter}, host)))
    assert first["runs"] == second["runs"] == [1] and first["runs"] is not second["runs"]
    assert len(carriers()) == 1
    assert "_vantorel_tool.old" not in sys.modules
    with pytest.raises(ModuleNotFoundError, match="_vantorel_tool.old"):
        __import__("_vantorel_tool.old")
    third = run(make_sources(tmp_path / "first_again", package({"counter.py": counter, "old.py": "OLD = 1\n"}, host)))
    assert third["runs"] == [1] and len(carriers()) == 1


def test_errors_propagate_with_their_message_and_tracebacks_show_the_carried_lines(tmp_path):
    driver = "def check(value):\n    if value < 0:\n        raise ValueError('negative value: %d' % value)\n    return value\n"
    source_dir = make_sources(tmp_path / "src", package({"body/__init__.py": "", "body/driver.py": driver},
                              host="from .body import driver\ndef start(namespace):\n    namespace['check'] = driver.check\n"))
    check = run(source_dir)["check"]
    with pytest.raises(ValueError, match="^negative value: -2$") as raised:
        check(-2)
    assert linecache.getline("vn_tool_check.py/_vantorel_tool/body/driver.py", 3) == "        raise ValueError('negative value: %d' % value)\n"
    linecache.clearcache()  # the sources stay reachable through the loader
    frames = traceback.format_exception(raised.value)
    assert ('  File "vn_tool_check.py/_vantorel_tool/body/driver.py", line 3, in check\n'
            "    raise ValueError('negative value: %d' % value)\n") in frames


def test_a_failing_module_stops_the_run_with_its_error_and_leaves_the_namespace_clean(tmp_path):
    source_dir = make_sources(tmp_path / "src", package({"broken.py": "LIMIT = 1\nraise RuntimeError('broken at import')\n"},
                              host="from . import broken\ndef start(namespace):\n    namespace['started'] = True\n"))
    namespace = {"__name__": "__main__", "json_file": "face.json"}
    with pytest.raises(RuntimeError, match="^broken at import$") as raised:
        exec(compile(bundle_tool_script.bundle(source_dir), "vn_tool_check.py", "exec"), namespace)
    assert sorted(namespace) == ["__builtins__", "__name__", "json_file"]
    assert "vn_tool_check.py/_vantorel_tool/broken.py" in "".join(traceback.format_exception(raised.value))


def test_running_the_written_script_writes_nothing_beside_it(tmp_path, monkeypatch):
    source_dir = make_sources(tmp_path / "src", package({"body/__init__.py": "", "body/driver.py": "X = 1\n"},
                              host="from .body import driver\ndef start(namespace):\n    namespace['x'] = driver.X\n"))
    folder = tmp_path / "Intermediate"
    folder.mkdir()
    (folder / "vn_tool_check.py").write_text(bundle_tool_script.bundle(source_dir), encoding="utf-8")
    monkeypatch.chdir(folder)
    monkeypatch.setattr(sys, "dont_write_bytecode", False)
    namespace = {"__name__": "__main__"}
    exec("exec(open('vn_tool_check.py', encoding='utf-8').read())", namespace)
    assert namespace["x"] == 1
    assert [os.path.relpath(os.path.join(top, name), folder) for top, dirs, names in os.walk(folder) for name in dirs + names] == ["vn_tool_check.py"]


# ---- the carriage -----------------------------------------------------------------------------------

def test_the_carriage_decodes_to_the_script_in_short_literals_one_stream_per_part():
    parts = bundle_tool_script.bundle_parts(TOOL_SCRIPT_DIR)
    text = bundle_tool_script.carriage_of_parts(parts)
    streams = carriage_streams(text)
    assert decoded(streams) == bundle_tool_script.bundle(TOOL_SCRIPT_DIR)
    assert [comment.split(":")[0] for comment, _ in streams] == [part.origin or "closing part" for part in parts]
    for (_, literals), part in zip(streams, parts):
        assert base64.b64decode("".join(literals)).decode("utf-8") == part.text
    literals = [literal for _, stream in streams for literal in stream]
    assert max(len(literal.encode("ascii")) for literal in literals) < 16000
    assert all(re.fullmatch("[A-Za-z0-9+/=]+", literal) for literal in literals)
    assert len(text.encode("utf-8")) <= 1.5 * sum(len(literal) for literal in literals)


def test_a_one_line_change_to_one_module_changes_only_that_modules_stream(tmp_path):
    copy = tmp_path / "ToolScript"
    shutil.copytree(TOOL_SCRIPT_DIR, copy, ignore=shutil.ignore_patterns("__pycache__"))
    changed = "_vantorel_tool/graph.py"
    before = bundle_tool_script.carriage(str(copy))
    [old_part] = [part.text for part in bundle_tool_script.bundle_parts(str(copy)) if part.origin == changed]
    lines = (copy / changed).read_text(encoding="utf-8").split("\n")
    middle = len(lines) // 2
    lines[middle] += "  # a longer line shifts the rest of this stream"
    (copy / changed).write_text("\n".join(lines), encoding="utf-8")
    after = bundle_tool_script.carriage(str(copy))

    def stream_lines(text):
        text_lines = text.splitlines()
        first = text_lines.index("\t// " + changed)
        last = text_lines.index("\t\tnullptr};", first)
        return text_lines, range(first, last + 1)

    old, old_stream = stream_lines(before)
    new, new_stream = stream_lines(after)
    changes = [opcode for opcode in difflib.SequenceMatcher(None, old, new, autojunk=False).get_opcodes() if opcode[0] != "equal"]
    assert changes, "the change shows in the carriage"
    for _, old_first, old_end, new_first, new_end in changes:
        assert set(range(old_first, old_end)) <= set(old_stream) and set(range(new_first, new_end)) <= set(new_stream)
    # Within the stream, the literals before the one holding the first changed Base64 quantum stay.
    [new_part] = [part.text for part in bundle_tool_script.bundle_parts(str(copy)) if part.origin == changed]
    old_bytes, new_bytes = old_part.encode("utf-8"), new_part.encode("utf-8")
    first_difference = next(index for index, (a, b) in enumerate(zip(old_bytes, new_bytes)) if a != b)
    first_literal = first_difference // 3 * 4 // bundle_tool_script.BASE64_PER_LITERAL
    assert min(opcode[1] for opcode in changes) == old_stream.start + 2 + first_literal, "after the comment and the declaration"
    assert decoded(carriage_streams(after)) == bundle_tool_script.bundle(str(copy))


def test_check_reports_a_stale_carriage_and_regeneration_fixes_it(tmp_path, capsys):
    source_dir = make_sources(tmp_path / "src", package({}))
    carriage = str(tmp_path / "Carriage.cpp")
    script_out = tmp_path / "vn_tool_script.py"
    arguments = ["--source-dir", source_dir, "--carriage", carriage]
    assert bundle_tool_script.main(arguments + ["--check"]) == 1
    assert "stale" in capsys.readouterr().err
    assert bundle_tool_script.main(arguments + ["--script-out", str(script_out)]) == 0
    assert bundle_tool_script.main(arguments + ["--check"]) == 0
    assert script_out.read_text(encoding="utf-8") == bundle_tool_script.bundle(source_dir)
    os.remove(os.path.join(source_dir, PACKAGE, "__init__.py"))
    assert bundle_tool_script.main(arguments) == 2
    assert "__init__.py is missing" in capsys.readouterr().err


# ---- the real script --------------------------------------------------------------------------------

def test_the_bundled_script_keeps_host_values_and_defaults_only_unset_ones(unreal):
    script = compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec")
    hosted = {"__name__": "__main__", "SOURCE_FILE": "C:/Proj/Hero.fbx", "INCLUDE_VN_FACE_SOLVER": False, "json_file": "D:/Hero_FaceRig.json"}
    exec(script, hosted)
    assert (hosted["SOURCE_FILE"], hosted["INCLUDE_VN_FACE_SOLVER"], hosted["json_file"]) == ("C:/Proj/Hero.fbx", False, "D:/Hero_FaceRig.json")
    by_hand = {"__name__": "__main__"}
    exec(script, by_hand)
    assert (by_hand["SOURCE_FILE"], by_hand["INCLUDE_VN_FACE_SOLVER"], by_hand["json_file"]) == ("", True, "")
    assert not {"_vn_tool_module", PACKAGE} & set(by_hand)
