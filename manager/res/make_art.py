#!/usr/bin/env python3
"""Draws the manager's pictures: the two toolbar strips (magenta where
transparent), the hot icons of the eight toolbar commands in 16 and 32
pixels, and the About picture.

Usage: make_art.py <output folder>
"""
import math
import struct
import sys
from pathlib import Path

MAGENTA = (255, 0, 255)
COMMANDS = ["addlink", "addfolder", "launch", "cut", "copy", "paste", "delete", "help"]


def page(u, v):
    return 0.22 <= u <= 0.72 and 0.12 <= v <= 0.88


def glyph(name, u, v, hot):
    """The colour of a command's picture at (u, v) in 0..1, or None for transparent."""
    dark = (30, 30, 30)
    accent = (40, 150, 240) if hot else (40, 110, 190)
    if name in ("addlink", "addfolder"):
        plus = (abs(u - 0.78) < 0.06 and abs(v - 0.25) < 0.18) or (abs(v - 0.25) < 0.06 and abs(u - 0.78) < 0.18)
        if plus:
            return (20, 160, 40)
        if name == "addlink" and page(u - 0.05, v):
            edge = min(u - 0.27, 0.77 - u, v - 0.12, 0.88 - v) < 0.06
            return dark if edge else (255, 255, 255)
        if name == "addfolder" and 0.1 <= u <= 0.85 and 0.4 <= v <= 0.85:
            return (200, 150, 30) if min(u - 0.1, 0.85 - u, v - 0.4, 0.85 - v) < 0.05 else (245, 205, 80)
        return None
    if name == "launch":  # an arrow to the right
        if 0.15 <= u <= 0.55 and abs(v - 0.5) < 0.12:
            return accent
        if 0.5 <= u <= 0.9 and abs(v - 0.5) < (0.9 - u) * 0.9:
            return accent
        return None
    if name == "cut":  # two crossed blades and rings
        for cx in (0.3, 0.7):
            if abs(math.hypot(u - cx, v - 0.75) - 0.13) < 0.05:
                return dark
        if abs((u - 0.5) - (v - 0.45) * 0.8) < 0.05 and v < 0.62:
            return (120, 120, 120)
        if abs((u - 0.5) + (v - 0.45) * 0.8) < 0.05 and v < 0.62:
            return (120, 120, 120)
        return None
    if name == "copy":
        for du, dv in ((0.0, 0.0), (0.18, 0.18)):
            uu, vv = u - du, v - dv
            if 0.1 <= uu <= 0.6 and 0.1 <= vv <= 0.7:
                edge = min(uu - 0.1, 0.6 - uu, vv - 0.1, 0.7 - vv) < 0.06
                if du or edge:
                    return dark if edge else (255, 255, 255)
        return None
    if name == "paste":
        if 0.35 <= u <= 0.65 and 0.06 <= v <= 0.2:
            return (120, 120, 120)
        if 0.15 <= u <= 0.85 and 0.12 <= v <= 0.92:
            edge = min(u - 0.15, 0.85 - u, v - 0.12, 0.92 - v) < 0.06
            return dark if edge else (210, 160, 90)
        return None
    if name == "delete":  # a red cross
        if (abs(u - v) < 0.1 or abs(u + v - 1) < 0.1) and 0.12 < u < 0.88:
            return (220, 30, 30) if hot else (180, 30, 30)
        return None
    if name == "help":  # a blue disc with a white mark
        d = math.hypot(u - 0.5, v - 0.5)
        if d > 0.42:
            return None
        mark = (abs(math.hypot(u - 0.5, v - 0.38) - 0.14) < 0.05 and v < 0.45) or (
            abs(u - 0.5) < 0.05 and 0.5 < v < 0.62) or math.hypot(u - 0.5, v - 0.75) < 0.05
        return (255, 255, 255) if mark else accent
    return None


