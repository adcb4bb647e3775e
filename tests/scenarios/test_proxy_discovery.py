"""Where the proxy manager finds the proxy for a URL: the user's fixed list, PAC
script and WPAD switch, the machine default, nothing at all; and which
candidate it takes."""

import re

from kit.proxy import PROXY_HOST, debug_environment
from kit.servers import WebServer, unused_address

NO_CONFIGURATION_LINES = ("Unable to detect proxy information from default proxy configuration",
                          "No proxy server configuration detected.")
WPAD_TRIED = "Discovering WDAP based proxy setting ... (this may take several seconds)"
WPAD_SKIPPED = "WDAP proxy check is disabled, skipping WPAD based proxy discovery."


def expect_direct_proxy(answer, proxy):
    assert answer.status == 0, answer
    assert answer.proxy == (PROXY_HOST, str(proxy.port))
    assert (answer.fields["user"], answer.fields["password"], answer.fields["authScheme"]) == ("", "", "0")


# The user's fixed list.
def test_open_proxy_of_the_users_list_is_taken_after_one_probe_to_port_80_or_443_by_scheme(settings, credentials,
                                                                                           open_proxy, target, query):
    settings.set_ie(proxy=open_proxy.address, bypass="<local>")
    answer = query(target.url("/files/setup.bin?part=1"))
    expect_direct_proxy(answer, open_proxy)
    assert answer.has("DEBUG", f"Proxy server list:{open_proxy.address}")
    assert answer.has("DEBUG", "Bypass proxy server list:<local>")
    assert answer.has("DEBUG", "No authenticating proxy server detected.")
    assert not answer.has("INFO", WPAD_TRIED)  # not switched on in the settings
    # Nothing demanded a login, so nothing is remembered.
    assert credentials.read(PROXY_HOST) is None
    # One probe, to the port of the scheme whatever port the URL names.
    assert [r[:2] for r in open_proxy.requests] == [("HEAD", "http://localhost:80/files/setup.bin")]
    assert target.requests == []
    query("https://localhost:8443/setup.bin")
    # Wine does not complete a tunnel through a proxy; where it goes is what it shows.
    assert ("CONNECT", "localhost:443") in [r[:2] for r in open_proxy.requests]


def test_a_list_of_separators_only_gives_2_without_a_probe(settings, target, query):
    # The list parses, but into no candidate: still no empty answer.
    settings.set_ie(proxy=";;")
    answer = query(target.url())
    assert answer.status == 2, answer
    assert answer.fields["server"] == "<none>"
    assert answer.count("DEBUG", "Failed while splitting proxy: '' into proxy server and port") == 2
    assert answer.has("DEBUG", "No VALID proxy servers detected.")
    assert not answer.has("INFO", "Performing 'CheckAuthenticatingProxy' ...")
    assert answer.has("INFO", "PMStatus:2")


# Several candidates: a refusing one is passed over; when every one fails, the last probe's status is given.
def test_first_refusing_then_open_proxy_gives_the_second_and_every_candidate_failing_gives_2(settings, open_proxy,
                                                                                              target, query):
    first, second = unused_address(), unused_address()
    settings.set_ie(proxy=f"{first};{open_proxy.address}")
    answer = query(target.url())
    expect_direct_proxy(answer, open_proxy)
    assert answer.probed(first) and answer.probed(open_proxy.address)
    assert any(m.startswith("[ERROR]   WinHttpSendRequest() API failed. Error:") for m in answer.messages)

    settings.set_ie(proxy=f"{first};{second}")
    answer = query(target.url())
    assert answer.status == 2, answer
    assert answer.probed(first) and answer.probed(second)
    assert answer.has("DEBUG", "No VALID proxy servers detected.")
    assert answer.fields["server"] == "<none>"
    failures = [m for m in answer.messages if m.startswith("[ERROR]   WinHttpSendRequest() API failed. ")]
    assert len(failures) == 2, answer
    for failure in failures:
        match = re.fullmatch(r"\[ERROR\]   WinHttpSendRequest\(\) API failed\. Error:(\d+) Description:(.*)", failure)
        assert match, failure
        code, description = int(match.group(1)), match.group(2)
        assert code != 0
        assert description == description.strip(), repr(description)
        # A socket error has a system text; WinHTTP's own codes have none under Wine.
        assert bool(description) == (code < 12000), failure


