#!/usr/bin/env python3
"""Bundles the tool script's package into the one script text and writes the carriage that the editor
module compiles.

    bundle_tool_script.py --source-dir DIR --carriage FILE [--check] [--script-out FILE]

The source folder holds the loader (vn_tool_loader.py) and the package _vantorel_tool/. The script text
is made of parts: the loader, then one part per module of the package (every .py file under
_vantorel_tool/, in the order of their paths), each handing the loader that module's source, then the
closing part, which starts the package's host module in the script's namespace and removes the
loader's names from it. The modules' own imports decide the order in which they run.

The carriage is a C++ source holding each part as its own standard Base64 stream, written as string
literals of BASE64_PER_LITERAL characters, one a line: no literal comes near the compilers' caps on
string literals, and a change to one module changes only the lines of that module's stream.

--check compares FILE with what would be written and exits 1 when it differs (a stale carriage)."""

import argparse
import base64
import keyword
import os
import re
import sys

PACKAGE = "_vantorel_tool"
LOADER_NAME = "vn_tool_loader.py"
LOADER_FUNCTION = "_vn_tool_module"
HOST_MODULE = PACKAGE + ".host"
BASE64_PER_LITERAL = 100

CLOSING_PART = """# ==== closing ====
try:
    import %(host)s
    %(host)s.start(globals())
finally:
    globals().pop(%(package)r, None)
    globals().pop(%(loader_function)r, None)
""" % {"host": HOST_MODULE, "package": PACKAGE, "loader_function": LOADER_FUNCTION}

CARRIAGE_HEADER = """// The tool script carried by the editor module: its parts (the loader, one per module of the %s
// package, the closing part), each as its own standard Base64 stream of UTF-8 text, in the order their
// texts join into the script.
// Generated from ToolScript/ by scripts/check-tool-script; edit the Python sources, not this file.
// Each stream is an array of short string literals ending in nullptr: compilers cap the length of one
// string literal and of adjacent literals joined, so no literal is long and none relies on joining.
#include "VNToolScript.h"

namespace
{
""" % PACKAGE


class BundleError(Exception):
    pass


class Part:
    """One part of the script: its text, and where it comes from (a path under the source folder)."""

    def __init__(self, origin, text):
        self.origin = origin
        self.text = text


def read_source(path, relative):
    """A source file's text as Python reads a source: UTF-8, universal newlines, without a leading BOM."""
    try:
        with open(path, encoding="utf-8") as source:
            text = source.read()
    except UnicodeDecodeError as error:
        raise BundleError("%s is not UTF-8 text: %s" % (relative, error))
    except OSError as error:
        raise BundleError("cannot read %s: %s" % (relative, error))
    if text.startswith("\ufeff"):
        text = text[1:]
    if "\0" in text:
        raise BundleError("%s holds a NUL character, which Python source cannot hold" % relative)
    return text


def is_module_name(name):
    return name.isidentifier() and not keyword.iskeyword(name)


def package_sources(source_dir):
    """The package's source files as (module name, is package, path relative to source_dir with forward
    slashes), sorted by that path. Refuses a tree that Python could not import as one package."""
    root = os.path.join(source_dir, PACKAGE)
    if not os.path.isfile(os.path.join(root, "__init__.py")):
        raise BundleError("%s has no package %s: %s/__init__.py is missing" % (source_dir, PACKAGE, PACKAGE))
    stray = sorted(name for name in os.listdir(source_dir)
                   if name.endswith(".py") and name != LOADER_NAME and os.path.isfile(os.path.join(source_dir, name)))
    if stray:
        raise BundleError("sources outside the package %s in %s: %s" % (PACKAGE, source_dir, ", ".join(stray)))
    modules = []
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [name for name in subfolders if name != "__pycache__"]
        sources = [name for name in files if name.endswith(".py")]
        if not sources:
            continue
        relative_folder = os.path.relpath(folder, source_dir).replace(os.sep, "/")
        package_parts = relative_folder.split("/")
        for depth in range(1, len(package_parts) + 1):
            if not os.path.isfile(os.path.join(source_dir, *package_parts[:depth], "__init__.py")):
                raise BundleError("folder %s holds modules but has no __init__.py" % "/".join(package_parts[:depth]))
        for part in package_parts:
            if not is_module_name(part):
                raise BundleError("folder %s: %r is not a Python package name" % (relative_folder, part))
        for name in sources:
            stem = name[:-len(".py")]
            if not is_module_name(stem):
                raise BundleError("%s/%s: %r is not a Python module name" % (relative_folder, name, stem))
            is_package = stem == "__init__"
            module = ".".join(package_parts if is_package else package_parts + [stem])
            modules.append((module, is_package, relative_folder + "/" + name))
    return sorted(modules, key=lambda module: module[2])


