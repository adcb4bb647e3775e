#!/usr/bin/env python3
"""Draws the program's icon (group of fifteen images) and the error mark of the
error window, with nothing but the standard library.

  make_images.py ICON_FILE PNG_FILE

The icon is a blue rounded square with a white arrow pointing down onto a tray.
Its images come in the order the icon group keeps: the five sizes 64, 48, 40,
32 and 16 at 4 bits per pixel, then at 8, then at 32. The error mark is a
24x24 RGBA PNG: a ring with a diagonal cross, in RGB(255, 51, 0), on a
transparent background.
"""

import math
import struct
import sys
import zlib

SIZES = (64, 48, 40, 32, 16)
DEPTHS = (4, 8, 32)
SAMPLES = 6  # sub-samples per pixel side for the anti-aliased edges

BLUE = (30, 111, 217)
WHITE = (255, 255, 255)
ERROR_RED = (255, 51, 0)


def coverage(size, inside):
    """Per pixel, the fraction of sub-samples for which inside(x, y) holds;
    x and y run from 0 to 1 over the image."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    hits += inside(x, y)
            row.append(hits / (SAMPLES * SAMPLES))
        rows.append(row)
    return rows


def in_rounded_square(x, y, margin=0.04, radius=0.18):
    lo, hi = margin, 1 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_arrow(x, y):
    shaft = 0.42 <= x <= 0.58 and 0.16 <= y <= 0.50
    head = 0.46 <= y <= 0.70 and abs(x - 0.5) <= (0.70 - y) * 1.15
    tray = 0.76 <= y <= 0.86 and 0.22 <= x <= 0.78
    return shaft or head or tray


def icon_pixels(size):
    """RGBA rows, top row first."""
    body = coverage(size, in_rounded_square)
    mark = coverage(size, in_arrow)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            m = mark[y][x]
            rgb = tuple(round(w * m + b * (1 - m)) for w, b in zip(WHITE, BLUE))
            row.append(rgb + (round(255 * body[y][x]),))
        pixels.append(row)
    return pixels


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette_256():
    colours = list(VGA16)
    colours += [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
    step = 255 / (256 - len(colours) + 1)
    while len(colours) < 256:
        level = round(step * (256 - len(colours)))
        colours.append((level, level, level))
    return colours


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def dib(size, depth, pixels):
    """BITMAPINFOHEADER, palette, colour bitmap and AND mask, rows bottom-up."""
    palette = VGA16 if depth == 4 else palette_256() if depth == 8 else []
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0, len(palette), 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    colour = bytearray()
    mask = bytearray()
    cache = {}
    for row in reversed(pixels):
        line = bytearray()
        if depth == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a))
        else:
            indices = []
            for r, g, b, a in row:
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(palette, key)
                indices.append(cache[key] if a >= 128 else 0)
            if depth == 8:
                line += bytes(indices)
            else:
                for i in range(0, size, 2):
                    line.append(indices[i] << 4 | (indices[i + 1] if i + 1 < size else 0))
        line += b"\0" * (row_bytes(size * depth) - len(line))
        colour += line
        bits = bytearray(row_bytes(size))
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + table + bytes(colour) + bytes(mask)


def icon_file():
    images = []
    drawn = {size: icon_pixels(size) for size in SIZES}
    for depth in DEPTHS:
        for size in SIZES:
            images.append((size, depth, dib(size, depth, drawn[size])))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16 if depth == 4 else 0, 0, 1, depth, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def in_error_mark(x, y):
    dx, dy = x - 0.5, y - 0.5
    distance = math.hypot(dx, dy)
    ring = 0.34 <= distance <= 0.46
    # Both diagonals, stopped short of the ring.
    half_width = 0.055
    cross = distance <= 0.28 and (abs(dx - dy) / math.sqrt(2) <= half_width or
                                  abs(dx + dy) / math.sqrt(2) <= half_width)
    return ring or cross


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def error_mark_png(size=24):
    alpha = coverage(size, in_error_mark)
    raw = bytearray()
    for row in alpha:
        raw.append(0)  # filter type: none
        for a in row:
            raw += bytes(ERROR_RED + (round(255 * a),))
    return (b"\x89PNG\r\n\x1a\n" +
            png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            png_chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    with open(argv[1], "wb") as f:
        f.write(icon_file())
    with open(argv[2], "wb") as f:
        f.write(error_mark_png())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
