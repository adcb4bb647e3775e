"""Reading the export table of a PE file in the tests, apart from the Windows loader."""

import struct


def _layout(data):
    start = struct.unpack_from("<I", data, 60)[0]
    sections = struct.unpack_from("<H", data, start + 6)[0]
    optional_size = struct.unpack_from("<H", data, start + 20)[0]
    optional = start + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x10B:
        image_base = struct.unpack_from("<I", data, optional + 28)[0]
        directories = optional + 96
    else:
        image_base = struct.unpack_from("<Q", data, optional + 24)[0]
        directories = optional + 112
    table = optional + optional_size
    section_list = []
    for i in range(sections):
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        section_list.append((virtual_address, max(virtual_size, raw_size), raw_offset))
    return magic, image_base, directories, section_list


def _offset(sections, rva):
    for virtual_address, size, raw_offset in sections:
        if virtual_address <= rva < virtual_address + size:
            return raw_offset + rva - virtual_address
    raise ValueError(f"RVA {rva:#x} is in no section")


def _c_string(data, offset):
    return data[offset:data.index(b"\0", offset)]


def exports(data):
    """{name: rva} of the file's export table ({} when it has none)."""
    magic, _, directories, sections = _layout(data)
    rva, size = struct.unpack_from("<II", data, directories)
    if rva == 0 or size == 0:
        return {}
    directory = _offset(sections, rva)
    count_names, functions, names, ordinals = struct.unpack_from("<IIII", data, directory + 24)
    result = {}
    for i in range(count_names):
        name_rva = struct.unpack_from("<I", data, _offset(sections, names) + 4 * i)[0]
        ordinal = struct.unpack_from("<H", data, _offset(sections, ordinals) + 2 * i)[0]
        function_rva = struct.unpack_from("<I", data, _offset(sections, functions) + 4 * ordinal)[0]
        result[_c_string(data, _offset(sections, name_rva)).decode("ascii")] = function_rva
    return result


def text_behind_pointer(data, rva):
    """The zero-terminated text that the pointer stored at rva points to."""
    magic, image_base, _, sections = _layout(data)
    fmt = "<I" if magic == 0x10B else "<Q"
    address = struct.unpack_from(fmt, data, _offset(sections, rva))[0]
    return _c_string(data, _offset(sections, address - image_base))

