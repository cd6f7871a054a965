#!/usr/bin/python3
"""Makes the GIF fixtures of the gif tests in the folder given: pictures
written by PIL, by gifsicle and by a small LZW writer of our own."""
import random
import struct
import subprocess
import sys

from PIL import Image

out = sys.argv[1]
rnd = random.Random(23)


def palette(n):
    p = []
    for i in range(n):
        p += [(i * 37) % 256, (i * 91 + 17) % 256, (i * 53 + 101) % 256]
    return p


def pil_image(w, h, colours, fn=None):
    im = Image.new('P', (w, h))
    im.putpalette(palette(colours) + [0, 0, 0] * (256 - colours))
    im.putdata([fn(x, y) if fn else rnd.randrange(colours) for y in range(h) for x in range(w)])
    return im


def lzw_codes(pixels, m, clear_every=None):
    """Greedy LZW with an optional early clear after so many codes."""
    clear, end = 1 << m, (1 << m) + 1
    codes, table, nxt, size = [], {}, clear + 2, m + 1
    out = [(clear, size)]
    emitted = 0
    prefix = None
    for p in pixels:
        if prefix is None:
            prefix = (p,)
            continue
        s = prefix + (p,)
        if s in table or len(s) == 1:
            prefix = s
            continue
        code = table[prefix] if len(prefix) > 1 else prefix[0]
        out.append((code, size))
        emitted += 1
        if nxt < 4096:
            table[s] = nxt
            nxt += 1
            if nxt > (1 << size) and size < 12:
                size += 1
        if (clear_every and emitted % clear_every == 0) or nxt >= 4096:
            out.append((clear, size))
            table, nxt, size = {}, clear + 2, m + 1
        prefix = (p,)
    if prefix is not None:
        out.append((table[prefix] if len(prefix) > 1 else prefix[0], size))
    out.append((end, size))
    bits, nbits, data = 0, 0, bytearray()
    for c, s in out:
        bits |= c << nbits
        nbits += s
        while nbits >= 8:
            data.append(bits & 255)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 255)
    blocks = bytearray([m])
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b'\0')


def raw_gif(w, h, table_bits, m, pixels, clear_every=None, transparent=None, pal=None):
    g = b'GIF89a' + struct.pack('<HHBBB', w, h, 0x80 | (table_bits - 1), 0, 0)
    g += bytes(pal or palette(1 << table_bits))
    if transparent is not None:
        g += b'!\xf9\x04\x01\x00\x00' + bytes([transparent]) + b'\x00'
    g += b',' + struct.pack('<HHHHB', 0, 0, w, h, 0)
    g += lzw_codes(pixels, m, clear_every) + b';'
    return g


def save(name, data):
    with open(f'{out}/{name}', 'wb') as f:
        f.write(data)


pil_image(37, 23, 256).save(f'{out}/pil_basic.gif')
pil_image(41, 29, 16).save(f'{out}/pil_interlaced.gif', interlace=True)
pil_image(1, 1, 2).save(f'{out}/one_pixel.gif')
# Transparent index 3; index 5 has the same colour, so it must stay visible.
pal = palette(8)
pal[15:18] = pal[9:12]
px = [3 if (x + y) % 3 == 0 else 5 if x % 4 == 0 else x % 8 for y in range(10) for x in range(20)]
save('transparent.gif', raw_gif(20, 10, 3, 3, px, transparent=3, pal=pal))
# Minimum code sizes below the table's bits; a 256-colour picture with clears.
px = [rnd.randrange(4) for _ in range(33 * 17)]
save('lzw_m2_table8.gif', raw_gif(33, 17, 8, 2, px))
px = [rnd.randrange(8) for _ in range(50 * 40)]
save('lzw_m3_table5.gif', raw_gif(50, 40, 5, 3, px))
px = [rnd.randrange(256) for _ in range(300 * 200)]
save('lzw_256_clears.gif', raw_gif(300, 200, 8, 8, px, clear_every=1000))
# Truncated in the middle of the image data.
with open(f'{out}/lzw_m3_table5.gif', 'rb') as f:
    whole = f.read()
save('truncated.gif', whole[:len(whole) // 2])
# An animation optimised by gifsicle into sub-rectangles with disposal.
frames = []
for i in range(6):
    frames.append(pil_image(48, 32, 16, lambda x, y, i=i: (x // 6 + y // 4 + i * (1 if 10 < x < 30 and 5 < y < 20 else 0)) % 16))
frames[0].save(f'{out}/anim_full.gif', save_all=True, append_images=frames[1:], duration=[30, 80, 0, 120, 60, 40],
               loop=0, disposal=[1, 2, 1, 3, 1, 2], optimize=False)
subprocess.run(['gifsicle', '-O3', f'{out}/anim_full.gif', '-o', f'{out}/anim_o3.gif'], check=True)
subprocess.run(['gifsicle', '--disposal=background', '-O3', f'{out}/anim_full.gif', '-o', f'{out}/anim_bg.gif'], check=True)


def frame(left, top, w, h, pixels, disposal, delay=5, transparent=None):
    packed = (disposal << 2) | (1 if transparent is not None else 0)
    g = b'!\xf9\x04' + bytes([packed]) + struct.pack('<H', delay) + bytes([transparent or 0]) + b'\x00'
    g += b',' + struct.pack('<HHHHB', left, top, w, h, 0)
    return g + lzw_codes(pixels, 4)


# A full-screen frame that restores what lay beneath it, then a small one.
W, H = 24, 16
anim = b'GIF89a' + struct.pack('<HHBBB', W, H, 0x83, 0, 0) + bytes(palette(16))
anim += b'!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'
anim += frame(0, 0, W, H, [(x // 3) % 16 for y in range(H) for x in range(W)], 1)
anim += frame(0, 0, W, H, [7] * (W * H), 3)
anim += frame(5, 4, 6, 5, [9 if (x + y) % 2 else 2 for y in range(5) for x in range(6)], 2, transparent=2)
anim += frame(8, 8, 10, 6, [11] * 60, 1)
save('anim_restore.gif', anim + b';')
