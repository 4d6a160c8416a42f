#!/usr/bin/env python3
"""Draws the two tree pictures, folder.png (13 x 16) and book.png (12 x 16).

Plain 8-bit RGB PNGs without alpha, written with zlib only, so that anyone can
redraw them without an image library: `python3 resources/draw_pictures.py`.
The white column at the folder's right-hand edge is what the panel trims when
it fits the picture into its 12-pixel-wide image list.
"""
import os
import struct
import zlib

WHITE = (255, 255, 255)


def write_png(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def folder():
    w, h = 13, 16
    px = [[WHITE] * w for _ in range(h)]
    light, deep = (255, 244, 190), (246, 214, 112)  # shades around (255, 232, 150)
    edge = (226, 184, 78)
    for y in range(h):
        for x in range(w - 1):  # the last column stays white
            in_tab = 2 <= y <= 3 and x <= 5
            in_body = 4 <= y <= 13
            if not (in_tab or in_body):
                continue
            border = (y == 2 and x <= 5) or (x == 5 and y == 3) or y == 13 or x == 0 \
                or x == w - 2 or (y == 4 and x >= 5)
            px[y][x] = edge if border else mix(light, deep, (x + y) / (w + h - 4))
    # a lighter fold line under the tab
    for x in range(1, w - 2):
        px[5][x] = mix((255, 250, 220), px[5][x], 0.3)
    return px


def book():
    w, h = 12, 16
    page, grey = (250, 250, 247), (173, 173, 173)
    px = [[WHITE] * w for _ in range(h)]
    for y in range(h):
        for x in range(1, w - 1):
            frame = x in (1, w - 2) or y in (0, h - 1)
            px[y][x] = grey if frame else page
    for y in range(1, h - 1):
        px[y][3] = (205, 205, 205)  # binding
    for y in (4, 6, 8, 10, 12):
        for x in range(5, w - 3):
            px[y][x] = grey
    return px


here = os.path.dirname(os.path.abspath(__file__))
write_png(os.path.join(here, "folder.png"), folder())
write_png(os.path.join(here, "book.png"), book())
