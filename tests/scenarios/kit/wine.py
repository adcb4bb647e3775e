"""Windows programs of the build under the test session's Wine."""

import os
import subprocess
import tempfile
import time
from pathlib import Path

WINE_TIMEOUT = 120
PROXY_VARIABLES = ("http_proxy", "https_proxy", "no_proxy")


def windows_path(path):
    """The path as a Windows program under Wine sees it (drive Z: is /)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wait_until(condition, process, what, timeout):
    """condition()'s first true value; fails with what when process ends before it or at the timeout."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        assert process.poll() is None, f"{what}: the program ended ({process.returncode})"
        assert time.monotonic() < deadline, what
        time.sleep(0.05)
    return value


def wine_environment(**extra):
    """The environment for programs under test: no proxy variables (Wine would take
    http_proxy as the machine default), none of the proxy manager's switches,
    then extra."""
    env = {k: v for k, v in os.environ.items() if k.lower() not in PROXY_VARIABLES}
    env.pop("ORVK_ORVK_WPAD_PROXY_CHECK", None)
    env.pop("ORVK_ENABLE_DEBUG_STRING", None)
    env.update(extra)
    return env


class Wine:
    def __init__(self, runner, prefix):
        self.runner = runner
        self.prefix = prefix

    def run(self, program, *args, timeout=WINE_TIMEOUT, env=None):
        """Runs program to its end."""
        return self.finish(self.start(program, *args, env=env), timeout=timeout)

    def start(self, program, *args, env=None):
        """Starts program without waiting; finish() collects it. Its output goes
        through files, not pipes: Wine's background processes (the desktop that a
        first window starts, the network services) inherit the handles and would
        hold a pipe open long after the program ends."""
        out, err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
        process = subprocess.Popen([str(self.runner), str(program), *map(str, args)], stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=err, env=env or wine_environment())
        process.files = (out, err)
        return process

    @staticmethod
    def finish(process, timeout=WINE_TIMEOUT):
        try:
            process.wait(timeout=timeout)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        output = []
        for file in process.files:
            with file:
                file.seek(0)
                output.append(file.read())
        return subprocess.CompletedProcess(process.args, process.returncode, *output)

    @property
    def execution_log(self):
        """The execution log, in %TEMP% of the prefix's user."""
        temp = self.prefix / "drive_c" / "users" / os.environ.get("USER", "root") / "Temp"
        return temp / "Orvakel-TarnwickGUI-execution.log"
