"""URL protocol handlers: a workflow detects whether a protocol is registered
and hands a URL to its handler. The handler is the stand-in browser, which
records how it was started; the protocol keys go through the prefix registry,
which puts them back after each test. Each run logs into its own folder."""

import re
import shutil

import pytest

from kit.records import read_records
from kit.wine import windows_path

PROTOCOL = "tarnwick-test-handler"
UNREGISTERED = "tarnwick-test-unregistered"
PROTOCOL_KEY = rf"HKEY_CLASSES_ROOT\{PROTOCOL}"
URL = f"{PROTOCOL}://get?package=setup.exe&lang=de%20DE&x=%1F"


@pytest.fixture()
def handled(registry, browser_records):
    """The starts of the stand-in browser as the protocol's handler, (program, parameters)
    in start order, once count are there; a later, unexpected start shows as an extra one."""
    registry.save(PROTOCOL_KEY)  # so that the whole key goes again, whatever the test adds below it
    return lambda count, timeout=20: read_records(browser_records, count=count, timeout=timeout, quiet=0.3)


def detect(name, output):
    return {"action": "ProtocolHandlerDetectionAction", "in": {"name": name}, "out": {"isInstalled": f"={output}"}}


def launch(name, url=URL):
    return {"action": "LaunchProtocolHandlerAction", "in": {"name": name, "downloadUrl": url}}


def errors(log):
    return [line for line in log if line.startswith("ERROR")]


def test_a_key_without_command_is_installed_and_an_unregistered_launch_only_logs(actions, handled, registry):
    registry.set_values(PROTOCOL_KEY, {"URL Protocol": ""})
    result = actions.run_workflow(
        [launch(UNREGISTERED), detect(PROTOCOL, "registered"), detect(UNREGISTERED, "unregistered")],
        ["registered", "unregistered"])
    log = result.log
    assert (result.error, result.store) == (None, {"registered": "1", "unregistered": "0"})
    assert errors(log)[0] == rf"ERROR:: Can not find the protocol handler [{UNREGISTERED}\shell\open\command]."
    assert re.fullmatch(r"ERROR:: Error launching protocol handler \[\], GetLastError \[\d+\]\.", errors(log)[1])
    assert len(errors(log)) == 2
    assert f"INFO:: ProtocolHandlerDetectionAction::isProtocolHandlerInstalled protocol string [{PROTOCOL}]." in log
    assert handled(0) == []


@pytest.mark.parametrize("arguments, parameters", [
    ('--first "%1" --again %1', f'--first "{URL}" --again {URL}'),
    ("--no-url", "--no-url"),
    ('--keep %2 %% %L %~1 "%1"', f'--keep %2 %% %L %~1 "{URL}"'),
])
def test_the_registered_handler_gets_the_url_in_place_of_each_percent_one(actions, helpers, handled, registry,
                                                                          arguments, parameters):
    program = windows_path(helpers / "standinbrowser.exe")
    registry.set_values(rf"{PROTOCOL_KEY}\shell\open\command", {None: f'"{program}" {arguments}'})
    result = actions.run_workflow([launch(PROTOCOL)])
    assert (result.error, errors(result.log)) == (None, [])
    assert handled(1) == [(program, parameters)]


def test_a_handler_named_without_its_folder_is_not_taken_from_beside_the_program(actions, helpers, handled,
                                                                                 registry, tmp_path):
    # The program runs from a download folder where a web page has dropped programs
    # named like the handlers; only the one in a PATH folder may start.
    tools = tmp_path / "tools"
    tools.mkdir()
    for folder, name in ((actions.downloads, "tarnwickhandler.exe"), (tools, "tarnwickhandler.exe"),
                         (actions.downloads, "tarnwickdropped.exe")):
        shutil.copy(helpers / "standinbrowser.exe", folder / name)
    command = rf"{PROTOCOL_KEY}\shell\open\command"
    registry.set_values(command, {None: 'tarnwickhandler "%1"'})
    result = actions.run_workflow([launch(PROTOCOL)], WINEPATH=windows_path(tools))
    assert (result.error, errors(result.log)) == (None, [])
    assert handled(1) == [(windows_path(tools / "tarnwickhandler.exe"), f'"{URL}"')]

    registry.set_values(command, {None: 'tarnwickdropped.exe "%1"'})
    result = actions.run_workflow([launch(PROTOCOL)], WINEPATH=windows_path(tools))
    assert (result.error, errors(result.log)) == (
        None, [f'ERROR:: Error launching protocol handler [tarnwickdropped.exe "{URL}"], GetLastError [2].'])
    assert len(handled(2, timeout=3)) == 1


def test_a_url_with_a_quote_blank_or_control_character_starts_nothing(actions, helpers, handled, registry):
    program = windows_path(helpers / "standinbrowser.exe")
    registry.set_values(rf"{PROTOCOL_KEY}\shell\open\command", {None: f'"{program}" "%1"'})
    urls = [f'{PROTOCOL}://get" --extra "x', f"{PROTOCOL}://get --extra", f"{PROTOCOL}://get\t--extra"]
    result = actions.run_workflow([launch(PROTOCOL, url) for url in urls] + [detect(PROTOCOL, "registered")],
                                  ["registered"])
    # Each launch is refused with the launch-error line, and the run goes on.
    assert (result.error, result.store) == (None, {"registered": "1"})
    assert errors(result.log) == [f'ERROR:: Error launching protocol handler ["{program}" "{url}"], GetLastError [87].'
                                  for url in urls]
    assert handled(0, timeout=3) == []
