"""Fixtures and runners of the proxy scenarios: local proxies and target,
prefix settings restored after each test, and the proxyquery helper whose
answer and debug output the tests read."""

import re
import subprocess
import tempfile

import pytest

from kit.servers import ForwardingProxy, RefusingProxy, TargetServer
from proxysettings import PROXY_HOST, QUERY_TIMEOUT, CredentialStore, ProxySettings, run_windows, wine_environment

LOGIN = ("proxyuser", "s3cret")
LOG_PREFIX = "Orvakel   OrvkProxyManager   "

_DEBUG_LINE = re.compile(r'^[0-9a-f]+:warn:(?:debugstr|seh):OutputDebugStringA "(.*)"(\.\.\.)?$')


def _unescape(text):
    out, i = bytearray(), 0
    escapes = {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\", '"': b'"'}
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            if text[i + 1] == "x":
                out += bytes([int(text[i + 2:i + 4], 16)])
                i += 4
                continue
            out += escapes.get(text[i + 1], text[i + 1].encode())
            i += 2
            continue
        out += text[i].encode()
        i += 1
    return out.decode("utf-8", errors="replace")


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

    @property
    def proxy(self):
        return (self.fields["server"], self.fields["serverPort"])

    def __repr__(self):
        return f"status={self.status}\n{self.stdout}\n" + "\n".join(self.messages)


class ProxyQuery:
    """Runs proxyquery.exe (the proxy manager's entry point for one URL)."""

    def __init__(self, wine, helpers):
        self.wine, self.program = wine, helpers / "proxyquery.exe"
        self.inspector = helpers / "wininspect.exe"
        self.started = []

    def __call__(self, *args, env=None):
        result = run_windows(self.wine, self.program, *args, env=env)
        assert result.returncode == 0, result.stderr[-2000:]
        return Answer(result)

    def start(self, *args, env=None):
        """Starts it without waiting (for tests that answer its dialog)."""
        out, err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
        process = subprocess.Popen([str(self.wine.runner), str(self.program), *map(str, args)],
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=env or wine_environment())
        process.files = (out, err)
        self.started.append(process)
        return process

    def cancel_dialogs(self):
        """Cancels every credential dialog on the display (one left by a failed test
        would otherwise answer the next test's search)."""
        run_windows(self.wine, self.inspector, "click", "--class", "#32770", "--title-contains", "Connect to",
                    "--control", "id:2", "--all")

    def close(self):
        """Ends what start() began and a test left running."""
        for process in self.started:
            if process.poll() is None:
                self.cancel_dialogs()
                try:
                    process.wait(timeout=15)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            for file in process.files:
                file.close()

    @staticmethod
    def finish(process, timeout=QUERY_TIMEOUT):
        process.wait(timeout=timeout)
        out, err = process.files
        out.seek(0)
        err.seek(0)
        return Answer(subprocess.CompletedProcess(process.args, process.returncode, out.read(), err.read()))


@pytest.fixture()
def query(wine, helpers, credentials):
    """Every query starts and ends with no stored login for the test proxies."""
    runner = ProxyQuery(wine, helpers)
    runner.cancel_dialogs()
    yield runner
    runner.close()


@pytest.fixture(scope="module")
def saved_settings(wine, tmp_path_factory):
    """The prefix's proxy settings as the module found them, put back at its end."""
    settings = ProxySettings(wine, tmp_path_factory.mktemp("proxy-settings"))
    settings.save()
    yield settings
    settings.restore()
    assert settings.read() == settings.saved


@pytest.fixture()
def settings(saved_settings):
    """No proxy configured anywhere, until the test sets one."""
    saved_settings.reset()
    return saved_settings


@pytest.fixture()
def credentials(wine, helpers):
    store = CredentialStore(wine, helpers, [PROXY_HOST])
    yield store
    store.clean_up()


@pytest.fixture()
def target():
    with TargetServer() as server:
        yield server


@pytest.fixture()
def open_proxy():
    with ForwardingProxy() as proxy:
        yield proxy


@pytest.fixture()
def login_proxy():
    with ForwardingProxy(credentials=LOGIN) as proxy:
        yield proxy


@pytest.fixture()
def refusing_proxy():
    with RefusingProxy() as proxy:
        yield proxy
