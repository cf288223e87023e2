"""The engine's rig units, RigVM functions and their value types as the editor's reflection shows
them: found by Python name and by struct path, with the engine's bases, node metadata, pins, pin
directions and defaults, and every pin path the rig builders address."""

import re

import pytest

import _unreal_core as core

# Python name -> (package, Python name of the base struct)
CATALOGUE = {
    "RigUnit_BeginExecution": ("/Script/ControlRig", "RigUnit"),
    "RigUnit_InverseExecution": ("/Script/ControlRig", "RigUnit"),
    "RigVMFunction_Sequence": ("/Script/RigVM", "RigVMStruct"),
    "RigUnit_GetTransform": ("/Script/ControlRig", "RigUnit"),
    "RigUnit_SetTransform": ("/Script/ControlRig", "RigUnitMutable"),
    "RigUnit_SetTranslation": ("/Script/ControlRig", "RigUnitMutable"),
    "RigUnit_SetRotation": ("/Script/ControlRig", "RigUnitMutable"),
    "RigUnit_OffsetTransformForItem": ("/Script/ControlRig", "RigUnitMutable"),
    "RigUnit_ParentConstraint": ("/Script/ControlRig", "RigUnit_HighlevelBaseMutable"),
    "RigUnit_RotationConstraintLocalSpaceOffset": ("/Script/ControlRig", "RigUnit_HighlevelBaseMutable"),
    "RigUnit_TwoBoneIKSimplePerItem": ("/Script/ControlRig", "RigUnit_HighlevelBaseMutable"),
    "RigUnit_GetFloatAnimationChannel": ("/Script/ControlRig", "RigUnit_GetAnimationChannelBase"),
    "RigUnit_GetBoolAnimationChannel": ("/Script/ControlRig", "RigUnit_GetAnimationChannelBase"),
    "RigUnit_ItemExists": ("/Script/ControlRig", "RigUnit_ItemBase"),
    "RigUnit_CollectionChildrenArray": ("/Script/ControlRig", "RigUnit_CollectionBase"),
    "RigUnit_CollectionItems": ("/Script/ControlRig", "RigUnit_CollectionBase"),
    "RigUnit_CollectionLoop": ("/Script/ControlRig", "RigUnit_CollectionBaseMutable"),
    "RigUnit_SetControlVisibility": ("/Script/ControlRig", "RigUnitMutable"),
    "RigVMFunction_NameConcat": ("/Script/RigVM", "RigVMFunction_NameBase"),
    "RigVMFunction_MathBoolNot": ("/Script/RigVM", "RigVMFunction_MathBoolUnaryOp"),
    "RigVMFunction_MathFloatAdd": ("/Script/RigVM", "RigVMFunction_MathFloatBinaryAggregateOp"),
    "RigVMFunction_MathFloatMul": ("/Script/RigVM", "RigVMFunction_MathFloatBinaryAggregateOp"),
    "RigVMFunction_MathFloatDiv": ("/Script/RigVM", "RigVMFunction_MathFloatBinaryOp"),
    "RigVMFunction_MathFloatGreaterEqual": ("/Script/RigVM", "RigVMFunction_MathFloatBase"),
    "RigVMFunction_MathVectorAdd": ("/Script/RigVM", "RigVMFunction_MathVectorBinaryAggregateOp"),
    "RigVMFunction_MathVectorSub": ("/Script/RigVM", "RigVMFunction_MathVectorBinaryOp"),
    "RigVMFunction_MathQuaternionFromEuler": ("/Script/RigVM", "RigVMFunction_MathQuaternionBase"),
    "RigVMFunction_MathQuaternionInverse": ("/Script/RigVM", "RigVMFunction_MathQuaternionUnaryOp"),
    "RigVMFunction_MathQuaternionMul": ("/Script/RigVM", "RigVMFunction_MathQuaternionBinaryAggregateOp"),
    "RigVMFunction_MathQuaternionScaleV2": ("/Script/RigVM", "RigVMFunction_MathQuaternionBase"),
    "RigVMFunction_MathQuaternionSlerp": ("/Script/RigVM", "RigVMFunction_MathQuaternionBase"),
    "RigVMFunction_MathQuaternionSwingTwist": ("/Script/RigVM", "RigVMFunction_MathQuaternionBase"),
    "RigVMFunction_MathTransformLerp": ("/Script/RigVM", "RigVMFunction_MathTransformBase"),
    "RigVMFunction_MathTransformMakeAbsolute": ("/Script/RigVM", "RigVMFunction_MathTransformBase"),
    "RigVMFunction_MathTransformMakeRelative": ("/Script/RigVM", "RigVMFunction_MathTransformBase"),
    "RigVMFunction_MathTransformMul": ("/Script/RigVM", "RigVMFunction_MathTransformBinaryAggregateOp"),
    "RigVMFunction_DebugLineNoSpace": ("/Script/RigVM", "RigVMFunction_DebugBaseMutable"),
    "RigVMFunction_ControlFlowBranch": ("/Script/RigVM", "RigVMFunction_ControlFlowBase"),
    "RigUnit_ControlRigSplineFromPoints": ("/Script/ControlRigSpline", "RigUnit_ControlRigSplineBase"),
    "RigUnit_FitChainToSplineCurveItemArray": ("/Script/ControlRigSpline", "RigUnit_HighlevelBaseMutable"),
    # Value types of the pins.
    "ConstraintParent": ("/Script/ControlRig", "StructBase"),
    "RigElementKeyCollection": ("/Script/ControlRig", "StructBase"),
    "TransformFilter": ("/Script/AnimationCore", "StructBase"),
    "FilterOptionPerAxis": ("/Script/AnimationCore", "StructBase"),
    "ControlRigSpline": ("/Script/ControlRigSpline", "StructBase"),
    "RigVMExecuteContext": ("/Script/RigVM", "StructBase"),
}

