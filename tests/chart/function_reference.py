#!/usr/bin/env python3
"""Reference results of the series functions, computed apart from the chart
code: one case per input line "name|function|period|style|align|single|xs|ys",
one output line "name|xs|ys" per case."""
import statistics
import sys


def value(func, ys):
    if not ys:
        return 0.0
    if func == "add":
        return float(sum(ys))
    if func == "high":
        return float(max(ys))
    if func == "low":
        return float(min(ys))
    if func == "average":
        return sum(ys) / len(ys)
    if func == "median":
        return float(statistics.median(ys))
    if func == "mode":
        return float(min(statistics.multimode(ys)))
    return 0.0  # subtract, multiply, divide over one source


def place(align, start, end):
    return {"first": start, "last": end}.get(align, (start + end) / 2)


def results(func, period, style, align, single, xs, ys):
    out = []
    if not xs:
        return out
    if period == 0:
        v = value(func, ys)
        lo, hi = min(xs), max(xs)
        return [((hi - lo) / 2 + lo, v)] if single else [(lo, v), (hi, v)]
    if style == "points":
        per = max(1, round(period))  # Python rounds halves to even
        for f in range(0, len(xs) - per + 1, per):
            out.append((place(align, xs[f], xs[f + per - 1]), value(func, ys[f:f + per])))
        return out
    t = xs[0]
    f = 0
    while f < len(xs):
        start, t = t, t + period
        inside = [i for i in range(f, len(xs)) if xs[i] < t]
        pos = place(align, start, t - period * 0.001)
        if inside:
            out.append((pos, value(func, [ys[i] for i in inside])))
            f = inside[-1] + 1
        else:
            out.append((pos, 0.0))
    return out


for line in sys.stdin.read().splitlines():
    name, func, period, style, align, single, xs, ys = line.split("|")
    xs = [float(v) for v in xs.split(",") if v]
    ys = [float(v) for v in ys.split(",") if v]
    r = results(func, float(period), style, align, single == "1", xs, ys)
    print(name + "|" + ",".join(repr(p) for p, _ in r) + "|" + ",".join(repr(v) for _, v in r))
