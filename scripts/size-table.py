#!/usr/bin/env python3
"""What each part of a linked program costs: sums the input sections of a GNU
ld map (-Wl,-Map) by the archive or object they come from, grouped into our
folders, the third-party libraries and the runtime, and prints them as a
table against the program's size. Sections without bytes in the file (.bss)
and what the linker drops are not counted; the rest of the file (PE headers,
relocations, the export table, section alignment) is its own line.

  scripts/size-table.py MAP PROGRAM
"""

import re
import sys
from collections import defaultdict
from pathlib import Path

SECTION = re.compile(r"^(\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)")
INPUT = re.compile(r"^ (\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
NAME_ONLY = re.compile(r"^ (\.\S+)$")
CONTINUED = re.compile(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
NO_FILE_BYTES = {".bss", ".tls$ZZZ"}


def part_of(output, section, source):
    """The row an input section (of the output section output) belongs to."""
    if source == "dll stuff":  # made by the linker
        return {".reloc": "relocations (ASLR)", ".edata": "export table"}.get(output, "imports (tables and thunks)")
    name = Path(source.split("(")[0]).name
    member = source[source.find("(") + 1:-1] if source.endswith(")") else ""
    # Inline functions of the GDI+ headers are emitted, one section each, into
    # the objects that use them; their GUIDs and globals come with the import library.
    if "Gdiplus" in section or member.endswith("-gdiplus.o"):
        return "GDI+ C++ wrappers"
    folder = re.match(r"libtarnwick_(\w+)\.a$", name)
    if folder:
        return f"our code: {folder.group(1)}/"
    if "/TarnwickGUI.dir/" in source:  # the program's own sources, in startup/
        return "our code: startup/"
    known = {"libunrar.a": "UnRAR", "libjsoncpp.a": "JsonCpp", "libtinyxml2.a": "tinyxml2",
             "libstdc++.a": "libstdc++", "libsupc++.a": "libstdc++",
             "libgcc.a": "libgcc (unwinder, helpers)", "libgcc_eh.a": "libgcc (unwinder, helpers)"}
    if name in known:
        return known[name]
    if name.endswith(".res"):
        return "resources"
    if name in ("libmingw32.a", "libmingwex.a", "libwinpthread.a", "libpthread.a", "libmoldname.a") \
            or re.match(r"crt\w*\.o$|libmsvcrt", name):
        return "mingw-w64 runtime (CRT, threads)"
    if name.endswith(".a"):  # import libraries, delay ones too
        return "imports (tables and thunks)"
    return "other: " + name


def main():
    map_file, program = sys.argv[1], sys.argv[2]
    parts = defaultdict(int)
    output = None
    pending = None
    started = False
    for line in Path(map_file).read_text(errors="replace").splitlines():
        if not started:
            started = line.startswith("Linker script and memory map")
            continue
        section = SECTION.match(line)
        if section:
            output = section.group(1)
            continue
        if line.startswith("/DISCARD/") or (line and not line[0].isspace() and not line.startswith(".")):
            output = None
            continue
        if output is None or output in NO_FILE_BYTES or output.startswith((".debug", ".zdebug", ".stab")):
            continue
        if line.startswith(" *fill*"):
            size = int(line.split()[2], 16)
            parts["section alignment"] += size
            continue
        if pending is not None:
            continued = CONTINUED.match(line)
            if continued:
                parts[part_of(output, pending, continued.group(2))] += int(continued.group(1), 16)
            pending = None
            continue
        found = INPUT.match(line)
        if found:
            if found.group(1) != "*fill*":
                parts[part_of(output, found.group(1), found.group(3))] += int(found.group(2), 16)
            continue
        alone = NAME_ONLY.match(line)
        if alone:
            pending = alone.group(1)

    size = Path(program).stat().st_size
    counted = sum(parts.values())
    parts["PE headers, file alignment"] = size - counted

    def order(item):
        name = item[0]
        return (0 if name.startswith("our code") else 1, -item[1])

    width = max(len(name) for name in parts)
    print(f"{'part':<{width}}  {'bytes':>9}  {'share':>6}")
    for name, value in sorted(parts.items(), key=order):
        print(f"{name:<{width}}  {value:>9,}  {100 * value / size:5.1f}%")
    print(f"{'program file':<{width}}  {size:>9,}")


if __name__ == "__main__":
    main()
