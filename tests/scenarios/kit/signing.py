"""Throw-away code-signing identities (make-signing-pki.sh beside this file) and
stubs packed with stubpack and signed with osslsigncode."""

import base64
import subprocess
from pathlib import Path

from . import pe

MAKE_PKI = Path(__file__).resolve().parent / "make-signing-pki.sh"
# The AES-128 key of the stub's block (the ASCII bytes of 5c31d0e8a94f27b6, in hexadecimal) and its marker.
BLOCK_KEY_HEX = b"5c31d0e8a94f27b6".hex()
BLOCK_MARKER = b"{B2F2947D-EA42-43B8-8EB5-BB9FE4B236E2}"


class SigningIdentity:
    """A CA and a code-signing certificate that it issued."""

    def __init__(self, folder, name):
        subprocess.run([str(MAKE_PKI), str(folder), name], check=True, capture_output=True)
        self.ca_der = folder / f"{name}-ca.der"
        self.key = folder / f"{name}-signer.key"
        self.cert = folder / f"{name}-signer.pem"  # leaf and CA
        self.leaf_only = folder / f"{name}-signer-only.pem"
        # (certificate chain file, key file) of a TLS server for localhost, as WebServer(tls=...) takes them.
        self.tls = folder / f"{name}-localhost-chain.pem", folder / f"{name}-localhost.key"


def sign(path, chain, key, out):
    subprocess.run(["osslsigncode", "sign", "-certs", str(chain), "-key", str(key), "-h", "sha256",
                    "-in", str(path), "-out", str(out)], check=True, capture_output=True)
    return out


class Packer:
    def __init__(self, tool, stub, folder):
        self.tool, self.stub, self.folder = tool, stub, folder
        self.count = 0

    def pack(self, document, signer=None, stub=None, name=None, force=False):
        """Packs document (bytes or str) into the stub; signs it when a signer is given.
        force packs a document that stubpack finds errors in (a test of how the stub
        meets a broken document)."""
        self.count += 1
        source = self.folder / f"document{self.count}.json"
        source.write_bytes(document.encode() if isinstance(document, str) else document)
        out = self.folder / (name or f"stub{self.count}.exe")
        args = [self.tool, "pack", stub or self.stub, source, "-o", out]
        if signer is not None:
            args += ["--cert", signer.cert, "--key", signer.key]
        if force:
            args.append("--force")
        result = subprocess.run(list(map(str, args)), capture_output=True, text=True)
        assert result.returncode == 0, f"stubpack refused {source}:\n{result.stderr}"
        return out


def pack_text(stub, text, out):
    """The stub with text as its document, packed as stubpack packs (the block
    after the last section: base64 of the AES-128-ECB cipher, the marker, zero
    padding to 8 bytes), without stubpack's refusal of a text that is not JSON."""
    image = stub.read_bytes()[:pe.section_end(pe.load(stub.read_bytes()))]
    cipher = subprocess.run(["openssl", "enc", "-aes-128-ecb", "-K", BLOCK_KEY_HEX],
                            input=text, capture_output=True, check=True).stdout
    block = base64.b64encode(cipher) + BLOCK_MARKER
    block += b"\0" * (8 - (len(image) + len(block)) % 8)
    out.write_bytes(image + block)
    return out
