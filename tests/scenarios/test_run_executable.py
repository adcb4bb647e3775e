"""The run executable action under Wine with a stand-in installer that records
its parameters and working folder and exits with the code it is told."""

import shutil

import pytest

from kit.records import read_records
from kit.wine import windows_path


class Installer:
    """Stand-in installers copied where a test wants them, and what they recorded."""

    def __init__(self, helpers, records):
        self.helpers = helpers
        self.records = records

    def place(self, folder, name="Setup.exe"):
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy(self.helpers / "standininstaller.exe", folder / name)
        return folder / name

    def starts(self, count=0):
        """[(program, parameters, working folder)] of every start so far,
        once there are count of them (a program that is not waited for may
        still be starting)."""
        return [tuple(record) for record in read_records(self.records, count=count, lines=3)]


@pytest.fixture()
def installer(helpers, tmp_path):
    records = tmp_path / "records"
    records.mkdir()
    return Installer(helpers, records)


def launch(actions, installer, inputs, exit_code=0, **environment):
    return actions.finish(start(actions, installer, inputs, exit_code, **environment))


def start(actions, installer, inputs, exit_code=0, **environment):
    return actions.start("RunExecutableAction", inputs, ["returnCode"], TARNWICK_INSTALLER_EXIT=str(exit_code),
                         TARNWICK_INSTALLER_RECORDS=windows_path(installer.records), **environment)


def answer_file_not_found(wine, helpers):
    """The shell tells the user that the file to start is missing and waits for OK."""
    inspector = helpers / "wininspect.exe"
    shown = wine.run(inspector, "tree", "--class", "#32770", "--title", "Error", "--wait", "30000")
    assert shown.returncode == 0 and b"File not found." in shown.stdout, shown.stdout
    assert wine.run(inspector, "click", "--class", "#32770", "--title", "Error", "--control", "id:1").returncode == 0


def test_arguments_quiet_switch_working_folder_and_exit_codes(actions, installer, tmp_path):
    package = tmp_path / "package"
    setup = installer.place(package)
    folder = windows_path(package)
    result = launch(actions, installer, {"executableName": "Setup.exe", "launchPath": folder + "\\",
                                         "arguments": "/S /D=x", "quiet": "1", "shallWait": "1"}, exit_code=3010)
    assert result.error is None
    assert result.store == {"returnCode": "3010"}

    result = launch(actions, installer, {"executableName": windows_path(setup), "launchPath": folder,
                                         "quiet": "1", "shallWait": "1"}, exit_code=0xC0000005)
    assert result.store == {"returnCode": "-1073741819"}

    result = launch(actions, installer, {"executableName": "Setup.exe", "launchPath": folder,
                                         "arguments": "--plain", "quiet": "0"}, exit_code=5)
    assert result.error is None
    assert result.store == {}  # no wait, no returnCode
    # The parameters as the program got them (after the one blank that follows its name).
    assert sorted(installer.starts(count=3)) == sorted([
        (windows_path(setup), "/S /D=x -quiet", folder),
        (windows_path(setup), " -quiet", folder),
        (windows_path(setup), "--plain", folder),
    ])


def test_a_setup_planted_beside_the_program_or_on_the_path_is_never_started(actions, installer, tmp_path, wine,
                                                                           helpers):
    # The extraction left no Setup.exe in the package folder; a web page
    # dropped one into the Downloads folder, and one is on the search path.
    empty_package = tmp_path / "package"
    empty_package.mkdir()
    installer.place(actions.downloads)
    installer.place(tmp_path / "onpath")
    started = start(actions, installer, {"executableName": "Setup.exe", "launchPath": windows_path(empty_package),
                                         "shallWait": "1"}, exit_code=7, WINEPATH=windows_path(tmp_path / "onpath"))
    answer_file_not_found(wine, helpers)
    result = actions.finish(started)
    assert result.error is None
    assert result.store == {}
    assert installer.starts() == []
