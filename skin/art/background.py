"""The background of the built-in skin, 796 x 568: a graphite body with a
light screen, a control fin at the top right and a narrower deck below.

Pixel positions are window positions: a control at client x, y sits at
x + 3, y + 3 here (the window's 3-pixel sizing frame), and the layout moves
controls by a few pixels as it scales, so every control lies on a flat area
with room around it."""

import math

import glyphs
from palette import *  # noqa: F401,F403
from raster import Canvas, clamp, mix, sd_box, sd_circle, smin

W, H = 796, 568
DECK_TOP = 452


def body_distance(x, y):
    upper = sd_box(x, y, 2, 2, 765, 494, 22)
    deck = sd_box(x, y, 20, 400, 747, 566, 24)
    fin = sd_box(x, y, 738, 2, 793, 88, 16)
    # Cut flat along the top, where the fin's fillet would bulge over the edge.
    return max(smin(smin(upper, deck, 18), fin, 10), 2 - y)


def base(canvas):
    """Body colours, and the mask of what is cut away."""
    dist = [0.0] * (W * H)
    for y in range(H):
        for x in range(W):
            dist[y * W + x] = body_distance(x + 0.5, y + 0.5)
    mask = [d > 0 for d in dist]
    px = canvas.px
    for y in range(H):
        if y < DECK_TOP:
            colour = mix(BODY_TOP, BODY_BOTTOM, y / DECK_TOP)
        elif y == DECK_TOP:
            colour = GROOVE_DARK
        elif y == DECK_TOP + 1:
            colour = GROOVE_LIGHT
        else:
            colour = DECK
        px[y * W:(y + 1) * W] = [colour] * W
    return dist, mask


def bevel(canvas, dist, mask):
    """A dark rim on the cut edge and a lit bevel inside it, lit from the top left."""
    px = canvas.px
    for y in range(1, H - 1):
        for x in range(1, W - 1):
            i = y * W + x
            d = dist[i]
            if mask[i] or d < -4.0:
                continue
            if d > -1.3:
                px[i] = RIM
                continue
            nx, ny = dist[i + 1] - dist[i - 1], dist[i + W] - dist[i - W]
            n = math.hypot(nx, ny) or 1.0
            light = (-nx * 0.6 - ny * 0.8) / n
            fade = clamp((d + 4.0) / 2.7)
            if light > 0:
                px[i] = mix(px[i], BEVEL_LIGHT, light * 0.85 * fade)
            else:
                px[i] = mix(px[i], BEVEL_DARK, -light * 0.75 * fade)


def recess(canvas, x0, y0, x1, y1, r, inner, width=4):
    """A dark bezel with a lit lower lip around an inner area."""
    canvas.fill(lambda x, y: sd_box(x, y, x0, y0 + 1, x1, y1 + 1, r), BEZEL_LIGHT, (x0, y0, x1, y1 + 2))
    canvas.fill(lambda x, y: sd_box(x, y, x0, y0, x1, y1, r), BEZEL, (x0, y0, x1, y1))
    canvas.fill(lambda x, y: sd_box(x, y, x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 2)), inner,
                (x0, y0, x1, y1))


def screen(canvas):
    x0, y0, x1, y1 = 58, 8, 753, 447
    recess(canvas, x0, y0, x1, y1, 12, PANEL, 5)
    # A soft shadow under the bezel's top edge.
    canvas.fill(lambda x, y: max(sd_box(x, y, x0 + 5, y0 + 5, x1 - 5, y0 + 8, 0),
                                 sd_box(x, y, x0 + 5, y0 + 5, x1 - 5, y1 - 5, 7)),
                lambda x, y: mix(PANEL_SHADE, PANEL, clamp((y - y0 - 5) / 3.0)), (x0 + 5, y0 + 5, x1 - 5, y0 + 8))


def fin(canvas):
    canvas.fill(lambda x, y: sd_box(x, y, 757, 4, 785, 82, 14), GROOVE_LIGHT, (756, 3, 786, 83))
    canvas.fill(lambda x, y: sd_box(x, y, 757, 3, 785, 81, 14), PILL, (756, 2, 786, 82))


def emblem(canvas, cx, cy):
    canvas.fill(lambda x, y: sd_circle(x, y, cx, cy + 1, 16), BEZEL_LIGHT, (cx - 17, cy - 16, cx + 17, cy + 18))
    canvas.fill(lambda x, y: sd_circle(x, y, cx, cy, 16), BEZEL, (cx - 17, cy - 17, cx + 17, cy + 17))
    canvas.fill(lambda x, y: abs(sd_circle(x, y, cx, cy, 11.5)) - 1.2, ACCENT, (cx - 14, cy - 14, cx + 14, cy + 14))
    pen = glyphs.Pen(canvas, cx, cy, 16, ACCENT_BRIGHT, BEZEL)
    pen.line([(-4.6, -4.2), (0, 4.8), (4.6, -4.2)], 2.6)


def grip(canvas):
    """Dimples on the left side: the window is dragged by its body."""
    for row in range(9):
        for col in range(2):
            cx, cy = 24.5 + col * 11, 214.5 + row * 11
            canvas.fill(lambda x, y, cx=cx, cy=cy: sd_circle(x, y, cx, cy + 1, 2.4), GROOVE_LIGHT,
                        (cx - 3, cy - 3, cx + 3, cy + 4))
            canvas.fill(lambda x, y, cx=cx, cy=cy: sd_circle(x, y, cx, cy, 2.2), GROOVE_DARK,
                        (cx - 3, cy - 3, cx + 3, cy + 3))


def groove(canvas, x0, x1, y):
    canvas.fill(lambda x, yy: sd_box(x, yy, x0, y, x1, y + 1, 0.5), GROOVE_DARK, (x0, y, x1, y + 1))
    canvas.fill(lambda x, yy: sd_box(x, yy, x0, y + 1, x1, y + 2, 0.5), GROOVE_LIGHT, (x0, y + 1, x1, y + 2))


def accent_light(canvas, x0, x1, y):
    """A thin teal light strip that fades out at both ends."""
    mid, half = (x0 + x1) / 2, (x1 - x0) / 2
    for x in range(x0, x1):
        t = clamp(1 - abs(x + 0.5 - mid) / half) ** 0.7
        for yy in (y, y + 1):
            canvas.put(x, yy, mix(canvas.get(x, yy), ACCENT_LIGHT, t))


def deck(canvas):
    recess(canvas, 236, 457, 560, 512, 9, GLASS, 4)
    groove(canvas, 44, 262, 548)
    groove(canvas, 534, 726, 548)
    width = glyphs.word_mark_width(9)
    glyphs.word_mark(canvas, 390.5 - width / 2, 555, 9, 1.5, ENGRAVE)


def draw():
    canvas = Canvas(W, H)
    dist, mask = base(canvas)
    screen(canvas)
    fin(canvas)
    emblem(canvas, 30, 38)
    grip(canvas)
    deck(canvas)
    accent_light(canvas, 280, 512, DECK_TOP)
    bevel(canvas, dist, mask)
    return canvas, mask
