#!/usr/bin/env python3
"""The stand-in's header tool: from the reflection markup of a module's headers it writes, for each
header X.h, the X.generated.h that GENERATED_BODY() expands from and the X.gen.cpp that registers the
header's enumerations, structs, classes and functions with the object system, with the names the
editor's Python gives them."""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from reflection_parser import HeaderToolError, parse_header  # noqa: E402
import script_names  # noqa: E402

PROPERTY_FLAG_SPECIFIERS = {
    "editanywhere": ["CPF_Edit"],
    "editinstanceonly": ["CPF_Edit", "CPF_DisableEditOnTemplate"],
    "editdefaultsonly": ["CPF_Edit", "CPF_DisableEditOnInstance"],
    "visibleanywhere": ["CPF_Edit", "CPF_EditConst"],
    "visibleinstanceonly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnTemplate"],
    "visibledefaultsonly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnInstance"],
    "blueprintreadwrite": ["CPF_BlueprintVisible"],
    "blueprintreadonly": ["CPF_BlueprintVisible", "CPF_BlueprintReadOnly"],
    "transient": ["CPF_Transient"],
    "config": ["CPF_Config"],
    "globalconfig": ["CPF_GlobalConfig", "CPF_Config"],
    "advanceddisplay": ["CPF_AdvancedDisplay"],
    "simpledisplay": ["CPF_SimpleDisplay"],
    "instanced": ["CPF_InstancedReference", "CPF_ExportObject"],
    "noclear": ["CPF_NoClear"],
    "savegame": ["CPF_SaveGame"],
    "duplicatetransient": ["CPF_DuplicateTransient"],
    "assetregistrysearchable": ["CPF_AssetRegistrySearchable"],
    "interp": ["CPF_Edit", "CPF_BlueprintVisible", "CPF_Interp"],
}

FUNCTION_FLAG_SPECIFIERS = {
    "blueprintcallable": ["FUNC_BlueprintCallable"],
    "blueprintpure": ["FUNC_BlueprintCallable", "FUNC_BlueprintPure"],
    "exec": ["FUNC_Exec"],
    "blueprintimplementableevent": ["FUNC_BlueprintEvent", "FUNC_Event"],
    "blueprintnativeevent": ["FUNC_BlueprintEvent", "FUNC_Event"],
    "blueprintcosmetic": ["FUNC_BlueprintCosmetic"],
}

CLASS_FLAG_SPECIFIERS = {
    "abstract": "CLASS_Abstract",
    "transient": "CLASS_Transient",
    "config": "CLASS_Config",
    "defaultconfig": "CLASS_DefaultConfig",
    "editinlinenew": "CLASS_EditInlineNew",
    "notplaceable": "CLASS_NotPlaceable",
    "minimalapi": "CLASS_MinimalAPI",
    "deprecated": "CLASS_Deprecated",
    "const": "CLASS_Const",
    "defaulttoinstanced": "CLASS_DefaultToInstanced",
}

# Specifiers that the engine keeps as metadata.
METADATA_SPECIFIERS = {"category": "Category", "displayname": "DisplayName", "tooltip": "ToolTip",
                       "callineditor": "CallInEditor", "blueprinttype": "BlueprintType",
                       "blueprintable": "IsBlueprintBase", "config": "Config"}


def cpp_string(text):
    """A TEXT("...") literal for text."""
    escaped = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")
    return 'TEXT("%s")' % escaped


OBJECT_TEMPLATE = re.compile(r"\b(?:TObjectPtr|TSubclassOf|TSoftObjectPtr|TSoftClassPtr|TWeakObjectPtr)\s*<\s*(?:const\s+)?(?:class\s+)?(\w+)\s*>")
OBJECT_POINTER = re.compile(r"(?:^|[<,\s])(?:const\s+)?(?:class\s+)?([UA][A-Z]\w*)\s*\*")


def object_class_of(cpp_type):
    """The class an object-typed member points at (or whose subclasses it holds), or None."""
    match = OBJECT_TEMPLATE.search(cpp_type) or OBJECT_POINTER.search(cpp_type)
    if not match or match.group(1) == "UClass":
        return None
    return match.group(1)


