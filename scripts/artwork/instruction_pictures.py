"""The instruction pictures: what the operator is shown while probing a feature, 225 x 150 pixels each, one
set per kind of feature. In a set, picture 1 shows the probe touching the numbered points with an arrow to
the sample (green) button, picture 2 the probe lifted off with an arrow to the stop (red) button, and
picture 3, where there is one, the probe on one of several features of that kind (a feature already made
can be picked) or, for the sides and corners of a slot, the whole slot with every point, without arrows.
The feature picker's two pictures show the probe moved into a feature's box, which lights it up, and then
the sample button pressed to pick it.

Drawings are in pixels (x to the right, y down) of a view from the front and above: a face seen at a slant
is foreshortened in depth, so a circle on it shows as an ellipse RISE times as high as it is wide."""

import math
import os
import re

from artwork.canvas import Canvas
from artwork.parts import (BLUE, GREEN, INK, LIGHT, ORANGE, PALE_BLUE, RED, STEEL, WHITE, arrow,
                           glyph_strokes, shaded_sphere)
from artwork.png import quantise
from artwork.shapes import Ellipse, Minus, Polygon, Rect, Shifted

WIDTH, HEIGHT = 225, 150
RISE = 0.4  # how much of a depth shows on screen

FACE = LIGHT
SIDE = (172, 183, 199)
EDGE = STEEL
WALL = (146, 158, 177)
FLOOR = (104, 116, 136)
PALE_ORANGE = (250, 221, 183)
BALL = 5.5  # the probe ball's radius


# ---------------------------------------------------------------------------------------------- marks

def text(c, s, cx, cy, h=8.0):
    """Digits, a small n and dots, centred on (cx, cy), h pixels high, on a white halo."""
    w, gap = h * 0.55, h * 0.35
    left = cx - (len(s) * w + (len(s) - 1) * gap) / 2
    top = cy - h / 2
    for colour, width in ((WHITE, 3.8), (INK, 1.5)):
        x = left
        for ch in s:
            if ch == ".":
                c.circle(x + w / 2, top + h - 1, width / 2 + 0.4, colour)
            else:
                for points in glyph_strokes(ch, x, top, x + w, top + h):
                    c.polyline(points, width, colour)
            x += w + gap


def point(c, x, y, label=None, dx=0.0, dy=-10.0):
    """A probed point, with its number (or "n") beside it, offset by (dx, dy)."""
    c.circle(x, y, 3.6, INK)
    c.circle(x, y, 2.6, ORANGE)
    if label:
        text(c, label, x + dx, y + dy)


def outline(c, points, colour=EDGE, w=1.4):
    c.polyline(points + points[:1], w, colour)


def dashed(c, points, colour, w=1.4, dash=5.0):
    """A closed outline drawn in dashes."""
    for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
        length = math.hypot(xb - xa, yb - ya)
        steps = max(1, int(length / (2 * dash)))
        for k in range(steps):
            f0, f1 = k / steps, (k + 0.5) / steps
            c.line(xa + (xb - xa) * f0, ya + (yb - ya) * f0, xa + (xb - xa) * f1, ya + (yb - ya) * f1, w,
                   colour)


def ellipse_points(cx, cy, rx, ry, a0=0.0, a1=360.0, n=48):
    """Points along an ellipse from angle a0 to a1 (degrees, counter-clockwise on screen)."""
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * k / n)),
             cy - ry * math.sin(math.radians(a0 + (a1 - a0) * k / n))) for k in range(n + 1)]


def on_ellipse(cx, cy, rx, ry, angle, below=0.0):
    """The point of an ellipse at angle (degrees), moved down by below pixels."""
    t = math.radians(angle)
    return cx + rx * math.cos(t), cy - ry * math.sin(t) + below


# ---------------------------------------------------------------------------------------------- the probe

