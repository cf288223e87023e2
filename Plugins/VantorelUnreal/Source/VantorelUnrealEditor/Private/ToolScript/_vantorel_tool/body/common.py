"""Shared by every body rig builder: the safe-name rule and the element lookup by name, answered from an
index of the hierarchy so that a lookup does not read the whole hierarchy from the editor."""

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


# ---- the element index -------------------------------------------------------------------------------
#
# Every call into the editor costs, and the builders look elements up by name thousands of times while
# they add elements. The index lists, per name, the keys of that name in the hierarchy's traversal
# order, read once with one get_all_keys call. A lookup then costs one call (the element count) plus one
# more on a hit (whether the key still exists):
#
# - additions, removals and renames that the builders report through body_rig_index_added /
#   _removed / _renamed keep the index valid without reading the hierarchy again;
# - a change of the element count that nobody reported (an edit made around the index) makes the next
#   lookup read the hierarchy again, and so does a hit whose element is gone (an unreported rename);
#   an unreported rename to a name, or re-parenting, is not seen: the builders report those;
# - only names that several elements share depend on traversal order; while there are such names, a
#   reported change that can move elements in that order (an addition to a shared name, a removal, a
#   re-parenting) makes the next lookup read the hierarchy again.


class BodyRigKeyIndex:
    """The keys of one hierarchy by name, each name's keys in traversal order."""

    def __init__(self, hierarchy):
        self.keys_by_name = {}
        self.count = 0
        self.stale = False
        self.shared_names = 0
        for key in hierarchy.get_all_keys(True):
            self.append(key)
        # The element count as the editor reports it, which may also count elements that the key
        # listing leaves out; reported additions and removals keep it in step.
        self.count = hierarchy.num()

    def append(self, key, name=None):
        keys = self.keys_by_name.setdefault(str(key.name) if name is None else name, [])
        keys.append((key, str(key.type).lower()))
        self.count += 1
        if len(keys) == 2:
            self.shared_names += 1

    def discard(self, key):
        name = str(key.name)
        keys = self.keys_by_name.get(name, [])
        for position, (known, _) in enumerate(keys):
            if known == key and str(known.name) == name:
                del keys[position]
                self.count -= 1
                if len(keys) == 1:
                    self.shared_names -= 1
                if not keys:
                    del self.keys_by_name[name]
                return True
        return False

    def first(self, name, element_type):
        for key, type_text in self.keys_by_name.get(name, ()):
            if element_type is None or element_type in type_text:
                return key
        return None


# The hierarchies' indices, by hierarchy (wrappers of one hierarchy compare and hash equal). Held for
# a few hierarchies at a time; each build starts by clearing them.
body_rig_key_indices = {}
BODY_RIG_KEY_INDEX_LIMIT = 4


def body_rig_clear_key_index():
    """Forgets every element index; the next lookup in each hierarchy reads it again."""
    body_rig_key_indices.clear()


def body_rig_key_index(hierarchy, refresh=False):
    """The element index of hierarchy, read from the hierarchy when there is none yet, when it is
    stale, or when refresh is asked for."""
    index = body_rig_key_indices.get(hierarchy)
    if refresh or index is None or index.stale:
        if index is None and len(body_rig_key_indices) >= BODY_RIG_KEY_INDEX_LIMIT:
            body_rig_key_indices.clear()
        index = BodyRigKeyIndex(hierarchy)
        body_rig_key_indices[hierarchy] = index
    return index


def body_rig_known_index(hierarchy):
    """The element index of hierarchy when one has been read; None otherwise."""
    return body_rig_key_indices.get(hierarchy)


def body_rig_is_empty_key(key):
    """Whether key names no element: the answer of a refused addition."""
    if key is None:
        return True
    name = str(key.name)
    return not name or name == "None"


def body_rig_index_added(hierarchy, key):
    """Records an element just added to hierarchy; returns key, so that an addition can be wrapped
    (key = body_rig_index_added(hierarchy, controller.add_null(...))). An empty key (a refused
    addition) is not recorded."""
    index = body_rig_known_index(hierarchy)
    if index is None or key is None:
        return key
    name = str(key.name)
    if not name or name == "None":
        return key
    index.append(key, name)
    if len(index.keys_by_name[name]) > 1:
        index.stale = True
    return key


def body_rig_index_removed(hierarchy, key):
    """Records an element just removed from hierarchy. Its children move, so the traversal order of
    shared names may change."""
    index = body_rig_known_index(hierarchy)
    if index is None:
        return
    if not index.discard(key) or index.shared_names:
        index.stale = True


def body_rig_index_renamed(hierarchy, old_key, new_key):
    """Records an element of hierarchy renamed from old_key to new_key."""
    index = body_rig_known_index(hierarchy)
    if index is None:
        return
    if not index.discard(old_key):
        index.stale = True
    body_rig_index_added(hierarchy, new_key)


def body_rig_index_reparented(hierarchy):
    """Records a change of parent in hierarchy: it moves elements in traversal order, which matters
    only while names are shared."""
    index = body_rig_known_index(hierarchy)
    if index is not None and index.shared_names:
        index.stale = True


def body_rig_find_key(hierarchy, name, element_type=None):
    """The first element key, in the hierarchy's traversal order, named exactly name and, when
    element_type ("bone", "control", "null") is given, whose type text (lower-cased) contains it.
    None for an empty name or when there is no such element."""
    if hierarchy is None or not name:
        return None
    name, element_type = str(name), (str(element_type).lower() if element_type else None)
    index = body_rig_key_index(hierarchy)
    if index.count != hierarchy.num():
        index = body_rig_key_index(hierarchy, refresh=True)
    key = index.first(name, element_type)
    if key is not None and not hierarchy.contains(key):
        key = body_rig_key_index(hierarchy, refresh=True).first(name, element_type)
    return key
BODY_RIG_KIND_DRIVING_SYSTEM = "DrivingSystem"
BODY_RIG_MAIN_NAME = "Main"


def body_rig_controls_by_name(controls):
    by_name = {}
    for control in controls:
        name = str(control.get("name") or "")
        if name:
            by_name.setdefault(name, control)
    return by_name
