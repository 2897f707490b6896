"""The module's icons, registered by name in the host's image store: each drawn from simple shapes in the
unit square (x to the right, y down), so one drawing serves a large and a small icon."""

import math
import os
import re

from artwork.canvas import Canvas
from artwork.parts import (BLUE, GREEN, INK, LIGHT, ORANGE, PALE_BLUE, RED, STEEL, WHITE, arrow, glyph,
                           shaded_sphere)
from artwork.shapes import Circle, Minus, Polygon

AXIS_COLOURS = {"x": RED, "y": GREEN, "z": BLUE}


# ---------------------------------------------------------------------------------------------- parts
# Pieces several icons share.

def circular_arrow(c, cx, cy, r, w, colour, a0, a1):
    """An arc from angle a0 to a1 (degrees, counter-clockwise) with its head at a1."""
    c.ring(cx, cy, r, w, colour, a0, a1)
    t = math.radians(a1)
    tipx, tipy = cx + r * math.cos(t), cy - r * math.sin(t)
    # The tangent in screen coordinates, pointing the way the arc runs.
    tx, ty = -math.sin(t), -math.cos(t)
    nx, ny = math.cos(t), -math.sin(t)
    head = w * 2.4
    c.polygon([(tipx + tx * head, tipy + ty * head), (tipx + nx * head * 0.75, tipy + ny * head * 0.75),
               (tipx - nx * head * 0.75, tipy - ny * head * 0.75)], colour)


def badge(c, colour):
    """The round badge at the lower right that says what an icon does to its subject."""
    c.circle(0.74, 0.74, 0.24, WHITE)
    c.circle(0.74, 0.74, 0.2, colour)


def badge_plus(c):
    badge(c, GREEN)
    glyph(c, "+", 0.64, 0.64, 0.84, 0.84, 0.07, WHITE)


def badge_cross(c):
    badge(c, RED)
    glyph(c, "X", 0.66, 0.66, 0.82, 0.82, 0.07, WHITE)


def badge_check(c):
    badge(c, GREEN)
    c.polyline([(0.64, 0.75), (0.71, 0.82), (0.84, 0.67)], 0.07, WHITE)


def badge_back(c):
    badge(c, BLUE)
    arrow(c, 0.84, 0.74, 0.62, 0.74, 0.06, WHITE, head=0.1)


def target(c, cx=0.4, cy=0.4, r=0.3):
    """A probing target: a ring with a centre mark and cross hairs."""
    c.circle(cx, cy, r, PALE_BLUE)
    c.ring(cx, cy, r, 0.06, BLUE)
    c.ring(cx, cy, r * 0.45, 0.05, BLUE)
    c.line(cx - r * 1.25, cy, cx - r * 0.7, cy, 0.045, INK)
    c.line(cx + r * 0.7, cy, cx + r * 1.25, cy, 0.045, INK)
    c.line(cx, cy - r * 1.25, cx, cy - r * 0.7, 0.045, INK)
    c.line(cx, cy + r * 0.7, cx, cy + r * 1.25, 0.045, INK)
    c.circle(cx, cy, r * 0.15, RED)


def stylus(c, x0, y0, x1, y1, ball):
    """A probe: a handle from (x0, y0), a stylus to the tip (x1, y1) and its ball of radius ball."""
    mx, my = x0 + (x1 - x0) * 0.45, y0 + (y1 - y0) * 0.45
    c.line(x0, y0, mx, my, 0.13, STEEL)
    c.line(mx, my, x1, y1, 0.045, INK)
    c.circle(x1, y1, ball, RED)


def triad(c, ox, oy, length, w):
    """Coordinate axes from an origin: x to the right, y into the picture (up and right), z up."""
    arrow(c, ox, oy, ox + length, oy, w, RED)
    arrow(c, ox, oy, ox + length * 0.62, oy - length * 0.48, w, GREEN)
    arrow(c, ox, oy, ox, oy - length, w, BLUE)