def probe(c, ball, tilt=25.0, button=None):
    """The hand probe: its ball centred at ball, the stylus and handle rising to the right, tilt degrees from
    upright (leaning left when negative). With button "sample" or "stop", an arrow in the button's colour
    points at it as pressed."""
    t = math.radians(tilt)
    ux, uy = math.sin(t), -math.cos(t)  # along the probe, away from the ball

    def at(d):
        return ball[0] + ux * d, ball[1] + uy * d

    c.line(*at(0), *at(30), 3.0, INK)
    c.line(*at(30), *at(260), 19.0, STEEL)
    c.line(*at(28), *at(33), 11.0, INK)
    c.circle(*ball, BALL, INK)
    c.circle(ball[0] - 1.7, ball[1] - 1.7, 1.6, LIGHT)
    buttons = {"sample": (at(42), GREEN), "stop": (at(55), RED)}
    for (x, y), colour in buttons.values():
        c.circle(x, y, 5.2, INK)
        c.circle(x, y, 4.0, colour)
    if button:
        (x, y), colour = buttons[button]
        # Level from the left: it passes clear of the other button and stays in the picture however high
        # the probe is lifted.
        arrow(c, x - 40, y, x - 8, y, 3.2, colour)


def resting(at, normal, gap=0.0):
    """Where the ball's centre is when it touches the surface at at, whose outward normal on screen is
    normal, or hovers gap pixels off it."""
    length = math.hypot(*normal)
    return at[0] + normal[0] / length * (BALL + gap), at[1] + normal[1] / length * (BALL + gap)


def touch_or_lift(c, step, at, normal=(0.0, -1.0), tilt=25.0, lift=18.0):
    """Step 1: the probe's ball rests on the surface at at, whose outward normal (on screen) is normal, and
    the sample button is pressed. Step 2: the probe is lifted off along the normal, shown by a blue arrow,
    and the stop button is pressed."""
    if step == 1:
        probe(c, resting(at, normal), tilt, "sample")
        return
    start, end = resting(at, normal, 2 - BALL), resting(at, normal, lift - 2 - BALL)
    arrow(c, *start, *end, 2.2, BLUE, head=6.5)
    probe(c, resting(at, normal, lift), tilt, "stop")


# ---------------------------------------------------------------------------------------------- bodies

def plate(c, x0, y0, x1, y1, thickness=12.0, chosen=False):
    """A plate seen from the front and above: its top face from y0 (back) to y1 (front) and its front side;
    a chosen plate's face is highlighted."""
    c.rect(x0, y1, x1, y1 + thickness, SIDE)
    c.rect(x0, y0, x1, y1, PALE_ORANGE if chosen else FACE)
    outline(c, [(x0, y0), (x1, y0), (x1, y1 + thickness), (x0, y1 + thickness)])
    if chosen:
        outline(c, [(x0, y0), (x1, y0), (x1, y1), (x0, y1)], ORANGE, 2.2)
    else:
        c.line(x0, y1, x1, y1, 1.4, EDGE)


def pocket(c, opening, depth, rim=EDGE, rim_points=None):
    """A hole or slot cut into a face: its floor, the far wall that shows from above, and the rim."""
    c.fill(opening, FLOOR)
    c.fill(Minus(opening, Shifted(opening, 0, depth)), WALL)
    if rim_points:
        outline(c, rim_points, rim, 1.6)


def hole(c, cx, cy, rx, depth, rim=EDGE):
    pocket(c, Ellipse(cx, cy, rx, rx * RISE), depth, rim, ellipse_points(cx, cy, rx, rx * RISE)[:-1])


def lit(base, x0, x1):
    """A paint for a round body between x0 and x1 lit from the left: light a third of the way across."""

    def paint(x, y):
        # In a few flat bands, which read as well and keep the picture to few colours.
        f = round(min(1.0, abs((x - x0) / (x1 - x0) - 0.33) * 1.6) * 6) / 6
        return tuple(round(255 * (1 - f) * 0.55 + v * (0.45 + 0.55 * f)) for v in base)

    return paint


