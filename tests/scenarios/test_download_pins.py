"""Downloads pinned by their SHA-256 ("sha256" of the package download and of a
replace-file entry) under Wine, against a local server: a file is kept only
when the body written matches its pin."""

import hashlib
import json

import pytest

from kit.servers import WebServer
from kit.wine import windows_path

BODY = b"the package " * 5000
PIN = hashlib.sha256(BODY).hexdigest()
OTHER = hashlib.sha256(b"another body").hexdigest()


@pytest.fixture(autouse=True)
def no_proxy(settings):
    return settings


def test_a_package_is_kept_only_when_it_matches_its_pin_in_either_case(actions):
    def download(url, name, pin):
        return {"action": "PackageDownloadAction", "in": {"downloadUrl": url, "downloadFilename": name, "sha256": pin},
                "out": {"downloadedFilename": "=" + name}}

    with WebServer({"/p.bin": BODY}) as server:
        right = actions.run_workflow([download(server.url("/p.bin"), "right.bin", PIN.upper())], ["right.bin"])
        wrong = actions.run_workflow([download(server.url("/p.bin"), "wrong.bin", OTHER)], ["wrong.bin"],
                                     count_waits=True)
        # A pin that is not a hash fails before anything is fetched.
        malformed = actions.run_workflow([download(server.url("/p.bin"), "bad.bin", PIN[1:])], ["bad.bin"])
        assert server.gets("/p.bin") == 2  # a mismatch is not tried again
    assert right.error is None and right.store == {"right.bin": "right.bin"}, right.log
    assert (actions.downloads / "right.bin").read_bytes() == BODY
    assert f"INFO:: The SHA-256 of [right.bin] matches the pinned [{PIN}]." in right.log
    assert wrong.error == "8" and wrong.store == {} and wrong.waits == []
    assert f"ERROR:: SHA-256 mismatch for [wrong.bin]: expected [{OTHER}], received [{PIN}]." in wrong.log
    assert "ERROR:: Error occurred, error code = [8]." in wrong.log
    assert malformed.error == "8" and f"ERROR:: The sha256 [{PIN[1:]}] of [bad.bin] is not 64 hexadecimal digits." \
        in malformed.log
    assert sorted(p.name for p in actions.downloads.iterdir()) == ["actionrun.exe", "right.bin"]


def test_a_patch_file_replaces_the_packages_copy_only_when_it_matches_its_pin(actions, helpers):
    extraction = actions.folder / "Package"
    (extraction / "bin").mkdir(parents=True)
    (extraction / "Setup.exe").write_bytes((helpers / "versionedinstaller.exe").read_bytes())
    (extraction / "bin" / "b.dll").write_bytes(b"the package's own")
    files = {"/a.dll": b"patched a", "/b.dll": b"patched b"}
    a_pin = hashlib.sha256(files["/a.dll"]).hexdigest()
    with WebServer(files) as server:
        entries = [{"version": "3.2.1.0", "sourceUrl": server.url("/"), "path": "bin\\", "files": "a.dll||b.dll",
                    "sha256": f"{a_pin}||{OTHER}"}]  # b.dll's pin is another file's
        result = actions.run("ReplaceFileAction", {"extractionPath": windows_path(extraction) + "\\",
                                                   "executableName": "Setup.exe",
                                                   "additionalArguments": json.dumps(entries)})
        assert [r[1] for r in server.requests] == ["/a.dll", "/b.dll"]
    assert result.error == "8", result.log
    assert (extraction / "bin" / "a.dll").read_bytes() == b"patched a"
    assert (extraction / "bin" / "b.dll").read_bytes() == b"the package's own"
    assert sorted(p.name for p in (extraction / "bin").iterdir()) == ["a.dll", "b.dll"]
    received = hashlib.sha256(files["/b.dll"]).hexdigest()
    assert (f"ERROR:: SHA-256 mismatch for [{windows_path(extraction)}\\bin\\b.dll]: expected [{OTHER}], "
            f"received [{received}].") in result.log, result.log
