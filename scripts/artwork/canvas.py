"""The canvas pictures are rasterised on, with 4 x 4 samples per pixel."""

from artwork.shapes import Arc, Circle, Polygon, Rect, Segment

SAMPLES = 4  # per pixel side
# The farthest a sample lies from its pixel's centre is under 0.54 pixel; a pixel whose centre is farther
# than this from every boundary of a shape is wholly inside or outside it.
_SURELY_CLEAR = 0.75


class Canvas:
    """Premultiplied RGBA floats; shapes are composited over what is there, each weighted by the share of
    a pixel's samples it covers. Drawings give coordinates in units of scale pixels (x to the right, y down):
    an icon draws in the unit square, scale being its size; a picture draws in pixels, scale 1."""

    def __init__(self, width, height=None, scale=None, background=None):
        self.width = width
        self.height = width if height is None else height
        self.scale = width if scale is None else scale
        start = [0.0, 0.0, 0.0, 0.0] if background is None else [v / 255.0 for v in background] + [1.0]
        self.pixels = [list(start) for _ in range(self.width * self.height)]

    def stroke(self, w):
        # A stroke never gets thinner than one pixel, or small icons would lose their lines.
        return max(w, 1.0 / self.scale)

    def fill(self, shape, paint, alpha=1.0):
        """paint: an (r, g, b) colour, or a function of (x, y) answering one."""
        s = self.scale
        x0, y0, x1, y1 = shape.box()
        for py in range(max(0, int(y0 * s) - 1), min(self.height, int(y1 * s) + 2)):
            for px in range(max(0, int(x0 * s) - 1), min(self.width, int(x1 * s) + 2)):
                self._cover(px, py, shape, paint, alpha)

    def _cover(self, px, py, shape, paint, alpha):
        s = self.scale
        x, y = (px + 0.5) / s, (py + 0.5) / s
        if shape.clear(x, y, _SURELY_CLEAR / s):
            hits = SAMPLES * SAMPLES if shape.inside(x, y) else 0
        else:
            hits = sum(1 for sy in range(SAMPLES) for sx in range(SAMPLES)
                       if shape.inside((px + (sx + 0.5) / SAMPLES) / s, (py + (sy + 0.5) / SAMPLES) / s))
        if hits == 0:
            return
        a = alpha * hits / (SAMPLES * SAMPLES)
        colour = paint(x, y) if callable(paint) else paint
        pixel = self.pixels[py * self.width + px]
        for i in range(3):
            pixel[i] = colour[i] / 255.0 * a + pixel[i] * (1 - a)
        pixel[3] = a + pixel[3] * (1 - a)

    def rows(self, channels):
        """Straight (not premultiplied) 8-bit rows, top row first: RGBA with 4 channels, RGB with 3 (for a
        canvas with an opaque background)."""
        result = []
        for py in range(self.height):
            row = bytearray()
            for r, g, b, a in self.pixels[py * self.width:(py + 1) * self.width]:
                if a <= 0:
                    row += bytes(channels)
                    continue
                row += bytes(min(255, round(c / a * 255)) for c in (r, g, b))
                if channels == 4:
                    row.append(min(255, round(a * 255)))
            result.append(bytes(row))
        return result

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
