"""Body rig build: FK/IK switch channels. The FKIK placeholder control that carries each two-bone limb's
switch channels (the limbs themselves are planned in body.planning), and the channel helpers other
systems share."""

import unreal

from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body_json import body_json_bool, body_json_control_attribute, body_json_float
from _vantorel_tool.rig_elements import is_empty_key


# ---- the switch channels on the FKIK placeholder ----------------------------------------------------

BODY_RIG_FKIK_BLEND_CHANNEL = "FKIKBlend"
BODY_RIG_FKIK_BOOL_CHANNELS = ("autoVis", "FKVis", "IKVis")
# Every 0..10 channel of the body rig: the switch blend, fit attributes, the leg lock.
BODY_RIG_CHANNEL_RANGE = (0.0, 10.0)
BODY_RIG_FKIK_BLEND_RANGE = BODY_RIG_CHANNEL_RANGE
BODY_RIG_FKIK_PLACEHOLDER_MISSING_TEXT = "FKIK placeholder control is missing; channels skipped:"
BODY_RIG_FKIK_CHANNEL_FAILED_TEXT = "Could not create FKIK channel"


def body_rig_fkik_channel_values(chain, placeholder_record):
    """The four switch channels of a limb, in order: (attribute, is float, initial value). The blend
    starts at the placeholder's exported value, else fully in IK (10) or FK (0) as the limb defaults."""
    record = placeholder_record or {}
    default_blend = BODY_RIG_FKIK_BLEND_RANGE[1] if chain.default_ik else BODY_RIG_FKIK_BLEND_RANGE[0]
    values = [(BODY_RIG_FKIK_BLEND_CHANNEL, True,
               body_json_float(body_json_control_attribute(record, BODY_RIG_FKIK_BLEND_CHANNEL), default_blend))]
    for attribute in BODY_RIG_FKIK_BOOL_CHANNELS:
        values.append((attribute, False, body_json_bool(body_json_control_attribute(record, attribute), True)))
    return values


def body_rig_make_fkik_channels(elements, chain, controls_by_name):
    """Creates the limb's switch channels (blend 0 to 10 and the three visibility switches) under its
    FKIK placeholder control, skipping channels that exist; returns the number made."""
    placeholder = chain.switch_control
    owner = elements.find(placeholder, "control")
    if owner is None:
        print(BODY_RIG_FKIK_PLACEHOLDER_MISSING_TEXT, placeholder, chain.id)
        return 0
    return body_rig_add_channels(elements, owner, placeholder,
                                 body_rig_fkik_channel_values(chain, controls_by_name.get(placeholder)),
                                 BODY_RIG_FKIK_CHANNEL_FAILED_TEXT)


def body_rig_channel_name(owner_name, attribute):
    return body_rig_safe_name(str(owner_name) + "_" + str(attribute))


def body_rig_add_channels(elements, owner, owner_name, channels, failure_text):
    """Adds (attribute, is float, value) channels under the owner control, floats limited to 0..10,
    skipping channels that exist; a refused channel is printed with failure_text and skipped.
    Returns the number made."""
    made = 0
    for attribute, is_float, value in channels:
        name = body_rig_channel_name(owner_name, attribute)
        if elements.find(name) is not None:
            continue
        try:
            if is_float:
                body_rig_add_float_channel(elements, owner, name, attribute, value,
                                           *BODY_RIG_CHANNEL_RANGE)
            else:
                body_rig_add_bool_channel(elements, owner, name, attribute, value)
            made += 1
        except Exception as error:
            print(failure_text, owner_name, attribute, error)
    return made


def body_rig_channel_settings(control_type, display_name):
    settings = unreal.RigControlSettings()
    settings.control_type = control_type
    settings.animation_type = unreal.RigControlAnimationType.ANIMATION_CHANNEL
    settings.display_name = display_name
    return settings


def body_rig_add_channel(elements, owner, name, settings, value):
    """Adds an animation channel under the owner control with its initial and current values; returns
    its key. Raises when the editor refuses the channel."""
    hierarchy = elements.hierarchy
    key = elements.add_animation_channel(name, owner, settings)
    if is_empty_key(key):
        raise RuntimeError("the channel %s was not added" % name)
    for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        hierarchy.set_control_value(key, value, value_type)
    return key


def body_rig_add_float_channel(elements, owner, name, display_name, value, minimum, maximum,
                               shape_name=None):
    """A float channel limited to minimum..maximum (limits drawn and enforced), starting at value."""
    hierarchy = elements.hierarchy
    settings = body_rig_channel_settings(unreal.RigControlType.FLOAT, display_name)
    if shape_name:
        settings.shape_name = shape_name
    settings.draw_limits = True
    settings.limit_enabled = [unreal.RigControlLimitEnabled(True, True)]
    settings.minimum_value = unreal.RigHierarchy.make_control_value_from_float(minimum)
    settings.maximum_value = unreal.RigHierarchy.make_control_value_from_float(maximum)
    key = body_rig_add_channel(elements, owner, name, settings,
                               unreal.RigHierarchy.make_control_value_from_float(value))
    hierarchy.set_control_value(key, unreal.RigHierarchy.make_control_value_from_float(minimum), unreal.RigControlValueType.MINIMUM)
    hierarchy.set_control_value(key, unreal.RigHierarchy.make_control_value_from_float(maximum), unreal.RigControlValueType.MAXIMUM)
    return key


def body_rig_add_bool_channel(elements, owner, name, display_name, value):
    """A bool channel starting at value."""
    settings = body_rig_channel_settings(unreal.RigControlType.BOOL, display_name)
    return body_rig_add_channel(elements, owner, name, settings,
                                unreal.RigHierarchy.make_control_value_from_bool(bool(value)))
# ---- the local IK control of an addCtrl limb --------------------------------------------------------


# ---- local IK (addCtrl) -------------------------------------------------------------------------------


