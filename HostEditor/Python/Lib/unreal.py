"""The editor's Python API, as far as this editor offers it.

Reflected classes, structs and enumerations become Python types the first time they are named
(``unreal.VNFaceRigDataAsset``); their members carry the Python names that the reflection data gives
them (snake_case properties and functions, UPPER_SNAKE enumeration members). The module-level names
follow the Unreal Engine 5.4 Python API.
"""

import builtins

import _unreal_core as _core

_types = {}


class Name(str):
    """A name: text compared without regard to case, as the engine's names are."""

    def __eq__(self, other):
        if isinstance(other, str):
            return self.casefold() == other.casefold()
        return NotImplemented

    def __ne__(self, other):
        result = self.__eq__(other)
        return result if result is NotImplemented else not result

    def __hash__(self):
        return hash(self.casefold())

    def __repr__(self):
        return '"%s"' % str(self)

    def is_none(self):
        return self.casefold() in ("", "none")


class Text(str):
    """Display text."""

    def __repr__(self):
        return '"%s"' % str(self)


class Array(list):
    """A list of values of one type, as array properties return them."""

    def __init__(self, element_type=None, items=()):
        super().__init__(items)
        self._element_type = element_type

    @classmethod
    def cast(cls, element_type, items):
        return cls(element_type, items)


class _TypeAttributes:
    """Binds the reflected members of one class or struct to Python attributes."""

    @staticmethod
    def property(script_name, doc):
        def getter(self):
            return _core.get_property(self._handle(), script_name)

        def setter(self, value):
            _core.set_property(self._handle(), script_name, value)

        return property(getter, setter, doc=doc or None)

    @staticmethod
    def function(script_name, function_ref, is_static):
        if is_static:
            # Static functions are class methods, callable on the type and on its instances.
            def call(cls, *args, **kwargs):
                return _core.call_function(function_ref, None, args, kwargs)
            call.__name__ = script_name
            return classmethod(call)

        def method(self, *args, **kwargs):
            return _core.call_function(function_ref, self, args, kwargs)
        method.__name__ = script_name
        return method


# The Python special methods of the script operators a function library may give a struct.
_OPERATOR_METHODS = {
    "+": "__add__", "+=": "__iadd__", "-": "__sub__", "-=": "__isub__", "*": "__mul__", "*=": "__imul__",
    "/": "__truediv__", "/=": "__itruediv__", "%": "__mod__", "%=": "__imod__", "&": "__and__", "&=": "__iand__",
    "|": "__or__", "|=": "__ior__", "^": "__xor__", "^=": "__ixor__", "<<": "__lshift__", "<<=": "__ilshift__",
    ">>": "__rshift__", ">>=": "__irshift__", "==": "__eq__", "!=": "__ne__", "<": "__lt__", "<=": "__le__",
    ">": "__gt__", ">=": "__ge__", "neg": "__neg__", "bool": "__bool__",
}
_UNARY_OPERATORS = ("neg", "bool")


class _ScriptExtensions:
    """Turns library functions marked ScriptMethod or ScriptOperator into members of the struct type
    their first parameter names: a method passes the struct as that parameter; an operator tries the
    functions given for it in turn and takes the first whose parameters accept the operands."""

    @staticmethod
    def method(script_name, function_ref):
        def call(self, *args, **kwargs):
            return _core.call_function(function_ref, None, (self,) + args, kwargs)
        call.__name__ = script_name
        return call

    @staticmethod
    def unary(symbol, function_ref):
        def call(self):
            return _core.call_function(function_ref, None, (self,), {})
        call.__name__ = _OPERATOR_METHODS[symbol]
        return call

    @staticmethod
    def binary(symbol, function_refs):
        in_place = symbol.endswith("=") and symbol not in ("==", "!=", "<=", ">=")

        def call(self, other):
            for function_ref in function_refs:
                try:
                    result = _core.call_function(function_ref, None, (self, other), {})
                except TypeError:
                    continue
                if in_place:
                    self._v = result._v
                    return self
                return result
            return NotImplemented
        call.__name__ = _OPERATOR_METHODS[symbol]
        return call

    @classmethod
    def members(cls, type_ref, taken):
        """The methods and operators for the struct type_ref, leaving out names already in taken."""
        members = {}
        operators = {}
        for function_ref, methods, symbols, function_name in _core.script_extensions(type_ref):
            if methods is not None:
                for method in methods.split(";"):
                    name = method or function_name
                    if name not in taken and name not in members:
                        members[name] = cls.method(name, function_ref)
            if symbols is not None:
                for symbol in (part.strip() for part in symbols.split(";")):
                    if symbol in _OPERATOR_METHODS:
                        operators.setdefault(symbol, []).append(function_ref)
        for symbol, function_refs in operators.items():
            if symbol in _UNARY_OPERATORS:
                members[_OPERATOR_METHODS[symbol]] = cls.unary(symbol, function_refs[0])
            else:
                members[_OPERATOR_METHODS[symbol]] = cls.binary(symbol, function_refs)
        return members


