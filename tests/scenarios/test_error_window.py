"""A failed download with a direct URL: the main window hands over to the
error window, whose button opens every part of the package in the default
browser (a stand-in that records its starts) and whose link opens the
troubleshooting page."""

import time

import pytest

from kit.records import read_records
from kit.urltoken import signed
from kit.wine import wine_environment, windows_path
from kit.windows import Inspector, WindowHost

USER_CHOICE = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\Shell\Associations\URLAssociations\https\UserChoice"
PROG_ID = "TarnwickStandInBrowser"
PROG_ID_KEY = rf"HKEY_CLASSES_ROOT\{PROG_ID}"
NOW = 1700000000
TEMPLATE = "https://dl.example.test/pkg/setup_{:03d}_003.exe?authparam=a3f1c0de7b5&lang=de"
TROUBLESHOOTING = "https://support.orvakel.com/articles/basic-troubleshooting-for-download-problems"
WAIT = 30


class Records:
    def __init__(self, folder):
        self.folder = folder
        folder.mkdir()

    def count(self):
        return len(list(self.folder.iterdir()))

    def await_count(self, count):
        deadline = time.monotonic() + WAIT
        while self.count() < count:
            assert time.monotonic() < deadline, f"{self.count()} browser starts, expected {count}"
            time.sleep(0.05)

    def settled(self):
        """The number of starts once no new one came for a second."""
        last, since = self.count(), time.monotonic()
        while time.monotonic() - since < 1.0:
            time.sleep(0.1)
            if self.count() != last:
                last, since = self.count(), time.monotonic()
        return last

    def parameters(self, first, last):
        return [record[1] for record in read_records(self.folder, count=last)[first - 1:last]]


@pytest.fixture()
def records(registry, helpers, tmp_path):
    """The stand-in browser as the user's https handler, and its records."""
    registry.save(PROG_ID_KEY)
    registry.set_values(rf"{PROG_ID_KEY}\shell\open\command",
                        {None: f'"{windows_path(helpers / "standinbrowser.exe")}" "%1"'})
    registry.set_values(USER_CHOICE, {"ProgId": PROG_ID})
    return Records(tmp_path / "records")


def test_error_window_opens_parts_and_troubleshooting_and_ends_the_run(wine, helpers, tmp_path, records):
    inspector = Inspector(wine, helpers)
    env = wine_environment(TARNWICK_BROWSER_RECORDS=windows_path(records.folder))
    host = WindowHost(wine, helpers, tmp_path / "host", ["init", None, "fail 8"],
                      "--direct-url", TEMPLATE.format(2), "--now", NOW, env=env)
    try:
        host.wait()
        host.resume()
        error = ("--class", "#32770", "--title", "Orvakel Quickfetch", "--pid", host.pid)
        code, tree = inspector.run("tree", *error, "--wait", "20000")
        assert code == 0
        texts = {fields["id"]: fields["text"] for fields in
                 (dict(f.split("=", 1) for f in line.strip().split("\t")) for line in tree.splitlines())}
        assert texts["1005"] == "There was a problem downloading the software. Try downloading from a browser."
        assert texts["1006"] == "Troubleshoot"
        assert texts["1009"] == "Browser download"
        assert inspector.fields("state", *error) == {"visible": "1", "title": "Orvakel Quickfetch"}
        assert inspector.fields("state", "--hwnd", host.hwnd)["visible"] == "0"

        # Enter and Escape do not end the window.
        assert inspector.run("key", *error, "ESCAPE")[0] == 0
        assert inspector.run("key", *error, "RETURN")[0] == 0
        before = records.settled()
        assert inspector.exists(*error)

        parts = [signed(TEMPLATE.format(i), f"/pkg/setup_{i:03d}_003.exe", "a3f1c0de7b5", NOW) for i in (1, 2, 3)]
        assert inspector.run("click", *error, "--control", "id:1009")[0] == 0
        records.await_count(before + 3)
        assert inspector.run("click", *error, "--control", "id:1009")[0] == 0
        records.await_count(before + 6)
        # The browsers start one after the other but write their records in their own time.
        assert sorted(records.parameters(before + 1, before + 6)) == sorted(parts + parts)

        assert inspector.run("click", *error, "--control", "id:1006")[0] == 0
        records.await_count(before + 7)
        assert records.parameters(before + 7, before + 7) == [TROUBLESHOOTING]
        assert inspector.exists(*error)

        assert inspector.run("close", *error)[0] == 0
        assert host.finish().returncode == 0
        assert not inspector.exists(*error)
        assert not inspector.exists("--hwnd", host.hwnd)
    finally:
        host.kill()
