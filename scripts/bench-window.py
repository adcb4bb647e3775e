#!/usr/bin/env python3
"""Benchmark of the time to window: from the start of a signed stub to its main
window being visible (timetowindow helper, under Wine), against two programs
started the same way in the same run: the least program that shows a dialog
(minimaldialog) and the least one that first checks its own signature as the
stub does (signeddialog, padded to the stub's size and signed like it). Prints
the three times, where the stub's time goes phase by phase (each a median), and
the two ratios (goals: at most 1.05 against the dialog that checks its
signature; about 1.5 against the least dialog). Not a test: run it by hand
after scripts/build.sh, with no test using the build's Wine prefix.

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
# The stub's start-up phases (startup/StartupPhases.h), in the order of the table.
PHASES = [("entry", "process start to wWinMain"), ("dll-search", "DLL search restriction"),
          ("banner", "log banner and class list"), ("graphics", "GDI+ start"),
          ("signature", "signature check"), ("block", "block read and decryption"),
          ("window", "window creation (hidden)"), ("verdict", "waiting for the verdict (UI thread)"),
          ("show", "window shown"), ("paint", "first paint")]


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine(env, *args):
    return subprocess.run([str(BUILD / "wine-run"), *map(str, args)], env=env, capture_output=True)


def time_to_window(env, program, phases=False):
    """Milliseconds to the program's window; with phases, also its phases as
    {name: (start ms, end ms)} from the process start."""
    result = wine(env, BENCH / "timetowindow.exe", *(["--phases"] if phases else []), windows_path(program))
    if result.returncode != 0:
        sys.exit(f"no window from {program.name}: {result.stderr.decode(errors='replace')}")
    values, marks = {}, {}
    for line in result.stdout.decode().splitlines():
        if line.startswith("phase="):
            name, begin, end = line[len("phase="):].split()
            marks[name] = (int(begin), int(end))
        elif "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    ms = float(values["ms"])
    if not phases:
        return ms, None
    if "phase-frequency" not in values:
        sys.exit(f"{program.name} wrote no phase times (a build without them?)")
    start, frequency = int(values["start"]), int(values["phase-frequency"])

    def at(ticks):
        return 1000.0 * (ticks - start) / frequency

    return ms, {name: (0.0 if name == "entry" else at(begin), at(end)) for name, (begin, end) in marks.items()}


def sign(program, identity, out):
    subprocess.run(["osslsigncode", "sign", "-certs", str(identity["cert"]), "-key", str(identity["key"]),
                    "-h", "sha256", "-in", str(program), "-out", str(out)], check=True, capture_output=True)
    return out


def signed_to_size(program, size, identity, work):
    """program with zero bytes after its last section, signed, size bytes long
    in all: the trust check then hashes as many bytes as the stub's."""
    image = program.read_bytes()
    overhead = sign(program, identity, work / "probe.exe").stat().st_size - len(image)
    padding = size - overhead - len(image)
    for _ in range(3):
        if padding < 0:
            sys.exit(f"{program.name} is larger than the stub")
        unsigned = work / "padded.exe"
        unsigned.write_bytes(image + b"\0" * padding)
        out = sign(unsigned, identity, work / program.name)
        if out.stat().st_size == size:
            return out
        padding += size - out.stat().st_size
    sys.exit(f"could not sign {program.name} to {size} bytes")


def median_list(times):
    return f"{statistics.median(times):.0f} ms (median of {len(times)}: {', '.join(f'{t:.0f}' for t in times)})"


def print_phases(samples):
    print("stub start-up phases (ms, medians; 'from' and 'to' count from the process start):")
    print(f"  {'phase':<34}{'takes':>8}{'from':>8}{'to':>8}")
    for name, title in PHASES:
        spans = [sample[name] for sample in samples if sample.get(name, (0, 0))[1] > 0]
        if not spans:
            print(f"  {title:<34}{'-':>8}")
            continue
        takes = statistics.median(end - begin for begin, end in spans)
        begin = statistics.median(begin for begin, _ in spans)
        end = statistics.median(end for _, end in spans)
        print(f"  {title:<34}{takes:8.1f}{begin:8.1f}{end:8.1f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=7)
    runs = parser.parse_args().runs
    if runs < 5:
        sys.exit("--runs: at least 5, for medians")
    prefix = BUILD / "wineprefix"
    session = BUILD / "wine-session"
    env = {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}
    with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as temp:
        work = Path(temp)
        subprocess.run([str(REPO / "tests" / "scenarios" / "kit" / "make-signing-pki.sh"), str(work), "bench"],
                       check=True, capture_output=True)
        identity = {"cert": work / "bench-signer.pem", "key": work / "bench-signer.key"}
        (work / "workflow.json").write_text(json.dumps(DOCUMENT))
        stub = work / "TarnwickSetup.exe"
        subprocess.run([str(STUBPACK), "pack", str(BUILD / "startup" / "TarnwickGUI.exe"), str(work / "workflow.json"),
                        "-o", str(stub), "--force", "--cert", str(identity["cert"]), "--key", str(identity["key"])],
                       check=True, capture_output=True)
        stub_size = stub.stat().st_size
        checked = signed_to_size(BENCH / "signeddialog.exe", stub_size, identity, work)
        subprocess.run([str(HARNESS / "wine-session.sh"), "start", str(prefix), str(session)], check=True,
                       stdout=subprocess.DEVNULL)
        try:
            if wine(env, HELPERS / "stores.exe", "add-root", windows_path(work / "bench-ca.der")).returncode != 0:
                sys.exit("the CA could not be trusted in the prefix")
            dialog_times, checked_times, stub_times, phases = [], [], [], []
            for program in (BENCH / "minimaldialog.exe", checked, stub):  # first start of each in the session
                time_to_window(env, program)
            for _ in range(runs):  # interleaved, so that a slow moment of the machine hits all three
                dialog_times.append(time_to_window(env, BENCH / "minimaldialog.exe")[0])
                checked_times.append(time_to_window(env, checked)[0])
                ms, marks = time_to_window(env, stub, phases=True)
                stub_times.append(ms)
                phases.append(marks)
            wine(env, HELPERS / "stores.exe", "remove-root", windows_path(work / "bench-ca.der"))
        finally:
            subprocess.run([str(HARNESS / "wine-session.sh"), "stop", str(prefix), str(session)],
                           stdout=subprocess.DEVNULL)
    stub_ms = statistics.median(stub_times)
    print(f"least dialog: {median_list(dialog_times)}")
    print(f"least dialog that checks its signature ({stub_size} bytes, signed): {median_list(checked_times)}")
    print(f"stub: {median_list(stub_times)} to its main window")
    print_phases(phases)
    print(f"time to window / least dialog that checks its signature: {stub_ms / statistics.median(checked_times):.2f}")
    print(f"time to window / least dialog: {stub_ms / statistics.median(dialog_times):.2f}")


if __name__ == "__main__":
    main()
