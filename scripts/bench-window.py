#!/usr/bin/env python3
"""Benchmark of the time to window: from the start of a signed stub to its main
window being visible (timetowindow helper, under Wine), as a ratio to the least
program that shows a dialog (minimaldialog helper) under the same Wine in the
same run. Prints both times and the ratio (goal: at most 1.2). Not a test: run
it by hand after scripts/build.sh.

  scripts/bench-window.py [--runs N]
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
BUILD = REPO / "build" / "x86_64"
HELPERS = BUILD / "tests" / "programs"
BENCH = BUILD / "bench"
HARNESS = REPO / "tests" / "wine"
STUBPACK = REPO / "build" / "native" / "tools" / "stubpack" / "stubpack"
# Fails after the language choice (no program to run), so the window stays open;
# packed with --force, since stubpack refuses a document missing a mandatory field.
DOCUMENT = {"productLang": "en-US", "requestType": "/TARNWICKSERVICE/ZRQ/FORM",
            "workflow": [{"action": "RunExecutableAction", "in": {"launchPath": "C:\\"}}]}


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine(env, *args):
    return subprocess.run([str(BUILD / "wine-run"), *map(str, args)], env=env, capture_output=True)


def time_to_window(env, program):
    result = wine(env, BENCH / "timetowindow.exe", windows_path(program))
    if result.returncode != 0:
        sys.exit(f"no window from {program.name}: {result.stderr.decode(errors='replace')}")
    return float(result.stdout.decode().split("ms=")[1])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=7)
    runs = parser.parse_args().runs
    prefix = BUILD / "wineprefix"
    session = BUILD / "wine-session"
    env = {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}
    with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as temp:
        work = Path(temp)
        subprocess.run([str(REPO / "tests" / "scenarios" / "kit" / "make-signing-pki.sh"), str(work), "bench"], check=True, capture_output=True)
        (work / "workflow.json").write_text(json.dumps(DOCUMENT))
        stub = work / "TarnwickSetup.exe"
        subprocess.run([str(STUBPACK), "pack", str(BUILD / "startup" / "TarnwickGUI.exe"), str(work / "workflow.json"),
                        "-o", str(stub), "--force", "--cert", str(work / "bench-signer.pem"), "--key", str(work / "bench-signer.key")],
                       check=True, capture_output=True)
        subprocess.run([str(HARNESS / "wine-session.sh"), "start", str(prefix), str(session)], check=True,
                       stdout=subprocess.DEVNULL)
        try:
            if wine(env, HELPERS / "stores.exe", "add-root", windows_path(work / "bench-ca.der")).returncode != 0:
                sys.exit("the CA could not be trusted in the prefix")
            stub_times, dialog_times = [], []
            time_to_window(env, BENCH / "minimaldialog.exe")  # first start of a window in the session
            for _ in range(runs):  # interleaved, so that a slow moment of the machine hits both
                dialog_times.append(time_to_window(env, BENCH / "minimaldialog.exe"))
                stub_times.append(time_to_window(env, stub))
            wine(env, HELPERS / "stores.exe", "remove-root", windows_path(work / "bench-ca.der"))
        finally:
            subprocess.run([str(HARNESS / "wine-session.sh"), "stop", str(prefix), str(session)],
                           stdout=subprocess.DEVNULL)
    stub_ms, dialog_ms = statistics.median(stub_times), statistics.median(dialog_times)
    print(f"minimal dialog program: {dialog_ms:.0f} ms to its window (median of {runs}:"
          f" {', '.join(f'{t:.0f}' for t in dialog_times)})")
    print(f"stub: {stub_ms:.0f} ms to its main window (median of {runs}: {', '.join(f'{t:.0f}' for t in stub_times)})")
    print(f"ratio: {stub_ms / dialog_ms:.2f}")


if __name__ == "__main__":
    main()
