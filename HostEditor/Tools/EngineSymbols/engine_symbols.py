#!/usr/bin/env python3
"""Lists the engine declarations that the plug-in's C++ refers to, read by libclang from the plug-in's
translation units with the include paths of the build, and holds them to the engine C++ record.

    engine_symbols.py --build-dir DIR [--record FILE] [--list] [--jobs N]

An engine declaration is one made in a header of the stand-in (HostEditor/Include); the plug-in's
references to it are the names it spells in its own sources (Plugins/): types, functions and the
overloads it calls, members, enumerators, variables, macros, the engine headers it includes and the
virtual functions it overrides. Names that only appear in the text of an engine macro are the
macro's business, not the plug-in's; names in the macro's arguments are the plug-in's.

Without --list the tool prints how many references there are, how many the record confirms against
the 5.4 reference and how many it leaves unconfirmed, names every reference the record lacks, and
exits 1 when one is missing or the record or the plug-in cannot be read."""

import argparse
import ctypes
import json
import multiprocessing
import os
import re
import sys

import clang.cindex as cindex

LIBCLANG_CANDIDATES = ("/usr/lib/llvm-14/lib/libclang.so.1", "/usr/lib/x86_64-linux-gnu/libclang-14.so.1")

# An entry of the record: "- `key` — source".
RECORD_ENTRY = re.compile(r"^- `(?P<key>[^`]+)` — (?P<source>\S.*)$")
UNCONFIRMED = "unconfirmed"

FUNCTION_KINDS = {
    cindex.CursorKind.CXX_METHOD, cindex.CursorKind.FUNCTION_DECL, cindex.CursorKind.CONSTRUCTOR,
    cindex.CursorKind.DESTRUCTOR, cindex.CursorKind.FUNCTION_TEMPLATE, cindex.CursorKind.CONVERSION_FUNCTION,
}
# The cursors that name a declaration. Calls are named by the reference to their callee, except
# constructions and operators, which the call itself names.
REFERENCE_KINDS = {
    cindex.CursorKind.TYPE_REF, cindex.CursorKind.TEMPLATE_REF, cindex.CursorKind.NAMESPACE_REF,
    cindex.CursorKind.MEMBER_REF, cindex.CursorKind.MEMBER_REF_EXPR, cindex.CursorKind.DECL_REF_EXPR,
    cindex.CursorKind.OVERLOADED_DECL_REF, cindex.CursorKind.VARIABLE_REF,
}
CALL_NAMED_KINDS = {cindex.CursorKind.CONSTRUCTOR, cindex.CursorKind.CONVERSION_FUNCTION}


def load_libclang():
    """Points the binding at Debian's libclang 14, which it does not find by itself."""
    if cindex.Config.loaded:
        return
    for candidate in LIBCLANG_CANDIDATES:
        if os.path.exists(candidate):
            cindex.Config.set_library_file(candidate)
            break


def _declare_c_functions():
    """Declares the libclang functions the binding does not wrap."""
    lib = cindex.conf.lib
    lib.clang_getSpellingLocation.argtypes = [cindex.SourceLocation, ctypes.POINTER(cindex.c_object_p),
                                              ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint),
                                              ctypes.POINTER(ctypes.c_uint)]
    lib.clang_getSpecializedCursorTemplate.argtypes = [cindex.Cursor]
    lib.clang_getSpecializedCursorTemplate.restype = cindex.Cursor
    lib.clang_getOverriddenCursors.argtypes = [cindex.Cursor, ctypes.POINTER(ctypes.POINTER(cindex.Cursor)),
                                               ctypes.POINTER(ctypes.c_uint)]
    lib.clang_disposeOverriddenCursors.argtypes = [ctypes.POINTER(cindex.Cursor)]


def file_location(location):
    """Where a token stands in a file: a token of a macro's argument where the argument is written, a
    token of the macro's own text where the macro is called (libclang's "spelling" location, which is
    the file location)."""
    handle = cindex.c_object_p()
    line, column, offset = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
    cindex.conf.lib.clang_getSpellingLocation(location, ctypes.byref(handle), ctypes.byref(line),
                                              ctypes.byref(column), ctypes.byref(offset))
    if not handle:
        return None, 0
    return cindex.File(handle).name, offset.value


def overridden(cursor):
    """The declarations a virtual member function overrides."""
    array = ctypes.POINTER(cindex.Cursor)()
    count = ctypes.c_uint()
    cindex.conf.lib.clang_getOverriddenCursors(cursor, ctypes.byref(array), ctypes.byref(count))
    # The cursors are copied out before the array is released.
    result = []
    for index in range(count.value):
        copy = cindex.Cursor()
        ctypes.memmove(ctypes.byref(copy), ctypes.byref(array[index]), ctypes.sizeof(cindex.Cursor))
        copy._tu = cursor._tu
        result.append(copy)
    if count.value:
        cindex.conf.lib.clang_disposeOverriddenCursors(array)
    return result


