"""The executable verifier action under Wine with files signed by throw-away
publishers: the expected publisher passes; an unsigned file and a foreign
file carrying a certificate with the expected name in its signature are
rejected with code 9 (a package of another publisher: test_road)."""

import shutil
import subprocess

from kit.signing import sign

PUBLISHER = "Tarnwick Test trusted Publisher"  # the trusted signer's subject


def verify(actions, name, file_name):
    return actions.run("ExecutableVerifierAction", {"name": name, "downloadedFilename": file_name}, ["isSigned"])


def rejected(result, *lines):
    assert result.error == "9"
    assert result.store == {}
    assert result.log[-1] == "ERROR:: Error occurred, error code = [9]."
    for line in lines:
        assert line in result.log


def test_only_the_expected_publishers_valid_signature_passes(actions, helpers, trusted_signer, tmp_path):
    unsigned = shutil.copy(helpers / "standininstaller.exe", actions.downloads / "unsigned.exe")
    sign(unsigned, trusted_signer.cert, trusted_signer.key, actions.downloads / "signed.exe")
    result = verify(actions, PUBLISHER, "signed.exe")
    assert result.error is None
    assert result.store == {"isSigned": "1"}
    assert f"INFO:: A certificate with a subject name [{PUBLISHER}] has been found!" in result.log

    # A changed byte fails the same trust check (test_embedded_block) and takes the unsigned file's way.
    result = verify(actions, PUBLISHER, "unsigned.exe")
    rejected(result)
    assert any(line.startswith('INFO:: The file "unsigned.exe" is not properly signed. '
                               "WinVerifyTrust() return value [800b0100], ") for line in result.log)

    # A carried certificate with the publisher's name does not count: anyone with a trusted code-signing
    # certificate can put a self-made certificate with any subject into the signature's certificate bag.
    name = "Expected Publisher Ltd"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                    "-subj", f"/CN={name}", "-keyout", str(tmp_path / "fake.key"), "-out", str(tmp_path / "fake.pem")],
                   check=True, capture_output=True)
    bag = tmp_path / "bag.pem"
    bag.write_text(trusted_signer.cert.read_text() + (tmp_path / "fake.pem").read_text())
    signed = sign(unsigned, bag, trusted_signer.key, actions.downloads / "carrier.exe")
    carried = subprocess.run(["osslsigncode", "extract-signature", "-pem", "-in", str(signed), "-out",
                              str(tmp_path / "sig.pem")], check=True, capture_output=True)
    assert carried.returncode == 0
    listed = subprocess.run(["openssl", "pkcs7", "-print_certs", "-noout", "-in", str(tmp_path / "sig.pem")],
                            check=True, capture_output=True, text=True).stdout
    assert name in listed  # the bag does hold the certificate

    rejected(verify(actions, name, "carrier.exe"),
             f"INFO:: A certificate with a subject name [{name}] can not be found!")
    # The chain that the trust check verified still counts.
    assert verify(actions, "Tarnwick Test trusted CA", "carrier.exe").store == {"isSigned": "1"}
