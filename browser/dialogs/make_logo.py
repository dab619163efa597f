"""Draws the About box's logo (a 24-bit BMP on white, white being its
transparent colour) at build time: make_logo.py <out.bmp>."""
import math
import os
import struct
import sys

W, H = 96, 96


def pixel(x, y):
    cx, cy = W / 2 - 0.5, H / 2 - 0.5
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    if r > 44:
        return (255, 255, 255)
    if r > 40:
        return (30, 60, 140)  # the rim
    # A V of two thick strokes over a blue globe with a lighter top.
    shade = int(70 + 80 * (1 - (y / H)))
    colour = (shade // 3, shade // 2 + 40, 200)
    left = abs((x - 24) * 52 - (y - 22) * 24) / math.hypot(52, 24)
    right = abs((x - 72) * 52 + (y - 22) * 24) / math.hypot(52, 24)
    if 22 <= y <= 74 and (left < 6 or right < 6):
        colour = (250, 210, 60)
    return colour


def main():
    out = sys.argv[1]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    row = (W * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        line = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(out, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main()
