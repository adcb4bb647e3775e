"""The road of one run from a packed and signed stub: download the package
(a signed "<name>_Setup.exe" holding a RAR with a signed, versioned Setup.exe)
from a loopback server, verify its publisher, unpack it, add arguments by the
installer's version, run it and wait; and the ways the road ends early."""

import json
import shutil
import time

import pytest

from kit.package import hide_in_certificate_table, make_package
from kit.proxy import PROXY_HOST
from kit.rar5 import rar5
from kit.records import read_records
from kit.servers import ForwardingProxy, WebServer
from kit.signing import osslsigncode_verifies, sign
from kit.stub import Stub
from kit.urltoken import signed
from kit.windows import TEXT_108, TEXT_109
from kit.wine import windows_path

ACTIONS = ["PackageDownloadAction", "ExecutableVerifierAction", "PackageExtractionAction",
           "AddArgumentsAction", "RunExecutableAction"]
ADDITIONAL = json.dumps([{"argumentName": "productLang", "minSupportVersion": "3.0"},
                         {"argumentName": "requestType", "minSupportVersion": "3.2.1.1"}])
PROTOCOL = "tarnwick-road-handler"
LOGIN = ("roaduser", "r0ad s3cret")
WAIT = 60


def installed(name):
    """The installer's record of a road run for the package name."""
    return [(f"C:\\Orvakel\\{name}\\Setup.exe", '/road /productLang "en-US"', f"C:\\Orvakel\\{name}")]


def document(url, publisher, direct=True, first=(), provided=None):
    """The road's five actions after the actions first, each run only when provided holds."""
    values = {"productLang": "en-US", "requestType": "/TARNWICKSERVICE/ZRQ/FORM", "publisher": publisher,
              "arguments": "/road"}
    if direct:
        values["directUrl"] = url
    road = [
        {"action": "PackageDownloadAction", "in": {"downloadUrl": url}, "out": {"downloadedFilename": "=package"}},
        {"action": "ExecutableVerifierAction", "in": {"name": "=publisher", "downloadedFilename": "=package"}},
        {"action": "PackageExtractionAction", "in": {"fileName": "=package"},
         "out": {"extractionPath": "=folder", "executableName": "=setup"}},
        {"action": "AddArgumentsAction", "in": {"arguments": "=arguments", "executableName": "=setup",
                                                "launchPath": "=folder", "additionalArguments": ADDITIONAL}},
        {"action": "RunExecutableAction", "in": {"executableName": "=setup", "launchPath": "=folder",
                                                 "arguments": "=arguments", "shallWait": "1"}},
    ]
    if provided:
        road = [{**action, "provided": provided} for action in road]
    return json.dumps({**values, "workflow": [*first, *road]})


class Road:
    def __init__(self, wine, helpers, packer, signer, folder, monkeypatch):
        self.wine, self.helpers, self.folder = wine, helpers, folder
        self.stub = Stub(wine, helpers, packer, signer)
        self.signer = signer
        self.installs = folder / "installs"
        self.installs.mkdir()
        monkeypatch.setenv("TARNWICK_INSTALLER_RECORDS", windows_path(self.installs))
        monkeypatch.setenv("TARNWICK_INSTALLER_EXIT", "7")
        self.unpacked = []

    def package(self, name, signer=None, padding_mb=0, archive=None):
        """The package's bytes (with archive, bytes, in place of the installer's
        archive); the folder it unpacks into is removed afterwards."""
        self.unpacked.append(self.wine.prefix / "drive_c" / "Orvakel" / name[:-len("_Setup.exe")])
        signer = signer or self.signer
        return make_package(self.helpers / "versionedinstaller.exe", self.helpers / "standininstaller.exe",
                            signer.cert, signer.key, self.folder / name, padding_mb, archive).read_bytes()

    def records(self):
        return read_records(self.installs, lines=3)

    def cleanup(self):
        for folder in self.unpacked:
            shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture()
def road(wine, helpers, packer, trusted_signer, tmp_path, monkeypatch):
    value = Road(wine, helpers, packer, trusted_signer, tmp_path, monkeypatch)
    yield value
    value.cleanup()


