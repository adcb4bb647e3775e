"""The product package of a run's road, as a publisher ships it: a signed,
versioned Setup.exe in a RAR archive, the archive behind a self-extractor head
and the whole file signed again ("<name>_Setup.exe"). UnRAR finds the archive
behind the head; the signature covers head and archive.

    python3 -m kit.package SETUP.exe HEAD.exe CHAIN.pem KEY.pem OUT_Setup.exe [PADDING_MB]
makes one from the command line (scripts/demo.sh)."""

import os
import subprocess
import sys
import tempfile
from pathlib import Path

from .signing import sign_with


def make_package(setup, head, chain, key, out, padding_mb=0):
    """Writes the signed package to out and returns it. setup is the installer
    (signed here as Setup.exe), head the program the archive is appended to;
    padding_mb adds a file of incompressible bytes, so that the download and
    the extraction last long enough to be seen."""
    out = Path(out)
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        content = work / "content"
        content.mkdir()
        sign_with(setup, chain, key, content / "Setup.exe")
        if padding_mb:
            (content / "data.bin").write_bytes(os.urandom(padding_mb << 20))
        archive = work / "package.rar"
        subprocess.run(["rar", "a", "-r", "-idq", "-m1", str(archive), "."], cwd=content, check=True)
        joined = work / "joined.exe"
        joined.write_bytes(Path(head).read_bytes() + archive.read_bytes())
        out.unlink(missing_ok=True)
        sign_with(joined, chain, key, out)
    return out


if __name__ == "__main__":
    args = sys.argv[1:]
    make_package(*args[:5], padding_mb=int(args[5]) if len(args) > 5 else 0)
