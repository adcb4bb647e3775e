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


def program_bytes(variable):
    path = Path(os.environ.get(variable, ""))
    assert path.is_file(), f"{variable} does not name a built program"
    assert path.name == "TarnwickGUI.exe"
    return path.read_bytes()


@pytest.mark.parametrize("variable, machine, magic", BUILDS)
def test_program_is_a_windowed_pe_file_for_its_machine(variable, machine, magic):
    headers = pe.headers(program_bytes(variable))
    assert (headers["machine"], headers["magic"], headers["subsystem"]) == (machine, magic, WINDOWS_GUI)


@pytest.mark.parametrize("variable", [variable for variable, _, _ in BUILDS])
def test_export_table_names_the_token_functions_and_the_version_text(variable):
    data = program_bytes(variable)
    table = pe.exports(data)
    assert sorted(table) == sorted(EXPORTS)
    assert pe.text_behind_pointer(data, table["url_auth_version"]) == b"1.1.3"


def dll_names(names):
    return {name.lower().removesuffix(".dll") for name in names}


@pytest.mark.parametrize("variable", [variable for variable, _, _ in BUILDS])
def test_import_table_names_only_dlls_that_windows_takes_from_system32(variable):
    data = program_bytes(variable)
    imported = dll_names(pe.imported_dlls(data))
    assert "kernel32" in imported
    assert sorted(imported - SYSTEM32_ONLY) == []


@pytest.mark.parametrize("variable", [variable for variable, _, _ in BUILDS])
def test_the_other_dlls_are_delay_loaded(variable):
    delay_loaded = dll_names(pe.delay_imported_dlls(program_bytes(variable)))
    # The signature check and the decryption of the block use these in every run.
    assert {"wintrust", "crypt32", "bcrypt"} <= delay_loaded
    listed = set(os.environ.get("TARNWICK_DELAY_LOADED_DLLS", "").split(","))
    assert sorted(delay_loaded - listed) == []
