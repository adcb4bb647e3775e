"""The package download and replace-file actions under Wine, against local web
servers with faults on demand and TLS with a trusted and an untrusted CA (a
proxy that demands a login: test_road); downloads pinned by their SHA-256
("sha256" of the package download and of a replace-file entry) are kept only
when the body written matches the pin. The prefix's proxy settings are
cleared for every test: a proxy left configured by another test would carry
these downloads."""

import hashlib
import json
import random
import time

import pytest

from kit.servers import WebServer, etag, unused_address
from kit.wine import wait_until, windows_path

DOWNLOADER = "class GenericStub::CDownloader"
FAILED_8 = "ERROR:: Error occurred, error code = [8]."
OTHER = hashlib.sha256(b"another body").hexdigest()


def body(size, seed=0):
    return random.Random(seed).randbytes(size)


def download(url, **inputs):
    return {"action": "PackageDownloadAction", "in": {"downloadUrl": url, **inputs},
            "out": {"downloadedFilename": "=" + inputs.get("downloadFilename", url.rsplit("/", 1)[-1])}}


def progress_runs(callbacks):
    """The progress values of each action, split at its BEGIN and END messages;
    "data" for a message of a body without a known length."""
    runs = []
    for message in map(json.loads, callbacks):
        if message["content"] == "BEGIN":
            runs.append([])
        elif message["className"] == DOWNLOADER:
            content = message["content"]
            runs[-1].append(float(content["progress"]) if "progress" in content else "data")
    return runs


def status_lines(log):
    return [line for line in log if "The return code for the http request" in line]


@pytest.fixture(autouse=True)
def no_proxy(settings):
    return settings


def test_bodies_arrive_whole_with_progress_that_ends_in_100_twice_unless_progress_is_off(actions):
    files = {f"/f{size}.bin": body(size, size) for size in (0, 1, 8193, 50 * 1024 * 1024)}
    files["/chunked.bin"] = body(20000)
    files["/q/query.bin"] = b"with query"
    files.update({f"/p{on}.bin": body(30000) for on in ("0", "off", "2x")})
    with WebServer(files) as server:
        server.fault("/chunked.bin", "chunked")
        (actions.downloads / "f1.bin").write_bytes(b"an older, longer file at the path")
        # A killed download's partial file goes, with a record that is not one; a file the pattern only resembles stays.
        (actions.downloads / "f1.bin.~00000abc00000001.partial").write_bytes(b"killed")
        (actions.downloads / "f1.bin.~00000abc00000001.resume").write_bytes(b"tarnwick-resume 1\n" + b"x" * 20000)
        (actions.downloads / "f1.bin.~notes.partial").write_bytes(b"the user's")
        workflow = [download(server.url(path)) for path in files if path.startswith("/f")]
        workflow.append(download(server.url("/chunked.bin"), downloadFilename="sub.bin"))
        workflow.append(download(server.url("/q/query.bin"), downloadArguments="a=1&b=x%20y"))
        # progressEnabled decides whether progress is told.
        workflow += [download(server.url(f"/p{on}.bin"), progressEnabled=on) for on in ("0", "off", "2x")]
        names = [element["out"]["downloadedFilename"][1:] for element in workflow]
        result = actions.run_workflow(workflow, names, callbacks=True)
        assert ("GET", "/q/query.bin?a=1&b=x%20y") in [r[:2] for r in server.requests]

    assert result.error is None, result.log
    assert result.store == {name: name for name in names}
    for path, data in files.items():
        name = "sub.bin" if path == "/chunked.bin" else path.rsplit("/", 1)[-1]
        assert hashlib.sha256((actions.downloads / name).read_bytes()).digest() == hashlib.sha256(data).digest(), name
    runs = progress_runs(result.callbacks)
    assert len(runs) == len(workflow)
    assert len(result.callbacks) == 2 * len(workflow) + sum(map(len, runs))  # BEGIN, END and the progress
    assert runs[0] == [100.0]  # an empty body is complete at once
    for values in runs[1:4] + runs[5:6] + runs[8:]:
        assert values == sorted(values) and values[-2:] == [100.0, 100.0], values
    assert runs[6:8] == [[], []]  # progressEnabled "0" and "off"
    assert len(runs[3]) > 100  # one message per read of the 50 MB body, not only at its end
    assert runs[4] and set(runs[4]) == {"data"}  # no Content-Length: no percentage, only that data arrives
    assert sorted(p.name for p in actions.downloads.glob("*.~*")) == ["f1.bin.~notes.partial"]
    assert "INFO:: CDownloadManager::createDownloader szUrl [%s]." % server.url("/q/query.bin?a=1&b=x%20y") \
        in result.log
    assert result.log.count("INFO:: Begin to receive binary from server.") == len(workflow)
    assert result.log.count("INFO:: End of receive binary from server.") == len(workflow)


