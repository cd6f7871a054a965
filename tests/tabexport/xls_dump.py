#!/usr/bin/python3
# Prints what independent readers see in a workbook, as JSON: xlrd with
# formatting info for sheets, cells, fonts, fills, formats and widths;
# olefile for the streams and the raw BIFF records.
import json
import struct
import sys

import olefile
import xlrd

path = sys.argv[1]
out = {}

ole = olefile.OleFileIO(path)
out["streams"] = ["/".join(s) for s in ole.listdir(streams=True, storages=True)]
data = ole.openstream("Workbook").read()
ole.close()

records = []
pos = 0
dims = []
formulas = []
anchors = []
sst = None
while pos + 4 <= len(data):
    rid, length = struct.unpack_from("<HH", data, pos)
    body = data[pos + 4:pos + 4 + length]
    records.append([rid, length])
    if rid == 0x0200:
        dims.append(list(struct.unpack_from("<IIHH", body)))
    if rid == 0x0006:
        r, c = struct.unpack_from("<HH", body)
        first, last = struct.unpack_from("<HH", body, 23)
        formulas.append([r, c, first, last, struct.unpack_from("<H", body, 33)[0]])
    if rid == 0x00EC:
        at = body.find(b"\x00\x00\x10\xf0")
        if at >= 0:
            anchors.append(list(struct.unpack_from("<9H", body, at + 8)))
    if rid == 0x00FC:
        sst = list(struct.unpack_from("<II", body))
    pos += 4 + length
out["records_end"] = pos == len(data)
out["dimensions"] = dims
out["sst_counts"] = sst
out["formulas"] = formulas
out["anchors"] = anchors
out["continue_lengths"] = [l for r, l in records if r == 0x003C]
out["max_record"] = max(l for r, l in records)
out["record_ids"] = sorted(set(r for r, l in records))

book = xlrd.open_workbook(path, formatting_info=True)
sheets = []
for sh in book.sheets():
    s = {"name": sh.name, "nrows": sh.nrows, "ncols": sh.ncols, "cells": [], "colwidths": {}}
    limit = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    for r in range(min(sh.nrows, limit)):
        for c in range(sh.ncols):
            cell = sh.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            fmt = book.format_map[xf.format_key].format_str
            s["cells"].append({"r": r, "c": c, "t": cell.ctype, "v": cell.value, "xf": cell.xf_index,
                               "bold": font.weight >= 700, "height": font.height, "fontname": font.name,
                               "pattern": xf.background.fill_pattern,
                               "font": xf.font_index, "fmtkey": xf.format_key,
                               "bg": xf.background.pattern_colour_index, "fmt": fmt,
                               "indent": xf.alignment.indent_level})
    if sh.nrows > limit:
        last = sh.row_values(sh.nrows - 1)
        s["last_row"] = last
    s["merged"] = len(sh.merged_cells)
    for c, info in sh.colinfo_map.items():
        s["colwidths"][str(c)] = info.width
    sheets.append(s)
out["sheets"] = sheets
print(json.dumps(out))
