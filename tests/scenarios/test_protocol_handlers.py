"""URL protocol handlers: a workflow detects whether a protocol is registered
and hands a URL to its handler. The handler is the stand-in browser, which
records how it was started; the protocol keys go through the prefix registry,
which puts them back after each test. Each run logs into its own folder."""

import re
import shutil
import time

import pytest

from kit.records import read_records
from kit.wine import windows_path

PROTOCOL = "tarnwick-test-handler"
UNREGISTERED = "tarnwick-test-unregistered"
PROTOCOL_KEY = rf"HKEY_CLASSES_ROOT\{PROTOCOL}"
URL = f"{PROTOCOL}://get?package=setup.exe&lang=de%20DE&x=%1F"


class Handler:
    """The stand-in browser as the protocol's handler, and its records."""

    def __init__(self, helpers, tmp_path):
        self.program = helpers / "standinbrowser.exe"
        self.records = tmp_path / "records"
        self.records.mkdir()

    def environment(self, **extra):
        return dict(TARNWICK_BROWSER_RECORDS=windows_path(self.records), **extra)

    def await_records(self, count, seconds=20):
        """The records, (program, parameters) in start order, once count are there."""
        read_records(self.records, count=count, timeout=seconds)
        time.sleep(0.3)  # a later, unexpected start would show as an extra record
        return [tuple(record) for record in read_records(self.records, count=count, timeout=seconds)]


@pytest.fixture()
def handler(helpers, tmp_path, registry):
    registry.save(PROTOCOL_KEY)  # so that the whole key goes again, whatever the test adds below it
    return Handler(helpers, tmp_path)


def detect(name, output):
    return {"action": "ProtocolHandlerDetectionAction", "in": {"name": name}, "out": {"isInstalled": f"={output}"}}


def launch(name, url=URL):
    return {"action": "LaunchProtocolHandlerAction", "in": {"name": name, "downloadUrl": url}}


def errors(log):
    return [line for line in log if line.startswith("ERROR")]


def test_a_key_without_command_is_installed_and_an_unregistered_launch_only_logs(actions, handler, registry):
    registry.set_values(PROTOCOL_KEY, {"URL Protocol": ""})
    result = actions.run_workflow(
        [launch(UNREGISTERED), detect(PROTOCOL, "registered"), detect(UNREGISTERED, "unregistered")],
        ["registered", "unregistered"], **handler.environment())
    log = result.log
    assert (result.error, result.store) == (None, {"registered": "1", "unregistered": "0"})
    assert errors(log)[0] == rf"ERROR:: Can not find the protocol handler [{UNREGISTERED}\shell\open\command]."
    assert re.fullmatch(r"ERROR:: Error launching protocol handler \[\], GetLastError \[\d+\]\.", errors(log)[1])
    assert len(errors(log)) == 2
    assert f"INFO:: ProtocolHandlerDetectionAction::isProtocolHandlerInstalled protocol string [{PROTOCOL}]." in log
    assert handler.await_records(0, seconds=0) == []


@pytest.mark.parametrize("arguments, parameters", [
    ('--first "%1" --again %1', f'--first "{URL}" --again {URL}'),
    ("--no-url", "--no-url"),
    ('--keep %2 %% %L %~1 "%1"', f'--keep %2 %% %L %~1 "{URL}"'),
])
def test_the_registered_handler_gets_the_url_in_place_of_each_percent_one(actions, handler, registry, arguments,
                                                                          parameters):
    program = windows_path(handler.program)
    registry.set_values(rf"{PROTOCOL_KEY}\shell\open\command", {None: f'"{program}" {arguments}'})
    result = actions.run_workflow([launch(PROTOCOL)], **handler.environment())
    assert (result.error, errors(result.log)) == (None, [])
    assert handler.await_records(1) == [(program, parameters)]


def test_a_handler_named_without_its_folder_is_not_taken_from_beside_the_program(actions, handler, registry,
                                                                                 tmp_path):
    # The program runs from a download folder where a web page has dropped programs
    # named like the handlers; only the one in a PATH folder may start.
    tools = tmp_path / "tools"
    tools.mkdir()
    for folder, name in ((actions.downloads, "tarnwickhandler.exe"), (tools, "tarnwickhandler.exe"),
                         (actions.downloads, "tarnwickdropped.exe")):
        shutil.copy(handler.program, folder / name)
    command = rf"{PROTOCOL_KEY}\shell\open\command"
    registry.set_values(command, {None: 'tarnwickhandler "%1"'})
    result = actions.run_workflow([launch(PROTOCOL)], **handler.environment(WINEPATH=windows_path(tools)))
    assert (result.error, errors(result.log)) == (None, [])
    assert handler.await_records(1) == [(windows_path(tools / "tarnwickhandler.exe"), f'"{URL}"')]

    registry.set_values(command, {None: 'tarnwickdropped.exe "%1"'})
    result = actions.run_workflow([launch(PROTOCOL)], **handler.environment(WINEPATH=windows_path(tools)))
    assert (result.error, errors(result.log)) == (
        None, [f'ERROR:: Error launching protocol handler [tarnwickdropped.exe "{URL}"], GetLastError [2].'])
    assert len(handler.await_records(2, seconds=3)) == 1
