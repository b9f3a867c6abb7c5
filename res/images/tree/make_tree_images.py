#!/usr/bin/env python3
"""Draws the query tree's image strip, tree.png: five 16 x 15 images side by side on magenta
(255, 0, 255), which the program treats as transparent. Plain Python only:
    python3 res/images/tree/make_tree_images.py
Index 0 keyword (a key), 1 month or day (a clock), 2 site (a globe), 3 query (a closed
folder), 4 selected query (an open folder).
"""
import math
import os
import struct
import zlib

W, H, N = 16, 15, 5
MAGENTA = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))

px = [[MAGENTA for _ in range(W * N)] for _ in range(H)]


def put(img, x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][img * W + x] = c


def fill(img, inside, c):
    for y in range(H):
        for x in range(W):
            if inside(x + 0.5, y + 0.5):
                put(img, x, y, c)


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 <= math.hypot(x - cx, y - cy) <= r1


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


DARK = (40, 40, 40)
GOLD = (214, 160, 30)
GOLD_D = (140, 95, 10)
BLUE = (40, 110, 200)
GREEN = (60, 160, 70)
WHITE = (255, 255, 255)
YEL = (245, 205, 80)
YEL_D = (170, 125, 20)
YEL_L = (255, 232, 150)

# 0: a key.
fill(0, ring(4.5, 7.5, 2.0, 3.6), GOLD_D)
fill(0, ring(4.5, 7.5, 2.2, 3.0), GOLD)
fill(0, rect(7.5, 6.6, 14.5, 8.4), GOLD_D)
fill(0, rect(11.0, 8.4, 12.2, 11.0), GOLD_D)
fill(0, rect(13.4, 8.4, 14.5, 10.0), GOLD_D)

# 1: a clock.
fill(1, disc(7.5, 7.5, 6.8), DARK)
fill(1, disc(7.5, 7.5, 5.6), WHITE)
fill(1, rect(7.0, 3.0, 8.0, 8.0), DARK)
fill(1, rect(7.0, 7.0, 11.0, 8.0), DARK)

# 2: a globe.
fill(2, disc(7.5, 7.5, 6.8), BLUE)
fill(2, lambda x, y: math.hypot(x - 5.5, y - 5.5) <= 2.6 or math.hypot(x - 10, y - 10) <= 2.2, GREEN)
fill(2, lambda x, y: abs(math.hypot(x - 7.5, y - 7.5) - 6.8) < 0.6, DARK)
fill(2, lambda x, y: abs(x - 7.5) < 0.5 and math.hypot(x - 7.5, y - 7.5) < 6.8, (20, 60, 130))
fill(2, lambda x, y: abs(y - 7.5) < 0.5 and math.hypot(x - 7.5, y - 7.5) < 6.8, (20, 60, 130))

# 3: a closed folder.
fill(3, rect(1.0, 3.0, 6.5, 5.0), YEL_D)
fill(3, rect(1.0, 4.0, 14.5, 13.0), YEL_D)
fill(3, rect(2.0, 5.0, 13.5, 12.0), YEL)

# 4: an open folder.
fill(4, rect(1.0, 3.0, 6.5, 5.0), YEL_D)
fill(4, rect(1.0, 4.0, 12.5, 13.0), YEL_D)
fill(4, rect(2.0, 5.0, 11.5, 12.0), YEL_L)
fill(4, lambda x, y: 7.0 <= y <= 13.0 and 1.0 + (13.0 - y) * 0.5 <= x <= 15.0 - (13.0 - y) * 0.5 + 0.0 and x >= 3.0 + (13.0 - y) * 0.3, YEL_D)
fill(4, lambda x, y: 8.0 <= y <= 12.0 and 3.0 + (13.0 - y) * 0.5 <= x <= 14.0 - (13.0 - y) * 0.5, YEL)


def png(path, rows):
    raw = b"".join(b"\x00" + bytes(v for c in row for v in c) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


png(os.path.join(HERE, "tree.png"), px)
