"""The execution log never stops a run: it stays writable while the process
exits with the worker still logging. (A log that cannot be written is the unit
tests'.)"""

import re

from kit.wine import windows_path

LINE = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d INFO:: (main starts|main returns|worker line .*)")


def test_a_worker_logs_until_the_process_has_exited(wine, helpers, tmp_path):
    result = wine.run(helpers / "logatexit.exe", windows_path(tmp_path))
    assert result.returncode == 0, result.stderr

    lines = (tmp_path / wine.execution_log.name).read_bytes().decode("latin-1").split("\r\n")
    complete = lines[:-1]  # the worker may be stopped in the middle of its last line
    for line in complete:
        assert LINE.fullmatch(line), line
    messages = [line.split(":: ", 1)[1] for line in complete]
    assert messages[0] == "main starts"
    assert "main returns" in messages
    assert "worker line written while the process exits" in messages
    assert messages.index("worker line written while the process exits") > messages.index("main returns")