def test_the_road_runs_the_installer_with_its_arguments_and_exits_0(road, trusted_signer):
    body = road.package("RoadOk_Setup.exe")
    publisher = "Tarnwick Test trusted Publisher"
    with WebServer({"/RoadOk_Setup.exe": body}) as server:
        url = f"http://127.0.0.1:{server.port}/RoadOk_Setup.exe"
        result = road.stub.run(document(url, publisher), timeout=WAIT)
        assert server.gets("/RoadOk_Setup.exe") == 1

    assert result.code == 0
    # Only the switch whose minimum the installer's version 3.2.1.0 meets is added.
    assert road.records() == installed("RoadOk")

    log = result.log
    # One BEGIN and one END per action, in order. Scenario files that run single actions
    # (actionrun) may write into the same log meanwhile, so the marks are looked for in order
    # among the lines rather than compared with all of them.
    marks = iter(log)
    assert all(mark in marks for mark in [f"INFO:: {what} [class GenericStub::{action}]." for action in ACTIONS
                                          for what in ("Begin to run class", "End of running class")])
    assert f"INFO:: A certificate with a subject name [{publisher}] has been found!" in log


def test_a_failed_download_with_a_direct_url_offers_every_signed_part_in_the_browser(road, default_browser):
    with WebServer() as server:  # every path answers 404
        template = f"http://127.0.0.1:{server.port}/pkg/road_{{:03d}}_003.exe?authparam=a3f1c0de7b5"
        run = road.stub.start(road.stub.pack(document(template.format(2), "Tarnwick Test trusted Publisher")))
        inspector = run.inspector
        error = ("--image", windows_path(run.path), "--class", "#32770", "--title", "Orvakel Quickfetch", "--visible")
        # The main window carries the same caption and stays, hidden, behind the error window: only the
        # error window is visible and has a button.
        shown = inspector.run("get-text", *error, "--control", "id:1009", "--wait", str(WAIT * 1000))
        assert shown[0] == 0, "no error window"
        assert server.gets("/pkg/road_002_003.exe") == 4
    before = int(time.time())
    assert inspector.run("click", *error, "--control", "id:1009")[0] == 0
    records = read_records(default_browser, count=3, timeout=WAIT)
    assert len(records) == 3, "the browser did not get three parts"
    after = int(time.time())
    opened = sorted(record[1] for record in records)
    assert any(opened == [signed(template.format(i), f"/pkg/road_{i:03d}_003.exe", "a3f1c0de7b5", now)
                          for i in (1, 2, 3)] for now in range(before - 1, after + 2))
    assert inspector.run("close", *error)[0] == 0
    result = run.finish(WAIT)
    assert result.code == 0
    assert "ERROR:: Error occurred, error code = [8]." in result.log
    assert road.records() == []


def test_a_failed_download_without_a_direct_url_is_shown_in_the_main_window(road):
    with WebServer() as server:
        url = f"http://127.0.0.1:{server.port}/RoadMissing_Setup.exe"
        run = road.stub.start(road.stub.pack(document(url, "Tarnwick Test trusted Publisher", direct=False)))
        run.wait_for(lambda state: state.status == TEXT_108, timeout=WAIT)
    # The red bar is requested with PBM_SETSTATE, which Wine's progress bar does not keep:
    # the request itself is checked with the window host (test_main_window).
    assert run.process.poll() is None  # the window stays until the user closes it
    run.close()
    result = run.finish(WAIT)
    assert result.code == 0
    assert "ERROR:: Error occurred, error code = [8]." in result.log
    assert road.records() == []


def test_a_package_of_another_publisher_is_neither_unpacked_nor_run(road, untrusted_signer):
    # The expected publisher's name, but issued by a CA that the machine does not trust.
    name = "RoadUntrusted_Setup.exe"
    body = road.package(name, signer=untrusted_signer)
    with WebServer({f"/{name}": body}) as server:
        url = f"http://127.0.0.1:{server.port}/{name}"
        run = road.stub.start(road.stub.pack(document(url, "Tarnwick Test untrusted Publisher")))
        run.wait_for(lambda state: state.status == TEXT_109, timeout=WAIT)
    run.close()
    result = run.finish(WAIT)
    assert result.code == 0
    assert "ERROR:: Error occurred, error code = [9]." in result.log
    assert not road.unpacked[0].exists()
    assert road.records() == []