# Node titles, template names and categories the editor shows (struct metadata).
NODE_METADATA = [
    ("RigUnit_BeginExecution", "DisplayName", "Forwards Solve"),
    ("RigUnit_BeginExecution", "Category", "Events"),
    ("RigUnit_InverseExecution", "DisplayName", "Backwards Solve"),
    ("RigVMFunction_Sequence", "DisplayName", "Sequence"),
    ("RigUnit_SetTransform", "TemplateName", "Set Transform"),
    ("RigUnit_SetTranslation", "TemplateName", "Set Transform"),
    ("RigUnit_GetTransform", "Category", "Transforms"),
    ("RigUnit_SetControlVisibility", "TemplateName", "SetControlVisibility"),
    ("RigVMFunction_MathBoolNot", "TemplateName", "Not"),
    ("RigVMFunction_MathFloatDiv", "TemplateName", "Divide"),
    ("RigVMFunction_MathFloatGreaterEqual", "TemplateName", "GreaterEqual"),
    ("RigVMFunction_MathTransformMakeRelative", "DisplayName", "Make Relative"),
    ("RigVMFunction_MathQuaternionSwingTwist", "DisplayName", "To Swing & Twist"),
    ("RigVMFunction_ControlFlowBranch", "DisplayName", "Branch"),
    ("RigVMFunction_DebugLineNoSpace", "DisplayName", "Draw Line"),
    ("RigUnit_TwoBoneIKSimplePerItem", "DisplayName", "Basic IK"),
    ("RigUnit_CollectionChildrenArray", "DisplayName", "Get Children"),
    ("RigUnit_ParentConstraint", "Category", "Constraints"),
    ("RigUnit_ControlRigSplineFromPoints", "Category", "Splines"),
    ("RigUnit_FitChainToSplineCurveItemArray", "DisplayName", "Fit Chain on Spline Curve"),
]

ABSTRACT_BASES = ["RigUnit", "RigUnitMutable", "RigVMStructMutable", "RigUnit_HighlevelBaseMutable",
                  "RigVMFunction_MathFloatBinaryAggregateOp", "RigUnit_GetAnimationChannelBase",
                  "RigVMFunction_DebugBaseMutable", "RigUnit_ControlRigSplineBase"]

