"""Draws the pictures of ZYLCOMBO.OCX at build time: the toolbox bitmap, the
About box icon, the TrueType mark, the 16 colour swatches and the tune glyphs.
Usage: make_combo_art.py <output-folder>"""

import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
NAVY = (0, 0, 128)

# name, (r, g, b), resource id: the fill order of the control's colour list
COLOURS = [
    ("Black", (0, 0, 0), 205), ("Maroon", (128, 0, 0), 206), ("Green", (0, 128, 0), 207),
    ("Olive", (128, 128, 0), 208), ("Navy", (0, 0, 128), 209), ("Purple", (128, 0, 128), 210),
    ("Teal", (0, 128, 128), 211), ("Gray", (128, 128, 128), 212), ("Silver", (192, 192, 192), 213),
    ("Red", (255, 0, 0), 204), ("Lime", (0, 255, 0), 214), ("Yellow", (255, 255, 0), 215),
    ("Blue", (0, 0, 255), 216), ("Fuschia", (255, 0, 255), 217), ("Aqua", (0, 255, 255), 218),
    ("White", (255, 255, 255), 219),
]


class Canvas:
    def __init__(self, width, height, fill=WHITE):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def rect(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0 + 1, colour)
        self.rect(x0, y1 - 1, x1, y1, colour)
        self.rect(x0, y0, x0 + 1, y1, colour)
        self.rect(x1 - 1, y0, x1, y1, colour)


def bmp_bytes(canvas):
    """A bottom-up 24-bit BMP file."""
    stride = (canvas.width * 3 + 3) // 4 * 4
    rows = []
    for row in reversed(canvas.pixels):
        data = b"".join(struct.pack("BBB", b, g, r) for r, g, b in row)
        rows.append(data.ljust(stride, b"\0"))
    body = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + body


def ico_bytes(canvas):
    """An icon file with one 32-bit image and an all-opaque mask."""
    w, h = canvas.width, canvas.height
    xor = b"".join(struct.pack("BBBB", b, g, r, 255) for row in reversed(canvas.pixels) for r, g, b in row)
    mask_stride = (w + 31) // 32 * 4
    mask = b"\0" * (mask_stride * h)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22)
    return directory + image


def toolbox():
    """16 x 15: a drop-down box with its arrow button."""
    c = Canvas(16, 15, SILVER)
    c.rect(1, 4, 15, 11, WHITE)
    c.frame(1, 4, 15, 11, GREY)
    c.rect(10, 5, 14, 10, SILVER)
    for i, y in enumerate(range(6, 9)):
        c.rect(10 + i, y, 14 - i, y + 1, BLACK)
    c.rect(3, 7, 8, 8, NAVY)
    return c


def about_icon():
    c = Canvas(32, 32, SILVER)
    c.rect(3, 10, 29, 22, WHITE)
    c.frame(3, 10, 29, 22, BLACK)
    c.rect(21, 11, 28, 21, SILVER)
    for i, y in enumerate(range(14, 18)):
        c.rect(22 + i, y, 27 - i, y + 1, BLACK)
    c.rect(6, 15, 18, 17, NAVY)
    return c


def letter_t(c, x, y, colour):
    """A 9 x 10 letter T with its top-left corner at (x, y)."""
    c.rect(x, y, x + 9, y + 2, colour)
    c.rect(x + 3, y, x + 6, y + 10, colour)


def font_glyph():
    """18 x 14: two overlapping letters T, the back one grey."""
    c = Canvas(18, 14, WHITE)
    letter_t(c, 1, 1, GREY)
    letter_t(c, 7, 4, BLACK)
    return c


def swatch(colour):
    """28 x 13: the colour inside a black border."""
    c = Canvas(28, 13, colour)
    c.frame(0, 0, 28, 13, BLACK)
    return c


def keyboard():
    """16 x 16: a piano keyboard."""
    c = Canvas(16, 16, WHITE)
    c.frame(0, 3, 16, 13, BLACK)
    for x in range(3, 15, 3):
        c.rect(x, 3, x + 1, 13, BLACK)
    for x in (2, 5, 11):
        c.rect(x, 3, x + 2, 9, BLACK)
    return c


def speaker():
    """16 x 16: a loudspeaker with two sound waves."""
    c = Canvas(16, 16, WHITE)
    c.rect(1, 6, 4, 10, BLACK)
    for i in range(5):
        c.rect(4 + i, 5 - i, 5 + i, 11 + i, BLACK)
    for x, (y0, y1) in ((11, (6, 10)), (13, (4, 12))):
        c.rect(x, y0, x + 1, y1, NAVY)
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "toolbox.bmp": bmp_bytes(toolbox()),
        "about.ico": ico_bytes(about_icon()),
        "font_glyph.bmp": bmp_bytes(font_glyph()),
        "keyboard.bmp": bmp_bytes(keyboard()),
        "speaker.bmp": bmp_bytes(speaker()),
    }
    for name, rgb, _ in COLOURS:
        files["swatch_%s.bmp" % name.lower()] = bmp_bytes(swatch(rgb))
    for name, data in files.items():
        path = os.path.join(out, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
