"""The program file exports the URL token functions by name, in both builds."""

import os
from pathlib import Path

import pytest

import pe_exports

NAMES = ["url_auth_version", "urlauth_gen_URL", "urlauth_gen_token"]


@pytest.mark.parametrize("variable", ["TARNWICK_RELEASE_PROGRAM", "TARNWICK_PROGRAM"])
def test_export_table_names_the_token_functions_and_the_version_text(variable):
    path = Path(os.environ.get(variable, ""))
    assert path.is_file(), f"{variable} does not name a built program"
    data = path.read_bytes()
    table = pe_exports.exports(data)
    assert sorted(table) == sorted(NAMES)
    assert pe_exports.text_behind_pointer(data, table["url_auth_version"]) == b"1.1.3"

