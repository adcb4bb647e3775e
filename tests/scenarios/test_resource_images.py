"""The error mark drawn at build time: what the error window needs of it is a
24 x 24 image in the error colour RGB(255, 51, 0) on a transparent background."""

import struct
import zlib


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
    stride = width * 4
    return [[tuple(raw[y * (stride + 1) + 1 + 4 * x:y * (stride + 1) + 5 + 4 * x]) for x in range(width)]
            for y in range(height)]


def test_error_mark_is_24_by_24_in_the_error_colour_on_transparency(build_dir):
    image = decode_rgba_png((build_dir / "resources" / "ErrorMark.png").read_bytes())
    assert len(image) == 24 and all(len(row) == 24 for row in image)
    assert {pixel[:3] for row in image for pixel in row if pixel[3] > 0} == {(255, 51, 0)}
    assert all(image[y][x][3] == 0 for x, y in [(0, 0), (23, 0), (0, 23), (23, 23)])
    assert image[12][12][3] == 255