def primary_template(cursor):
    """The declaration a template instantiation was made from, or the cursor itself."""
    for _ in range(8):
        template = cindex.conf.lib.clang_getSpecializedCursorTemplate(cursor)
        if template is None or template.kind.is_invalid() or template == cursor:
            return cursor
        template._tu = cursor._tu
        cursor = template
    return cursor


def is_unnamed(cursor):
    spelling = cursor.spelling
    return not spelling or spelling.startswith("(") or " (unnamed" in spelling or " (anonymous" in spelling


def qualified_name(cursor):
    parts = []
    current = cursor
    while current is not None and current.kind != cindex.CursorKind.TRANSLATION_UNIT:
        if current.kind == cindex.CursorKind.UNEXPOSED_DECL or (
                current.kind == cindex.CursorKind.ENUM_DECL and current is not cursor and is_unnamed(current)):
            # extern "C++" blocks and unnamed enumerations name nothing: INDEX_NONE is just INDEX_NONE.
            current = current.semantic_parent
            continue
        parts.append(current.spelling or "(anonymous)")
        current = current.semantic_parent
    return "::".join(reversed(parts))


def is_implicit(cursor):
    """True for the members the compiler declares itself (copy and move constructors and assignments),
    which stand at their class's name and span nothing more."""
    extent = cursor.extent
    if extent.start.file is None:
        return True
    at_name = (cursor.location.line, cursor.location.column) == (extent.start.line, extent.start.column)
    return at_name and extent.start.line == extent.end.line and \
        extent.end.column - extent.start.column == len(cursor.semantic_parent.spelling or "")


def key_of(declaration):
    """The record key of an engine declaration: its qualified name, with the parameter types and a
    trailing "const" for functions, as the declaration spells them."""
    declaration = primary_template(declaration)
    if declaration.kind == cindex.CursorKind.MACRO_DEFINITION:
        return "#define " + declaration.spelling
    name = qualified_name(declaration)
    if declaration.kind in FUNCTION_KINDS:
        scope = name.rsplit("::", 1)[0] + "::" if "::" in name else ""
        key = scope + declaration.displayname
        if declaration.kind != cindex.CursorKind.FUNCTION_DECL and declaration.is_const_method():
            key += " const"
        return key
    return name


class Collector:
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.plugin_dir = os.path.join(self.root, "Plugins") + os.sep
        self.engine_dir = os.path.join(self.root, "HostEditor", "Include") + os.sep

        self._real_paths = {}

    def _real(self, path):
        real = self._real_paths.get(path)
        if real is None:
            real = self._real_paths[path] = os.path.realpath(path)
        return real

    def in_plugin(self, path):
        return path is not None and self._real(path).startswith(self.plugin_dir)

    def in_engine(self, path):
        return path is not None and self._real(path).startswith(self.engine_dir)

    def engine_header(self, path):
        """The include path of an engine header: its path below its module's folder."""
        relative = os.path.relpath(os.path.realpath(path), self.engine_dir)
        return relative.split(os.sep, 1)[1] if os.sep in relative else relative

    def collect(self, file_name, arguments):
        """Maps each engine key the translation unit's plug-in code refers to, to where it does."""
        index = cindex.Index.create()
        unit = index.parse(file_name, args=arguments,
                           options=cindex.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD)
        errors = [str(d) for d in unit.diagnostics if d.severity >= cindex.Diagnostic.Error]
        found = {}

        def note(key, cursor):
            if key not in found:
                location = cursor.location
                found[key] = "%s:%d" % (os.path.relpath(location.file.name, self.root), location.line)

        # A token of a macro's own text is placed where the macro is called, at the macro's name; a
        # token of an argument keeps its place inside the call's parentheses.
        macro_calls = {(c.location.file.name, c.location.offset) for c in unit.cursor.get_children()
                       if c.kind == cindex.CursorKind.MACRO_INSTANTIATION and c.location.file is not None}

        for cursor in unit.cursor.walk_preorder():
            location = cursor.location
            if location.file is None or not self.in_plugin(location.file.name):
                continue
            kind = cursor.kind
            if kind == cindex.CursorKind.INCLUSION_DIRECTIVE:
                included = cursor.get_included_file()
                if included is not None and self.in_engine(included.name):
                    note('#include "%s"' % self.engine_header(included.name), cursor)
                continue
            if kind == cindex.CursorKind.MACRO_INSTANTIATION:
                definition = cursor.referenced
                if definition is not None and definition.location.file is not None and \
                        self.in_engine(definition.location.file.name):
                    note("#define " + cursor.spelling, cursor)
                continue
            if kind in (cindex.CursorKind.CXX_METHOD, cindex.CursorKind.DESTRUCTOR) and cursor.is_virtual_method():
                for base in overridden(cursor):
                    if base.location.file is not None and self.in_engine(base.location.file.name):
                        note(key_of(base), cursor)
            if kind not in REFERENCE_KINDS and kind != cindex.CursorKind.CALL_EXPR:
                continue
            declaration = cursor.referenced
            if declaration is None or declaration.location.file is None or declaration == cursor:
                continue
            if kind == cindex.CursorKind.CALL_EXPR and declaration.kind not in CALL_NAMED_KINDS and \
                    not declaration.spelling.startswith("operator"):
                continue
            if not self.in_engine(declaration.location.file.name):
                continue
            if declaration.kind in FUNCTION_KINDS and is_implicit(declaration):
                continue
            written = file_location(location)
            if written in macro_calls or not self.in_plugin(written[0]):
                continue
            note(key_of(declaration), cursor)
        return found, errors


