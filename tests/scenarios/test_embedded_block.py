"""The stub trusts and reads its own embedded document: through the product's
own functions (blockprobe) and as the program itself under Wine."""

import re

import pytest

from kit import pe
from kit.wine import windows_path

DOCUMENT = ('{"productLang":"en-US","requestType":"/TARNWICKSERVICE/ZRQ/FORM",'
            '"directUrl":"https://localhost/pkg_001_002.rar","workflow":[]}')
MARKER = b"{B2F2947D-EA42-43B8-8EB5-BB9FE4B236E2}"

TRUST_E_NOSIGNATURE = 0x800B0100
CERT_E_UNTRUSTEDROOT = 0x800B0109
CERT_E_CHAINING = 0x800B010A
EXIT_FAILURE = 255  # -1, as Wine reports it to Linux
ACTION_CLASSES = {"AddArgumentsAction", "ExecutableVerifierAction", "LaunchProtocolHandlerAction",
                  "PackageDownloadAction", "PackageExtractionAction", "ProtocolHandlerDetectionAction",
                  "RemoveArgumentsAction", "ReplaceFileAction", "RunExecutableAction", "XmlParseAction"}
NOT_YET_BUILT = set()


def probe(wine, helpers, path, tmp_path):
    out = tmp_path / "document.out"
    result = wine.run(helpers / "blockprobe.exe", windows_path(path), windows_path(out))
    assert result.returncode == 0, result.stderr
    verdict = int(re.search(rb"verdict=([0-9a-f]{8})", result.stdout).group(1), 16)
    return verdict, out.read_bytes()


def flip_byte(path, offset, out):
    data = bytearray(path.read_bytes())
    data[offset] ^= 0x01
    out.write_bytes(bytes(data))
    return out


@pytest.fixture()
def log(wine):
    """The execution log, emptied before the test."""
    wine.execution_log.parent.mkdir(parents=True, exist_ok=True)
    wine.execution_log.write_bytes(b"")
    return wine.execution_log


def test_signed_stub_reads_back_its_document_byte_for_byte(wine, helpers, packer, trusted_signer, tmp_path):
    verdict, document = probe(wine, helpers, packer.pack(DOCUMENT, signer=trusted_signer), tmp_path)
    assert verdict == 0
    assert document == DOCUMENT.encode()


def test_one_changed_byte_of_the_block_or_of_a_section_breaks_the_signature(
        wine, helpers, packer, trusted_signer, tmp_path):
    signed = packer.pack(DOCUMENT, signer=trusted_signer)
    data = signed.read_bytes()
    block_start = pe.headers(data)["section_end"]

    in_block = flip_byte(signed, block_start + 10, tmp_path / "block.exe")
    in_section = flip_byte(signed, block_start - 100, tmp_path / "section.exe")
    for tampered in (in_block, in_section):
        verdict, _ = probe(wine, helpers, tampered, tmp_path)
        assert verdict != 0, tampered.name


def test_a_signature_from_an_untrusted_ca_is_rejected(wine, helpers, packer, untrusted_signer, tmp_path):
    verdict, document = probe(wine, helpers, packer.pack(DOCUMENT, signer=untrusted_signer), tmp_path)
    assert verdict == CERT_E_UNTRUSTEDROOT
    assert document == DOCUMENT.encode()  # readable, but the stub will not use it


def test_a_signature_whose_chain_reaches_no_root_is_rejected(wine, helpers, packer, untrusted_signer, tmp_path):
    unsigned = packer.pack(DOCUMENT)
    signed = packer.sign(unsigned, untrusted_signer, tmp_path / "leaf-only.exe", certs=untrusted_signer.leaf_only)
    verdict, _ = probe(wine, helpers, signed, tmp_path)
    assert verdict == CERT_E_CHAINING


def test_an_unsigned_stub_gives_no_signature_and_logs_it(wine, helpers, packer, tmp_path, log):
    verdict, _ = probe(wine, helpers, packer.pack(DOCUMENT), tmp_path)
    assert verdict == TRUST_E_NOSIGNATURE
    text = log.read_bytes().decode("latin-1")
    assert re.search(r"INFO:: The file \"Z:\\.*\.exe\" is not properly signed\. "
                     r"WinVerifyTrust\(\) return value \[800b0100\], GetLastError\(\) return value \[[0-9a-f]+\]\.\r\n",
                     text), text


def test_stub_with_showmetadata_logs_its_document_and_exits_0(wine, packer, trusted_signer, log):
    # The window shows and closes at once: nothing is parsed or run.
    stub = packer.pack(DOCUMENT, signer=trusted_signer)
    result = wine.run(stub, "-showmetadata")
    assert result.returncode == 0
    lines = log.read_bytes().decode("latin-1").split("\r\n")
    messages = [re.sub(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d ", "", line) for line in lines if line]
    # The registered action classes follow the banner, in name order.
    classes = [m for m in messages if m.startswith("INFO:: SUPPORTED ACTION LIST => [")]
    assert messages[2:2 + len(classes)] == classes
    names = [m[len("INFO:: SUPPORTED ACTION LIST => ["):-1] for m in classes]
    assert names == sorted(ACTION_CLASSES - NOT_YET_BUILT)
    messages = messages[:2] + messages[2 + len(classes):]
    assert messages == [
        "INFO:: =============================================",
        "INFO:: Begin to run Tarnwick",
        "INFO:: Begin to call RetrieveMetadata.",
        f"INFO:: Path of the stub executable = [{windows_path(stub)}]",
        "INFO:: Begin to run main web install logic.",
        f"ERROR:: Embedded metadata = [{DOCUMENT}].",
    ]


def test_unsigned_stub_exits_with_minus_1_after_code_1(wine, packer, log):
    result = wine.run(packer.pack(DOCUMENT), "-showmetadata")
    assert result.returncode == EXIT_FAILURE
    text = log.read_bytes().decode("latin-1")
    assert "ERROR:: Error occurred, error code = [1].\r\n" in text
    assert "Embedded metadata" not in text
    assert "Begin to run main web install logic" not in text  # no window, no worker


def test_signed_stub_without_a_readable_block_exits_with_minus_1_after_code_2(
        wine, packer, program, trusted_signer, tmp_path, log):
    bare = packer.sign(program, trusted_signer, tmp_path / "bare.exe")
    data = program.read_bytes()
    garbage = tmp_path / "garbage.unsigned.exe"
    garbage.write_bytes(data[:pe.headers(data)["section_end"]] + b"QUJDRA==" + MARKER + b"\0" * 2)
    undecryptable = packer.sign(garbage, trusted_signer, tmp_path / "garbage.exe")

    for stub in (bare, undecryptable):
        log.write_bytes(b"")
        result = wine.run(stub, "-showmetadata")
        assert result.returncode == EXIT_FAILURE, stub.name
        text = log.read_bytes().decode("latin-1")
        assert "ERROR:: Error occurred, error code = [2].\r\n" in text, stub.name
        assert "error code = [1]" not in text


def test_log_keeps_every_run_each_starting_with_the_banner(wine, packer, trusted_signer, log):
    stub = packer.pack(DOCUMENT, signer=trusted_signer)
    for _ in range(2):
        assert wine.run(stub).returncode == 0
    text = log.read_bytes().decode("latin-1")
    assert text.count("INFO:: =============================================\r\n") == 2
    assert "\n" not in text.replace("\r\n", "")
    for line in text.split("\r\n")[:-1]:
        assert re.match(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d (INFO|ERROR):: ", line), line