def class_registration(cpp_type):
    name = object_class_of(cpp_type)
    return ", &Z_Construct_UClass_%s_NoRegister" % name if name else ""


def file_id(module, header_path):
    base = os.path.basename(header_path)
    return "FID_%s_%s" % (module, re.sub(r"\W", "_", base))


def metadata_for(specifiers, tooltip):
    metadata = {}
    for flag in specifiers.flags:
        key = METADATA_SPECIFIERS.get(flag.lower())
        if key:
            metadata[key] = "true"
    for key, value in specifiers.values.items():
        mapped = METADATA_SPECIFIERS.get(key.lower())
        if mapped:
            metadata[mapped] = value
    metadata.update(specifiers.meta)
    if tooltip and "ToolTip" not in metadata:
        metadata["ToolTip"] = tooltip
    return metadata


def umeta_for(specifiers, tooltip):
    """The metadata of an enumerator's UMETA: every specifier is metadata there, a bare flag such as
    Hidden included (with an empty value)."""
    metadata = metadata_for(specifiers, tooltip)
    for flag in specifiers.flags:
        if flag.lower() not in METADATA_SPECIFIERS:
            metadata.setdefault(flag, "")
    return metadata


def metadata_array(name, metadata, out):
    """Writes a static metadata array; returns the (array, count) arguments for it."""
    if not metadata:
        return "nullptr", 0
    entries = ", ".join("{%s, %s}" % (cpp_string(key), cpp_string(value)) for key, value in sorted(metadata.items()))
    out.append("\t\tstatic const UECodeGen_Private::FMetaDataPair %s[] = {%s};" % (name, entries))
    return name, len(metadata)


def pin_flags(specifiers):
    """The flags the engine's header tool gives a RigVM pin: a member marked Input, Output or Visible is
    editable and visible to scripts; an output-only pin is read-only for scripts, a Constant one is
    not editable on a node instance."""
    meta = {key.lower() for key in specifiers.meta}
    if not meta & {"input", "output", "visible"}:
        return []
    flags = ["CPF_Edit", "CPF_BlueprintVisible"]
    if "output" in meta and "input" not in meta:
        flags.append("CPF_BlueprintReadOnly")
    if "constant" in meta:
        flags.append("CPF_EditConst")
    return flags


def property_flags(specifiers, extra=()):
    flags = list(extra) + pin_flags(specifiers)
    for flag in specifiers.flags:
        flags.extend(PROPERTY_FLAG_SPECIFIERS.get(flag.lower(), []))
    if not flags:
        return "CPF_None"
    unique = []
    for flag in flags:
        if flag not in unique:
            unique.append(flag)
    return "EPropertyFlags(" + " | ".join(unique) + ")"


# Struct defaults written as constants or constructor calls, with the member names of their text form.
STRUCT_DEFAULT_MEMBERS = {"FVector2D": ("X", "Y"), "FVector": ("X", "Y", "Z"), "FLinearColor": ("R", "G", "B", "A")}
STRUCT_DEFAULT_CONSTANTS = {"FVector2D::ZeroVector": ("FVector2D", (0, 0)), "FVector2D::UnitVector": ("FVector2D", (1, 1)),
                            "FVector::ZeroVector": ("FVector", (0, 0, 0)), "FVector::OneVector": ("FVector", (1, 1, 1)),
                            "FLinearColor::Black": ("FLinearColor", (0, 0, 0, 1)), "FLinearColor::White": ("FLinearColor", (1, 1, 1, 1))}


def struct_default_text(type_name, values):
    members = STRUCT_DEFAULT_MEMBERS[type_name]
    if type_name == "FLinearColor" and len(values) == 3:
        values = tuple(values) + (1.0,)
    if len(values) != len(members):
        return None
    return "(%s)" % ",".join("%s=%f" % (name, float(value)) for name, value in zip(members, values))


