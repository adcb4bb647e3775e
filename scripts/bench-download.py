#!/usr/bin/env python3
"""Benchmark of the downloader: the throughput of a 200 MB download by the
program's downloader with the main window receiving progress, under Wine, as a
ratio to a bare WinHTTP read loop under the same Wine, to the downloader
without a window (what the window alone costs) and to curl, all against the
same local web server in the same run (goal: at least 0.95 of the bare loop);
and the peak working set of a 10 MB and a 1 GB download by the downloader
(goal: the 1 GB one at most 1.2 times the 10 MB one). Not a test:
run it by hand after scripts/build.sh.

  scripts/bench-download.py [--runs N]
"""

import argparse
import http.server
import os
import random
import subprocess
import sys
import tempfile
import threading
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
BUILD = REPO / "build" / "x86_64"
HARNESS = REPO / "tests" / "wine"

MB = 1000 * 1000


class GeneratedBody:
    """A body of size bytes made while it is sent (a repeated random block), for
    bodies too large to hold."""

    def __init__(self, size, block=1 << 20):
        self.size = size
        self._block = random.Random(size).randbytes(block)

    def chunks(self):
        left = self.size
        while left > 0:
            piece = self._block[:min(left, len(self._block))]
            left -= len(piece)
            yield piece


class _BodyHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        body = self.server.files.get(self.path)
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Length", str(body.size))
        self.end_headers()
        for piece in body.chunks():
            self.wfile.write(piece)


class BodyServer:
    """Serves {path: GeneratedBody} on a free port of 127.0.0.1; use as a context manager."""

    def __init__(self, files):
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _BodyHandler)
        self._server.daemon_threads = True
        self._server.files = files
        self.port = self._server.server_address[1]

    def __enter__(self):
        threading.Thread(target=self._server.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def environment():
    return {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}


def bench(mode, url, out):
    """(seconds, peak working set) of one downloadbench run."""
    result = subprocess.run([str(BUILD / "wine-run"), str(BUILD / "bench" / "downloadbench.exe"), mode,
                             url, windows_path(out)], env=environment(), capture_output=True, text=True)
    fields = dict(item.split("=") for item in result.stdout.split())
    if result.returncode != 0 or "seconds" not in fields:
        sys.exit(f"downloadbench {mode} {url} failed: {result.stdout} {result.stderr[-500:]}")
    return float(fields["seconds"]), int(fields["peak_working_set"]), int(fields["bytes"])


def curl(url, out):
    result = subprocess.run(["curl", "-s", "--noproxy", "*", "-o", str(out), "-w", "%{time_total}", url],
                            check=True, capture_output=True, text=True, env=environment())
    return float(result.stdout)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=3)
    runs = parser.parse_args().runs
    prefix, session = BUILD / "wineprefix", BUILD / "wine-session"
    files = {"/200.bin": GeneratedBody(200 * MB), "/10.bin": GeneratedBody(10 * MB), "/1000.bin": GeneratedBody(1000 * MB)}
    subprocess.run([str(HARNESS / "wine-session.sh"), "start", str(prefix), str(session)], check=True,
                   stdout=subprocess.DEVNULL)
    try:
        with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as temp, BodyServer(files) as server:
            out = Path(temp) / "out.bin"
            url = f"http://127.0.0.1:{server.port}/200.bin"
            times = {"bare": [], "window": [], "quiet": [], "curl": []}
            for _ in range(runs):  # interleaved, so that a slow moment of the machine hits all of them
                times["bare"].append(bench("bare", url, out)[0])
                for mode in ("window", "quiet"):
                    seconds, _, size = bench(mode, url, out)
                    if size != 200 * MB:
                        sys.exit(f"the downloader ({mode}) wrote {size} bytes")
                    times[mode].append(seconds)
                times["curl"].append(curl(url, out))
            best = {name: min(values) for name, values in times.items()}
            for name in ("window", "quiet", "bare", "curl"):
                print(f"{name:7s} {200 / best[name]:8.1f} MB/s  ({best[name]:.2f} s for 200 MB, best of {runs})")
            print(f"downloader with window / bare WinHTTP loop: {best['bare'] / best['window']:.3f} (goal >= 0.95)")
            print(f"downloader with window / without:           {best['quiet'] / best['window']:.3f}")
            print(f"downloader with window / curl:              {best['curl'] / best['window']:.3f}")
            small = bench("window", f"http://127.0.0.1:{server.port}/10.bin", out)[1]
            large = bench("window", f"http://127.0.0.1:{server.port}/1000.bin", out)[1]
            print(f"peak working set: 10 MB download {small / 2**20:.1f} MiB, 1 GB download {large / 2**20:.1f} MiB,"
                  f" ratio {large / small:.3f} (goal <= 1.2)")
    finally:
        subprocess.run([str(HARNESS / "wine-session.sh"), "stop", str(prefix), str(session)],
                       stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
