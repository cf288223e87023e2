#!/usr/bin/python3
"""Writes a sample rigged biped the way the Maya-side exporter and an FBX import leave it: the
skeletal mesh and skeleton packages for the headless editor, <Name>_BodyRig.json and
<Name>_FaceRig.json, all in <output>/<Name>/.

The JSON files need only the Python standard library. The mesh is made by the headless editor
itself (the built `unreal` and `hosteditor` modules, found through PYTHONPATH or --python-dir), so
the committed packages are exactly what it saves and loads. See Samples/README.md.
"""

import argparse
import json
import os
import shutil
import sys
import tempfile

SAMPLES_DIR = os.path.dirname(os.path.abspath(__file__))
if SAMPLES_DIR not in sys.path:
    sys.path.insert(0, SAMPLES_DIR)

import sample_clips  # noqa: E402
import sample_manny  # noqa: E402
from sample_body import BodyRig  # noqa: E402
from sample_face import FaceRig  # noqa: E402
from sample_skeleton import Skeleton  # noqa: E402

DEFAULT_NAME = "SampleHero"
# The sub-folder of a character's folder that holds its FBX animation clips.
CLIPS_FOLDER = "Anims"
EXPORTER_VERSION = "1.4.2"
MESH_PREFIX = "SK_"
CONTENT_ROOT = "/Game"


class Parameters:
    """The generator's inputs; the defaults make the committed sample character."""

    def __init__(self, name=DEFAULT_NAME, spine_joints=3, fingers=5, tail_joints=5, extra_face_drivers=0,
                 import_scale=1.0, exporter_version=EXPORTER_VERSION, root_parts=0):
        if not name or not name.replace("_", "").isalnum():
            raise ValueError("a character name is letters, digits and underscores: %r" % name)
        if spine_joints < 1 or fingers < 0 or tail_joints < 0 or extra_face_drivers < 0 or root_parts < 0:
            raise ValueError("counts must not be negative and a spine needs at least one joint")
        if tail_joints == 1:
            raise ValueError("a tail needs at least two joints (or none)")
        if not import_scale > 0.0:
            raise ValueError("the import scale must be positive")
        self.name = name
        self.spine_joints = spine_joints
        self.fingers = fingers
        self.tail_joints = tail_joints
        self.extra_face_drivers = extra_face_drivers
        self.import_scale = float(import_scale)
        self.exporter_version = exporter_version
        # Inbetween joints between the root and the spine ("RootPart1_M", ...), which the committed
        # sample has none of; a character with them swings its hips through them.
        self.root_parts = root_parts

    @property
    def mesh_name(self):
        return MESH_PREFIX + self.name

    @property
    def mesh_package(self):
        return "%s/%s/%s" % (CONTENT_ROOT, self.name, self.mesh_name)


def body_json_name(params):
    return params.name + "_BodyRig.json"


def face_json_name(params):
    return params.name + "_FaceRig.json"


def json_text(document):
    """The files' fixed text form: two-space indent, keys in the order written, a final newline."""
    return json.dumps(document, indent=2, ensure_ascii=False, allow_nan=False) + "\n"


def build_documents(params):
    """(skeleton, Body rig JSON document, Face rig JSON document) for the parameters."""
    skeleton = Skeleton(params)
    return skeleton, BodyRig(params, skeleton).build(), FaceRig(params, skeleton).build()


def mesh_bones(skeleton, unreal):
    """The skeleton as hosteditor.create_skeletal_mesh takes it: (name, parent, local transform)."""
    bones = []
    for joint in skeleton.joints:
        transform = unreal.Transform()
        transform.translation = unreal.Vector(*joint.local_translation)
        x, y, z, w = joint.local_rotation
        transform.rotation = unreal.Quat(x=x, y=y, z=z, w=w)
        bones.append((joint.name, joint.parent, transform))
    return bones


def create_mesh(params, skeleton):
    """Creates the character's skeletal mesh in the running headless editor; returns the mesh."""
    import hosteditor
    import unreal
    origin, extent, radius = skeleton.bounds()
    bounds = unreal.BoxSphereBounds(origin=unreal.Vector(*origin), box_extent=unreal.Vector(*extent), sphere_radius=radius)
    return hosteditor.create_skeletal_mesh(params.mesh_package, mesh_bones(skeleton, unreal), params.import_scale, bounds)


def write_json(params, body, face, folder):
    """Writes the two JSON files into folder; returns the Body rig JSON's path."""
    for name, document in ((body_json_name(params), body), (face_json_name(params), face)):
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as handle:
            handle.write(json_text(document))
    return os.path.join(folder, body_json_name(params))