# (unit, pin, direction, C++ type): "in", "out", "io" (both) or "hidden" (neither: internal state).
PINS = [
    ("RigUnit_BeginExecution", "ExecuteContext", "out", "FControlRigExecuteContext"),
    ("RigUnit_InverseExecution", "ExecuteContext", "out", "FControlRigExecuteContext"),
    ("RigVMFunction_Sequence", "ExecuteContext", "in", "FRigVMExecuteContext"),
    ("RigVMFunction_Sequence", "A", "out", "FRigVMExecuteContext"),
    ("RigVMFunction_Sequence", "B", "out", "FRigVMExecuteContext"),
    ("RigUnit_GetTransform", "Item", "in", "FRigElementKey"),
    ("RigUnit_GetTransform", "Space", "in", "ERigVMTransformSpace"),
    ("RigUnit_GetTransform", "bInitial", "in", "bool"),
    ("RigUnit_GetTransform", "Transform", "out", "FTransform"),
    ("RigUnit_GetTransform", "CachedIndex", "hidden", "FCachedRigElement"),
    ("RigUnit_SetTransform", "ExecuteContext", "io", "FControlRigExecuteContext"),
    ("RigUnit_SetTransform", "Value", "in", "FTransform"),
    ("RigUnit_SetTransform", "Weight", "in", "float"),
    ("RigUnit_SetTransform", "bPropagateToChildren", "in", "bool"),
    ("RigUnit_SetTranslation", "Value", "in", "FVector"),
    ("RigUnit_SetRotation", "Value", "in", "FQuat"),
    ("RigUnit_SetRotation", "bInitial", "in", "bool"),
    ("RigUnit_OffsetTransformForItem", "OffsetTransform", "in", "FTransform"),
    ("RigUnit_ParentConstraint", "Child", "in", "FRigElementKey"),
    ("RigUnit_ParentConstraint", "Parents", "in", "TArray<FConstraintParent>"),
    ("RigUnit_ParentConstraint", "Filter", "in", "FTransformFilter"),
    ("RigUnit_ParentConstraint", "ChildCache", "hidden", "FCachedRigElement"),
    ("RigUnit_RotationConstraintLocalSpaceOffset", "Filter", "in", "FFilterOptionPerAxis"),
    ("RigUnit_TwoBoneIKSimplePerItem", "PoleVectorKind", "in", "EControlRigVectorKind"),
    ("RigUnit_TwoBoneIKSimplePerItem", "Effector", "in", "FTransform"),
    ("RigUnit_GetFloatAnimationChannel", "Control", "in", "FName"),
    ("RigUnit_GetFloatAnimationChannel", "Channel", "in", "FName"),
    ("RigUnit_GetFloatAnimationChannel", "Value", "out", "float"),
    ("RigUnit_GetBoolAnimationChannel", "Value", "out", "bool"),
    ("RigUnit_ItemExists", "Exists", "out", "bool"),
    ("RigVMFunction_NameConcat", "Result", "out", "FName"),
    ("RigUnit_CollectionChildrenArray", "TypeToSearch", "in", "ERigElementType"),
    ("RigUnit_CollectionChildrenArray", "Items", "out", "TArray<FRigElementKey>"),
    ("RigUnit_CollectionItems", "Items", "in", "TArray<FRigElementKey>"),
    ("RigUnit_CollectionItems", "Collection", "out", "FRigElementKeyCollection"),
    ("RigUnit_CollectionLoop", "Collection", "in", "FRigElementKeyCollection"),
    ("RigUnit_CollectionLoop", "Completed", "out", "FControlRigExecuteContext"),
    ("RigUnit_SetControlVisibility", "Pattern", "in", "FString"),
    ("RigUnit_SetControlVisibility", "bVisible", "in", "bool"),
    ("RigVMFunction_MathBoolNot", "Value", "in", "bool"),
    ("RigVMFunction_MathBoolNot", "Result", "out", "bool"),
    ("RigVMFunction_MathFloatGreaterEqual", "Result", "out", "bool"),
    ("RigVMFunction_MathFloatDiv", "Result", "out", "float"),
    ("RigVMFunction_MathVectorSub", "Result", "out", "FVector"),
    ("RigVMFunction_MathQuaternionFromEuler", "Euler", "in", "FVector"),
    ("RigVMFunction_MathQuaternionFromEuler", "RotationOrder", "in", "EEulerRotationOrder"),
    ("RigVMFunction_MathQuaternionSwingTwist", "Twist", "out", "FQuat"),
    ("RigVMFunction_MathQuaternionSlerp", "T", "in", "float"),
    ("RigVMFunction_MathTransformMakeAbsolute", "Global", "out", "FTransform"),
    ("RigVMFunction_MathTransformMakeRelative", "Local", "out", "FTransform"),
    ("RigVMFunction_DebugLineNoSpace", "ExecuteContext", "io", "FRigVMExecuteContext"),
    ("RigVMFunction_DebugLineNoSpace", "Color", "in", "FLinearColor"),
    ("RigVMFunction_ControlFlowBranch", "ExecuteContext", "in", "FRigVMExecuteContext"),
    ("RigVMFunction_ControlFlowBranch", "True", "out", "FRigVMExecuteContext"),
    ("RigVMFunction_ControlFlowBranch", "Completed", "out", "FRigVMExecuteContext"),
    ("RigVMFunction_ControlFlowBranch", "BlockToRun", "hidden", "FName"),
    ("RigUnit_ControlRigSplineFromPoints", "Points", "in", "TArray<FVector>"),
    ("RigUnit_ControlRigSplineFromPoints", "Spline", "out", "FControlRigSpline"),
    ("RigUnit_FitChainToSplineCurveItemArray", "Spline", "in", "FControlRigSpline"),
    ("RigUnit_FitChainToSplineCurveItemArray", "Items", "in", "TArray<FRigElementKey>"),
]

