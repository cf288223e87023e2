"""A picture of a rig as an SVG file: its bones as lines from each bone to its parent, its controls as
dots in their shape colours and, for controls drawn with a shape of the rig's own, that shape's lines where
the control puts it, seen from the front and from the side, one row per pose (at rest, posed).

Positions are in Unreal's axes (centimetres, Z up). The characters face +Y, so the front view looks
along Y (X to the right, Z up) and the side view along X (Y to the right, Z up). Every panel uses the
same scale, so that a pose that moves a bone shows it moved.

    write_rig_picture(path, [("at rest", rest), ("posed", posed)], title)

where each pose is a RigPose of bones (name, position, parent position or None), controls (name,
position, (r, g, b) in 0..1) and shapes (control name, polylines of world positions, (r, g, b))."""

from dataclasses import dataclass, field
from typing import List, Optional, Sequence, Tuple
from xml.sax.saxutils import escape

Vector = Tuple[float, float, float]

PANEL_SIZE = 360.0
MARGIN = 24.0
TITLE_HEIGHT = 28.0
LABEL_HEIGHT = 18.0
BONE_COLOUR = "#404040"
BACKGROUND = "#fafafa"
# (label, horizontal axis, vertical axis) of each view.
VIEWS = (("front", 0, 2), ("side", 1, 2))


@dataclass
class RigPose:
    bones: List[Tuple[str, Vector, Optional[Vector]]] = field(default_factory=list)
    controls: List[Tuple[str, Vector, Tuple[float, float, float]]] = field(default_factory=list)
    shapes: List[Tuple[str, List[List[Vector]], Tuple[float, float, float]]] = field(default_factory=list)


def colour_text(rgb):
    """#rrggbb of an (r, g, b) colour in 0..1, each part clamped."""
    return "#" + "".join("%02x" % int(round(max(0.0, min(1.0, float(part))) * 255)) for part in rgb)


def pose_points(pose):
    for _name, position, parent in pose.bones:
        yield position
        if parent is not None:
            yield parent
    for _name, position, _colour in pose.controls:
        yield position
    for _name, polylines, _colour in pose.shapes:
        for polyline in polylines:
            yield from polyline


def view_box(poses, horizontal, vertical):
    """(min h, min v, span) over every point of every pose in one view: the square all its panels show."""
    points = [point for _label, pose in poses for point in pose_points(pose)]
    if not points:
        return 0.0, 0.0, 1.0
    low_h, high_h = min(p[horizontal] for p in points), max(p[horizontal] for p in points)
    low_v, high_v = min(p[vertical] for p in points), max(p[vertical] for p in points)
    span = max(high_h - low_h, high_v - low_v, 1e-6) * 1.1
    return (low_h + high_h - span) / 2.0, (low_v + high_v - span) / 2.0, span


def rig_picture_svg(poses: Sequence[Tuple[str, RigPose]], title=""):
    """The SVG text of the picture of poses, a row per (label, pose)."""
    width = MARGIN + len(VIEWS) * (PANEL_SIZE + MARGIN)
    height = TITLE_HEIGHT + len(poses) * (PANEL_SIZE + LABEL_HEIGHT + MARGIN) + MARGIN
    boxes = [view_box(poses, horizontal, vertical) for _label, horizontal, vertical in VIEWS]
    dot = max(2.0, PANEL_SIZE / 150.0)
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (width, height, width, height),
             '<rect width="100%%" height="100%%" fill="%s"/>' % BACKGROUND,
             '<text x="%g" y="%g" font-family="sans-serif" font-size="16">%s</text>' % (MARGIN, TITLE_HEIGHT - 8, escape(title))]
    for row, (pose_label, pose) in enumerate(poses):
        top = TITLE_HEIGHT + row * (PANEL_SIZE + LABEL_HEIGHT + MARGIN)
        for column, ((view_label, horizontal, vertical), (low_h, low_v, span)) in enumerate(zip(VIEWS, boxes)):
            left = MARGIN + column * (PANEL_SIZE + MARGIN)
            panel_top = top + LABEL_HEIGHT
            scale = PANEL_SIZE / span

            def to_panel(point):
                return (left + (point[horizontal] - low_h) * scale, panel_top + PANEL_SIZE - (point[vertical] - low_v) * scale)

            parts.append('<g class="panel" data-pose="%s" data-view="%s">' % (escape(pose_label), view_label))
            parts.append('<text x="%g" y="%g" font-family="sans-serif" font-size="12">%s, %s</text>'
                         % (left, top + LABEL_HEIGHT - 5, escape(pose_label), view_label))
            parts.append('<rect x="%g" y="%g" width="%g" height="%g" fill="white" stroke="#cccccc"/>'
                         % (left, panel_top, PANEL_SIZE, PANEL_SIZE))
            for name, position, parent in pose.bones:
                if parent is None:
                    continue
                (x1, y1), (x2, y2) = to_panel(parent), to_panel(position)
                parts.append('<line x1="%.2f" y1="%.2f" x2="%.2f" y2="%.2f" stroke="%s" stroke-width="1.5" data-bone="%s"/>'
                             % (x1, y1, x2, y2, BONE_COLOUR, escape(name)))
            for name, polylines, colour in pose.shapes:
                for polyline in polylines:
                    if len(polyline) < 2:
                        continue
                    points = " ".join("%.2f,%.2f" % to_panel(point) for point in polyline)
                    parts.append('<polyline points="%s" fill="none" stroke="%s" stroke-width="1" data-shape="%s"/>'
                                 % (points, colour_text(colour), escape(name)))
            for name, position, colour in pose.controls:
                x, y = to_panel(position)
                parts.append('<circle cx="%.2f" cy="%.2f" r="%.1f" fill="%s" fill-opacity="0.8" data-control="%s"/>'
                             % (x, y, dot, colour_text(colour), escape(name)))
            parts.append('</g>')
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


def write_rig_picture(path, poses, title=""):
    """Writes the picture of poses to path; returns path."""
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(rig_picture_svg(poses, title))
    return path
