#!/usr/bin/env python3
"""Writes the small pictures the image-manager tests load as resources.

strip24.bmp   64 x 16, 24-bit: four 16 x 16 images on magenta (the top-left pixel is the mask
              colour); image j is a 12 x 12 square of COLORS[j] at (2, 2).
strip32.bmp   48 x 16, 32-bit: three opaque 16 x 16 images in COLORS[0..2], the corner pixel (0, 0)
              of each fully transparent.
toolbar.bmp   32 x 15, 24-bit: the two images of the test toolbar resource (ids 100 and 101).
icons.ico     an icon group: 16 x 16 and 32 x 32 at 24 bits (red squares on a transparent border),
              and 24 x 24 at 32 bits (an opaque blue square).
Run from this directory; the files are committed beside this script.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "..", "scripts"))
from bmpfile import write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)
COLORS = [(255, 0, 0), (0, 128, 0), (0, 0, 255), (255, 255, 0)]


def bmp(path, width, height, bits, pixel):
    write_bmp(path, width, height, pixel, bits)


def strip24(x, y):
    j, lx = divmod(x, 16)
    return COLORS[j] if 2 <= lx < 14 and 2 <= y < 14 else MAGENTA


def strip32(x, y):
    j, lx = divmod(x, 16)
    if lx == 0 and y == 0:
        return (0, 0, 0, 0)
    return COLORS[j] + (255,)


def toolbar(x, y):
    j, lx = divmod(x, 16)
    return COLORS[j] if 2 <= lx < 14 and 2 <= y < 13 else MAGENTA


def icon_image(size, bits, color):
    """An icon image as RT_ICON holds it: header (height doubled), XOR pixels, AND mask."""
    xor = bytearray()
    mask = bytearray()
    mask_row = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        mrow = bytearray(mask_row)
        for x in range(size):
            inside = 2 <= x < size - 2 and 2 <= y < size - 2
            if bits == 32:
                xor += bytes((color[2], color[1], color[0], 255 if inside else 0))
            else:
                xor += bytes((color[2], color[1], color[0])) if inside else b"\0\0\0"
            if not inside:
                mrow[x // 8] |= 0x80 >> (x % 8)
        if bits == 24:
            xor += b"\0" * (((size * 3 + 3) & ~3) - size * 3)
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico(path, images):
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset + len(blobs))
        blobs += data
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


bmp("strip24.bmp", 64, 16, 24, strip24)
bmp("strip32.bmp", 48, 16, 32, strip32)
bmp("toolbar.bmp", 32, 15, 24, toolbar)
ico("icons.ico", [(16, 24, icon_image(16, 24, (255, 0, 0))),
                  (32, 24, icon_image(32, 24, (255, 0, 0))),
                  (24, 32, icon_image(24, 32, (0, 0, 255)))])
