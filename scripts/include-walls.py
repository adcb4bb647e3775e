#!/usr/bin/env python3
"""Checks that each folder library includes only its own headers and those of
the folders it links directly.

The table of direct dependencies is read from the CMake files, the one place
where it is kept: the DEPENDS of each tarnwick_library(<folder> ...) call, and
target_link_libraries() of the other targets that publish a folder's headers
with tarnwick_publish_headers(<target> <folder>) (stubpack, the resource ids).

  include-walls.py [REPO]           fails (exit 1) on any include of a folder
                                    that is not a direct dependency
  include-walls.py --table [REPO]   prints the table
"""
import pathlib
import re
import sys

CALL = re.compile(r"\b(tarnwick_library|tarnwick_publish_headers|target_link_libraries)\s*\(([^)]*)\)", re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.M)
SOURCES = {".h", ".hpp", ".cpp", ".cc", ".c"}


def words(text):
    return re.sub(r"#[^\n]*", "", text).split()


def read_table(repo):
    """{folder: (target, set of folders it links directly)}"""
    folder_of = {}  # target -> folder
    links = {}  # target -> targets
    for cmake in sorted(repo.glob("*/CMakeLists.txt")) + sorted(repo.glob("tools/*/CMakeLists.txt")):
        for call, arguments in CALL.findall(cmake.read_text()):
            args = words(arguments)
            if call == "tarnwick_library":
                target = "tarnwick_" + args[0]
                folder_of[target] = args[0]
                links[target] = args[args.index("DEPENDS") + 1:] if "DEPENDS" in args else []
            elif call == "tarnwick_publish_headers" and not args[0].startswith("$"):
                folder_of[args[0]] = args[1]
            elif call == "target_link_libraries":
                links.setdefault(args[0], []).extend(a for a in args[1:] if a not in ("PUBLIC", "PRIVATE", "INTERFACE"))
    table = {}
    for target, folder in folder_of.items():
        direct = {folder_of[t] for t in links.get(target, []) if t in folder_of}
        table[folder] = (target, direct)
    return table


def main(argv):
    show_table = "--table" in argv
    paths = [a for a in argv if a != "--table"]
    repo = pathlib.Path(paths[0] if paths else pathlib.Path(__file__).resolve().parent.parent)
    table = read_table(repo)
    if show_table:
        for folder, (target, direct) in sorted(table.items()):
            print(f"{folder:12} -> {', '.join(sorted(direct)) or '(nothing)'}")
        return 0
    faults = []
    for folder, (target, direct) in sorted(table.items()):
        for source in sorted((repo / folder).rglob("*")):
            if source.suffix not in SOURCES:
                continue
            text = source.read_text(errors="replace")
            for match in INCLUDE.finditer(text):
                included = match.group(1)
                if included not in table or included == folder.split("/")[0] or included in direct:
                    continue
                line = text.count("\n", 0, match.start()) + 1
                faults.append(f"{source.relative_to(repo)}:{line}: includes {included}/, "
                              f"which {target} does not link (it links: {', '.join(sorted(direct)) or 'nothing'})")
    for fault in faults:
        print(fault)
    print(f"include walls: {len(table)} folders, {len(faults)} includes of a folder that is not a direct dependency")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
