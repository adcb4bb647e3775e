"""stubpack puts a document into a stub so that the stub can read it back, and
refuses what the stub could not read or would fail on."""

import copy
import json
import subprocess
from pathlib import Path

from jsonschema import Draft202012Validator

from kit import pe
from kit.signing import BLOCK_KEY_HEX, BLOCK_MARKER
from kit.stub import EMPTY_WORKFLOW

# Broken documents, each with the lines "// expect: <diagnostic>" that validate must print, in order.
DOCUMENTS = Path(__file__).parent / "documents"
DEMO = Path(__file__).resolve().parents[2] / "tools" / "demo" / "workflow.json"


def run(stubpack, *args):
    return subprocess.run([str(stubpack), *map(str, args)], capture_output=True)


def test_packed_stub_is_the_image_then_block_marker_and_zero_padding_also_when_repacked_over_a_signed_one(
        packer, program, trusted_signer):
    original = program.read_bytes()
    packed = packer.pack(EMPTY_WORKFLOW).read_bytes()
    image = pe.load(original)
    end = pe.section_end(image)

    field = image.OPTIONAL_HEADER.get_field_absolute_offset("CheckSum")
    assert packed[:field] + packed[field + 4:end] == original[:field] + original[field + 4:end]
    assert len(packed) % 8 == 0
    block = packed[end:]
    text, marker, padding = block.partition(BLOCK_MARKER)
    assert marker == BLOCK_MARKER
    assert 1 <= len(padding) <= 8 and set(padding) == {0}
    assert subprocess.run(["openssl", "enc", "-d", "-aes-128-ecb", "-K", BLOCK_KEY_HEX, "-base64", "-A"], input=text,
                          capture_output=True, check=True).stdout.decode() == EMPTY_WORKFLOW
    packed_image = pe.load(packed)
    assert packed_image.OPTIONAL_HEADER.CheckSum == packed_image.generate_checksum()

    # Signing replaces an earlier output; repacking a signed stub drops the old block, padding and certificate.
    first = packer.pack('{"n":"1"}', signer=trusted_signer, name="same.exe", force=True).read_bytes()
    signed = packer.pack('{"old":"document with a longer text than the new one"}', signer=trusted_signer,
                         name="same.exe", force=True)
    assert signed.read_bytes() != first
    assert not list(signed.parent.glob("same.exe.*"))
    assert pe.security_directory(signed.read_bytes())[1:] != (0, 0)

    repacked = packer.pack(EMPTY_WORKFLOW, stub=signed).read_bytes()
    assert repacked == packed
    assert pe.security_directory(repacked)[1:] == (0, 0)


def test_what_the_stub_could_not_read_is_refused_and_usage_errors_exit_with_2(stubpack, program, tmp_path):
    result = run(stubpack, "inspect", program)
    assert result.returncode == 1 and b"no metadata block" in result.stderr

    source, out = tmp_path / "broken.json", tmp_path / "out.exe"
    source.write_text('{"productLang": "en-US",')
    result = run(stubpack, "pack", program, source, "-o", out)
    assert result.returncode == 1 and b"is not valid JSON" in result.stderr
    assert not out.exists()

    stub = tmp_path / "stub.exe"
    stub.write_bytes(b"MZ" + b"\0" * 100)
    source.write_text(EMPTY_WORKFLOW)
    result = run(stubpack, "pack", stub, source, "-o", out)
    assert result.returncode == 1 and b"not a complete PE image" in result.stderr

    for usage in ([], ["pack", program], ["frobnicate"], ["validate"], ["validate", tmp_path / "missing.json"],
                  ["pack", program, tmp_path / "x.json", "-o", tmp_path / "o", "--cert", "c.pem"]):
        assert run(stubpack, *usage).returncode == 2, usage


def test_validate_reports_each_fault_by_action_and_field_and_exits_by_the_worst(stubpack):
    assert run(stubpack, "validate", "--strict", DEMO).stderr == b""
    assert run(stubpack, "validate", "--strict", DEMO).returncode == 0
    documents = sorted(DOCUMENTS.glob("*.json"))
    assert len(documents) >= 10
    for document in documents:
        expected = [line.removeprefix("// expect: ") for line in document.read_text().splitlines()
                    if line.startswith("// expect: ")]
        errors = any(": error: " in line for line in expected)
        result = subprocess.run([str(stubpack), "validate", document.name], cwd=DOCUMENTS, capture_output=True,
                                text=True)
        assert result.stderr.splitlines() == expected, document.name
        assert result.returncode == (2 if errors else 0), document.name
        strict = run(stubpack, "validate", "--strict", document).returncode
        assert strict == (2 if errors else 1 if expected else 0), document.name


