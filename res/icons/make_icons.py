#!/usr/bin/env python3
"""Draws Gyrovanter's icons and writes them as 16-colour .ico files.

    python3 res/icons/make_icons.py            writes the .ico files beside this script
    python3 res/icons/make_icons.py --png DIR  also writes every image to DIR at 8x as PNG,
                                               and sheet.png with all of them side by side

The pictures are drawn below as grids of characters, one per pixel. Four
black-framed windows sit on a circle: a large one at the top left (digit 1)
with a dark cyan shadow, one at the right (2), one at the lower right (3) and
a small one at the lower left (4). In the 32x32 image three small arrows
between them point counter-clockwise. The idle picture has four white
windows; each running picture fills three of them green, yellow and red and
leaves the fourth hollow. From one running picture to the next every colour
moves one window on counter-clockwise (top left, lower left, lower right,
right), the way the arrows point.

Only the standard library is used; the .ico files are committed, so the build
does not need Python.
"""
import os
import struct
import sys
import zlib

# The 16 colours of the standard VGA palette, in palette order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_CYAN, RED, GREEN, YELLOW, BLUE, WHITE = 0, 6, 9, 10, 11, 12, 15
HOLLOW = None  # transparent: the AND mask lets the background through

# Characters of the grids: '.' transparent, 'K' frame, 'C' shadow, 'A' arrow,
# digits the inside of windows 1 to 4.
COLOURS = {'K': BLACK, 'C': DARK_CYAN, 'A': BLUE}

LARGE = """
................................
.CCCCCCCCCCCCCCC................
.CCCCCCCCCCCCCCC................
.CCKKKKKKKKKKKKKKK..............
.CCKKKKKKKKKKKKKKK...KKKKKKKKKK.
.CCK1111111111111K...KKKKKKKKKK.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...K22222222K.
.CCK1111111111111K...KKKKKKKKKK.
...K1111111111111K..............
...KKKKKKKKKKKKKKK...........A..
...AA.......................AAA.
..A........................A.A.A
..A..........................A..
A.A.A........................A..
.AAA.............KKKKKKKKKKKA...
..A..............KKKKKKKKKKK....
....KKKKKKKK.....K333333333K....
....KKKKKKKK.....K333333333K....
....K444444K.....K333333333K....
....K444444K.....K333333333K....
....K444444K.....K333333333K....
....K444444K.....K333333333K....
....KKKKKKKK.A...K333333333K....
........A.....A..KKKKKKKKKKK....
.........AAAAAAA................
..............A.................
.............A..................
"""

SMALL = """
................
.CCCCCCCC.......
.CKKKKKKKK......
.CKKKKKKKK......
.CK111111K.KKKKK
.CK111111K.KKKKK
..K111111K.K222K
..KKKKKKKK.K222K
...........K222K
...........KKKKK
.KKKKK..KKKKKK..
.KKKKK..KKKKKK..
.K444K..K3333K..
.K444K..K3333K..
.KKKKK..K3333K..
........KKKKKK..
"""

# The fills of windows 1 to 4 (top left, right, lower right, lower left).
IDLE = (WHITE, WHITE, WHITE, WHITE)
RUNNING = {
    131: (GREEN, YELLOW, RED, HOLLOW),
    134: (YELLOW, RED, HOLLOW, GREEN),
    133: (RED, HOLLOW, GREEN, YELLOW),
    132: (HOLLOW, GREEN, YELLOW, RED),
}
RUNNING_ORDER = (131, 134, 133, 132)

# The files: name, then the images (grid, fills) largest first.
ICONS = [
    ('gyrovanter.ico', [(LARGE, IDLE), (SMALL, IDLE)]),  # icons 128 and 129
] + [('running%d.ico' % (n + 1), [(LARGE, RUNNING[ident])]) for n, ident in enumerate(RUNNING_ORDER)]


