#!/usr/bin/env python3
"""Draws the toolbar images and the program icon as PNG files beside this script.

Plain Python only (zlib, struct), so the images can be redrawn on any machine:
    python3 res/images/make_images.py
Every shape is sampled 4 x 4 times per pixel, which keeps the small images smooth.
"""
import math
import os
import struct
import zlib

SAMPLES = 4
HERE = os.path.dirname(os.path.abspath(__file__))


class Image:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def paint(self, shape, color, alpha=1.0):
        inside, (bx0, by0, bx1, by1) = shape
        x0, y0 = max(0, int(math.floor(bx0))), max(0, int(math.floor(by0)))
        x1, y1 = min(self.width, int(math.ceil(bx1)) + 1), min(self.height, int(math.ceil(by1)) + 1)
        r, g, b = (c / 255.0 for c in color)
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for j in range(SAMPLES):
                    for i in range(SAMPLES):
                        if inside(x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES):
                            hits += 1
                if not hits:
                    continue
                a = alpha * hits / (SAMPLES * SAMPLES)
                p = self.px[y * self.width + x]
                out_a = a + p[3] * (1 - a)
                for k, c in enumerate((r, g, b)):
                    p[k] = (c * a + p[k] * p[3] * (1 - a)) / out_a
                p[3] = out_a

    def save(self, name):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for x in range(self.width):
                raw.extend(int(round(v * 255)) for v in self.px[y * self.width + x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(png)


# Shapes: (inside(x, y), bounding box).
def rect(x0, y0, x1, y1):
    return (lambda x, y: x0 <= x <= x1 and y0 <= y <= y1), (x0, y0, x1, y1)


def circle(cx, cy, r):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r_in, r_out):
    return (lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out), \
        (cx - r_out, cy - r_out, cx + r_out, cy + r_out)


def ellipse_ring(cx, cy, rx, ry, width):
    def inside(x, y):
        d = math.hypot((x - cx) / rx, (y - cy) / ry)
        return abs(d - 1.0) * min(rx, ry) <= width / 2
    return inside, (cx - rx - width, cy - ry - width, cx + rx + width, cy + ry + width)


def line(xa, ya, xb, yb, width):
    dx, dy = xb - xa, yb - ya
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
        return math.hypot(x - (xa + t * dx), y - (ya + t * dy)) <= width / 2
    w = width / 2
    return inside, (min(xa, xb) - w, min(ya, yb) - w, max(xa, xb) + w, max(ya, yb) + w)


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for k in range(n):
            (xa, ya), (xb, yb) = points[k], points[(k + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def arc(cx, cy, r, width, start_deg, end_deg):
    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > width / 2:
            return False
        ang = math.degrees(math.atan2(-(y - cy), x - cx)) % 360
        s, e = start_deg % 360, end_deg % 360
        return s <= ang <= e if s <= e else (ang >= s or ang <= e)
    return inside, (cx - r - width, cy - r - width, cx + r + width, cy + r + width)


# A 5 x 7 font for the few letters the images carry.
GLYPHS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "?": ["01110", "10001", "00001", "00110", "00100", "00000", "00100"],
    "+": ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
}


def text(img, s, x, y, cell, color):
    for ch in s:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    img.paint(rect(x + col * cell, y + row * cell, x + (col + 1) * cell, y + (row + 1) * cell), color)
        x += 6 * cell


W, H = 36, 28  # toolbar image size; with the button margins the buttons come to 44 x 35
INK = (30, 40, 70)
BLUE = (40, 90, 190)
PAPER = (255, 255, 250)
GREEN = (40, 140, 70)
RED = (200, 30, 30)
AMBER = (230, 170, 40)


def page(img, x0, y0, x1, y1):
    img.paint(rect(x0, y0, x1, y1), INK)
    img.paint(rect(x0 + 1.2, y0 + 1.2, x1 - 1.2, y1 - 1.2), PAPER)


def name_view():
    img = Image(W, H)
    page(img, 4, 2, 26, 26)
    text(img, "AZ", 7, 5, 1.25, BLUE)
    for k in range(3):
        img.paint(rect(7, 16 + k * 3.2, 23, 17.4 + k * 3.2), INK)
    img.paint(polygon([(28, 6), (33, 6), (30.5, 2)]), GREEN)
    img.paint(rect(29.8, 5, 31.2, 24), GREEN)
    img.paint(polygon([(28, 21), (33, 21), (30.5, 25.5)]), GREEN)
    img.save("nameview.png")


def site_view():
    img = Image(W, H)
    cx, cy, r = 18, 14, 12
    img.paint(circle(cx, cy, r), (120, 175, 235))
    img.paint(ring(cx, cy, r - 1.6, r), BLUE)
    img.paint(ellipse_ring(cx, cy, 5.5, r - 0.8, 1.4), BLUE)
    img.paint(line(cx, cy - r, cx, cy + r, 1.4), BLUE)
    img.paint(line(cx - r, cy, cx + r, cy, 1.4), BLUE)
    img.paint(line(cx - r + 2.2, cy - 6, cx + r - 2.2, cy - 6, 1.2), BLUE)
    img.paint(line(cx - r + 2.2, cy + 6, cx + r - 2.2, cy + 6, 1.2), BLUE)
    img.save("siteview.png")


def keyword_view():
    img = Image(W, H)
    img.paint(ring(10, 14, 3.2, 7.5), AMBER)
    img.paint(ring(10, 14, 2.4, 3.4), (150, 100, 10))
    img.paint(rect(16.5, 12.2, 32, 15.8), AMBER)
    img.paint(rect(24, 15.5, 26.5, 20.5), AMBER)
    img.paint(rect(28.5, 15.5, 31.5, 22), AMBER)
    img.paint(ring(10, 14, 7.2, 8.4), (150, 100, 10))
    img.save("keywordview.png")


def time_view():
    img = Image(W, H)
    cx, cy = 18, 14
    img.paint(circle(cx, cy, 12.5), INK)
    img.paint(circle(cx, cy, 10.8), PAPER)
    for k in range(12):
        a = math.radians(k * 30)
        inner = 8.2 if k % 3 else 7.0
        img.paint(line(cx + inner * math.sin(a), cy - inner * math.cos(a),
                       cx + 9.8 * math.sin(a), cy - 9.8 * math.cos(a), 1.3), INK)
    img.paint(line(cx, cy, cx, cy - 7.5, 2.0), INK)
    img.paint(line(cx, cy, cx + 5.5, cy + 2.5, 2.0), INK)
    img.paint(circle(cx, cy, 1.6), RED)
    img.save("timeview.png")


def new_query():
    img = Image(W, H)
    img.paint(polygon([(6, 2), (20, 2), (27, 9), (27, 26), (6, 26)]), INK)
    img.paint(polygon([(7.3, 3.3), (19.4, 3.3), (25.7, 9.6), (25.7, 24.7), (7.3, 24.7)]), PAPER)
    img.paint(polygon([(19.4, 3.3), (19.4, 9.6), (25.7, 9.6)]), (200, 200, 190))
    for k in range(3):
        img.paint(rect(10, 12 + k * 3.5, 22, 13.4 + k * 3.5), (150, 150, 160))
    img.paint(circle(27, 21, 6.5), GREEN)
    text(img, "+", 23.5, 16.5, 1.4, (255, 255, 255))
    img.save("newquery.png")


def open_query():
    img = Image(W, H)
    img.paint(polygon([(3, 6), (12, 6), (14, 9), (29, 9), (29, 24), (3, 24)]), (180, 130, 30))
    img.paint(polygon([(8, 12), (34, 12), (29, 24), (3, 24)]), (245, 200, 80))
    img.paint(line(8, 12, 34, 12, 1.0), (150, 100, 10))
    img.paint(line(34, 12, 29, 24, 1.0), (150, 100, 10))
    img.paint(line(3, 24, 29, 24, 1.0), (150, 100, 10))
    img.save("openquery.png")


def update_query():
    img = Image(W, H)
    cx, cy, r = 18, 14, 9
    img.paint(arc(cx, cy, r, 3.2, 20, 160), GREEN)
    img.paint(arc(cx, cy, r, 3.2, 200, 340), GREEN)
    # Arrow heads at the ends running clockwise.
    for deg in (20, 200):
        a = math.radians(deg)
        ex, ey = cx + r * math.cos(a), cy - r * math.sin(a)
        tx, ty = math.sin(a), math.cos(a)  # clockwise tangent on screen
        nx, ny = math.cos(a), -math.sin(a)
        img.paint(polygon([(ex + nx * 4.5, ey + ny * 4.5), (ex - nx * 4.5, ey - ny * 4.5),
                           (ex + tx * 5.5, ey + ty * 5.5)]), GREEN)
    img.save("updatequery.png")


def stop():
    img = Image(W, H)
    cx, cy, r = 18, 14, 12.5
    pts = [(cx + r * math.cos(math.radians(22.5 + 45 * k)), cy + r * math.sin(math.radians(22.5 + 45 * k)))
           for k in range(8)]
    img.paint(polygon(pts), (120, 10, 10))
    r2 = r - 1.5
    pts = [(cx + r2 * math.cos(math.radians(22.5 + 45 * k)), cy + r2 * math.sin(math.radians(22.5 + 45 * k)))
           for k in range(8)]
    img.paint(polygon(pts), RED)
    img.paint(rect(10, 12, 26, 16), (255, 255, 255))
    img.save("stop.png")


def help_image():
    img = Image(W, H)
    img.paint(circle(18, 14, 12.5), BLUE)
    text(img, "?", 12.5, 5.5, 2.2, (255, 255, 255))
    img.save("help.png")


def program_icon(size=64, name="trawlex.png"):
    """The program's icon, drawn on a 64-unit grid at any size (the desktop wants several)."""
    u = size / 64.0
    img = Image(size, size)
    img.paint(circle(26 * u, 26 * u, 21 * u), (255, 255, 255), 0.9)
    # The net being hauled in, seen through the glass; thin lines keep at least half a pixel.
    net = max(1.6 * u, 0.5)
    for k in range(-3, 4):
        img.paint(line(10 * u, (26 + k * 6) * u, 42 * u, (26 + k * 6) * u, net), (90, 130, 180))
        img.paint(line((26 + k * 6) * u, 10 * u, (26 + k * 6) * u, 42 * u, net), (90, 130, 180))
    img.paint(ring(26 * u, 26 * u, 19 * u, 24 * u), (30, 50, 110))
    img.paint(ring(26 * u, 26 * u, 21 * u, 22 * u), (120, 150, 220))
    img.paint(line(43 * u, 43 * u, 59 * u, 59 * u, 8 * u), (30, 50, 110))
    img.paint(line(44 * u, 44 * u, 58 * u, 58 * u, 4 * u), (150, 110, 60))
    img.save(name)


# The sizes of the icon theme's folders the program installs into (share/icons/hicolor/NxN).
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def desktop_icons():
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for size in ICON_SIZES:
        program_icon(size, os.path.join("icons", "trawlex-%d.png" % size))


if __name__ == "__main__":
    for draw in (name_view, site_view, keyword_view, time_view, new_query, open_query,
                 update_query, stop, help_image, program_icon, desktop_icons):
        draw()
