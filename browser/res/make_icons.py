#!/usr/bin/env python3
"""Draws the browser's program icon (Vessa.ico), its link cursor (hand.cur)
and the 16 x 16 icons of the favorites popup (link.ico, folder.ico, group.ico).

Usage: make_icons.py <output folder>
"""
import math
import struct
import sys
from pathlib import Path

# The link cursor: a pointing hand, '#' black outline, '.' white fill, ' ' transparent.
HAND = [
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #.............#",
    "  #............#",
    "  #...........# ",
    "   #..........# ",
    "    #........#  ",
    "    ##########  ",
]


def dib_header(width, height, bits):
    # Icon images store the XOR and AND masks together: twice the height.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0, 0, 0)


def and_mask(width, height, opaque):
    row_bytes = ((width + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image(size):
    """A blue globe with a white meridian ring, drawn with soft edges."""
    pixels = bytearray()
    c = (size - 1) / 2
    r = size / 2 - 0.5
    for y in reversed(range(size)):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > r:
                pixels += bytes((0, 0, 0, 0))
                continue
            shade = 1 - 0.45 * (d / r)
            blue, green, red = int(230 * shade), int(120 * shade), int(30 * shade)
            # Meridian and equator lines.
            ring = abs(math.hypot((x - c) * 2.2, y - c) - r * 0.95) < size / 24
            line = abs(y - c) < size / 40 + 0.5 or abs(x - c) < size / 40 + 0.5
            if ring or line:
                blue, green, red = 250, 245, 235
            alpha = 255 if d < r - 1 else int(255 * (r - d + 1) / 2)
            pixels += bytes((blue, green, red, max(0, min(255, alpha))))
    mask = and_mask(size, size, lambda x, y: math.hypot(x - c, y - c) <= r)
    return dib_header(size, size, 32) + bytes(pixels) + mask


def write_icon(path):
    images = [icon_image(32), icon_image(16)]
    sizes = [32, 16]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path.write_bytes(header + entries + b"".join(images))


# The favorites popup's icons, one character per pixel: '#' outline, 'o' fill,
# '*' accent, ' ' transparent.
LINK = [
    "                ",
    "  ########      ",
    "  #oooooo##     ",
    "  #oooooo#o#    ",
    "  #oooooo####   ",
    "  #ooo****oo#   ",
    "  #oo*oo*o*o#   ",
    "  #o*oo*ooo*#   ",
    "  #o********#   ",
    "  #o*ooo*oo*#   ",
    "  #oo*oo*o*o#   ",
    "  #ooo****oo#   ",
    "  #oooooooooo#  ",
    "  ############  ",
    "                ",
    "                ",
]
FOLDER = [
    "                ",
    "                ",
    "  #####         ",
    " #*****#        ",
    " #*****######## ",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " #ooooooooooooo#",
    " ###############",
    "                ",
    "                ",
    "                ",
]
GROUP = [
    "                ",
    "      #######   ",
    "      #*****#   ",
    "    #######*#   ",
    "    #ooooo#*#   ",
    "  #######o#*#   ",
    "  #ooooo#o#*#   ",
    "  #ooooo#o###   ",
    "  #ooooo#o#     ",
    "  #ooooo###     ",
    "  #ooooo#       ",
    "  #######       ",
    "                ",
    "                ",
    "                ",
    "                ",
]


def small_icon(art, fill, accent):
    colours = {"#": (40, 40, 40), "o": fill, "*": accent}
    pixels = bytearray()
    for y in reversed(range(16)):
        for x in range(16):
            c = art[y][x]
            if c == " ":
                pixels += bytes((0, 0, 0, 0))
            else:
                r, g, b = colours[c]
                pixels += bytes((b, g, r, 255))
    mask = and_mask(16, 16, lambda x, y: art[y][x] != " ")
    image = dib_header(16, 16, 32) + bytes(pixels) + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(image), 22)
    return header + entry + image


def write_cursor(path):
    size = 32
    # 1-bit XOR image: 1 = white, 0 = black; the AND mask makes ' ' transparent.
    def cell(x, y):
        if y < len(HAND) and x < len(HAND[0]):
            return HAND[y][x]
        return " "

    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    row_bytes = 4
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if cell(x, y) == ".":
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    mask = and_mask(size, size, lambda x, y: cell(x, y) != " ")
    image = dib_header(size, size, 1) + palette + bytes(xor) + mask
    hot_x, hot_y = 6, 0
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot_x, hot_y, len(image), 22)
    path.write_bytes(header + entry + image)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_icon(out / "Vessa.ico")
    write_cursor(out / "hand.cur")
    (out / "link.ico").write_bytes(small_icon(LINK, (255, 255, 255), (30, 110, 220)))
    (out / "folder.ico").write_bytes(small_icon(FOLDER, (240, 200, 80), (250, 225, 130)))
    (out / "group.ico").write_bytes(small_icon(GROUP, (255, 255, 255), (120, 170, 60)))


if __name__ == "__main__":
    main()
