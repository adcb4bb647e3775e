"""Reading PE files in the tests with pefile, independently of the product's own
code and of the Windows loader."""

import itertools
import struct

import pefile


def load(data):
    """The PE file of data, with its import, export and delay import tables (and no
    others: reading the resources would take longer than the tests themselves)."""
    image = pefile.PE(data=data, fast_load=True)
    image.parse_data_directories([pefile.DIRECTORY_ENTRY[f"IMAGE_DIRECTORY_ENTRY_{name}"]
                                  for name in ("IMPORT", "EXPORT", "DELAY_IMPORT")])
    return image


def section_end(image):
    """The file offset where the last section's raw data ends."""
    return max(section.PointerToRawData + section.SizeOfRawData for section in image.sections)


def security_directory(data):
    """(file offset of the entry, file offset, size) of the PE file data's certificate table."""
    entry = load(data).OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]]
    return entry.get_file_offset(), entry.VirtualAddress, entry.Size


def delay_imported_dlls(image):
    """The DLL names of the delay-load import table, in file order. GNU ld before
    2.42 leaves the Delay Import Directory empty (the descriptors of dlltool's
    delay import libraries end up in .text, and the delay helper is handed them
    directly); then the descriptors are found by their shape."""
    if hasattr(image, "DIRECTORY_ENTRY_DELAY_IMPORT"):
        return [entry.dll.decode("ascii") for entry in image.DIRECTORY_ENTRY_DELAY_IMPORT]
    return [name for name, _, _ in _delay_descriptors(image)]


def delay_import_slots(image):
    """(DLL, function, slot value) of every delay-load address table slot, as the
    file holds it. Before its first call a slot points at the function's loading
    thunk, in code of the image."""
    width = 4 if image.OPTIONAL_HEADER.Magic == 0x10B else 8
    read = image.get_dword_at_rva if width == 4 else image.get_qword_at_rva
    slots = []
    for dll, iat, names in _delay_descriptors(image):
        for index in itertools.count():
            entry = read(names + index * width)
            if not entry:
                break
            function = image.get_string_at_rva(entry + 2, max_length=256).decode("ascii")
            slots.append((dll, function, read(iat + index * width)))
    return slots


def executable_range(image, va):
    """Whether the virtual address va lies in an executable section of image."""
    rva = va - image.OPTIONAL_HEADER.ImageBase
    section = image.get_section_by_rva(rva) if 0 <= rva < image.OPTIONAL_HEADER.SizeOfImage else None
    return section is not None and bool(section.Characteristics & pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_EXECUTE"])


def _delay_descriptors(image):
    """(DLL name, address table RVA, name table RVA) of each descriptor found by shape: the
    32-byte records with attributes 1 (RVA-based) whose name, module handle, address table
    and name table are RVAs inside the image and whose name is a zero-terminated "*.dll"."""
    image_end = image.OPTIONAL_HEADER.SizeOfImage
    descriptors = []
    for section in image.sections:
        data = section.get_data()
        for at in range(0, len(data) - 31, 4):
            attributes, name, handle, iat, int_ = struct.unpack_from("<IIIII", data, at)
            if attributes != 1 or not all(0 < rva < image_end for rva in (name, handle, iat, int_)):
                continue
            if image.get_section_by_rva(name) is None:
                continue
            text = image.get_string_at_rva(name, max_length=64)
            if text.lower().endswith(b".dll") and len(text) < 64 and text.isascii():
                descriptors.append((text.decode("ascii"), iat, int_))
    return descriptors
