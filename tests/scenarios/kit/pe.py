"""Reading PE headers and export tables in the tests, independently of the
product's own code and of the Windows loader."""

import struct


def headers(data):
    pe = struct.unpack_from("<I", data, 60)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    machine, count = struct.unpack_from("<HH", data, pe + 4)
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    table = optional + optional_size
    sections = []
    for i in range(count):
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        sections.append((virtual_address, max(virtual_size, raw_size), raw_offset, raw_size))
    last = max((offset, size) for _, _, offset, size in sections if offset)
    return {
        "machine": machine,
        "magic": magic,
        "subsystem": struct.unpack_from("<H", data, optional + 68)[0],
        "image_base": struct.unpack_from("<I" if magic == 0x10B else "<Q", data,
                                         optional + (28 if magic == 0x10B else 24))[0],
        "directories": optional + (96 if magic == 0x10B else 112),
        "security_entry": optional + (96 if magic == 0x10B else 112) + 4 * 8,
        "checksum_field": optional + 64,
        "section_end": last[0] + last[1],
        "sections": sections,
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


def _offset(sections, rva):
    for virtual_address, size, raw_offset, _ in sections:
        if virtual_address <= rva < virtual_address + size:
            return raw_offset + rva - virtual_address
    raise ValueError(f"RVA {rva:#x} is in no section")


def _c_string(data, offset):
    return data[offset:data.index(b"\0", offset)]


def _directory(data, index):
    layout = headers(data)
    rva, size = struct.unpack_from("<II", data, layout["directories"] + 8 * index)
    return layout, rva, size


def exports(data):
    """{name: rva} of the file's export table ({} when it has none)."""
    layout, rva, size = _directory(data, 0)
    if rva == 0 or size == 0:
        return {}
    sections = layout["sections"]
    directory = _offset(sections, rva)
    count_names, functions, names, ordinals = struct.unpack_from("<IIII", data, directory + 24)
    result = {}
    for i in range(count_names):
        name_rva = struct.unpack_from("<I", data, _offset(sections, names) + 4 * i)[0]
        ordinal = struct.unpack_from("<H", data, _offset(sections, ordinals) + 2 * i)[0]
        function_rva = struct.unpack_from("<I", data, _offset(sections, functions) + 4 * ordinal)[0]
        result[_c_string(data, _offset(sections, name_rva)).decode("ascii")] = function_rva
    return result


def _dll_names(data, index, entry_size, name_field):
    layout, rva, size = _directory(data, index)
    if rva == 0 or size == 0:
        return []
    sections = layout["sections"]
    names, at = [], _offset(sections, rva)
    while True:
        entry = data[at:at + entry_size]
        if entry == bytes(entry_size):
            return names
        name_rva = struct.unpack_from("<I", entry, name_field)[0]
        names.append(_c_string(data, _offset(sections, name_rva)).decode("ascii"))
        at += entry_size


def imported_dlls(data):
    """The DLL names of the import table, in file order."""
    return _dll_names(data, 1, 20, 12)


def delay_imported_dlls(data):
    """The DLL names of the delay-load import table, in file order. GNU ld before
    2.42 leaves the Delay Import Directory empty (the descriptors of dlltool's
    delay import libraries end up in .text, and the delay helper is handed them
    directly); then the descriptors are found by their shape."""
    names = _dll_names(data, 13, 32, 4)
    return names if names else _delay_descriptors_by_shape(data)


def _delay_descriptors_by_shape(data):
    """Names of the 32-byte records with attributes 1 (RVA-based) whose name,
    module handle, address table and name table are RVAs inside the image and
    whose name is a zero-terminated "*.dll"."""
    sections = headers(data)["sections"]
    image_end = max(address + size for address, size, _, _ in sections)
    names = []
    for _, _, raw_offset, raw_size in sections:
        for at in range(raw_offset, raw_offset + raw_size - 31, 4):
            attributes, name, handle, iat, int_ = struct.unpack_from("<IIIII", data, at)
            if attributes != 1 or not all(0 < rva < image_end for rva in (name, handle, iat, int_)):
                continue
            try:
                text = _c_string(data, _offset(sections, name))
            except ValueError:
                continue
            if text.lower().endswith(b".dll") and len(text) < 64 and text.isascii():
                names.append(text.decode("ascii"))
    return names


def text_behind_pointer(data, rva):
    """The zero-terminated text that the pointer stored at rva points to."""
    layout = headers(data)
    fmt = "<I" if layout["magic"] == 0x10B else "<Q"
    address = struct.unpack_from(fmt, data, _offset(layout["sections"], rva))[0]
    return _c_string(data, _offset(layout["sections"], address - layout["image_base"]))
