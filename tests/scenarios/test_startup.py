"""The stub as a user runs it: switches, the window, the worker, the language
and the exit codes, end to end under Wine (kit/stub.py)."""

import json

import pytest

from kit.signing import pack_text, sign
from kit.wine import windows_path

QUICKFETCH, QUICKSET = "Orvakel Quickfetch", "Orvakel Quickset"
SERVICE = "/TARNWICKSERVICE/ZRQ/FORM"
# Fails with code 11 after the language choice: no program to run.
MISSING_FIELD = [{"action": "RunExecutableAction", "in": {"launchPath": "C:\\"}}]
ACTION_CLASSES = {"AddArgumentsAction", "ExecutableVerifierAction", "LaunchProtocolHandlerAction",
                  "PackageDownloadAction", "PackageExtractionAction", "ProtocolHandlerDetectionAction",
                  "RemoveArgumentsAction", "ReplaceFileAction", "RunExecutableAction", "XmlParseAction"}


def document(workflow=(), lang="en-US", request=SERVICE, **values):
    return json.dumps({"productLang": lang, "requestType": request, "workflow": list(workflow), **values})


def test_debug_box_holds_the_run_and_showmetadata_runs_nothing(stub):
    text = document(MISSING_FIELD, lang="")  # would fail with code 4 if it were parsed
    run = stub.start(text, "-showmetadata", "-debug", force=True)
    state = run.wait_for(lambda s: s.visible)
    assert state.title == QUICKFETCH  # the template's caption: nothing set it
    assert "INFO:: Begin to run main web install logic." not in run.log()
    # OK on the "Debug" box of the stub's worker.
    assert run.inspector.run("click", "--image", windows_path(run.path), "--class", "#32770", "--title", "Debug",
                             "--control", "id:1", "--wait", "30000")[0] == 0, "no Debug box"
    result = run.finish()
    assert result.code == 0
    # The registered action classes follow the banner, in name order.
    classes = [line for line in result.log if line.startswith("INFO:: SUPPORTED ACTION LIST => [")]
    assert [line[len("INFO:: SUPPORTED ACTION LIST => ["):-1] for line in classes] == sorted(ACTION_CLASSES)
    assert result.log == [
        "INFO:: =============================================", "INFO:: Begin to run Tarnwick", *classes,
        "INFO:: Begin to call RetrieveMetadata.", f"INFO:: Path of the stub executable = [{windows_path(run.path)}]",
        "INFO:: Begin to run main web install logic.", f"ERROR:: Embedded metadata = [{text}]."]


@pytest.mark.parametrize("lang, request_type, title, status, choice", [
    ("ja-JP", SERVICE.lower(), QUICKFETCH, "中止されました。(エラー: 11)",
     ["INFO:: ProductLang = [ja-JP], try to look for resource with langid = [1041].",
      "INFO:: Found string resource of langid [1041]."]),
    ("nl-NL", "/TARNWICKSERVICE/ZRQ/FORMS", QUICKSET, "Aborted.(Error:11)",
     ["INFO:: ProductLang = [nl-NL], try to look for resource with langid = [1043].",
      "INFO:: Can not find string resource of langid [1043], fall back to LANG_ENGLISH, SUBLANG_ENGLISH_US "
      "langid [1033]."]),
])
def test_language_and_title_of_a_failed_run(stub, lang, request_type, title, status, choice):
    run = stub.start(document(MISSING_FIELD, lang=lang, request=request_type), force=True)
    state = run.wait_for(lambda s: s.status != "")
    assert (state.title, state.status) == (title, status)
    run.close()
    result = run.finish()
    assert result.code == 0
    at = result.log.index(choice[0])
    assert result.log[at:at + 2] == choice


# Wine takes the interface language from LC_ALL (a locale that need not be
# installed on the machine; LANG alone is not enough), for the whole process.
def test_a_failure_before_the_document_names_a_language_shows_in_the_platforms(stub, trusted_signer, tmp_path,
                                                                               monkeypatch):
    monkeypatch.setenv("LC_ALL", "de_DE.UTF-8")
    packed = pack_text(stub.packer.stub, b"not a JSON document", tmp_path / "unsigned.exe")
    run = stub.start_file(sign(packed, trusted_signer.cert, trusted_signer.key, tmp_path / "TarnwickSetup.exe"))
    state = run.wait_for(lambda s: s.status != "")
    assert state.status == "Abgebrochen. (Fehler: 3)"
    run.close()
    result = run.finish()
    assert result.code == 0
    assert "ERROR:: Error occurred, error code = [3]." in result.log