def tree_glyph(name, u, v):
    """The tree's 16 x 16 item pictures; a "cut_" name is the same picture faded."""
    if name.startswith("cut_"):
        c = tree_glyph(name[4:], u, v)
        return None if c is None else tuple(200 + (x - 200) // 3 if x < 200 else x for x in c)
    dark = (40, 40, 40)
    folder_fill = {"folder": (245, 205, 80), "open": (250, 225, 130), "links": (110, 160, 230),
                   "groups": (120, 190, 90), "templates": (190, 150, 220)}
    if name in folder_fill:
        if name == "open" and 0.05 <= u <= 0.95 and 0.45 <= v <= 0.85 and u >= 0.05 + (0.85 - v) * 0.5:
            return folder_fill[name] if min(0.85 - v, 0.95 - u) > 0.06 else dark
        if 0.06 <= u <= 0.4 and 0.2 <= v <= 0.32:
            return dark
        if 0.06 <= u <= 0.94 and 0.3 <= v <= 0.85:
            edge = min(u - 0.06, 0.94 - u, v - 0.3, 0.85 - v) < 0.07
            return dark if edge else folder_fill[name]
        return None
    if name in ("link", "template"):
        if 0.2 <= u <= 0.8 and 0.08 <= v <= 0.92:
            edge = min(u - 0.2, 0.8 - u, v - 0.08, 0.92 - v) < 0.07
            if edge:
                return dark
            if name == "link" and abs(math.hypot(u - 0.5, v - 0.55) - 0.18) < 0.05:
                return (30, 110, 220)
            if name == "template" and (abs(v - 0.3) < 0.05 or (abs(u - 0.5) < 0.05 and v > 0.3)) and 0.3 < u < 0.7:
                return (150, 80, 200)
            return (255, 255, 255)
        return None
    return None


TREE_ICONS = ["links", "groups", "link", "folder", "open", "cut_folder", "cut_open", "cut_link", "templates",
              "template"]


def tree_icon(name):
    return icon_from(16, lambda u, v: tree_glyph(name, u, v))


def icon_from(size, colour):
    """A 32-bit icon of size x size; colour(u, v) gives a pixel's colour, None where it is transparent."""
    pixels = bytearray()
    opaque = {}
    for y in reversed(range(size)):
        for x in range(size):
            c = colour((x + 0.5) / size, (y + 0.5) / size)
            opaque[(x, y)] = c is not None
            r, g, b = c if c else (0, 0, 0)
            pixels += bytes((b, g, r, 255 if c else 0))
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if not opaque[(x, y)]:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    image = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0) + bytes(pixels) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 22)
    return header + entry + image


def bmp24(width, height, pixel):
    row_bytes = (width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def strip(size):
    def pixel(x, y):
        name = COMMANDS[x // size]
        c = glyph(name, (x % size + 0.5) / size, (y + 0.5) / size, False)
        return c if c else MAGENTA
    return bmp24(size * len(COMMANDS), size, pixel)


def icon(name, size):
    return icon_from(size, lambda u, v: glyph(name, u, v, True))


def about():
    w, h = 150, 92

    def pixel(x, y):
        u, v = x / w, y / h
        d = math.hypot(u - 0.3, (v - 0.5) * h / w)
        if d < 0.22:
            shade = 1 - d * 2
            return (int(30 + 40 * shade), int(90 + 60 * shade), int(200 + 55 * shade))
        if 0.58 < u < 0.95 and abs(v - 0.5) < 0.08:
            return (40, 40, 40)
        return (255, 255, 255)
    return bmp24(w, h, pixel)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "toolbar_small.bmp").write_bytes(strip(16))
    (out / "toolbar_large.bmp").write_bytes(strip(32))
    (out / "about.bmp").write_bytes(about())
    for name in TREE_ICONS:
        (out / f"tree_{name}.ico").write_bytes(tree_icon(name))
    for name in COMMANDS:
        (out / f"small_{name}.ico").write_bytes(icon(name, 16))
        (out / f"large_{name}.ico").write_bytes(icon(name, 32))


if __name__ == "__main__":
    main()
