"""The package extraction action under Wine with RAR archives made by `rar`
and by the kit's RAR5 writer: folder naming, unpacking over a private folder,
compressed contents unpacked to the bytes packed, damaged, missing and
encrypted archives, hostile entries and names, a package folder that is not
private, a planted rar.ini, and the hardening."""

import os
import random
import shutil
import uuid

import pytest

from kit.package import hide_in_certificate_table, make_rar
from kit.rar5 import rar5
from kit.wine import windows_path


@pytest.fixture()
def orvakel(wine):
    """The extraction root in the prefix (C:\\Orvakel); a unique name prefix per
    test, and the folders made under that name removed afterwards."""
    root = wine.prefix / "drive_c" / "Orvakel"
    tag = "t" + uuid.uuid4().hex[:8]
    yield root, tag
    for parent in (root, wine.prefix / "drive_c"):
        for path in parent.glob(tag + "*"):
            if path.is_symlink():
                path.unlink()
            shutil.rmtree(path, ignore_errors=True)


@pytest.fixture()
def content(tmp_path):
    """A package tree: Setup.exe, a file in a sub-folder and keep.txt."""
    folder = tmp_path / "content"
    (folder / "bin").mkdir(parents=True)
    (folder / "Setup.exe").write_bytes(b"MZ new setup")
    (folder / "bin" / "tool.exe").write_bytes(b"MZ tool")
    (folder / "keep.txt").write_text("kept")
    return folder


def extract(actions, name, launch_order=None, **environment):
    inputs = {"fileName": name} if launch_order is None else {"fileName": name, "launchOrder": launch_order}
    return actions.run("PackageExtractionAction", inputs, ["extractionPath", "executableName"], **environment)


def refused(result, *context):
    """The extraction ended with 12 and published nothing."""
    assert (result.error, result.store) == ("12", {}), (*context, result.log)
    assert result.log[-1] == "ERROR:: Error occurred, error code = [12]."


# How the folder is named is the unit tests' (the road unpacks "<name>_Setup.exe");
# here: a name without an extension.
def test_folder_is_named_after_the_archive_and_the_candidate_is_chosen(actions, orvakel, content):
    root, tag = orvakel
    make_rar(actions.downloads / f"{tag}.rar", content)
    (actions.downloads / f"{tag}.rar").rename(actions.downloads / tag)
    # Without an extension, UnRAR itself would look for "<name>.rar": a decoy there is never used.
    decoy = content.parent / "decoy"
    decoy.mkdir()
    (decoy / "decoy.txt").write_text("decoy")
    make_rar(actions.downloads / f"{tag}.rar", decoy)
    # The private folder of an earlier extraction is unpacked over without asking.
    (actions.downloads / f"{tag}.old").write_bytes(rar5([{"name": "Setup.exe", "data": b"MZ old setup"},
                                                         {"name": "other.txt", "data": b"stays"}]))
    first = extract(actions, f"{tag}.old")
    assert first.error is None, "\n".join(first.log)
    result = extract(actions, tag, "##missing.exe##..\\Setup.exe#bin\\tool.exe#Setup.exe#")
    assert result.error is None
    folder_path = f"C:\\Orvakel\\{tag}\\"
    assert result.store == {"extractionPath": folder_path, "executableName": "bin\\tool.exe"}
    assert not [line for line in result.log if "moved aside" in line], "\n".join(first.log + result.log)
    assert (root / tag / "bin" / "tool.exe").read_bytes() == b"MZ tool"
    assert (root / tag / "Setup.exe").read_bytes() == b"MZ new setup"
    assert (root / tag / "other.txt").read_text() == "stays"
    assert not (root / tag / "decoy.txt").exists()
    assert result.log[-6:] == [
        f"INFO:: GetExecutableName::Check if [{folder_path}missing.exe] exist?",
        "INFO:: GetExecutableName::[..\\Setup.exe] is not a name inside the folder.",
        f"INFO:: GetExecutableName::Check if [{folder_path}bin\\tool.exe] exist?",
        f"INFO:: GetExecutableName::[{folder_path}bin\\tool.exe] Found!",
        "INFO:: GetExecutableName::Selected binary name is [bin\\tool.exe].",
        "INFO:: End of running class [class GenericStub::PackageExtractionAction].",
    ]


