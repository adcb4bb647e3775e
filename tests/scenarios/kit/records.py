"""Records of the stand-in programs (tests/programs/standinbrowser.cpp and
standininstaller.cpp): one file per start, "record-<n>.txt" numbered from 1,
one value per line. A stand-in creates its file before it writes the lines,
so a record counts once all its lines are there."""

import time

# The user's choice of https handler, and the program id that makes the stand-in
# browser that choice (conftest.py: the default_browser fixture).
USER_CHOICE = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\Shell\Associations\URLAssociations\https\UserChoice"
STANDIN_PROG_ID = "TarnwickStandInBrowser"
STANDIN_PROG_ID_KEY = rf"HKEY_CLASSES_ROOT\{STANDIN_PROG_ID}"


def read_records(folder, count=0, lines=2, timeout=30, quiet=0):
    """The records in start order, each the tuple of its first lines lines, once at
    least count of them are complete and no new one came for quiet seconds (a
    start that should not come shows as an extra record); at the timeout, as they
    are."""
    deadline = time.monotonic() + timeout
    seen, since = -1, time.monotonic()
    while True:
        texts = [(folder / f"record-{n}.txt").read_text(encoding="utf-8")
                 for n in range(1, len(list(folder.iterdir())) + 1)]
        now = time.monotonic()
        if len(texts) != seen:
            seen, since = len(texts), now
        complete = len(texts) >= count and all(text.count("\n") >= lines for text in texts)
        if (complete and now - since >= quiet) or now >= deadline:
            return [tuple(text.split("\n")[:lines]) for text in texts]
        time.sleep(0.05)