def matrix(c, x0, y0, x1, y1):
    """A 3 x 3 matrix: brackets and its entries."""
    w = 0.06
    tick = (x1 - x0) * 0.14
    c.polyline([(x0 + tick, y0), (x0, y0), (x0, y1), (x0 + tick, y1)], w, INK)
    c.polyline([(x1 - tick, y0), (x1, y0), (x1, y1), (x1 - tick, y1)], w, INK)
    for row in range(3):
        for column in range(3):
            x = x0 + (x1 - x0) * (0.27 + 0.23 * column)
            y = y0 + (y1 - y0) * (0.2 + 0.3 * row)
            c.circle(x, y, 0.045, BLUE if row == column else STEEL)


def surface(c, y):
    """The part's surface, seen edge on, with its hatching."""
    c.rect(0.08, y, 0.92, y + 0.07, STEEL)
    for i in range(5):
        x = 0.16 + 0.16 * i
        c.line(x, y + 0.07, x - 0.08, y + 0.17, 0.035, STEEL)


# ---------------------------------------------------------------------------------------------- icons

def draw_blank(c):
    pass


def draw_hardprobe(c):
    c.rect(0.16, 0.84, 0.54, 0.95, INK, radius=0.03)
    c.line(0.35, 0.84, 0.31, 0.44, 0.1, STEEL)
    c.line(0.31, 0.44, 0.68, 0.26, 0.09, STEEL)
    c.line(0.68, 0.26, 0.76, 0.62, 0.04, INK)
    for x, y, r in ((0.35, 0.8, 0.075), (0.31, 0.44, 0.075), (0.68, 0.26, 0.065)):
        c.circle(x, y, r, INK)
        c.circle(x, y, r * 0.4, LIGHT)
    c.circle(0.77, 0.67, 0.065, RED)


def draw_hp_start(c):
    c.circle(0.5, 0.5, 0.46, GREEN)
    c.polygon([(0.38, 0.27), (0.38, 0.73), (0.76, 0.5)], WHITE)


def draw_hp_stop(c):
    c.circle(0.5, 0.5, 0.46, RED)
    c.rect(0.31, 0.31, 0.69, 0.69, WHITE, radius=0.04)


def draw_select_with_probe(c):
    face = [(0.06, 0.72), (0.5, 0.58), (0.94, 0.72), (0.5, 0.9)]
    c.polygon(face, PALE_BLUE)
    c.polyline(face + face[:1], 0.035, BLUE)
    c.ring(0.5, 0.7, 0.13, 0.035, ORANGE)
    stylus(c, 0.86, 0.08, 0.5, 0.62, 0.075)


def draw_alignment(c):
    box = [(0.3, 0.38), (0.62, 0.22), (0.94, 0.38), (0.94, 0.72), (0.62, 0.9), (0.3, 0.72)]
    c.polygon(box, LIGHT)
    c.polyline(box + box[:1], 0.035, STEEL)
    c.polyline([(0.3, 0.38), (0.62, 0.54), (0.94, 0.38)], 0.035, STEEL)
    c.line(0.62, 0.54, 0.62, 0.9, 0.035, STEEL)
    triad(c, 0.1, 0.9, 0.56, 0.06)


def draw_define_reference_targets(c):
    target(c)
    badge_plus(c)


def draw_delete_targets(c):
    target(c)
    badge_cross(c)


def draw_previous_targets(c):
    target(c)
    badge_back(c)


def draw_retry_target(c):
    target(c, 0.5, 0.5, 0.24)
    circular_arrow(c, 0.5, 0.5, 0.4, 0.07, ORANGE, 110, 400)


def draw_delete(c):
    glyph(c, "X", 0.2, 0.2, 0.8, 0.8, 0.2, RED)


def draw_down(c):
    c.polygon([(0.12, 0.28), (0.88, 0.28), (0.5, 0.8)], INK)


def draw_up(c):
    c.polygon([(0.12, 0.72), (0.88, 0.72), (0.5, 0.2)], INK)


def draw_load_matrix(c):
    matrix(c, 0.08, 0.22, 0.62, 0.86)
    arrow(c, 0.82, 0.06, 0.82, 0.6, 0.09, BLUE)


