#!/usr/bin/env python3
"""Writes the toolbar pictures the command-bar tests load as resources.

toolbar.bmp     80 x 15, 24-bit: the five images of the test toolbar (ids 1001 to 1005), each a
                16 x 15 cell on magenta (the top-left pixel is the mask colour) holding a 12 x 11
                square of its colour at (2, 2) with a black outline: red, green, blue, yellow, teal.
toolbar24.bmp   48 x 24, 24-bit: the two images of the 24-pixel test toolbar (ids 1010 and 1011),
                20 x 20 squares at (2, 2) in orange and purple, outlined in black.
Run from this directory; the files are committed beside this script.
"""
import struct

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
COLORS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0), (0, 128, 128)]
COLORS24 = [(255, 128, 0), (128, 0, 128)]


def bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b); 24 bits, rows stored bottom-up."""
    row_bytes = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def square_cell(colors, cell, size_x, size_y):
    """A square of colors[j] at (2, 2) in cell j, outlined in black, on magenta."""
    def pixel(x, y):
        j, lx = divmod(x, cell)
        if not (2 <= lx < 2 + size_x and 2 <= y < 2 + size_y):
            return MAGENTA
        if lx in (2, 1 + size_x) or y in (2, 1 + size_y):
            return BLACK
        return colors[j]
    return pixel


bmp("toolbar.bmp", 80, 15, square_cell(COLORS, 16, 12, 11))
bmp("toolbar24.bmp", 48, 24, square_cell(COLORS24, 24, 20, 20))
