"""The stub trusts and reads its own embedded document: through the product's
own functions (blockprobe) and as the program itself under Wine. (What a
signed stub logs with -showmetadata: test_startup.)"""

import re

import pytest

from kit import pe
from kit.signing import sign
from kit.stub import EMPTY_WORKFLOW, EXIT_FAILURE
from kit.wine import windows_path

CERT_E_UNTRUSTEDROOT = 0x800B0109
CERT_E_CHAINING = 0x800B010A


def probe(wine, hosts, path, tmp_path):
    out = tmp_path / "document.out"
    result = wine.run(hosts / "blockprobe.exe", windows_path(path), windows_path(out))
    assert result.returncode == 0, result.stderr
    verdict = int(re.search(rb"verdict=([0-9a-f]{8})", result.stdout).group(1), 16)
    return verdict, out.read_bytes()


def test_one_changed_byte_of_the_block_or_of_a_section_breaks_the_signature(
        wine, hosts, packer, trusted_signer, tmp_path):
    signed = packer.pack(EMPTY_WORKFLOW, signer=trusted_signer)
    data = signed.read_bytes()
    block_start = pe.section_end(pe.load(data))

    for name, offset in (("block.exe", block_start + 10), ("section.exe", block_start - 100)):
        tampered = bytearray(data)
        tampered[offset] ^= 0x01
        (tmp_path / name).write_bytes(bytes(tampered))
        verdict, _ = probe(wine, hosts, tmp_path / name, tmp_path)
        assert verdict != 0, name


def test_a_signature_from_an_untrusted_ca_or_whose_chain_reaches_no_root_is_rejected(
        wine, hosts, packer, untrusted_signer, tmp_path):
    verdict, document = probe(wine, hosts, packer.pack(EMPTY_WORKFLOW, signer=untrusted_signer), tmp_path)
    assert verdict == CERT_E_UNTRUSTEDROOT
    assert document == EMPTY_WORKFLOW.encode()  # readable, but the stub will not use it

    unsigned = packer.pack(EMPTY_WORKFLOW)
    signed = sign(unsigned, untrusted_signer, tmp_path / "leaf-only.exe", certs=untrusted_signer.leaf_only)
    verdict, _ = probe(wine, hosts, signed, tmp_path)
    assert verdict == CERT_E_CHAINING


def test_a_stub_signed_by_an_untrusted_ca_never_shows_its_window(wine, inspector, packer, untrusted_signer):
    # Its window is made, hidden, while the signature is checked; only a trusted one shows it.
    stub = packer.pack(EMPTY_WORKFLOW, signer=untrusted_signer)
    process = wine.start(stub)
    assert inspector.run("list", "--image", windows_path(stub), "--visible", "--wait", "2000")[0] == 1
    assert wine.finish(process).returncode == EXIT_FAILURE


# Unsigned: 1; signed, but without a block: 2. (A block that does not decrypt reads as none: the unit tests'.)
@pytest.mark.parametrize("signed, code", [(False, 1), (True, 2)], ids=["unsigned", "without-block"])
def test_an_unsigned_stub_or_one_without_a_readable_block_exits_with_minus_1(wine, packer, program, trusted_signer,
                                                                             tmp_path, execution_log, signed, code):
    path = sign(program, trusted_signer, tmp_path / "bare.exe") if signed else packer.pack(EMPTY_WORKFLOW)
    assert wine.run(path, "-showmetadata").returncode == EXIT_FAILURE
    text = execution_log.read_bytes().decode("latin-1")
    assert f"ERROR:: Error occurred, error code = [{code}].\r\n" in text
    assert text.count("error code = [") == 1
    assert "Embedded metadata" not in text
    assert "Begin to run main web install logic" not in text  # no window, no worker
