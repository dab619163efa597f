#!/usr/bin/env python3
"""Draws the pictures of the built-in skin "vessa": the background with its
shape (pure red is cut away), the button strips, the animator and the status
indicators, as .bmp files for the resource compiler.

    make_skin_art.py OUTPUT_FOLDER [--png]

--png also writes a PNG of each picture to look at."""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import bmpio  # noqa: E402
import glyphs  # noqa: E402
from palette import *  # noqa: E402,F401,F403
from raster import Canvas, clamp, mix, sd_box, sd_circle  # noqa: E402
import background  # noqa: E402

# Name, width, height of one state row, bits per pixel, glyph, glyph size in pixels.
BUTTONS = [
    ("back", 24, 19, 8, glyphs.back, 13),
    ("forward", 22, 19, 8, glyphs.forward, 13),
    ("stop", 24, 19, 8, glyphs.stop, 12),
    ("home", 25, 20, 8, glyphs.home, 14),
    ("refresh", 25, 19, 8, glyphs.refresh, 13),
    ("favorites", 24, 20, 8, glyphs.favorites, 14),
    ("print", 21, 20, 8, glyphs.printer, 14),
    ("generic", 16, 16, 4, glyphs.generic, 9),
    ("manager", 24, 20, 8, glyphs.manager, 13),
    ("editsource", 24, 20, 8, glyphs.edit_source, 14),
    ("workoffline", 18, 20, 8, glyphs.work_offline, 13),
]

ROUND_BUTTONS = [("close", glyphs.close), ("minimize", glyphs.minimize), ("menu", glyphs.menu)]


def key_row(width, height, glyph, size, state, back=DECK):
    """One state of a deck key: 0 normal, 1 focused, 2 pressed."""
    c = Canvas(width, height, back)
    body = (KEY, KEY_FOCUS, KEY_DOWN)[state]
    x0, y0, x1, y1 = 1.0, 1.0, width - 1.0, height - 1.0
    c.fill(lambda x, y: sd_box(x, y, x0, y0, x1, y1, 4.0), KEY_EDGE, (x0, y0, x1, y1))
    c.fill(lambda x, y: sd_box(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3.0),
           lambda x, y: mix(mix(body, KEY_LIGHT, 0.35), body, clamp((y - y0) / 4.0)) if state != 2 else body,
           (x0, y0, x1, y1))
    if state == 2:
        c.fill(lambda x, y: sd_box(x, y, x0 + 1, y0 + 1, x1 - 1, y0 + 3, 2.0), KEY_EDGE, (x0, y0, x1, y0 + 3),
               alpha=0.6)
    colour = (GLYPH, ACCENT_LIGHT, ACCENT_BRIGHT)[state]
    pen = glyphs.Pen(c, width / 2, height / 2, size, colour, body, 0, 1 if state == 2 else 0)
    glyph(pen)
    return c


def strip(rows):
    out = Canvas(rows[0].width, sum(r.height for r in rows))
    y = 0
    for r in rows:
        out.blit(r, 0, y)
        y += r.height
    return out


def round_row(glyph, state, name):
    c = Canvas(20, 20, PILL)
    fill = (ROUND, ROUND_FOCUS, ROUND_DOWN)[state]
    c.fill(lambda x, y: sd_circle(x, y, 10, 10, 8.6), ROUND_EDGE, (0, 0, 20, 20))
    c.fill(lambda x, y: sd_circle(x, y, 10, 10, 7.6),
           lambda x, y: mix(mix(fill, KEY_LIGHT, 0.4), fill, clamp((y - 3) / 8.0)) if state != 2 else fill,
           (0, 0, 20, 20))
    hot = CLOSE_RED if name == "close" else ACCENT_LIGHT
    colour = (GLYPH, hot, ACCENT_BRIGHT if name != "close" else CLOSE_RED_LIGHT)[state]
    glyph(glyphs.Pen(c, 10, 10, 11.5, colour, fill, 0, 0.6 if state == 2 else 0))
    return c


def go_row(state):
    c = Canvas(29, 32, PANEL)
    fill = (ACCENT, ACCENT_LIGHT, ACCENT_DARK)[state]
    c.fill(lambda x, y: sd_box(x, y, 1, 1, 28, 31, 5), ACCENT_EDGE, (0, 0, 29, 32))
    c.fill(lambda x, y: sd_box(x, y, 2, 2, 27, 30, 4),
           lambda x, y: mix(mix(fill, (1, 1, 1), 0.25), fill, clamp((y - 2) / 14.0)), (0, 0, 29, 32))
    glyphs.go(glyphs.Pen(c, 14.5, 16, 15, (1, 1, 1), fill, 0, 1 if state == 2 else 0))
    return c


