"""Records of the stand-in programs (tests/helpers/standinbrowser.cpp and
standininstaller.cpp): one file per start, "record-<n>.txt" numbered from 1,
one value per line. A stand-in creates its file before it writes the lines,
so a record counts once all its lines are there."""

import time


def read_records(folder, count=0, lines=2, timeout=30):
    """The records in start order, each the list of its first lines lines, once at
    least count of them are complete (or, at the timeout, as they are)."""
    deadline = time.monotonic() + timeout
    while True:
        texts = [(folder / f"record-{n}.txt").read_text(encoding="utf-8")
                 for n in range(1, len(list(folder.iterdir())) + 1)]
        if (len(texts) >= count and all(text.count("\n") >= lines for text in texts)) \
                or time.monotonic() >= deadline:
            return [text.split("\n")[:lines] for text in texts]
        time.sleep(0.05)