def test_an_archive_hidden_in_the_certificate_table_of_a_signed_file_is_neither_unpacked_nor_run(road, helpers):
    # Any small program the publisher ever signed, with an archive of the attacker's Setup.exe
    # in its certificate table.
    name = "RoadPadded_Setup.exe"
    stand_in = helpers / "standininstaller.exe"
    path = hide_in_certificate_table(stand_in, stand_in, road.signer.cert, road.signer.key, road.folder / name)
    # What makes the attack real: the signature still verifies.
    assert osslsigncode_verifies(path, road.signer)
    road.unpacked.append(road.wine.prefix / "drive_c" / "Orvakel" / "RoadPadded")
    publisher = "Tarnwick Test trusted Publisher"
    with WebServer({f"/{name}": path.read_bytes()}) as server:
        run = road.stub.start(road.stub.pack(document(server.url(f"/{name}"), publisher)))
        run.wait_for(lambda state: state.status == TEXT_109, timeout=WAIT)
    run.close()
    result = run.finish(WAIT)
    assert result.code == 0
    # Refused before the trust check: nothing says the file is the publisher's.
    assert not any("A certificate with a subject name" in line for line in result.log)
    error = result.log.index("ERROR:: Error occurred, error code = [9].")
    assert result.log[error - 1] == f"INFO:: ExecutableVerifierAction::The certificate table of [{name}] holds " \
                                    "more than its signature."
    assert "PackageExtractionAction" not in began(result.log)
    assert not road.unpacked[0].exists()
    assert road.records() == []


def test_a_setup_beside_the_stub_is_not_started_after_a_failed_extraction(road, helpers):
    # The signed package's archive holds an entry that climbs out of its folder: it is refused whole.
    # A web page dropped a Setup.exe into the stub's folder (the Downloads folder).
    name = "RoadHostile_Setup.exe"
    body = road.package(name, archive=rar5([{"name": "Setup.exe", "data": b"MZ packaged"},
                                            {"name": "../../Setup.exe", "data": b"MZ climbing"}]))
    shutil.copy(helpers / "standininstaller.exe", road.folder / "Setup.exe")
    with WebServer({f"/{name}": body}) as server:
        run = road.stub.start(road.stub.pack(document(server.url(f"/{name}"), "Tarnwick Test trusted Publisher")))
        run.wait_for(lambda state: state.status == "Aborted.(Error:12)", timeout=WAIT)
    run.close()
    result = run.finish(WAIT)
    assert result.code == 0
    error = result.log.index("ERROR:: Error occurred, error code = [12].")
    assert result.log[error - 1].startswith(f"ERROR:: ExtractPackage::[..\\..\\Setup.exe] of [{name}] is refused: ")
    assert began(result.log) == ACTIONS[:3]
    assert not road.unpacked[0].exists()
    assert not (road.wine.prefix / "drive_c" / "Setup.exe").exists()
    assert road.records() == []


def test_the_publishers_installer_downloaded_beside_the_stub_is_verified_and_run(road, helpers):
    # No archive: the road downloads the signed installer into the stub's folder and starts it there.
    body = sign(helpers / "standininstaller.exe", road.signer, road.folder / "signed.exe").read_bytes()
    workflow = [
        {"action": "PackageDownloadAction", "in": {"downloadUrl": "=url"}, "out": {"downloadedFilename": "=file"}},
        {"action": "ExecutableVerifierAction", "in": {"name": "Tarnwick Test trusted Publisher",
                                                      "downloadedFilename": "=file"}},
        {"action": "RunExecutableAction", "in": {"executableName": "=file", "arguments": "/plain",
                                                 "shallWait": "1"}},
    ]
    with WebServer({"/RoadPlain.exe": body}) as server:
        result = road.stub.run(json.dumps({"productLang": "en-US", "requestType": "/TARNWICKSERVICE/ZRQ/FORM",
                                           "url": server.url("/RoadPlain.exe"), "workflow": workflow}),
                               timeout=WAIT)
    assert result.code == 0
    assert [line for line in result.log if line.startswith("ERROR")] == []
    assert road.records() == [(windows_path(road.folder / "RoadPlain.exe"), "/plain", windows_path(road.folder))]


