#!/usr/bin/env python3
"""Draws the program's pictures and writes them as BMP and ICO files.

  scripts/make-pictures.py [output folder]   (default: forms/pictures)

Standard library only. The generated files are committed, so the build does
not run this script; run it again after changing a drawing.
"""
import os
import struct
import sys

KEY = (255, 0, 255)  # transparent colour of the bitmaps: their bottom-left pixel
BTNFACE = (212, 208, 200)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def in_round_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def emblem_colour(x, y):
    """The emblem in the unit square: a document fed into a shredder slot,
    coming out as strips. Returns an RGB colour or None for background."""
    if 0.18 <= x <= 0.82 and 0.50 <= y <= 0.58:
        return (190, 30, 30)  # the shredder's slot
    if 0.28 <= x <= 0.72 and 0.12 <= y <= 0.50:
        if x - 0.60 > 0.12 - (y - 0.12) * 1.0 + 0.0 and y < 0.24 and x > 0.60:
            return (170, 190, 220)  # folded corner
        if 0.34 <= x <= 0.64 and any(abs(y - r) < 0.012 for r in (0.26, 0.33, 0.40)):
            return (120, 140, 170)  # lines of text
        return (255, 255, 255)
    if 0.28 <= x <= 0.72 and 0.58 <= y <= 0.88:
        strip = int((x - 0.28) / 0.088)
        inside = (x - 0.28) - strip * 0.088 < 0.06
        length = 0.88 - (strip % 3) * 0.05
        if inside and y <= length:
            return (235, 240, 250)
    if in_round_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.18):
        return lerp((40, 100, 190), (15, 45, 110), y)
    return None


def render(width, height, shape, samples=4):
    """Supersampled RGBA rows, top row first."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = shape((px + (sx + 0.5) / samples) / width,
                              (py + (sy + 0.5) / samples) / height)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits:
                row.append(tuple(round(a / hits) for a in acc) + (round(255 * hits / samples ** 2),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def keyed(rows):
    """RGBA to RGB on the key colour: mostly covered pixels are blended onto the
    button face (the colour they are shown on), the rest become the key."""
    out = []
    for row in rows:
        out.append([lerp(BTNFACE, p[:3], p[3] / 255) if p[3] >= 128 else KEY for p in row])
    return out


def bmp24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def ico_image(rows):
    height, width = len(rows), len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                       0, 0)
    return info + xor + mask


def ico(images):
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b'', b''
    for rows in images:
        blob = ico_image(rows)
        size = len(rows)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob),
                               offset + len(data))
        data += blob
    return header + entries + data


def pixel_art(width, height, rects, scale=1.0):
    """Rows of RGB from (colour, x0, y0, x1, y1) rectangles painted in order
    (inclusive pixel bounds at 100 %) over the key colour, at `scale`."""
    width, height = round(width * scale), round(height * scale)
    rows = [[KEY] * width for _ in range(height)]
    for colour, x0, y0, x1, y1 in rects:
        for y in range(round(y0 * scale), round((y1 + 1) * scale)):
            for x in range(round(x0 * scale), round((x1 + 1) * scale)):
                rows[y][x] = colour
    return rows


DARK = (64, 64, 64)
DESKTOP = [
    (DARK, 3, 2, 22, 15), ((90, 150, 220), 5, 4, 20, 13), ((150, 200, 245), 6, 5, 12, 8),
    ((40, 120, 60), 5, 11, 20, 13), (DARK, 11, 16, 14, 17), (DARK, 7, 18, 18, 19),
]
DOCUMENTS = [
    ((150, 110, 20), 3, 4, 10, 6), ((150, 110, 20), 3, 6, 22, 19),
    ((255, 255, 255), 7, 2, 19, 10), ((110, 110, 110), 9, 4, 17, 4), ((110, 110, 110), 9, 6, 17, 6),
    ((110, 110, 110), 9, 8, 15, 8), ((240, 200, 80), 4, 9, 21, 18), ((250, 220, 120), 4, 9, 21, 10),
]
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 128)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'forms', 'pictures')
    os.makedirs(out, exist_ok=True)
    files = {'main.ico': ico([render(s, s, emblem_colour) for s in ICON_SIZES])}
    # One source per display scale: the program picks the one that fits.
    for percent in (100, 150, 200):
        suffix = '' if percent == 100 else '-%d' % percent
        scale = percent / 100
        size = round(50 * scale)
        files['emblem%s.bmp' % suffix] = bmp24(keyed(render(size, size, emblem_colour)))
        files['desktop%s.bmp' % suffix] = bmp24(pixel_art(26, 22, DESKTOP, scale))
        files['documents%s.bmp' % suffix] = bmp24(pixel_art(26, 22, DOCUMENTS, scale))
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)
        print(os.path.join(out, name), len(data))


if __name__ == '__main__':
    main()
