#!/usr/bin/env python3
"""A loopback XMLA server that misbehaves on purpose, one way per path.

Prints "PORT <n>" once it listens on 127.0.0.1; stops when its standard
input closes or on SIGTERM. Every answer ignores the request's body.
"""
import base64
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ENVELOPE = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/">'
            '<SOAP-ENV:Body>{}</SOAP-ENV:Body></SOAP-ENV:Envelope>')


def rowset(rows):
    body = "".join("<row>" + "".join(f"<{k}>{v}</{k}>" for k, v in r.items()) + "</row>" for r in rows)
    return ENVELOPE.format('<DiscoverResponse xmlns="urn:schemas-microsoft-com:xml-analysis"><return>'
                           '<root xmlns="urn:schemas-microsoft-com:xml-analysis:rowset">' + body +
                           '</root></return></DiscoverResponse>')


def dataset(axes, cells):
    """axes: list of lists of tuples of unique names; cells: (ordinal, value)."""
    xml = "<Axes>"
    for i, tuples in enumerate(axes):
        xml += f'<Axis name="Axis{i}"><Tuples>'
        for t in tuples:
            xml += "<Tuple>" + "".join(
                f'<Member Hierarchy="H"><UName>{u}</UName><Caption>{u}</Caption><LName>[H].[L]</LName>'
                f'<LNum>1</LNum><DisplayInfo>0</DisplayInfo></Member>' for u in t) + "</Tuple>"
        xml += "</Tuples></Axis>"
    xml += "</Axes><CellData>"
    for ordinal, value in cells:
        xml += f'<Cell CellOrdinal="{ordinal}"><Value>{value}</Value><FmtValue>{value}</FmtValue></Cell>'
    xml += "</CellData>"
    return ENVELOPE.format('<ExecuteResponse xmlns="urn:schemas-microsoft-com:xml-analysis"><return>'
                           '<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset">' + xml +
                           '</root></return></ExecuteResponse>')


CATALOGS = rowset([{"CATALOG_NAME": "Shop"}])
FAULT = ENVELOPE.format('<SOAP-ENV:Fault><faultcode>SOAP-ENV:Client</faultcode>'
                        '<faultstring>The cube is being processed</faultstring>'
                        '<detail><error><code>42</code><desc>try again later</desc></error></detail>'
                        '</SOAP-ENV:Fault>')
MESSAGES = ENVELOPE.format('<ExecuteResponse xmlns="urn:schemas-microsoft-com:xml-analysis"><return>'
                           '<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset"><Exception/>'
                           '<Messages><Error ErrorCode="1" Description="Query timed out on the server"/>'
                           '</Messages></root></return></ExecuteResponse>')
DEEP = ENVELOPE.format("<a>" * 100000 + "</a>" * 100000)
ENTITIES = ('<?xml version="1.0"?>\n<!DOCTYPE lolz [<!ENTITY lol "lol">'
            '<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">'
            '<!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">]>'
            '<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/">'
            '<SOAP-ENV:Body>&lol3;</SOAP-ENV:Body></SOAP-ENV:Envelope>')
SPAN = dataset([[("[A].[x%d]" % i,) for i in range(3000)], [("[B].[y%d]" % i,) for i in range(3000)]], [])
ORDINAL = dataset([[("[A].[x]",)]], [(99999999999, 1)])
HTML = "<!DOCTYPE html><html><body><h1>Welcome</h1></body></html>"
USER, PASSWORD = "analyst", "s3cret"


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send(self, status, body, content_type="text/xml; charset=utf-8", length=None):
        data = body.encode("utf-8") if isinstance(body, str) else body
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data) if length is None else length))
        self.end_headers()
        self.wfile.write(data)

    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", "0")))
        path = self.path.split("?")[0]
        if path == "/ok":
            self.send(200, CATALOGS)
        elif path == "/html":
            self.send(200, HTML, "text/html")
        elif path == "/notfound":
            self.send(404, "no such page", "text/plain")
        elif path == "/fault":
            self.send(200, FAULT)
        elif path == "/fault500":
            self.send(500, FAULT)
        elif path == "/messages":
            self.send(200, MESSAGES)
        elif path == "/slow":
            time.sleep(20)
            self.send(200, CATALOGS)
        elif path == "/trickle":
            # Headers at once, then the body a byte at a time, slowly.
            data = CATALOGS.encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/xml")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            for b in data:
                self.wfile.write(bytes([b]))
                self.wfile.flush()
                time.sleep(0.2)
        elif path == "/cutoff":
            # Promises more than it sends, then hangs up.
            self.send(200, CATALOGS[: len(CATALOGS) // 2], length=len(CATALOGS))
            self.close_connection = True
        elif path == "/truncated":
            self.send(200, CATALOGS[: len(CATALOGS) // 2])
        elif path == "/deep":
            self.send(200, DEEP)
        elif path == "/entities":
            self.send(200, ENTITIES)
        elif path == "/span":
            self.send(200, SPAN)
        elif path == "/ordinal":
            self.send(200, ORDINAL)
        elif path == "/big":
            self.send(200, CATALOGS.replace("Shop", "x" * (3 << 20)))
        elif path == "/hugefault":
            # A fault string of 1.4 MB (within a Discover cap of 2 MB).
            self.send(200, FAULT.replace("The cube is being processed", "<b>x</b>" * 180000))
        elif path == "/gzipbomb":
            # 64 MB of blanks inside the envelope, gzipped to a few dozen KB,
            # sent compressed whether asked for or not.
            import gzip
            data = gzip.compress(CATALOGS.replace("<root", " " * (64 << 20) + "<root").encode(), 9)
            self.send_response(200)
            self.send_header("Content-Type", "text/xml; charset=utf-8")
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
        elif path == "/bigdiscover":
            # 3 MB of rows: past a Discover cap of 2 MB, within an Execute cap of 4 MB.
            self.send(200, rowset([{"CATALOG_NAME": "c%07d" % i} for i in range(60000)]))
        elif path == "/empty":
            self.send(200, "")
        elif path == "/login":
            expected = "Basic " + base64.b64encode(f"{USER}:{PASSWORD}".encode()).decode()
            if self.headers.get("Authorization") == expected:
                self.send(200, CATALOGS)
            else:
                self.send_response(401)
                self.send_header("WWW-Authenticate", 'Basic realm="Shop analysis"')
                self.send_header("Content-Length", "0")
                self.end_headers()
        else:
            self.send(404, "unknown path", "text/plain")


class Server(ThreadingHTTPServer):
    daemon_threads = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("PORT", server.server_address[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
