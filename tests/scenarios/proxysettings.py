"""The Wine prefix's proxy settings and credential store, for the proxy
scenarios: written by a test, and put back as they were afterwards (the prefix
is shared by every test)."""

import struct

from kit.registry import PrefixRegistry
from kit.wine import wine_environment as kit_environment

QUERY_TIMEOUT = 60

# The proxies of the tests listen here; it is also the credential store target.
PROXY_HOST = "127.0.0.1"

IE_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
IE_VALUE = "DefaultConnectionSettings"
MACHINE_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
MACHINE_VALUE = "WinHttpSettings"

# Flags of the IE connection settings.
DIRECT, FIXED_PROXY, PAC_URL, AUTO_DETECT = 1, 2, 4, 8


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


def wine_environment(debug_output="true", **extra):
    """The environment for the proxy manager's programs, its debug output captured:
    OutputDebugStringA shows on the debugstr channel; Wine 8 shows the wide form
    (which it passes on to the narrow one) as a warning of the seh channel."""
    env = {"WINEDEBUG": "+debugstr,warn+seh"}
    if debug_output is not None:
        env["ORVK_ENABLE_DEBUG_STRING"] = debug_output
    env.update(extra)
    return kit_environment(**env)


def run_windows(wine, program, *args, env=None, timeout=QUERY_TIMEOUT):
    """Runs a program under Wine with the proxy manager's debug output captured."""
    return wine.run(program, *args, timeout=timeout, env=env or wine_environment())


IE_FULL_KEY = "HKEY_CURRENT_USER" + IE_KEY[4:]
MACHINE_FULL_KEY = "HKEY_LOCAL_MACHINE" + MACHINE_KEY[4:]


class ProxySettings:
    """Both places a proxy configuration can come from, through the prefix
    registry: save() notes them once, reset() removes both, restore() puts
    back what save() found."""

    def __init__(self, wine, folder):
        self.registry = PrefixRegistry(wine, folder)
        self.saved = None

    def read(self):
        return self.registry.query(IE_FULL_KEY, IE_VALUE), self.registry.query(MACHINE_FULL_KEY, MACHINE_VALUE)

    def save(self):
        self.registry.save(IE_FULL_KEY)
        self.registry.save(MACHINE_FULL_KEY)
        self.saved = self.read()

    def reset(self):
        self.registry.set_values(IE_FULL_KEY, {IE_VALUE: None})
        self.registry.set_values(MACHINE_FULL_KEY, {MACHINE_VALUE: None})

    def restore(self):
        self.registry.restore()

    def set_ie(self, **settings):
        self.registry.set_values(IE_FULL_KEY, {IE_VALUE: ie_settings_blob(**settings)})

    def set_machine_default(self, proxy, bypass=""):
        self.registry.set_values(MACHINE_FULL_KEY, {MACHINE_VALUE: machine_default_blob(proxy, bypass)})


class CredentialStore:
    """Generic credentials of the prefix, read and removed with the credstore helper."""

    def __init__(self, wine, helpers, targets):
        self.wine, self.tool, self.targets = wine, helpers / "credstore.exe", list(targets)
        for target in self.targets:
            self.delete(target)

    def read(self, target):
        result = run_windows(self.wine, self.tool, "read", target)
        if result.returncode == 1:
            return None
        assert result.returncode == 0, result.stderr
        return dict(line.split("=", 1) for line in result.stdout.decode("utf-8").splitlines())

    def write(self, target, user, password):
        assert run_windows(self.wine, self.tool, "write", target, user, password).returncode == 0

    def delete(self, target):
        assert run_windows(self.wine, self.tool, "delete", target).returncode == 0

    def clean_up(self):
        for target in self.targets:
            self.delete(target)
