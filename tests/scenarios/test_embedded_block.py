"""The stub trusts and reads only its own signed embedded document: run under
Wine, a stub whose signature or block fails exits with -1 before any window.
(What a signed stub logs with -showmetadata: test_startup.)"""

import re

import pytest

from kit import pe
from kit.signing import sign
from kit.stub import EMPTY_WORKFLOW, EXIT_FAILURE
from kit.wine import windows_path

TRUST_E_NOSIGNATURE = 0x800B0100
TRUST_E_BAD_DIGEST = 0x80096010
CERT_E_UNTRUSTEDROOT = 0x800B0109
CERT_E_CHAINING = 0x800B010A


def changed_byte(path, where, out):
    """path with one bit of a byte changed: 10 bytes into the block, or (section) the
    last byte of a section's file padding, which the loader never reads."""
    data = bytearray(path.read_bytes())
    image = pe.load(bytes(data))
    offset = pe.section_end(image) + 10
    if where == "section":
        padded = next(s for s in reversed(image.sections) if s.Misc_VirtualSize < s.SizeOfRawData)
        offset = padded.PointerToRawData + padded.SizeOfRawData - 1
    data[offset] ^= 0x01
    out.write_bytes(bytes(data))
    return out


def stub_file(kind, packer, program, trusted, untrusted, tmp_path):
    if kind == "unsigned":
        return packer.pack(EMPTY_WORKFLOW)
    if kind == "without-block":
        return sign(program, trusted.cert, trusted.key, tmp_path / "bare.exe")
    if kind == "untrusted-ca":
        return packer.pack(EMPTY_WORKFLOW, signer=untrusted)
    if kind == "leaf-only":  # no certificate of the chain beyond the signer's own
        return sign(packer.pack(EMPTY_WORKFLOW), untrusted.leaf_only, untrusted.key, tmp_path / "leaf-only.exe")
    return changed_byte(packer.pack(EMPTY_WORKFLOW, signer=trusted), kind[:-len("-byte")], tmp_path / "changed.exe")


# Code 1 when the signature check fails (with the check's verdict), 2 for a
# trusted stub without a block. (A block that does not decrypt reads as none: the unit tests'.)
@pytest.mark.parametrize("kind, code, verdict", [
    ("unsigned", 1, TRUST_E_NOSIGNATURE),
    ("without-block", 2, None),
    ("block-byte", 1, TRUST_E_BAD_DIGEST),
    ("section-byte", 1, TRUST_E_BAD_DIGEST),
    ("untrusted-ca", 1, CERT_E_UNTRUSTEDROOT),
    ("leaf-only", 1, CERT_E_CHAINING),
])
def test_a_stub_whose_signature_or_block_fails_exits_with_minus_1(wine, inspector, packer, program, trusted_signer,
                                                                   untrusted_signer, tmp_path, execution_log,
                                                                   kind, code, verdict):
    path = stub_file(kind, packer, program, trusted_signer, untrusted_signer, tmp_path)
    process = wine.start(path, "-showmetadata")
    if kind == "untrusted-ca":
        # Its window is made, hidden, while the signature is checked; only a trusted one shows it.
        assert inspector.run("list", "--image", windows_path(path), "--visible", "--wait", "2000")[0] == 1
    assert wine.finish(process).returncode == EXIT_FAILURE
    text = execution_log.read_bytes().decode("latin-1")
    assert f"ERROR:: Error occurred, error code = [{code}].\r\n" in text
    assert text.count("error code = [") == 1
    checked = re.findall(rf'INFO:: The file "[^"]*\\{re.escape(path.name)}" is not properly signed\. '
                         r"WinVerifyTrust\(\) return value \[([0-9a-f]+)\]", text)
    assert checked == ([] if verdict is None else [f"{verdict:x}"])
    assert "Embedded metadata" not in text
    assert "Begin to run main web install logic" not in text  # no window, no worker
