"""Reading PE headers in the tests, independently of the product's own code."""

import struct


def headers(data):
    pe = struct.unpack_from("<I", data, 60)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    machine, sections = struct.unpack_from("<HH", data, pe + 4)
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    table = optional + optional_size
    raw = [struct.unpack_from("<II", data, table + 40 * i + 16) for i in range(sections)]
    last = max((offset, size) for size, offset in raw if offset)
    return {
        "machine": machine,
        "magic": magic,
        "subsystem": subsystem,
        "security_entry": directories + 4 * 8,
        "checksum_field": optional + 64,
        "section_end": last[0] + last[1],
    }


def security_directory(data):
    return struct.unpack_from("<II", data, headers(data)["security_entry"])


def checksum(data):
    """The PE image checksum of data, computed with its CheckSum field as zero."""
    field = headers(data)["checksum_field"]
    length = len(data)
    data = data[:field] + b"\0\0\0\0" + data[field + 4:]
    if length % 2:
        data += b"\0"
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total + length) & 0xFFFFFFFF


def stored_checksum(data):
    return struct.unpack_from("<I", data, headers(data)["checksum_field"])[0]
