"""A small RAR5 writer (stored entries only) for archives that `rar` will not
make: names with "..", a drive, a ":" or a trailing dot or blank, link entries
and NTFS stream (STM) service headers. Each header carries its CRC32."""

import struct
import zlib

SIGNATURE = b"Rar!\x1a\x07\x01\x00"


def _vint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        out.append(byte | (0x80 if value else 0))
        if not value:
            return bytes(out)


def _header(kind, fields, extra=b"", data_size=None):
    flags = (1 if extra else 0) | (2 if data_size is not None else 0)
    body = _vint(kind) + _vint(flags)
    if extra:
        body += _vint(len(extra))
    if data_size is not None:
        body += _vint(data_size)
    body += fields + extra
    block = _vint(len(body)) + body
    return struct.pack("<I", zlib.crc32(block)) + block


def _entry(kind, name, data=b"", link=None):
    """A file (kind 2) or service (kind 3) header with its stored data. link is
    (redirection type, target): 1 Unix symlink, 2 Windows symlink, 3 junction, 4 hard link, 5 file copy."""
    encoded = name.encode("utf-8")
    fields = (_vint(0x4) + _vint(len(data)) + _vint(0x20)
              + struct.pack("<I", zlib.crc32(data)) + _vint(0) + _vint(0) + _vint(len(encoded)) + encoded)
    extra = b""
    if link:
        target = link[1].encode("utf-8")
        record = _vint(5) + _vint(link[0]) + _vint(0) + _vint(len(target)) + target
        extra = _vint(len(record)) + record
    return _header(kind, fields, extra, len(data)) + data


def rar5(entries):
    """The archive of entries, each a dict: name, data (bytes), and optionally
    link, or stream (the name of an NTFS stream of that file)."""
    out = SIGNATURE + _header(1, _vint(0))
    for entry in entries:
        out += _entry(2, entry["name"], entry.get("data", b""), entry.get("link"))
        if "stream" in entry:
            out += _entry(3, "STM", b"stream data")
    return out + _header(5, _vint(0))
