"""Colours and pieces that icons and pictures share."""

import math

from artwork.shapes import Circle

INK = (45, 55, 72)
STEEL = (122, 134, 152)
LIGHT = (214, 221, 232)
BLUE = (33, 113, 181)
PALE_BLUE = (190, 215, 240)
RED = (204, 51, 51)
GREEN = (46, 160, 67)
ORANGE = (232, 140, 30)
WHITE = (255, 255, 255)


def arrow(c, x0, y0, x1, y1, w, colour, head=None):
    """A straight arrow from (x0, y0) to its tip (x1, y1)."""
    head = head or w * 2.6
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    bx, by = x1 - ux * head, y1 - uy * head
    c.line(x0, y0, bx + ux * w * 0.5, by + uy * w * 0.5, w, colour)
    half = head * 0.6
    c.polygon([(x1, y1), (bx - uy * half, by + ux * half), (bx + uy * half, by - ux * half)], colour)


def glyph_strokes(letter, x0, y0, x1, y1):
    """The strokes (point lists) of a capital X, Y or Z, a digit, a small n, or a + or - sign in the box."""
    xm, ym = (x0 + x1) / 2, (y0 + y1) / 2
    # The corners and middles of the box, as a seven-segment display has them.
    a, b, cm, d, e, f = (x0, y0), (x1, y0), (x0, ym), (x1, ym), (x0, y1), (x1, y1)
    hump = y0 + (y1 - y0) * 0.4  # the top of a small letter
    return {
        "X": [[(x0, y0), (x1, y1)], [(x1, y0), (x0, y1)]],
        "Y": [[(x0, y0), (xm, ym)], [(x1, y0), (xm, ym), (xm, y1)]],
        "Z": [[(x0, y0), (x1, y0), (x0, y1), (x1, y1)]],
        "+": [[(x0, ym), (x1, ym)], [(xm, y0), (xm, y1)]],
        "-": [[(x0, ym), (x1, ym)]],
        "0": [[a, b, f, e, a]],
        "1": [[(xm - (x1 - x0) * 0.35, y0 + (y1 - y0) * 0.2), (xm, y0), (xm, y1)]],
        "2": [[a, b, d, cm, e, f]],
        "3": [[a, b, f, e], [cm, d]],
        "4": [[a, cm, d], [b, f]],
        "5": [[b, a, cm, d, f, e]],
        "6": [[b, a, e, f, d, cm]],
        "7": [[a, b, (xm, y1)]],
        "8": [[a, b, f, e, a], [cm, d]],
        "9": [[d, cm, a, b, f, e]],
        "n": [[(x0, hump), (x0, y1)], [(x0, hump + (y1 - hump) * 0.3), (x0 + (x1 - x0) * 0.35, hump),
                                        (x1, hump), (x1, y1)]],
    }[letter]


def glyph(c, letter, x0, y0, x1, y1, w, colour):
    """A letter, digit or sign of glyph_strokes, drawn with strokes of width w in the box."""
    for points in glyph_strokes(letter, x0, y0, x1, y1):
        c.polyline(points, w, colour)


def shaded_sphere(c, cx, cy, r, base):
    """A sphere lit from the upper left."""

    def paint(x, y):
        d = min(1.0, math.hypot(x - (cx - r * 0.35), y - (cy - r * 0.35)) / (r * 1.4))
        return tuple(round(255 * (1 - d) * 0.75 + v * (0.25 + 0.75 * d)) for v in base)

    c.fill(Circle(cx, cy, r), paint)
