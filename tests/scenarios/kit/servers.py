"""Loopback HTTP servers that tests start and stop themselves: each serves its
files with faults on demand (optionally over TLS) and, asked for a whole URL,
forwards the request as an HTTP proxy (one that demands a Basic login when
given credentials). Each records what reached it and stops within a second."""

import base64
import hashlib
import http.client
import http.server
import re
import socket
import ssl
import struct
import threading
import time
from urllib.parse import urlsplit

REALM = "tarnwick-test"


def etag(body):
    """The strong ETag that the web server gives body."""
    return '"%s"' % hashlib.sha256(body).hexdigest()[:16]


def basic_login(user, password):
    """The Proxy-Authorization header of a Basic login."""
    return "Basic " + base64.b64encode(f"{user}:{password}".encode()).decode()


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 10

    def log_message(self, *args):
        pass

    def answer(self, status, headers=(), body=b""):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def reset(self):
        """Drops the connection with a TCP reset."""
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.close_connection = True
        self.connection.close()

    def validators(self, body):
        return [("ETag", etag(body)), ("Accept-Ranges", "bytes")] if self.server.owner.ranges else []

    def begin(self, header, value, body):
        """Sends the head of a 200 answer whose body the caller writes."""
        self.send_response(200)
        for name, text in [(header, value), *self.validators(body)]:
            self.send_header(name, text)
        self.end_headers()

    def range_start(self, body):
        """Where the answer starts: N for "Range: bytes=N-" with the body's ETag as If-Range, else 0."""
        asked = re.fullmatch(r"bytes=(\d+)-", self.headers.get("Range", ""))
        valid = self.server.owner.ranges and asked and self.headers.get("If-Range") == etag(body)
        return int(asked[1]) if valid and int(asked[1]) < len(body) else 0

    def do_GET(self):
        owner = self.server.owner
        owner.requests.append((self.command, self.path, *map(self.headers.get, (
            "Proxy-Authorization", "Range", "If-Range"))))
        if not self.path.startswith("/"):
            self.proxy()
            return
        path = urlsplit(self.path).path
        fault = owner.next_fault(path)
        body = owner.files.get(path, owner.default)
        if fault == "reset":
            self.reset()
        elif fault == "500":
            self.answer(500, body=b"server error")
        elif body is None:
            self.answer(404, body=b"not found")
        elif fault in ("truncate", "reset-half", "stall"):
            self.begin("Content-Length", str(len(body)), body)
            self.wfile.write(body[:len(body) // 2])
            self.wfile.flush()
            if fault == "truncate":
                # The end of the connection in order. A reset instead could make the client's stack
                # drop the data it has not read yet, so the client would see a failed request, not a cut body.
                self.close_connection = True
                self.connection.shutdown(socket.SHUT_WR)
            else:
                # A reset once the client has read the half (a reset before would drop what it has
                # not read), or nothing more until the server stops.
                owner.stopping.wait(30 if fault == "stall" else 0.5)
                self.reset()
        elif fault == "chunked":
            self.begin("Transfer-Encoding", "chunked", body)
            for start in range(0, len(body), 4096):
                piece = body[start:start + 4096]
                self.wfile.write(f"{len(piece):x}\r\n".encode() + piece + b"\r\n")
            self.wfile.write(b"0\r\n\r\n")
        elif fault == "slow":
            self.begin("Content-Length", str(len(body)), body)
            for start in range(0, len(body), owner.slow_chunk):
                self.wfile.write(body[start:start + owner.slow_chunk])
                self.wfile.flush()
                time.sleep(owner.slow_pause)
        elif start := self.range_start(body):
            self.answer(206, [("Content-Range", f"bytes {start}-{len(body) - 1}/{len(body)}"),
                              *self.validators(body)], body[start:])
        else:
            self.answer(200, [("Content-Type", "application/octet-stream"), *self.validators(body)], body)

    do_HEAD = do_CONNECT = do_GET

    def proxy(self):
        expected = self.server.owner.expected_header
        if expected is not None and self.headers.get("Proxy-Authorization") != expected:
            self.answer(407, [("Proxy-Authenticate", f'Basic realm="{REALM}"')], b"login required")
            return
        if self.command == "CONNECT":
            self.answer(502)  # tunnels are not offered: the tests only look at where the probe goes
            return
        parts = urlsplit(self.path)
        try:
            upstream = http.client.HTTPConnection(parts.hostname, parts.port or 80, timeout=5)
            target = parts.path + (f"?{parts.query}" if parts.query else "") or "/"
            upstream.request(self.command, target, headers={"Host": parts.netloc})
            response = upstream.getresponse()
            body = response.read()
            upstream.close()
        except OSError:
            self.answer(502, body=b"upstream unreachable")
            return
        self.answer(response.status, [("Content-Type", response.getheader("Content-Type", "text/plain"))], body)


class WebServer:
    """A threaded HTTP server on 127.0.0.1 with a free port; use as a context
    manager. It serves files {path: bytes}; a path it does not hold answers 404,
    or the default body when one is given. Faults on demand, per path:
    fault(path, "reset", "reset") resets twice and then serves the file;
    fault(path, "slow", repeat=True) is slow every time. A fault is "reset"
    (connection reset before any answer), "500" (a server error), "truncate"
    (half the announced body, then the end of the connection), "reset-half"
    (half the body, then a reset), "stall" (half the body, then nothing until
    the server stops), "chunked" (no Content-Length) or "slow" (the body in
    slow_chunk pieces, slow_pause seconds apart). With ranges (the default)
    its answers carry an ETag and "Accept-Ranges: bytes", and it answers
    "Range: bytes=N-" with "If-Range: <the ETag>" by a 206 with the rest. Reach it as
    localhost: Wine matches TLS names, not IP addresses, and sends a bad request
    when a proxy and its target have the same host text.

    A request for a whole URL (or a CONNECT) it forwards as a proxy (a tunnel
    it refuses with 502); with credentials=(user, password) it answers 407 with
    a Basic challenge until the request carries exactly that login."""

    def __init__(self, files=None, default=None, tls=None, ranges=True, credentials=None):
        self.files = dict(files or {})
        self.default, self.ranges = default, ranges
        self.expected_header = basic_login(*credentials) if credentials is not None else None
        self.slow_chunk, self.slow_pause = 16 << 10, 0.05
        self.requests = []  # (method, target, and the headers Proxy-Authorization, Range, If-Range or None)
        self._faults = {}
        self._lock = threading.Lock()
        self.stopping = threading.Event()
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _Handler)
        self._server.owner = self
        if tls is not None:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*tls)
            self._server.socket = context.wrap_socket(self._server.socket, server_side=True)
        self.scheme = "https" if tls else "http"
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.05},
                                        daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self._server.shutdown()
        self._server.server_close()
        self._thread.join(timeout=5)

    @property
    def address(self):
        return f"127.0.0.1:{self.port}"

    def fault(self, path, *faults, repeat=False):
        with self._lock:
            self._faults[path] = (list(faults), repeat)

    def next_fault(self, path):
        with self._lock:
            faults, repeat = self._faults.get(path, ([], False))
            if not faults:
                return None
            return faults[0] if repeat else faults.pop(0)

    def url(self, path="/package.bin"):
        return f"{self.scheme}://localhost:{self.port}{path}"

    def gets(self, path):
        """How many GET requests reached path."""
        return sum(1 for method, target, *_ in self.requests if method == "GET" and urlsplit(target).path == path)


def unused_address():
    """127.0.0.1:<port> where nothing listens: every connection to it is refused."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return f"127.0.0.1:{probe.getsockname()[1]}"
