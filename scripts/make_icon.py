#!/usr/bin/env python3
"""Draws the program's icon, a blue folder with a grey drop shadow, and writes
it as res/Dirmind.ico: one image in 16 colours (4 bits per pixel) for each size
the system asks for from 100 % to 200 % display scale, 16 to 64 pixels square.
Standard library only; the output is byte-for-byte reproducible.

Usage: scripts/make_icon.py [OUTPUT]   (default: res/Dirmind.ico beside scripts/)
"""

import os
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
NAVY, GREY, BLUE, CYAN, WHITE = 4, 8, 12, 14, 15
CLEAR = None  # transparent: the AND mask is set, the colour index is 0


def rect(x0, y0, x1, y1):
    """The pixels of a rectangle, corners inclusive."""
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def edge(pixels):
    """The pixels of a shape that touch its outside: its one-pixel outline."""
    return {(x, y) for x, y in pixels
            if any(n not in pixels for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}


def top_rows(pixels, count):
    """The first count rows of a shape's inside, below its top outline."""
    inner = pixels - edge(pixels)
    rows = []
    for _ in range(count):
        row = {(x, y) for x, y in inner if (x, y - 1) not in inner}
        rows.append(row)
        inner -= row
    return rows


# The folder on a 16-unit grid, corners inclusive: the back panel with its tab
# at the top left, and the front flap, one unit wider, in front of it.
TAB = (0, 2, 6, 4)
BACK = (0, 4, 13, 13)
FRONT = (0, 6, 14, 13)


# The sizes in the icon file: small and large icons at 100, 125, 150 and
# 200 % display scale.
SIZES = (16, 20, 24, 32, 40, 48, 64)


def folder(size):
    def at(unit):
        """The pixel where a grid unit starts."""
        return (unit * size + 8) // 16

    # The shadow's offset and the front flap's rim: one unit, at least a pixel.
    k = max(1, at(1))

    def scaled(x0, y0, x1, y1):
        return rect(at(x0), at(y0), at(x1 + 1) - 1, at(y1 + 1) - 1)

    tab = scaled(*TAB) - {(at(TAB[0]), at(TAB[1])), (at(TAB[2] + 1) - 1, at(TAB[1]))}
    back = tab | scaled(*BACK)
    front = scaled(*FRONT)
    body = back | front
    shadow = {(x + k, y + k) for x, y in body} - body

    img = [[CLEAR] * size for _ in range(size)]

    def paint(pixels, colour):
        for x, y in pixels:
            if 0 <= x < size and 0 <= y < size:
                img[y][x] = colour

    paint(shadow, GREY)
    paint(back, BLUE)
    paint(top_rows(back, 1)[0], CYAN)
    paint(edge(back), NAVY)
    paint(front, BLUE)
    rims = top_rows(front, k)
    paint(rims[0], CYAN if k == 1 else WHITE)
    for row in rims[1:]:
        paint(row, CYAN)
    paint(edge(front), NAVY)
    return img


def bmp_entry(img):
    """The image as an icon's BITMAPINFOHEADER, palette, colour and AND mask."""
    size = len(img)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(img):  # bottom-up
        nibbles = [0 if c is CLEAR else c for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(line + b"\0" * (-len(line) % 4))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is CLEAR else 0)
        mask_bytes = (size + 7) // 8
        mask = (bits << (8 * mask_bytes - size)).to_bytes(mask_bytes, "big")
        and_rows.append(mask + b"\0" * (-len(mask) % 4))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    # Height counts the colour image and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(bits), 0, 0, 16, 0)
    return header + palette + bits


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for img in images:
        size = len(img)
        blob = bmp_entry(img)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def preview(img):
    """The image as text, one character per pixel, for a quick look."""
    chars = "0123456789ABCDEF"
    return "\n".join("".join("." if c is CLEAR else chars[c] for c in row) for row in img)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "res", "Dirmind.ico")
    images = [folder(size) for size in SIZES]
    if os.environ.get("DIRMIND_ICON_PREVIEW"):
        for img in images:
            print(preview(img), end="\n\n")
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as f:
        f.write(ico(images))


if __name__ == "__main__":
    main()