# What a module's text escapes in its triple-quoted literal: backslashes; a double quote before another
# or at the end, where it could help close the literal; and the characters that would not read back as
# themselves or that an editor would take for a line break (a carriage return, other control characters,
# Unicode line separators, a byte order mark). Tabs and line feeds stay as they are.
ESCAPED_IN_LITERAL = re.compile('[\\\\\x00-\x08\x0b-\x1f\x7f-\x9f\u2028\u2029\ufeff]|"(?="|\\Z)')


def string_literal(text):
    """A triple-quoted Python string literal of text that keeps its lines as lines: it opens with a
    line continuation, so each line of the text is one line of the literal."""
    def escape(match):
        character = match.group(0)
        if character in "\\\"":
            return "\\" + character
        code = ord(character)
        return "\\x%02x" % code if code < 0x100 else "\\u%04x" % code
    return '"""\\\n' + ESCAPED_IN_LITERAL.sub(escape, text) + '"""'


def module_part(module, is_package, relative, text):
    return "# ==== %s ====\n%s(%r, %r, %s)\n" % (relative, LOADER_FUNCTION, module, is_package, string_literal(text))


def bundle_parts(source_dir):
    """The script's parts in order: the loader, each module of the package, the closing part."""
    loader_path = os.path.join(source_dir, LOADER_NAME)
    if not os.path.isfile(loader_path):
        raise BundleError("%s has no loader %s" % (source_dir, LOADER_NAME))
    loader = read_source(loader_path, LOADER_NAME)
    if not loader.endswith("\n"):
        loader += "\n"
    parts = [Part(LOADER_NAME, "# ==== %s ====\n%s" % (LOADER_NAME, loader))]
    for module, is_package, relative in package_sources(source_dir):
        text = read_source(os.path.join(source_dir, *relative.split("/")), relative)
        parts.append(Part(relative, module_part(module, is_package, relative, text)))
    parts.append(Part(None, CLOSING_PART))
    return parts


def bundle(source_dir):
    """The one script text: its parts joined in order."""
    return "".join(part.text for part in bundle_parts(source_dir))


def stream_name(origin, taken):
    """A C++ name for a part's stream, made from its origin: letters and digits kept, every other run
    of characters one underscore (C++ reserves names with two underscores), unique among taken."""
    stem = re.sub("[^A-Za-z0-9]+", "_", origin or "closing").strip("_")
    name = "Part_" + stem
    suffix = 2
    while name in taken:
        name = "Part_%s_%d" % (stem, suffix)
        suffix += 1
    taken.add(name)
    return name


def carriage_of_parts(parts):
    """The C++ carriage of the script's parts."""
    lines = [CARRIAGE_HEADER]
    names = []
    taken = set()
    for part in parts:
        name = stream_name(part.origin, taken)
        names.append(name)
        encoded = base64.b64encode(part.text.encode("utf-8")).decode("ascii")
        lines.append("\t// %s\n" % (part.origin or "closing part: starts %s in the script's namespace" % HOST_MODULE))
        lines.append("\tconst ANSICHAR* const %s[] = {\n" % name)
        for start in range(0, len(encoded), BASE64_PER_LITERAL):
            lines.append('\t\t"%s",\n' % encoded[start:start + BASE64_PER_LITERAL])
        lines.append("\t\tnullptr};\n\n")
    lines.append("}\n\nconst ANSICHAR* const* const VantorelToolScript::EmbeddedBase64Streams[] = {\n")
    lines.extend("\t%s,\n" % name for name in names)
    lines.append("\tnullptr};\n")
    return "".join(lines)


def carriage(source_dir):
    """The C++ carriage of the package in source_dir."""
    return carriage_of_parts(bundle_parts(source_dir))


def read_text(path):
    try:
        with open(path, encoding="utf-8", newline="") as existing:
            return existing.read()
    except (OSError, UnicodeDecodeError):
        return None


def write_if_changed(path, text):
    if read_text(path) == text:
        return False
    directory = os.path.dirname(path)
    if directory:
        os.makedirs(directory, exist_ok=True)
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)
    os.replace(temporary, path)
    return True


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--carriage", required=True)
    parser.add_argument("--script-out")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args(argv)
    try:
        parts = bundle_parts(args.source_dir)
    except (BundleError, OSError) as error:
        print("bundle_tool_script: %s" % error, file=sys.stderr)
        return 2
    expected = carriage_of_parts(parts)
    if args.check:
        if read_text(args.carriage) != expected:
            print("bundle_tool_script: %s is stale; run scripts/check-tool-script to regenerate it" % args.carriage,
                  file=sys.stderr)
            return 1
        return 0
    write_if_changed(args.carriage, expected)
    if args.script_out:
        write_if_changed(args.script_out, "".join(part.text for part in parts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