def normalise_struct_default(text):
    """The text form of a struct default ("FVector2D::ZeroVector", "FVector2D(400.f, 300.f)"), or None."""
    if text in STRUCT_DEFAULT_CONSTANTS:
        return struct_default_text(*STRUCT_DEFAULT_CONSTANTS[text])
    match = re.fullmatch(r"(FVector2D|FVector|FLinearColor)\s*\((.*)\)", text)
    if not match:
        return None
    try:
        values = [float(part.strip().rstrip("fF")) for part in match.group(2).split(",")]
    except ValueError:
        return None
    return struct_default_text(match.group(1), values)


def normalise_default(text):
    """The text form of a C++ default argument, as the engine records it for scripts."""
    text = text.strip()
    struct_text = normalise_struct_default(text)
    if struct_text is not None:
        return struct_text
    match = re.fullmatch(r'TEXT\("(.*)"\)', text)
    if match:
        return match.group(1)
    match = re.fullmatch(r'"(.*)"', text)
    if match:
        return match.group(1)
    match = re.fullmatch(r'(?:FName|FString)\((?:TEXT\()?"(.*)"\)?\)', text)
    if match:
        return match.group(1)
    if text in ("NAME_None", "FName()", "FString()", "TEXT(\"\")"):
        return "None" if text.startswith(("NAME", "FName")) else ""
    if re.fullmatch(r"[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?[fF]?", text):
        value = text.rstrip("fF")
        return "%f" % float(value) if ("." in value or "e" in value.lower()) else value
    if text in ("true", "false"):
        return text
    match = re.fullmatch(r"\w+::(\w+)", text)
    if match and not text.startswith("F"):
        return match.group(1)
    if text == "nullptr":
        return "None"
    struct_default = normalise_struct_default(text)
    if struct_default is not None:
        return struct_default
    return text


# The components of the core structs whose constructor calls may be written as default arguments.
STRUCT_DEFAULT_COMPONENTS = {"FVector": ("X", "Y", "Z"), "FVector2D": ("X", "Y"), "FRotator": ("Pitch", "Yaw", "Roll"),
                             "FLinearColor": ("R", "G", "B", "A")}
STRUCT_DEFAULT_CONSTANTS = {"FVector::ZeroVector": "FVector(0)", "FVector::OneVector": "FVector(1)",
                            "FVector2D::ZeroVector": "FVector2D(0)", "FRotator::ZeroRotator": "FRotator(0)",
                            "FLinearColor::Black": "FLinearColor(0, 0, 0, 1)",
                            "FLinearColor::White": "FLinearColor(1, 1, 1, 1)"}


def normalise_struct_default(text):
    """The struct text of a core struct default such as FVector(1.f, 1.f, 1.f) or FVector::ZeroVector,
    or None when text is not one."""
    text = STRUCT_DEFAULT_CONSTANTS.get(text, text)
    match = re.fullmatch(r"(\w+)\s*\((.*)\)", text)
    if not match or match.group(1) not in STRUCT_DEFAULT_COMPONENTS:
        return None
    components = STRUCT_DEFAULT_COMPONENTS[match.group(1)]
    values = [part.strip().rstrip("fF") for part in match.group(2).split(",")]
    if len(values) == 1:
        values = values * len(components)
    if len(values) != len(components):
        return None
    try:
        numbers = [float(value) for value in values]
    except ValueError:
        return None
    return "(" + ",".join("%s=%f" % (name, number) for name, number in zip(components, numbers)) + ")"


