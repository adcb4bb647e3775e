"""The stub as a user runs it: switches, the window, the worker, the language
and the exit codes, end to end under Wine (kit/stub.py)."""

import json

import pytest

from kit.stub import Stub
from kit.windows import Inspector, WindowHost
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


@pytest.fixture()
def stub(wine, helpers, packer, trusted_signer):
    return Stub(wine, helpers, packer, trusted_signer)


def test_debug_box_holds_the_run_and_showmetadata_runs_nothing(stub):
    text = document(MISSING_FIELD, lang="")  # would fail with code 4 if it were parsed
    path = stub.pack(text, force=True)
    run = stub.start(path, "-showmetadata", "-debug")
    state = run.wait_for(lambda s: s.visible)
    assert state.title == QUICKFETCH  # the template's caption: nothing set it
    assert "INFO:: Begin to run main web install logic." not in run.log()
    run.press_debug_ok()
    result = run.finish()
    assert result.code == 0
    # The registered action classes follow the banner, in name order.
    classes = [line for line in result.log if line.startswith("INFO:: SUPPORTED ACTION LIST => [")]
    assert [line[len("INFO:: SUPPORTED ACTION LIST => ["):-1] for line in classes] == sorted(ACTION_CLASSES)
    assert result.log == [
        "INFO:: =============================================", "INFO:: Begin to run Tarnwick", *classes,
        "INFO:: Begin to call RetrieveMetadata.", f"INFO:: Path of the stub executable = [{windows_path(path)}]",
        "INFO:: Begin to run main web install logic.", f"ERROR:: Embedded metadata = [{text}]."]


# Which texts count as the switches is the unit tests'; here: one that does not.
def test_switches_count_only_in_their_exact_text_and_an_empty_workflow_exits_0(stub):
    result = stub.run(document(), "-DEBUG", "-ShowMetadata")
    assert result.code == 0
    assert not any("Embedded metadata" in line for line in result.log)
    assert result.log[-3:] == [
        "INFO:: Begin to run main web install logic.",
        "INFO:: ProductLang = [en-US], try to look for resource with langid = [1033].",
        "INFO:: Found string resource of langid [1033].",
    ]


def test_a_json_type_error_closes_the_window_with_its_log_line(stub):
    result = stub.run(document([{"action": 5}]), force=True)
    assert result.code == 0
    assert any(line.startswith("ERROR:: ThreadProc exception caught, type Json::LogicError [")
               and line.endswith("], program exit.") for line in result.log), result.log


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
    run = stub.start(stub.pack(document(MISSING_FIELD, lang=lang, request=request_type), force=True))
    state = run.wait_for(lambda s: s.status != "")
    assert (state.title, state.status) == (title, status)
    run.close()
    result = run.finish()
    assert result.code == 0
    at = result.log.index(choice[0])
    assert result.log[at:at + 2] == choice


def test_any_other_failure_is_shown_as_code_12(wine, helpers, tmp_path, execution_log):
    host = WindowHost(wine, helpers, tmp_path / "host", ["init", None, "raise unrar gave up"])
    host.wait()
    host.resume()
    inspector = Inspector(wine, helpers)
    for _ in range(100):
        status = inspector.text("--hwnd", host.hwnd, "--control", "id:1002")
        if status != "Initializing ...":
            break
    assert status == "Aborted.(Error:12)"
    assert host.process.poll() is None  # shown, not an abnormal end
    log = execution_log.read_bytes().decode("latin-1")
    assert "ERROR:: ThreadProc exception caught, type std::exception [unrar gave up], display error code [12].\r\n" in log
    assert inspector.run("close", "--hwnd", host.hwnd)[0] == 0
    assert host.finish().returncode == 0
