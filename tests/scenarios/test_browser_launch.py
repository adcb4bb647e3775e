"""Opening download URLs in the user's default browser under Wine: a stand-in
browser, registered as the https handler, records every start. (Every part of
a download, each signed, reaches the browser in test_road.)"""

import pytest

from kit.records import STANDIN_PROG_ID, STANDIN_PROG_ID_KEY, USER_CHOICE, read_records
from kit.wine import windows_path

HTTPS_COMMAND = r"HKEY_CLASSES_ROOT\https\shell\open\command"
URL = "https://dl.example.test/pkg/setup.exe?lang=en-US&x=%20y"
VIA_SHELL = '"{browser}" --via-shell "%1"'


# choice: the UserChoice program id (None: no UserChoice key); commands of the program
# id and of the classes root's https key, with {browser} in them.
# direct: the browser is started with the URL as its only parameter; otherwise the
# shell's own handling applies the classes root's command with its arguments.
@pytest.mark.parametrize("choice, choice_command, https_command, direct", [
    (STANDIN_PROG_ID, '"{browser}" --profile-directory=Default -- "%1"', None, True),
    (None, None, '"{browser}" --via-classes-root "%1"', True),
    ("TarnwickNoSuchProgId", None, VIA_SHELL, False),
    ("", None, VIA_SHELL, False),
    (STANDIN_PROG_ID, r'"C:\tarnwick-missing\browser.exe" "%1"', VIA_SHELL, False),
], ids=["user-choice", "classes-root", "prog-id-without-command", "empty-prog-id", "browser-cannot-start"])
def test_the_url_reaches_the_users_browser(wine, helpers, registry, browser_records, choice, choice_command,
                                           https_command, direct):
    browser = windows_path(helpers / "standinbrowser.exe")
    registry.save(STANDIN_PROG_ID_KEY)
    if choice is None:
        registry.delete_key(USER_CHOICE)
    else:
        registry.set_values(USER_CHOICE, {"ProgId": choice})
    for key, command in ((rf"{STANDIN_PROG_ID_KEY}\shell\open\command", choice_command),
                         (HTTPS_COMMAND, https_command)):
        if command is not None:
            registry.set_values(key, {None: command.format(browser=browser)})

    assert wine.run(helpers / "browserlaunch.exe", URL).returncode == 0
    records = read_records(browser_records, count=1)
    if direct:
        assert records == [(browser, URL)]
    else:
        assert len(records) == 1
        assert records[0][1].startswith("--via-shell ")
        assert URL in records[0][1]