def test_failed_attempts_wait_3000_ms_each_a_404_is_tried_four_times_without_waiting_and_a_bad_url_gives_7(actions):
    # A URL that does not parse is no attempt: 7 at once, and nothing published.
    bad = actions.run("PackageDownloadAction", {"downloadUrl": "http://localhost:99999/p.bin"}, ["downloadedFilename"])
    assert bad.error == "7" and bad.store == {}
    assert any(line.startswith("ERROR:: Error in WinHttpCrackUrl, GetLastError() = ") for line in bad.log), bad.log
    assert "ERROR:: Error occurred, error code = [7]." in bad.log

    port = unused_address().split(":")[1]
    refused = actions.run_workflow([download(f"http://localhost:{port}/p.bin")], count_waits=True)
    assert refused.error == "8" and refused.waits == [3000] * 4
    sends = [line for line in refused.log if line.startswith("ERROR:: CDownloader::request: WinHttpSendRequest failed.")]
    assert len(sends) == 4, refused.log

    # Wine sees a connection reset after the request as a failure to receive the response.
    with WebServer({"/p.bin": body(9000)}) as server:
        server.fault("/p.bin", "reset", "reset")
        result = actions.run("PackageDownloadAction", {"downloadUrl": server.url("/p.bin")}, ["downloadedFilename"],
                             count_waits=True)
        missing = actions.run("PackageDownloadAction", {"downloadUrl": server.url("/missing.bin")},
                              ["downloadedFilename"], count_waits=True)
        assert server.gets("/missing.bin") == 4
    assert result.error is None and result.waits == [3000, 3000]
    failures = [line for line in result.log if line.startswith("ERROR:: CDownloader::request: WinHttp")]
    assert len(failures) == 2, result.log
    assert status_lines(result.log) == ["INFO:: 2 >> The return code for the http request = [200]."]
    assert (actions.downloads / "p.bin").read_bytes() == body(9000)
    assert missing.error == "8" and missing.store == {} and missing.waits == []
    assert status_lines(missing.log) == [f"INFO:: {n} >> The return code for the http request = [404]."
                                          for n in (4, 3, 2, 1)]
    assert FAILED_8 in missing.log
    assert not (actions.downloads / "missing.bin").exists()


def test_a_body_cut_four_times_or_an_unwritable_file_fails_with_8_and_leaves_what_was_there(actions):
    with WebServer({"/p.bin": body(100000)}) as server:
        server.fault("/p.bin", "truncate", repeat=True)
        (actions.downloads / "folder.bin").mkdir()
        result = actions.run_workflow([download(server.url("/p.bin"))], ["p.bin"], count_waits=True)
        assert result.error == "8" and "ERROR:: CDownloader::receive error!!!" in result.log
        # Every cut body is an attempt; the last one fails without a wait.
        assert server.gets("/p.bin") == 4 and result.waits == [3000] * 3
        assert result.log.count("ERROR:: The body ended after [50000] of [100000] bytes.") == 4, result.log
        assert status_lines(result.log) == [f"INFO:: {n} >> The return code for the http request = [200]."
                                            for n in (4, 3, 2, 1)]
        assert not (actions.downloads / "p.bin").exists()
        (actions.downloads / "p.bin").write_bytes(b"an earlier complete copy")
        result = actions.run_workflow([download(server.url("/p.bin"))], ["p.bin"], count_waits=True)
        assert result.error == "8"
        assert (actions.downloads / "p.bin").read_bytes() == b"an earlier complete copy"
        server.fault("/p.bin")
        result = actions.run_workflow([download(server.url("/p.bin"), downloadFilename="folder.bin")],
                                      ["folder.bin"], count_waits=True)
        assert server.gets("/p.bin") == 9 and result.waits == []
    assert result.error == "8" and result.store == {}
    assert any(line.startswith("ERROR:: Error in MoveFileEx [folder.bin.~") for line in result.log), result.log
    assert list(actions.downloads.glob("*.partial")) == []