def sized_parameters(factor, name=None):
    """Parameters of a character with factor times the default character's body controls, in the
    default's proportions: factor times the fingers (each adds three FK controls on each hand with
    their driving-system relationships), and the other controls added as spine and tail joints (one
    FK control each), so every builder's share of the rig stays what it is in the default."""
    default = Parameters()
    base = len(build_documents(default)[1]["rig"]["controls"])
    rest = (factor - 1) * (base - 6 * default.fingers)
    return Parameters(name=name or "%sX%d" % (DEFAULT_NAME, factor), fingers=default.fingers * factor,
                      tail_joints=default.tail_joints + (rest + 1) // 2, spine_joints=default.spine_joints + rest // 2)


def create_in_editor(params, json_folder):
    """The character inside the running headless editor, as an FBX import and the exporter leave it:
    its mesh created in the project and its JSON files written into json_folder/<Name>/. Returns
    (mesh, Body rig JSON path, number of body controls)."""
    folder = os.path.join(json_folder, params.name)
    os.makedirs(folder, exist_ok=True)
    skeleton, body, face = build_documents(params)
    body_path = write_json(params, body, face, folder)
    return create_mesh(params, skeleton), body_path, len(body["rig"]["controls"])


def write_mesh(params, skeleton, folder):
    """Creates the skeletal mesh in a scratch project of the headless editor and copies the saved
    mesh and skeleton packages into folder. Returns the copied file names."""
    import hosteditor
    project = tempfile.mkdtemp(prefix="vn_sample_")
    try:
        hosteditor.start(project, plugin_dirs=[])
        create_mesh(params, skeleton)
        saved = os.path.join(project, "Content", params.name)
        names = []
        for name in sorted(os.listdir(saved)):
            shutil.copyfile(os.path.join(saved, name), os.path.join(folder, name))
            names.append(name)
        return names
    finally:
        shutil.rmtree(project, ignore_errors=True)


def generate(params, output_dir, with_mesh=True):
    """Writes the character into output_dir/<Name>/ and returns that folder."""
    folder = os.path.join(output_dir, params.name)
    os.makedirs(folder, exist_ok=True)
    skeleton, body, face = build_documents(params)
    write_json(params, body, face, folder)
    if with_mesh:
        write_mesh(params, skeleton, folder)
        sample_clips.write_clips(params.name, skeleton, os.path.join(folder, CLIPS_FOLDER))
    return folder


def mannequin_mesh_package():
    return "%s/%s/%s%s" % (CONTENT_ROOT, sample_manny.NAME, MESH_PREFIX, sample_manny.NAME)


def create_mannequin_mesh():
    """Creates the mannequin sample's skeletal mesh in the running headless editor; returns the mesh."""
    import hosteditor
    import unreal
    bones = []
    for name, parent, translation, (x, y, z, w) in sample_manny.mesh_skeleton():
        transform = unreal.Transform()
        transform.translation = unreal.Vector(*translation)
        transform.rotation = unreal.Quat(x=x, y=y, z=z, w=w)
        bones.append((name, parent, transform))
    origin, extent, radius = sample_manny.mesh_bounds()
    bounds = unreal.BoxSphereBounds(origin=unreal.Vector(*origin), box_extent=unreal.Vector(*extent), sphere_radius=radius)
    return hosteditor.create_skeletal_mesh(mannequin_mesh_package(), bones, 1.0, bounds)


def generate_mannequin(output_dir, with_mesh=True):
    """Writes the mannequin sample (sample_manny) into output_dir/SampleManny/: its Body rig JSON and,
    with_mesh, its mesh and skeleton packages. Returns that folder."""
    import hosteditor
    folder = os.path.join(output_dir, sample_manny.NAME)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, sample_manny.NAME + "_BodyRig.json"), "w", encoding="utf-8", newline="\n") as handle:
        handle.write(json_text(sample_manny.body_document()))
    if not with_mesh:
        return folder
    project = tempfile.mkdtemp(prefix="vn_sample_")
    try:
        hosteditor.start(project, plugin_dirs=[])
        create_mannequin_mesh()
        saved = os.path.join(project, "Content", sample_manny.NAME)
        for name in sorted(os.listdir(saved)):
            shutil.copyfile(os.path.join(saved, name), os.path.join(folder, name))
        return folder
    finally:
        shutil.rmtree(project, ignore_errors=True)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--name", default=DEFAULT_NAME, help="character name (default %(default)s)")
    parser.add_argument("--output", default=SAMPLES_DIR, help="folder that receives <name>/ (default: Samples/)")
    parser.add_argument("--spine-joints", type=int, default=3, help="spine joints between root and chest (default %(default)s)")
    parser.add_argument("--fingers", type=int, default=5, help="fingers per hand (default %(default)s)")
    parser.add_argument("--tail-joints", type=int, default=5, help="tail joints, 0 for none (default %(default)s)")
    parser.add_argument("--extra-face-drivers", type=int, default=0, help="additional face slider drivers (default %(default)s)")
    parser.add_argument("--import-scale", type=float, default=1.0, help="the mesh's import uniform scale (default %(default)s)")
    parser.add_argument("--root-parts", type=int, default=0, help="inbetween joints between root and spine (default %(default)s)")
    parser.add_argument("--json-only", action="store_true", help="write only the two JSON files")
    parser.add_argument("--mannequin", action="store_true",
                        help="write the mannequin sample (SampleManny) instead; size options do not apply")
    parser.add_argument("--python-dir", help="folder of the built unreal module (default: build/python)")
    return parser.parse_args(argv)


def main(argv=None):
    arguments = parse_arguments(sys.argv[1:] if argv is None else argv)
    try:
        params = Parameters(arguments.name, arguments.spine_joints, arguments.fingers, arguments.tail_joints,
                            arguments.extra_face_drivers, arguments.import_scale, root_parts=arguments.root_parts)
    except ValueError as error:
        print("generate_sample: %s" % error, file=sys.stderr)
        return 2
    if not arguments.json_only:
        python_dir = arguments.python_dir or os.path.join(os.path.dirname(SAMPLES_DIR), "build", "python")
        sys.path.insert(0, python_dir)
        try:
            import hosteditor  # noqa: F401
        except ImportError as error:
            print("generate_sample: the headless editor's Python is not built (%s); build first or pass --json-only" % error,
                  file=sys.stderr)
            return 1
    if arguments.mannequin:
        folder = generate_mannequin(arguments.output, with_mesh=not arguments.json_only)
    else:
        folder = generate(params, arguments.output, with_mesh=not arguments.json_only)
    print("Wrote %s" % folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
