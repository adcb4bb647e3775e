"""Runs one action of the product under Wine through the runaction helper,
from a "Downloads" folder of the test's own where the helper lives (its
current folder, as the stub's is), and reads what it published and logged."""

import json
import re
import shutil

import pytest

from kit.wine import wine_environment, windows_path

_TIMESTAMP = re.compile(r"^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} ")


class ActionResult:
    def __init__(self, result, answer, log_text):
        self.returncode = result.returncode
        self.stderr = result.stderr.decode(errors="replace")
        self.error = answer["error"]
        self.store = answer["store"]
        self.log = [_TIMESTAMP.sub("", line) for line in log_text.splitlines()]


class ActionRunner:
    def __init__(self, wine, helpers, folder):
        self.wine = wine
        self.folder = folder
        self.downloads = folder / "Downloads"
        self.downloads.mkdir()
        self.program = self.downloads / "runaction.exe"
        shutil.copy(helpers / "runaction.exe", self.program)
        self.count = 0

    def start(self, action, inputs, outputs=(), store=None, **environment):
        """Starts action with the "in" members inputs; each name of outputs is
        mapped to a store entry of the same name, read back by finish()."""
        self.count += 1
        log_folder = self.folder / f"log{self.count}"
        log_folder.mkdir()
        job = {"logFolder": windows_path(log_folder), "action": action, "in": inputs, "store": store or {},
               "out": {name: "=" + name for name in outputs}, "names": list(outputs)}
        job_file = self.folder / f"job{self.count}.json"
        job_file.write_text(json.dumps(job), encoding="utf-8")
        answer_file = self.folder / f"answer{self.count}.json"
        process = self.wine.start(self.program, windows_path(job_file), windows_path(answer_file),
                                  env=wine_environment(**environment))
        return process, log_folder, answer_file

    def finish(self, started):
        process, log_folder, answer_file = started
        result = self.wine.finish(process)
        assert result.returncode == 0, result.stderr.decode(errors="replace")
        logs = list(log_folder.glob("*.log"))
        log_text = logs[0].read_text(encoding="utf-8", errors="replace") if logs else ""
        return ActionResult(result, json.loads(answer_file.read_text(encoding="utf-8")), log_text)

    def run(self, action, inputs, outputs=(), store=None, **environment):
        return self.finish(self.start(action, inputs, outputs, store, **environment))


@pytest.fixture()
def actions(wine, helpers, tmp_path):
    return ActionRunner(wine, helpers, tmp_path)
