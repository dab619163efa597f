"""Button glyphs and the lettering of the word mark, drawn with strokes on a
16-unit grid centred on the glyph (-8 to 8 in x and y, y down)."""

import math

from raster import sd_arc, sd_box, sd_circle, sd_polygon, sd_polyline


class Pen:
    """Maps glyph units to pixels: centre cx, cy, size pixels for 16 units."""

    def __init__(self, canvas, cx, cy, size, colour, back, dx=0.0, dy=0.0):
        self.c, self.cx, self.cy, self.k = canvas, cx + dx, cy + dy, size / 16.0
        self.colour, self.back = colour, back

    def _bbox(self, pts, pad):
        xs = [self.cx + x * self.k for x, _ in pts]
        ys = [self.cy + y * self.k for _, y in pts]
        return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)

    def _p(self, pts):
        return [(self.cx + x * self.k, self.cy + y * self.k) for x, y in pts]

    def line(self, pts, width=2.0, colour=None):
        p, w = self._p(pts), width * self.k
        self.c.fill(lambda x, y: sd_polyline(x, y, p) - w / 2, colour or self.colour, self._bbox(pts, w + 1))

    def poly(self, pts, colour=None):
        p = self._p(pts)
        self.c.fill(lambda x, y: sd_polygon(x, y, p), colour or self.colour, self._bbox(pts, 1))

    def box(self, x0, y0, x1, y1, r=0.0, colour=None, outline=None):
        a, b = self._p([(x0, y0), (x1, y1)])
        rr = r * self.k
        if outline is None:
            self.c.fill(lambda x, y: sd_box(x, y, a[0], a[1], b[0], b[1], rr), colour or self.colour,
                        (a[0], a[1], b[0], b[1]))
        else:
            w = outline * self.k
            self.c.fill(lambda x, y: abs(sd_box(x, y, a[0], a[1], b[0], b[1], rr)) - w / 2, colour or self.colour,
                        (a[0] - w, a[1] - w, b[0] + w, b[1] + w))

    def arc(self, cx, cy, r, a0, a1, width=2.0, colour=None):
        (px, py), rr, w = self._p([(cx, cy)])[0], r * self.k, width * self.k
        self.c.fill(lambda x, y: sd_arc(x, y, px, py, rr, a0, a1) - w / 2, colour or self.colour,
                    (px - rr - w, py - rr - w, px + rr + w, py + rr + w))

    def dot(self, cx, cy, r, colour=None):
        (px, py), rr = self._p([(cx, cy)])[0], r * self.k
        self.c.fill(lambda x, y: sd_circle(x, y, px, py, rr), colour or self.colour,
                    (px - rr, py - rr, px + rr, py + rr))

    def ellipse(self, cx, cy, rx, ry, width=2.0, colour=None):
        (px, py), w = self._p([(cx, cy)])[0], width * self.k
        ax, ay = rx * self.k, ry * self.k
        m = min(ax, ay)
        self.c.fill(lambda x, y: abs((math.hypot((x - px) / ax, (y - py) / ay) - 1) * m) - w / 2,
                    colour or self.colour, (px - ax - w, py - ay - w, px + ax + w, py + ay + w))


def arrow(pen, direction, width=2.3):
    s = direction
    pen.line([(-5.5 * s, 0), (5.5 * s, 0)], width)
    pen.line([(0.5 * s, -5), (5.8 * s, 0), (0.5 * s, 5)], width)


def back(pen):
    arrow(pen, -1)


def forward(pen):
    arrow(pen, 1)


def cross(pen, r=4.6, width=2.3):
    pen.line([(-r, -r), (r, r)], width)
    pen.line([(-r, r), (r, -r)], width)


def stop(pen):
    cross(pen)


def refresh(pen):
    a0, a1 = -math.pi / 2 + 0.95, -math.pi / 2 - 0.25
    r, cy = 5.2, 0.8
    pen.arc(0, cy, r, a0, a1, 2.2)
    ex, ey = r * math.cos(a1), cy + r * math.sin(a1)
    tx, ty = -math.sin(a1), math.cos(a1)  # clockwise tangent
    nx, ny = math.cos(a1), math.sin(a1)
    pen.poly([(ex - tx * 1.0 + nx * 3.8, ey - ty * 1.0 + ny * 3.8), (ex + tx * 4.4, ey + ty * 4.4),
              (ex - tx * 1.0 - nx * 3.8, ey - ty * 1.0 - ny * 3.8)])


def home(pen):
    pen.line([(-7.2, 0.2), (0, -6.6), (7.2, 0.2)], 2.2)
    pen.box(-4.8, -1.6, 4.8, 7.0, 0.8, outline=2.0)
    pen.box(-1.4, 2.4, 1.4, 7.0)


def star(pen, outer=7.6, inner=3.3):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((r * math.cos(a), 0.6 + r * math.sin(a)))
    pen.poly(pts)


def favorites(pen):
    star(pen)


def printer(pen):
    pen.box(-4.2, -7.2, 4.2, -2.5, 0.5, outline=1.8)
    pen.box(-7.4, -3.2, 7.4, 4.2, 2.0)
    pen.box(-4.4, 1.4, 4.4, 7.6, 0.4, colour=pen.back)
    pen.box(-4.4, 1.4, 4.4, 7.6, 0.4, outline=1.8)
    pen.dot(4.6, -0.6, 0.9, colour=pen.back)


