"""The editor's Python naming rules for reflected types and members."""

import keyword

# Names that cannot be Python identifiers get a trailing underscore, as the editor's Python does.
RESERVED = set(keyword.kwlist) | {"print", "exec", "None", "True", "False"}

TYPE_PREFIXES = ("U", "F", "E", "A", "S", "I", "T")


def pythonize(name, upper=False):
    """UpperCamelCase to snake_case: a word starts at an upper-case letter that follows a lower-case
    letter, or that ends a run of capitals and is followed by a lower-case letter
    ("ImportVNFaceSDKJson" becomes "import_vn_face_sdk_json"; "Vector2D" becomes "vector2d")."""
    result = []
    for index, char in enumerate(name):
        previous = name[index - 1] if index > 0 else ""
        following = name[index + 1] if index + 1 < len(name) else ""
        if char.isupper() and index > 0 and previous != "_":
            if previous.islower() or (previous.isupper() and following.islower()):
                result.append("_")
        result.append(char.upper() if upper else char.lower())
    pythonized = "".join(result)
    if pythonized in RESERVED:
        pythonized += "_"
    return pythonized


def property_script_name(name, cpp_type, meta):
    """The scripting name of a property or parameter: a boolean's leading b is dropped. A ScriptName
    replaces the C++ name before the Python spelling is made from it."""
    if "ScriptName" in meta:
        return pythonize(meta["ScriptName"])
    if cpp_type == "bool" and len(name) > 1 and name[0] == "b" and name[1].isupper():
        name = name[1:]
    return pythonize(name)


def parameter_script_name(name, cpp_type):
    """The scripting name of a function parameter: the "In" prefix and a boolean's b are dropped
    ("InDesiredPackagePath" becomes "desired_package_path", "bSetupUndoRedo" "setup_undo_redo"); an
    "Out" prefix stays ("OutError" is "out_error")."""
    while True:
        if cpp_type == "bool" and len(name) > 1 and name[0] == "b" and name[1].isupper():
            name = name[1:]
        elif len(name) > 2 and name.startswith("In") and name[2].isupper():
            name = name[2:]
        else:
            break
    return pythonize(name)


def function_script_name(name, meta):
    """A function's Python name: from its ScriptName when it has one ("GetBones" gives "get_bones")."""
    if "ScriptName" in meta:
        return pythonize(meta["ScriptName"])
    return pythonize(name)


def enumerator_script_name(name, meta):
    if meta and "ScriptName" in meta:
        return meta["ScriptName"]
    return pythonize(name, upper=True)


def type_script_name(cpp_name, meta):
    """A type's scripting name: its C++ name without the engine's type prefix."""
    if "ScriptName" in meta:
        return meta["ScriptName"]
    if len(cpp_name) > 1 and cpp_name[0] in TYPE_PREFIXES and cpp_name[1].isupper():
        return cpp_name[1:]
    return cpp_name


def stripped_type_name(cpp_name):
    """The engine's object name of a type: the C++ name without its prefix letter."""
    if len(cpp_name) > 1 and cpp_name[0] in TYPE_PREFIXES and (cpp_name[1].isupper() or cpp_name[0] == "F"):
        return cpp_name[1:]
    return cpp_name
