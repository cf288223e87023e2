"""The stand-in's mannequin template content: the committed packages are what the generator writes
today, they load in a project as the engine's template content does (shared skeleton under both
comparison meshes), and the body Control Rig's forward solve carries each FK control onto its bone."""

import os
import shutil
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL_DIR = os.path.join(ROOT, "HostEditor", "Tools", "TemplateContent")
sys.path.insert(0, TOOL_DIR)

import make_template_content  # noqa: E402

TEMPLATES_DIR = os.path.join(ROOT, "HostEditor", "Templates")
CONTENT_DIR = os.path.join(ROOT, "HostEditor", make_template_content.TEMPLATE_CONTENT_DIR)
PACKAGES = sorted(os.path.join(*path.split("/")) for path in (
    "TemplateResources/High/Characters/Content/Mannequins/Anims/Unarmed/ABP_Unarmed.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Anims/Unarmed/BS_Idle_Walk_Run.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Anims/Unarmed/MM_Idle.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Anims/Unarmed/MM_Run_Fwd.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Anims/Unarmed/MM_Walk_Fwd.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Meshes/SKM_Manny_Simple.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Meshes/SKM_Quinn_Simple.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Meshes/SK_Mannequin.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Rigs/CR_Mannequin_Body.uasset",
    "TemplateResources/High/Characters/Content/Mannequins/Rigs/PA_Mannequin.uasset",
    "TP_ThirdPersonBP/Content/ThirdPerson/Blueprints/BP_ThirdPersonCharacter.uasset",
    "TP_ThirdPersonBP/Content/ThirdPerson/Blueprints/BP_ThirdPersonGameMode.uasset",
    "TP_ThirdPersonBP/Content/ThirdPerson/Blueprints/BP_ThirdPersonPlayerController.uasset"))


def package_files(folder):
    return sorted(os.path.relpath(os.path.join(base, name), folder) for base, _dirs, names in os.walk(folder) for name in names)


def test_the_committed_template_content_is_what_the_generator_writes(unreal, tmp_path):
    fresh_dir = make_template_content.make_content(str(tmp_path))
    assert package_files(fresh_dir) == PACKAGES
    assert package_files(TEMPLATES_DIR) == PACKAGES
    for name in PACKAGES:
        with open(os.path.join(fresh_dir, name), "rb") as fresh, open(os.path.join(TEMPLATES_DIR, name), "rb") as committed:
            assert fresh.read() == committed.read(), "%s is stale: run %s" % (name, "make_template_content.py")


@pytest.fixture
def template_project(editor, unreal):
    content = os.path.join(unreal.Paths.project_content_dir(), "Characters", "Mannequins")
    shutil.copytree(CONTENT_DIR, content)
    unreal.load_module("ControlRigDeveloper")
    return editor


def test_both_comparison_meshes_share_the_mannequin_skeleton(template_project, unreal):
    skeleton = unreal.load_asset("/Game/Characters/Mannequins/Meshes/SK_Mannequin")
    for name in ("SKM_Manny_Simple", "SKM_Quinn_Simple"):
        mesh = unreal.load_asset("/Game/Characters/Mannequins/Meshes/" + name)
        assert mesh.get_editor_property("skeleton") == skeleton
    assert isinstance(unreal.load_asset("/Game/Characters/Mannequins/Rigs/PA_Mannequin"), unreal.PhysicsAsset)


def test_the_body_rig_rests_on_the_mesh_and_an_fk_turn_carries_the_limb(template_project, unreal):
    rig = template_project.RigEvaluation(unreal.load_asset("/Game/Characters/Mannequins/Rigs/CR_Mannequin_Body"))
    rig.run_forwards_solve(1)
    assert rig.report()["errors"] == []
    hand = rig.global_transform("hand_l").translation
    assert (hand.x, hand.y, hand.z) == pytest.approx((71.0, 0.0, 142.0), abs=1e-4)
    # A quarter turn about Z at the upper arm (17, 0, 142) swings the hand, 54 cm out along X, to +Y.
    rig.set_control_value("upperarm_l_fk_ctrl", unreal.EulerTransform(rotation=unreal.Rotator(yaw=90.0)))
    rig.run_forwards_solve(1)
    hand = rig.global_transform("hand_l").translation
    assert (hand.x, hand.y, hand.z) == pytest.approx((17.0, 54.0, 142.0), abs=1e-3)
    foot = rig.global_transform("foot_l").translation
    assert (foot.x, foot.y, foot.z) == pytest.approx((9.0, -1.5, 7.0), abs=1e-4)


def test_the_mannequin_legs_measure_the_engine_mannequins_length():
    import math
    import mannequin_proportions
    positions = {name: position for name, _parent, position in mannequin_proportions.mannequin_bones()}
    for side in "lr":
        thigh, calf, foot = (positions["%s_%s" % (stem, side)] for stem in ("thigh", "calf", "foot"))
        assert math.dist(thigh, calf) + math.dist(calf, foot) == pytest.approx(85.55921, abs=1e-4)