def frustum(c, cx, base_y, r_base, top_y, r_top, edge=EDGE):
    """A cylinder (equal radii) or cone standing on a face: its wall, its top face and its outline."""
    base = ellipse_points(cx, base_y, r_base, r_base * RISE, 180, 360)
    wall = [(cx - r_top, top_y)] + base + [(cx + r_top, top_y)]
    c.polygon(wall, lit(PALE_BLUE, cx - r_base, cx + r_base))
    c.fill(Ellipse(cx, top_y, r_top, r_top * RISE), WHITE)
    c.polyline(wall, 1.4, edge)
    outline(c, ellipse_points(cx, top_y, r_top, r_top * RISE)[:-1], edge)


def flank(cx, base_y, r_base, top_y, r_top, f):
    """The point f of the way up the right flank of a cone or cylinder, and the flank's outward normal."""
    slope = math.atan2(base_y - top_y, r_base - r_top)
    at = cx + r_base + (r_top - r_base) * f, base_y + (top_y - base_y) * f
    return at, (math.sin(slope), -math.cos(slope))


def ring_point(cx, ring_y, r, angle):
    """A point on the front of a round body's ring at ring_y, angle degrees (0 right, 270 front)."""
    return on_ellipse(cx, ring_y, r, r * RISE, angle)


# ---------------------------------------------------------------------------------------------- sets

def draw_line(c, step):
    plate(c, 12, 60, 213, 122, 14)
    if step == 3:
        for x0, y, x1 in ((30, 76, 125), (25, 111, 150)):
            c.line(x0, y, x1, y, 2.2, BLUE)
        c.line(45, 94, 200, 94, 3.0, ORANGE)
        probe(c, (150, 94 - BALL))
        return
    c.line(25, 95, 190, 95, 1.6, BLUE)
    for x, label in ((40, "1"), (72, "2")):
        point(c, x, 95, label)
    point(c, 140, 95, "n", -10, -8)
    text(c, "...", 106, 88)
    touch_or_lift(c, step, (140, 95))


def draw_point(c, step):
    plate(c, 12, 60, 213, 122, 14)
    point(c, 100, 95, "1", -10, -6)
    touch_or_lift(c, step, (100, 95))


def draw_plane(c, step):
    if step == 3:
        plate(c, 10, 82, 110, 124, 14)
        plate(c, 118, 60, 215, 96, 28, chosen=True)
        probe(c, (160, 80 - BALL))
        return
    plate(c, 12, 60, 213, 122, 14)
    for x, y, label in ((40, 104, "1"), (72, 76, "2"), (108, 108, "3")):
        point(c, x, y, label)
    point(c, 150, 88, "n", -10, -8)
    text(c, "...", 128, 100)
    touch_or_lift(c, step, (150, 88))


def wavy_surface(c):
    """A free-form surface: a plate whose face swells and dips."""

    def edge(y, phase):
        return [(x, y + 7 * math.sin(x / 32.0 + phase)) for x in range(12, 214, 6)]

    back, front = edge(60, 0.0), edge(118, 0.6)
    c.polygon(front + [(213, front[-1][1] + 14), (12, front[0][1] + 14)], SIDE)
    c.polygon(back + front[::-1], FACE)
    for phase, y in ((0.2, 80), (0.4, 99)):
        c.polyline(edge(y, phase), 1.0, SIDE)
    c.polyline(back, 1.4, EDGE)
    c.polyline(front, 1.4, EDGE)
    c.polyline([front[-1], (213, front[-1][1] + 14)], 1.4, EDGE)
    c.polyline([front[0], (12, front[0][1] + 14)], 1.4, EDGE)
    c.polyline([(12, front[0][1] + 14), (213, front[-1][1] + 14)], 1.4, EDGE)


def cross(c, x, y, colour):
    """A point feature already made: a cross in a ring."""
    c.ring(x, y, 5.0, 1.6, colour)
    c.line(x - 7, y, x + 7, y, 1.4, colour)
    c.line(x, y - 7, x, y + 7, 1.4, colour)


