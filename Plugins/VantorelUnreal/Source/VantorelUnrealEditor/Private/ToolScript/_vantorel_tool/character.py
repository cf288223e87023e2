"""The target mesh on the project's template character blueprint (third person, first person or top
down): every skeletal mesh component the blueprint's character has shows the mesh."""

import unreal

from _vantorel_tool.assets import target_or_selected_skeletal_mesh
from _vantorel_tool.names import error_text

CHARACTER_BLUEPRINT_NAMES = ("BP_ThirdPersonCharacter", "BP_FirstPersonCharacter", "BP_TopDownCharacter")
CONTENT_ROOT = "/Game"
BLUEPRINT_CLASS_NAME = "Blueprint"
MESH_PROPERTY_NAMES = ("mesh", "character_mesh0", "first_person_mesh", "mesh1p")
SKELETAL_MESH_PROPERTY_NAMES = ("skeletal_mesh", "skeletal_mesh_asset")
COMPONENT_CLASS_WORD = "SkeletalMeshComponent"

NO_MESH_MESSAGE = "Choose a SkeletalMesh in Mannequin Exported, or select one in the Content Browser, first."
MULTIPLE_FOUND_TEXT = "Found multiple assets named"
NOT_FOUND_MESSAGE = "Could not find BP_ThirdPersonCharacter, BP_FirstPersonCharacter, or BP_TopDownCharacter in /Game."
NO_CLASS_PREFIX = "Could not read generated class for "
NO_COMPONENT_TEXT = "Could not find a SkeletalMeshComponent on %s."
NOT_SET_TEXT = "Found SkeletalMeshComponent on %s, but could not set its SkeletalMesh."
SET_TEXT = " Character SkeletalMesh set on "


def find_character_blueprint():
    """The first template character blueprint under /Game, by name in the order of
    CHARACTER_BLUEPRINT_NAMES, as (name, blueprint)."""
    paths = unreal.EditorAssetLibrary.list_assets(CONTENT_ROOT, True, False)
    for name in CHARACTER_BLUEPRINT_NAMES:
        found = []
        for path in paths:
            if path.rsplit("/", 1)[-1].split(".", 1)[0] != name:
                continue
            asset = unreal.EditorAssetLibrary.load_asset(path)
            if asset is not None and asset.get_class().get_name() == BLUEPRINT_CLASS_NAME:
                found.append((path, asset))
        if len(found) > 1:
            print(MULTIPLE_FOUND_TEXT, name, [path for path, _ in found])
        if found:
            return name, found[0][1]
    raise RuntimeError(NOT_FOUND_MESSAGE)


def _is_skeletal_mesh_component(candidate):
    return isinstance(candidate, unreal.Object) and COMPONENT_CLASS_WORD in candidate.get_class().get_name()


def _property_or_none(owner, name):
    try:
        return owner.get_editor_property(name)
    except Exception:
        return None


def skeletal_mesh_components(blueprint, default_object):
    """Each skeletal mesh component of the character once: its mesh accessor, its mesh properties,
    its components of that class and the construction script's component templates."""
    candidates = []
    accessor = getattr(default_object, "get_mesh", None)
    if callable(accessor):
        try:
            candidates.append(accessor())
        except Exception:
            pass
    for name in MESH_PROPERTY_NAMES:
        for spelling in (name, name[:1].upper() + name[1:]):
            candidates.append(_property_or_none(default_object, spelling))
    by_class = getattr(default_object, "get_components_by_class", None)
    if callable(by_class):
        try:
            candidates.extend(by_class(unreal.SkeletalMeshComponent))
        except Exception:
            pass
    script = _property_or_none(blueprint, "simple_construction_script")
    if script is not None:
        try:
            candidates.extend(node.get_editor_property("component_template") for node in script.get_all_nodes())
        except Exception:
            pass
    components = []
    for candidate in candidates:
        if _is_skeletal_mesh_component(candidate) and all(candidate != kept for kept in components):
            components.append(candidate)
    return components


def set_component_mesh(component, mesh):
    """Sets the component's skeletal mesh through its property, else its setter. True when set."""
    component.modify()
    for name in SKELETAL_MESH_PROPERTY_NAMES:
        try:
            component.set_editor_property(name, mesh)
            return True
        except Exception:
            continue
    setter = getattr(component, "set_skeletal_mesh_asset", None)
    if callable(setter):
        try:
            setter(mesh)
            return True
        except Exception:
            pass
    return False


def set_character_mesh():
    """Puts the target mesh (else the one selected in the Content Browser) on every skeletal mesh
    component of the project's template character blueprint, compiles and saves it. Returns the
    names of the components set."""
    mesh = target_or_selected_skeletal_mesh(NO_MESH_MESSAGE)
    name, blueprint = find_character_blueprint()
    try:
        generated = unreal.BlueprintEditorLibrary.generated_class(blueprint)
        if generated is None:
            raise RuntimeError("the blueprint has no generated class")
        default_object = unreal.get_default_object(generated)
    except Exception as error:
        raise RuntimeError(NO_CLASS_PREFIX + name + ": " + error_text(error)) from error
    components = skeletal_mesh_components(blueprint, default_object)
    if not components:
        raise RuntimeError(NO_COMPONENT_TEXT % name)
    set_names = [component.get_name() for component in components if set_component_mesh(component, mesh)]
    if not set_names:
        raise RuntimeError(NOT_SET_TEXT % name)
    unreal.BlueprintEditorLibrary.compile_blueprint(blueprint)
    try:
        unreal.BlueprintEditorLibrary.refresh_open_editors_for_blueprint(blueprint)
    except Exception:
        pass
    unreal.EditorAssetLibrary.save_loaded_asset(blueprint, False)
    print(name + SET_TEXT + ", ".join(set_names) + ":", mesh.get_path_name())
    return set_names
