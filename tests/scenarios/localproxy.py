"""Loopback servers for the proxy scenarios: a target web server, an open
forwarding proxy, one that demands a Basic login, and one that refuses every
connection. Each records what reached it and stops within a second."""

import base64
import http.client
import http.server
import socket
import struct
import threading
from urllib.parse import urlsplit

REALM = "tarnwick-test"


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class _LocalServer:
    """A threaded HTTP server on 127.0.0.1 with a free port; use as a context manager."""

    handler = None

    def __init__(self):
        self.requests = []  # (method, target, Proxy-Authorization header or None)
        owner = self

        class Handler(self.handler):
            server_owner = owner

        self._server = _Server(("127.0.0.1", 0), Handler)
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.05},
                                        daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join(timeout=5)

    @property
    def address(self):
        return f"127.0.0.1:{self.port}"


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 10

    def log_message(self, *args):
        pass

    def _record(self):
        self.server_owner.requests.append((self.command, self.path, self.headers.get("Proxy-Authorization")))

    def _answer(self, status, headers=(), body=b""):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)


class _TargetHandler(_Handler):
    def do_GET(self):
        self._record()
        self._answer(200, [("Content-Type", "application/octet-stream")], b"package bytes")

    do_HEAD = do_GET


class TargetServer(_LocalServer):
    """The web server that downloads are meant for, to be reached as localhost."""

    handler = _TargetHandler

    def url(self, path="/package.bin"):
        return f"http://localhost:{self.port}{path}"


class _ProxyHandler(_Handler):
    def _forward(self):
        self._record()
        owner = self.server_owner
        if owner.credentials is not None and self.headers.get("Proxy-Authorization") != owner.expected_header:
            self._answer(407, [("Proxy-Authenticate", f'Basic realm="{REALM}"')], b"login required")
            return
        parts = urlsplit(self.path)
        try:
            upstream = http.client.HTTPConnection(parts.hostname, parts.port or 80, timeout=5)
            upstream.request(self.command, parts.path or "/", headers={"Host": parts.netloc})
            response = upstream.getresponse()
            body = response.read()
            upstream.close()
        except OSError:
            self._answer(502, body=b"upstream unreachable")
            return
        self._answer(response.status, [("Content-Type", response.getheader("Content-Type", "text/plain"))], body)

    do_GET = _forward
    do_HEAD = _forward

    def do_CONNECT(self):
        # Tunnels are not offered: the tests only look at where the probe goes.
        self._record()
        self._answer(502 if self.server_owner.credentials is None else 407,
                     [("Proxy-Authenticate", f'Basic realm="{REALM}"')] if self.server_owner.credentials else [])


class ForwardingProxy(_LocalServer):
    """An HTTP proxy; with credentials=(user, password) it answers 407 with a Basic
    challenge until the request carries exactly that login."""

    handler = _ProxyHandler

    def __init__(self, credentials=None):
        self.credentials = credentials
        self.expected_header = None
        if credentials is not None:
            token = base64.b64encode(f"{credentials[0]}:{credentials[1]}".encode()).decode()
            self.expected_header = f"Basic {token}"
        super().__init__()

    @property
    def authorized_requests(self):
        return [r for r in self.requests if r[2] == self.expected_header]


class RefusingProxy:
    """Accepts each connection and resets it at once: every probe through it fails."""

    def __init__(self):
        self._socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._socket.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._socket.bind(("127.0.0.1", 0))
        self._socket.listen(16)
        self._socket.settimeout(0.05)
        self.port = self._socket.getsockname()[1]
        self.connections = 0
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._serve, daemon=True)

    def _serve(self):
        while not self._stop.is_set():
            try:
                connection, _ = self._socket.accept()
            except OSError:
                continue
            self.connections += 1
            connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            connection.close()

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(timeout=5)
        self._socket.close()

    @property
    def address(self):
        return f"127.0.0.1:{self.port}"


class PacServer(_LocalServer):
    """Serves one proxy auto-configuration script at /proxy.pac."""

    class handler(_Handler):
        def do_GET(self):
            self._record()
            self._answer(200, [("Content-Type", "application/x-ns-proxy-autoconfig")],
                         self.server_owner.script.encode())

    def __init__(self, proxy_address):
        self.script = f'function FindProxyForURL(url, host) {{ return "PROXY {proxy_address}"; }}\n'
        super().__init__()

    @property
    def url(self):
        return f"http://127.0.0.1:{self.port}/proxy.pac"