# (unit, Python property, expected default); vectors and quaternions as tuples, enums by member name.
DEFAULTS = [
    ("RigVMFunction_MathQuaternionFromEuler", "rotation_order", "ZYX"),
    ("RigUnit_GetTransform", "space", "GLOBAL_SPACE"),
    ("RigUnit_GetTransform", "initial", False),
    ("RigUnit_SetTransform", "weight", 1.0),
    ("RigUnit_SetTransform", "propagate_to_children", True),
    ("RigUnit_SetRotation", "weight", 1.0),
    ("RigUnit_OffsetTransformForItem", "weight", 1.0),
    ("RigUnit_ParentConstraint", "maintain_offset", True),
    ("RigUnit_ParentConstraint", "weight", 1.0),
    ("RigUnit_RotationConstraintLocalSpaceOffset", "weight", 1.0),
    ("RigUnit_TwoBoneIKSimplePerItem", "primary_axis", (1.0, 0.0, 0.0)),
    ("RigUnit_TwoBoneIKSimplePerItem", "secondary_axis", (0.0, 1.0, 0.0)),
    ("RigUnit_TwoBoneIKSimplePerItem", "pole_vector", (0.0, 0.0, 1.0)),
    ("RigUnit_TwoBoneIKSimplePerItem", "pole_vector_kind", "DIRECTION"),
    ("RigUnit_TwoBoneIKSimplePerItem", "stretch_start_ratio", 0.75),
    ("RigUnit_TwoBoneIKSimplePerItem", "propagate_to_children", True),
    ("RigUnit_SetControlVisibility", "visible", True),
    ("RigUnit_CollectionChildrenArray", "default_children", True),
    ("RigUnit_CollectionChildrenArray", "recursive", False),
    ("RigUnit_CollectionChildrenArray", "type_to_search", "ALL"),
    ("RigVMFunction_MathBoolNot", "value", False),
    ("RigVMFunction_MathFloatMul", "a", 1.0),
    ("RigVMFunction_MathFloatMul", "b", 1.0),
    ("RigVMFunction_MathFloatDiv", "b", 1.0),
    ("RigVMFunction_MathFloatAdd", "b", 0.0),
    ("RigVMFunction_MathQuaternionSwingTwist", "twist_axis", (1.0, 0.0, 0.0)),
    ("RigVMFunction_MathQuaternionSlerp", "result", (0.0, 0.0, 0.0, 1.0)),
    ("RigVMFunction_DebugLineNoSpace", "enabled", True),
    ("RigVMFunction_DebugLineNoSpace", "thickness", 0.0),
    ("RigUnit_ControlRigSplineFromPoints", "spline_mode", "HERMITE"),
    ("RigUnit_ControlRigSplineFromPoints", "samples_per_segment", 16),
    ("RigUnit_FitChainToSplineCurveItemArray", "maximum", 1.0),
    ("RigUnit_FitChainToSplineCurveItemArray", "propagate_to_children", True),
]

# Element keys whose default element type differs between units.
KEY_DEFAULT_TYPES = [
    ("RigUnit_GetTransform", "item", "BONE"),
    ("RigUnit_SetTransform", "item", "BONE"),
    ("RigUnit_SetControlVisibility", "item", "CONTROL"),
    ("RigUnit_ParentConstraint", "child", "BONE"),
    ("RigUnit_CollectionChildrenArray", "parent", "BONE"),
]

