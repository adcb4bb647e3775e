"""URL protocol handlers: a workflow detects whether a protocol is registered
and hands a URL to its handler. The handler is the stand-in browser, which
records how it was started; the protocol keys go through the prefix registry,
which puts them back after each test. Each run logs into its own folder."""

import json
import re
import shutil
import time

import pytest

from kit.wine import wine_environment, windows_path

PROTOCOL = "tarnwick-test-handler"
UNREGISTERED = "tarnwick-test-unregistered"
PROTOCOL_KEY = rf"HKEY_CLASSES_ROOT\{PROTOCOL}"
URL = f"{PROTOCOL}://get?package=setup.exe&lang=de%20DE&x=%1F"


class Workflows:
    def __init__(self, wine, helpers, tmp_path):
        self.wine, self.helpers, self.tmp_path = wine, helpers, tmp_path
        self.browser = helpers / "standinbrowser.exe"
        self.records = tmp_path / "records"
        self.records.mkdir()
        self.log_folder = tmp_path / "temp"
        self.log_folder.mkdir()
        self.count = 0

    def run(self, actions, *names, runner=None, **env):
        """Runs the actions (with runner, a copy of actionrun.exe, when given); returns
        the exit code, {name: value} and the log lines."""
        self.count += 1
        document = self.tmp_path / f"workflow-{self.count}.json"
        document.write_text(json.dumps({"productLang": "en-US", "requestType": "test", "workflow": actions}))
        env = wine_environment(TARNWICK_BROWSER_RECORDS=windows_path(self.records), **env)
        log = self.log_folder / "Orvakel-TarnwickGUI-execution.log"
        start = log.stat().st_size if log.exists() else 0
        result = self.wine.run(runner or self.helpers / "actionrun.exe", "--log-folder",
                               windows_path(self.log_folder), windows_path(document), *names, env=env)
        values = dict(line.split("=", 1) for line in result.stdout.decode().splitlines() if "=" in line)
        text = log.read_bytes()[start:].decode(errors="replace") if log.exists() else ""
        lines = re.sub(r"\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} ", "\n", text.replace("\r\n", "")).split("\n")
        return result.returncode, values, [line for line in lines if line]

    def await_records(self, count, seconds=20):
        """The handler's records, (program, parameters) in start order, once count are there."""
        deadline = time.monotonic() + seconds
        while len(list(self.records.iterdir())) < count and time.monotonic() < deadline:
            time.sleep(0.1)
        time.sleep(0.3)  # a later, unexpected start would show as an extra record
        records = []
        for n in range(1, len(list(self.records.iterdir())) + 1):
            program, parameters = (self.records / f"record-{n}.txt").read_text(encoding="utf-8").split("\n")[:2]
            records.append((program, parameters))
        return records


@pytest.fixture()
def workflows(wine, helpers, tmp_path, registry):
    registry.save(PROTOCOL_KEY)  # so that the whole key goes again, whatever the test adds below it
    return Workflows(wine, helpers, tmp_path)


def detect(name, output):
    return {"action": "ProtocolHandlerDetectionAction", "in": {"name": name}, "out": {"isInstalled": f"={output}"}}


def launch(name, url=URL):
    return {"action": "LaunchProtocolHandlerAction", "in": {"name": name, "downloadUrl": url}}


def errors(log):
    return [line for line in log if line.startswith("ERROR")]


def test_a_key_without_command_is_installed_and_an_unregistered_launch_only_logs(workflows, registry):
    registry.set_values(PROTOCOL_KEY, {"URL Protocol": ""})
    code, values, log = workflows.run(
        [launch(UNREGISTERED), detect(PROTOCOL, "registered"), detect(UNREGISTERED, "unregistered")],
        "registered", "unregistered")
    assert (code, values) == (0, {"registered": "1", "unregistered": "0"})
    assert errors(log)[0] == rf"ERROR:: Can not find the protocol handler [{UNREGISTERED}\shell\open\command]."
    assert re.fullmatch(r"ERROR:: Error launching protocol handler \[\], GetLastError \[\d+\]\.", errors(log)[1])
    assert len(errors(log)) == 2
    assert f"INFO:: ProtocolHandlerDetectionAction::isProtocolHandlerInstalled protocol string [{PROTOCOL}]." in log
    assert workflows.await_records(0, seconds=0) == []


@pytest.mark.parametrize("arguments, parameters", [
    ('"%1"', f'"{URL}"'),
    ('--first "%1" --again %1', f'--first "{URL}" --again {URL}'),
    ("--no-url", "--no-url"),
    ('--keep %2 %% %L %~1 "%1"', f'--keep %2 %% %L %~1 "{URL}"'),
])
def test_the_registered_handler_gets_the_url_in_place_of_each_percent_one(workflows, registry, arguments,
                                                                          parameters):
    program = windows_path(workflows.browser)
    registry.set_values(rf"{PROTOCOL_KEY}\shell\open\command", {None: f'"{program}" {arguments}'})
    code, _, log = workflows.run([launch(PROTOCOL)])
    assert (code, errors(log)) == (0, [])
    assert workflows.await_records(1) == [(program, parameters)]


def test_a_handler_named_without_its_folder_is_not_taken_from_beside_the_program(workflows, registry, tmp_path):
    # The program runs from a download folder where a web page has dropped programs
    # named like the handlers; only the one in a PATH folder may start.
    downloads, tools = tmp_path / "downloads", tmp_path / "tools"
    downloads.mkdir()
    tools.mkdir()
    runner = shutil.copy(workflows.helpers / "actionrun.exe", downloads)
    for folder, name in ((downloads, "tarnwickhandler.exe"), (tools, "tarnwickhandler.exe"),
                         (downloads, "tarnwickdropped.exe")):
        shutil.copy(workflows.browser, folder / name)
    command = rf"{PROTOCOL_KEY}\shell\open\command"
    registry.set_values(command, {None: 'tarnwickhandler "%1"'})
    code, _, log = workflows.run([launch(PROTOCOL)], runner=runner, WINEPATH=windows_path(tools))
    assert (code, errors(log)) == (0, [])
    assert workflows.await_records(1) == [(windows_path(tools / "tarnwickhandler.exe"), f'"{URL}"')]

    registry.set_values(command, {None: 'tarnwickdropped.exe "%1"'})
    code, _, log = workflows.run([launch(PROTOCOL)], runner=runner, WINEPATH=windows_path(tools))
    assert (code, errors(log)) == (
        0, [f'ERROR:: Error launching protocol handler [tarnwickdropped.exe "{URL}"], GetLastError [2].'])
    assert len(workflows.await_records(2, seconds=3)) == 1