def draw_surface_point(c, step):
    wavy_surface(c)
    if step == 3:
        for x, y in ((42, 96), (80, 78), (170, 102)):
            cross(c, x, y, BLUE)
        cross(c, 124, 92, ORANGE)
        probe(c, (124, 92 - BALL))
        return
    point(c, 108, 90, "1", -10, -6)
    touch_or_lift(c, step, (108, 90))


def draw_sphere(c, step):
    plate(c, 8, 112, 217, 134, 10)
    if step == 3:
        for cx, cy, r in ((48, 88, 20), (180, 92, 18)):
            c.rect(cx - 4, cy + r - 2, cx + 4, 124, SIDE)
            shaded_sphere(c, cx, cy, r, STEEL)
        c.rect(108, 96, 116, 124, SIDE)
        shaded_sphere(c, 112, 72, 26, PALE_BLUE)
        c.ring(112, 72, 26, 2.4, ORANGE)
        normal = (math.cos(math.radians(35)), -math.sin(math.radians(35)))
        probe(c, resting(on_ellipse(112, 72, 26, 26, 35), normal), 35)
        return
    c.rect(90, 112, 102, 124, SIDE)
    shaded_sphere(c, 96, 80, 36, PALE_BLUE)
    c.ring(96, 80, 36, 1.2, EDGE)
    for x, y, label in ((72, 72, "1"), (94, 57, "2"), (114, 70, "3"), (82, 99, "4")):
        point(c, x, y, label, -9, -6)
    text(c, "...", 104, 93)
    touch = on_ellipse(96, 80, 36, 36, 20)
    point(c, *touch, "n", 6, 9)
    touch_or_lift(c, step, touch, (math.cos(math.radians(20)), -math.sin(math.radians(20))), tilt=40)


def draw_cone(c, step):
    plate(c, 8, 96, 217, 136, 10)
    if step == 3:
        frustum(c, 44, 116, 24, 76, 8)
        frustum(c, 182, 112, 20, 80, 6)
        frustum(c, 112, 122, 36, 52, 12, edge=ORANGE)
        probe(c, resting(*flank(112, 122, 36, 52, 12, 0.5)), 35)
        return
    frustum(c, 100, 112, 50, 40, 18)
    points = [ring_point(100, 104, 46, a) for a in (215, 245, 275, 305)]
    points += [ring_point(100, 70, 31, a) for a in (220, 260, 300)]
    for i, (x, y) in enumerate(points):
        point(c, x, y, {0: "1", 6: "7"}.get(i), -9, -6)
    touch, normal = flank(100, 112, 50, 40, 18, 0.5)
    point(c, *touch, "n", 9, 8)
    touch_or_lift(c, step, touch, normal, tilt=35)


def draw_circle(c, step):
    plate(c, 10, 52, 215, 124, 14)
    if step == 3:
        hole(c, 48, 76, 20, 10)
        hole(c, 176, 74, 16, 9)
        hole(c, 112, 100, 30, 13, rim=ORANGE)
        probe(c, (112, 72))
        return
    cx, cy, rx = 96, 88, 48
    hole(c, cx, cy, rx, 18)
    for angle, label in ((150, "1"), (90, "2"), (30, "3")):
        x, y = on_ellipse(cx, cy, rx, rx * RISE, angle, 8)
        point(c, x, y, label, -5 if label == "3" else 0, -16)
    if step == 1:
        touch_or_lift(c, 1, on_ellipse(cx, cy, rx, rx * RISE, 30, 8), (-0.9, 0.45))
    else:
        touch_or_lift(c, 2, (172, 96))  # the stop is taken above the face beside the hole


