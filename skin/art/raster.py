"""A small anti-aliased rasteriser: shapes are signed distance functions
(negative inside), painted with one pixel of edge coverage."""

import math


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def hexrgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


# ---- distance functions -------------------------------------------------

def sd_box(px, py, x0, y0, x1, y1, r=0.0):
    """Rounded box from x0, y0 to x1, y1 with corner radius r."""
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    hx, hy = (x1 - x0) * 0.5 - r, (y1 - y0) * 0.5 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    ox, oy = max(qx, 0.0), max(qy, 0.0)
    return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / length2)
    return math.hypot(px - ax - dx * t, py - ay - dy * t)


def sd_polyline(px, py, pts):
    return min(sd_segment(px, py, *pts[i], *pts[i + 1]) for i in range(len(pts) - 1))


def sd_polygon(px, py, pts):
    d = float("inf")
    inside = False
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[i - 1]
        d = min(d, sd_segment(px, py, ax, ay, bx, by))
        if (ay > py) != (by > py) and px < (bx - ax) * (py - ay) / (by - ay) + ax:
            inside = not inside
    return -d if inside else d


def sd_arc(px, py, cx, cy, r, a0, a1):
    """Distance to the circular arc from angle a0 to a1 (radians, y down,
    counter-clockwise on screen means decreasing angle)."""
    ang = math.atan2(py - cy, px - cx)
    span = (a1 - a0) % (2 * math.pi)
    rel = (ang - a0) % (2 * math.pi)
    if rel <= span:
        return abs(math.hypot(px - cx, py - cy) - r)
    e0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    e1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
    return min(math.hypot(px - e0[0], py - e0[1]), math.hypot(px - e1[0], py - e1[1]))


def smin(a, b, k):
    """Union of two distances with a rounded fillet of size k."""
    h = max(k - abs(a - b), 0.0) / k
    return min(a, b) - h * h * k * 0.25


# ---- canvas ---------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, colour=(0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.px = [colour] * (width * height)

    def get(self, x, y):
        return self.px[y * self.width + x]

    def put(self, x, y, colour):
        self.px[y * self.width + x] = colour

    def fill(self, sdf, paint, bbox=None, alpha=1.0, dx=0.0, dy=0.0):
        """Paints the inside of sdf (shifted by dx, dy) with a colour or a
        function of (x, y); bbox limits the pixels looked at."""
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0 + dx)) - 1), max(0, int(math.floor(y0 + dy)) - 1)
        x1, y1 = min(self.width, int(math.ceil(x1 + dx)) + 1), min(self.height, int(math.ceil(y1 + dy)) + 1)
        flat = not callable(paint)
        w = self.width
        px = self.px
        for y in range(y0, y1):
            sy = y + 0.5 - dy
            for x in range(x0, x1):
                d = sdf(x + 0.5 - dx, sy)
                if d >= 0.5:
                    continue
                cov = alpha if d <= -0.5 else (0.5 - d) * alpha
                c = paint if flat else paint(x, y)
                i = y * w + x
                if cov >= 1.0:
                    px[i] = c
                else:
                    o = px[i]
                    px[i] = (o[0] + (c[0] - o[0]) * cov, o[1] + (c[1] - o[1]) * cov, o[2] + (c[2] - o[2]) * cov)

    def stroke(self, sdf, width, paint, bbox=None, alpha=1.0, dx=0.0, dy=0.0):
        """Paints a band of the given width along the zero line of sdf (or
        around a curve whose sdf is an unsigned distance)."""
        half = width * 0.5
        self.fill(lambda x, y: abs(sdf(x, y)) - half, paint, bbox, alpha, dx, dy)

    def blit(self, other, ox, oy):
        for y in range(other.height):
            row = (oy + y) * self.width + ox
            self.px[row:row + other.width] = other.px[y * other.width:(y + 1) * other.width]

    def crop(self, x, y, w, h):
        out = Canvas(w, h)
        for row in range(h):
            start = (y + row) * self.width + x
            out.px[row * w:(row + 1) * w] = self.px[start:start + w]
        return out

    def rgb8(self):
        return [(int(clamp(c[0]) * 255 + 0.5), int(clamp(c[1]) * 255 + 0.5), int(clamp(c[2]) * 255 + 0.5))
                for c in self.px]