class Generator:
    def __init__(self, module, package, header, decls):
        self.module = module
        self.package = package
        self.header = header
        self.decls = decls
        self.fid = file_id(module, header)

    # ---- generated.h ----

    def generated_header(self):
        out = ["// Generated by the header tool from %s. Do not edit." % os.path.basename(self.header),
               "#pragma once", "", '#include "UObject/ObjectMacros.h"', '#include "UObject/Class.h"', ""]
        for enum in self.decls.enums:
            out.append("enum class %s : %s;" % (enum.name, enum.underlying))
            out.append("template <> UEnum* StaticEnum<%s>();" % enum.name)
            out.append("")
        out.append("#ifdef CURRENT_FILE_ID")
        out.append("#undef CURRENT_FILE_ID")
        out.append("#endif")
        out.append("#define CURRENT_FILE_ID %s" % self.fid)
        out.append("")
        for decl in self.decls.types:
            out.extend(self.body_macro(decl))
            out.append("")
        return "\n".join(out) + "\n"

    def body_macro(self, decl):
        prefix = "%s_%d" % (self.fid, decl.body_line)
        if decl.specifiers.has("noexport"):
            return ["template <> struct TBaseStructure<%s> { static UScriptStruct* Get(); };" % decl.name]
        lines = []
        if decl.kind == "struct" and decl.name.startswith("F"):
            lines.append("friend struct Z_Construct_UScriptStruct_%s_Statics;" % decl.name)
            lines.append("static UScriptStruct* StaticStruct();")
            if decl.super_name:
                lines.append("typedef %s Super;" % decl.super_name)
            body = lines
            legacy = lines
        else:
            flags = self.class_flags(decl)
            common = ["typedef %s ThisClass;" % decl.name,
                      "typedef %s Super;" % (decl.super_name or "UObject"),
                      "static UClass* StaticClass();",
                      "static const TCHAR* StaticPackage() { return %s; }" % cpp_string(self.package_of()),
                      "static constexpr EClassFlags StaticClassFlags = EClassFlags(%s);" % flags,
                      "friend struct Z_Construct_UClass_%s_Statics;" % decl.name]
            body = ["public:"] + common + ["private:"]
            legacy = ["public:"] + common + ["%s(const FObjectInitializer& ObjectInitializer);" % decl.name]
        result = ["#define %s_GENERATED_BODY \\" % prefix]
        result.extend("\t%s \\" % line for line in body)
        result.append("")
        result.append("#define %s_GENERATED_BODY_LEGACY \\" % prefix)
        result.extend("\t%s \\" % line for line in legacy)
        result.append("")
        return result

    def package_of(self):
        return self.package

    def class_flags(self, decl):
        flags = ["CLASS_Native"]
        for flag in decl.specifiers.flags:
            mapped = CLASS_FLAG_SPECIFIERS.get(flag.lower())
            if mapped:
                flags.append(mapped)
        return " | ".join(flags)

    # ---- gen.cpp ----

    def generated_source(self):
        out = ["// Generated by the header tool from %s. Do not edit." % os.path.basename(self.header),
               '#include "UObject/GeneratedCppIncludes.h"',
               '#include "%s"' % self.header.replace("\\", "/"), "",
               "#pragma GCC diagnostic ignored \"-Winvalid-offsetof\"", ""]
        referenced = set()
        for decl in self.decls.types:
            types = [prop.cpp_type for prop in decl.properties]
            for func in getattr(decl, "functions", []):
                types.extend(param.value_type for param in func.params)
                types.append(func.return_type)
            for cpp_type in types:
                name = object_class_of(cpp_type)
                if name:
                    referenced.add(name)
        for decl in self.decls.types:
            if not (decl.kind == "struct" and decl.name.startswith("F")):
                referenced.add(decl.name)
        for name in sorted(referenced):
            out.append("UClass* Z_Construct_UClass_%s_NoRegister();" % name)
        if referenced:
            out.append("")
        for enum in self.decls.enums:
            out.extend(self.enum_source(enum))
        for decl in self.decls.types:
            if decl.kind == "struct" and decl.name.startswith("F"):
                out.extend(self.struct_source(decl))
            else:
                out.extend(self.class_source(decl))
        return "\n".join(out) + "\n"

    def enum_source(self, enum):
        metadata = metadata_for(enum.specifiers, enum.tooltip)
        out = ["template <> UEnum* StaticEnum<%s>()" % enum.name, "{", "\tstatic UEnum* Enum = nullptr;",
               "\tif (!Enum)", "\t{"]
        entries = []
        for index, (name, value, meta, tooltip) in enumerate(enum.enumerators):
            entry_meta = umeta_for(meta, tooltip) if meta else ({"ToolTip": tooltip} if tooltip else {})
            array, count = metadata_array("Entry%d_MetaData" % index, entry_meta, out)
            script = script_names.enumerator_script_name(name, meta.meta if meta else None)
            entries.append("{%s, %d, %s, %s, %d}" % (cpp_string("%s::%s" % (enum.name, name)), value, cpp_string(script), array, count))
        out.append("\t\tstatic const UECodeGen_Private::FEnumeratorParam Enumerators[] = {%s};" % ", ".join(entries))
        array, count = metadata_array("Enum_MetaData", metadata, out)
        out.append("\t\tstatic const UECodeGen_Private::FEnumParams Params = {%s, %s, %s, UEnum::ECppForm::EnumClass, Enumerators, %d, %s, %d};" % (
            cpp_string(self.package_of()), cpp_string(enum.name),
            cpp_string(script_names.type_script_name(enum.name, metadata)), len(entries), array, count))
        out.extend(["\t\tUECodeGen_Private::ConstructUEnum(Enum, Params);", "\t}", "\treturn Enum;", "}", "",
                    "namespace { struct FRegister_%s { FRegister_%s() { StaticEnum<%s>(); } } GRegister_%s; }" % ((enum.name,) * 4), ""])
        return out

    def property_lines(self, owner_type, owner_var, prop, out, index):
        metadata = metadata_for(prop.specifiers, prop.tooltip)
        array, count = metadata_array("Property%d_MetaData" % index, metadata, out)
        flags = property_flags(prop.specifiers)
        script = script_names.property_script_name(prop.name, prop.cpp_type, prop.specifiers.meta)
        return "\t\tUECodeGen_Private::AddProperty<decltype(%s::%s)>(%s, %s, VN_MEMBER_OFFSET(%s, %s), %s, %s, %s, %d%s);" % (
            owner_type, prop.name, owner_var, cpp_string(prop.name), owner_type, prop.name, flags, cpp_string(script), array, count,
            class_registration(prop.cpp_type))

    def struct_source(self, decl):
        metadata = metadata_for(decl.specifiers, decl.tooltip)
        if decl.rigvm_methods:
            metadata["RigVMMethods"] = ",".join(decl.rigvm_methods)
        noexport = decl.specifiers.has("noexport")
        object_name = script_names.stripped_type_name(decl.name)
        statics = "Z_Construct_UScriptStruct_%s_Statics" % decl.name
        out = ["struct %s" % statics, "{", "\tstatic void DefineMembers(UScriptStruct* Struct)", "\t{"]
        if not decl.properties:
            out.append("\t\t(void)Struct;")
        for index, prop in enumerate(decl.properties):
            out.append(self.property_lines(decl.name, "Struct", prop, out, index))
        out.extend(["\t}", "", "\tstatic UScriptStruct::ICppStructOps* MakeStructOps()", "\t{",
                    "\t\treturn new UScriptStruct::TCppStructOps<%s>();" % decl.name, "\t}"])
        if decl.super_name:
            out.extend(["", "\tstatic UScriptStruct* SuperStruct()", "\t{",
                        "\t\treturn StaticStruct<%s>();" % decl.super_name, "\t}"])
        out.extend(["};", ""])
        getter = "UScriptStruct* TBaseStructure<%s>::Get()" % decl.name if noexport else "UScriptStruct* %s::StaticStruct()" % decl.name
        out.extend([getter, "{", "\tstatic UScriptStruct* Struct = nullptr;", "\tif (!Struct)", "\t{"])
        array, count = metadata_array("Struct_MetaData", metadata, out)
        out.append("\t\tstatic const UECodeGen_Private::FStructParams Params = {%s, %s, %s, %s, &%s::MakeStructOps, &%s::DefineMembers, %s, %d};" % (
            cpp_string(self.package_of()), cpp_string(object_name),
            cpp_string(script_names.type_script_name(decl.name, metadata)),
            "&%s::SuperStruct" % statics if decl.super_name else "nullptr", statics, statics, array, count))
        out.extend(["\t\tUECodeGen_Private::ConstructUScriptStruct(Struct, Params);", "\t}", "\treturn Struct;", "}", ""])
        call = "TBaseStructure<%s>::Get()" % decl.name if noexport else "%s::StaticStruct()" % decl.name
        out.append("namespace { struct FRegister_%s { FRegister_%s() { %s; } } GRegister_%s; }" % (decl.name, decl.name, call, decl.name))
        out.append("")
        return out

    def class_source(self, decl):
        metadata = metadata_for(decl.specifiers, decl.tooltip)
        statics = "Z_Construct_UClass_%s_Statics" % decl.name
        object_name = script_names.stripped_type_name(decl.name)
        out = ["struct %s" % statics, "{"]
        for func in decl.functions:
            out.extend(self.function_parts(decl, func))
        out.extend(["\tstatic void DefineMembers(UClass* Class)", "\t{"])
        if not decl.properties and not decl.functions:
            out.append("\t\t(void)Class;")
        for index, prop in enumerate(decl.properties):
            out.append(self.property_lines(decl.name, "Class", prop, out, index))
        for func in decl.functions:
            out.append("\t\tUECodeGen_Private::ConstructUFunction(Class, %s_Params());" % func.name)
        out.extend(["\t}", "", "\tstatic UClass* SuperClass()", "\t{",
                    "\t\treturn %s::StaticClass();" % (decl.super_name or "UObject"), "\t}", "};", ""])
        out.extend(["UClass* %s::StaticClass()" % decl.name, "{", "\tstatic UClass* Class = nullptr;", "\tif (!Class)", "\t{"])
        array, count = metadata_array("Class_MetaData", metadata, out)
        out.append("\t\tstatic const UECodeGen_Private::FClassParams Params = {%s, %s, %s, %s, &%s::SuperClass, &UECodeGen_Private::InternalConstructor<%s>, StaticClassFlags, &%s::DefineMembers, %s, %d};" % (
            cpp_string(self.package_of()), cpp_string(object_name), cpp_string(decl.name[0]),
            cpp_string(script_names.type_script_name(decl.name, metadata)), statics, decl.name, statics, array, count))
        out.extend(["\t\tUECodeGen_Private::ConstructUClass(Class, Params);", "\t}", "\treturn Class;", "}", "",
                    "UClass* Z_Construct_UClass_%s_NoRegister()" % decl.name, "{", "\treturn %s::StaticClass();" % decl.name, "}", "",
                    "namespace { struct FRegister_%s { FRegister_%s() { %s::StaticClass(); } } GRegister_%s; }" % ((decl.name,) * 4), ""])
        return out

    def function_parts(self, decl, func):
        parms = "%s_event%s_Parms" % (script_names.stripped_type_name(decl.name), func.name)
        out = ["\tstruct %s" % parms, "\t{"]
        for param in func.params:
            out.append("\t\t%s %s{};" % (param.value_type, param.name))
        has_return = func.return_type != "void"
        if has_return:
            return_type = func.return_type
            if return_type.startswith("const ") and not return_type.endswith("*"):
                return_type = return_type[len("const "):]
            return_type = return_type.rstrip("&").strip()
            out.append("\t\t%s ReturnValue{};" % return_type)
        out.extend(["\t};", ""])
        out.extend(["\tstatic void exec%s(UObject* Context, void* RawParms)" % func.name, "\t{",
                    "\t\t%s& Parms = *static_cast<%s*>(RawParms);" % (parms, parms)])
        arguments = ", ".join("Parms.%s" % param.name for param in func.params)
        if not func.params and not has_return:
            out.append("\t\t(void)Parms;")
        if func.is_static:
            call = "%s::%s(%s)" % (decl.name, func.name, arguments)
            out.append("\t\t(void)Context;")
        else:
            call = "static_cast<%s%s*>(Context)->%s(%s)" % ("const " if func.is_const else "", decl.name, func.name, arguments)
        out.append("\t\t%s%s;" % ("Parms.ReturnValue = " if has_return else "", call))
        out.extend(["\t}", ""])

        metadata = metadata_for(func.specifiers, func.tooltip)
        if "ScriptMethod" in metadata:
            # The Python names of the methods, made here like every other script name; an empty
            # entry means the function's own name.
            metadata["ScriptMethodNames"] = ";".join(
                script_names.pythonize(method.strip()) if method.strip() else ""
                for method in metadata["ScriptMethod"].split(";"))
        flags = ["FUNC_Native", "FUNC_Public"]
        if func.is_static:
            flags.append("FUNC_Static")
        if func.is_const:
            flags.append("FUNC_Const")
        for flag in func.specifiers.flags:
            flags.extend(FUNCTION_FLAG_SPECIFIERS.get(flag.lower(), []))
        if any(param.is_reference and not param.is_const for param in func.params):
            flags.append("FUNC_HasOutParms")
        for param in func.params:
            if param.default is not None:
                metadata["CPP_Default_%s" % param.name] = normalise_default(param.default)
                if "FUNC_HasDefaults" not in flags:
                    flags.append("FUNC_HasDefaults")
        out.extend(["\tstatic void Define%sParms(UFunction* Function)" % func.name, "\t{"])
        if not func.params and not has_return:
            out.append("\t\t(void)Function;")
        for index, param in enumerate(func.params):
            extra = ["CPF_Parm"]
            if param.is_reference and not param.is_const:
                extra += ["CPF_OutParm"] + (["CPF_ReferenceParm"] if param.is_ref_marked else [])
            elif param.is_const:
                extra.append("CPF_ConstParm")
            param_meta = {"DisplayName": param.display_name} if param.display_name else {}
            array, count = metadata_array("Param%d_MetaData" % index, param_meta, out)
            script = script_names.parameter_script_name(param.name, param.value_type)
            out.append("\t\tUECodeGen_Private::AddProperty<decltype(%s::%s)>(Function, %s, VN_MEMBER_OFFSET(%s, %s), EPropertyFlags(%s), %s, %s, %d%s);" % (
                parms, param.name, cpp_string(param.name), parms, param.name, " | ".join(extra), cpp_string(script), array, count,
                class_registration(param.value_type)))
        if has_return:
            out.append("\t\tUECodeGen_Private::AddProperty<decltype(%s::ReturnValue)>(Function, TEXT(\"ReturnValue\"), VN_MEMBER_OFFSET(%s, ReturnValue), EPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReturnParm), TEXT(\"return_value\"), nullptr, 0%s);" % (
                parms, parms, class_registration(func.return_type)))
        out.extend(["\t}", ""])
        out.extend(["\tstatic UScriptStruct::ICppStructOps* Make%sParms()" % func.name, "\t{",
                    "\t\treturn new UScriptStruct::TCppStructOps<%s>();" % parms, "\t}", ""])
        out.extend(["\tstatic const UECodeGen_Private::FFunctionParams& %s_Params()" % func.name, "\t{"])
        array, count = metadata_array("Function_MetaData", metadata, out)
        out.append("\t\tstatic const UECodeGen_Private::FFunctionParams Params = {%s, %s, EFunctionFlags(%s), &exec%s, &Make%sParms, &Define%sParms, %s, %d};" % (
            cpp_string(func.name), cpp_string(script_names.function_script_name(func.name, func.specifiers.meta)),
            " | ".join(flags), func.name, func.name, func.name, array, count))
        out.extend(["\t\treturn Params;", "\t}", ""])
        return out