class _ObjectBase:
    __slots__ = ("_o",)

    def __init__(self, outer=None, name="None"):
        """Creates a new object of this class inside outer (the transient package when None)."""
        self._o = new_object(type(self), outer, name)._o

    def _handle(self):
        return self._o

    def get_editor_property(self, name):
        """Returns the value of the property called name."""
        return _core.get_property(self._o, name)

    def set_editor_property(self, name, value, notify_mode=None):
        """Sets the property called name, recording an undoable change."""
        _core.set_property(self._o, name, value)

    def set_editor_properties(self, properties):
        for name, value in properties.items():
            self.set_editor_property(name, value)

    def get_name(self):
        return _core.object_name(self._o)

    def get_fname(self):
        return Name(_core.object_name(self._o))

    def get_path_name(self):
        return _core.object_path_name(self._o)

    def get_full_name(self):
        return "%s %s" % (_core.type_info(_core.type_of(self._o))["name"], self.get_path_name())

    def get_outer(self):
        return _core.object_outer(self._o)

    def modify(self, always_mark_dirty=True):
        """Records the object for undo and marks its package dirty; returns whether it was recorded."""
        return _core.object_modify(self._o, bool(always_mark_dirty))

    def get_class(self):
        return _core.wrap(_core.type_of(self._o))

    def get_typed_outer(self, type):
        outer = self.get_outer()
        while outer is not None and not isinstance(outer, type):
            outer = outer.get_outer()
        return outer

    def is_a(self, type):
        return isinstance(self, type)

    @classmethod
    def static_class(cls):
        return _core.wrap(cls._t)

    @classmethod
    def cast(cls, object):
        if object is None or not isinstance(object, cls):
            raise TypeError("Cannot cast %r to %s" % (object, cls.__name__))
        return object

    def __eq__(self, other):
        return isinstance(other, _ObjectBase) and self._o == other._o

    def __ne__(self, other):
        return not self.__eq__(other)

    def __hash__(self):
        return hash(self._o)

    def __repr__(self):
        return "<Object '%s' (%s)>" % (self.get_path_name(), type(self).__name__)


