"""The rig picture: bones as lines to their parents, controls as coloured dots and their shapes as
coloured lines, in front and side views that share one scale, a row per pose."""

import os
import sys
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "scripts"))

import rig_picture  # noqa: E402

SVG = "{http://www.w3.org/2000/svg}"


def panels(text):
    root = ElementTree.fromstring(text)
    return {(group.get("data-pose"), group.get("data-view")): group for group in root.iter(SVG + "g")}


def line_of(group, bone):
    line = next(line for line in group.iter(SVG + "line") if line.get("data-bone") == bone)
    return tuple(float(line.get(key)) for key in ("x1", "y1", "x2", "y2"))


def test_bones_and_controls_are_drawn_in_both_views_of_every_pose():
    rest = rig_picture.RigPose(
        bones=[("Root_M", (0.0, 0.0, 100.0), None), ("Spine_M", (0.0, 0.0, 150.0), (0.0, 0.0, 100.0)),
               ("Arm_R", (-40.0, 0.0, 150.0), (0.0, 0.0, 150.0))],
        controls=[("FKArm_R", (-40.0, 0.0, 150.0), (1.0, 0.0, 0.0)), ("Main", (0.0, 0.0, 0.0), (1.2, 0.5, -1.0))])
    posed = rig_picture.RigPose(bones=[rest.bones[0], rest.bones[1], ("Arm_R", (0.0, 0.0, 110.0), (0.0, 0.0, 150.0))],
                                controls=rest.controls)
    found = panels(rig_picture.rig_picture_svg([("at rest", rest), ("posed", posed)], "Sample & co"))
    assert sorted(found) == [("at rest", "front"), ("at rest", "side"), ("posed", "front"), ("posed", "side")]
    for group in found.values():
        # A line per bone with a parent; the root has none.
        assert [line.get("data-bone") for line in group.iter(SVG + "line")] == ["Spine_M", "Arm_R"]
        assert [(c.get("data-control"), c.get("fill")) for c in group.iter(SVG + "circle")] == \
            [("FKArm_R", "#ff0000"), ("Main", "#ff8000")]

    # Front view: X to the right, Z up (smaller y is higher); the spine is vertical and 50 cm long.
    x1, y1, x2, y2 = line_of(found[("at rest", "front")], "Spine_M")
    assert x1 == x2 and y2 < y1
    spine_pixels = y1 - y2
    ax1, ay1, ax2, ay2 = line_of(found[("at rest", "front")], "Arm_R")
    assert ay1 == ay2 and ax2 < ax1 and abs((ax1 - ax2) - spine_pixels * 40.0 / 50.0) < 0.02
    # Side view: the arm, which lies along X, is seen end on.
    sx1, sy1, sx2, sy2 = line_of(found[("at rest", "side")], "Arm_R")
    assert (sx1, sy1) == (sx2, sy2)
    # Posed: the arm hangs down 40 cm at the same scale, which the side view shows too.
    px1, py1, px2, py2 = line_of(found[("posed", "front")], "Arm_R")
    assert px1 == px2 and abs((py2 - py1) - spine_pixels * 40.0 / 50.0) < 0.02
    qx1, qy1, qx2, qy2 = line_of(found[("posed", "front")], "Spine_M")
    assert (qx1, qx2) == (x1, x2) and abs((qy1 - qy2) - spine_pixels) < 0.02 and abs(py1 - qy2) < 0.02


def test_the_picture_is_written_and_an_empty_rig_still_makes_a_picture(tmp_path):
    path = rig_picture.write_rig_picture(str(tmp_path / "rig.svg"), [("at rest", rig_picture.RigPose())], "<empty>")
    root = ElementTree.parse(path).getroot()
    assert root.tag == SVG + "svg"
    assert "<empty>" in "".join(root.itertext())


def test_a_shape_is_drawn_where_its_points_are_at_the_scale_of_the_bones():
    square = [[(-10.0, 0.0, 140.0), (10.0, 0.0, 140.0), (10.0, 0.0, 160.0), (-10.0, 0.0, 160.0), (-10.0, 0.0, 140.0)],
              [(0.0, 0.0, 150.0)]]
    pose = rig_picture.RigPose(bones=[("Root_M", (0.0, 0.0, 100.0), None), ("Spine_M", (0.0, 0.0, 150.0), (0.0, 0.0, 100.0))],
                               shapes=[("FKSpine_M", square, (0.0, 1.0, 0.0))])
    group = panels(rig_picture.rig_picture_svg([("at rest", pose)]))[("at rest", "front")]
    # One line per polyline of two or more points, in the control's colour.
    [shape] = [line for line in group.iter(SVG + "polyline") if line.get("data-shape") == "FKSpine_M"]
    assert shape.get("stroke") == "#00ff00"
    corners = [tuple(float(v) for v in pair.split(",")) for pair in shape.get("points").split()]
    assert len(corners) == 5 and corners[0] == corners[-1]
    x1, y1, x2, y2 = line_of(group, "Spine_M")
    # 20 cm wide and high, as the 50 cm spine is long, centred on the spine's end.
    pixels_per_cm = (y1 - y2) / 50.0
    assert abs((corners[1][0] - corners[0][0]) - 20.0 * pixels_per_cm) < 0.02
    assert abs((corners[1][1] - corners[2][1]) - 20.0 * pixels_per_cm) < 0.02
    assert abs((corners[0][0] + corners[1][0]) / 2.0 - x2) < 0.02
    assert abs((corners[1][1] + corners[2][1]) / 2.0 - y2) < 0.02
