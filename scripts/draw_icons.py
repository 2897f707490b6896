#!/usr/bin/env python3
"""Draws the module's icons and embeds them, as PNG files in C++ byte arrays, in gen/palpera/palpera_icons.h.

    python3 scripts/draw_icons.py              rewrite the header
    python3 scripts/draw_icons.py --check      fail when the header's pictures are not the ones drawn here
    python3 scripts/draw_icons.py --png DIR    also write each icon as DIR/<name>.png, to look at

Every picture is drawn here from simple shapes in a unit square (x to the right, y down), rasterised with
4 x 4 samples per pixel, so one drawing serves a large and a small icon. Only the standard library is used:
the PNG files are written with zlib and struct. --check compares decoded pixels, not bytes, so a different
zlib build that compresses differently is not taken for a stale header.
"""

import argparse
import math
import os
import re
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = os.path.join(ROOT, "gen", "palpera", "palpera_icons.h")
SAMPLES = 4  # per pixel side

INK = (45, 55, 72)
STEEL = (122, 134, 152)
LIGHT = (214, 221, 232)
BLUE = (33, 113, 181)
PALE_BLUE = (190, 215, 240)
RED = (204, 51, 51)
GREEN = (46, 160, 67)
ORANGE = (232, 140, 30)
WHITE = (255, 255, 255)
AXIS_COLOURS = {"x": RED, "y": GREEN, "z": BLUE}


# ---------------------------------------------------------------------------------------------- shapes
# A shape answers whether a point of the unit square lies inside it, and the box outside which it has none.

class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def box(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def inside(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r


class Arc:
    """A ring of width w around radius r, between the angles a0 and a1 (degrees, counter-clockwise on screen,
    0 pointing right); the whole ring when no angles are given."""

    def __init__(self, cx, cy, r, w, a0=None, a1=None):
        self.cx, self.cy, self.r, self.w, self.a0, self.a1 = cx, cy, r, w, a0, a1

    def box(self):
        e = self.r + self.w / 2
        return self.cx - e, self.cy - e, self.cx + e, self.cy + e

    def inside(self, x, y):
        d = math.hypot(x - self.cx, y - self.cy)
        if abs(d - self.r) > self.w / 2:
            return False
        if self.a0 is None:
            return True
        angle = math.degrees(math.atan2(self.cy - y, x - self.cx)) % 360
        return (angle - self.a0) % 360 <= (self.a1 - self.a0) % 360


class Segment:
    """A stroke of width w with round ends."""

    def __init__(self, x0, y0, x1, y1, w):
        self.x0, self.y0, self.x1, self.y1, self.w = x0, y0, x1, y1, w

    def box(self):
        h = self.w / 2
        return (min(self.x0, self.x1) - h, min(self.y0, self.y1) - h, max(self.x0, self.x1) + h,
                max(self.y0, self.y1) + h)

    def inside(self, x, y):
        dx, dy = self.x1 - self.x0, self.y1 - self.y0
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - self.x0) * dx + (y - self.y0) * dy) / length2))
        px, py = self.x0 + t * dx, self.y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= self.w * self.w / 4