def test_a_folder_that_is_not_private_inside_the_root_is_never_used(actions, orvakel, content, wine, tmp_path):
    root, tag = orvakel
    make_rar(actions.folder / f"{tag}.rar", content)  # beside the Downloads folder
    make_rar(actions.downloads / f"{tag}.rar", content)
    for name in (f"..\\{tag}.rar", f"x/../../{tag}.rar", f"{tag}:s.rar"):
        refused(extract(actions, name, "Setup.exe"), name, list((root / name).rglob("*")))
    assert not (wine.prefix / "drive_c" / tag).exists()
    assert not list(root.glob(tag + "*"))

    # A package folder that another user made is moved aside; one that is a link is removed (Wine,
    # which shows no reparse point, refuses that and ends with 12); nothing is unpacked through a link.
    (root / f"{tag}b").mkdir()
    (root / f"{tag}b" / "Setup.exe").write_bytes(b"MZ planted")
    os.chown(root / f"{tag}b", 4321, 4321)
    make_rar(actions.downloads / f"{tag}b.rar", content)
    result = extract(actions, f"{tag}b.rar")
    assert result.error is None, "\n".join(result.log)
    assert (root / f"{tag}b" / "Setup.exe").read_bytes() == b"MZ new setup"
    assert any(line.startswith(f"INFO:: ExtractPackage::Folder [C:\\Orvakel\\{tag}b] was not private; moved aside")
               for line in result.log)
    elsewhere = tmp_path / "elsewhere"
    elsewhere.mkdir()
    (root / tag).symlink_to(elsewhere, target_is_directory=True)
    result = extract(actions, f"{tag}.rar")
    assert result.error == "12" or not (root / tag).is_symlink(), "\n".join(result.log)
    assert not list(elsewhere.glob("*"))  # Wine's RemoveDirectoryW removes an empty target instead


HOSTILE = [
    ({"name": "../escape.txt"}, "..\\escape.txt"),
    ({"name": "keep.txt", "stream": "evil"}, "keep.txt"),
    ({"name": "link", "link": (2, "C:\\windows")}, "link"),
]


def test_an_archive_with_a_hostile_entry_or_outside_the_signed_bytes_is_refused_whole(actions, orvakel, content,
                                                                                        helpers, pki):
    root, tag = orvakel
    # Links that `rar` stores from a Linux tree.
    os.link(content / "keep.txt", content / "hard.txt")
    make_rar(actions.downloads / f"{tag}h.rar", content, "-oh")
    (content / "link").symlink_to("/etc")
    make_rar(actions.downloads / f"{tag}s.rar", content, "-ol")
    # An archive in the certificate table of a signed file, which the signature does not cover.
    signed = f"{tag}_Setup.exe"
    hide_in_certificate_table(helpers / "standininstaller.exe", pki["trusted"], actions.downloads / signed)
    cases = [(f"{tag}s.rar", "link", ""), (f"{tag}h.rar", "hard.txt", ""),
             (signed, signed, "an archive outside the signed bytes of its file.")]
    for i, (entry, shown) in enumerate(HOSTILE):
        (actions.downloads / f"{tag}{i}.rar").write_bytes(rar5([{"name": "first.txt", "data": b"first"}, entry]))
        cases.append((f"{tag}{i}.rar", shown, ""))
    for name, shown, reason in cases:
        folder = root / name.removesuffix(".rar").removesuffix("_Setup.exe")
        result = extract(actions, name, "Setup.exe")
        refused(result, name, list(folder.rglob("*")))
        assert result.log[-2].startswith(f"ERROR:: ExtractPackage::[{shown}] of [{name}] is refused: {reason}"), \
            result.log
        assert not folder.exists()  # not even the folder
    # "../escape.txt" would land beside the package folders, in C:\Orvakel.
    assert not list(root.glob("escape*")) and not list(root.parent.glob("escape*"))
    assert not (root.parent / "windows" / "escape.txt").exists()


def compressible_bytes(size, seed):
    """Bytes whose compression takes every kind of match: runs and short
    periods (a match that overlaps itself), records repeated farther away than
    their length, and literals between them."""
    rng = random.Random(seed)
    records = [rng.randbytes(rng.randrange(8, 300)) for _ in range(200)]
    data = bytearray()
    while len(data) < size:
        kind = rng.random()
        if kind < 0.1:
            data += bytes([rng.randrange(256)]) * rng.randrange(8, 5000)
        elif kind < 0.2:
            data += rng.randbytes(rng.randrange(2, 8)) * rng.randrange(3, 1000)
        elif kind < 0.3:
            data += rng.randbytes(rng.randrange(1, 64))
        else:
            data += rng.choice(records)
    return bytes(data)


