#!/usr/bin/env python3
"""Draws the desktop pane's pictures: the 420 x 320 model of the screen
(desktop.bmp) and the built-in skin's background as the miniatures use it
(mini_background.bmp: 794 x 568, 24 bits a pixel, pure red where the skin is
cut away), taken from the shared skin art's 796 x 568 background.

Usage: make_desktop_art.py <output folder> <skin art folder>
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "skin", "art"))

import bmpio  # noqa: E402

TEAL = (0, 130, 123)
W, H = 420, 320


def read_bmp(path):
    """(width, height, pixels top row first) of an uncompressed 8- or 24-bit .bmp."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, _, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    if compression != 0 or bpp not in (8, 24):
        raise SystemExit(f"{path}: unsupported bitmap")
    colours = struct.unpack_from("<I", data, 46)[0] or 256
    palette = [(data[14 + size + 4 * i + 2], data[14 + size + 4 * i + 1], data[14 + size + 4 * i])
               for i in range(colours)] if bpp == 8 else []
    stride = ((width * bpp + 31) // 32) * 4
    rows = []
    for y in range(abs(height)):
        row = data[offset + y * stride:offset + y * stride + stride]
        if bpp == 8:
            rows.append([palette[i] for i in row[:width]])
        else:
            rows.append([(row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(width)])
    if height > 0:
        rows.reverse()
    return width, abs(height), [p for r in rows for p in r]


def mini_background(skin_art, out):
    width, height, px = read_bmp(os.path.join(skin_art, "background.bmp"))
    # The outermost columns hold only the cut-away red: one off each side.
    cropped = [px[y * width + x] for y in range(height) for x in range(1, width - 1)]
    bmpio.write_bmp(os.path.join(out, "mini_background.bmp"), width - 2, height, cropped, 24)


def desktop(out):
    px = [TEAL] * (W * H)

    def box(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(H, y1)):
            px[y * W + max(0, x0):y * W + min(W, x1)] = [colour] * (min(W, x1) - max(0, x0))

    # Icons down the left edge: a picture and a label bar under each.
    icons = [((255, 255, 255), (40, 90, 200)), ((250, 210, 90), (200, 150, 30)),
             ((200, 230, 255), (30, 120, 200)), ((230, 230, 230), (120, 120, 120))]
    for i, (face, edge) in enumerate(icons):
        x, y = 8, 8 + i * 40
        box(x + 3, y, x + 17, y + 14, edge)
        box(x + 4, y + 1, x + 16, y + 13, face)
        box(x + 1, y + 18, x + 19, y + 22, (0, 100, 95))
        box(x + 2, y + 19, x + 18, y + 21, (220, 235, 235))
    # The taskbar: a raised grey strip with a start button and a clock well.
    top = H - 12
    box(0, top, W, H, (192, 192, 192))
    box(0, top, W, top + 1, (223, 223, 223))
    box(0, top + 1, W, top + 2, (255, 255, 255))
    box(2, top + 3, 30, H - 1, (128, 128, 128))
    box(2, top + 3, 29, H - 2, (255, 255, 255))
    box(3, top + 4, 29, H - 2, (192, 192, 192))
    box(5, top + 5, 9, top + 9, (200, 40, 40))
    box(10, top + 6, 26, top + 8, (0, 0, 0))
    box(W - 36, top + 3, W - 2, H - 1, (255, 255, 255))
    box(W - 36, top + 3, W - 3, H - 2, (128, 128, 128))
    box(W - 35, top + 4, W - 3, H - 2, (192, 192, 192))
    box(W - 28, top + 6, W - 10, top + 8, (0, 0, 0))
    bmpio.write_bmp(os.path.join(out, "desktop.bmp"), W, H, px, 24)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    out, skin_art = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    desktop(out)
    mini_background(skin_art, out)


if __name__ == "__main__":
    main()
