"""The proxy manager under test: the prefix's proxy settings and stored proxy
logins, written by a test and put back afterwards (the prefix is shared by
every test), and proxyquery.exe (the manager's entry point for one URL),
whose answer and debug output the tests read."""

import codecs
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


def ie_settings_blob(proxy="", bypass="", pac_url="", auto_detect=False):
    flags = DIRECT | (FIXED_PROXY if proxy else 0) | (PAC_URL if pac_url else 0) | (AUTO_DETECT if auto_detect else 0)
    blob = struct.pack("<III", 0x46, 1, flags)
    for text in (proxy, bypass, pac_url):
        data = text.encode("ascii")
        blob += struct.pack("<I", len(data)) + data
    return blob + bytes(32)


def machine_default_blob(proxy, bypass=""):
    blob = struct.pack("<III", 0x18, 0, FIXED_PROXY if proxy else DIRECT)
    for text in (proxy, bypass):
        data = text.encode("ascii")
        blob += struct.pack("<I", len(data)) + data
    return blob


def debug_environment(debug_output="true", **extra):
    """The environment for the proxy manager's programs, its debug output captured:
    OutputDebugStringA shows on the debugstr channel; Wine 8 shows the wide form
    (which it passes on to the narrow one) as a warning of the seh channel."""
    env = {"WINEDEBUG": "+debugstr,warn+seh"}
    if debug_output is not None:
        env["ORVK_ENABLE_DEBUG_STRING"] = debug_output
    env.update(extra)
    return wine_environment(**env)


class ProxySettings:
    """Both places a proxy configuration can come from, through the prefix
    registry: save() notes them once, reset() removes both, restore() puts
    back what save() found."""

    def __init__(self, wine, folder):
        self.registry = PrefixRegistry(wine, folder)
        self.saved = None

    def read(self):
        return self.registry.query(IE_KEY, IE_VALUE), self.registry.query(MACHINE_KEY, MACHINE_VALUE)

    def save(self):
        self.registry.save(IE_KEY)
        self.registry.save(MACHINE_KEY)
        self.saved = self.read()

    def reset(self):
        self.registry.set_values(IE_KEY, {IE_VALUE: None})
        self.registry.set_values(MACHINE_KEY, {MACHINE_VALUE: None})

    def restore(self):
        self.registry.restore()

    def set_ie(self, **settings):
        self.registry.set_values(IE_KEY, {IE_VALUE: ie_settings_blob(**settings)})

    def set_machine_default(self, proxy, bypass=""):
        self.registry.set_values(MACHINE_KEY, {MACHINE_VALUE: machine_default_blob(proxy, bypass)})


class CredentialStore:
    """Generic credentials of the prefix, read and removed with the credstore helper."""

    def __init__(self, wine, helpers, targets):
        self.wine, self.tool, self.targets = wine, helpers / "credstore.exe", list(targets)
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
        for target in self.targets:
            assert self.wine.run(self.tool, "delete", target).returncode == 0


def _unescape(text):
    """Wine's escaped form of the string (\\n, \\", \\xNN for every byte outside ASCII) back to its text."""
    return codecs.decode(text, "unicode_escape").encode("latin-1").decode("utf-8", errors="replace")


def debug_lines(stderr):
    """The lines the program wrote to the debugger output, each with its line end."""
    lines = []
    for raw in stderr.decode(errors="replace").splitlines():
        match = _DEBUG_LINE.match(raw)
        if match:
            lines.append(_unescape(match.group(1)))
    return lines


class Answer:
    def __init__(self, result):
        self.returncode = result.returncode
        self.stdout = result.stdout.decode("utf-8", errors="replace")
        self.fields = dict(line.split("=", 1) for line in self.stdout.splitlines() if "=" in line)
        self.status = int(self.fields["status"]) if "status" in self.fields else None
        self.lines = debug_lines(result.stderr)
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
        self.wine.run(self.inspector, "click", "--class", "#32770", "--title-contains", "Connect to",
                      "--control", "id:2", "--all")

    def close(self):
        """Ends what start() began and a test left running."""
        for process in self.started:
            if process.poll() is None:
                self.cancel_dialogs()
            try:
                self.wine.finish(process, timeout=15)
            except subprocess.TimeoutExpired:
                pass
