"""Runs actions of the product under Wine through the actionrun helper, the way
the stub's worker runs a workflow, from a "Downloads" folder of the test's own
where the helper lives (its current folder, as the stub's is), and reads what
they published and logged."""

import json
import shutil

from .stub import log_lines
from .wine import wine_environment, windows_path


class ActionResult:
    def __init__(self, result, names, log_data):
        self.stderr = result.stderr.decode(errors="replace")
        lines = result.stdout.decode(errors="replace").splitlines()
        errors = [line[len("error "):] for line in lines if line.startswith("error ")]
        self.error = errors[0] if errors else None
        printed = dict(line.split("=", 1) for line in lines
                       if "=" in line and not line.startswith(("error ", "callback ", "wait ")))
        # The names the actions set; an empty value is no value.
        self.store = {name: printed[name] for name in names if printed.get(name)}
        self.log = log_lines(log_data)
        # With callbacks=True: the messages the actions sent; with count_waits=True: the waits.
        self.callbacks = [line[len("callback "):] for line in lines if line.startswith("callback ")]
        self.waits = [int(line[len("wait "):]) for line in lines if line.startswith("wait ")]


class ActionRunner:
    def __init__(self, wine, helpers, folder):
        self.wine = wine
        self.folder = folder
        self.downloads = folder / "Downloads"
        self.downloads.mkdir()
        self.program = self.downloads / "actionrun.exe"
        shutil.copy(helpers / "actionrun.exe", self.program)
        self.count = 0

    def start_workflow(self, workflow, names=(), store=None, callbacks=False, count_waits=False,
                       receive_timeout=None, **environment):
        """Starts the actions of workflow (the document's "workflow" array) with the
        document's other values store; finish() reads back the store's names.
        receive_timeout (ms) replaces the download client's time without data."""
        self.count += 1
        log_folder = self.folder / f"log{self.count}"
        log_folder.mkdir()
        document = {"productLang": "en-US", "requestType": "test", **(store or {}), "workflow": workflow}
        document_file = self.folder / f"workflow{self.count}.json"
        document_file.write_text(json.dumps(document), encoding="ascii")
        options = ["--callbacks"] * callbacks + ["--count-waits"] * count_waits
        if receive_timeout is not None:
            options += ["--receive-timeout", str(receive_timeout)]
        process = self.wine.start(self.program, "--log-folder", windows_path(log_folder), *options,
                                  windows_path(document_file),
                                  *names, env=wine_environment(**environment))
        return process, log_folder, list(names)

    def finish(self, started):
        process, log_folder, names = started
        result = self.wine.finish(process)
        assert result.returncode in (0, 1), result.stderr.decode(errors="replace")
        logs = list(log_folder.glob("*.log"))
        return ActionResult(result, names, logs[0].read_bytes() if logs else b"")

    def run_workflow(self, workflow, names=(), store=None, **options):
        return self.finish(self.start_workflow(workflow, names, store, **options))

    def start(self, action, inputs, outputs=(), **options):
        """Starts action with the "in" members inputs; each name of outputs is
        mapped to a store entry of the same name, read back by finish()."""
        element = {"action": action, "in": inputs, "out": {name: "=" + name for name in outputs}}
        return self.start_workflow([element], outputs, **options)

    def run(self, action, inputs, outputs=(), **options):
        return self.finish(self.start(action, inputs, outputs, **options))
