"""The elements of one rig hierarchy as the builders edit them: the hierarchy, its controller, and an
index of the elements by name that every structural edit made through this object keeps current.

Every call into the editor costs, and the builders look elements up by name thousands of times while
they add elements. The index lists, per name, the keys of that name in the hierarchy's traversal order,
read once with one get_all_keys call. A lookup then costs one call (the element count) plus one more on
a hit (whether the key still exists):

- additions, removals, renames and re-parentings made through RigElements keep the index valid without
  reading the hierarchy again;
- a change of the element count made around this object (an edit made on the controller directly)
  makes the next lookup read the hierarchy again, and so does a hit whose element is gone (a rename
  made around it); a rename to a name, or a re-parenting, made around it is not seen;
- only names that several elements share depend on traversal order; while there are such names, an
  edit that can move elements in that order (an addition to a shared name, a removal, a re-parenting)
  makes the next lookup read the hierarchy again.
"""


def is_empty_key(key):
    """Whether key names no element: the answer of a refused addition."""
    if key is None:
        return True
    name = str(key.name)
    return not name or name == "None"


class ElementIndex:
    """The keys of one hierarchy by name, each name's keys in traversal order."""

    def __init__(self, hierarchy):
        self.keys_by_name = {}
        self.count = 0
        self.stale = False
        self.shared_names = 0
        for key in hierarchy.get_all_keys(True):
            self.append(key)
        # The element count as the editor reports it, which may also count elements that the key
        # listing leaves out; recorded additions and removals keep it in step.
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


class RigElements:
    """A rig hierarchy and its controller. The structural edits (add_null, add_control,
    add_animation_channel, remove_element, rename_element, set_parent) take the controller's arguments
    and give its answers, and record what they did in the element index that find answers from."""

    def __init__(self, hierarchy, controller):
        self.hierarchy = hierarchy
        self.controller = controller
        self._index = None

    # ---- lookup ----------------------------------------------------------------------------------------

    def find(self, name, element_type=None):
        """The first element key, in the hierarchy's traversal order, named exactly name and, when
        element_type ("bone", "control", "null") is given, whose type text (lower-cased) contains it.
        None for an empty name or when there is no such element."""
        if not name:
            return None
        name, element_type = str(name), (str(element_type).lower() if element_type else None)
        index = self._current_index()
        if index.count != self.hierarchy.num():
            index = self._read_index()
        key = index.first(name, element_type)
        if key is not None and not self.hierarchy.contains(key):
            key = self._read_index().first(name, element_type)
        return key

    def forget(self):
        """Drops the element index; the next lookup reads the hierarchy again."""
        self._index = None

    # ---- structural edits ------------------------------------------------------------------------------

    def add_null(self, *args, **kwargs):
        return self._added(self.controller.add_null(*args, **kwargs))

    def add_control(self, *args, **kwargs):
        return self._added(self.controller.add_control(*args, **kwargs))

    def add_animation_channel(self, *args, **kwargs):
        return self._added(self.controller.add_animation_channel(*args, **kwargs))

    def remove_element(self, key, *args, **kwargs):
        removed = self.controller.remove_element(key, *args, **kwargs)
        if removed and self._index is not None:
            # Its children move, so the traversal order of shared names may change.
            if not self._index.discard(key) or self._index.shared_names:
                self._index.stale = True
        return removed

    def rename_element(self, key, *args, **kwargs):
        renamed = self.controller.rename_element(key, *args, **kwargs)
        if self._index is not None and not is_empty_key(renamed):
            if not self._index.discard(key):
                self._index.stale = True
            self._added(renamed)
        return renamed

    def set_parent(self, *args, **kwargs):
        parented = self.controller.set_parent(*args, **kwargs)
        if parented and self._index is not None and self._index.shared_names:
            self._index.stale = True
        return parented

    # ---- the index -------------------------------------------------------------------------------------

    def _current_index(self):
        if self._index is None or self._index.stale:
            return self._read_index()
        return self._index

    def _read_index(self):
        self._index = ElementIndex(self.hierarchy)
        return self._index

    def _added(self, key):
        if self._index is None or key is None:
            return key
        name = str(key.name)
        if not name or name == "None":
            return key
        self._index.append(key, name)
        if len(self._index.keys_by_name[name]) > 1:
            self._index.stale = True
        return key