class Polygon:
    def __init__(self, points):
        self.points = points

    def box(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def inside(self, x, y):
        result = False
        n = len(self.points)
        for i in range(n):
            (xa, ya), (xb, yb) = self.points[i], self.points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result


class Rect:
    """An axis-aligned rectangle with corners rounded by radius."""

    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1, self.radius = x0, y0, x1, y1, radius

    def box(self):
        return self.x0, self.y0, self.x1, self.y1

    def inside(self, x, y):
        if not (self.x0 <= x <= self.x1 and self.y0 <= y <= self.y1):
            return False
        r = self.radius
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Minus:
    """A shape with a hole cut out of it."""

    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole

    def box(self):
        return self.shape.box()

    def inside(self, x, y):
        return self.shape.inside(x, y) and not self.hole.inside(x, y)


# ---------------------------------------------------------------------------------------------- canvas

class Canvas:
    """Premultiplied RGBA floats; shapes are composited over what is there, each weighted by the share of
    a pixel's samples it covers."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def stroke(self, w):
        # A stroke never gets thinner than one pixel, or small icons would lose their lines.
        return max(w, 1.0 / self.size)

    def fill(self, shape, paint, alpha=1.0):
        """paint: an (r, g, b) colour, or a function of (x, y) answering one."""
        n = self.size
        x0, y0, x1, y1 = shape.box()
        for py in range(max(0, int(y0 * n) - 1), min(n, int(y1 * n) + 2)):
            for px in range(max(0, int(x0 * n) - 1), min(n, int(x1 * n) + 2)):
                self._cover(px, py, shape, paint, alpha)

    def _cover(self, px, py, shape, paint, alpha):
        n = self.size
        hits = 0
        for sy in range(SAMPLES):
            for sx in range(SAMPLES):
                if shape.inside((px + (sx + 0.5) / SAMPLES) / n, (py + (sy + 0.5) / SAMPLES) / n):
                    hits += 1
        if hits == 0:
            return
        a = alpha * hits / (SAMPLES * SAMPLES)
        colour = paint((px + 0.5) / n, (py + 0.5) / n) if callable(paint) else paint
        pixel = self.pixels[py * n + px]
        for i in range(3):
            pixel[i] = colour[i] / 255.0 * a + pixel[i] * (1 - a)
        pixel[3] = a + pixel[3] * (1 - a)

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top row first."""
        rows = []
        for py in range(self.size):
            row = bytearray()
            for px in range(self.size):
                r, g, b, a = self.pixels[py * self.size + px]
                if a <= 0:
                    row += bytes(4)
                    continue
                row += bytes(min(255, round(c / a * 255)) for c in (r, g, b))
                row.append(min(255, round(a * 255)))
            rows.append(bytes(row))
        return rows

    # Shorthands.
    def circle(self, cx, cy, r, colour):
        self.fill(Circle(cx, cy, r), colour)

    def ring(self, cx, cy, r, w, colour, a0=None, a1=None):
        self.fill(Arc(cx, cy, r, self.stroke(w), a0, a1), colour)

    def line(self, x0, y0, x1, y1, w, colour):
        self.fill(Segment(x0, y0, x1, y1, self.stroke(w)), colour)

    def polyline(self, points, w, colour):
        for (xa, ya), (xb, yb) in zip(points, points[1:]):
            self.line(xa, ya, xb, yb, w, colour)

    def polygon(self, points, colour, alpha=1.0):
        self.fill(Polygon(points), colour, alpha)

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        self.fill(Rect(x0, y0, x1, y1, radius), colour)


# ---------------------------------------------------------------------------------------------- parts
# Pieces several icons share.

def arrow(c, x0, y0, x1, y1, w, colour, head=None):
    """A straight arrow from (x0, y0) to its tip (x1, y1)."""
    head = head or w * 2.6
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    bx, by = x1 - ux * head, y1 - uy * head
    c.line(x0, y0, bx + ux * w * 0.5, by + uy * w * 0.5, w, colour)
    half = head * 0.6
    c.polygon([(x1, y1), (bx - uy * half, by + ux * half), (bx + uy * half, by - ux * half)], colour)


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


def glyph(c, letter, x0, y0, x1, y1, w, colour):
    """A capital X, Y or Z, or a + or - sign, drawn with strokes in the box."""
    xm, ym = (x0 + x1) / 2, (y0 + y1) / 2
    strokes = {
        "X": [[(x0, y0), (x1, y1)], [(x1, y0), (x0, y1)]],
        "Y": [[(x0, y0), (xm, ym)], [(x1, y0), (xm, ym), (xm, y1)]],
        "Z": [[(x0, y0), (x1, y0), (x0, y1), (x1, y1)]],
        "+": [[(x0, ym), (x1, ym)], [(xm, y0), (xm, y1)]],
        "-": [[(x0, ym), (x1, ym)]],
    }[letter]
    for points in strokes:
        c.polyline(points, w, colour)


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


def shaded_sphere(c, cx, cy, r, base):
    """A sphere lit from the upper left."""

    def paint(x, y):
        d = min(1.0, math.hypot(x - (cx - r * 0.35), y - (cy - r * 0.35)) / (r * 1.4))
        return tuple(round(255 * (1 - d) * 0.75 + v * (0.25 + 0.75 * d)) for v in base)

    c.fill(Circle(cx, cy, r), paint)


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


# ---------------------------------------------------------------------------------------------- PNG

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _predict(kind, row, previous, i):
    a = row[i - 4] if i >= 4 else 0
    b = previous[i]
    c = previous[i - 4] if i >= 4 else 0
    return (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]


def _filtered(kind, row, previous):
    return bytes((row[i] - _predict(kind, row, previous, i)) & 0xFF for i in range(len(row)))


def encode_png(rows):
    """An 8-bit RGBA PNG of square rows; each row takes the filter that leaves the smallest residues."""
    size = len(rows)
    previous = bytes(size * 4)
    raw = bytearray()
    for row in rows:
        candidates = [_filtered(kind, row, previous) for kind in range(5)]
        cost = [sum(v if v < 128 else 256 - v for v in f) for f in candidates]
        kind = cost.index(min(cost))
        raw.append(kind)
        raw += candidates[kind]
        previous = row

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def decode_png(data):
    """The rows of an 8-bit RGBA PNG as encode_png writes them: enough to compare pictures in --check."""
    position, width, height, idat = 8, 0, 0, b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytes(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        row = bytearray(stride)
        for i in range(stride):
            row[i] = (line[i] + _predict(kind, row, previous, i)) & 0xFF
        rows.append(bytes(row))
        previous = rows[-1]
    return rows


# ---------------------------------------------------------------------------------------------- header

def array_name(name):
    return "kIcon" + "".join(part.capitalize() for part in name.split("_"))


def header_text(pngs):
    out = [
        "#pragma once",
        "",
        "// Generated by scripts/draw_icons.py, which draws these icons itself: change the drawings there and run",
        "// it again, never edit this file.",
        "",
        "// clang-format off",
        "",
        "#include <cstdint>",
        "",
        "// One icon: its registered name and its whole PNG file.",
        "struct EmbeddedIcon {",
        "  const char* name;",
        "  const unsigned char* png;",
        "  uint32_t size;",
        "};",
        "",
    ]
    for name, png in pngs:
        out.append("inline constexpr unsigned char %s[] = {" % array_name(name))
        for start in range(0, len(png), 16):
            out.append("    " + ", ".join("0x%02x" % b for b in png[start:start + 16]) + ",")
        out.append("};")
        out.append("")
    out.append("// In the order they are registered.")
    out.append("inline constexpr EmbeddedIcon kPalperaIcons[] = {")
    for name, _ in pngs:
        out.append('    {"%s", %s, sizeof %s},' % (name, array_name(name), array_name(name)))
    out.append("};")
    out.append("")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def header_icons(text):
    """(name, PNG bytes) of each icon of a header written by header_text, in table order."""
    arrays = {m.group(1): bytes(int(v, 16) for v in re.findall(r"0x([0-9a-f]{2})", m.group(2)))
              for m in re.finditer(r"unsigned char (\w+)\[\] = \{(.*?)\};", text, re.S)}
    table = re.findall(r'\{"(\w+)", (\w+), sizeof \w+\}', text)
    return [(name, arrays.get(array, b"")) for name, array in table]


def drawn_icons():
    for name, size, draw in ICONS:
        canvas = Canvas(size)
        draw(canvas)
        yield name, canvas.rgba()


def check(path):
    try:
        with open(path) as f:
            stored = header_icons(f.read())
    except OSError as error:
        print("draw_icons: %s" % error, file=sys.stderr)
        return 1
    drawn = list(drawn_icons())
    if [name for name, _ in stored] != [name for name, _ in drawn]:
        print("draw_icons: %s does not list the icons drawn here, in their order" % path, file=sys.stderr)
        return 1
    stale = [name for (name, png), (_, rows) in zip(stored, drawn) if decode_png(png) != rows]
    if stale:
        print("draw_icons: %s holds other pictures of %s; run scripts/draw_icons.py" % (path, ", ".join(stale)),
              file=sys.stderr)
        return 1
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true", help="compare the header with the drawings")
    parser.add_argument("--header", default=HEADER, help="the header to write or check")
    parser.add_argument("--png", metavar="DIR", help="also write each icon as DIR/<name>.png")
    arguments = parser.parse_args()
    if arguments.check:
        return check(arguments.header)
    pngs = [(name, encode_png(rows)) for name, rows in drawn_icons()]
    with open(arguments.header, "w") as f:
        f.write(header_text(pngs))
    if arguments.png:
        os.makedirs(arguments.png, exist_ok=True)
        for name, png in pngs:
            with open(os.path.join(arguments.png, name + ".png"), "wb") as f:
                f.write(png)
    return 0


if __name__ == "__main__":
    sys.exit(main())
