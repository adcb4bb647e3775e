"""A failed download with a direct URL: the main window hands over to the
error window, whose button opens every part of the package in the default
browser (a stand-in that records its starts) and whose link opens the
troubleshooting page."""

from kit.records import read_records
from kit.urltoken import signed
from kit.windows import WindowHost

NOW = 1700000000
TEMPLATE = "https://dl.example.test/pkg/setup_{:03d}_003.exe?authparam=a3f1c0de7b5&lang=de"
TROUBLESHOOTING = "https://support.orvakel.com/articles/basic-troubleshooting-for-download-problems"


def test_error_window_opens_parts_and_troubleshooting_and_ends_the_run(wine, helpers, tmp_path, default_browser,
                                                                       inspector):
    host = WindowHost(wine, helpers, tmp_path / "host", ["init", None, "fail 8"],
                      "--direct-url", TEMPLATE.format(2), "--now", NOW)
    try:
        host.wait()
        host.resume()
        error = ("--class", "#32770", "--title", "Orvakel Quickfetch", "--pid", host.pid)
        texts = {fields["id"]: fields["text"] for fields in inspector.rows("tree", *error, "--wait", "20000")}
        assert texts["1005"] == "There was a problem downloading the software. Try downloading from a browser."
        assert texts["1006"] == "Troubleshoot"
        assert texts["1009"] == "Browser download"
        assert inspector.fields("state", *error) == {"visible": "1", "title": "Orvakel Quickfetch"}
        assert inspector.fields("state", "--hwnd", host.hwnd)["visible"] == "0"

        # Enter and Escape do not end the window.
        assert inspector.run("key", *error, "ESCAPE")[0] == 0
        assert inspector.run("key", *error, "RETURN")[0] == 0
        before = len(read_records(default_browser, quiet=1.0))
        assert inspector.exists(*error)

        parts = [signed(TEMPLATE.format(i), f"/pkg/setup_{i:03d}_003.exe", "a3f1c0de7b5", NOW) for i in (1, 2, 3)]
        for button, count in (("id:1009", 3), ("id:1009", 6), ("id:1006", 7)):
            assert inspector.run("click", *error, "--control", button)[0] == 0
            records = read_records(default_browser, count=before + count)
            assert len(records) == before + count, f"{len(records)} browser starts"
        # The browsers start one after the other but write their records in their own time.
        opened = [record[1] for record in records[before:]]
        assert sorted(opened[:6]) == sorted(parts + parts)
        assert opened[6] == TROUBLESHOOTING
        assert inspector.exists(*error)

        assert inspector.run("close", *error)[0] == 0
        assert host.finish().returncode == 0
        assert not inspector.exists(*error)
        assert not inspector.exists("--hwnd", host.hwnd)
    finally:
        host.kill()
