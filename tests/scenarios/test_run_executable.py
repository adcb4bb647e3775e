"""The run executable action under Wine with a stand-in installer that records
its parameters and working folder and exits with the code it is told."""

import json
import shutil

from kit.records import read_records
from kit.wine import windows_path


def place(helpers, folder):
    folder.mkdir(parents=True, exist_ok=True)
    return shutil.copy(helpers / "standininstaller.exe", folder / "Setup.exe")


def launch(actions, inputs, exit_code=0, **environment):
    return actions.finish(start(actions, inputs, exit_code, **environment))


def start(actions, inputs, exit_code=0, **environment):
    return actions.start("RunExecutableAction", inputs, ["returnCode"], TARNWICK_INSTALLER_EXIT=str(exit_code),
                         **environment)


def test_arguments_quiet_switch_working_folder_and_exit_codes(actions, helpers, installs, tmp_path):
    package = tmp_path / "package"
    setup = place(helpers, package)
    folder = windows_path(package)
    result = launch(actions, {"executableName": "Setup.exe", "launchPath": folder + "\\",
                              "arguments": "/S /D=x", "quiet": "1", "shallWait": "1"}, exit_code=3010)
    assert (result.error, result.store) == (None, {"returnCode": "3010"})

    # A full path is started as it is only without a launch folder; with one, a name must stay inside it.
    result = launch(actions, {"executableName": windows_path(setup), "quiet": "1", "shallWait": "1"},
                    exit_code=0xC0000005)
    assert result.store == {"returnCode": "-1073741819"}

    result = launch(actions, {"executableName": "Setup.exe", "launchPath": folder,
                              "arguments": "--plain", "quiet": "0"}, exit_code=5)
    assert (result.error, result.store) == (None, {})  # no wait, no returnCode
    # The parameters as the program got them (after the one blank that follows its name), once the
    # program that is not waited for has started too.
    assert sorted(read_records(installs, count=3, lines=3)) == sorted([
        (windows_path(setup), "/S /D=x -quiet", folder),
        (windows_path(setup), " -quiet", windows_path(actions.downloads)),
        (windows_path(setup), "--plain", folder),
    ])


def test_a_setup_planted_beside_the_program_or_on_the_path_is_never_started(actions, installs, tmp_path, helpers,
                                                                           inspector):
    # The extraction left no Setup.exe in the package folder; a web page
    # dropped one into the Downloads folder, and one is on the search path.
    empty_package = tmp_path / "package"
    empty_package.mkdir()
    place(helpers, actions.downloads)
    place(helpers, tmp_path / "onpath")
    started = start(actions, {"executableName": "Setup.exe", "launchPath": windows_path(empty_package),
                              "shallWait": "1"}, exit_code=7, WINEPATH=windows_path(tmp_path / "onpath"))
    # The shell tells the user that the file to start is missing and waits for OK.
    # 65535: the message box's text.
    shown = inspector.text("--class", "#32770", "--title", "Error", "--control", "id:65535", "--wait", "30000")
    assert "File not found." in shown, shown
    assert inspector.run("click", "--class", "#32770", "--title", "Error", "--control", "id:1")[0] == 0
    result = actions.finish(started)
    assert (result.error, result.store) == (None, {})
    for name in ("..\\Downloads\\Setup.exe", windows_path(actions.downloads / "Setup.exe")):
        result = launch(actions, {"executableName": name, "launchPath": windows_path(empty_package)})
        assert result.error is None
        assert f"INFO:: RunExecutableAction::[{name}] is not a file inside [{windows_path(empty_package)}]; " \
               "nothing is started." in result.log
    assert read_records(installs) == []
    # Without a launch folder a bare name is the program's own neighbour, never one on the path.
    result = launch(actions, {"executableName": "Setup.exe", "shallWait": "1"}, exit_code=7,
                    WINEPATH=windows_path(tmp_path / "onpath"))
    assert result.store == {"returnCode": "7"}
    assert read_records(installs, count=1, lines=1) == [(windows_path(actions.downloads / "Setup.exe"),)]


def test_added_values_arrive_as_one_argument_each_and_removal_keeps_what_is_not_the_switch(actions, helpers,
                                                                                          installs, tmp_path):
    package = tmp_path / "package"
    package.mkdir()
    shutil.copy(helpers / "versionedinstaller.exe", package / "Setup.exe")
    edit = {"executableName": "Setup.exe", "launchPath": windows_path(package) + "\\", "arguments": "=arguments"}
    added = ["folder", "title", "spaced"]
    workflow = [
        {"action": "AddArgumentsAction", "in": {**edit, "additionalArguments": json.dumps(
            [{"argumentName": name, "minSupportVersion": ""} for name in added])}},
        {"action": "RemoveArgumentsAction", "in": {**edit, "additionalArguments": '["lang"]'}},
        {"action": "RunExecutableAction", "in": {**edit, "shallWait": "1"}},
    ]
    store = {"arguments": '/url "http://h/lang?x=/lang" /langpack /lang de',
             "folder": "C:\\Orvakel\\Package\\", "title": 'say "hi" /lang', "spaced": "two  blanks \\ here"}
    result = actions.run_workflow(workflow, store=store)
    assert result.error is None, result.log
    expected = ("/url", "http://h/lang?x=/lang", "/langpack", "de", "/folder", store["folder"],
                "/title", store["title"], "/spaced", store["spaced"])
    assert [record[3:] for record in read_records(installs, count=1, lines=3 + len(expected))] == [expected]
