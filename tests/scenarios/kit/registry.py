"""Keys of the shared Wine prefix that a test changes, put back as they were.

Every change goes through one object: before a key is first changed it is
exported (or noted as absent); restore() deletes it and imports the export, so
values the test added disappear and values it changed or removed come back."""

from .wine import windows_path


def reg_text(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _value_line(name, value):
    target = "@" if name is None else reg_text(name)
    if value is None:
        return f"{target}=-"
    if isinstance(value, (bytes, bytearray)):
        return f"{target}=hex:" + ",".join(f"{b:02x}" for b in value)
    if isinstance(value, list):  # REG_MULTI_SZ
        data = "".join(text + "\0" for text in value) + "\0"
        return f"{target}=hex(7):" + ",".join(f"{b:02x}" for b in data.encode("utf-16-le"))
    return f"{target}={reg_text(value)}"


class PrefixRegistry:
    def __init__(self, wine, folder):
        self.wine, self.folder = wine, folder
        self.saved = {}  # full key name -> export file, or None when the key was absent
        self.count = 0

    def _file(self, stem):
        self.count += 1
        return self.folder / f"registry-{stem}-{self.count}.reg"

    def save(self, key):
        if key in self.saved:
            return
        path = self._file("saved")
        exported = self.wine.run("reg", "export", key, windows_path(path), "/y").returncode == 0 and path.exists()
        self.saved[key] = path if exported else None

    def _import(self, lines):
        path = self._file("change")
        text = "Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(lines) + "\r\n"
        path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
        result = self.wine.run("reg", "import", windows_path(path))
        assert result.returncode == 0, result.stderr

    def set_values(self, key, values):
        """Writes {name: text | bytes | [texts] | None} into key (None removes the value; the
        name None is the key's default value), creating the key when needed."""
        self.save(key)
        self._import([f"[{key}]"] + [_value_line(name, value) for name, value in values.items()])

    def delete_key(self, key):
        self.save(key)
        self._import([f"[-{key}]"])

    def restore(self):
        for key, export in reversed(list(self.saved.items())):
            self._import([f"[-{key}]"])
            if export is not None:
                result = self.wine.run("reg", "import", windows_path(export))
                assert result.returncode == 0, result.stderr
        self.saved.clear()
