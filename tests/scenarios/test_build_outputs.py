"""Both builds produce a windowed PE program of the right machine type."""

import os
from pathlib import Path

import pytest

import pe

I386, AMD64 = 0x14C, 0x8664
WINDOWS_GUI = 2


@pytest.mark.parametrize("variable, machine, magic", [
    ("TARNWICK_RELEASE_PROGRAM", I386, 0x10B),
    ("TARNWICK_PROGRAM", AMD64, 0x20B),
])
def test_program_is_a_windowed_pe_file_for_its_machine(variable, machine, magic):
    path = Path(os.environ.get(variable, ""))
    assert path.is_file(), f"{variable} does not name a built program"
    assert path.name == "TarnwickGUI.exe"
    headers = pe.headers(path.read_bytes())
    assert headers["machine"] == machine
    assert headers["magic"] == magic
    assert headers["subsystem"] == WINDOWS_GUI