@pytest.mark.parametrize("earlier", [b"an earlier complete copy", None], ids=["earlier-copy", "no-copy"])
def test_closing_the_window_during_the_download_ends_the_run_with_0_and_keeps_what_was_there(road, earlier):
    body = road.package("RoadClosed_Setup.exe", padding_mb=4)
    # The stub's folder: the user's Downloads, where the package lands.
    target = road.folder / "RoadClosed_Setup.exe"
    if earlier is None:
        target.unlink()
    else:
        target.write_bytes(earlier)
    with WebServer({"/RoadClosed_Setup.exe": body}) as server:
        server.slow_chunk, server.slow_pause = 16 << 10, 0.05
        server.fault("/RoadClosed_Setup.exe", "slow", repeat=True)
        url = f"http://127.0.0.1:{server.port}/RoadClosed_Setup.exe"
        run = road.stub.start(road.stub.pack(document(url, "Tarnwick Test trusted Publisher")))
        run.wait_for(lambda state: state.status.startswith("Downloading ... "), timeout=WAIT)
        run.close()
        result = run.finish(WAIT)
    assert result.code == 0
    assert "INFO:: End of running class [class GenericStub::PackageDownloadAction]." not in result.log
    assert road.records() == []
    if earlier is None:
        assert not target.exists()
    else:
        assert target.read_bytes() == earlier
    # What had arrived stays only under partial names of its own (the body and how to continue it), which the
    # next download continues or removes.
    assert sorted(p.suffix for p in road.folder.glob(target.name + ".~*")) == [".partial", ".resume"]


def began(log):
    return [line[len("INFO:: Begin to run class [class GenericStub::"):-2] for line in log
            if line.startswith("INFO:: Begin to run class [")]


def test_a_registered_protocol_handler_takes_the_download_over(road, registry, helpers, browser_records):
    handler = windows_path(helpers / "standinbrowser.exe")
    registry.set_values(rf"HKEY_CLASSES_ROOT\{PROTOCOL}", {"URL Protocol": ""})
    registry.set_values(rf"HKEY_CLASSES_ROOT\{PROTOCOL}\shell\open\command", {None: f'"{handler}" "%1"'})
    with WebServer() as server:
        url = f"http://127.0.0.1:{server.port}/RoadHandler_Setup.exe"
        handoff = f"{PROTOCOL}://get?package={url}"
        first = [{"action": "ProtocolHandlerDetectionAction", "in": {"name": PROTOCOL},
                  "out": {"isInstalled": "=handled"}},
                 {"action": "LaunchProtocolHandlerAction", "provided": "_isTrue#=handled",
                  "in": {"name": PROTOCOL, "downloadUrl": handoff}}]
        result = road.stub.run(document(url, "Tarnwick Test trusted Publisher", first=first,
                                        provided="_isZeroOrNonExist#=handled"), timeout=WAIT)
        assert server.gets("/RoadHandler_Setup.exe") == 0
    assert result.code == 0
    assert [line for line in result.log if line.startswith("ERROR")] == []
    assert read_records(browser_records, count=1, timeout=WAIT) == [(handler, f'"{handoff}"')]
    assert road.records() == []
    assert began(result.log) == ["ProtocolHandlerDetectionAction", "LaunchProtocolHandlerAction"]


def test_a_proxy_login_asked_during_the_download_is_entered_and_stored(road, settings, credentials):
    body = road.package("RoadProxy_Setup.exe")
    dialog = ("--class", "#32770", "--title", f"Connect to {PROXY_HOST}", "--wait", str(WAIT * 1000))
    with WebServer({"/RoadProxy_Setup.exe": body}) as server, ForwardingProxy(credentials=LOGIN) as proxy:
        settings.set_ie(proxy=proxy.address)
        run = road.stub.start(road.stub.pack(document(server.url("/RoadProxy_Setup.exe"),
                                                      "Tarnwick Test trusted Publisher")))
        inspector = run.inspector
        assert inspector.run("set-text", LOGIN[0], *dialog, "--control", "id:101/class:Edit")[0] == 0, "no dialog"
        assert began(run.log()) == ["PackageDownloadAction"]  # the download asks, and waits for the answer
        assert inspector.run("set-text", LOGIN[1], *dialog, "--control", "id:102")[0] == 0
        assert inspector.run("click", *dialog, "--control", "id:1")[0] == 0
        result = run.finish(WAIT)
        assert server.gets("/RoadProxy_Setup.exe") == 1
    assert result.code == 0
    assert [r for r in proxy.requests if r[0] == "GET"][-1][2] == proxy.expected_header
    assert road.records() == installed("RoadProxy")
    stored = credentials.read(PROXY_HOST)
    assert stored is not None and (stored["user"], stored["password"]) == LOGIN
