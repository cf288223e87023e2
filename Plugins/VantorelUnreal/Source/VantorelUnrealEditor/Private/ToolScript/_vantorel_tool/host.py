"""How the tool script starts in the editor's Python: it takes the host's start values from the
namespace the script runs in, loads the engine and plug-in modules, resolves the face data types,
makes the Content Browser's one selected skeletal mesh the target, and puts into that namespace the
names that the host's bootstrap and the command texts use."""

import unreal

from _vantorel_tool import face_types, state
from _vantorel_tool.actions import VANTOREL_BUILTINS, open_vantorel_tools
from _vantorel_tool.assets import selected_skeletal_meshes


ENGINE_MODULES = ("ControlRigDeveloper", "ControlRigEditor", "ControlRigSpline")
PLUGIN_MODULES = ("VantorelUnreal", "VantorelUnrealEditor")
HOST_VALUES = ("SOURCE_FILE", "INCLUDE_VN_FACE_SOLVER", "json_file")


def load_modules():
    for module_name in ENGINE_MODULES + PLUGIN_MODULES:
        try:
            unreal.load_module(module_name)
        except Exception:  # an editor without one of these modules still runs the rest of the tools
            pass


def start(namespace):
    """Starts the tools in namespace: a host value set there before the script ran wins over its
    default, and afterwards namespace holds the host values, the builtins table the bootstrap
    registers (VANTOREL_BUILTINS) and open_vantorel_tools for a run by hand."""
    for name in HOST_VALUES:
        if name in namespace:
            setattr(state, name, namespace[name])
    load_modules()
    face_types.resolve_face_types()
    try:
        meshes = selected_skeletal_meshes()
        if len(meshes) == 1:
            state.set_target_skeletal_mesh(meshes[0])
    except Exception:  # an editor without a Content Browser selection starts without a target
        pass
    for name in HOST_VALUES:
        namespace[name] = getattr(state, name)
    namespace["VANTOREL_BUILTINS"] = VANTOREL_BUILTINS
    namespace["open_vantorel_tools"] = open_vantorel_tools
