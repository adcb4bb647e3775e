"""The road of one run from a packed and signed stub: download the package
(a signed "<name>_Setup.exe" holding a RAR with a signed, versioned Setup.exe)
from a loopback server, verify its publisher, unpack it, add arguments by the
installer's version, run it and wait; and the ways the road ends early."""

import json
import shutil
import time
from pathlib import Path

import pytest

from kit.package import hide_in_certificate_table, make_package
from kit.proxy import PROXY_HOST
from kit.records import read_records
from kit.servers import WebServer
from kit.urltoken import signed
from kit.windows import TEXT_108, TEXT_109
from kit.wine import windows_path

ACTIONS = ["PackageDownloadAction", "ExecutableVerifierAction", "PackageExtractionAction",
           "AddArgumentsAction", "RunExecutableAction"]
# The demo's document: the road's five actions, and the switches productLang from version 3.0, requestType from 4.0.
DEMO = Path(__file__).resolve().parents[2] / "tools" / "demo" / "workflow.json"
PUBLISHER = "Tarnwick Test trusted Publisher"
LOGIN = ("roaduser", "r0ad s3cret")
WAIT = 60
TROUBLESHOOTING = "https://support.orvakel.com/articles/basic-troubleshooting-for-download-problems"


def error(code):
    return f"ERROR:: Error occurred, error code = [{code}]."


def began(log):
    return [line[len("INFO:: Begin to run class [class GenericStub::"):-2] for line in log
            if line.startswith("INFO:: Begin to run class [")]


def document(url, publisher=PUBLISHER, direct=True):
    """The demo's document for the package at url (its direct URL too, when direct)."""
    values = {**json.loads(DEMO.read_text()), "publisher": publisher, "arguments": "/road", "directUrl": url}
    values["workflow"][0]["in"]["downloadUrl"] = url
    if not direct:
        del values["directUrl"]
    return json.dumps(values)


class Road:
    def __init__(self, stub, installs, folder):
        self.stub, self.wine, self.helpers, self.signer = stub, stub.wine, stub.helpers, stub.signer
        self.installs, self.folder = installs, folder
        self.unpacked = []

    def unpacks(self, name):
        """The folder that the package name unpacks into, removed afterwards."""
        self.unpacked.append(self.wine.prefix / "drive_c" / "Orvakel" / name[:-len("_Setup.exe")])

    def package(self, name, signer=None, padding_mb=0):
        """The package's bytes."""
        self.unpacks(name)
        signer = signer or self.signer
        return make_package(self.helpers / "versionedinstaller.exe", self.helpers / "standininstaller.exe",
                            signer.cert, signer.key, self.folder / name, padding_mb).read_bytes()

    def records(self):
        return read_records(self.installs, lines=3)

    def stopped(self, name, body, status, code, publisher=PUBLISHER, direct=True):
        """Runs the road of the package name (404 when body is None) until the main window
        shows status; the window stays until the user closes it, the run ends with 0 after
        the error code and nothing is unpacked or installed. The run's log lines."""
        with WebServer({f"/{name}": body} if body else {}) as server:
            run = self.stub.start(document(server.url(f"/{name}"), publisher, direct))
            run.wait_for(lambda state: state.status == status, timeout=WAIT)
        assert run.process.poll() is None
        run.close()
        result = run.finish(WAIT)
        assert result.code == 0
        assert error(code) in result.log
        assert not any(folder.exists() for folder in self.unpacked)
        assert self.records() == []
        return result.log


@pytest.fixture()
def road(stub, installs, settings, tmp_path, monkeypatch):
    # settings: no proxy is configured, whatever an earlier test set.
    monkeypatch.setenv("TARNWICK_INSTALLER_EXIT", "7")
    value = Road(stub, installs, tmp_path)
    yield value
    for folder in value.unpacked:
        shutil.rmtree(folder, ignore_errors=True)


def test_the_road_runs_the_installer_with_its_arguments_and_exits_0_with_a_proxy_login_entered_and_stored(
        road, settings, credentials):
    body = road.package("RoadOk_Setup.exe")
    dialog = ("--class", "#32770", "--title", f"Connect to {PROXY_HOST}", "--wait", str(WAIT * 1000))
    with WebServer({"/RoadOk_Setup.exe": body}) as server, WebServer(credentials=LOGIN) as proxy:
        settings.set_ie(proxy=proxy.address)
        run = road.stub.start(document(server.url("/RoadOk_Setup.exe")))
        inspector = run.inspector
        assert inspector.run("set-text", LOGIN[0], *dialog, "--control", "id:101/class:Edit")[0] == 0, "no dialog"
        assert began(run.log()) == ["PackageDownloadAction"]  # the download asks, and waits for the answer
        assert inspector.run("set-text", LOGIN[1], *dialog, "--control", "id:102")[0] == 0
        assert inspector.run("click", *dialog, "--control", "id:1")[0] == 0
        result = run.finish(WAIT)
        assert server.gets("/RoadOk_Setup.exe") == 1

    assert result.code == 0
    assert [r for r in proxy.requests if r[0] == "GET"][-1][2] == proxy.expected_header
    # Only the switch whose minimum the installer's version 3.2.1.0 meets (3.0, not 4.0) is added.
    assert road.records() == [("C:\\Orvakel\\RoadOk\\Setup.exe", '/road /productLang "en-US"', "C:\\Orvakel\\RoadOk")]
    stored = credentials.read(PROXY_HOST)
    assert stored is not None and (stored["user"], stored["password"]) == LOGIN

    log = result.log
    # One BEGIN and one END per action, in order. Scenario files that run single actions
    # (actionrun) may write into the same log meanwhile, so the marks are looked for in order
    # among the lines rather than compared with all of them.
    marks = iter(log)
    assert all(mark in marks for mark in [f"INFO:: {what} [class GenericStub::{action}]." for action in ACTIONS
                                          for what in ("Begin to run class", "End of running class")])
    assert f"INFO:: A certificate with a subject name [{PUBLISHER}] has been found!" in log


