#!/usr/bin/python3
# Writes the benchmark's cells with xlwt and prints the seconds it took.
import sys
import time

import xlwt

rows, cols, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
start = time.perf_counter()
book = xlwt.Workbook(encoding="utf-8")
per_sheet = 60000
sheet = None
for r in range(rows):
    if r % per_sheet == 0:
        sheet = book.add_sheet("Part %d" % (r // per_sheet + 1))
    row = sheet.row(r % per_sheet)
    for c in range(cols):
        if c % 2 == 0:
            row.write(c, "member %d-%d" % (r % 5000, c))
        else:
            row.write(c, (r * 31 + c) % 100000 + 0.25)
book.save(out)
print("%.3f" % (time.perf_counter() - start))
