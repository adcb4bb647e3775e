#!/usr/bin/env python3
"""Benchmark of the package extraction: the time to unpack a 200 MB RAR archive
with the extraction action under Wine (the actionrun helper of the i686
release build, from process start to end: folder creation, hardening and
unpacking), as a ratio to the native unrar built from the same UnRAR sources
on the same archive. Wine's own services are kept running through the runs,
as Windows' are. Prints the median and the best of the runs of each and their
ratios (goal: the median at most 1.2), the processor time each took, and each
run's time with its system time. Not a test: run it by hand after scripts/build.sh.

  scripts/bench-unpack.py [--runs N]
"""

import argparse
import json
import os
import platform
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
BUILD = REPO / "build" / "x86_64"
HELPER = REPO / "build" / "i686" / "tests" / "programs" / "actionrun.exe"
HARNESS = REPO / "tests" / "wine"


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def native_unrar(work):
    """unrar built for Linux from the sources the product compiles, as its makefile builds it."""
    source = REPO / ".deps" / "src" / "unrar"
    folder = BUILD / "native-unrar"
    program = folder / "unrar"
    if not program.exists():
        shutil.copytree(source, folder, dirs_exist_ok=True)
        subprocess.run(["make", "-j2", "-f", "makefile", "unrar", "CXXFLAGS=-O2"], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return program


def wine32(program, *arguments):
    """The command that starts a 32-bit program with Wine's 32-bit loader, as
    Windows starts it (wine64 would start it through a 64-bit start.exe first),
    in the address space that tests/wine/wine64 gives its programs."""
    return ["setarch", platform.machine(), "-R", "/usr/lib/wine/wine", str(program), *arguments]


def make_archive(work):
    """About 200 MB of archive: incompressible payloads (as installers carry)
    and compressible text, in sub-folders."""
    content = work / "content"
    (content / "data").mkdir(parents=True)
    for i in range(4):
        (content / "data" / f"payload{i}.bin").write_bytes(os.urandom(40 * 1024 * 1024))
    words = [os.urandom(6).hex() for _ in range(4096)]
    rng = __import__("random").Random(1)
    with open(content / "readme.txt", "w") as text:
        for _ in range(1_600_000):
            text.write(" ".join(rng.choice(words) for _ in range(8)) + "\n")
    archive = work / "bench_Setup.exe"
    subprocess.run(["rar", "a", "-r", "-idq", "-ma5", str(archive), "."], cwd=content, check=True)
    shutil.rmtree(content)
    return archive


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime, usage.ru_stime


def timed_run(prepare, command, env=None):
    """The seconds of one run of command and its processor time (user,
    system), after prepare() and with the disk written back, so that no run
    pays for the writes of the one before."""
    prepare()
    os.sync()
    user, system = children_cpu()
    start = time.perf_counter()
    subprocess.run(command, check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    user_after, system_after = children_cpu()
    return seconds, (user_after - user, system_after - system)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=3)
    runs = parser.parse_args().runs
    prefix = BUILD / "wineprefix"
    session = BUILD / "wine-session"
    extracted = prefix / "drive_c" / "Orvakel" / "bench"
    with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as temp:
        work = Path(temp)
        unrar = native_unrar(work)
        downloads = work / "Downloads"
        downloads.mkdir()
        archive = make_archive(downloads)
        shutil.copy(HELPER, downloads)
        print(f"archive: {archive.stat().st_size / 1e6:.1f} MB")

        native_out = work / "native"
        job = work / "job.json"
        job.write_text(json.dumps({"productLang": "en-US", "requestType": "bench",
                                   "workflow": [{"action": "PackageExtractionAction",
                                                 "in": {"fileName": archive.name}, "out": {}}]}))
        env = {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}
        subprocess.run([str(HARNESS / "wine-session.sh"), "start", str(prefix), str(session)], check=True,
                       stdout=subprocess.DEVNULL)
        env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", DISPLAY=":" + (session / "display").read_text().strip())
        # Windows has its services running when the stub starts. Wine stops its
        # own about a second after its last program ends and starts them again
        # with the next one (0.5 to 1 s), and a native run between two
        # extractions takes longer than that: a waiting cmd keeps them running.
        keeper = subprocess.Popen([str(BUILD / "wine-run"), "cmd", "/c", "set /p _="], stdin=subprocess.PIPE,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        try:
            native, wine = [], []
            for _ in range(runs):  # interleaved, so that a slow moment of the machine hits both
                native.append(timed_run(lambda: shutil.rmtree(native_out, ignore_errors=True),
                                        [str(unrar), "x", "-y", "-inul", str(archive), str(native_out) + "/"]))
                wine.append(timed_run(lambda: shutil.rmtree(extracted, ignore_errors=True),
                                      wine32(downloads / "actionrun.exe", "--log-folder", windows_path(work),
                                             windows_path(job)), env=env))
            native_cpu = statistics.median(sum(cpu) for _, cpu in native)
            wine_cpu = statistics.median(sum(cpu) for _, cpu in wine)
            in_order = {"native unrar": native, "extraction": wine}
            native = sorted(seconds for seconds, _ in native)
            wine = sorted(seconds for seconds, _ in wine)
            size = sum(f.stat().st_size for f in extracted.rglob("*") if f.is_file())
            native_size = sum(f.stat().st_size for f in native_out.rglob("*") if f.is_file())
            if size != native_size:
                sys.exit(f"the action unpacked {size} bytes, unrar {native_size}")
        finally:
            keeper.stdin.close()  # its cmd ends with its input, or with the session
            shutil.rmtree(extracted, ignore_errors=True)
            subprocess.run([str(HARNESS / "wine-session.sh"), "stop", str(prefix), str(session)],
                           stdout=subprocess.DEVNULL)
            keeper.wait()
    for name, times in (("native unrar", native), ("extraction action under Wine (i686)", wine)):
        print(f"{name}: median {statistics.median(times):.2f} s, best {times[0]:.2f} s of {runs} "
              f"({', '.join(f'{t:.2f}' for t in times)})")
    print(f"extraction / native unrar (median): {statistics.median(wine) / statistics.median(native):.2f}")
    print(f"extraction / native unrar (best): {wine[0] / native[0]:.2f}")
    # The Windows program's own process only: Wine starts icacls detached, and
    # the wineserver is no child of the benchmark.
    print(f"processor time, user and system (median): native unrar {native_cpu:.2f} s, "
          f"extraction {wine_cpu:.2f} s, ratio {wine_cpu / native_cpu:.2f}")
    # On a virtual machine, some runs of either program spend a few tenths of a
    # second more in the kernel to write the same bytes; their system time
    # shows which runs the machine slowed down.
    print("each run in order, seconds / of them in the kernel: " + "; ".join(
        f"{name} " + ", ".join(f"{seconds:.2f}/{cpu[1]:.2f}" for seconds, cpu in runs)
        for name, runs in in_order.items()))


if __name__ == "__main__":
    main()