def draw_reset_matrix(c):
    matrix(c, 0.08, 0.1, 0.62, 0.74)
    badge(c, ORANGE)
    circular_arrow(c, 0.74, 0.74, 0.1, 0.045, WHITE, 120, 400)


def draw_lrg_featurecircle(c):
    c.circle(0.5, 0.5, 0.38, PALE_BLUE)
    c.ring(0.5, 0.5, 0.38, 0.07, BLUE)
    glyph(c, "+", 0.42, 0.42, 0.58, 0.58, 0.04, INK)
    for angle in (35, 160, 280):
        t = math.radians(angle)
        c.circle(0.5 + 0.38 * math.cos(t), 0.5 - 0.38 * math.sin(t), 0.07, RED)


def draw_lrg_sphere(c):
    shaded_sphere(c, 0.5, 0.5, 0.42, BLUE)


def draw_move_device(c):
    c.circle(0.5, 0.5, 0.15, INK)
    c.circle(0.5, 0.5, 0.06, LIGHT)
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        arrow(c, 0.5 + dx * 0.2, 0.5 + dy * 0.2, 0.5 + dx * 0.46, 0.5 + dy * 0.46, 0.07, BLUE)


def draw_pointmethod(c):
    surface(c, 0.68)
    for dx, dy in ((1, 0), (-1, 0), (0, -1)):
        c.line(0.5 + dx * 0.12, 0.68 + dy * 0.12, 0.5 + dx * 0.24, 0.68 + dy * 0.24, 0.045, INK)
    c.circle(0.5, 0.68, 0.075, RED)
    arrow(c, 0.5, 0.04, 0.5, 0.38, 0.07, BLUE)


def draw_probe_calibrate(c):
    c.line(0.38, 0.94, 0.38, 0.66, 0.08, STEEL)
    c.rect(0.16, 0.88, 0.6, 0.96, INK, radius=0.02)
    shaded_sphere(c, 0.38, 0.52, 0.2, STEEL)
    stylus(c, 0.92, 0.06, 0.63, 0.4, 0.07)


def draw_probe_options(c):
    stylus(c, 0.1, 0.06, 0.34, 0.5, 0.07)
    # A gear: a toothed disc with a hole.
    teeth = []
    for i in range(16):
        t = math.radians(i * 22.5)
        r = 0.27 if i % 2 == 0 else 0.2
        teeth.append((0.66 + r * math.cos(t), 0.66 + r * math.sin(t)))
    c.fill(Minus(Polygon(teeth), Circle(0.66, 0.66, 0.08)), INK)


def draw_show_coords(c):
    triad(c, 0.14, 0.86, 0.72, 0.055)
    dashes = [((0.62, 0.42), (0.62, 0.86)), ((0.62, 0.42), (0.14, 0.42))]
    for (xa, ya), (xb, yb) in dashes:
        for k in range(4):
            f0, f1 = k / 4, k / 4 + 0.14
            c.line(xa + (xb - xa) * f0, ya + (yb - ya) * f0, xa + (xb - xa) * f1, ya + (yb - ya) * f1, 0.035,
                   STEEL)
    c.circle(0.62, 0.42, 0.07, ORANGE)


def draw_use_last_alignment(c):
    triad(c, 0.1, 0.7, 0.58, 0.06)
    badge_check(c)


def axis_icon(axis, sign):
    def draw(c):
        glyph(c, axis.upper(), 0.1, 0.2, 0.52, 0.8, 0.12, AXIS_COLOURS[axis])
        glyph(c, sign, 0.62, 0.36, 0.92, 0.66, 0.1, INK)

    return draw


def draw_probe_mode_single(c):
    surface(c, 0.7)
    stylus(c, 0.86, 0.04, 0.5, 0.6, 0.08)
    c.circle(0.5, 0.7, 0.06, ORANGE)


