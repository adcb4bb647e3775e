"""The demo's package server: serves the files named on the command line at
/<file name> on 127.0.0.1 with a free port, in pieces with short pauses so that
the download can be watched, writes the port to PORT_FILE and runs until it
is terminated.

    python3 tools/demo/serve.py PORT_FILE FILE..."""

import signal
import sys
import threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "scenarios"))
from kit.servers import WebServer  # noqa: E402


def main(port_file, *files):
    paths = {f"/{Path(name).name}": Path(name).read_bytes() for name in files}
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    with WebServer(paths) as server:
        server.slow_chunk, server.slow_pause = 64 << 10, 0.05
        for path in paths:
            server.fault(path, "slow", repeat=True)
        Path(port_file).write_text(f"{server.port}\n")
        stop.wait(600)  # never outlives the demo by more than ten minutes
        for method, target, *_ in server.requests:
            print(f"server: {method} {target}")


if __name__ == "__main__":
    main(*sys.argv[1:])
