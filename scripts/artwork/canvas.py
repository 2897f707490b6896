"""The canvas pictures are rasterised on, with a few samples per pixel each way."""

import math

from artwork.shapes import Arc, Circle, Polygon, Rect, Segment

# However many samples a pixel has, none lies 0.71 pixel from its centre; a pixel whose centre is farther
# than this from every boundary of a shape is wholly inside or outside it.
_SURELY_CLEAR = 0.75
_BLOCK = 8  # pixels a side


class Canvas:
    """Premultiplied RGBA floats; shapes are composited over what is there, each weighted by the share of
    a pixel's samples it covers. Drawings give coordinates in units of scale pixels (x to the right, y down):
    an icon draws in the unit square, scale being its size; a picture draws in pixels, scale 1."""

    def __init__(self, width, height=None, scale=None, background=None, samples=4):
        self.offsets = [(k + 0.5) / samples for k in range(samples)]  # of a pixel's samples, each way
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
        left, right = max(0, int(x0 * s) - 1), min(self.width, int(x1 * s) + 2)
        top, bottom = max(0, int(y0 * s) - 1), min(self.height, int(y1 * s) + 2)
        # Block by block: a block whose centre is clear of the boundary by more than half its diagonal lies
        # wholly inside or outside, and needs no sampling.
        for by in range(top, bottom, _BLOCK):
            for bx in range(left, right, _BLOCK):
                bw, bh = min(_BLOCK, right - bx), min(_BLOCK, bottom - by)
                cx, cy = (bx + bw / 2) / s, (by + bh / 2) / s
                if shape.clear(cx, cy, (math.hypot(bw, bh) / 2 + 0.25) / s):
                    if shape.inside(cx, cy):
                        for py in range(by, by + bh):
                            for px in range(bx, bx + bw):
                                self._blend(px, py, paint, alpha)
                    continue
                for py in range(by, by + bh):
                    for px in range(bx, bx + bw):
                        self._cover(px, py, shape, paint, alpha)

    def _cover(self, px, py, shape, paint, alpha):
        s = self.scale
        x, y = (px + 0.5) / s, (py + 0.5) / s
        if shape.clear(x, y, _SURELY_CLEAR / s):
            hits = len(self.offsets) ** 2 if shape.inside(x, y) else 0
        else:
            inside = shape.inside
            hits = 0
            for sy in self.offsets:
                ys = (py + sy) / s
                for sx in self.offsets:
                    if inside((px + sx) / s, ys):
                        hits += 1
        if hits:
            self._blend(px, py, paint, alpha * hits / len(self.offsets) ** 2)

    def _blend(self, px, py, paint, a):
        """Composites paint over pixel (px, py) with coverage a."""
        colour = paint((px + 0.5) / self.scale, (py + 0.5) / self.scale) if callable(paint) else paint
        pixel = self.pixels[py * self.width + px]
        for i in range(3):
            pixel[i] = colour[i] / 255.0 * a + pixel[i] * (1 - a)
        pixel[3] = a + pixel[3] * (1 - a)

    def rows(self, channels):
        """Straight (not premultiplied) 8-bit rows, top row first: RGBA with 4 channels, RGB with 3 (for a
        canvas with an opaque background)."""

        def straight(pixel):
            r, g, b, a = pixel
            if a <= 0:
                return bytes(channels)
            rgb = [min(255, round(c / a * 255)) for c in (r, g, b)]
            return bytes(rgb + [min(255, round(a * 255))] if channels == 4 else rgb)

        return [b"".join(map(straight, self.pixels[py * self.width:(py + 1) * self.width]))
                for py in range(self.height)]

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