def draw_probe_mode_time(c):
    c.circle(0.5, 0.38, 0.3, WHITE)
    c.ring(0.5, 0.38, 0.3, 0.06, INK)
    c.line(0.5, 0.38, 0.5, 0.2, 0.05, INK)
    c.line(0.5, 0.38, 0.64, 0.44, 0.05, INK)
    for i in range(5):
        c.circle(0.14 + 0.18 * i, 0.86, 0.055, ORANGE)


def draw_probe_mode_distance(c):
    surface(c, 0.66)
    for i in range(4):
        c.circle(0.17 + 0.22 * i, 0.66, 0.06, ORANGE)
    c.line(0.17, 0.16, 0.17, 0.54, 0.04, INK)
    c.line(0.61, 0.16, 0.61, 0.54, 0.04, INK)
    arrow(c, 0.39, 0.32, 0.2, 0.32, 0.05, BLUE, head=0.12)
    arrow(c, 0.39, 0.32, 0.58, 0.32, 0.05, BLUE, head=0.12)


# The icons in the order they are registered: name, size in pixels (square), drawing.
ICONS = [
    ("blank", 40, draw_blank),
    ("hardprobe", 96, draw_hardprobe),
    ("hardprobe_small", 24, draw_hardprobe),
    ("hp_start", 32, draw_hp_start),
    ("hp_stop", 32, draw_hp_stop),
    ("select_with_probe", 96, draw_select_with_probe),
    ("select_with_probe_small", 24, draw_select_with_probe),
    ("alignment", 55, draw_alignment),
    ("define_reference_targets", 40, draw_define_reference_targets),
    ("delete_targets", 40, draw_delete_targets),
    ("delete", 14, draw_delete),
    ("down", 14, draw_down),
    ("load_matrix", 40, draw_load_matrix),
    ("lrg_featurecircle", 40, draw_lrg_featurecircle),
    ("lrg_sphere", 40, draw_lrg_sphere),
    ("move_device", 40, draw_move_device),
    ("pointmethod", 40, draw_pointmethod),
    ("previous_targets", 40, draw_previous_targets),
    ("probe_calibrate", 40, draw_probe_calibrate),
    ("probe_options", 40, draw_probe_options),
    ("reset_matrix", 40, draw_reset_matrix),
    ("retry_target", 40, draw_retry_target),
    ("show_coords", 40, draw_show_coords),
    ("up", 14, draw_up),
    ("use_last_alignment", 40, draw_use_last_alignment),
    ("xminus", 40, axis_icon("x", "-")),
    ("xplus", 40, axis_icon("x", "+")),
    ("yminus", 40, axis_icon("y", "-")),
    ("yplus", 40, axis_icon("y", "+")),
    ("zminus", 40, axis_icon("z", "-")),
    ("zplus", 40, axis_icon("z", "+")),
    ("probe_mode_single", 40, draw_probe_mode_single),
    ("probe_mode_time", 40, draw_probe_mode_time),
    ("probe_mode_distance", 40, draw_probe_mode_distance),
]


# ---------------------------------------------------------------------------------------------- header

HEADER = os.path.join("gen", "palpera", "palpera_icons.h")
WHAT = "icons"
CHANNELS = 4


def drawn():
    """(key, RGBA rows) of every icon, in table order; the key is the registered name."""
    for name, size, draw in ICONS:
        canvas = Canvas(size)
        draw(canvas)
        yield name, canvas.rows(CHANNELS)


def array_name(name):
    return "kIcon" + "".join(part.capitalize() for part in name.split("_"))


def declarations():
    return [
        "// One icon: its registered name and its whole PNG file.",
        "struct EmbeddedIcon {",
        "  const char* name;",
        "  const unsigned char* png;",
        "  uint32_t size;",
        "};",
        "",
    ]


def table(names):
    rows = ['    {"%s", %s, sizeof %s},' % (name, array_name(name), array_name(name)) for name in names]
    start = ["// In the order they are registered.", "inline constexpr EmbeddedIcon kPalperaIcons[] = {"]
    return start + rows + ["};"]


def table_keys(text):
    """(key, array name) of each row of the table in a header's text."""
    return re.findall(r'\{"(\w+)", (\w+), sizeof \w+\}', text)