def test_a_failed_download_with_a_direct_url_offers_every_signed_part_in_the_browser(road, default_browser):
    with WebServer() as server:  # every path answers 404
        template = f"http://127.0.0.1:{server.port}/pkg/road_{{:03d}}_003.exe?authparam=a3f1c0de7b5"
        run = road.stub.start(document(template.format(2)))
        error_window = ("--image", windows_path(run.path), "--class", "#32770", "--title", "Orvakel Quickfetch",
                        "--visible")
        # The main window carries the same caption and stays, hidden, behind the error window: only the
        # error window is visible and has a button.
        shown = run.inspector.run("list", *error_window, "--control", "id:1009", "--wait", str(WAIT * 1000))
        assert shown[0] == 0, "no error window"
        assert server.gets("/pkg/road_002_003.exe") == 4
    texts = {n: run.inspector.text(*error_window, "--control", f"id:{n}") for n in ("1005", "1006", "1009")}
    assert texts["1005"] == "There was a problem downloading the software. Try downloading from a browser."
    assert (texts["1006"], texts["1009"]) == ("Troubleshoot", "Browser download")
    assert len(run.inspector.rows("list", "--image", windows_path(run.path), "--visible")) == 1
    # Enter and Escape do not end the window.
    for key in ("ESCAPE", "RETURN"):
        assert run.inspector.run("key", *error_window, key)[0] == 0
    assert run.inspector.exists(*error_window)
    before = int(time.time())
    assert run.inspector.run("click", *error_window, "--control", "id:1009")[0] == 0
    records = read_records(default_browser, count=3, timeout=WAIT)
    assert len(records) == 3, "the browser did not get three parts"
    after = int(time.time())
    opened = sorted(record[1] for record in records)
    assert any(opened == [signed(template.format(i), f"/pkg/road_{i:03d}_003.exe", "a3f1c0de7b5", now)
                          for i in (1, 2, 3)] for now in range(before - 1, after + 2))
    assert run.inspector.run("click", *error_window, "--control", "id:1006")[0] == 0
    records = read_records(default_browser, count=4, timeout=WAIT)
    assert records[3][1] == TROUBLESHOOTING
    assert run.inspector.run("close", *error_window)[0] == 0
    result = run.finish(WAIT)
    assert result.code == 0
    assert error(8) in result.log
    assert road.records() == []


def test_a_failed_download_without_a_direct_url_is_shown_in_the_main_window(road):
    # The red bar is requested with PBM_SETSTATE, which Wine's progress bar does not keep:
    # the request itself is checked with the window host (test_main_window).
    log = road.stopped("RoadMissing_Setup.exe", None, TEXT_108, 8, direct=False)
    assert began(log) == ACTIONS[:1]


def test_a_package_of_another_publisher_is_neither_unpacked_nor_run(road, untrusted_signer):
    # The expected publisher's name, but issued by a CA that the machine does not trust.
    name = "RoadUntrusted_Setup.exe"
    log = road.stopped(name, road.package(name, signer=untrusted_signer), TEXT_109, 9,
                       publisher="Tarnwick Test untrusted Publisher")
    assert began(log) == ACTIONS[:2]


def test_an_archive_hidden_in_the_certificate_table_of_a_signed_file_is_neither_unpacked_nor_run(road):
    # Any small program the publisher ever signed, with an archive of the attacker's Setup.exe
    # in its certificate table.
    name = "RoadPadded_Setup.exe"
    path = hide_in_certificate_table(road.helpers / "standininstaller.exe", road.signer, road.folder / name)
    road.unpacks(name)
    log = road.stopped(name, path.read_bytes(), TEXT_109, 9)
    # Refused before the trust check: nothing says the file is the publisher's.
    assert not any("A certificate with a subject name" in line for line in log)
    assert log[log.index(error(9)) - 1] == f"INFO:: ExecutableVerifierAction::The certificate table of [{name}] " \
                                           "holds more than its signature."
    assert began(log) == ACTIONS[:2]


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
        server.fault("/RoadClosed_Setup.exe", "slow", repeat=True)
        run = road.stub.start(document(server.url("/RoadClosed_Setup.exe")))
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
