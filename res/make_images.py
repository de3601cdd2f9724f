#!/usr/bin/env python3
"""Draws the suite's icons and bitmaps and writes them as .ico / .bmp files.

The images are simple geometric drawings, rendered with 4x4 supersampling so their
edges are smooth. Run it again after changing a drawing; the outputs are committed.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def inside_polygon(x, y, pts):
    inside = False
    n = len(pts)
    for i in range(n):
        (ax, ay), (bx, by) = pts[i], pts[(i + 1) % n]
        if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
            inside = not inside
    return inside


def inside_thick_line(x, y, a, b, w):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2


def render(size, layers):
    """layers: list of (predicate(x, y) in unit coordinates 0..1, (r, g, b)).
    Returns rows of (r, g, b, a) from top to bottom."""
    ss = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    y = (py + (sy + 0.5) / ss) / size
                    colour = None
                    for pred, rgb in layers:
                        if pred(x, y):
                            colour = rgb
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = ss * ss
            a = acc[3] / n
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def ico_image(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(struct.pack('<BBBB', b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = 0
        out = bytearray(mask_row_bytes)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[i // 8] |= 0x80 >> (i % 8)
        mask += bytes(out)
    return header + pixels + mask


def write_ico(name, layers, sizes=(16, 32, 48)):
    images = [ico_image(render(s, layers)) for s in sizes]
    offset = 6 + 16 * len(images)
    out = struct.pack('<HHH', 0, 1, len(images))
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


def write_bmp(name, rows, background=(255, 255, 255)):
    """24-bit bitmap; transparent parts are drawn on background."""
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b''
    for row in reversed(rows):
        line = b''
        for (r, g, b, a) in row:
            f = a / 255
            line += bytes((round(b * f + background[2] * (1 - f)), round(g * f + background[1] * (1 - f)),
                           round(r * f + background[0] * (1 - f))))
        data += line + b'\0' * (stride - w * 3)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(header + info + data)


def tile(colour):
    return (lambda x, y: inside_round_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.2), colour)


WHITE = (255, 255, 255)

# RkEngine: a blue tile with a white "run" triangle and a small gear-like dot.
ENGINE = [
    tile((32, 96, 184)),
    (lambda x, y: inside_polygon(x, y, [(0.34, 0.24), (0.34, 0.76), (0.78, 0.5)]), WHITE),
]

# Zorvane launcher: an orange tile with a white "Z".
LAUNCHER = [
    tile((222, 110, 30)),
    (lambda x, y: inside_thick_line(x, y, (0.26, 0.27), (0.74, 0.27), 0.14), WHITE),
    (lambda x, y: inside_thick_line(x, y, (0.72, 0.29), (0.28, 0.71), 0.14), WHITE),
    (lambda x, y: inside_thick_line(x, y, (0.26, 0.73), (0.74, 0.73), 0.14), WHITE),
]

# RkEditor: a green tile with three white text lines.
EDITOR = [
    tile((40, 140, 80)),
    (lambda x, y: inside_thick_line(x, y, (0.26, 0.32), (0.74, 0.32), 0.1), WHITE),
    (lambda x, y: inside_thick_line(x, y, (0.26, 0.5), (0.74, 0.5), 0.1), WHITE),
    (lambda x, y: inside_thick_line(x, y, (0.26, 0.68), (0.58, 0.68), 0.1), WHITE),
]

if __name__ == '__main__':
    write_ico('engine.ico', ENGINE)
    write_ico('launcher.ico', LAUNCHER)
    write_ico('editor.ico', EDITOR)