# Every unit and pin path the rig builders set or link.
BUILDER_PINS = {
    "RigUnit_BeginExecution": ["ExecuteContext"],
    "RigUnit_InverseExecution": ["ExecuteContext"],
    "RigVMFunction_Sequence": ["ExecuteContext", "A", "B"],
    "RigUnit_GetTransform": ["Item", "Item.Type", "Item.Name", "Space", "bInitial", "Transform",
                             "Transform.Rotation", "Transform.Translation"],
    "RigUnit_SetTransform": ["ExecuteContext", "Item", "Item.Type", "Item.Name", "Space", "bInitial", "Value",
                             "Weight", "bPropagateToChildren"],
    "RigUnit_SetTranslation": ["ExecuteContext", "Item", "Space", "Value", "Weight", "bPropagateToChildren"],
    "RigUnit_SetRotation": ["ExecuteContext", "Item", "Space", "bInitial", "Value", "Weight", "bPropagateToChildren"],
    "RigUnit_OffsetTransformForItem": ["ExecuteContext", "Item", "Weight", "bPropagateToChildren",
                                       "OffsetTransform.Translation.X", "OffsetTransform.Scale3D.Z",
                                       "OffsetTransform.Rotation"],
    "RigUnit_ParentConstraint": ["ExecuteContext", "Child", "bMaintainOffset", "Weight", "Parents",
                                 "Parents.0.Item", "Parents.0.Weight", "Parents.1.Item", "Parents.1.Weight"],
    "RigUnit_RotationConstraintLocalSpaceOffset": ["ExecuteContext", "Child", "bMaintainOffset", "Weight", "Parents",
                                                   "Parents.0.Item", "Parents.0.Weight"],
    "RigUnit_TwoBoneIKSimplePerItem": ["ExecuteContext", "ItemA", "ItemB", "EffectorItem", "Effector", "PrimaryAxis.X",
                                       "PrimaryAxis.Y", "PrimaryAxis.Z", "SecondaryAxis.X", "PoleVectorKind",
                                       "PoleVectorSpace", "Weight"],
    "RigUnit_GetFloatAnimationChannel": ["Control", "Channel", "Value"],
    "RigUnit_GetBoolAnimationChannel": ["Control", "Channel", "Value"],
    "RigUnit_ItemExists": ["Item", "Item.Type", "Item.Name", "Exists"],
    "RigVMFunction_NameConcat": ["A", "B", "Result"],
    "RigUnit_CollectionChildrenArray": ["Parent", "Parent.Type", "Parent.Name", "bIncludeParent", "bRecursive",
                                        "bDefaultChildren", "TypeToSearch", "Items"],
    "RigUnit_CollectionItems": ["Items", "bAllowDuplicates", "Collection"],
    "RigUnit_CollectionLoop": ["ExecuteContext", "Collection", "Item", "Completed"],
    "RigUnit_SetControlVisibility": ["ExecuteContext", "Item", "Pattern", "bVisible"],
    "RigVMFunction_MathBoolNot": ["Value", "Result"],
    "RigVMFunction_MathFloatAdd": ["A", "B", "Result"],
    "RigVMFunction_MathFloatMul": ["A", "B", "Result"],
    "RigVMFunction_MathFloatDiv": ["A", "B", "Result"],
    "RigVMFunction_MathFloatGreaterEqual": ["A", "B", "Result"],
    "RigVMFunction_MathVectorAdd": ["A", "B", "Result"],
    "RigVMFunction_MathVectorSub": ["A", "B", "Result"],
    "RigVMFunction_MathQuaternionFromEuler": ["Euler.X", "Euler.Y", "Euler.Z", "Result"],
    "RigVMFunction_MathQuaternionInverse": ["Value", "Result"],
    "RigVMFunction_MathQuaternionMul": ["A", "B", "Result"],
    "RigVMFunction_MathQuaternionScaleV2": ["Value", "Factor", "Result"],
    "RigVMFunction_MathQuaternionSlerp": ["A", "B", "T", "Result"],
    "RigVMFunction_MathQuaternionSwingTwist": ["Input", "TwistAxis.X", "Swing", "Twist"],
    "RigVMFunction_MathTransformLerp": ["A", "B", "T", "Result"],
    "RigVMFunction_MathTransformMakeAbsolute": ["Local", "Parent", "Global"],
    "RigVMFunction_MathTransformMakeRelative": ["Global", "Parent", "Local", "Local.Rotation"],
    "RigVMFunction_MathTransformMul": ["A", "A.Rotation", "B", "Result"],
    "RigVMFunction_DebugLineNoSpace": ["ExecuteContext", "A", "B", "Color", "Thickness", "bEnabled"],
    "RigVMFunction_ControlFlowBranch": ["ExecuteContext", "Condition", "True", "False", "Completed"],
    "RigUnit_ControlRigSplineFromPoints": ["Points", "Points.0", "Points.3", "SplineMode", "bClosed",
                                           "SamplesPerSegment", "Spline"],
    "RigUnit_FitChainToSplineCurveItemArray": ["ExecuteContext", "Items", "Spline", "Alignment", "Minimum", "Maximum",
                                               "SamplingPrecision", "PrimaryAxis", "SecondaryAxis", "Weight",
                                               "bPropagateToChildren"],
}