def test_the_schema_passes_what_validate_passes_and_marks_a_misspelt_class_or_missing_field(stubpack, tmp_path):
    result = run(stubpack, "schema")
    assert result.returncode == 0, result.stderr
    schema = json.loads(result.stdout)
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)

    def errors(document):
        return [error.message for error in validator.iter_errors(document)]

    demo = json.loads(DEMO.read_text())
    assert errors(demo) == []
    referring = tmp_path / "workflow.json"  # how an editor finds the schema without a setting
    referring.write_text(json.dumps({"$schema": "./workflow.schema.json", **demo}))
    assert errors(json.loads(referring.read_text())) == []
    assert run(stubpack, "validate", "--strict", referring).returncode == 0
    warnings_only = DOCUMENTS / "warnings-only.json"  # an unknown locale only warns
    assert errors(json.loads("\n".join(line for line in warnings_only.read_text().splitlines()
                                       if not line.startswith("//")))) == []

    misspelt = copy.deepcopy(demo)
    misspelt["workflow"][0]["action"] = "PackageDownlaodAction"
    assert len(errors(misspelt)) == 1 and "'PackageDownlaodAction' is not one of" in errors(misspelt)[0]

    missing = copy.deepcopy(demo)
    del missing["workflow"][2]["in"]["fileName"]
    assert errors(missing) == ["'fileName' is a required property"]
    missing["workflow"][2]["in"]["fileName"] = ""
    assert len(errors(missing)) == 1

    pinned = copy.deepcopy(demo)
    pinned["workflow"][0]["in"]["sha256"] = "aB" * 32
    assert errors(pinned) == []
    pinned["workflow"][0]["in"]["sha256"] = "aB" * 31
    assert len(errors(pinned)) == 1 and "does not match" in errors(pinned)[0]

    wrong = copy.deepcopy(demo)
    wrong["workflow"][1]["provided"] = "_isTrue#"
    wrong["workflow"][1]["out"] = {"isSigned": "=isSigned", "isInstalled": "=x"}
    wrong["directUrl"] = "ftp://127.0.0.1/setup.exe"
    assert len(errors(wrong)) == 3


def test_pack_refuses_a_document_with_errors_unless_forced(stubpack, program, tmp_path):
    broken, out = DOCUMENTS / "mandatory-fields.json", tmp_path / "out.exe"
    result = run(stubpack, "pack", program, broken, "-o", out)
    assert result.returncode == 1
    assert (f'{broken}: action 3 (PackageExtractionAction): error: missing mandatory "in" field "fileName"'
            .encode() in result.stderr)
    assert b"has errors; nothing was packed" in result.stderr
    assert not out.exists()

    result = run(stubpack, "pack", program, broken, "-o", out, "--force")
    assert result.returncode == 0 and b"error: missing mandatory" in result.stderr
    assert run(stubpack, "inspect", out).stdout == broken.read_bytes()

    result = run(stubpack, "pack", program, DOCUMENTS / "warnings-only.json", "-o", out)
    assert result.returncode == 0 and b"warning: " in result.stderr


def test_the_password_of_an_encrypted_key_comes_from_a_variable_or_a_file(stubpack, program, pki, tmp_path,
                                                                          monkeypatch):
    signer = pki["trusted"]
    key = tmp_path / "encrypted.key"
    subprocess.run(["openssl", "pkey", "-in", str(signer.key), "-aes256", "-passout", "pass:open sesame",
                    "-out", str(key)], check=True, capture_output=True)
    source = tmp_path / "doc.json"
    source.write_text(EMPTY_WORKFLOW)
    right, wrong = tmp_path / "right.txt", tmp_path / "wrong.txt"
    right.write_text("open sesame\n")
    wrong.write_text("closed\n")

    def pack(name, *password):
        out = tmp_path / name
        return run(stubpack, "pack", program, source, "-o", out, "--cert", signer.cert, "--key", key, *password), out

    monkeypatch.setenv("STUB_KEY_PASSWORD", "open sesame")
    for password in (["--pass-file", right], ["--pass-env", "STUB_KEY_PASSWORD"]):
        result, out = pack(f"from{password[0]}.exe", *password)
        assert result.returncode == 0, result.stderr
        assert pe.security_directory(out.read_bytes())[1:] != (0, 0)

    for password in (["--pass-file", wrong], ["--pass-env", "NO_SUCH_VARIABLE_SET"]):
        result, out = pack("refused.exe", *password)
        assert result.returncode == 1, password
        assert not out.exists()
