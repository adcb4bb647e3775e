"""The program's windows under test: the window host that runs the main window
with a scripted worker, and the window inspector that reads and drives them
from another process."""

from .wine import wait_until, windows_path

WAIT = 30
# The main window's status after a failure with code 8 (no direct URL) and with code 9.
TEXT_108 = ("Something is preventing the software from downloading. "
            "Please contact your system administrator.")
TEXT_109 = "Something is preventing the software from launching. Please contact customer support."


class Inspector:
    def __init__(self, wine, helpers):
        self.wine, self.program = wine, helpers / "wininspect.exe"

    def run(self, *args):
        result = self.wine.run(self.program, *args)
        return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n")

    def rows(self, *args):
        """The tab-separated name=value fields of each output line; none when wininspect fails."""
        code, out = self.run(*args)
        return [dict(field.split("=", 1) for field in line.split("\t"))
                for line in out.splitlines() if code == 0]

    def fields(self, *args):
        """The fields of the first output line."""
        rows = self.rows(*args)
        assert rows, f"wininspect {args} found nothing"
        return rows[0]

    def text(self, *args):
        return self.fields("list", *args)["text"]

    def exists(self, *args):
        return self.run("list", *args)[0] == 0


class WindowHost:
    """windowhost.exe with a script. A None step is a checkpoint: the worker
    stops there until resume(); wait() returns when it has got there."""

    def __init__(self, wine, helpers, folder, steps, *options):
        self.wine, self.folder = wine, folder
        folder.mkdir(parents=True, exist_ok=True)
        lines, self.checkpoints = [], 0
        for step in steps:
            if step is None:
                self.checkpoints += 1
                lines.append(f"signal {windows_path(folder / f'at-{self.checkpoints}')}")
                lines.append(f"await {windows_path(folder / f'go-{self.checkpoints}')}")
            else:
                lines.append(step)
        script = folder / "script.txt"
        script.write_text("\n".join(lines) + "\n", encoding="utf-8")
        self.process = wine.start(helpers / "windowhost.exe", *options, windows_path(script))
        self.reached = 0
        self.hwnd = None
        self.result = None

    def wait(self):
        """Waits for the next checkpoint; sets hwnd."""
        self.reached += 1
        marker = self.folder / f"at-{self.reached}"
        wait_until(marker.exists, self.process, f"checkpoint {self.reached} not reached", WAIT)
        self.hwnd = dict(item.split("=") for item in marker.read_text().split())["hwnd"]

    def resume(self):
        (self.folder / f"go-{self.reached}").touch()

    def finish(self, timeout=WAIT):
        if self.result is None:
            self.result = self.wine.finish(self.process, timeout=timeout)
        return self.result

    def kill(self):
        if self.result is None and self.process.poll() is None:
            self.process.kill()
        self.finish()