# Pin values the builders write as text, in the struct text form the graph stores them in.
BUILDER_TEXT_VALUES = [
    ("RigUnit_GetTransform", '(Item=(Type=Control,Name="Hand_L"),Space=LocalSpace,bInitial=True)',
     {"space": "LOCAL_SPACE", "initial": True}),
    ("RigUnit_SetTransform", "(Space=GlobalSpace,Weight=0.250000,bPropagateToChildren=False)",
     {"space": "GLOBAL_SPACE", "weight": 0.25, "propagate_to_children": False}),
    ("RigUnit_TwoBoneIKSimplePerItem", "(PoleVectorKind=Location)", {"pole_vector_kind": "LOCATION"}),
    ("RigUnit_CollectionChildrenArray", "(TypeToSearch=Bone,bRecursive=True)", {"type_to_search": "BONE", "recursive": True}),
    ("RigUnit_ControlRigSplineFromPoints", "(SplineMode=BSpline,SamplesPerSegment=16,bClosed=False)",
     {"spline_mode": "B_SPLINE", "samples_per_segment": 16, "closed": False}),
    ("RigUnit_FitChainToSplineCurveItemArray", "(Alignment=Stretched,SamplingPrecision=64)",
     {"alignment": "STRETCHED", "sampling_precision": 64}),
    ("RigVMFunction_DebugLineNoSpace", "(Color=(R=0.200000,G=0.200000,B=0.200000,A=1.000000),Thickness=0.500000)",
     {"thickness": 0.5}),
]


def struct_of(unreal, name):
    return getattr(unreal, name).static_struct()


def pin_metadata(unreal, unit, pin):
    return core.metadata(getattr(unreal, unit)._t, pin)


def direction_of(metadata):
    return {(True, False): "in", (False, True): "out", (True, True): "io", (False, False): "hidden"}[
        ("Input" in metadata, "Output" in metadata)]


def plain(value):
    """A comparable form of a default: enum members by name, vectors and quaternions as tuples."""
    if hasattr(value, "w"):
        return (value.x, value.y, value.z, value.w)
    if hasattr(value, "z"):
        return (value.x, value.y, value.z)
    if hasattr(value, "name") and hasattr(value, "value"):
        return value.name
    return value


def resolve_pin_path(unreal, unit, path):
    """Walks a pin path ("Parents.0.Item.Name") through the reflected member types; returns the C++
    type of the last segment, or raises LookupError at the first segment that is no pin."""
    type_ref = getattr(unreal, unit)._t
    cpp_type = None
    for segment in path.split("."):
        if cpp_type is not None:
            array = re.fullmatch(r"TArray<(\w+)>", cpp_type)
            if array:
                if not segment.isdigit():
                    raise LookupError("%s: '%s' is not an array index" % (path, segment))
                cpp_type = array.group(1)
                continue
            type_name = cpp_type[1:] if cpp_type[0] in "FE" else cpp_type
            type_ref = getattr(unreal, type_name)._t
        try:
            cpp_type = core.metadata(type_ref, segment)["CppType"]
        except AttributeError:
            raise LookupError("%s: no pin '%s'" % (path, segment)) from None
    return cpp_type


@pytest.mark.parametrize("name", sorted(CATALOGUE))
def test_catalogue_types_are_found_by_python_name_and_by_struct_path(unreal, name):
    package, _ = CATALOGUE[name]
    struct = struct_of(unreal, name)
    path = "%s.%s" % (package, name)
    assert struct.get_path_name() == path
    assert unreal.find_object(None, path) == struct
    assert unreal.load_object(None, path) == struct


@pytest.mark.parametrize("name", sorted(CATALOGUE))
def test_catalogue_types_derive_from_the_engine_bases(unreal, name):
    _, base = CATALOGUE[name]
    assert getattr(unreal, name).__mro__[1].__name__ == base
    assert issubclass(getattr(unreal, name), unreal.StructBase)


def test_units_are_rigvm_structs_and_value_types_are_not(unreal):
    units = [name for name in CATALOGUE if name.startswith(("RigUnit_", "RigVMFunction_"))]
    assert len(units) == 40
    for name in units:
        assert issubclass(getattr(unreal, name), unreal.RigVMStruct), name
        assert "Execute" in core.metadata(getattr(unreal, name)._t, "")["RigVMMethods"].split(",")
    for name in set(CATALOGUE) - set(units):
        assert not issubclass(getattr(unreal, name), unreal.RigVMStruct), name


