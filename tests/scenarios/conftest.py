"""Fixtures shared by every scenario: the programs of the build, Wine, the
prefix's registry, a throw-away code-signing PKI and packed stubs, the action
runner, the prefix's proxy settings and logins, and loopback proxies. The tools
behind them are in kit/."""

import os
from pathlib import Path

import pytest

from kit.actions import ActionRunner
from kit.proxy import LOGIN, CredentialStore, ProxyQuery, ProxySettings
from kit.records import STANDIN_PROG_ID, STANDIN_PROG_ID_KEY, USER_CHOICE
from kit.registry import PrefixRegistry
from kit.servers import WebServer
from kit.signing import Packer, SigningIdentity
from kit.stub import Stub
from kit.windows import Inspector
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
def arch():
    """The architecture under test: "x86_64", or "i686" for the release build."""
    return os.environ.get("TARNWICK_ARCH", "x86_64")


@pytest.fixture(scope="session")
def program():
    """The TarnwickGUI.exe under test (x86_64, or the i686 release program): the stub that tests pack."""
    return _env_path("TARNWICK_PROGRAM")


@pytest.fixture(scope="session")
def helpers():
    """The x86_64 tools of the tests: inspector, certificate store, stand-ins."""
    return _env_path("TARNWICK_HELPERS")


@pytest.fixture(scope="session")
def hosts(helpers):
    """The programs that run the product's code outside the stub (actionrun,
    windowhost), built for the architecture under test."""
    return Path(os.environ.get("TARNWICK_HOSTS") or helpers)


@pytest.fixture(scope="session")
def stubpack():
    return _env_path("TARNWICK_STUBPACK")


@pytest.fixture()
def inspector(wine, helpers):
    """Reads and drives the windows of the programs under test from outside."""
    return Inspector(wine, helpers)


@pytest.fixture()
def registry(wine, tmp_path):
    """The prefix's registry; every key the test changes is put back afterwards."""
    keys = PrefixRegistry(wine, tmp_path)
    yield keys
    keys.restore()


@pytest.fixture()
def execution_log(wine):
    """The execution log of the prefix's programs, emptied before the test. Scenario
    files that use it name the lock ExecutionLog in tests/CMakeLists.txt."""
    wine.execution_log.parent.mkdir(parents=True, exist_ok=True)
    wine.execution_log.write_bytes(b"")
    return wine.execution_log


def _records(folder, variable, monkeypatch):
    folder.mkdir()
    monkeypatch.setenv(variable, windows_path(folder))
    return folder


@pytest.fixture()
def browser_records(tmp_path, monkeypatch):
    """The folder where the stand-in browser records its starts, for every program the test starts."""
    return _records(tmp_path / "browser", "TARNWICK_BROWSER_RECORDS", monkeypatch)


@pytest.fixture()
def installs(tmp_path, monkeypatch):
    """The folder where the stand-in installers record their starts (program, parameters, working
    folder), for every program the test starts."""
    return _records(tmp_path / "installs", "TARNWICK_INSTALLER_RECORDS", monkeypatch)


@pytest.fixture()
def default_browser(registry, helpers, browser_records):
    """The stand-in browser as the user's https handler; the folder of its records."""
    registry.save(STANDIN_PROG_ID_KEY)
    registry.set_values(rf"{STANDIN_PROG_ID_KEY}\shell\open\command",
                        {None: f'"{windows_path(helpers / "standinbrowser.exe")}" "%1"'})
    registry.set_values(USER_CHOICE, {"ProgId": STANDIN_PROG_ID})
    return browser_records


@pytest.fixture(scope="session")
def pki(tmp_path_factory):
    folder = tmp_path_factory.mktemp("pki")
    return {"trusted": SigningIdentity(folder, "trusted"), "untrusted": SigningIdentity(folder, "untrusted")}


@pytest.fixture()
def trusted_signer(pki, wine, helpers):
    """The signer whose CA the prefix trusts; re-added and checked for every test."""
    identity = pki["trusted"]
    assert wine.run(helpers / "stores.exe", "add-root", windows_path(identity.ca_der)).returncode == 0
    assert wine.run(helpers / "stores.exe", "has-root", windows_path(identity.ca_der)).returncode == 0
    return identity


@pytest.fixture()
def untrusted_signer(pki, wine, helpers):
    identity = pki["untrusted"]
    wine.run(helpers / "stores.exe", "remove-root", windows_path(identity.ca_der))
    assert wine.run(helpers / "stores.exe", "has-root", windows_path(identity.ca_der)).returncode == 1
    return identity


@pytest.fixture()
def packer(stubpack, program, tmp_path):
    return Packer(stubpack, program, tmp_path)


@pytest.fixture()
def stub(wine, helpers, packer, trusted_signer):
    """Packs documents into the program under test, signed by the trusted signer, and runs them."""
    return Stub(wine, helpers, packer, trusted_signer)


@pytest.fixture()
def actions(wine, hosts, tmp_path):
    return ActionRunner(wine, hosts, tmp_path)


@pytest.fixture(scope="module")
def saved_settings(wine, tmp_path_factory):
    """The prefix's proxy settings, put back at the module's end as it found them."""
    settings = ProxySettings(wine, tmp_path_factory.mktemp("proxy-settings"))
    yield settings
    settings.restore()


@pytest.fixture()
def settings(saved_settings):
    """No proxy configured anywhere, until the test sets one."""
    saved_settings.reset()
    return saved_settings


@pytest.fixture()
def credentials(wine, helpers):
    store = CredentialStore(wine, helpers)
    yield store
    store.clean_up()


@pytest.fixture()
def query(wine, helpers, credentials):
    """Every query starts and ends with no stored login for the test proxies."""
    runner = ProxyQuery(wine, helpers)
    runner.cancel_dialogs()
    yield runner
    runner.close()


@pytest.fixture()
def target():
    """The web server that proxy probes are meant for: any path answers."""
    with WebServer(default=b"package bytes") as server:
        yield server


@pytest.fixture()
def open_proxy():
    with WebServer() as proxy:
        yield proxy


@pytest.fixture()
def login_proxy():
    with WebServer(credentials=LOGIN) as proxy:
        yield proxy
