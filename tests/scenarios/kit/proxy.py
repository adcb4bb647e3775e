"""The proxy manager under test: the prefix's proxy settings and stored proxy
logins, written by a test and put back afterwards (the prefix is shared by
every test), and proxyquery.exe (the manager's entry point for one URL),
whose answer and debug output the tests read."""

import codecs
import contextlib
import re
import struct
import subprocess

from .registry import PrefixRegistry
from .wine import wine_environment

# The proxies of the tests listen here; it is also the credential store target.
PROXY_HOST = "127.0.0.1"
LOGIN = ("proxyuser", "s3cret")
LOG_PREFIX = "Orvakel   OrvkProxyManager   "

IE_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
IE_VALUE = "DefaultConnectionSettings"
MACHINE_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
MACHINE_VALUE = "WinHttpSettings"

# Flags of the IE connection settings.
DIRECT, FIXED_PROXY, PAC_URL, AUTO_DETECT = 1, 2, 4, 8

_DEBUG_LINE = re.compile(r'^[0-9a-f]+:warn:(?:debugstr|seh):OutputDebugStringA "(.*)"(\.\.\.)?$')


def _counted_texts(*texts):
    return b"".join(struct.pack("<I", len(text)) + text.encode("ascii") for text in texts)


def debug_environment(debug_output="true", **extra):
    """The environment for the proxy manager's programs, its debug output captured:
    OutputDebugStringA shows on the debugstr channel; Wine 8 shows the wide form
    (which it passes on to the narrow one) as a warning of the seh channel."""
    env = {"WINEDEBUG": "+debugstr,warn+seh"}
    if debug_output is not None:
        env["ORVK_ENABLE_DEBUG_STRING"] = debug_output
    env.update(extra)
    return wine_environment(**env)


class ProxySettings(PrefixRegistry):
    """Both places a proxy configuration can come from, in the prefix registry."""

    def reset(self):
        self.set_values(IE_KEY, {IE_VALUE: None})
        self.set_values(MACHINE_KEY, {MACHINE_VALUE: None})

    def set_ie(self, proxy="", bypass="", pac_url="", auto_detect=False):
        flags = DIRECT | (FIXED_PROXY if proxy else 0) | (PAC_URL if pac_url else 0) | (AUTO_DETECT * auto_detect)
        blob = struct.pack("<III", 0x46, 1, flags) + _counted_texts(proxy, bypass, pac_url) + bytes(32)
        self.set_values(IE_KEY, {IE_VALUE: blob})

    def set_machine_default(self, proxy, bypass=""):
        blob = struct.pack("<III", 0x18, 0, FIXED_PROXY if proxy else DIRECT) + _counted_texts(proxy, bypass)
        self.set_values(MACHINE_KEY, {MACHINE_VALUE: blob})


class CredentialStore:
    """Generic credentials of the prefix, through the stores helper; the login
    for the test proxies is removed on creation and by clean_up()."""

    def __init__(self, wine, helpers):
        self.wine, self.tool = wine, helpers / "stores.exe"
        self.clean_up()

    def read(self, target):
        result = self.wine.run(self.tool, "read", target)
        if result.returncode == 1:
            return None
        assert result.returncode == 0, result.stderr
        return dict(line.split("=", 1) for line in result.stdout.decode("utf-8").splitlines())

    def write(self, target, user, password):
        assert self.wine.run(self.tool, "write", target, user, password).returncode == 0

    def clean_up(self):
        assert self.wine.run(self.tool, "delete", PROXY_HOST).returncode == 0


def _unescape(text):
    """Wine's escaped form of the string (\\n, \\", \\xNN for every byte outside ASCII) back to its text."""
    return codecs.decode(text, "unicode_escape").encode("latin-1").decode("utf-8", errors="replace")


class Answer:
    def __init__(self, result):
        self.stdout = result.stdout.decode("utf-8", errors="replace")
        self.fields = dict(line.split("=", 1) for line in self.stdout.splitlines() if "=" in line)
        self.status = int(self.fields["status"]) if "status" in self.fields else None
        # The lines written to the debugger output, each with its line end.
        matches = map(_DEBUG_LINE.match, result.stderr.decode(errors="replace").splitlines())
        self.lines = [_unescape(match.group(1)) for match in matches if match]
        # The messages alone: "<tag>   <message>" without prefix and line end.
        self.messages = [line[len(LOG_PREFIX):].rstrip("\n") for line in self.lines if line.startswith(LOG_PREFIX)]

    def has(self, tag, message):
        return f"[{tag}]   {message}" in self.messages

    def count(self, tag, message):
        return self.messages.count(f"[{tag}]   {message}")

    def index(self, tag, message):
        return self.messages.index(f"[{tag}]   {message}")

    def probed(self, address):
        """Whether a probe went to the proxy at address ("host:port")."""
        server, port = address.rsplit(":", 1)
        return self.has("DEBUG", f"Discovered proxy server information [server={server} port={port}]")

    @property
    def proxy(self):
        return (self.fields["server"], self.fields["serverPort"])

    def __repr__(self):
        return f"status={self.status}\n{self.stdout}\n" + "\n".join(self.messages)


class ProxyQuery:
    """Runs proxyquery.exe with the manager's debug output captured."""

    def __init__(self, wine, helpers):
        self.wine, self.program = wine, helpers / "proxyquery.exe"
        self.inspector = helpers / "wininspect.exe"
        self.started = []

    def __call__(self, *args, env=None):
        result = self.wine.run(self.program, *args, env=env or debug_environment())
        assert result.returncode == 0, result.stderr[-2000:]
        return Answer(result)

    def start(self, *args):
        """Starts it without waiting (for tests that answer its dialog); finish() collects it."""
        self.started.append(self.wine.start(self.program, *args, env=debug_environment()))
        return self.started[-1]

    def finish(self, process):
        self.started.remove(process)
        return Answer(self.wine.finish(process))

    def cancel_dialogs(self):
        """Cancels every credential dialog on the display (one left by a failed test
        would otherwise answer the next test's search)."""
        self.wine.run(self.inspector, "click", "--class", "#32770", "--title", f"Connect to {PROXY_HOST}",
                      "--control", "id:2", "--all")

    def close(self):
        """Ends what start() began and a test left running."""
        for process in self.started:
            if process.poll() is None:
                self.cancel_dialogs()
            with contextlib.suppress(subprocess.TimeoutExpired):
                self.wine.finish(process, timeout=15)
