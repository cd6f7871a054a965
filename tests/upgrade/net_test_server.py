#!/usr/bin/env python3
"""Loopback HTTP server and forward proxy for the network tests.

Prints "PORT <http> <proxy>" on its first line, then serves until killed.
Every answer the HTTP client must cope with has a path of its own.
"""
import base64
import http.server
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse
import urllib.request

LAST_MODIFIED = "Tue, 15 Nov 1994 08:12:31 GMT"
PROXY_REQUESTS = [0]
LAST_COMMENT = [b""]


def hard_close(handler):
    """Ends the connection with a reset, so the peer sees a broken transfer."""
    handler.wfile.flush()
    handler.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    handler.connection.close()
    handler.close_connection = True


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, status, body, content_type="text/plain", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        if self.path == "/echo":
            text = (self.headers.get("Content-Type", "") + "\n").encode() + body
            self.send_body(200, text)
        elif self.path == "/cb/send_comments.php":
            LAST_COMMENT[0] = (self.headers.get("Content-Type", "") + "\n").encode() + body
            self.send_body(200, b"<html><body>Thank you</body></html>", "text/html")
        elif self.path.startswith("/drop/"):
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"partial")
            hard_close(self)
        else:
            self.send_body(404, b"no such form")

    def do_GET(self):
        p = self.path
        if p == "/hello":
            self.send_body(200, b"hello world", extra=[("Last-Modified", LAST_MODIFIED), ("Content-Language", "en")])
        elif p == "/headers":
            text = "".join(f"{k}: {v}\n" for k, v in self.headers.items())
            self.send_body(200, text.encode())
        elif p == "/range" or p == "/range-ignored":
            data = bytes(range(256)) * 4
            rng = self.headers.get("Range")
            if rng and p == "/range":
                start, _, end = rng.split("=")[1].partition("-")
                start = int(start)
                end = int(end) if end else len(data) - 1
                part = data[start:end + 1]
                self.send_body(206, part, "application/octet-stream",
                               [("Content-Range", f"bytes {start}-{end}/{len(data)}")])
            else:
                self.send_body(200, data, "application/octet-stream")
        elif p == "/auth":
            want = "Basic " + base64.b64encode(b"u:p").decode()
            if self.headers.get("Authorization") == want:
                self.send_body(200, b"secret")
            else:
                self.send_body(401, b"login first", extra=[("WWW-Authenticate",
                                                            'Basic realm="Cube \\"Test\\" Realm", charset="UTF-8"')])
        elif p == "/chunked" or p == "/chunked-truncated":
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for piece in (b"abc", b"defgh"):
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            if p == "/chunked":
                self.wfile.write(b"0\r\n\r\n")
            else:
                hard_close(self)
        elif p == "/close" or p == "/close-truncated":
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(b"x" * 5000)
            if p == "/close-truncated":
                hard_close(self)
            else:
                self.close_connection = True
        elif p == "/truncated":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.write(b"y" * 50)
            hard_close(self)
        elif p == "/404":
            self.send_body(404, b"not here")
        elif p == "/302":
            self.send_response(302)
            self.send_header("Location", "/hello")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif p == "/to-file-scheme":
            self.send_response(302)
            self.send_header("Location", "file:///etc/passwd")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif p == "/slow":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            try:
                for _ in range(100):
                    self.wfile.write(b"z")
                    self.wfile.flush()
                    time.sleep(0.1)
            except OSError:
                pass
        elif p == "/huge":
            self.send_response(200)
            self.send_header("Content-Length", str(10 ** 11))
            self.end_headers()
            self.wfile.write(b"h" * 100)
            hard_close(self)
        elif p == "/nolength":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(b"n" * 3000)
            self.close_connection = True
        elif p == "/cb/last_comment":
            self.send_body(200, LAST_COMMENT[0])
        elif p.startswith("/many-urls/"):
            # An information file listing N files: "#url=", then url2 ... urlN.
            n = int(p[len("/many-urls/"):])
            lines = ["#date=1/1/2030", "#url=http://127.0.0.1:1/files/f1"]
            lines += [f"#url{i}=http://127.0.0.1:1/files/f{i}" for i in range(2, n + 1)]
            self.send_body(200, ("\n".join(lines) + "\n").encode())
        elif p.startswith("/info?"):
            self.send_body(200, urllib.parse.unquote(p[6:]).encode())
        elif p.startswith("/raw/"):
            # /raw/<percent-encoded body>/<file name>
            body = urllib.parse.unquote(p[5:].split("/")[0]).encode()
            self.send_body(200, body, "application/octet-stream", [("Last-Modified", LAST_MODIFIED)])
        elif p.startswith("/files/"):
            body = ("content of " + p[7:]).encode()
            self.send_body(200, body, "application/octet-stream", [("Last-Modified", LAST_MODIFIED)])
        else:
            self.send_body(404, b"unknown")


class Proxy(http.server.BaseHTTPRequestHandler):
    """A forward proxy that wants "pu:pp" and counts what it forwards."""
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        want = "Basic " + base64.b64encode(b"pu:pp").decode()
        if self.headers.get("Proxy-Authorization") != want:
            body = b"proxy login"
            self.send_response(407)
            self.send_header("Proxy-Authenticate", 'Basic realm="proxy"')
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        PROXY_REQUESTS[0] += 1
        opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
        with opener.open(self.path) as answer:
            body = answer.read()
        body = body + b" via proxy %d" % PROXY_REQUESTS[0]
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    web = Server(("127.0.0.1", 0), Handler)
    proxy = Server(("127.0.0.1", 0), Proxy)
    for s in (web, proxy):
        threading.Thread(target=s.serve_forever, daemon=True).start()
    print(f"PORT {web.server_address[1]} {proxy.server_address[1]}", flush=True)
    try:
        sys.stdin.read()  # ends when the test program goes
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
