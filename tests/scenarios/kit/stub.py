"""The stub as a user runs it: packed and signed for a document, started under
Wine, its windows followed with the inspector, its execution log read from the
prefix's temporary folder. Scenario files that use it share that log: they
name the lock ExecutionLog in tests/CMakeLists.txt."""

import re
import time
from collections import namedtuple

from .windows import WAIT, Inspector
from .wine import wait_until, windows_path

EXIT_FAILURE = 255  # -1, as Wine reports it to Linux
IDC_STATUS = 1002
TIMESTAMP = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d ")
# A document that runs nothing: a signed stub of it starts, shows its window and ends with 0.
EMPTY_WORKFLOW = '{"productLang":"en-US","requestType":"/TARNWICKSERVICE/ZRQ/FORM","workflow":[]}'


def log_lines(data):
    """The execution log's lines in data without their time stamps, e.g. "INFO:: Begin to run Tarnwick"."""
    return [TIMESTAMP.sub("", line) for line in data.decode("latin-1").split("\r\n") if line]


WindowState = namedtuple("WindowState", "visible title status")
# The exit code and the run's log lines without their time stamps, e.g. "INFO:: Begin to run Tarnwick".
StubResult = namedtuple("StubResult", "code log")


class StubRun:
    """One started stub. Its main window is the dialog of its process that is
    not the "Debug" box."""

    def __init__(self, wine, helpers, path, *args):
        self.wine, self.path = wine, path
        self.inspector = Inspector(wine, helpers)
        log = wine.execution_log
        self.log_start = log.stat().st_size if log.exists() else 0
        self.process = wine.start(path, *args)
        self.hwnd = None

    def window(self, timeout=WAIT):
        """The main window's handle, once it exists."""
        def main_window():
            dialogs = self.inspector.rows("list", "--image", windows_path(self.path), "--class", "#32770")
            return next((d["hwnd"] for d in dialogs if d["text"] != "Debug"), None)

        self.hwnd = self.hwnd or wait_until(main_window, self.process, "no main window", timeout)
        return self.hwnd

    def state(self):
        """Reads the main window's state."""
        fields = self.inspector.fields("list", "--hwnd", self.window())
        status = self.inspector.text("--hwnd", self.hwnd, "--control", f"id:{IDC_STATUS}")
        return WindowState(fields["visible"] == "1", fields["text"], status)

    def wait_for(self, predicate, timeout=WAIT):
        """Reads the window's state until predicate(state) holds."""
        deadline = time.monotonic() + timeout
        while True:
            state = self.state()
            if predicate(state):
                return state
            assert self.process.poll() is None, f"the stub ended ({self.process.returncode}); last state {state}"
            assert time.monotonic() < deadline, f"last state {state}"
            time.sleep(0.1)

    def close(self):
        assert self.inspector.run("close", "--hwnd", self.window())[0] == 0

    def log(self):
        return log_lines(self.wine.execution_log.read_bytes()[self.log_start:])

    def finish(self, timeout=WAIT):
        result = self.wine.finish(self.process, timeout=timeout)
        return StubResult(result.returncode, self.log())


class Stub:
    """Packs documents into the stub of the build and runs them."""

    def __init__(self, wine, helpers, packer, signer):
        self.wine, self.helpers, self.packer, self.signer = wine, helpers, packer, signer

    def start(self, document, *args, force=False):
        """Packs document and starts it with args."""
        return self.start_file(self.packer.pack(document, signer=self.signer, force=force), *args)

    def start_file(self, path, *args):
        return StubRun(self.wine, self.helpers, path, *args)
