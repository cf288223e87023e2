"""Face rig build: the face solver node, added to the rig's forward solve and wired to the face rig data
asset, the face joint, the control box and the FaceScaler."""

import unreal

from _vantorel_tool import face_types
from _vantorel_tool.face.controls import FACE_CTRL_BOX_ATTACH
from _vantorel_tool.face.scale import FACE_JOINT
from _vantorel_tool.graph_queries import (
    face_graph_controller, find_execute_input_pin, find_forward_solve_node, find_sequence_node, find_sequence_output_pin,
    graph_node_path, graph_node_position, pin_path,
)
from _vantorel_tool.names import error_text


FACE_SOLVER_STRUCT = "RigUnit_VNFaceSDKSolver"
FACE_SOLVER_NODE = "VNFaceSDKSolver"
FACE_NO_CONTROLLER_TEXT = "Control Rig was created, but graph controller was not available for automatic solver wiring."
FACE_SOLVER_LINKED_TEXT = "Added and connected VN Face SDK Solver node."
FACE_SOLVER_UNLINKED_TEXT = ("Added VN Face SDK Solver node, but could not auto-connect execution. Connect Execute manually "
                             "if needed.")
FACE_SOLVER_FAILED_TEXT = "Control Rig was created, but VN Face SDK Solver node was not auto-added:"
FACE_SCALER_NOT_SET_TEXT = "FaceScaler was not auto-set:"


def face_quoted(text):
    return '"%s"' % str(text).replace("\\", "\\\\").replace('"', '\\"')


def face_solver_position(begin, sequence):
    if sequence is not None:
        x, y = graph_node_position(sequence)
        return x - 120.0, y + 420.0
    if begin is not None:
        x, y = graph_node_position(begin, 0.0, 0.0)
        return x + 260.0, y + 80.0
    return 220.0, 0.0


def face_set_pin(controller, path, text):
    try:
        return bool(controller.set_pin_default_value(path, text, True))
    except TypeError:
        return bool(controller.set_pin_default_value(path, text))


def try_add_solver_node(control_rig, face_asset, face_scaler):
    """Adds the face solver to the rig's forward solve, after what the sequence already runs; returns
    the node path, or None when it could not be added. Every failure is printed and the build goes on."""
    controller = face_graph_controller(control_rig)
    if controller is None:
        print(FACE_NO_CONTROLLER_TEXT)
        return None
    try:
        begin = find_forward_solve_node(controller)
        sequence = find_sequence_node(controller, begin) if begin is not None else find_sequence_node(controller)
        if begin is None and face_types.BeginExecutionStruct is not None:
            begin = controller.add_unit_node(face_types.BeginExecutionStruct.static_struct(), "Execute", unreal.Vector2D(0.0, 0.0))
        x, y = face_solver_position(begin, sequence)
        struct = getattr(unreal, FACE_SOLVER_STRUCT).static_struct()
        asset_path = face_asset.get_path_name()
        defaults = "(FaceRigDataAsset=%s)" % face_quoted(asset_path)
        node = controller.add_unit_node_with_defaults(struct, defaults, "Execute", unreal.Vector2D(x, y), FACE_SOLVER_NODE)
        path = graph_node_path(node)
        for pin, text in (("FaceRigDataAsset", asset_path),
                          ("FaceJoint", "(Type=Bone,Name=%s)" % face_quoted(FACE_JOINT)),
                          ("CtrlBoxAttach", "(Type=Null,Name=%s)" % face_quoted(FACE_CTRL_BOX_ATTACH))):
            try:
                face_set_pin(controller, path + "." + pin, text)
            except Exception:
                pass
        try:
            face_set_pin(controller, path + ".FaceScaler", "%.6f" % face_scaler)
        except Exception as error:
            print(FACE_SCALER_NOT_SET_TEXT, error_text(error))
        target = pin_path(find_execute_input_pin(node))
        linked = False
        if sequence is not None:
            source = find_sequence_output_pin(sequence)
            if source:
                try:
                    linked = bool(controller.add_link(source, target))
                except Exception:
                    linked = False
        if not linked and begin is not None:
            begin_pin = find_execute_input_pin(begin)
            try:
                linked = begin_pin is not None and bool(controller.add_link(pin_path(begin_pin), target))
            except Exception:
                linked = False
        print(FACE_SOLVER_LINKED_TEXT if linked else FACE_SOLVER_UNLINKED_TEXT)
        return path
    except Exception as error:
        print(FACE_SOLVER_FAILED_TEXT, error_text(error))
        return None