class StructBase:
    """The base of every struct type."""

    __slots__ = ("_v",)

    def __init__(self, *args, **kwargs):
        make = type(self).__dict__.get("_make")
        if make is not None:
            # A struct with a native make function is constructed by it, with its parameters.
            self._v = _core.call_make_function(make, args, kwargs)._v
            return
        self._v = _core.new_struct(type(self)._t)
        names = type(self)._field_names()
        if len(args) > len(names):
            raise TypeError("%s takes at most %d positional arguments" % (type(self).__name__, len(names)))
        for name, value in zip(names, args):
            _core.set_property(self._v, name, value)
        for name, value in kwargs.items():
            try:
                _core.set_property(self._v, name, value)
            except AttributeError as error:
                # A keyword that names no field is a bad argument, as for any Python callable.
                raise TypeError(str(error)) from None

    @classmethod
    def _field_names(cls):
        names = []
        for base in reversed(cls.__mro__):
            names.extend(base.__dict__.get("_fields", ()))
        return names

    def _handle(self):
        return self._v

    @classmethod
    def static_struct(cls):
        return _core.wrap(cls._t)

    def get_editor_property(self, name):
        return _core.get_property(self._v, name)

    def set_editor_property(self, name, value, notify_mode=None):
        _core.set_property(self._v, name, value)

    def set_editor_properties(self, properties):
        for name, value in properties.items():
            self.set_editor_property(name, value)

    def copy(self):
        result = type(self).__new__(type(self))
        result._v = _core.copy_struct(self._v)
        return result

    def __copy__(self):
        return self.copy()

    def __deepcopy__(self, memo):
        return self.copy()

    def export_text(self):
        return _core.export_struct(self._v)

    def import_text(self, content):
        if not _core.import_struct(self._v, content):
            raise ValueError("Cannot import '%s' as %s" % (content, type(self).__name__))

    def __eq__(self, other):
        return isinstance(other, StructBase) and _core.structs_equal(self._v, other._v)

    def __ne__(self, other):
        result = self.__eq__(other)
        return result if result is NotImplemented else not result

    def __hash__(self):
        value = _core.struct_hash(self._v)
        if value is None:
            raise TypeError("unhashable type: '%s'" % type(self).__name__)
        return value

    def __repr__(self):
        fields = ", ".join("%s: %r" % (name, _core.get_property(self._v, name)) for name in type(self)._field_names())
        return "<Struct '%s' {%s}>" % (type(self).__name__, fields)


class EnumBase:
    """The base of every enumeration; each member is an instance with a name and a value."""

    __slots__ = ("name", "value")

    @classmethod
    def _member(cls, value):
        for member in cls._members + cls._hidden_members:
            if member.value == value:
                return member
        raise ValueError("%d is not a value of %s" % (value, cls.__name__))

    @property
    def _e(self):
        return type(self)

    def get_display_name(self):
        return Text(self.name)

    def __eq__(self, other):
        if isinstance(other, EnumBase):
            return type(self) is type(other) and self.value == other.value
        return NotImplemented

    def __ne__(self, other):
        result = self.__eq__(other)
        return result if result is NotImplemented else not result

    def __hash__(self):
        return hash((type(self).__name__, self.value))

    def __int__(self):
        return self.value

    def __repr__(self):
        return "<%s.%s: %d>" % (type(self).__name__, self.name, self.value)


class _EnumType(type):
    def __iter__(cls):
        return iter(cls._members)

    def __len__(cls):
        return len(cls._members)


def _type_for(type_ref):
    """The Python type of a reflected class, struct or enumeration, made on first use."""
    key = type_ref.address
    made = _types.get(key)
    if made is not None:
        return made
    info = _core.type_info(type_ref)
    name = info["script_name"]
    if info["kind"] == "enum":
        made = _EnumType(name, (EnumBase,), {"__slots__": (), "_t": type_ref, "__doc__": info["tooltip"] or None})
        members = []
        hidden = []
        for script_name, value, _, is_hidden in info["entries"]:
            member = object.__new__(made)
            member.name = script_name
            member.value = value
            if is_hidden:
                # Not a member by name, but the value a C++ property may hold reads back as it.
                hidden.append(member)
                continue
            members.append(member)
            type.__setattr__(made, script_name, member)
        type.__setattr__(made, "_members", tuple(members))
        type.__setattr__(made, "_hidden_members", tuple(hidden))
    else:
        if info["super"] is not None:
            base = _type_for(info["super"])
        else:
            base = _ObjectBase if info["kind"] == "class" else StructBase
        namespace = {"__slots__": (), "_t": type_ref, "__doc__": info["tooltip"] or None,
                     "_fields": tuple(script for script, _, _ in info["properties"])}
        for script_name, _, doc in info["properties"]:
            namespace[script_name] = _TypeAttributes.property(script_name, doc)
        for script_name, function_ref, is_static in info["functions"]:
            namespace[script_name] = _TypeAttributes.function(script_name, function_ref, is_static)
        if info["kind"] == "struct":
            namespace.update(_ScriptExtensions.members(type_ref, set(namespace)))
            namespace["_make"] = _core.native_make(type_ref)
            if "__eq__" in namespace:
                namespace["__hash__"] = StructBase.__hash__
        made = type(name, (base,), namespace)
    made.__module__ = "unreal"
    _types[key] = made
    return made


