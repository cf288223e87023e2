"""The face data types of the plug-in's runtime module, resolved once when the tool script starts. A
missing face type switches the face build off (and says so once); the other types must be there."""

import unreal

from _vantorel_tool import state


# Type names that belong to the plug-in's face data; a missing one switches the face build off.
FACE_TYPE_PREFIXES = ("VNFace", "EVNFace", "VNDriven", "VNSDK")

MISSING_PLUGIN_MESSAGE = "\n".join([
    "Vantorel Unreal plugin is not loaded.",
    "",
    "In Unreal choose: Edit > Plugins.",
    "Click Plugin Directories.",
    "Under Additional Plugin Directories, add this folder:",
    "   Vantorel/VantorelFiles/div/unrealPlugins",
])
MISSING_TYPE_PREFIX = "Missing Unreal Python type: "

# Written by the type resolution; read by the face build.
vn_face_plugin_loaded = True
vn_face_plugin_message_shown = False

ChannelEnum = ApplyModeEnum = TransformSpaceEnum = None
DriverStruct = DrivenStruct = KeyStruct = QuaternionKeyStruct = None
DirectControlStruct = FollowControlStruct = VisibilityGroupStruct = EyeChainStruct = AimBindingStruct = None
AssetClass = BeginExecutionStruct = None


def is_face_type_name(name):
    return name.startswith(FACE_TYPE_PREFIXES)


def find_unreal_type(*names):
    """The first of names that the unreal module offers. A face data type (a name with a face prefix)
    is None without a word when the face solver is not included, and None when the plug-in does not
    offer it: the face build is then switched off and the missing-plug-in error logged once. Any
    other missing type raises RuntimeError("Missing Unreal Python type: " + the names)."""
    global vn_face_plugin_loaded, vn_face_plugin_message_shown
    has_face_name = any(is_face_type_name(name) for name in names)
    if not state.INCLUDE_VN_FACE_SOLVER and has_face_name:
        return None
    for name in names:
        found = getattr(unreal, name, None)
        if found is not None:
            return found
    if has_face_name:
        vn_face_plugin_loaded = False
        if not vn_face_plugin_message_shown:
            unreal.log_error(MISSING_PLUGIN_MESSAGE)
            vn_face_plugin_message_shown = True
        return None
    raise RuntimeError(MISSING_TYPE_PREFIX + ", ".join(names))


def resolve_face_types():
    """Looks up every face data type once, in the order the face build lists them."""
    global ChannelEnum, ApplyModeEnum, TransformSpaceEnum, DriverStruct, DrivenStruct, KeyStruct
    global QuaternionKeyStruct, DirectControlStruct, FollowControlStruct, VisibilityGroupStruct
    global EyeChainStruct, AimBindingStruct, AssetClass, BeginExecutionStruct
    ChannelEnum = find_unreal_type("VNFaceSDKChannel", "EVNFaceSDKChannel")
    ApplyModeEnum = find_unreal_type("VNFaceSDKApplyMode", "EVNFaceSDKApplyMode")
    TransformSpaceEnum = find_unreal_type("VNFaceSDKTransformSpace", "EVNFaceSDKTransformSpace")
    DriverStruct = find_unreal_type("VNFaceSDKDriver")
    DrivenStruct = find_unreal_type("VNDrivenSDKChannel")
    KeyStruct = find_unreal_type("VNSDKKey")
    QuaternionKeyStruct = find_unreal_type("VNSDKQuaternionKey")
    DirectControlStruct = find_unreal_type("VNFaceSDKDirectControl")
    FollowControlStruct = find_unreal_type("VNFaceSDKFollowControl")
    VisibilityGroupStruct = find_unreal_type("VNFaceSDKVisibilityGroup")
    EyeChainStruct = find_unreal_type("VNFaceSDKEyeChain")
    AimBindingStruct = find_unreal_type("VNFaceSDKAimBinding")
    AssetClass = find_unreal_type("VNFaceRigDataAsset")
    try:
        BeginExecutionStruct = find_unreal_type("RigUnit_BeginExecution", "RigUnitBeginExecution")
    except RuntimeError:
        BeginExecutionStruct = None