def parse(grid):
    rows = [row for row in grid.strip().split('\n')]
    size = len(rows)
    assert all(len(row) == size for row in rows), 'grid is not square'
    return rows


def pixels(grid, fills):
    """The image as rows, top first, of palette indexes (None: transparent)."""
    image = []
    for row in parse(grid):
        line = []
        for ch in row:
            if ch == '.':
                line.append(None)
            elif ch.isdigit():
                line.append(fills[int(ch) - 1])
            else:
                line.append(COLOURS[ch])
        image.append(line)
    return image


def check_rotation():
    """Each step of the running order moves every colour one window on
    counter-clockwise: top left -> lower left -> lower right -> right -> top left."""
    successor = {0: 3, 3: 2, 2: 1, 1: 0}  # window index -> next window counter-clockwise
    for n, ident in enumerate(RUNNING_ORDER):
        now, after = RUNNING[ident], RUNNING[RUNNING_ORDER[(n + 1) % 4]]
        for window, fill in enumerate(now):
            assert after[successor[window]] == fill, (ident, window)


def dib(image):
    """BITMAPINFOHEADER, palette, 4-bit colour bits and 1-bit AND mask."""
    size = len(image)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(image):  # bottom-up
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, index in enumerate(row):
            if index is None:
                mask[x // 8] |= 0x80 >> (x % 8)
                index = 0
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor_bits += line
        and_bits += mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor_bits) + bytes(and_bits)


def ico(images):
    count = len(images)
    data = [dib(image) for image in images]
    out = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    for image, blob in zip(images, data):
        size = len(image)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b''.join(data)


def png(image, scale, path):
    """The image enlarged, on a light grey checkerboard where it is transparent."""
    size = len(image) * scale
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            index = image[y // scale][x // scale]
            if index is None:
                raw += bytes((204, 204, 204) if (x // 4 + y // 4) % 2 else (238, 238, 238))
            else:
                raw += bytes(PALETTE[index])
    write_png(path, size, size, raw)


def write_png(path, width, height, raw):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n')
        f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b'IDAT', zlib.compress(bytes(raw), 9)))
        f.write(chunk(b'IEND', b''))


def sheet(images, scale, path):
    """All images in one row, 8 pixels apart, on white."""
    gap = 8
    height = max(len(image) for image in images) * scale
    width = sum(len(image) * scale + gap for image in images) + gap
    canvas = [[(255, 255, 255)] * width for _ in range(height + 2 * gap)]
    left = gap
    for image in images:
        for y in range(len(image) * scale):
            for x in range(len(image) * scale):
                index = image[y // scale][x // scale]
                if index is None:
                    colour = (204, 204, 204) if (x // 4 + y // 4) % 2 else (238, 238, 238)
                else:
                    colour = PALETTE[index]
                canvas[gap + y][left + x] = colour
        left += len(image) * scale + gap
    raw = bytearray()
    for row in canvas:
        raw.append(0)
        for colour in row:
            raw += bytes(colour)
    write_png(path, width, height + 2 * gap, raw)


def main(argv):
    check_rotation()
    here = os.path.dirname(os.path.abspath(__file__))
    png_dir = None
    if argv[1:2] == ['--png'] and len(argv) == 3:
        png_dir = argv[2]
        os.makedirs(png_dir, exist_ok=True)
    elif len(argv) != 1:
        sys.exit(__doc__)
    everything = []
    for name, images in ICONS:
        rendered = [pixels(grid, fills) for grid, fills in images]
        with open(os.path.join(here, name), 'wb') as f:
            f.write(ico(rendered))
        for image in rendered:
            everything.append(image)
            if png_dir:
                size = len(image)
                png(image, 8, os.path.join(png_dir, '%s-%dx%d.png' % (name[:-4], size, size)))
    if png_dir:
        sheet(everything, 8, os.path.join(png_dir, 'sheet.png'))


if __name__ == '__main__':
    main(sys.argv)
