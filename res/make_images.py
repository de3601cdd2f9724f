#!/usr/bin/env python3
"""Draws the suite's icons and bitmaps and writes them as .ico / .bmp files.

The images are simple geometric drawings, rendered with 4x4 supersampling so their
edges are smooth. Each bitmap is drawn at 100 %, 150 % and 200 % ("name.bmp",
"name_150.bmp", "name_200.bmp"): the drawings are redrawn at the larger scale, not
stretched, and one-pixel lines (bevels, wells) become whole pixels of the scale. The icons
carry the sizes Windows asks for at those scales. Run it again after changing a drawing;
the outputs are committed.
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


# Small and big icons at 100, 125, 150 and 200 %, and the 48 pixels of Explorer's view.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)

# The image sets: suffix and scale.
SCALES = (('', 1.0), ('_150', 1.5), ('_200', 2.0))


def scaled_size(base, s):
    """The size of a base-pixel image at scale s, rounded half up (as the programs expect)."""
    return int(base * s + 0.5)


def scaled(layers, s):
    """The layers of a drawing in 100 % pixel coordinates, drawn at scale s."""
    out = []
    for pred, rgb in layers:
        p = (lambda x, y, pred=pred: pred(x / s, y / s))
        c = (lambda x, y, rgb=rgb: rgb(x / s, y / s)) if callable(rgb) else rgb
        out.append((p, c))
    return out


def set_name(name, suffix):
    stem, ext = os.path.splitext(name)
    return stem + suffix + ext


def write_ico(name, layers, sizes=ICON_SIZES):
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


def render_px(width, height, layers):
    """Like render, for a width x height image whose predicates take pixel coordinates."""
    ss = 4
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    x, y = px + (sx + 0.5) / ss, py + (sy + 0.5) / ss
                    colour = None
                    for pred, rgb in layers:
                        if pred(x, y):
                            colour = rgb(x, y) if callable(rgb) else rgb
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(acc[3] * 255 / (ss * ss))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def write_masked_bmp(image_name, mask_name, rows):
    """An image and its mask for drawing through the mask: the mask is white where the
    image is opaque and black where the background shows; the image is white there."""
    solid = [[(r, g, b, 255) if a >= 128 else (255, 255, 255, 255) for (r, g, b, a) in row] for row in rows]
    mask = [[(255, 255, 255, 255) if a >= 128 else (0, 0, 0, 255) for (_, _, _, a) in row] for row in rows]
    write_bmp(image_name, solid)
    write_bmp(mask_name, mask)


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

# Zorvane's menu-item marks (drawn on the menu's background colour): a blue "run" mark
# for ordinary macros and a red target for macros bound to the front window.
MENU_MARK = 13
MENU_BACKGROUND = (240, 240, 240)
MACRO_ITEM = [
    (lambda x, y: inside_round_rect(x, y, 0.5, 0.5, 12.5, 12.5, 2.5), (32, 96, 184)),
    (lambda x, y: inside_polygon(x, y, [(4.4, 3.2), (4.4, 9.8), (10.0, 6.5)]), WHITE),
]
MACRO_TARGET = [
    (lambda x, y: (x - 6.5) ** 2 + (y - 6.5) ** 2 <= 6.2 ** 2, (200, 40, 40)),
    (lambda x, y: (x - 6.5) ** 2 + (y - 6.5) ** 2 <= 4.3 ** 2, WHITE),
    (lambda x, y: (x - 6.5) ** 2 + (y - 6.5) ** 2 <= 2.6 ** 2, (200, 40, 40)),
]

# Zorvane's banner (16 x 79): an orange bar fading to red with three white diamonds,
# rounded at both ends (the corners show the window behind).
BANNER_W, BANNER_H = 16, 79


def banner_colour(x, y):
    t = y / BANNER_H
    return (round(236 - 40 * t), round(128 - 84 * t), round(40 - 10 * t))


BANNER = [
    (lambda x, y: inside_round_rect(x, y, 1, 1, 15, 78, 6), banner_colour),
] + [
    (lambda x, y, cy=cy: abs(x - 8) + abs(y - cy) <= 3.2, WHITE) for cy in (16, 28, 40)
]

# RkEditor's command icons (32 x 32, one strip of six in the list's order: LAUNCH, FOCUS,
# WAIT, KEYIN, TYPE, MOUSE). All six share one silhouette, a rounded tile, so one mask
# serves them: the strip is white outside the tile, the mask black there.
CMD = 32


def cmd_tile(colour):
    return (lambda x, y: inside_round_rect(x, y, 1.5, 1.5, 30.5, 30.5, 6), colour)


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 ** 2


COMMAND_ICONS = [
    # LAUNCH: a white "start" arrow on blue.
    [cmd_tile((32, 96, 184)),
     (lambda x, y: inside_polygon(x, y, [(11, 8), (11, 24), (24, 16)]), WHITE)],
    # FOCUS: a window with a title bar, framed, on teal.
    [cmd_tile((20, 140, 150)),
     (lambda x, y: inside_round_rect(x, y, 7, 8, 25, 24, 1.5), WHITE),
     (lambda x, y: 9 <= x <= 23 and 13 <= y <= 22, (20, 140, 150)),
     (lambda x, y: 10.5 <= x <= 21.5 and 14.5 <= y <= 20.5, (190, 235, 240))],
    # WAIT: a clock face on orange.
    [cmd_tile((222, 110, 30)),
     (lambda x, y: (x - 16) ** 2 + (y - 16) ** 2 <= 10 ** 2, WHITE),
     (lambda x, y: inside_thick_line(x, y, (16, 16), (16, 9), 2.2), (222, 110, 30)),
     (lambda x, y: inside_thick_line(x, y, (16, 16), (21, 19), 2.2), (222, 110, 30))],
    # KEYIN: a key cap on purple.
    [cmd_tile((120, 70, 170)),
     (lambda x, y: inside_round_rect(x, y, 7, 8, 25, 24, 3), WHITE),
     (lambda x, y: inside_round_rect(x, y, 9.5, 10, 22.5, 19.5, 2), (225, 215, 240)),
     (lambda x, y: inside_thick_line(x, y, (13, 17.5), (16, 11.5), 1.8), (120, 70, 170)),
     (lambda x, y: inside_thick_line(x, y, (16, 11.5), (19, 17.5), 1.8), (120, 70, 170)),
     (lambda x, y: inside_thick_line(x, y, (14.3, 15.5), (17.7, 15.5), 1.6), (120, 70, 170))],
    # TYPE: lines of text and a caret on green.
    [cmd_tile((40, 140, 80)),
     (lambda x, y: inside_thick_line(x, y, (8, 11), (24, 11), 2.4), WHITE),
     (lambda x, y: inside_thick_line(x, y, (8, 16), (24, 16), 2.4), WHITE),
     (lambda x, y: inside_thick_line(x, y, (8, 21), (17, 21), 2.4), WHITE),
     (lambda x, y: inside_thick_line(x, y, (21, 18), (21, 25), 1.8), (255, 230, 120))],
    # MOUSE: a pointer arrow on red.
    [cmd_tile((190, 50, 50)),
     (lambda x, y: inside_polygon(x, y, [(10, 6), (10, 24), (14.5, 19.5), (18, 26.5),
                                         (21, 25), (17.5, 18.5), (23.5, 18.5)]), WHITE)],
]
COMMAND_MASK = [cmd_tile(WHITE)]


def write_strip(name, images, background=(255, 255, 255)):
    """Images of equal size side by side in one 24-bit bitmap."""
    rows = [sum((img[y] for img in images), []) for y in range(len(images[0]))]
    write_bmp(name, rows, background)


def opaque_on_white_outside(rows, mask_rows):
    """The image as drawn through its mask: white wherever the mask is black."""
    return [[px if m[3] >= 128 else (255, 255, 255, 255) for px, m in zip(row, mrow)]
            for row, mrow in zip(rows, mask_rows)]


# RkEditor's tool bar (16 x 15 each): new, open, save, add line, duplicate, modify,
# delete, move down, move up; drawn on magenta, the colour the tool bar masks out.
TB_W, TB_H = 16, 15
TB_BACK = (255, 0, 255)
PAGE = lambda x, y: inside_polygon(x, y, [(3, 1), (10, 1), (13, 4), (13, 14), (3, 14)])
PAGE_IN = lambda x, y: inside_polygon(x, y, [(4, 2), (9.5, 2), (12, 4.5), (12, 13), (4, 13)])
DARK = (60, 60, 60)
TOOLBAR = [
    [(PAGE, DARK), (PAGE_IN, WHITE)],
    [(lambda x, y: inside_polygon(x, y, [(1, 3), (6, 3), (7, 5), (14, 5), (14, 13), (1, 13)]),
      (150, 110, 20)),
     (lambda x, y: inside_polygon(x, y, [(3, 7), (15.5, 7), (13, 13), (1, 13)]), (240, 200, 80))],
    [(lambda x, y: inside_round_rect(x, y, 1.5, 1.5, 14, 14, 1.2), (32, 80, 160)),
     (lambda x, y: 4 <= x <= 11.5 and 1.5 <= y <= 6.5, WHITE),
     (lambda x, y: 4 <= x <= 11.5 and 9 <= y <= 14, (200, 200, 200))],
    [(lambda x, y: inside_thick_line(x, y, (8, 2), (8, 14), 3), (40, 140, 80)),
     (lambda x, y: inside_thick_line(x, y, (2, 8), (14, 8), 3), (40, 140, 80))],
    [(lambda x, y: inside_polygon(x, y, [(1, 1), (8, 1), (8, 10), (1, 10)]), DARK),
     (lambda x, y: inside_polygon(x, y, [(2, 2), (7, 2), (7, 9), (2, 9)]), WHITE),
     (lambda x, y: inside_polygon(x, y, [(6, 5), (14, 5), (14, 14), (6, 14)]), DARK),
     (lambda x, y: inside_polygon(x, y, [(7, 6), (13, 6), (13, 13), (7, 13)]), WHITE)],
    [(lambda x, y: inside_thick_line(x, y, (3, 13), (12, 4), 3.4), (200, 150, 40)),
     (lambda x, y: inside_thick_line(x, y, (11, 5), (13, 3), 3.4), (200, 80, 80)),
     (lambda x, y: inside_polygon(x, y, [(1.5, 14.5), (2, 11.5), (4.5, 14)]), DARK)],
    [(lambda x, y: inside_thick_line(x, y, (3, 3), (13, 13), 3), (200, 40, 40)),
     (lambda x, y: inside_thick_line(x, y, (13, 3), (3, 13), 3), (200, 40, 40))],
    [(lambda x, y: inside_polygon(x, y, [(6, 1), (10, 1), (10, 8), (14, 8), (8, 14.5),
                                         (2, 8), (6, 8)]), (32, 96, 184))],
    [(lambda x, y: inside_polygon(x, y, [(6, 14), (10, 14), (10, 7), (14, 7), (8, 0.5),
                                         (2, 7), (6, 7)]), (32, 96, 184))],
]

# The pick buttons ("(&P)", "(&S)"): a list of windows with an arrow, in four states.
PICK_W, PICK_H = 20, 18


def pick_layers(face, glyph, pressed=False, focused=False, s=1.0):
    """The button at scale s: its bevel and focus marks whole pixels wide, the glyph
    redrawn at the scale."""
    w, h = scaled_size(PICK_W, s), scaled_size(PICK_H, s)
    b = max(1, round(s))  # one line of the bevel
    d = 1 if pressed else 0
    layers = [
        (lambda x, y: True, face),
        (lambda x, y: x < b or y < b, (128, 128, 128) if pressed else WHITE),
        (lambda x, y: x > w - b or y > h - b, WHITE if pressed else (64, 64, 64)),
    ]
    glyph_layers = [
        (lambda x, y, d=d: 5 + d <= x <= 15 + d and 4 + d <= y <= 14 + d, glyph),
        (lambda x, y, d=d: 6 + d <= x <= 14 + d and 6 + d <= y <= 13 + d, WHITE),
    ] + [
        (lambda x, y, d=d, r=r: 7.5 + d <= x <= 12.5 + d and r + d <= y <= r + 1 + d, glyph)
        for r in (7, 9, 11)
    ]
    layers += scaled(glyph_layers, s)
    if focused:
        f0, f1 = 2 * b, 4 * b  # the focus frame: two lines in from the bevel
        layers.append((lambda x, y: (f0 <= x < f1 or w - f1 <= x < w - f0) and f0 <= y < h - f0
                       or (f0 <= y < f1 or h - f1 <= y < h - f0) and f0 <= x < w - f0,
                       (32, 96, 184)))
    return layers


FACE = (236, 236, 236)
PICK_STATES = [
    ('pick_up.bmp', lambda s: pick_layers(FACE, (32, 96, 184), s=s)),
    ('pick_down.bmp', lambda s: pick_layers((220, 220, 220), (32, 96, 184), pressed=True, s=s)),
    ('pick_focus.bmp', lambda s: pick_layers(FACE, (32, 96, 184), focused=True, s=s)),
    ('pick_disabled.bmp', lambda s: pick_layers(FACE, (170, 170, 170), s=s)),
]

# The MOUSE dialog's tracker (32 x 32, on the dialog face): a sunken well holding a
# cross-hair while idle; empty while a drag is in progress, since the cross-hair then
# travels with the pointer as the tracking cursor.
TRACK = 32
TRACK_FACE = (240, 240, 240)
CROSS = (190, 50, 50)


def crosshair(cx, cy, r, colour, width=1.6):
    return [
        (ring(cx, cy, r - width / 2, r + width / 2), colour),
        (lambda x, y: inside_thick_line(x, y, (cx, cy - r - 4), (cx, cy - 3), width), colour),
        (lambda x, y: inside_thick_line(x, y, (cx, cy + 3), (cx, cy + r + 4), width), colour),
        (lambda x, y: inside_thick_line(x, y, (cx - r - 4, cy), (cx - 3, cy), width), colour),
        (lambda x, y: inside_thick_line(x, y, (cx + 3, cy), (cx + r + 4, cy), width), colour),
    ]


def track_well(s=1.0):
    """The sunken well at scale s, its edges whole pixels wide."""
    n = scaled_size(TRACK, s)
    b = max(1, round(s))
    return [
        (lambda x, y: True, TRACK_FACE),
        (lambda x, y: b <= x < n - b and b <= y < n - b, (128, 128, 128)),
        (lambda x, y: 2 * b <= x < n - b and 2 * b <= y < n - b, WHITE),
        (lambda x, y: 2 * b <= x < n - 2 * b and 2 * b <= y < n - 2 * b, (250, 250, 250)),
    ]


def track_idle(s):
    return track_well(s) + scaled(crosshair(16, 16, 7, CROSS), s)


def track_active(s):
    return track_well(s)

# The tracking cursor (32 x 32, hot spot in the middle): the same cross-hair, drawn in
# black on a white outline so it shows on any background.
CURSOR = 32
TRACK_CURSOR = (crosshair(16, 16, 7, WHITE, 3.6) + crosshair(16, 16, 7, (0, 0, 0), 1.4)
                + [(lambda x, y: (x - 16) ** 2 + (y - 16) ** 2 <= 1.2 ** 2, (0, 0, 0))])


def write_cur(name, images):
    """A cursor file of (rows, hotspot) images: 32-bit colour with alpha, each AND mask
    from the alpha."""
    data = [ico_image(rows) for rows, _ in images]
    out = struct.pack('<HHH', 0, 2, len(images))
    offset = 6 + 16 * len(images)
    for (rows, hotspot), img in zip(images, data):
        size = len(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, hotspot[0], hotspot[1], len(img), offset)
        offset += len(img)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out + b''.join(data))


if __name__ == '__main__':
    write_ico('engine.ico', ENGINE)
    write_ico('launcher.ico', LAUNCHER)
    write_ico('editor.ico', EDITOR)
    for suffix, k in SCALES:
        mark = scaled_size(MENU_MARK, k)
        write_bmp(set_name('macro_item.bmp', suffix), render_px(mark, mark, scaled(MACRO_ITEM, k)),
                  MENU_BACKGROUND)
        write_bmp(set_name('macro_target.bmp', suffix),
                  render_px(mark, mark, scaled(MACRO_TARGET, k)), MENU_BACKGROUND)
        write_masked_bmp(set_name('banner.bmp', suffix), set_name('banner_mask.bmp', suffix),
                         render_px(scaled_size(BANNER_W, k), scaled_size(BANNER_H, k),
                                   scaled(BANNER, k)))
        cmd = scaled_size(CMD, k)
        mask_rows = render_px(cmd, cmd, scaled(COMMAND_MASK, k))
        write_strip(set_name('command_icons.bmp', suffix),
                    [opaque_on_white_outside(render_px(cmd, cmd, scaled(icon, k)), mask_rows)
                     for icon in COMMAND_ICONS])
        write_bmp(set_name('command_mask.bmp', suffix),
                  [[(255, 255, 255, 255) if a >= 128 else (0, 0, 0, 255) for (_, _, _, a) in row]
                   for row in mask_rows])
        # Hard edges: a blended edge would not match the masked-out colour.
        tw, th = scaled_size(TB_W, k), scaled_size(TB_H, k)
        write_strip(set_name('editor_toolbar.bmp', suffix),
                    [[[(r, g, b, 255) if a >= 100 else (*TB_BACK, 255) for (r, g, b, a) in row]
                      for row in render_px(tw, th, scaled(t, k))] for t in TOOLBAR])
        for name, layers in PICK_STATES:
            write_bmp(set_name(name, suffix),
                      render_px(scaled_size(PICK_W, k), scaled_size(PICK_H, k), layers(k)))
        track = scaled_size(TRACK, k)
        write_bmp(set_name('track_idle.bmp', suffix), render_px(track, track, track_idle(k)))
        write_bmp(set_name('track_active.bmp', suffix), render_px(track, track, track_active(k)))
    # The tracking cursor at the cursor sizes of 100, 150 and 200 %.
    write_cur('track.cur', [(render_px(scaled_size(CURSOR, k), scaled_size(CURSOR, k),
                                       scaled(TRACK_CURSOR, k)),
                             (scaled_size(16, k), scaled_size(16, k))) for _, k in SCALES])