def animator_frame(frame, state):
    w, h = 309, 42
    c = Canvas(w, h, GLASS)
    c.fill(lambda x, y: -1, lambda x, y: mix(GLASS_TOP, GLASS, clamp(y / (h * 0.55))), (0, 0, w, h))
    c.fill(lambda x, y: abs(sd_box(x, y, 0.5, 0.5, w - 0.5, h - 0.5, 5)) - 0.5, GLASS_EDGE, (0, 0, w, h))
    dim = 0.8 if state == 2 else 1.0

    def tone(col, k=1.0):
        return (col[0] * dim * k, col[1] * dim * k, col[2] * dim * k)

    # An orbit: a bright dot with a fading tail, one seventh of a turn per frame.
    ox, oy, r = 26.0, 21.0, 11.5
    c.fill(lambda x, y: abs(sd_circle(x, y, ox, oy, r)) - 0.7, tone(ORBIT), (ox - r - 2, oy - r - 2, ox + r + 2, oy + r + 2))
    c.fill(lambda x, y: sd_circle(x, y, ox, oy, 4.2), tone(ACCENT), (ox - 5, oy - 5, ox + 5, oy + 5))
    head = -math.pi / 2 + frame * 2 * math.pi / 7
    for i in range(12, -1, -1):
        a = head - i * 0.11
        t = 1 - i / 13.0
        px, py = ox + r * math.cos(a), oy + r * math.sin(a)
        rad = 1.0 + 1.6 * t
        c.fill(lambda x, y, px=px, py=py, rad=rad: sd_circle(x, y, px, py, rad), tone(ACCENT_BRIGHT),
               (px - 3, py - 3, px + 3, py + 3), alpha=0.25 + 0.75 * t * t)
    # The word mark.
    glyphs.word_mark(c, 50, 28.5, 13, 2.4, tone(WORDMARK))
    # A pulse travelling along seven bars.
    for j in range(7):
        phase = 2 * math.pi * (j - frame) / 7
        level = 0.5 + 0.5 * math.cos(phase)
        bh = 6 + 22 * level
        bx = 196 + j * 14
        col = mix(tone(BAR_LOW), tone(ACCENT_BRIGHT), level)
        c.fill(lambda x, y, bx=bx, bh=bh: sd_box(x, y, bx, 21 - bh / 2, bx + 8, 21 + bh / 2, 2.0), col,
               (bx - 1, 0, bx + 9, h))
    return c


def animator():
    frames = [[animator_frame(f, s) for f in range(7)] for s in range(3)]
    out = Canvas(309 * 7, 42 * 3)
    for s in range(3):
        for f in range(7):
            out.blit(frames[s][f], 309 * f, 42 * s)
    return out


def indicator(kind):
    c = Canvas(17, 17, PANEL)
    pen = glyphs.Pen(c, 8.5, 8.5, 15, INDICATOR, PANEL)
    if kind == "online":
        glyphs.globe(glyphs.Pen(c, 8.5, 8.5, 15, ACCENT_DARK, PANEL))
    elif kind == "offline":
        glyphs.globe(glyphs.Pen(c, 8.5, 8.5, 15, INDICATOR_DIM, PANEL))
        pen.line([(-7, 7), (7, -7)], 3.4, PANEL)
        pen.line([(-6.4, 6.4), (6.4, -6.4)], 1.8, CLOSE_RED)
    elif kind == "secure":
        glyphs.padlock(pen, True, LOCK_GOLD, INDICATOR)
    else:
        glyphs.padlock(pen, False, INDICATOR_DIM, INDICATOR_DIM)
    return c


def save(out, name, canvas, bpp, png, mask=None):
    pixels = canvas.rgb8()
    if mask is not None:
        pixels = [bmpio.TRANSPARENT if m else p for p, m in zip(pixels, mask)]
    bmpio.write_bmp(os.path.join(out, name + ".bmp"), canvas.width, canvas.height, pixels, bpp, mask)
    if png:
        bmpio.write_png(os.path.join(out, name + ".png"), canvas.width, canvas.height, pixels)


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    out, png = argv[1], "--png" in argv[2:]
    os.makedirs(out, exist_ok=True)
    for name, w, h, bpp, glyph, size in BUTTONS:
        save(out, name, strip([key_row(w, h, glyph, size, s) for s in range(3)]), bpp, png)
    for name, glyph in ROUND_BUTTONS:
        save(out, name, strip([round_row(glyph, s, name) for s in range(3)]), 24 if name == "menu" else 8, png)
    save(out, "go", strip([go_row(s) for s in range(3)]), 8, png)
    save(out, "animator", animator(), 8, png)
    for kind in ("online", "offline", "secure", "notsecure"):
        save(out, kind, indicator(kind), 8, png)
    canvas, mask = background.draw()
    save(out, "background", canvas, 8, png, mask)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
