"""The program file of both builds: a windowed PE program of the right machine
type that exports the URL token functions by name."""

import os
from pathlib import Path

import pytest

from kit import pe

I386, AMD64 = 0x14C, 0x8664
WINDOWS_GUI = 2
EXPORTS = ["url_auth_version", "urlauth_gen_URL", "urlauth_gen_token"]
BUILDS = [("TARNWICK_RELEASE_PROGRAM", I386, 0x10B), ("TARNWICK_PROGRAM", AMD64, 0x20B)]


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