def draw_cylinder(c, step):
    plate(c, 8, 98, 217, 136, 10)
    if step == 3:
        frustum(c, 46, 116, 18, 80, 18)
        frustum(c, 180, 112, 15, 70, 15)
        frustum(c, 112, 122, 26, 50, 26, edge=ORANGE)
        probe(c, (112 + 26 + BALL + 10, 78), 30)
        return
    frustum(c, 100, 120, 36, 36, 36)
    for i, angle in enumerate((235, 270, 305)):
        point(c, *ring_point(100, 104, 36, angle), str(i + 1), -9, -6)
    for angle, label in ((235, "4"), (270, "5")):
        point(c, *ring_point(100, 58, 36, angle), label, -9, -6)
    touch = (136, 58)
    point(c, *touch, "n", -9, -6)
    touch_or_lift(c, step, touch, (1.0, 0.0), tilt=30)


SLOT = (38, 68, 188, 108)  # the rectangular slot's rim on screen
SLOT_DEPTH = 12


def slot_face(c):
    plate(c, 8, 46, 217, 128, 12)
    x0, y0, x1, y1 = SLOT
    pocket(c, Rect(x0, y0, x1, y1), SLOT_DEPTH, EDGE, [(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def draw_rectangular_slot_line(c, step):
    slot_face(c)
    x0, y0, x1, y1 = SLOT
    if step == 3:
        sides = [
            [(x1, y0 + 8), (x1, y0 + 20), (x1, y0 + 32)],  # the end at the right
            [(160, y1), (113, y1), (66, y1)],  # the front side
            [(x0, y0 + 32), (x0, y0 + 20), (x0, y0 + 8)],  # the end at the left
            [(66, y0 + 6), (113, y0 + 6), (160, y0 + 6)],  # the back side
        ]
        offsets = [(10, 0), (0, 11), (-11, 0), (0, -17)]
        number = 1
        for side, (dx, dy) in zip(sides, offsets):
            for x, y in side:
                point(c, x, y, str(number), dx, dy)
                number += 1
        return
    for x, label in ((70, "1"), (110, "2"), (150, "3")):
        point(c, x, y0 + 7, label, 0, -16)
    touch_or_lift(c, step, (150, y0 + 7), (0.0, 1.0), lift=14)


def rounded_rim(cx, cy, half_length, half_width, radius):
    """The rim of a rounded slot on screen: four quarter ellipses joined by straight sides, counter-clockwise
    from the corner at the back right."""
    corners = [(1, 1, 0), (-1, 1, 90), (-1, -1, 180), (1, -1, 270)]
    rim = []
    for su, sw, a0 in corners:
        ccx = cx + su * (half_length - radius)
        ccy = cy - sw * (half_width - radius) * RISE
        rim += ellipse_points(ccx, ccy, radius, radius * RISE, a0, a0 + 90, 12)
    return rim


ROUNDED = (104, 88, 84, 70, 44)  # centre x, y, half length, half width (in depth), corner radius


def corner_point(corner, angle, below=0.0, out=0.0):
    """A point on the rim of corner 1 .. 4 (back right, back left, front left, front right) at angle degrees,
    moved down by below pixels, or out of the slot by out pixels."""
    cx, cy, half_length, half_width, radius = ROUNDED
    su, sw = [(1, 1), (-1, 1), (-1, -1), (1, -1)][corner - 1]
    ccx = cx + su * (half_length - radius)
    ccy = cy - sw * (half_width - radius) * RISE
    return on_ellipse(ccx, ccy, radius + out, radius * RISE + out, angle, below)


def draw_rounded_slot_corner(c, step):
    plate(c, 8, 46, 217, 128, 12)
    rim = rounded_rim(*ROUNDED)
    pocket(c, Polygon(rim), SLOT_DEPTH, EDGE, rim)
    if step == 3:
        number = 1
        for corner in range(1, 5):
            for angle in (corner * 90 - 75, corner * 90 - 45, corner * 90 - 15):
                back = corner <= 2
                x, y = corner_point(corner, angle, 6 if back else 0)
                lx, ly = corner_point(corner, angle, 0, 10)
                point(c, x, y, str(number), lx - x, ly - y)
                number += 1
        return
    for angle, label in ((15, "1"), (45, "2")):
        x, y = corner_point(1, angle, 6)
        lx, ly = corner_point(1, angle, 0, 10)
        point(c, x, y, label, lx - x, ly - y)
    touch = corner_point(1, 75, 6)
    point(c, *touch, "3", 9, -8)
    t = math.radians(75)
    # Leaning to the left, the probe hides none of the corner's numbers.
    touch_or_lift(c, step, touch, (-math.cos(t), math.sin(t)), tilt=-30, lift=16)


def draw_feature_picker(c, step):
    plate(c, 8, 74, 217, 126, 12)
    hole(c, 60, 102, 28, 12)
    frustum(c, 152, 110, 24, 62, 24, edge=ORANGE)
    dashed(c, [(122, 46), (182, 46), (182, 124), (122, 124)], ORANGE)  # the feature's box, the probe in it
    probe(c, (170, 64), 25, "sample" if step == 2 else None)


# Each set: its name, how many pictures it has, and the drawing, which takes the picture's number.
SETS = [
    ("line", 3, draw_line),
    ("point", 2, draw_point),
    ("plane", 3, draw_plane),
    ("surface_point", 3, draw_surface_point),
    ("sphere", 3, draw_sphere),
    ("cone", 3, draw_cone),
    ("circle", 3, draw_circle),
    ("cylinder", 3, draw_cylinder),
    ("rectangular_slot_line", 3, draw_rectangular_slot_line),
    ("rounded_slot_corner", 3, draw_rounded_slot_corner),
    ("feature_picker", 2, draw_feature_picker),
]


# ---------------------------------------------------------------------------------------------- header

HEADER = os.path.join("gen", "palpera", "palpera_instruction_pictures.h")
NAMES_HEADER = "gen/palpera/palpera_instruction_picture_sets.h"  # as it is included
WHAT = "pictures"
CHANNELS = 3


def drawn():
    """(key, RGB rows) of every picture, set by set, in at most 256 colours so that each is a palette PNG;
    the key is the set's name and the picture's number."""
    for name, count, draw in SETS:
        for number in range(1, count + 1):
            canvas = Canvas(WIDTH, HEIGHT, 1, WHITE, samples=3)  # as smooth as the eye asks at this size
            draw(canvas, number)
            yield "%s_%d" % (name, number), quantise(canvas.rows(CHANNELS), CHANNELS)


def _camel(name):
    return "".join(part.capitalize() for part in name.split("_"))


def _split(key):
    name, number = key.rsplit("_", 1)
    return name, int(number)


def array_name(key):
    name, number = _split(key)
    return "kPicture%s%d" % (_camel(name), number)


def names():
    out = [
        "// The sets of instruction pictures, one for each kind of feature the operator probes, and the",
        "// feature picker's.",
        "enum class InstructionPictureSet : int32_t {",
    ]
    return out + ["  k%s," % _camel(name) for name, _, _ in SETS] + ["};"]


def declarations():
    return [
        "// One picture: its set, its number in the set (from 1) and its whole PNG file, %d x %d pixels."
        % (WIDTH, HEIGHT),
        "struct EmbeddedInstructionPicture {",
        "  InstructionPictureSet set;",
        "  int32_t number;",
        "  const unsigned char* png;",
        "  uint32_t size;",
        "};",
        "",
    ]


def table(keys):
    rows = []
    for key in keys:
        name, number = _split(key)
        array = array_name(key)
        rows.append("    {InstructionPictureSet::k%s, %d, %s, sizeof %s}," % (_camel(name), number, array,
                                                                            array))
    return ["// Set by set, each set's pictures in their order.",
            "inline constexpr EmbeddedInstructionPicture kInstructionPictures[] = {"] + rows + ["};"]


def table_keys(text):
    """(key, array name) of each row of the table in a header's text."""
    rows = re.findall(r"\{InstructionPictureSet::k(\w+), (\d+), (\w+), sizeof \w+\}", text)
    return [("%s_%s" % (re.sub(r"(?<!^)([A-Z])", r"_\1", camel).lower(), number), array)
            for camel, number, array in rows]
