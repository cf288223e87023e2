"""Shared by every body rig builder: the safe-name rule, a control record's kind and the names every
system refers to."""

import re


# ---- fixed texts and names ---------------------------------------------------------------------------

BODY_RIG_SAFE_NAME_FALLBACK = "Body"
BODY_RIG_UNSAFE_NAME_RUN = re.compile(r"[^A-Za-z0-9_]+")


def body_rig_safe_name(value, fallback=BODY_RIG_SAFE_NAME_FALLBACK):
    """value as an element or node name: every run of characters other than letters, digits and
    underscore becomes one underscore, leading and trailing underscores go; fallback when nothing is
    left."""
    text = "" if value is None else str(value)
    return BODY_RIG_UNSAFE_NAME_RUN.sub("_", text).strip("_") or fallback


def body_rig_kind(data):
    """A control record's kind: its "type", "FK" when it has none."""
    return str((data or {}).get("type") or "") or "FK"


# ---- shared names and records -----------------------------------------------------------------------

BODY_RIG_KIND_DRIVING_SYSTEM = "DrivingSystem"
BODY_RIG_MAIN_NAME = "Main"


def body_rig_controls_by_name(controls):
    """Control records by name, the first of each name."""
    by_name = {}
    for control in controls:
        name = str(control.get("name") or "")
        if name:
            by_name.setdefault(name, control)
    return by_name
