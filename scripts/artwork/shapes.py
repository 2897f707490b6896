"""Shapes: each answers whether a point lies inside it, the box outside which it has none, and whether its
boundary surely keeps clear of a point by a margin (False when it cannot tell), so that a canvas need not
sample a pixel that lies wholly inside or outside."""

import bisect
import math


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def box(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def inside(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r

    def clear(self, x, y, margin):
        return abs(math.hypot(x - self.cx, y - self.cy) - self.r) > margin


class Ellipse:
    """An axis-aligned ellipse: a circle on a face seen at a slant."""

    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def box(self):
        return self.cx - self.rx, self.cy - self.ry, self.cx + self.rx, self.cy + self.ry

    def inside(self, x, y):
        return ((x - self.cx) / self.rx) ** 2 + ((y - self.cy) / self.ry) ** 2 <= 1

    def clear(self, x, y, margin):
        # Stretching the unit circle to the ellipse moves no two points closer than the shorter radius
        # times their distance, so the distance in the unit circle's frame gives a bound.
        rho = math.hypot((x - self.cx) / self.rx, (y - self.cy) / self.ry)
        return abs(rho - 1) * min(self.rx, self.ry) > margin


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

    def clear(self, x, y, margin):
        band = abs(math.hypot(x - self.cx, y - self.cy) - self.r) - self.w / 2
        if band > 0:
            return band > margin  # outside the whole ring, so outside any part of it
        return self.a0 is None and -band > margin


class Segment:
    """A stroke of width w with round ends."""

    def __init__(self, x0, y0, x1, y1, w):
        self.x0, self.y0, self.x1, self.y1, self.w = x0, y0, x1, y1, w
        self.dx, self.dy = x1 - x0, y1 - y0
        self.length2 = self.dx * self.dx + self.dy * self.dy
        self.reach2 = w * w / 4

    def box(self):
        h = self.w / 2
        return (min(self.x0, self.x1) - h, min(self.y0, self.y1) - h, max(self.x0, self.x1) + h,
                max(self.y0, self.y1) + h)

    def inside(self, x, y):
        dx, dy, length2 = self.dx, self.dy, self.length2
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - self.x0) * dx + (y - self.y0) * dy) / length2))
        px, py = self.x0 + t * dx, self.y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= self.reach2

    def clear(self, x, y, margin):
        return abs(_segment_distance(x, y, self.x0, self.y0, self.x1, self.y1) - self.w / 2) > margin


class Polygon:
    """A polygon, inside by the even-odd rule."""

    def __init__(self, points):
        self.points = points
        n = len(points)
        self.edges = [(*points[i], *points[(i + 1) % n]) for i in range(n)]
        self.edge_boxes = [(min(xa, xb), min(ya, yb), max(xa, xb), max(ya, yb))
                           for xa, ya, xb, yb in self.edges]
        self.crossings = {}  # y -> the sorted x where the edges cross that line; a canvas asks row by row

    def box(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def inside(self, x, y):
        crossings = self.crossings.get(y)
        if crossings is None:
            crossings = sorted(xa + (y - ya) * (xb - xa) / (yb - ya) for xa, ya, xb, yb in self.edges
                               if (ya > y) != (yb > y))
            self.crossings[y] = crossings
        return (len(crossings) - bisect.bisect_right(crossings, x)) % 2 == 1

    def clear(self, x, y, margin):
        for (x0, y0, x1, y1), edge in zip(self.edge_boxes, self.edges):
            if x + margin < x0 or x - margin > x1 or y + margin < y0 or y - margin > y1:
                continue
            if _segment_distance(x, y, *edge) <= margin:
                return False
        return True


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

    def clear(self, x, y, margin):
        # The distance to a rounded box: the box shrunk by the radius, grown again by it.
        r = self.radius
        qx = abs(x - (self.x0 + self.x1) / 2) - ((self.x1 - self.x0) / 2 - r)
        qy = abs(y - (self.y0 + self.y1) / 2) - ((self.y1 - self.y0) / 2 - r)
        return abs(math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r) > margin


class Minus:
    """A shape with a hole cut out of it."""

    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole

    def box(self):
        return self.shape.box()

    def inside(self, x, y):
        return self.shape.inside(x, y) and not self.hole.inside(x, y)

    def clear(self, x, y, margin):
        # The boundary of the difference lies on the boundaries of the two.
        return self.shape.clear(x, y, margin) and self.hole.clear(x, y, margin)


class Shifted:
    """A shape moved by (dx, dy)."""

    def __init__(self, shape, dx, dy):
        self.shape, self.dx, self.dy = shape, dx, dy

    def box(self):
        x0, y0, x1, y1 = self.shape.box()
        return x0 + self.dx, y0 + self.dy, x1 + self.dx, y1 + self.dy

    def inside(self, x, y):
        return self.shape.inside(x - self.dx, y - self.dy)

    def clear(self, x, y, margin):
        return self.shape.clear(x - self.dx, y - self.dy, margin)


def _segment_distance(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
    return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy))