@pytest.mark.parametrize("ranges", [True, False])
def test_a_reset_body_a_server_error_and_a_stall_are_attempts_and_the_next_one_resumes(actions, ranges):
    files = {f"/{name}.bin": body(400000, seed) for seed, name in enumerate(("reset", "error", "stall"))}
    with WebServer(files, ranges=ranges) as server:
        for path, fault in zip(files, ("reset-half", "500", "stall")):
            server.fault(path, fault)
        started = time.monotonic()
        # The stalled server sends nothing for 30 s: the attempt must end long before.
        result = actions.run_workflow([download(server.url(path)) for path in files], callbacks=True,
                                      count_waits=True, receive_timeout=1500)
        elapsed = time.monotonic() - started
        assert [server.gets(path) for path in files] == [2, 2, 2], "\n".join(result.log)
        # After a broken body the rest is asked for where the file ends, if the server offers ranges.
        asked = [(r[1], r[3], r[4]) for r in server.requests if r[3]]
    assert [(path, tag) for path, _, tag in asked] == (
        [(path, etag(files[path])) for path in ("/reset.bin", "/stall.bin")] if ranges else []), result.log
    # Within the half that arrived (a read that broke off in its middle is asked for again).
    assert all(0 < int(ask[len("bytes="):-1]) <= 200000 for _, ask, _ in asked), asked
    assert result.error is None, result.log
    assert elapsed < 20, elapsed
    for path, data in files.items():
        assert (actions.downloads / path[1:]).read_bytes() == data, path
    assert list(actions.downloads.glob("*.~*")) == []
    # A broken body waits like a failed request; a 500 is retried at once. The counter goes on.
    assert result.waits == [3000, 3000]
    codes = [line.split("= ")[1] for line in status_lines(result.log)]
    assert [line.split(" >> ")[0] for line in status_lines(result.log)] == ["INFO:: 4", "INFO:: 3"] * 3
    rest = "[206]." if ranges else "[200]."
    assert codes == ["[200].", rest, "[500].", "[200].", "[200].", rest]
    # The stall ends as a timeout of the query or of the read: 12002 on Windows, Wine passes on the socket's 10060.
    assert any(f"ERROR:: Error in WinHttp{call}, GetLastError() = [{code}]." in result.log
               for call in ("QueryDataAvailable", "ReadData") for code in (12002, 10060)), result.log
    assert "ERROR:: CDownloader::receive error!!!" not in result.log
    for values in progress_runs(result.callbacks):
        assert values == sorted(values) and values[-2:] == [100.0, 100.0], values