@pytest.mark.parametrize("unit, key, value", NODE_METADATA)
def test_nodes_carry_the_engine_titles_templates_and_categories(unreal, unit, key, value):
    assert core.metadata(getattr(unreal, unit)._t, "")[key] == value


@pytest.mark.parametrize("base", ABSTRACT_BASES)
def test_base_structs_are_abstract_so_no_node_is_made_of_them(unreal, base):
    assert "Abstract" in core.metadata(getattr(unreal, base)._t, "")


@pytest.mark.parametrize("unit, pin, direction, cpp_type", PINS)
def test_pins_have_their_engine_direction_and_type(unreal, unit, pin, direction, cpp_type):
    metadata = pin_metadata(unreal, unit, pin)
    assert direction_of(metadata) == direction
    assert metadata["CppType"] == cpp_type


def test_execution_pins_are_titled_execute_as_in_the_editor(unreal):
    for unit in ("RigUnit_SetTransform", "RigUnit_BeginExecution", "RigVMFunction_Sequence",
                 "RigVMFunction_ControlFlowBranch", "RigVMFunction_DebugLineNoSpace"):
        assert pin_metadata(unreal, unit, "ExecuteContext")["DisplayName"] == "Execute", unit


def test_sequence_and_aggregate_math_grow_through_aggregate_pins(unreal):
    for unit, pins in (("RigVMFunction_Sequence", ("A", "B")), ("RigVMFunction_MathFloatAdd", ("A", "B", "Result")),
                       ("RigVMFunction_MathQuaternionMul", ("A", "B", "Result"))):
        for pin in pins:
            assert "Aggregate" in pin_metadata(unreal, unit, pin), (unit, pin)
    assert "Aggregate" not in pin_metadata(unreal, "RigVMFunction_MathFloatDiv", "A")


def test_constraints_start_with_one_parent_entry(unreal):
    for unit in ("RigUnit_ParentConstraint", "RigUnit_RotationConstraintLocalSpaceOffset"):
        assert pin_metadata(unreal, unit, "Parents")["DefaultArraySize"] == "1"
    parent = unreal.ConstraintParent()
    assert parent.weight == 1.0 and parent.item.type == unreal.RigElementType.BONE


@pytest.mark.parametrize("unit, field, expected", DEFAULTS)
def test_pins_default_to_the_engine_values(unreal, unit, field, expected):
    got = plain(getattr(unreal, unit)().get_editor_property(field))
    assert got == (pytest.approx(expected) if isinstance(expected, (float, tuple)) else expected)


@pytest.mark.parametrize("unit, field, element_type", KEY_DEFAULT_TYPES)
def test_element_key_pins_default_to_their_element_type(unreal, unit, field, element_type):
    key = getattr(getattr(unreal, unit)(), field)
    assert key.type.name == element_type and key.name.is_none()


def script_fields(wrapped_type):
    """The Python properties of a struct type, inherited ones first."""
    fields = []
    for klass in reversed(wrapped_type.__mro__):
        fields.extend(name for name, member in vars(klass).items() if isinstance(member, property))
    return fields


@pytest.mark.parametrize("unit, fields", [
    ("RigUnit_SetTransform", ["execute_context", "item", "space", "initial", "value", "weight", "propagate_to_children"]),
    ("RigUnit_GetTransform", ["item", "space", "initial", "transform"]),
    ("RigUnit_ParentConstraint", ["execute_context", "child", "maintain_offset", "filter", "parents", "advanced_settings",
                                  "weight"]),
    ("RigVMFunction_ControlFlowBranch", ["execute_context", "condition", "true", "false", "completed"]),
    ("RigUnit_CollectionLoop", ["execute_context", "collection", "item", "index", "count", "ratio", "completed"]),
    ("RigUnit_GetFloatAnimationChannel", ["control", "channel", "initial", "value"]),
])
def test_scripts_see_the_pins_but_not_the_internal_caches(unreal, unit, fields):
    assert script_fields(getattr(unreal, unit)) == fields
    for hidden in ("cached_index", "child_cache", "block_to_run", "cached_channel_hash"):
        with pytest.raises(AttributeError):
            getattr(unreal, unit)().get_editor_property(hidden)


