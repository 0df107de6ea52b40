#!/usr/bin/env python3
"""Draws the icons, the placeholder bitmap and the hand cursor of the resource
library as PNG files beside this script.

Run once after changing a drawing; the PNGs are kept in the repository, so the
build needs neither Python nor an image tool. Only the standard library is used.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUPERSAMPLE = 4  # 4 x 4 samples per pixel give smooth edges at 16 pixels


def write_png(path, width, height, rows):
    """rows: list of lists of (r, g, b, a) tuples, 8 bits each."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type "none"
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(os.path.join(HERE, path), "wb") as out:
        out.write(png)


class Canvas:
    """An RGBA canvas (colour 0-255, alpha 0-1) addressed in design units:
    a 32-unit design renders at 16, 32 or any other size."""

    def __init__(self, width, height, design_width=32.0, background=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.scale = width / design_width
        self.pixels = [[list(background) for _ in range(width)] for _ in range(height)]

    def fill(self, inside, colour, alpha=1.0):
        """Composites `colour` wherever inside(x, y) holds, x and y in design units."""
        n = SUPERSAMPLE
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        x = (px + (sx + 0.5) / n) / self.scale
                        y = (py + (sy + 0.5) / n) / self.scale
                        if inside(x, y):
                            hits += 1
                if hits:
                    self._blend(px, py, colour, alpha * hits / (n * n))

    def _blend(self, px, py, colour, a):
        dst = self.pixels[py][px]
        out_a = a + dst[3] * (1 - a)
        for i in range(3):
            dst[i] = (colour[i] * a + dst[i] * dst[3] * (1 - a)) / out_a if out_a else 0
        dst[3] = out_a

    def save(self, path):
        rows = [[(round(p[0]), round(p[1]), round(p[2]), round(p[3] * 255)) for p in row] for row in self.pixels]
        write_png(path, self.width, self.height, rows)


# Shapes: each returns an inside(x, y) test in design units.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def arc(cx, cy, radius, width, from_deg, to_deg):
    """A ring segment; angles in degrees, 0 pointing right, counted clockwise."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) > width / 2:
            return False
        angle = math.degrees(math.atan2(y - cy, x - cx))
        return from_deg <= angle <= to_deg
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def either(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# The drawings.

NAVY = (24, 52, 120)
BLUE = (52, 101, 196)
LIGHT_BLUE = (120, 164, 232)
WHITE = (255, 255, 255)
PAPER = (246, 244, 236)
SKIN = (246, 204, 160)
SKIN_EDGE = (170, 110, 70)
SHIRT = (46, 128, 84)
SHIRT_EDGE = (24, 80, 48)
GOLD = (255, 204, 40)
GOLD_EDGE = (176, 112, 0)
DARK = (60, 60, 66)
GREY = (128, 128, 136)


def person(canvas, cx, top, size, body, body_edge, head=SKIN, head_edge=SKIN_EDGE):
    """Head and shoulders, `size` design units high, head top at `top`."""
    k = size / 20.0
    head_r = 4.6 * k
    head_cy = top + head_r + 0.6 * k
    shoulders = both(ellipse(cx, top + 20 * k, 9.0 * k, 9.5 * k), rect(-100, 0, 100, top + size))
    shoulders_edge = both(ellipse(cx, top + 20 * k, 10.0 * k, 10.5 * k), rect(-100, 0, 100, top + size))
    canvas.fill(shoulders_edge, body_edge)
    canvas.fill(shoulders, body)
    canvas.fill(ellipse(cx, head_cy, head_r + 1.0 * k, head_r + 1.0 * k), head_edge)
    canvas.fill(ellipse(cx, head_cy, head_r, head_r), head)


def draw_app_icon(size):
    """Icon 130: a blue address book with a ring-bound spine and a contact on its cover."""
    c = Canvas(size, size)
    c.fill(rounded_rect(5, 2, 29, 30, 2.5), NAVY)          # cover edge
    c.fill(rect(25, 4, 28.5, 28), PAPER)                    # page block seen at the side
    c.fill(rounded_rect(6, 3, 26, 29, 2), BLUE)             # cover
    c.fill(rect(6, 3, 10, 29), NAVY)                        # spine
    for y in (7, 13, 19, 25):                               # binder rings
        c.fill(rounded_rect(3, y - 1.2, 11, y + 1.2, 1.2), (210, 214, 222))
    c.fill(rounded_rect(12, 7, 24, 25, 1.5), PAPER)         # label on the cover
    person(c, 18, 9, 15, SHIRT, SHIRT_EDGE)
    return c


def draw_contact_icon(size):
    """Icon 401: one contact, head and shoulders on a small card."""
    c = Canvas(size, size)
    c.fill(rounded_rect(2, 4, 30, 29, 3), GREY)
    c.fill(rounded_rect(3, 5, 29, 28, 2.5), WHITE)
    c.fill(rect(3, 5, 29, 9), LIGHT_BLUE)
    person(c, 16, 9, 19, BLUE, NAVY)
    return c


def star(cx, cy, outer, inner):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = math.radians(-90 + i * 36)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(points)


def draw_preferred_mark(size):
    """Icon 515: a gold star, the preferred e-mail address."""
    c = Canvas(size, size)
    c.fill(star(16, 17, 16, 7.2), GOLD_EDGE)
    c.fill(star(16, 17, 12.5, 5.4), GOLD)
    return c


def draw_sound_icon(size):
    """Icon 539: a loudspeaker sending out sound waves."""
    c = Canvas(size, size)
    body = polygon([(3, 12), (9, 12), (17, 5), (17, 27), (9, 20), (3, 20)])
    body_edge = polygon([(1.8, 10.8), (8.6, 10.8), (18.2, 2.6), (18.2, 29.4), (8.6, 21.2), (1.8, 21.2)])
    c.fill(body_edge, DARK)
    c.fill(body, (150, 150, 160))
    c.fill(rect(3, 12, 9, 20), (110, 110, 120))
    for radius in (6.5, 11.5):
        c.fill(arc(17, 16, radius, 2.6, -50, 50), BLUE)
    return c


def draw_no_photo(width, height):
    """Bitmap 201: the photo frame's placeholder, a grey silhouette on a light ground."""
    c = Canvas(width, height, design_width=width, background=(232, 232, 232, 1.0))
    figure, edge = (200, 200, 200), (184, 184, 184)
    person(c, width / 2, height * 0.22, height * 0.78, figure, edge, figure, edge)
    c.fill(minus(rect(0, 0, width, height), rect(1, 1, width - 1, height - 1)), (176, 176, 176))
    return c


# Icon 527 is drawn pixel by pixel, as cursors are: X outline, o fill, blank clear.
HAND = [
    "     XX           ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooXXX        ",
    "    XooXooXXX     ",
    "    XooXooXooXXX  ",
    "XX  XooXooXooXooX ",
    "XooXXooXooXooXooX ",
    "XoooXooooooooooooX",
    " XooooooooooooooX ",
    " XooooooooooooooX ",
    "  XoooooooooooooX ",
    "  XooooooooooooX  ",
    "   XoooooooooooX  ",
    "   XooooooooooX   ",
    "    XoooooooooX   ",
    "    XoooooooooX   ",
    "    XXXXXXXXXXX   ",
]
HAND_HOTSPOT = (5, 0)  # the tip of the pointing finger; repeated in cursors/527.json


def draw_hand_cursor():
    colours = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255), " ": (0, 0, 0, 0)}
    rows = []
    for y in range(32):
        line = HAND[y] if y < len(HAND) else ""
        rows.append([colours[line[x]] if x < len(line) else colours[" "] for x in range(32)])
    write_png("hand-cursor.png", 32, 32, rows)


def main():
    for size in (16, 32):
        draw_app_icon(size).save(f"app-{size}.png")
        draw_contact_icon(size).save(f"contact-{size}.png")
        draw_sound_icon(size).save(f"sound-{size}.png")
    draw_preferred_mark(16).save("preferred-16.png")
    draw_no_photo(96, 120).save("no-photo.png")
    draw_hand_cursor()
    # The desktop's icon theme gets the program's icon at every usual size.
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        draw_app_icon(size).save(os.path.join("..", "..", "desktop", "icons", f"{size}.png"))


if __name__ == "__main__":
    main()
