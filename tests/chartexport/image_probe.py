# Reads a picture with PIL and prints what the tests check as JSON:
#   image_probe.py [--at X,Y;X,Y...] FILE [RAW WIDTH HEIGHT]
# RAW holds the expected RGB bytes, rows top first; their largest and mean
# per-channel difference from the decoded picture are printed.
import json
import sys

from PIL import Image

points = []
if sys.argv[1] == "--at":
    points = [tuple(int(v) for v in p.split(",")) for p in sys.argv[2].split(";") if p]
    del sys.argv[1:3]
img = Image.open(sys.argv[1])
info = {
    "format": img.format,
    "width": img.width,
    "height": img.height,
    "mode": img.mode,
    "progressive": bool(img.info.get("progressive") or img.info.get("progression")),
}
q = getattr(img, "quantization", None)
if q:
    info["qtables"] = {str(k): sorted(set(v)) for k, v in q.items()}
if len(sys.argv) > 2:
    raw = open(sys.argv[2], "rb").read()
    w, h = int(sys.argv[3]), int(sys.argv[4])
    got = img.convert("RGB").tobytes()
    if len(got) != len(raw) or (img.width, img.height) != (w, h):
        info["maxdiff"] = 999
        info["meandiff"] = 999
    else:
        diffs = [abs(a - b) for a, b in zip(got, raw)]
        info["maxdiff"] = max(diffs)
        info["meandiff"] = sum(diffs) / len(diffs)
if points:
    rgb = img.convert("RGB")
    info["at"] = [list(rgb.getpixel(p)) for p in points]
    info["bits"] = img.info.get("bits") or {"1": 1, "P": 8, "RGB": 24, "RGBA": 32}.get(img.mode, 0)
print(json.dumps(info))
