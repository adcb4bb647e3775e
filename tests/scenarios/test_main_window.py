"""The main window driven as a run drives it: a worker thread sends the
callback messages and the failure display while the inspector reads the
status line and the progress bar from another process."""

import pytest

from kit.wine import windows_path
from kit.windows import TEXT_108, TEXT_109, WindowHost

DOWNLOADER = '{"className":"class GenericStub::CDownloader","content":{"progress":"%s"}}'
BAR = ("--control", "id:1001")
STATUS = ("--control", "id:1002")


@pytest.fixture()
def host(wine, hosts, tmp_path):
    windows = []

    def start(steps, *options):
        windows.append(WindowHost(wine, hosts, tmp_path / f"host-{len(windows)}", steps, *options))
        return windows[-1]

    yield start
    for started in windows:
        started.kill()


def bar(inspector, window):
    return inspector.fields("progress", "--hwnd", window.hwnd, *BAR)


def shown(inspector, window, status, error=False):
    """The bar once the status line shows status (and the bar its error state):
    progress shows at the next frame, a posted error state a moment later."""
    for _ in range(100):
        if inspector.text("--hwnd", window.hwnd, *STATUS) == status:
            state = bar(inspector, window)
            if not error or state["requested-state"] != "none":
                return state
    assert inspector.text("--hwnd", window.hwnd, *STATUS) == status
    return bar(inspector, window)


def test_progress_extraction_and_messages_that_change_nothing(host, inspector):
    window = host(["init", None,
                   "progress 0.50", None,
                   "progress 37.25", None,
                   "progress 100.00", None,
                   'message {"className":"class GenericStub::PackageDownloadAction","content":"BEGIN"}',
                   "message {not json", "message " + DOWNLOADER % "100.00", None,
                   'message {"className":"class GenericStub::PackageExtractionAction","content":"END"}', None,
                   "progress 42.17", None,
                   "close"])
    # Another class, invalid JSON and a repeated value leave everything as it was.
    top = {"position": "100", "low": "0", "high": "100", "marquee": "0", "requested-state": "none"}
    for step, (status, expected) in enumerate([
            ("Initializing ...", {"position": "0", "low": "0", "high": "100", "marquee": "0",
                                  "requested-state": "none"}),
            ("Downloading ... 0.50%", {"position": "0"}), ("Downloading ... 37.25%", {"position": "37"}),
            ("Downloading ... 100.00%", top), ("Downloading ... 100.00%", top),
            ("Extracting ...", {"marquee": "1"}), ("Downloading ... 42.17%", {})]):
        if step:
            window.resume()
        window.wait()
        state = shown(inspector, window, status)
        assert {name: state[name] for name in expected} == expected, status
    shown_as = inspector.fields("list", "--hwnd", window.hwnd)
    assert (shown_as["visible"], shown_as["text"]) == ("1", "Orvakel Quickset")
    window.resume()
    assert window.finish().returncode == 0
    assert not inspector.exists("--hwnd", window.hwnd)


# The stub's worker answers failures the same way (startup/ThreadProc.cpp): a JSON type error in the
# document closes its window as this one does.
def test_a_body_without_a_length_runs_the_bar_as_a_marquee_and_a_class_name_that_is_an_object_closes_the_window(
        host, inspector, execution_log):
    received = '{"className":"class GenericStub::CDownloader","content":{"received":"%d"}}'
    window = host(["init", "message " + received % 8192, "message " + received % 16384, None,
                   'message {"className":{"name":"x"},"content":"BEGIN"}'])
    window.wait()
    assert inspector.text("--hwnd", window.hwnd, *STATUS) == "Initializing ..."
    assert bar(inspector, window)["marquee"] == "1"
    window.resume()
    assert window.finish().returncode == 0
    assert not inspector.exists("--hwnd", window.hwnd)
    assert ("ERROR:: ThreadProc exception caught, type Json::LogicError [Type is not convertible to string], "
            "program exit.\r\n") in execution_log.read_bytes().decode("latin-1")


@pytest.mark.parametrize("steps, status, logged", [
    (["fail 3"], "Aborted.(Error:3)", None),
    (["fail 9"], TEXT_109, None),
    (["fail 8"], TEXT_108, None),
    (["progress 12.00", "progress abc"], "Aborted.(Error:invalid stof argument)", None),
    (["raise unrar gave up"], "Aborted.(Error:12)",
     "ERROR:: ThreadProc exception caught, type std::exception [unrar gave up], display error code [12].\r\n"),
], ids=["code-3", "code-9", "code-8-without-url", "not-a-number", "any-other-failure-is-12"])
def test_failures_shown_in_place(host, inspector, execution_log, steps, status, logged):
    window = host(["init", None] + steps)
    window.wait()
    window.resume()
    assert shown(inspector, window, status, error=True)["requested-state"] == "2"  # PBST_ERROR
    assert inspector.fields("list", "--hwnd", window.hwnd)["visible"] == "1"
    if logged:
        assert logged in execution_log.read_bytes().decode("latin-1")
    # The window stays open after the worker ended, until the user closes it.
    assert window.process.poll() is None
    assert inspector.run("close", "--hwnd", window.hwnd)[0] == 0
    assert window.finish().returncode == 0


def test_the_latest_progress_shows_with_each_position_set_twice_and_100_before_extraction(host, inspector, tmp_path):
    log = tmp_path / "bar.log"
    window = host(["progress 37.25", "progress 37.90", "progress 38.00", "progress 100.00", "progress 100.00",
                   "extract", "progress 100.00", None, "close"],
                  "--bar-log", windows_path(log))
    window.wait()
    shown(inspector, window, "Downloading ... 100.00%")
    # A burst shows at most once per frame: which of 37 and 38 appear depends
    # on the frames, but each appears once, one step beyond and then back.
    top = ["range 0 101", "pos 101", "pos 100", "range 0 100"]  # the top, in a range widened for a moment
    lines = log.read_text().splitlines()
    marquee = lines.index("marquee 1")
    assert lines[marquee - 4:marquee] == top and lines[marquee + 1:] == top  # after the marquee: set anew
    positions = [int(line.split()[1]) for line in lines[1:marquee - 4:2]]
    assert positions in ([], [37], [38], [37, 38])
    assert lines[:marquee - 4] == [line for n in positions for line in (f"pos {n + 1}", f"pos {n}")]
    window.resume()
    assert window.finish().returncode == 0
