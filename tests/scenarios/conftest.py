"""Shared fixtures of the scenario tests: the programs of the build, Wine, a
throw-away code-signing PKI made with openssl, and stubs packed and signed with
stubpack and osslsigncode."""

import os
import subprocess
import tempfile
from pathlib import Path

import pytest

WINE_TIMEOUT = 120


def _env_path(name):
    value = os.environ.get(name)
    if not value:
        pytest.fail(f"{name} is not set: run the scenario tests through ctest in build/x86_64")
    return Path(value)


def windows_path(path):
    """The path as a Windows program under Wine sees it (drive Z: is /)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class Wine:
    def __init__(self, runner, prefix):
        self.runner = runner
        self.prefix = prefix

    def run(self, program, *args, timeout=WINE_TIMEOUT, env=None):
        """Runs program to its end. Its output goes through files, not pipes:
        Wine's background processes (the desktop that a first window starts, the
        network services) inherit the handles and would hold a pipe open long
        after the program ends."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = subprocess.run([str(self.runner), str(program), *map(str, args)],
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=timeout, env=env)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(result.args, result.returncode, out.read(), err.read())

    @property
    def temp_folder(self):
        """%TEMP% of the prefix's user: where the execution log goes."""
        return self.prefix / "drive_c" / "users" / os.environ.get("USER", "root") / "Temp"

    @property
    def execution_log(self):
        return self.temp_folder / "Orvakel-TarnwickGUI-execution.log"


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


MAKE_PKI = Path(__file__).resolve().parent.parent / "harness" / "make-signing-pki.sh"


class SigningIdentity:
    """A CA and a code-signing certificate that it issued (tests/harness/make-signing-pki.sh)."""

    def __init__(self, folder, name):
        subprocess.run([str(MAKE_PKI), str(folder), name], check=True, capture_output=True)
        self.ca_der = folder / f"{name}-ca.der"
        self.key = folder / f"{name}-signer.key"
        self.cert = folder / f"{name}-signer.pem"  # leaf and CA
        self.leaf_only = folder / f"{name}-signer-only.pem"


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


class Packer:
    def __init__(self, tool, stub, folder):
        self.tool, self.stub, self.folder = tool, stub, folder
        self.count = 0

    def pack(self, document, signer=None, stub=None, name=None):
        """Packs document (bytes or str) into the stub; signs it when a signer is given."""
        self.count += 1
        source = self.folder / f"document{self.count}.json"
        source.write_bytes(document.encode() if isinstance(document, str) else document)
        out = self.folder / (name or f"stub{self.count}.exe")
        args = [self.tool, "pack", stub or self.stub, source, "-o", out]
        if signer is not None:
            args += ["--cert", signer.cert, "--key", signer.key]
        subprocess.run(list(map(str, args)), check=True, capture_output=True)
        return out

    def sign(self, path, signer, out, certs=None):
        subprocess.run(["osslsigncode", "sign", "-certs", str(certs or signer.cert), "-key", str(signer.key),
                        "-h", "sha256", "-in", str(path), "-out", str(out)], check=True, capture_output=True)
        return out


@pytest.fixture()
def packer(stubpack, program, tmp_path):
    return Packer(stubpack, program, tmp_path)
