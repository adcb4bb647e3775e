"""The error mark drawn at build time and compiled into the program: a ring
with a diagonal cross in RGB(255, 51, 0), anti-aliased, on transparency."""

import struct
import zlib

import pytest


def decode_rgba_png(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    offset, idat, header = 8, b"", None
    while offset < len(data):
        length, kind = struct.unpack_from(">I4s", data, offset)
        body = data[offset + 8:offset + 8 + length]
        assert zlib.crc32(kind + body) == struct.unpack_from(">I", data, offset + 8 + length)[0]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert (depth, colour, interlace) == (8, 6, 0)
    raw = zlib.decompress(idat)
    rows, stride = [], width * 4
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        assert line[0] == 0, "rows are stored unfiltered"
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(width)])
    return rows


@pytest.fixture(scope="module")
def error_mark(build_dir):
    return decode_rgba_png((build_dir / "resources" / "ErrorMark.png").read_bytes())


def test_error_mark_is_24_by_24_in_one_colour(error_mark):
    assert len(error_mark) == 24 and all(len(row) == 24 for row in error_mark)
    colours = {pixel[:3] for row in error_mark for pixel in row if pixel[3] > 0}
    assert colours == {(255, 51, 0)}


def test_error_mark_has_a_ring_a_cross_and_a_transparent_background(error_mark):
    alpha = [[pixel[3] for pixel in row] for row in error_mark]
    for x, y in [(0, 0), (23, 0), (0, 23), (23, 23)]:
        assert alpha[y][x] == 0, "corners outside the ring"
    assert alpha[1][12] == 255 and alpha[22][12] == 255, "ring at top and bottom"
    assert alpha[12][1] == 255 and alpha[12][22] == 255, "ring at left and right"
    assert alpha[12][12] == 255 and alpha[11][11] == 255, "cross through the centre"
    assert alpha[8][8] == 255 and alpha[8][15] == 255, "both diagonals"
    assert alpha[7][12] == 0 and alpha[12][7] == 0, "gap between cross and ring"


def test_error_mark_edges_are_anti_aliased(error_mark):
    partial = sum(1 for row in error_mark for pixel in row if 0 < pixel[3] < 255)
    assert partial >= 24