def test_a_partial_file_of_a_killed_run_is_continued_while_its_validator_holds(actions):
    data = body(400000, 7)
    with WebServer({"/k.bin": data}) as server:
        server.fault("/k.bin", "stall")
        killed = actions.start_workflow([download(server.url("/k.bin"))])
        wait_until(lambda: list(actions.downloads.glob("k.bin.~*.resume")) and
                   [p for p in actions.downloads.glob("k.bin.~*.partial") if p.stat().st_size > 0],
                   killed[0], "no partial file", 60)
        time.sleep(0.5)  # the rest of the half that arrived, as far as the file takes it before the stall
        killed[0].kill()
        actions.wine.finish(killed[0])
        # The same leftover under other names: with a validator the server no longer has (it sends the whole
        # body), with another length (its 206 does not continue the file: the next attempt asks for all), and
        # for a download without a pin (nothing tells the earlier run's bytes from bytes dropped beside them).
        for name, old, new in (("old", etag(data).encode(), b'"stale"'), ("odd", b"\n400000\n", b"\n400001\n"),
                               ("bare", b"", b"")):
            for leftover in actions.downloads.glob("k.bin.~*"):
                (actions.downloads / (name + leftover.name[1:])).write_bytes(leftover.read_bytes().replace(old, new))
        kept = f"bytes={next(actions.downloads.glob('k.bin.~*.partial')).stat().st_size}-"
        pin = hashlib.sha256(data).hexdigest()
        result = actions.run_workflow([download(server.url("/k.bin"), downloadFilename=f"{name}.bin",
                                                **({"sha256": pin} if name != "bare" else {}))
                                       for name in ("k", "old", "odd", "bare")], callbacks=True, count_waits=True)
        asked = [r[3:] for r in server.requests[1:]]
    assert result.error is None and result.waits == [], result.log
    assert asked == [(kept, etag(data)), (kept, '"stale"'), (kept, etag(data)), (None, None), (None, None)]
    for name in ("k", "old", "odd", "bare"):
        assert (actions.downloads / f"{name}.bin").read_bytes() == data, name
    assert list(actions.downloads.glob("*.~*")) == []
    runs = progress_runs(result.callbacks)
    assert runs[0][0] > 50 and runs[1][0] < 50 and runs[2][0] < 50  # percentages of the whole body
    for values in runs:
        assert values == sorted(values) and values[-2:] == [100.0, 100.0], values


def test_tls_follows_the_scheme_and_an_untrusted_certificate_fails_at_once(actions, trusted_signer, untrusted_signer):
    files = {"/p.bin": body(5000)}
    with WebServer(files, tls=trusted_signer.tls) as good, WebServer(files, tls=untrusted_signer.tls) as bad:
        result = actions.run_workflow([download(good.url("/p.bin"))], count_waits=True)
        assert result.error is None, result.log
        assert (actions.downloads / "p.bin").read_bytes() == files["/p.bin"]
        # The same server asked in plain http on its port is not spoken to in TLS.
        plain = actions.run_workflow([download(good.url("/p.bin").replace("https:", "http:"))], count_waits=True)
        assert plain.error == "8" and len(plain.waits) == 4

        result = actions.run_workflow([download(bad.url("/p.bin"), downloadFilename="bad.bin")], count_waits=True)
        assert bad.gets("/p.bin") == 0
    assert result.error == "8" and result.waits == []
    # Wine reports the certificate with 12157, which gets a line of its own before the common one.
    assert [line for line in result.log if line.startswith("ERROR::")] == [
        "ERROR:: CDownloader::request: WinHttpSendRequest failed on the secure channel. last error = 12157",
        "ERROR:: ERROR_WINHTTP_SECURE_FAILURE error occurred.", FAILED_8]


def test_a_package_is_kept_only_when_it_matches_its_pin_in_either_case(actions):
    data = body(60000)
    pin = hashlib.sha256(data).hexdigest()
    with WebServer({"/p.bin": data}) as server:
        def pinned(name, sha256):
            return actions.run_workflow([download(server.url("/p.bin"), downloadFilename=name, sha256=sha256)],
                                        [name], count_waits=True)

        right, wrong = pinned("right.bin", pin.upper()), pinned("wrong.bin", OTHER)
        # A pin that is not a hash fails before anything is fetched.
        malformed = pinned("bad.bin", pin[1:])
        assert server.gets("/p.bin") == 2  # a mismatch is not tried again
    assert right.error is None and right.store == {"right.bin": "right.bin"}, right.log
    assert (actions.downloads / "right.bin").read_bytes() == data
    assert f"INFO:: The SHA-256 of [right.bin] matches the pinned [{pin}]." in right.log
    assert wrong.error == "8" and wrong.store == {} and wrong.waits == []
    assert f"ERROR:: SHA-256 mismatch for [wrong.bin]: expected [{OTHER}], received [{pin}]." in wrong.log
    assert FAILED_8 in wrong.log
    assert malformed.error == "8" and f"ERROR:: The sha256 [{pin[1:]}] of [bad.bin] is not 64 hexadecimal digits." \
        in malformed.log
    assert sorted(p.name for p in actions.downloads.iterdir()) == ["actionrun.exe", "right.bin"]


