"""The program file of both builds: a windowed PE program of the right machine
type that exports the URL token functions by name and imports only DLLs that
Windows takes from System32 whatever the program's folder holds."""

import os
from pathlib import Path

import pytest

from kit import pe

I386, AMD64 = 0x14C, 0x8664
WINDOWS_GUI = 2
EXPORTS = ["url_auth_version", "urlauth_gen_URL", "urlauth_gen_token"]
BUILDS = [("TARNWICK_RELEASE_PROGRAM", I386, 0x10B), ("TARNWICK_PROGRAM", AMD64, 0x20B)]
# KnownDLLs and the DLLs that they load: never taken from the program's folder.
SYSTEM32_ONLY = {"kernel32", "user32", "gdi32", "advapi32", "shell32", "ole32", "oleaut32", "msvcrt",
                 "shlwapi", "comdlg32", "ws2_32", "imm32", "rpcrt4", "sechost", "combase", "setupapi",
                 "psapi", "normaliz", "nsi", "wldap32", "imagehlp", "shcore", "msctf", "ntdll"}


def dll_names(names):
    return {name.lower().removesuffix(".dll") for name in names}


@pytest.mark.parametrize("variable, machine, magic", BUILDS)
def test_program_is_a_windowed_pe_file_of_its_machine_with_the_exports_and_imports_it_needs(variable, machine, magic):
    path = Path(os.environ.get(variable, ""))
    assert path.is_file(), f"{variable} does not name a built program"
    assert path.name == "TarnwickGUI.exe"
    image = pe.load(path.read_bytes())
    # A windowed PE file for its machine.
    assert (image.FILE_HEADER.Machine, image.OPTIONAL_HEADER.Magic, image.OPTIONAL_HEADER.Subsystem) == (
        machine, magic, WINDOWS_GUI)

    # The export table names the token functions and the version text, a pointer to the text.
    table = {symbol.name.decode(): symbol.address for symbol in image.DIRECTORY_ENTRY_EXPORT.symbols}
    assert sorted(table) == sorted(EXPORTS)
    read = image.get_dword_at_rva if image.OPTIONAL_HEADER.Magic == 0x10B else image.get_qword_at_rva
    version = read(table["url_auth_version"]) - image.OPTIONAL_HEADER.ImageBase
    assert image.get_string_at_rva(version) == b"1.1.3"

    # The import table names only DLLs that Windows takes from System32; the other DLLs are delay-loaded.
    imported = dll_names(entry.dll.decode() for entry in image.DIRECTORY_ENTRY_IMPORT)
    assert "kernel32" in imported
    assert sorted(imported - SYSTEM32_ONLY) == []
    delay_loaded = dll_names(pe.delay_imported_dlls(image))
    # The signature check and the decryption of the block use these in every run.
    assert {"wintrust", "crypt32", "bcrypt"} <= delay_loaded
    listed = set(os.environ.get("TARNWICK_DELAY_LOADED_DLLS", "").split(","))
    assert sorted(delay_loaded - listed) == []

    # Every delay-load slot points at its loading thunk. A slot that holds 0 in the file sends the
    # first call of its function to address 0: the i686 ld once dropped the thunks of functions that
    # the code calls through their slots.
    slots = pe.delay_import_slots(image)
    assert ("crypt32.dll", "CertVerifyCertificateChainPolicy") in {(dll.lower(), f) for dll, f, _ in slots}
    assert [(dll, function) for dll, function, value in slots if not pe.executable_range(image, value)] == []
