"""Reads the reflection markup of C++ headers: UENUM, USTRUCT, UCLASS and their UPROPERTY and
UFUNCTION members, with their specifiers, metadata and documentation comments."""

import re
from dataclasses import dataclass, field


class HeaderToolError(Exception):
    """A header the tool cannot accept; the message names the file and line."""


@dataclass
class Specifiers:
    """Specifiers of one markup macro: flags such as EditAnywhere, key/value pairs and meta=(...)."""
    flags: list = field(default_factory=list)
    values: dict = field(default_factory=dict)
    meta: dict = field(default_factory=dict)

    def has(self, name):
        return any(flag.lower() == name.lower() for flag in self.flags) or any(
            key.lower() == name.lower() for key in self.values)


@dataclass
class EnumDecl:
    name: str
    underlying: str
    line: int
    specifiers: Specifiers
    tooltip: str
    enumerators: list  # of (name, value, Specifiers or None, tooltip)


@dataclass
class PropertyDecl:
    name: str
    cpp_type: str
    line: int
    specifiers: Specifiers
    tooltip: str


@dataclass
class ParamDecl:
    name: str
    value_type: str  # the type as stored in the parameter block (no const, no reference)
    is_const: bool
    is_reference: bool
    is_ref_marked: bool  # UPARAM(ref)
    default: str  # C++ default argument text, or None
    display_name: str


@dataclass
class FunctionDecl:
    name: str
    return_type: str
    params: list
    is_static: bool
    is_const: bool
    line: int
    specifiers: Specifiers
    tooltip: str


@dataclass
class TypeDecl:
    kind: str  # "class" or "struct"
    name: str
    super_name: str
    line: int
    body_line: int  # line of GENERATED_BODY, 0 when absent
    body_macro: str  # GENERATED_BODY, GENERATED_UCLASS_BODY or GENERATED_USTRUCT_BODY
    specifiers: Specifiers
    tooltip: str
    properties: list = field(default_factory=list)
    functions: list = field(default_factory=list)
    rigvm_methods: list = field(default_factory=list)


@dataclass
class HeaderDecls:
    path: str
    enums: list = field(default_factory=list)
    types: list = field(default_factory=list)


def _blank_comments_and_strings(text):
    """Returns text of the same length with comments replaced by blanks (strings kept), so that
    positions and line numbers still match, plus the list of doc comments as (end offset, text)."""
    out = []
    docs = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            if j < 0:
                raise HeaderToolError("unterminated comment")
            j += 2
            comment = text[i:j]
            if comment.startswith("/**"):
                docs.append((j, comment))
            out.append("".join("\n" if ch == "\n" else " " for ch in comment))
            i = j
        elif c == '"' or c == "'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out), docs


def _clean_doc(comment):
    body = comment[3:-2]
    lines = [re.sub(r"^\s*\*?\s?", "", line).rstrip() for line in body.splitlines()]
    return " ".join(line for line in lines if line).strip()


def _matching(text, start, open_char, close_char):
    """Returns the index just past the bracket that closes the one at start."""
    depth = 0
    i = start
    while i < len(text):
        c = text[i]
        if c == '"' or c == "'":
            j = i + 1
            while j < len(text) and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            i = j + 1
            continue
        if c == open_char:
            depth += 1
        elif c == close_char:
            depth -= 1
            if depth == 0:
                return i + 1
        i += 1
    raise HeaderToolError("unbalanced '%s'" % open_char)


def _split_top_level(text, separator=","):
    """Splits at separators that are not inside brackets, angle brackets or strings."""
    parts = []
    depth = 0
    current = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == '"':
            j = i + 1
            while j < len(text) and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            current.append(text[i:j + 1])
            i = j + 1
            continue
        if c in "([{<":
            depth += 1
        elif c in ")]}>":
            depth -= 1
        if c == separator and depth == 0:
            parts.append("".join(current))
            current = []
        else:
            current.append(c)
        i += 1
    if "".join(current).strip():
        parts.append("".join(current))
    return [part.strip() for part in parts]


def _unquote(value):
    value = value.strip()
    if len(value) >= 2 and value[0] == '"' and value[-1] == '"':
        return bytes(value[1:-1], "utf-8").decode("unicode_escape")
    return value


def parse_specifiers(text):
    """Parses "EditAnywhere, Category = "X", meta = (Input, DisplayName = "Y")"."""
    specifiers = Specifiers()
    for part in _split_top_level(text):
        if not part:
            continue
        if "=" in part:
            key, value = part.split("=", 1)
            key = key.strip()
            value = value.strip()
            if key.lower() == "meta":
                inner = value[1:-1] if value.startswith("(") else value
                for meta_part in _split_top_level(inner):
                    if "=" in meta_part:
                        meta_key, meta_value = meta_part.split("=", 1)
                        specifiers.meta[meta_key.strip()] = _unquote(meta_value)
                    elif meta_part:
                        specifiers.meta[meta_part.strip()] = ""
            else:
                specifiers.values[key] = _unquote(value)
        else:
            specifiers.flags.append(part)
    return specifiers