# The decoder as the program is compiled, on a file eight times the dictionary,
# so that matches are also copied across the end of the window.
def test_compressed_contents_unpack_to_the_bytes_packed(actions, orvakel, tmp_path):
    root, tag = orvakel
    content = tmp_path / "compressed"
    (content / "bin").mkdir(parents=True)
    files = {"Setup.exe": compressible_bytes(1 << 20, 1), "bin/tool.dat": compressible_bytes(64 << 10, 2)}
    for name, data in files.items():
        (content / name).write_bytes(data)
    make_rar(actions.downloads / f"{tag}.rar", content, "-m5", "-md128k")
    result = extract(actions, f"{tag}.rar")
    assert result.error is None and not [line for line in result.log if "UnRAR result" in line], result.log
    for name, data in files.items():
        assert (root / tag / name).read_bytes() == data, name


def test_missing_damaged_and_encrypted_archives(actions, orvakel, content):
    root, tag = orvakel
    # Missing: nothing to unpack, the run goes on with the default executable.
    result = extract(actions, f"{tag}missing.rar", "Setup.exe")
    assert result.error is None
    assert result.store == {"extractionPath": f"C:\\Orvakel\\{tag}missing\\", "executableName": "Setup.exe"}

    # Damaged: what could be unpacked stays, the run goes on.
    (content / "zlarge.bin").write_bytes(os.urandom(256 * 1024))
    damaged = make_rar(actions.downloads / f"{tag}damaged.rar", content, "-m0")
    damaged.write_bytes(damaged.read_bytes()[:-64 * 1024])
    result = extract(actions, f"{tag}damaged.rar", "a.exe#b.exe")
    assert result.error is None
    assert (root / f"{tag}damaged" / "keep.txt").read_text() == "kept"
    assert result.store["executableName"] == "Setup.exe"  # no candidate exists
    assert any("UnRAR result [12]" in line for line in result.log)

    # Encrypted: UnRAR would have to ask for a password, which ends the run with code 12.
    make_rar(actions.downloads / f"{tag}locked.rar", content, "-psecret")
    refused(extract(actions, f"{tag}locked.rar", "Setup.exe"))


def test_rar_configuration_and_an_icacls_beside_the_program_change_nothing_and_the_system_icacls_hardens(
        actions, orvakel, content, helpers, installs, tmp_path):
    root, tag = orvakel
    name = f"{tag} a&b^c%PATH%"
    make_rar(actions.downloads / f"{name}.rar", content)
    # Each of these would flatten the tree (-ep) and leave keep.txt out, if read.
    (actions.downloads / "rar.ini").write_text("switches=-ep -xkeep.txt\r\nswitches_x=-ep -xkeep.txt\r\n")
    # An icacls.exe in the program's folder or on the search path must never run.
    planted = tmp_path / "onpath"
    planted.mkdir()
    for folder in (actions.downloads, planted):
        shutil.copy(helpers / "standininstaller.exe", folder / "icacls.exe")
    result = extract(actions, f"{name}.rar", RAR="-ep -xkeep.txt", WINEDEBUG="-all,fixme+icacls",
                     WINEPATH=windows_path(planted))
    assert result.error is None
    assert (root / name / "keep.txt").read_text() == "kept"
    assert (root / name / "bin" / "tool.exe").exists()
    assert not (root / name / "tool.exe").exists()
    assert not list(installs.iterdir())
    # Wine's icacls changes no access list; it shows the arguments it was given.
    folder = f'"C:\\\\Orvakel\\\\{name}\\\\"'
    calls = [line.split("stub: ", 1)[1] for line in result.stderr.splitlines() if "icacls:main stub:" in line]
    assert calls == [f'"C:\\\\windows\\\\system32\\\\icacls.exe" {folder} "/inheritance:d"',
                     f'"C:\\\\windows\\\\system32\\\\icacls.exe" {folder} "/remove:g" "*S-1-5-11" "/T"']
