"""Palette reduction and the file writers: Windows .bmp files with a 40-byte
info header (8, 4 or 24 bits per pixel) and PNG previews."""

import struct
import zlib

TRANSPARENT = (255, 0, 0)


def near_transparent(c, tolerance=8):
    return c[0] >= 255 - tolerance and c[1] <= tolerance and c[2] <= tolerance


def median_cut(pixels, count):
    """At most count colours for the given (r, g, b) pixels, and the index of
    each pixel's colour. Busy boxes with a wide spread are split first."""
    hist = {}
    for c in pixels:
        hist[c] = hist.get(c, 0) + 1
    colours = list(hist.items())
    if len(colours) <= count:
        palette = [c for c, _ in colours]
        index = {c: i for i, c in enumerate(palette)}
        return palette, [index[c] for c in pixels]

    def stats(box):
        lo = [min(c[0][k] for c in box) for k in range(3)]
        hi = [max(c[0][k] for c in box) for k in range(3)]
        spans = [hi[k] - lo[k] for k in range(3)]
        channel = max(range(3), key=lambda k: spans[k])
        weight = sum(n for _, n in box)
        return spans[channel] * weight ** 0.5, channel

    boxes = [(colours, *stats(colours))]
    while len(boxes) < count:
        pick = max(range(len(boxes)), key=lambda i: boxes[i][1] if len(boxes[i][0]) > 1 else -1)
        box, score, channel = boxes[pick]
        if len(box) < 2:
            break
        box = sorted(box, key=lambda c: c[0][channel])
        total = sum(n for _, n in box)
        run, cut = 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            run += n
            cut = i + 1
            if run * 2 >= total:
                break
        a, b = box[:cut], box[cut:]
        boxes[pick] = (a, *stats(a))
        boxes.append((b, *stats(b)))

    palette, index = [], {}
    for box, _, _ in boxes:
        weight = sum(n for _, n in box)
        mean = tuple(int(round(sum(c[k] * n for c, n in box) / weight)) for k in range(3))
        for c, _ in box:
            index[c] = len(palette)
        palette.append(mean)
    return palette, [index[c] for c in pixels]


def quantise(pixels, count, transparent_mask=None):
    """A palette of at most count entries and an index per pixel. With a mask,
    masked pixels get entry 0, pure red, and no other entry comes within the
    transparent tolerance of it."""
    if transparent_mask is None:
        palette, idx = median_cut(pixels, count)
    else:
        opaque = [c for c, t in zip(pixels, transparent_mask) if not t]
        palette, sub = median_cut(opaque, count - 1)
        palette = [TRANSPARENT] + palette
        it = iter(sub)
        idx = [0 if t else next(it) + 1 for t in transparent_mask]
    for i, c in enumerate(palette):
        if (transparent_mask is None or i > 0) and near_transparent(c):
            palette[i] = (c[0], 9, c[2])  # keep every opaque colour out of the cut-out box
    return palette, idx


def _file(width, height, bpp, palette_bytes, rows):
    stride = ((width * bpp + 31) // 32) * 4
    body = b"".join(r.ljust(stride, b"\0") for r in reversed(rows))  # bottom-up
    offset = 14 + 40 + len(palette_bytes)
    colours = len(palette_bytes) // 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(body), 2835, 2835, colours, 0)
    return header + info + palette_bytes + body


def _palette_bytes(palette, entries):
    padded = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    return b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in padded)


def write_bmp(path, width, height, pixels, bpp, transparent_mask=None):
    """pixels: (r, g, b) tuples, top row first."""
    if bpp == 24:
        rows = [b"".join(struct.pack("BBB", b, g, r) for r, g, b in pixels[y * width:(y + 1) * width])
                for y in range(height)]
        data = _file(width, height, 24, b"", rows)
    else:
        entries = 1 << bpp
        palette, idx = quantise(pixels, entries, transparent_mask)
        rows = []
        for y in range(height):
            line = idx[y * width:(y + 1) * width]
            if bpp == 8:
                rows.append(bytes(line))
            else:
                line = line + [0] * (len(line) % 2)
                rows.append(bytes((line[i] << 4) | line[i + 1] for i in range(0, len(line), 2)))
        data = _file(width, height, bpp, _palette_bytes(palette, entries), rows)
    with open(path, "wb") as f:
        f.write(data)


def write_png(path, width, height, pixels):
    raw = b"".join(b"\0" + bytes(v for c in pixels[y * width:(y + 1) * width] for v in c) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
