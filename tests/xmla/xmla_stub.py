#!/usr/bin/env python3
"""A loopback XMLA server that misbehaves on purpose, one way per path.

Prints "PORT <n>" once it listens on 127.0.0.1; stops when its standard
input closes or on SIGTERM. Every answer ignores the request's body, except
those of the small cube under "/copy/".
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
DRIP = rowset([{"CATALOG_NAME": "Sh\u00f6p %d &amp; <![CDATA[<co>]]>" % i} for i in range(40)])


def huge_parts(kind):
    """Head and tail of a one-cell answer around a filler of the given kind."""
    cell = ORDINAL.replace("99999999999", "0")
    at = cell.index("<Value>1</Value>")
    if kind == "blanks":
        return cell[:at], cell[at:]
    if kind == "text":
        return cell[:at] + "<Value>", cell[at + 8:]
    if kind == "cdata":
        return cell[:at] + "<Value><![CDATA[", "]]>" + cell[at + 8:]
    if kind == "comment":
        return cell[:at] + "<!--", "-->" + cell[at:]
    if kind == "fault":
        f = FAULT.index("The cube is being processed")
        return FAULT[:f], FAULT[f:]
    if kind == "tag":
        return cell[:at] + '<Value note="', '">1</Value>' + cell[at + 16:]
    raise KeyError(kind)


HUGE = {k: huge_parts(k) for k in ("blanks", "text", "cdata", "comment", "fault", "tag")}
HTML = "<!DOCTYPE html><html><body><h1>Welcome</h1></body></html>"
USER, PASSWORD = "analyst", "s3cret"


# A small cube for copies, one variant per path "/copy/<case>": its
# Discover rowsets and Execute answers follow the request (one measure,
# Revenue; one dimension, Product: Category > Item). Each case gives the
# items and the inner XML of each item's Revenue cell.
def value(xsd_type, text):
    return f'<Value xsi:type="xsd:{xsd_type}">{text}</Value>'


COPY_CASES = {
    # numbers of every kind a server may type them as
    "numbers": [("Drinks", "Tea", value("string", "12.5")), ("Drinks", "Coffee", value("decimal", " +7.25 ")),
                ("Food", "Bread", value("unsignedLong", "40")), ("Food", "Rice", value("float", "-1.5E2")),
                ("Food", "Salt", "<Value/>")],
    "renamed": [("Drinks", "Cof.fee", value("double", "1")), ("Drinks", "Cof_fee", value("double", "2"))],
    "renamed-case": [("Drinks", "Cof.fee", value("double", "1")), ("Drinks", "COF_FEE", value("double", "2"))],
    "nan": [("Drinks", "Tea", value("double", "1")), ("Food", "Bread", value("double", "NaN"))],
    "inf": [("Drinks", "Tea", value("double", "-INF"))],
    "error": [("Drinks", "Tea", '<Value><Error><ErrorCode>3238658057</ErrorCode>'
               '<Description>Division by zero</Description></Error></Value>')],
    "text": [("Drinks", "Tea", value("string", "n/a"))],
    "big": [("Drinks", "Tea", value("double", "2E15"))],
}


def copy_answer(case, request):
    items = COPY_CASES[case]
    categories = list(dict.fromkeys(c for c, _, _ in items))

    def tag(name):
        start = request.find(f"<{name}>")
        return "" if start < 0 else request[start + len(name) + 2: request.find(f"</{name}>", start)]

    def member(unique, name, level, number, parent, children):
        return {"CATALOG_NAME": "Shop", "CUBE_NAME": "Sales", "HIERARCHY_UNIQUE_NAME": "[Product]",
                "LEVEL_UNIQUE_NAME": level, "LEVEL_NUMBER": number, "MEMBER_NAME": name,
                "MEMBER_UNIQUE_NAME": unique, "MEMBER_CAPTION": name, "PARENT_UNIQUE_NAME": parent,
                "CHILDREN_CARDINALITY": children, "MEMBER_TYPE": 1}

    def item_name(category, item):
        return f"[Product].[{category}].[{item}]"

    if "<Statement>" in request:
        measure = [("[Measures].[Revenue]",)]
        if "ON ROWS" not in tag("Statement"):
            return dataset([measure], [(0, "1")])
        rows = [(item_name(c, i),) for c, i, _ in items]
        xml = dataset([measure, rows], [])
        cells = "".join(f'<Cell CellOrdinal="{n}">{v}</Cell>' for n, (_, _, v) in enumerate(items))
        return xml.replace("<CellData></CellData>", "<CellData>" + cells + "</CellData>").replace(
            '<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset">',
            '<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset" '
            'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:xsd="http://www.w3.org/2001/XMLSchema">')
    kind = tag("RequestType")
    if kind == "DBSCHEMA_CATALOGS":
        return CATALOGS
    if kind == "MDSCHEMA_CUBES":
        return rowset([{"CATALOG_NAME": "Shop", "CUBE_NAME": "Sales", "CUBE_TYPE": "CUBE"}])
    if kind == "MDSCHEMA_DIMENSIONS":
        return rowset([{"DIMENSION_UNIQUE_NAME": "[Measures]", "DIMENSION_ORDINAL": 0, "DIMENSION_TYPE": 2,
                        "DEFAULT_HIERARCHY": "[Measures]"},
                       {"DIMENSION_UNIQUE_NAME": "[Product]", "DIMENSION_ORDINAL": 1, "DIMENSION_TYPE": 3}])
    if kind == "MDSCHEMA_HIERARCHIES":
        return rowset([{"DIMENSION_UNIQUE_NAME": "[Measures]", "HIERARCHY_UNIQUE_NAME": "[Measures]",
                        "HIERARCHY_NAME": "Measures", "HIERARCHY_ORDINAL": 0},
                       {"DIMENSION_UNIQUE_NAME": "[Product]", "HIERARCHY_UNIQUE_NAME": "[Product]",
                        "HIERARCHY_NAME": "Product", "HIERARCHY_ORDINAL": 1,
                        "ALL_MEMBER": "[Product].[All Products]"}])
    if kind == "MDSCHEMA_LEVELS":
        level = lambda h, u, n, d, card, t: {"HIERARCHY_UNIQUE_NAME": h, "LEVEL_UNIQUE_NAME": u, "LEVEL_NAME": n,
                                             "LEVEL_CAPTION": n, "LEVEL_NUMBER": d, "LEVEL_CARDINALITY": card,
                                             "LEVEL_TYPE": t}
        return rowset([level("[Measures]", "[Measures].[MeasuresLevel]", "MeasuresLevel", 0, 1, 0),
                       level("[Product]", "[Product].[(All)]", "(All)", 0, 1, 1),
                       level("[Product]", "[Product].[Category]", "Category", 1, len(categories), 0),
                       level("[Product]", "[Product].[Item]", "Item", 2, len(items), 0)])
    if kind == "MDSCHEMA_MEASURES":
        return rowset([{"MEASURE_UNIQUE_NAME": "[Measures].[Revenue]", "MEASURE_AGGREGATOR": 1}])
    if kind == "MDSCHEMA_MEMBERS":
        level = tag("LEVEL_UNIQUE_NAME")
        if tag("HIERARCHY_UNIQUE_NAME") == "[Measures]":
            return rowset([{"MEMBER_NAME": "Revenue", "MEMBER_UNIQUE_NAME": "[Measures].[Revenue]",
                            "MEMBER_CAPTION": "Revenue", "LEVEL_UNIQUE_NAME": "[Measures].[MeasuresLevel]",
                            "LEVEL_NUMBER": 0, "MEMBER_TYPE": 3}])
        if level == "[Product].[(All)]":
            return rowset([member("[Product].[All Products]", "All Products", level, 0, "", len(categories))])
        if level == "[Product].[Category]":
            return rowset([member(f"[Product].[{c}]", c, level, 1, "[Product].[All Products]",
                                  sum(1 for k, _, _ in items if k == c)) for c in categories])
        if level == "[Product].[Item]":
            return rowset([member(item_name(c, i), i, level, 2, f"[Product].[{c}]", 0) for c, i, _ in items])
        return rowset([])
    return rowset([])


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
        request = self.rfile.read(int(self.headers.get("Content-Length", "0"))).decode("utf-8", "replace")
        path = self.path.split("?")[0]
        if path.startswith("/copy/") and path[6:] in COPY_CASES:
            self.send(200, copy_answer(path[6:], request))
        elif path == "/ok":
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
        elif path in ("/drip", "/dripfault"):
            # A whole answer in pieces of a few bytes, each flushed on its own.
            data = (FAULT if path == "/dripfault" else DRIP).encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/xml; charset=utf-8")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            for i in range(0, len(data), 7):
                self.wfile.write(data[i:i + 7])
                self.wfile.flush()
                time.sleep(0.001)
        elif path == "/huge":
            # An answer of ?<kind>&<megabytes>, far larger than what it holds,
            # sent in pieces of 1 MB as it is made.
            kind, mb = self.path.split("?")[1].split("&")
            head, tail = HUGE[kind]
            filler = {"blanks": b" ", "text": "y\u00e9&amp;z".encode(), "cdata": b"y]", "comment": b"- ",
                      "fault": b"x", "tag": b"v"}[kind]
            piece = filler * ((1 << 20) // len(filler))
            head, tail = head.encode(), tail.encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/xml; charset=utf-8")
            self.send_header("Content-Length", str(len(head) + int(mb) * len(piece) + len(tail)))
            self.end_headers()
            self.wfile.write(head)
            for _ in range(int(mb)):
                self.wfile.write(piece)
            self.wfile.write(tail)
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