# The PAC script and WPAD.
# Which values of the switch count is the unit tests' (one rule for both switches).
def test_wpad_is_tried_first_then_the_script_names_the_proxy(settings, open_proxy, target, query):
    # The proxy serves the auto-configuration script that names it.
    script = f"http://{open_proxy.address}/proxy.pac"
    pac = f'function FindProxyForURL(url, host) {{ return "PROXY {open_proxy.address}"; }}\n'
    open_proxy.files["/proxy.pac"] = pac.encode()
    settings.set_ie(pac_url=script, auto_detect=True)
    answer = query(target.url())
    assert open_proxy.gets("/proxy.pac"), "the script was not fetched"
    expect_direct_proxy(answer, open_proxy)
    assert answer.has("DEBUG", "AutoDetect:1")
    assert answer.has("DEBUG", f"AutoConfig URL:{script}")
    # Wine finds no WPAD server here, so the script is taken after it.
    assert answer.has("INFO", WPAD_TRIED)
    assert answer.index("INFO", "Unable to automatically detect proxy information using WPAD") < \
        answer.index("DEBUG", f"Proxy server list:{open_proxy.address}")
    assert not answer.has("INFO", WPAD_SKIPPED)


def test_wpad_switched_off_and_a_failing_script_fall_to_the_fixed_list(settings, open_proxy, target, query):
    settings.set_ie(proxy=open_proxy.address, pac_url="http://127.0.0.1:9/missing.pac", auto_detect=True)
    answer = query(target.url(), env=debug_environment(ORVK_ORVK_WPAD_PROXY_CHECK="FaLsE"))
    expect_direct_proxy(answer, open_proxy)
    assert answer.has("INFO", WPAD_SKIPPED)
    assert not answer.has("INFO", WPAD_TRIED)
    # The script alone was tried.
    assert answer.count("INFO", "Performing 'AutoDetectProxyInfo' ...") == 1
    assert answer.has("INFO", "Unable to automatically detect proxy information using PAC URL")


# The machine default.
def test_machine_default_is_used_only_when_the_user_has_no_proxy(settings, open_proxy, target, query):
    with WebServer() as machine_default:
        settings.set_machine_default(machine_default.address, bypass="*.local")
        settings.set_ie(proxy=open_proxy.address)
        expect_direct_proxy(query(target.url()), open_proxy)
        assert machine_default.requests == []
        settings.set_ie()  # direct connection, nothing else
        answer = query(target.url())
    expect_direct_proxy(answer, machine_default)
    assert answer.has("INFO", "Unable to detect proxy information from IE settings. Trying to get proxy "
                              "information using default proxy configuration ...")
    assert answer.has("DEBUG", "Bypass proxy list:*.local")
    assert answer.has("DEBUG", f"Proxy server list:{machine_default.address}")


# Nothing configured anywhere.
def test_no_configuration_anywhere_gives_1_and_no_probe(settings, open_proxy, target, query):
    answer = query(target.url())
    assert answer.status == 1, answer
    assert all(answer.fields[f] == "<none>" for f in ("server", "serverPort", "user", "password"))
    for line in NO_CONFIGURATION_LINES:
        assert answer.has("INFO", line)
    assert answer.index("INFO", NO_CONFIGURATION_LINES[0]) + 1 == answer.index("INFO", NO_CONFIGURATION_LINES[1])
    assert not answer.has("INFO", "Performing 'CheckAuthenticatingProxy' ...")
    assert answer.has("INFO", "PMStatus:1")
    assert open_proxy.requests == [] and target.requests == []