def menu(pen):
    for y in (-4.2, 0, 4.2):
        pen.line([(-5, y), (5, y)], 2.0)


def minimize(pen):
    pen.line([(-4.8, 3.6), (4.8, 3.6)], 2.4)


def close(pen):
    cross(pen, 4.2, 2.4)


def go(pen):
    pen.line([(-5.5, 0), (4.6, 0)], 2.8)
    pen.line([(0, -5.2), (5.4, 0), (0, 5.2)], 2.8)


def edit_source(pen):
    pen.line([(-3.2, -5.2), (-7.4, 0), (-3.2, 5.2)], 2.0)
    pen.line([(3.2, -5.2), (7.4, 0), (3.2, 5.2)], 2.0)
    pen.line([(1.6, -6.6), (-1.6, 6.6)], 1.7)


def manager(pen):
    for x, y in ((-6.8, -6.8), (0.8, -6.8), (-6.8, 0.8), (0.8, 0.8)):
        pen.box(x + 0.9, y + 0.9, x + 5.1, y + 5.1, 1.2, outline=1.8)
    pen.box(1.7, 1.7, 5.0, 5.0, 0.8)


def work_offline(pen):
    pen.line([(-2.4, -7.6), (-2.4, -3.0)], 1.8)
    pen.line([(2.4, -7.6), (2.4, -3.0)], 1.8)
    pen.box(-4.8, -3.4, 4.8, 2.6, 1.6)
    pen.poly([(-3.0, 2.0), (3.0, 2.0), (1.2, 4.6), (-1.2, 4.6)])
    pen.line([(0, 4.2), (0, 7.8)], 1.8)


def generic(pen):
    pen.poly([(0, -5.5), (5.5, 0), (0, 5.5), (-5.5, 0)])


def globe(pen, colour=None):
    pen.ellipse(0, 0, 6.6, 6.6, 1.5, colour)
    pen.ellipse(0, 0, 2.8, 6.6, 1.3, colour)
    pen.line([(-6.4, 0), (6.4, 0)], 1.3, colour)


def padlock(pen, shut, body, shackle):
    if shut:
        pen.arc(0, -2.2, 3.6, math.pi, 2 * math.pi, 2.0, shackle)
        pen.line([(-3.6, -2.4), (-3.6, 0)], 2.0, shackle)
        pen.line([(3.6, -2.4), (3.6, 0)], 2.0, shackle)
    else:
        pen.arc(3.2, -3.6, 3.6, math.pi, 2 * math.pi, 2.0, shackle)
        pen.line([(6.8, -3.8), (6.8, -1.8)], 2.0, shackle)
        pen.line([(-0.4, -3.8), (-0.4, 0)], 2.0, shackle)
    pen.box(-5.6, -0.4, 5.6, 7.4, 1.4, body)
    pen.dot(0, 2.9, 1.25, pen.back)
    pen.line([(0, 3), (0, 5.2)], 1.2, pen.back)


# ---- lettering ------------------------------------------------------------

def word_mark(canvas, x, baseline, xheight, stroke, colour, text="vessa", spacing=0.22):
    """Lower-case stroke letters v, e, s, a; returns the right edge."""
    h = xheight
    top = baseline - h
    w = stroke
    pen_x = x

    def seg(pts):
        canvas.fill(lambda px, py: sd_polyline(px, py, pts) - w / 2, colour,
                    (min(p[0] for p in pts) - w, min(p[1] for p in pts) - w,
                     max(p[0] for p in pts) + w, max(p[1] for p in pts) + w))

    def arc(cx, cy, r, a0, a1):
        canvas.fill(lambda px, py: sd_arc(px, py, cx, cy, r, a0, a1) - w / 2, colour,
                    (cx - r - w, cy - r - w, cx + r + w, cy + r + w))

    for ch in text:
        if ch == "v":
            width = 0.82 * h
            seg([(pen_x + w / 2, top + w / 2), (pen_x + width / 2, baseline - w / 2),
                 (pen_x + width - w / 2, top + w / 2)])
        elif ch == "e":
            width = 0.9 * h
            r = (h - w) / 2
            cx, cy = pen_x + width / 2, top + h / 2
            arc(cx, cy, r, 0.72, 2 * math.pi)
            seg([(cx - r, cy), (cx + r, cy)])
        elif ch == "s":
            width = 0.7 * h
            r = (h - w) / 4
            cx = pen_x + width / 2
            arc(cx, top + w / 2 + r, r, math.pi / 2, 2 * math.pi - 0.55)
            arc(cx, baseline - w / 2 - r, r, -math.pi / 2, math.pi - 0.55)
        elif ch == "a":
            width = 0.9 * h
            r = (h - w) / 2
            cx, cy = pen_x + r + w / 2, top + h / 2
            arc(cx, cy, r, 0, 2 * math.pi - 1e-6)
            seg([(cx + r, top + w / 2), (cx + r, baseline - w / 2 + 0.01)])
            width = 2 * r + w
        pen_x += width + spacing * h
    return pen_x - spacing * h


def word_mark_width(xheight, text="vessa", spacing=0.22):
    widths = {"v": 0.82, "e": 0.9, "s": 0.7, "a": 1.0}
    return sum(widths[c] * xheight for c in text) + spacing * xheight * (len(text) - 1)