def write_if_changed(path, content):
    if os.path.exists(path):
        with open(path, encoding="utf-8") as stream:
            if stream.read() == content:
                return
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(content)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--module", required=True)
    parser.add_argument("--package", help="the package of every header, such as /Script/MyModule")
    parser.add_argument("--engine-include-root", help="engine headers: the folder below this root names each header's module")
    parser.add_argument("--output", required=True)
    parser.add_argument("--headers", required=True, help="a file listing the headers, one a line")
    args = parser.parse_args(argv)

    with open(args.headers, encoding="utf-8") as stream:
        headers = [line.strip() for line in stream if line.strip()]
    try:
        for header in headers:
            decls = parse_header(header)
            output_dir = args.output
            package = args.package
            if args.engine_include_root:
                engine_module = os.path.relpath(header, args.engine_include_root).split(os.sep)[0]
                output_dir = os.path.join(args.output, engine_module)
                package = "/Script/%s" % engine_module
            module_name = args.module if not args.engine_include_root else engine_module
            generator = Generator(module_name, package, header, decls)
            base = os.path.splitext(os.path.basename(header))[0]
            write_if_changed(os.path.join(output_dir, base + ".generated.h"), generator.generated_header())
            write_if_changed(os.path.join(output_dir, base + ".gen.cpp"), generator.generated_source())
    except HeaderToolError as error:
        print("error: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
