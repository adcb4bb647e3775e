"""The execution log never stops a run: it stays writable while the process
exits with the worker still logging, and a temporary folder where it cannot be
written leaves the run going."""

import re

from kit.stub import EMPTY_WORKFLOW
from kit.wine import windows_path
LOG_NAME = "Orvakel-TarnwickGUI-execution.log"
LINE = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d INFO:: (main starts|main returns|worker line .*)")


def test_a_worker_logs_until_the_process_has_exited(wine, helpers, tmp_path):
    result = wine.run(helpers / "logatexit.exe", windows_path(tmp_path))
    assert result.returncode == 0, result.stderr

    lines = (tmp_path / LOG_NAME).read_bytes().decode("latin-1").split("\r\n")
    complete = lines[:-1]  # the worker may be stopped in the middle of its last line
    for line in complete:
        assert LINE.fullmatch(line), line
    messages = [line.split(":: ", 1)[1] for line in complete]
    assert messages[0] == "main starts"
    assert "main returns" in messages
    assert "worker line written while the process exits" in messages
    assert messages.index("worker line written while the process exits") > messages.index("main returns")


def test_a_temporary_folder_where_the_log_cannot_be_written_leaves_the_run_going(
        wine, packer, trusted_signer, tmp_path):
    temp = tmp_path / "temp"
    (temp / LOG_NAME).mkdir(parents=True)  # a folder where the log file would be
    stub = packer.pack(EMPTY_WORKFLOW, signer=trusted_signer)
    folder = windows_path(temp)
    result = wine.run("cmd.exe", "/c", f"set TEMP={folder}&& set TMP={folder}&& {windows_path(stub)} -showmetadata")
    assert result.returncode == 0, result.stderr
    assert list((temp / LOG_NAME).iterdir()) == []

    unsigned = packer.pack(EMPTY_WORKFLOW)  # the same run still ends in its own way
    result = wine.run("cmd.exe", "/c", f"set TEMP={folder}&& set TMP={folder}&& {windows_path(unsigned)} -showmetadata")
    assert result.returncode == 255
