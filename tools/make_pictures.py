#!/usr/bin/env python3
"""Builds the program's icon (.ico) and tree image strip (.bmp) from the
text pixel art in resources/pictures, so the pictures stay editable.

usage: make_pictures.py icon SOURCE OUT.ico
       make_pictures.py strip SOURCE OUT.bmp
"""
import struct
import sys

# The 16 VGA colours in their usual order, as (r, g, b).
PALETTE = {
    'k': (0, 0, 0), 'm': (128, 0, 0), 'g': (0, 128, 0), 'o': (128, 128, 0),
    'n': (0, 0, 128), 'p': (128, 0, 128), 't': (0, 128, 128), 's': (192, 192, 192),
    'd': (128, 128, 128), 'r': (255, 0, 0), 'l': (0, 255, 0), 'y': (255, 255, 0),
    'b': (0, 0, 255), 'f': (255, 0, 255), 'c': (0, 255, 255), 'w': (255, 255, 255),
}
# Palette order of the strip bitmap: the VGA indices 0 to 15.
VGA = ['k', 'm', 'g', 'o', 'n', 'p', 't', 's', 'd', 'r', 'l', 'y', 'b', 'f', 'c', 'w']


def read_blocks(path):
    """Returns [(name, rows)] in file order; '#' lines are comments."""
    blocks = []
    for line in open(path, encoding='utf-8').read().splitlines():
        if line.startswith('#') or not line.strip():
            continue
        if line.startswith('= '):
            blocks.append((line[2:].strip(), []))
        elif blocks:
            blocks[-1][1].append(line)
        else:
            sys.exit(f'{path}: pixels before the first "= name" line')
    for name, rows in blocks:
        size = len(rows)
        for r in rows:
            if len(r) != size:
                sys.exit(f'{path}: {name}: row "{r}" is not {size} wide')
            bad = set(r) - set(PALETTE) - {'.'}
            if bad:
                sys.exit(f'{path}: {name}: unknown colours {sorted(bad)}')
    return blocks


def icon_image(rows):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA pixels, AND mask."""
    n = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    stride = ((n + 31) // 32) * 4
    for r in reversed(rows):
        bits = 0
        for x, ch in enumerate(r):
            if ch == '.':
                pixels += bytes((0, 0, 0, 0))
                bits |= 1 << (stride * 8 - 1 - x)
            else:
                red, green, blue = PALETTE[ch]
                pixels += bytes((blue, green, red, 255))
        mask += bits.to_bytes(stride, 'big')
    return header + bytes(pixels) + bytes(mask)


def write_icon(blocks, out):
    images = [(len(rows), icon_image(rows)) for _, rows in blocks]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    open(out, 'wb').write(data + b''.join(image for _, image in images))


def write_strip(blocks, out):
    """A 4-bit bitmap, images left to right; '.' is the teal mask colour."""
    height = 16
    for name, rows in blocks:
        if len(rows) != height:
            sys.exit(f'{name}: strip images are 16 x 16')
    width = height * len(blocks)
    stride = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for y in reversed(range(height)):
        row = ''.join(rows[y] for _, rows in blocks).replace('.', 't')
        line = bytearray()
        for x in range(0, width, 2):
            line.append(VGA.index(row[x]) << 4 | VGA.index(row[x + 1]))
        body += line + bytes(stride - len(line))
    palette = b''.join(bytes((PALETTE[c][2], PALETTE[c][1], PALETTE[c][0], 0)) for c in VGA)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(body), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    open(out, 'wb').write(head + info + palette + bytes(body))


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ('icon', 'strip'):
        sys.exit(__doc__)
    blocks = read_blocks(sys.argv[2])
    (write_icon if sys.argv[1] == 'icon' else write_strip)(blocks, sys.argv[3])


main()