def _wrap(kind, payload, type_ref):
    if kind == "object":
        made = _type_for(_core.type_of(payload))
        result = made.__new__(made)
        result._o = payload
        return result
    if kind == "struct":
        made = _type_for(type_ref)
        result = made.__new__(made)
        result._v = payload
        return result
    if kind == "enum":
        return _type_for(type_ref)._member(payload)
    if kind == "type":
        # The Python type itself: the native half constructs a struct from a sequence or dict with it.
        return _type_for(type_ref)
    if kind == "name":
        return Name(payload)
    if kind == "text":
        return Text(payload)
    if kind == "array":
        return Array(None, payload)
    return payload


_core.set_wrapper(_wrap)

Object = _type_for(_core.find_type("Object"))


# Rig units the engine renamed when it moved them into the RigVM plug-in. Its core redirects keep
# the old struct names working, and its Python offers each old name as a deprecated alias: a subclass
# of the renamed type with the same struct.
_RENAMED_TYPES = {
    "RigUnit_NameConcat": "RigVMFunction_NameConcat",
    "RigUnit_DebugLineItemSpace": "RigVMFunction_DebugLineNoSpace",
    "RigUnit_MathBoolNot": "RigVMFunction_MathBoolNot",
    "RigUnit_MathFloatAdd": "RigVMFunction_MathFloatAdd",
    "RigUnit_MathFloatMul": "RigVMFunction_MathFloatMul",
    "RigUnit_MathFloatDiv": "RigVMFunction_MathFloatDiv",
    "RigUnit_MathFloatGreaterEqual": "RigVMFunction_MathFloatGreaterEqual",
    "RigUnit_MathVectorAdd": "RigVMFunction_MathVectorAdd",
    "RigUnit_MathVectorSub": "RigVMFunction_MathVectorSub",
    "RigUnit_MathQuaternionFromEuler": "RigVMFunction_MathQuaternionFromEuler",
    "RigUnit_MathQuaternionInverse": "RigVMFunction_MathQuaternionInverse",
    "RigUnit_MathQuaternionMul": "RigVMFunction_MathQuaternionMul",
    "RigUnit_MathQuaternionSlerp": "RigVMFunction_MathQuaternionSlerp",
    "RigUnit_MathQuaternionSwingTwist": "RigVMFunction_MathQuaternionSwingTwist",
    "RigUnit_MathTransformLerp": "RigVMFunction_MathTransformLerp",
    "RigUnit_MathTransformMakeAbsolute": "RigVMFunction_MathTransformMakeAbsolute",
    "RigUnit_MathTransformMakeRelative": "RigVMFunction_MathTransformMakeRelative",
    "RigUnit_MathTransformMul": "RigVMFunction_MathTransformMul",
}


def _renamed_type(name):
    """The deprecated alias of a renamed type, or None when name was never renamed."""
    new_name = _RENAMED_TYPES.get(name)
    type_ref = _core.find_type(new_name) if new_name else None
    if type_ref is None:
        return None
    made = type(name, (_type_for(type_ref),), {
        "__slots__": (), "__doc__": "deprecated: '%s' was renamed to '%s'." % (name, new_name)})
    made.__module__ = "unreal"
    return made


def __getattr__(name):
    type_ref = _core.find_type(name)
    made = _type_for(type_ref) if type_ref is not None else _renamed_type(name)
    if made is None:
        raise AttributeError("module 'unreal' has no attribute '%s'" % name)
    globals()[name] = made
    return made


def new_object(type, outer=None, name="None", base_type=None):
    """Creates an object of the given class inside outer (the transient package when none)."""
    base = base_type if base_type is not None else Object
    if not isinstance(type, builtins.type) or not issubclass(type, base):
        raise TypeError("new_object: %r is not a subclass of %s" % (type, base.__name__))
    return _core.new_object(type._t, outer, "" if name in (None, "None") else str(name))


