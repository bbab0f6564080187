#!/usr/bin/env python3
"""Draws the item's icon and bitmaps. Run it after changing a drawing; the
files it writes are committed, so building needs no Python."""
import struct
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def dib24(width, height, pixel):
    """A bottom-up 24-bit DIB (header and bits) with pixel(x, y) -> (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, stride * height, 0, 0, 0, 0)
    return header, b''.join(rows)


def icon_image(width, height, pixel, opaque):
    """An icon image: its DIB header has the doubled height, then the XOR
    bits, then the 1-bit AND mask (set where transparent)."""
    header, bits = dib24(width, height, pixel)
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bits + bytes(mask)


def write_ico(path, images):
    """images: list of (width, height, data)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack('<BBBBHHII', w, h, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def tab_icon(width, height):
    """A small document sheet with a folded corner and text lines."""
    def inside(x, y):
        left, top, right, bottom = width // 6, 0, width - width // 6 - 1, height - 1
        fold = max(2, width // 4)
        if x < left or x > right or y < top or y > bottom:
            return False
        return not (x > right - fold + (y - top))

    def pixel(x, y):
        if not inside(x, y):
            return (255, 0, 255)
        left, right = width // 6, width - width // 6 - 1
        edge = x in (left, right) or y in (0, height - 1) or not inside(x + 1, y) or not inside(x, y - 1)
        if edge:
            return (49, 130, 206)
        if y >= height // 3 and y % max(2, height // 5) == 0 and left + 1 < x < right - 1:
            return (96, 96, 96)
        return (255, 255, 255)

    return icon_image(width, height, pixel, inside)


write_ico(os.path.join(HERE, 'TabIcon.ico'), [(12, 11, tab_icon(12, 11)), (24, 22, tab_icon(24, 22))])


# The scroll strip's glyphs, one character a pixel at 96 dots per inch:
# R is painted in the theme colour, W in a lightened copy of the background,
# B (the corners) leaves the background as it is.
STRIP_UP = [
    'BBRRRRRRRRRBB',
    'BRWWWWWWWWWRB',
    'RWWWWWWWWWWWR',
    'RWWWWWWWWWWWR',
    'RWWWWWRWWWWWR',
    'RWWWWRRRWWWWR',
    'RWWWRRRRRWWWR',
    'RWWRRRRRRRWWR',
    'RWWWWWWWWWWWR',
    'RWWWWWWWWWWWR',
    'BRWWWWWWWWWRB',
    'BBRRRRRRRRRBB',
]
STRIP_DOWN = [
    'BBRRRRRRRRRBB',
    'BRWWWWWWWWWRB',
    'RWWWWWWWWWWWR',
    'RWWWWWWWWWWWR',
    'RWWRRRRRRRWWR',
    'RWWWRRRRRWWWR',
    'RWWWWRRRWWWWR',
    'RWWWWWRWWWWWR',
    'RWWWWWWWWWWWR',
    'RWWWWWWWWWWWR',
    'BRWWWWWWWWWRB',
    'BBRRRRRRRRRBB',
]
STRIP_TOP_CAP = [
    'BBRRRRRRRRRBB',
    'BRWWWWWWWWWRB',
]
STRIP_GRIP = [
    'BRWRWRWRWRWRB',
]
STRIP_BOTTOM_CAP = [
    'BRWWWWWWWWWRB',
    'BBRRRRRRRRRBB',
]
STRIP_SPARE = [
    'BBRRRRRRRRRBB',
    'BRWWWWWWWWWRB',
    'RWWWWWWWWWWWR',
    'RWWRRRRRRRWWR',
    'RWWWWWWWWWWWR',
    'RWWRRRRRRRWWR',
    'RWWWWWWWWWWWR',
    'BRWWWWWWWWWRB',
    'BBRRRRRRRRRBB',
]
STRIP_PARTS = [STRIP_UP, STRIP_DOWN, STRIP_TOP_CAP, STRIP_GRIP, STRIP_BOTTOM_CAP, STRIP_SPARE]

THEMED = {'R': (255, 0, 0), 'W': (255, 255, 255), 'B': (0, 0, 0)}
GREY = {'R': (96, 96, 96), 'W': (200, 200, 200), 'B': (0, 0, 0)}
SEPARATOR = (255, 0, 255)


def strip_rows(scale):
    """The parts top to bottom, each scaled and followed by one separator
    row (None)."""
    rows = []
    for part in STRIP_PARTS:
        for line in part:
            scaled = ''.join(ch * scale for ch in line)
            rows += [scaled] * scale
        rows.append(None)
    return rows


def write_bmp(path, width, height, pixel):
    header, bits = dib24(width, height, pixel)
    size = 14 + len(header) + len(bits)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', size, 0, 0, 14 + len(header)) + header + bits)


def strip_bitmap(path, scale):
    """Grey rendering on the left half, the template on the right half."""
    rows = strip_rows(scale)
    half = 13 * scale

    def pixel(x, y):
        line = rows[y]
        if line is None:
            return SEPARATOR
        if x < half:
            return GREY[line[x]]
        return THEMED[line[x - half]]

    write_bmp(path, 2 * half, len(rows), pixel)


strip_bitmap(os.path.join(HERE, 'Strip.bmp'), 1)
strip_bitmap(os.path.join(HERE, 'StripLarge.bmp'), 2)
