#!/usr/bin/env python3
"""Draws the options program's icon (16, 32 and 64 pixels): a grid of small
documents, as the Today item shows them, on a folder in the item's blue.
Run it after changing the drawing; the icon it writes is committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
BLUE = (49, 130, 206)
DARK = (28, 84, 150)
FOLDER = (244, 205, 96)
FOLDER_EDGE = (186, 140, 40)
WHITE = (255, 255, 255)
LINE = (96, 96, 96)


def icon_image(size, pixel, opaque):
    """A 24-bit icon image: header with doubled height, XOR bits, AND mask."""
    stride = (size * 3 + 3) & ~3
    bits = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray()
        for x in range(size):
            r, g, b = pixel(x, y) if opaque(x, y) else (0, 0, 0)
            row += bytes((b, g, r))
        bits += row + bytes(stride - len(row))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    return header + bytes(bits) + bytes(mask)


def program_icon(size):
    s = size / 16.0
    folder = (int(1 * s), int(4 * s), size - int(1 * s) - 1, size - int(1 * s) - 1)
    tab = (int(1 * s), int(2 * s), int(7 * s), int(4 * s))
    cells = []
    for row in range(2):
        for col in range(2):
            left = folder[0] + int((2 + col * 6) * s)
            top = folder[1] + int((2 + row * 5) * s)
            cells.append((left, top, left + max(2, int(4 * s)), top + max(2, int(3.5 * s))))

    def in_rect(x, y, r):
        return r[0] <= x <= r[2] and r[1] <= y <= r[3]

    def opaque(x, y):
        return in_rect(x, y, folder) or in_rect(x, y, tab)

    def pixel(x, y):
        for c in cells:
            if in_rect(x, y, c):
                edge = x in (c[0], c[2]) or y in (c[1], c[3])
                if edge:
                    return DARK
                return LINE if (y - c[1]) % max(2, int(s)) == 0 and size >= 32 else WHITE
        r = folder if in_rect(x, y, folder) else tab
        if x in (r[0], r[2]) or y in (r[1], r[3]):
            return FOLDER_EDGE
        return BLUE if r is folder and y > folder[3] - max(1, int(1.5 * s)) else FOLDER

    return icon_image(size, pixel, opaque)


def write_ico(path, sizes):
    images = [(n, program_icon(n)) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


write_ico(os.path.join(HERE, 'PelloranOptions.ico'), [16, 32, 64])
