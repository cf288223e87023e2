# The opening of the bundled tool script. The script carries the sources of the _vantorel_tool package;
# this part installs an import hook that serves them as modules, and the parts after it hand it one
# module's source each through _vn_tool_module(name, is_package, source).
#
# It runs at the top of the namespace the script runs in, which may already hold the host's values, so
# it puts only one name there, _vn_tool_module; the script's closing part removes it again.
#
# The script may run many times in one interpreter (each editor run, each test): every run starts from
# fresh modules and module state, and replaces the hook of the run before rather than adding another.
# Nothing is written to disk: the modules' file names are pseudo paths inside the script's file name,
# and their sources are given to linecache so that tracebacks show the carried lines.


def _vn_tool_open_loader():
    import importlib.abc
    import importlib.util
    import linecache
    import sys

    package = "_vantorel_tool"
    file_prefix = "vn_tool_check.py/"

    def is_carried(name):
        return name == package or name.startswith(package + ".")

    for name in [name for name in sys.modules if is_carried(name)]:
        del sys.modules[name]
    for filename in [filename for filename in linecache.cache if filename.startswith(file_prefix + package + "/")]:
        del linecache.cache[filename]

    class CarriedModules(importlib.abc.MetaPathFinder, importlib.abc.InspectLoader):
        """Finds and loads the modules whose sources the script carries."""

        carried_package = package

        def __init__(self):
            self.modules = {}

        def add(self, name, is_package, source):
            if not is_carried(name):
                raise ImportError("the tool script carries only %s and its modules, not %s" % (package, name), name=name)
            self.modules[name] = (bool(is_package), source)
            filename = self.get_filename(name)
            lines = [line + "\n" for line in source.split("\n")]
            if lines[-1] == "\n":
                lines.pop()
            linecache.cache[filename] = (len(source), None, lines, filename)

        def carried(self, name):
            try:
                return self.modules[name]
            except KeyError:
                raise ImportError("the tool script carries no module %s" % name, name=name) from None

        def find_spec(self, fullname, path=None, target=None):
            if fullname not in self.modules:
                return None
            return importlib.util.spec_from_loader(fullname, self)

        def get_filename(self, fullname):
            parts = fullname.split(".")
            if self.modules.get(fullname, (False,))[0]:
                parts.append("__init__")
            return file_prefix + "/".join(parts) + ".py"

        def is_package(self, fullname):
            return self.carried(fullname)[0]

        def get_source(self, fullname):
            return self.carried(fullname)[1]

        def get_code(self, fullname):
            return compile(self.get_source(fullname), self.get_filename(fullname), "exec", dont_inherit=True)

        def create_module(self, spec):
            return None

        def exec_module(self, module):
            exec(self.get_code(module.__name__), module.__dict__)

    sys.meta_path[:] = [finder for finder in sys.meta_path if getattr(finder, "carried_package", None) != package]
    carrier = CarriedModules()
    sys.meta_path.insert(0, carrier)
    return carrier.add


_vn_tool_module = _vn_tool_open_loader()
del _vn_tool_open_loader
