"""Proxy logins: the caller's credentials, the credential store, the Windows
credential dialog (cancelled from outside by the wininspect helper) and silent
mode, against local proxies that demand a Basic login."""

import pytest

from kit.proxy import LOGIN, PROXY_HOST
from kit.servers import basic_login

DIALOG = ("--class", "#32770", "--title", f"Connect to {PROXY_HOST}", "--wait", "20000")
SILENT_ERROR = ("PM_STATUS_SILENT_MODE_ERROR - Application running under Silent Mode and it requires proxy "
                "server credentials.")


def expect_login_accepted(answer, proxy, user=LOGIN[0], password=LOGIN[1]):
    assert answer.status == 0, answer
    assert answer.proxy == (PROXY_HOST, str(proxy.port))
    assert (answer.fields["user"], answer.fields["password"]) == (user, password)
    assert answer.fields["authScheme"] == "1"  # Basic
    assert answer.has("DEBUG", f"Authenticating proxy server detected with credentials [user={user} password=****]")
    assert proxy.expected_header in [r[2] for r in proxy.requests], "the proxy never saw the login"


def expect_stored(credentials, user, password):
    record = credentials.read(PROXY_HOST)
    assert record is not None, "nothing stored"
    assert (record["user"], record["password"]) == (user, password)
    # UTF-16 without terminator, kept for the local machine, a generic credential.
    assert record["blobsize"] == str(2 * len(password))
    assert (record["persist"], record["type"]) == ("2", "1")


# Credentials from the caller, stored; the next query takes them from the store.
def test_accepted_credentials_are_returned_and_stored_and_then_used_without_a_dialog(settings, credentials,
                                                                                     login_proxy, target, query):
    settings.set_ie(proxy=login_proxy.address)
    answer = query("--user", LOGIN[0], "--password", LOGIN[1], "--silent", target.url())
    expect_login_accepted(answer, login_proxy)
    assert answer.has("INFO", f"Using invoker provided proxy credentials with user:{LOGIN[0]}")
    assert answer.has("DEBUG", "Trying 1 authentication scheme although proxy server supports 1 "
                               "authentication scheme")
    expect_stored(credentials, *LOGIN)

    # Silent mode: a dialog would have ended the probe with 6.
    login_proxy.requests.clear()
    answer = query("--silent", target.url())
    expect_login_accepted(answer, login_proxy)
    assert answer.has("INFO", f"Using cached credentials for proxy server:{PROXY_HOST}  user:{LOGIN[0]}")
    assert not answer.has("INFO", "Performing 'ShowCredentialDialog' ...")


def test_credentials_are_stored_even_when_the_proxy_never_asks_and_the_password_is_never_logged(
        settings, credentials, open_proxy, target, query):
    settings.set_ie(proxy=open_proxy.address)
    user, password = "J\u00fcrgen", "Pa55-w0rd!"
    answer = query("--user", user, "--password", password, "--silent", target.url())
    assert answer.status == 0, answer
    assert (answer.fields["user"], answer.fields["password"], answer.fields["authScheme"]) == (user, password, "0")
    expect_stored(credentials, user, password)
    assert answer.has("INFO", "Input password:****")
    assert not any(password in line for line in answer.lines)
    # The user name is logged in full; Wine hands the wide line on through the ANSI code page.
    logged = next(m for m in answer.messages if m.startswith("[INFO]   Input user:J"))
    assert logged.endswith("rgen"), logged
    assert any(m.startswith("[DEBUG]   Authenticating proxy server detected with credentials [user=J")
               and m.endswith("rgen password=****]") for m in answer.messages), answer
    assert answer.messages[-1].endswith("rgen password=**** authScheme=0]")


# Stored credentials.
def test_second_407_after_the_stored_credential_brings_the_dialog(settings, credentials, login_proxy, target, query,
                                                                  inspector):
    settings.set_ie(proxy=login_proxy.address)
    credentials.write(PROXY_HOST, "olduser", "outdated")
    running = query.start(target.url())
    assert inspector.text(*DIALOG, "--control", "id:103") == f"Connecting to {PROXY_HOST}"
    # Wine keeps sending the first Basic login set on a request, whatever is set
    # after it: an accepted login after this dialog cannot be shown here.
    assert inspector.run("click", *DIALOG, "--control", "id:2")[0] == 0, "no dialog"
    answer = query.finish(running)
    # Cancelled for the only candidate.
    assert answer.status == 5, answer
    assert answer.has("INFO", "ShowCredentialDialog response:1223")
    assert answer.has("INFO", "User CANCELLED credential dialog!")
    assert answer.index("INFO", f"Using cached credentials for proxy server:{PROXY_HOST}  user:olduser") < \
        answer.index("INFO", "Performing 'ShowCredentialDialog' ...")
    assert answer.count("INFO", "Performing 'ShowCredentialDialog' ...") == 1
    assert [r[2] for r in login_proxy.requests].count(basic_login("olduser", "outdated")) >= 1
    # The record the proxy refused is not kept for the next run.
    assert answer.has("INFO", f"Removing rejected credential for proxy server:{PROXY_HOST}")
    assert credentials.read(PROXY_HOST) is None


# Silent mode.
# A login the proxy refuses, from the caller or from the store, or no login at all:
# the dialog would be next, and silent mode forbids it.
@pytest.mark.parametrize("caller, stored", [(["--user", LOGIN[0], "--password", "wrong"], None),
                                            ([], "outdated"), ([], None)], ids=["caller", "stored", "nothing"])
def test_a_login_that_needs_the_dialog_gives_6_and_no_dialog(settings, credentials, login_proxy, target, query,
                                                             caller, stored):
    settings.set_ie(proxy=login_proxy.address)
    if stored:
        credentials.write(PROXY_HOST, LOGIN[0], stored)
    answer = query(*caller, "--silent", target.url())
    assert answer.status == 6, answer
    assert answer.has("ERROR", SILENT_ERROR)
    assert not answer.has("INFO", "Performing 'ShowCredentialDialog' ...")
    assert answer.has("DEBUG", "Received HTTP status:407")
    assert answer.has("INFO", "PMStatus:6")
    assert answer.fields["server"] == "<none>"
    # A refused login of the caller is not stored; a stored one stays when no dialog could replace it.
    assert (credentials.read(PROXY_HOST) or {}).get("password") == stored


# The credential dialog.
def test_cancel_moves_on_to_the_next_candidate(settings, credentials, login_proxy, open_proxy, target, query,
                                               inspector):
    settings.set_ie(proxy=f"{login_proxy.address};{open_proxy.address}")
    running = query.start(target.url())
    assert inspector.run("click", *DIALOG, "--control", "id:2")[0] == 0, "no dialog"
    answer = query.finish(running)
    assert answer.status == 0, answer
    assert answer.proxy == (PROXY_HOST, str(open_proxy.port))
    assert (answer.fields["user"], answer.fields["authScheme"]) == ("", "0")
    assert answer.has("INFO", "User CANCELLED credential dialog!")
    assert open_proxy.requests
