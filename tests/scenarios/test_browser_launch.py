"""Opening download URLs in the user's default browser under Wine: a stand-in
browser, registered as the https handler, records every start. (Every part of
a download, each signed, reaches the browser in test_error_window.)"""

import pytest

from kit.records import read_records
from kit.wine import wine_environment, windows_path

USER_CHOICE = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\Shell\Associations\URLAssociations\https\UserChoice"
HTTPS_COMMAND = r"HKEY_CLASSES_ROOT\https\shell\open\command"
PROG_ID = "TarnwickStandInBrowser"
PROG_ID_KEY = rf"HKEY_CLASSES_ROOT\{PROG_ID}"
NOW = 1700000000


class HttpsHandlers:
    """The user's https handler (the UserChoice program id), the classes root's
    https command and the stand-in's program id key, changed through the prefix
    registry, which puts them back after each test."""

    def __init__(self, registry):
        self.registry = registry
        registry.save(PROG_ID_KEY)

    def set_user_choice(self, prog_id):
        if prog_id is None:
            self.registry.delete_key(USER_CHOICE)
        else:
            self.registry.set_values(USER_CHOICE, {"ProgId": prog_id})
        assert self.registry.query(USER_CHOICE, "ProgId") == prog_id

    def set_command(self, key, command):
        self.registry.set_values(key, {None: command})
        assert self.registry.query(key, None) == command


@pytest.fixture()
def handlers(registry):
    return HttpsHandlers(registry)


class Browser:
    """The stand-in browser and the folder of its records."""

    def __init__(self, wine, helpers, tmp_path):
        self.wine, self.helpers = wine, helpers
        self.program = helpers / "standinbrowser.exe"
        self.records = tmp_path / "records"
        self.records.mkdir()

    def launch(self, url):
        """Runs the launcher; returns its output lines and the records in start order."""
        env = wine_environment(TARNWICK_BROWSER_RECORDS=windows_path(self.records))
        result = self.wine.run(self.helpers / "browserlaunch.exe", "--now", NOW,
                               "--await-records", windows_path(self.records), url, env=env)
        lines = result.stdout.decode().splitlines()
        return result.returncode, lines, [tuple(record) for record in read_records(self.records, timeout=5)]


@pytest.fixture()
def browser(wine, helpers, tmp_path):
    return Browser(wine, helpers, tmp_path)


def test_user_choice_browser_gets_the_url_as_its_only_parameter(handlers, browser):
    handlers.set_command(rf"{PROG_ID_KEY}\shell\open\command",
                         f'"{windows_path(browser.program)}" --profile-directory=Default -- "%1"')
    handlers.set_user_choice(PROG_ID)
    url = "https://dl.example.test/pkg/setup.exe?lang=en-US&x=%20y"
    code, lines, records = browser.launch(url)
    assert code == 0
    assert lines == ["parts 1", f"url {url}", "opened 1"]
    assert records == [(windows_path(browser.program), url)]


def test_without_user_choice_the_classes_root_command_is_used(handlers, browser):
    handlers.set_user_choice(None)
    handlers.set_command(HTTPS_COMMAND, f'"{windows_path(browser.program)}" --via-classes-root "%1"')
    url = "https://dl.example.test/pkg/setup.exe?a=1"
    code, _, records = browser.launch(url)
    assert code == 0
    # Started directly: the command's other arguments are dropped.
    assert records == [(windows_path(browser.program), url)]


@pytest.mark.parametrize("prog_id", ["TarnwickNoSuchProgId", ""])
def test_a_program_id_without_command_leaves_the_url_to_the_shell(handlers, browser, prog_id):
    handlers.set_user_choice(prog_id)
    handlers.set_command(HTTPS_COMMAND, f'"{windows_path(browser.program)}" --via-shell "%1"')
    url = "https://dl.example.test/pkg/setup.exe?a=1"
    code, lines, records = browser.launch(url)
    assert code == 0
    assert lines[-1] == "opened 1"
    # The shell's own handling applies the registered command with its arguments.
    assert len(records) == 1
    assert records[0][1].startswith("--via-shell ")
    assert url in records[0][1]


def test_a_browser_that_cannot_start_falls_back_to_the_shell(handlers, browser, tmp_path):
    missing = tmp_path / "gone" / "browser.exe"
    handlers.set_command(rf"{PROG_ID_KEY}\shell\open\command", f'"{windows_path(missing)}" "%1"')
    handlers.set_user_choice(PROG_ID)
    handlers.set_command(HTTPS_COMMAND, f'"{windows_path(browser.program)}" --via-shell "%1"')
    url = "https://dl.example.test/pkg/setup.exe"
    code, _, records = browser.launch(url)
    assert code == 0
    assert len(records) == 1
    assert records[0][1].startswith("--via-shell ")