def find_object(outer, name, type=None, follow_redirectors=True):
    """Finds a loaded object by path name."""
    found = _core.find_object(_object_path(outer, name))
    return found if found is None or type is None or isinstance(found, type) else None


def load_object(outer, name, type=None, follow_redirectors=True):
    """Finds or loads an object by path name."""
    loaded = _core.load_object(_object_path(outer, name))
    return loaded if loaded is None or type is None or isinstance(loaded, type) else None


def _object_path(outer, name):
    return "%s.%s" % (outer.get_path_name(), name) if outer is not None else str(name)


def load_module(module_name):
    """Loads an editor module by name; raises when there is no such module."""
    if not _core.load_module(str(module_name)):
        raise RuntimeError("Failed to load module '%s'" % module_name)


def log(arg):
    _core.log(0, str(arg))


def log_warning(arg):
    _core.log(1, str(arg))


def log_error(arg):
    _core.log(2, str(arg))


def _asset_object_path(name):
    """"/Game/A/B", "/Game/A/B.B" and "Class'/Game/A/B.B'" all name the object "/Game/A/B.B"."""
    path = str(name).strip()
    if path.endswith("'") and "'" in path[:-1]:
        path = path[path.index("'") + 1:-1]
    if "." not in path:
        path = "%s.%s" % (path, path.rsplit("/", 1)[-1])
    return path


def _of_type(found, type):
    if found is None or type is None:
        return found
    if isinstance(type, builtins.type):
        return found if isinstance(found, type) else None
    return found if _core.object_is_a(found._o, type._o) else None


def load_asset(name, type=None, follow_redirectors=True):
    """Loads an asset by path ("/Game/Folder/Asset"); None when there is none of that type."""
    return _of_type(_core.load_object(_asset_object_path(name)), type)


def find_asset(name, type=None, follow_redirectors=True):
    """Finds an asset that is loaded already; None when it is not loaded or not of that type."""
    return _of_type(_core.find_object(_asset_object_path(name)), type)


def get_editor_subsystem(subsystem):
    """The editor's instance of an editor subsystem class; None for a class that is no editor subsystem.
    The stand-in's subsystems keep no state, so the class's default object serves as that instance."""
    try:
        editor_subsystem = __getattr__("EditorSubsystem") if "EditorSubsystem" not in globals() else globals()["EditorSubsystem"]
    except AttributeError:
        return None
    if not isinstance(subsystem, builtins.type) or not issubclass(subsystem, editor_subsystem):
        return None
    return get_default_object(subsystem)


def get_default_object(type):
    """Returns the class default object of a class."""
    cls = type.static_class() if isinstance(type, builtins.type) else type
    path = _core.default_object_path(cls.get_path_name())
    if path is None:
        raise TypeError("%r has no default object" % (type,))
    return _core.find_object(path)


_slow_task_log = []


class ScopedSlowTask:
    """A long operation reported in frames; the headless editor records each task and frame."""

    def __init__(self, work, desc="", enabled=True):
        self._record = {"work": float(work), "desc": str(desc), "enabled": bool(enabled),
                        "frames": [], "dialog": False, "can_cancel": False, "finished": False}
        _slow_task_log.append(self._record)

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc_value, traceback):
        self._record["finished"] = True
        return False

    def enter_progress_frame(self, work=1.0, desc=""):
        """Starts the next part of the task, worth work units."""
        self._record["frames"].append((float(work), str(desc)))

    def make_dialog(self, can_cancel=False, allow_in_pie=False):
        """Shows the task's progress dialog."""
        self._record["dialog"] = True
        self._record["can_cancel"] = bool(can_cancel)

    def make_dialog_delayed(self, delay, can_cancel=False, allow_in_pie=False):
        """Shows the task's progress dialog once it has run for delay seconds."""
        self.make_dialog(can_cancel, allow_in_pie)

    def should_cancel(self):
        """True when the user asked to cancel; nobody can in the headless editor."""
        return False
