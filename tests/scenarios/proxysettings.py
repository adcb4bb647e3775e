"""The Wine prefix's proxy settings and credential store, for the proxy
scenarios: written by a test, and put back as they were afterwards (the prefix
is shared by every test)."""

import os
import re
import struct

from conftest import windows_path

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
    """The environment for the programs under test: no proxy variables (Wine would
    take http_proxy as the machine default) and the debug output captured."""
    env = {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}
    env.pop("ORVK_ORVK_WPAD_PROXY_CHECK", None)
    env.pop("ORVK_ENABLE_DEBUG_STRING", None)
    if debug_output is not None:
        env["ORVK_ENABLE_DEBUG_STRING"] = debug_output
    # OutputDebugStringA shows on the debugstr channel; Wine 8 shows the wide form
    # (which it passes on to the narrow one) as a warning of the seh channel.
    env["WINEDEBUG"] = "+debugstr,warn+seh"
    env.update(extra)
    return env


def run_windows(wine, program, *args, env=None, timeout=QUERY_TIMEOUT):
    """Runs a program under Wine without the proxy variables of this shell."""
    return wine.run(program, *args, timeout=timeout, env=env or wine_environment())


IE_FULL_KEY = "HKEY_CURRENT_USER" + IE_KEY[4:]
MACHINE_FULL_KEY = "HKEY_LOCAL_MACHINE" + MACHINE_KEY[4:]


def _reg_entry(name, data):
    if data is None:
        return f'"{name}"=-'
    return f'"{name}"=hex:' + ",".join(f"{b:02x}" for b in data)


class ProxySettings:
    """Both places a proxy configuration can come from. save() reads them once;
    reset() removes both, restore() puts back what save() found. Each change is
    one "reg import" of a small file."""

    def __init__(self, wine, folder):
        self.wine, self.folder = wine, folder
        self.saved = None

    def _read(self, key, name):
        result = run_windows(self.wine, "reg", "query", key, "/v", name)
        match = re.search(rf"{name}\s+REG_BINARY\s+([0-9A-Fa-f]*)", result.stdout.decode(errors="replace"))
        return bytes.fromhex(match.group(1)) if result.returncode == 0 and match else None

    def read(self):
        return self._read(IE_KEY, IE_VALUE), self._read(MACHINE_KEY, MACHINE_VALUE)

    def _import(self, ie=..., machine=...):
        lines = ["REGEDIT4", ""]
        if ie is not ...:
            lines += [f"[{IE_FULL_KEY}]", _reg_entry(IE_VALUE, ie), ""]
        if machine is not ...:
            lines += [f"[{MACHINE_FULL_KEY}]", _reg_entry(MACHINE_VALUE, machine), ""]
        path = self.folder / "proxy-settings.reg"
        path.write_text("\r\n".join(lines) + "\r\n")
        result = run_windows(self.wine, "reg", "import", windows_path(path))
        assert result.returncode == 0, result.stderr

    def save(self):
        self.saved = self.read()

    def reset(self):
        self._import(ie=None, machine=None)

    def restore(self):
        self._import(ie=self.saved[0], machine=self.saved[1])

    def set_ie(self, **settings):
        self._import(ie=ie_settings_blob(**settings))

    def set_machine_default(self, proxy, bypass=""):
        self._import(machine=machine_default_blob(proxy, bypass))


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
