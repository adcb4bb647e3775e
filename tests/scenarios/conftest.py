"""Fixtures shared by every scenario: the programs of the build, Wine, the
prefix's registry, a throw-away code-signing PKI and packed stubs. The tools
behind them are in kit/."""

import os
from pathlib import Path

import pytest

from kit.registry import PrefixRegistry
from kit.signing import Packer, SigningIdentity
from kit.wine import Wine, windows_path


def _env_path(name):
    value = os.environ.get(name)
    if not value:
        pytest.fail(f"{name} is not set: run the scenario tests through ctest in build/x86_64")
    return Path(value)


@pytest.fixture(scope="session")
def build_dir():
    return _env_path("TARNWICK_BUILD_DIR")


@pytest.fixture(scope="session")
def wine(build_dir):
    return Wine(_env_path("TARNWICK_WINE_RUN"), build_dir / "wineprefix")


@pytest.fixture(scope="session")
def program():
    """The x86_64 TarnwickGUI.exe of this build: the stub that tests pack."""
    return _env_path("TARNWICK_PROGRAM")


@pytest.fixture(scope="session")
def helpers():
    return _env_path("TARNWICK_HELPERS")


@pytest.fixture(scope="session")
def stubpack():
    return _env_path("TARNWICK_STUBPACK")


@pytest.fixture()
def registry(wine, tmp_path):
    """The prefix's registry; every key the test changes is put back afterwards."""
    keys = PrefixRegistry(wine, tmp_path)
    yield keys
    keys.restore()


@pytest.fixture(scope="session")
def pki(tmp_path_factory):
    folder = tmp_path_factory.mktemp("pki")
    return {"trusted": SigningIdentity(folder, "trusted"), "untrusted": SigningIdentity(folder, "untrusted")}


@pytest.fixture()
def trusted_signer(pki, wine, helpers):
    """The signer whose CA the prefix trusts; re-added and checked for every test."""
    identity = pki["trusted"]
    assert wine.run(helpers / "certstore.exe", "add-root", windows_path(identity.ca_der)).returncode == 0
    assert wine.run(helpers / "certstore.exe", "has-root", windows_path(identity.ca_der)).returncode == 0
    return identity


@pytest.fixture()
def untrusted_signer(pki, wine, helpers):
    identity = pki["untrusted"]
    wine.run(helpers / "certstore.exe", "remove-root", windows_path(identity.ca_der))
    assert wine.run(helpers / "certstore.exe", "has-root", windows_path(identity.ca_der)).returncode == 1
    return identity


@pytest.fixture()
def packer(stubpack, program, tmp_path):
    return Packer(stubpack, program, tmp_path)