def plugin_units(build_dir, root):
    """The plug-in's own translation units from the build's compile commands, with their arguments
    (the compile command without its output, input and warning options)."""
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as commands:
        entries = json.load(commands)
    plugin_dir = os.path.join(os.path.realpath(root), "Plugins") + os.sep
    units = []
    for entry in entries:
        file_name = os.path.realpath(entry["file"])
        if not file_name.startswith(plugin_dir):
            continue
        words = entry["arguments"] if "arguments" in entry else entry["command"].split()
        arguments = []
        skip = False
        for word in words[1:]:
            if skip:
                skip = False
                continue
            if word in ("-o", "-c", "-MF", "-MT", "-MQ"):
                skip = True
                continue
            if word.startswith(("-W", "-fsanitize", "-M")) or os.path.realpath(word) == file_name:
                continue
            arguments.append(word)
        units.append((file_name, arguments))
    return sorted(units)


def _collect_unit(job):
    root, file_name, arguments = job
    load_libclang()
    _declare_c_functions()
    return file_name, Collector(root).collect(file_name, arguments)


def engine_references(build_dir, root, jobs=None):
    """Every engine key the plug-in refers to, with the first place it does; and the parse errors."""
    units = plugin_units(build_dir, root)
    if not units:
        raise SystemExit("no plug-in translation units in %s/compile_commands.json" % build_dir)
    work = [(root, file_name, arguments) for file_name, arguments in units]
    jobs = jobs or os.cpu_count() or 1
    if jobs > 1:
        with multiprocessing.Pool(min(jobs, len(work))) as pool:
            results = pool.map(_collect_unit, work)
    else:
        results = [_collect_unit(job) for job in work]
    references = {}
    errors = []
    for file_name, (found, unit_errors) in results:
        for key, where in found.items():
            references.setdefault(key, where)
        errors.extend("%s: %s" % (os.path.relpath(file_name, root), error) for error in unit_errors)
    return references, errors


def read_record(path):
    """The record's entries, key to source; raises ValueError for an entry without a source or twice."""
    entries = {}
    with open(path, encoding="utf-8") as record:
        for number, line in enumerate(record, 1):
            if not line.startswith("- `"):
                continue
            match = RECORD_ENTRY.match(line.rstrip("\n"))
            if not match:
                raise ValueError("%s:%d: an entry is \"- `key` — source\": %s" % (path, number, line.strip()))
            key = match.group("key")
            if key in entries:
                raise ValueError("%s:%d: %s is recorded twice" % (path, number, key))
            entries[key] = match.group("source").strip()
    return entries


def is_confirmed(source):
    return not source.lower().startswith(UNCONFIRMED)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))))
    parser.add_argument("--record")
    parser.add_argument("--list", action="store_true", help="print every reference with where it is made")
    parser.add_argument("--jobs", type=int)
    options = parser.parse_args(argv)
    load_libclang()
    references, errors = engine_references(options.build_dir, options.root, options.jobs)
    if errors:
        print("the plug-in does not parse:", *errors, sep="\n  ")
        return 1
    if options.list:
        for key in sorted(references):
            print("%s\t%s" % (key, references[key]))
        return 0
    try:
        record = read_record(options.record or os.path.join(options.root, "HostEditor", "Include", "ENGINE_API.md"))
    except (OSError, ValueError) as error:
        print("the engine record cannot be read: %s" % error)
        return 1
    used = sorted(references)
    missing = [key for key in used if key not in record]
    confirmed = sum(1 for key in used if key in record and is_confirmed(record[key]))
    print("engine symbols used by the plug-in: %d; confirmed: %d; unconfirmed: %d; not in the record: %d"
          % (len(used), confirmed, len(used) - confirmed - len(missing), len(missing)))
    for key in missing:
        print("  not in the record: %s (%s)" % (key, references[key]))
    unused = sorted(key for key in record if key not in references)
    if unused:
        # Not a failure: the plug-in stopped using these, and the record can drop them.
        print("recorded but no longer used by the plug-in: %s" % ", ".join(unused))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
