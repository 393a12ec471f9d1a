#!/usr/bin/env python3
"""Writes the toolbar pictures the command-bar tests load as resources.

toolbar.bmp     80 x 15, 24-bit: the five images of the test toolbar (ids 1001 to 1005), each a
                16 x 15 cell on magenta (the top-left pixel is the mask colour) holding a 12 x 11
                square of its colour at (2, 2) with a black outline: red, green, blue, yellow, teal.
toolbar24.bmp   48 x 24, 24-bit: the two images of the 24-pixel test toolbar (ids 1010 and 1011),
                20 x 20 squares at (2, 2) in orange and purple, outlined in black.
Run from this directory; the files are committed beside this script.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "..", "scripts"))
from bmpfile import write_bmp as bmp  # noqa: E402

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
COLORS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0), (0, 128, 128)]
COLORS24 = [(255, 128, 0), (128, 0, 128)]


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