def test_filters_default_to_every_axis(unreal):
    transform_filter = unreal.RigUnit_ParentConstraint().filter
    for part in (transform_filter.translation_filter, transform_filter.rotation_filter, transform_filter.scale_filter):
        assert (part.x, part.y, part.z) == (True, True, True)


@pytest.mark.parametrize("unit", sorted(BUILDER_PINS))
def test_every_pin_path_the_builders_use_exists(unreal, unit):
    for path in BUILDER_PINS[unit]:
        assert resolve_pin_path(unreal, unit, path)


@pytest.mark.parametrize("unit, path", [
    ("RigVMFunction_Sequence", "C"),
    ("RigUnit_SetTransform", "Transform"),
    ("RigUnit_GetTransform", "Value"),
    ("RigUnit_ParentConstraint", "Parents.Item"),
    ("RigUnit_ParentConstraint", "Parents.0.Offset"),
    ("RigUnit_GetTransform", "Item.Index"),
    ("RigUnit_BeginExecution", "ExecutePin"),
])
def test_pin_paths_that_the_engine_unit_lacks_are_refused(unreal, unit, path):
    with pytest.raises(LookupError):
        resolve_pin_path(unreal, unit, path)


def test_every_builder_unit_is_in_the_catalogue(unreal):
    assert set(BUILDER_PINS) <= set(CATALOGUE)


@pytest.mark.parametrize("unit, text, expected", BUILDER_TEXT_VALUES)
def test_pin_values_in_the_builders_text_form_import(unreal, unit, text, expected):
    value = getattr(unreal, unit)()
    value.import_text(text)
    for field, wanted in expected.items():
        got = plain(value.get_editor_property(field))
        assert got == (pytest.approx(wanted) if isinstance(wanted, float) else wanted), field


@pytest.mark.parametrize("unit, text", [
    ("RigUnit_GetTransform", "(Space=WorldSpace)"),
    ("RigUnit_TwoBoneIKSimplePerItem", "(PoleVectorKind=Point)"),
    ("RigUnit_ControlRigSplineFromPoints", "(SplineMode=Bezier)"),
])
def test_unknown_enumerator_texts_are_refused(unreal, unit, text):
    with pytest.raises(ValueError):
        getattr(unreal, unit)().import_text(text)


def test_enumerations_have_the_engine_members_in_order(unreal):
    assert [(m.name, m.value) for m in unreal.RigVMTransformSpace][:2] == [("LOCAL_SPACE", 0), ("GLOBAL_SPACE", 1)]
    assert [m.name for m in unreal.ControlRigVectorKind] == ["DIRECTION", "LOCATION"]
    assert [m.name for m in unreal.ControlRigCurveAlignment] == ["FRONT", "STRETCHED"]
    assert [m.name for m in unreal.RigVMAnimEasingType][:4] == ["LINEAR", "QUADRATIC_EASE_IN", "QUADRATIC_EASE_OUT",
                                                                 "QUADRATIC_EASE_IN_OUT"]
    assert len(unreal.RigVMAnimEasingType) == 31


def test_metadata_lookup_refuses_missing_properties_and_non_types(unreal):
    with pytest.raises(AttributeError):
        core.metadata(unreal.RigUnit_SetTransform._t, "NoSuchPin")
    with pytest.raises(TypeError):
        core.metadata(unreal.find_object(None, "/Script/ControlRig")._o, "")


@pytest.mark.parametrize("old_name, new_name", [
    ("RigUnit_NameConcat", "RigVMFunction_NameConcat"),
    ("RigUnit_MathFloatDiv", "RigVMFunction_MathFloatDiv"),
    ("RigUnit_MathQuaternionFromEuler", "RigVMFunction_MathQuaternionFromEuler"),
    ("RigUnit_DebugLineItemSpace", "RigVMFunction_DebugLineNoSpace"),
])
def test_renamed_units_keep_their_old_names_as_deprecated_aliases(unreal, old_name, new_name):
    alias = getattr(unreal, old_name)
    assert alias is getattr(unreal, old_name), "the alias is made once"
    assert issubclass(alias, getattr(unreal, new_name)) and alias is not getattr(unreal, new_name)
    assert alias.static_struct() == getattr(unreal, new_name).static_struct()
    assert "renamed to '%s'" % new_name in alias.__doc__
    assert isinstance(alias(), getattr(unreal, new_name))


def test_names_never_renamed_have_no_alias(unreal):
    for name in ("RigUnit_NameConcatenate", "RigUnit_NoSuchUnit", "RigVMFunction_NameConcatAlias"):
        with pytest.raises(AttributeError):
            getattr(unreal, name)