def test_replace_file_fetches_the_files_of_the_matching_version_entry_by_entry_and_never_out_of_the_folder(
        actions, helpers):
    version = "3.2.1.0"  # of versionedinstaller.exe
    extraction = actions.folder / "Package"
    for folder, name in (("bin", "a.dll"), ("pinned", "b.dll")):
        (extraction / folder).mkdir(parents=True)
        (extraction / folder / name).write_bytes(b"the package's own")
    (extraction / "Setup.exe").write_bytes((helpers / "versionedinstaller.exe").read_bytes())
    # The user's own file of the same name in the program's folder is never written.
    (actions.downloads / "a.dll").write_bytes(b"the user's own")
    (actions.folder / "outside.dll").write_bytes(b"beside the package")
    files = {"/new/a.dll": b"patched a", "/new/b.dll": b"patched b", "/new/outside.dll": b"never",
             "/old/c.dll": b"never"}

    def replace(entries):
        return actions.run("ReplaceFileAction", {"extractionPath": windows_path(extraction) + "\\",
                                                 "executableName": "Setup.exe",
                                                 "additionalArguments": json.dumps(entries)})

    with WebServer(files) as server:
        old, new = server.url("/old/"), server.url("/new/")
        result = replace([{"version": version + "0", "sourceUrl": old, "path": "bin\\", "files": "c.dll"},
                          {"version": "", "sourceUrl": "x", "path": "x", "files": "x"},
                          {"version": version, "sourceUrl": new, "path": "bin\\", "files": "a.dll||b.dll"}])
        assert [r[1] for r in server.requests] == ["/new/a.dll", "/new/b.dll"], (version, result.log)
        outside = replace([{"version": version, "sourceUrl": new, "path": "..\\", "files": "outside.dll"},
                           {"version": version, "sourceUrl": new, "path": ".\\", "files": "..\\outside.dll"},
                           {"version": version, "sourceUrl": new, "path": "new\\", "files": "a.dll"},
                           {"version": version, "sourceUrl": "x", "path": "x"}])  # no "files": the run ends here
        # A patch file replaces the package's copy only when it matches its pin; b.dll's pin is another file's.
        pins = f"{hashlib.sha256(files['/new/a.dll']).hexdigest()}||{OTHER}"
        pinned = replace([{"version": version, "sourceUrl": new, "path": "pinned\\", "files": "a.dll||b.dll",
                           "sha256": pins}])
        assert [r[1] for r in server.requests[2:]] == ["/new/a.dll", "/new/a.dll", "/new/b.dll"]
    assert result.error is None, result.log
    assert (extraction / "bin" / "a.dll").read_bytes() == b"patched a"
    assert (extraction / "bin" / "b.dll").read_bytes() == b"patched b"
    assert (actions.downloads / "a.dll").read_bytes() == b"the user's own"
    assert not (actions.downloads / "b.dll").exists()
    assert sorted(p.name for p in (extraction / "bin").iterdir()) == ["a.dll", "b.dll"]
    # The program writes this line without a line end: the next line follows on the same.
    assert any(line.startswith("ERROR:: additionalArguments has an entry where file version is not available.")
               for line in result.log)

    # The first matching entry is in place before the next one is read.
    assert (extraction / "new" / "a.dll").read_bytes() == b"patched a"
    assert outside.error is not None and "requires stringValue" in outside.error, outside.error
    assert (actions.folder / "outside.dll").read_bytes() == b"beside the package"
    assert [line for line in outside.log if line.startswith("ERROR::")] == [
        "ERROR:: additionalArguments has an entry whose path [..\\] leads out of the installer's folder.",
        "ERROR:: additionalArguments has an entry whose file name [..\\outside.dll] leads out of the installer's "
        "folder."]

    assert pinned.error == "8", pinned.log
    assert (extraction / "pinned" / "a.dll").read_bytes() == b"patched a"
    assert (extraction / "pinned" / "b.dll").read_bytes() == b"the package's own"
    assert sorted(p.name for p in (extraction / "pinned").iterdir()) == ["a.dll", "b.dll"]
    received = hashlib.sha256(files["/new/b.dll"]).hexdigest()
    assert (f"ERROR:: SHA-256 mismatch for [{windows_path(extraction)}\\pinned\\b.dll]: expected [{OTHER}], "
            f"received [{received}].") in pinned.log, pinned.log
