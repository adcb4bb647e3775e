"""The proxy manager's debug output: switched by ORVK_ENABLE_DEBUG_STRING at
process start, every line with its prefix, tag and line end, long messages cut
rather than lost (no passwords in it: test_proxy_credentials)."""

import re

from kit.proxy import PROXY_HOST, debug_environment

LINE = re.compile(r"^Orvakel   OrvkProxyManager   \[(TRACE|DEBUG|INFO|ERROR|FATAL)\]   .*\n$", re.S)
MESSAGE_BUFFER = 1024


# The switch's letter case and the values that leave the default are the unit
# tests' (both switches read through one rule); here: it is read at all.
def test_debug_output_only_when_switched_on_every_line_with_prefix_tag_and_line_end(settings, open_proxy, target,
                                                                                      query):
    settings.set_ie(proxy=open_proxy.address)
    answer = query(target.url(), env=debug_environment(debug_output=None))
    assert answer.status == 0, answer
    assert answer.lines == []

    answer = query(target.url(), env=debug_environment(debug_output="tRuE"))
    assert answer.status == 0, answer
    assert len(answer.lines) > 20
    for line in answer.lines:
        assert LINE.match(line), repr(line)
    assert answer.messages[0] == "[INFO]   Performing 'GetProxyInfo' API ..."
    assert answer.messages[-2:] == [
        "[INFO]   PMStatus:0",
        f"[INFO]   Output: [server={PROXY_HOST} serverPort={open_proxy.port} user= password=**** authScheme=0]"]
    # Steps at INFO, details at DEBUG.
    assert answer.has("INFO", "Performing 'CheckAuthenticatingProxy' ...")
    assert answer.has("DEBUG", "Performing 'OpenRequest' ...")
    assert answer.has("DEBUG", "Received HTTP status:502")


def test_message_longer_than_the_buffer_is_cut_not_dropped(settings, wine, helpers):
    url = "http://localhost/" + "a" * 1500
    env = debug_environment(WINEDEBUG="+debugstr,warn+seh,trace+seh")
    result = wine.run(helpers / "proxyquery.exe", url, env=env)
    lines = result.stderr.decode(errors="replace").splitlines()
    shown = [i for i, line in enumerate(lines)
             if 'OutputDebugStringA "Orvakel   OrvkProxyManager   [INFO]   Input URL:http://localhost/aaaa' in line]
    assert len(shown) == 1, "the long line was dropped"
    # Wine shows only the start of a long string; the exception it raises carries the length.
    length = next(int(m.group(1), 16) for line in lines[shown[0]:]
                  if (m := re.search(r"dispatch_exception  info\[0\]=([0-9a-f]+)", line)))
    expected = len("Orvakel   OrvkProxyManager   [INFO]   ") + (MESSAGE_BUFFER - 1) + len("\n") + 1
    assert length == expected
    # The lines after it are still written.
    assert any("[INFO]   PMStatus:" in line for line in lines[shown[0]:])