MARKER = re.compile(r"\b(UENUM|USTRUCT|UCLASS|UPROPERTY|UFUNCTION|GENERATED_BODY|GENERATED_UCLASS_BODY|GENERATED_USTRUCT_BODY|RIGVM_METHOD)\s*\(")


class HeaderParser:
    def __init__(self, path, text):
        self.path = path
        self.original = text
        self.text, self.docs = _blank_comments_and_strings(text)

    def line_of(self, offset):
        return self.text.count("\n", 0, offset) + 1

    def fail(self, offset, message):
        raise HeaderToolError("%s(%d): %s" % (self.path, self.line_of(offset), message))

    def doc_before(self, offset):
        """The documentation comment that ends right before offset (blanks between allowed)."""
        for end, comment in reversed(self.docs):
            if end <= offset:
                if self.text[end:offset].strip() == "":
                    return _clean_doc(comment)
                return ""
        return ""

    def parse(self):
        decls = HeaderDecls(self.path)
        position = 0
        while True:
            match = MARKER.search(self.text, position)
            if not match:
                break
            kind = match.group(1)
            args_end = _matching(self.text, match.end() - 1, "(", ")")
            args = self.text[match.end():args_end - 1]
            if kind == "UENUM":
                decl, position = self.parse_enum(match.start(), args_end, args)
                decls.enums.append(decl)
            elif kind in ("USTRUCT", "UCLASS"):
                decl, position = self.parse_type(match.start(), args_end, args, "class" if kind == "UCLASS" else "struct")
                decls.types.append(decl)
            elif kind in ("UPROPERTY", "UFUNCTION"):
                self.fail(match.start(), "%s outside a reflected type" % kind)
            else:
                position = args_end
        return decls

    def parse_enum(self, start, args_end, args):
        head = re.compile(r"\s*enum\s+class\s+(\w+)\s*(?::\s*([\w:]+))?\s*\{")
        match = head.match(self.text, args_end)
        if not match:
            self.fail(start, "UENUM must be followed by 'enum class Name : uint8 { ... }'")
        body_start = match.end() - 1
        body_end = _matching(self.text, body_start, "{", "}")
        body = self.text[body_start + 1:body_end - 1]
        enumerators = []
        known = {}
        next_value = 0
        cursor = 0
        for item in _split_top_level(body):
            if not item:
                continue
            found = body.find(item, cursor)
            cursor = found + len(item) if found >= 0 else cursor
            item_offset = body_start + 1 + max(found, 0)
            meta = None
            umeta = re.search(r"UMETA\s*\(", item)
            if umeta:
                close = _matching(item, umeta.end() - 1, "(", ")")
                meta = parse_specifiers(item[umeta.end():close - 1])
                item = item[:umeta.start()] + item[close:]
            name_match = re.match(r"\s*(\w+)\s*(?:=\s*(.+?))?\s*$", item, re.S)
            if not name_match:
                self.fail(item_offset, "cannot read enumerator '%s'" % item.strip())
            name = name_match.group(1)
            if name_match.group(2) is not None:
                next_value = self.enum_value(item_offset, name_match.group(2).strip(), known)
            known[name] = next_value
            enumerators.append((name, next_value, meta, self.doc_before(item_offset)))
            next_value += 1
        decl = EnumDecl(match.group(1), match.group(2) or "int32", self.line_of(start),
                        parse_specifiers(args), self.doc_before(start), enumerators)
        return decl, body_end

    def enum_value(self, offset, text, known):
        """Evaluates an enumerator's value: integer literals and earlier enumerators joined by |, +, <<."""
        expression = re.sub(r"\b(\d+)[uUlL]+\b", r"\1", text)
        if not re.fullmatch(r"[\w\s|+<>()~-]+", expression):
            self.fail(offset, "unsupported enumerator value '%s'" % text)
        try:
            return int(eval(expression, {"__builtins__": {}}, dict(known)))
        except Exception:
            self.fail(offset, "cannot evaluate enumerator value '%s'" % text)

    def parse_type(self, start, args_end, args, kind):
        # The first base is the reflected super type; further bases (native interfaces) are C++ only.
        head = re.compile(r"\s*(class|struct)\s+(?:\w+_API\s+)?(\w+)(?:\s+final)?\s*(?::\s*(?:public\s+)?([\w:<>]+)(?:\s*,\s*(?:public\s+)?[\w:<>]+)*)?\s*\{")
        match = head.match(self.text, args_end)
        if not match:
            self.fail(start, "%s must be followed by a %s declaration" % ("UCLASS" if kind == "class" else "USTRUCT", kind))
        body_start = match.end() - 1
        body_end = _matching(self.text, body_start, "{", "}")
        decl = TypeDecl(kind, match.group(2), match.group(3) or "", self.line_of(start), 0, "",
                        parse_specifiers(args), self.doc_before(start))
        position = body_start + 1
        while True:
            member = MARKER.search(self.text, position, body_end)
            if not member:
                break
            member_kind = member.group(1)
            member_args_end = _matching(self.text, member.end() - 1, "(", ")")
            member_args = self.text[member.end():member_args_end - 1]
            if member_kind.startswith("GENERATED_"):
                decl.body_line = self.line_of(member.start())
                decl.body_macro = member_kind
                position = member_args_end
            elif member_kind == "UPROPERTY":
                prop, position = self.parse_property(member.start(), member_args_end, member_args)
                decl.properties.append(prop)
            elif member_kind == "UFUNCTION":
                func, position = self.parse_function(member.start(), member_args_end, member_args)
                decl.functions.append(func)
            elif member_kind == "RIGVM_METHOD":
                method = re.match(r"\s*(?:virtual\s+)?[\w:<>*&\s]+?\b(\w+)\s*\(", self.text[member_args_end:body_end])
                if method:
                    decl.rigvm_methods.append(method.group(1))
                position = member_args_end
            else:
                self.fail(member.start(), "%s inside a reflected type" % member_kind)
        if not decl.body_line and not decl.specifiers.has("noexport"):
            self.fail(start, "%s %s has no GENERATED_BODY()" % (kind, decl.name))
        return decl, body_end

    def parse_property(self, start, args_end, args):
        end = self.text.find(";", args_end)
        if end < 0:
            self.fail(start, "UPROPERTY without a declaration")
        declaration = self.text[args_end:end].strip()
        # Drop a default member initialiser ("= 1.0f" or "{...}").
        declaration = re.split(r"\s*=\s*", declaration, 1)[0]
        brace = declaration.find("{")
        if brace >= 0:
            declaration = declaration[:brace]
        # A static array member ("FBlendParameter BlendParameters[3]") is reflected through its
        # declared type; the element count comes from the member itself.
        declaration = re.sub(r"\s*\[\s*\w+\s*\]\s*$", "", declaration)
        match = re.match(r"(.+?)\s*\b(\w+)\s*$", declaration, re.S)
        if not match:
            self.fail(start, "cannot read the property declaration '%s'" % declaration)
        cpp_type = " ".join(match.group(1).split())
        cpp_type = re.sub(r"^(mutable|static)\s+", "", cpp_type)
        return PropertyDecl(match.group(2), cpp_type, self.line_of(start), parse_specifiers(args),
                            self.doc_before(start)), end + 1

    def parse_function(self, start, args_end, args):
        paren = self.text.find("(", args_end)
        if paren < 0:
            self.fail(start, "UFUNCTION without a declaration")
        head = " ".join(self.text[args_end:paren].split())
        params_end = _matching(self.text, paren, "(", ")")
        params_text = self.text[paren + 1:params_end - 1]
        tail_end = params_end
        while tail_end < len(self.text) and self.text[tail_end] not in ";{":
            tail_end += 1
        tail = self.text[params_end:tail_end]
        if tail_end < len(self.text) and self.text[tail_end] == "{":
            next_position = _matching(self.text, tail_end, "{", "}")
        else:
            next_position = tail_end + 1
        head_match = re.match(r"((?:(?:static|virtual|inline|FORCEINLINE)\s+)*)(.+?)\s*\b(\w+)$", head)
        if not head_match:
            self.fail(start, "cannot read the function declaration '%s'" % head)
        qualifiers = head_match.group(1).split()
        return_type = head_match.group(2).strip()
        params = [self.parse_param(start, text) for text in _split_top_level(params_text) if text and text != "void"]
        return FunctionDecl(head_match.group(3), return_type, params, "static" in qualifiers,
                            bool(re.search(r"\bconst\b", tail)), self.line_of(start),
                            parse_specifiers(args), self.doc_before(start)), next_position

    def parse_param(self, start, text):
        is_ref_marked = False
        display_name = ""
        uparam = re.match(r"\s*UPARAM\s*\(", text)
        if uparam:
            close = _matching(text, uparam.end() - 1, "(", ")")
            param_specifiers = parse_specifiers(text[uparam.end():close - 1])
            is_ref_marked = param_specifiers.has("ref")
            display_name = param_specifiers.values.get("DisplayName", "")
            text = text[close:].strip()
        default = None
        parts = _split_top_level(text, "=")
        if len(parts) == 2:
            text, default = parts[0], parts[1].strip()
        match = re.match(r"(.+?)\s*\b(\w+)$", text.strip(), re.S)
        if not match:
            self.fail(start, "cannot read the parameter '%s'" % text)
        type_text = " ".join(match.group(1).split())
        is_reference = type_text.endswith("&")
        if is_reference:
            type_text = type_text[:-1].strip()
        is_const = False
        if type_text.startswith("const ") and not type_text.endswith("*"):
            is_const = True
            type_text = type_text[len("const "):]
        elif type_text.startswith("const ") and is_reference:
            is_const = True
        return ParamDecl(match.group(2), type_text, is_const, is_reference, is_ref_marked, default, display_name)


def parse_header(path):
    with open(path, encoding="utf-8") as stream:
        text = stream.read()
    try:
        return HeaderParser(path, text).parse()
    except HeaderToolError as error:
        message = str(error)
        if not message.startswith(path):
            message = "%s: %s" % (path, message)
        raise HeaderToolError(message) from None
