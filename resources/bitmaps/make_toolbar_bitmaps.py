#!/usr/bin/env python3
"""Writes the main frame's toolbar pictures: 32 x 32, 24 bits, on magenta, which the image manager
takes from the top-left pixel as the transparent colour.

toolbar_select_file.bmp (232)  an open yellow folder with a sheet of paper: select a PST or NSF file
toolbar_export.bmp (229)       a sheet of paper with a green arrow pointing right: export
toolbar_help.bmp (230)         a blue disc with a white question mark: help
toolbar_homepage.bmp (223)     a blue globe with green land and a meridian grid: the home page
Run from this directory; the pictures are committed beside this script.
"""
import math
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

SIZE = 32
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def write_bmp(path, pixels):
    write_bmp_file(path, SIZE, SIZE, lambda x, y: pixels[y][x])


def canvas():
    return [[MAGENTA] * SIZE for _ in range(SIZE)]


def rect(p, x0, y0, x1, y1, color):
    """Fills x0..x1-1, y0..y1-1."""
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            p[y][x] = color


def frame(p, x0, y0, x1, y1, color):
    rect(p, x0, y0, x1, y0 + 1, color)
    rect(p, x0, y1 - 1, x1, y1, color)
    rect(p, x0, y0, x0 + 1, y1, color)
    rect(p, x1 - 1, y0, x1, y1, color)


def sheet(p, x0, y0, x1, y1):
    """A sheet of paper with a folded corner and text lines."""
    rect(p, x0, y0, x1, y1, WHITE)
    frame(p, x0, y0, x1, y1, (90, 90, 90))
    fold = 5
    for i in range(fold):
        rect(p, x1 - fold + i, y0, x1, y0 + i + 1, MAGENTA)
        p[y0 + i][x1 - fold + i] = (90, 90, 90)
    rect(p, x1 - fold, y0 + fold - 1, x1, y0 + fold, (90, 90, 90))
    for y in range(y0 + 7, y1 - 3, 3):
        rect(p, x0 + 3, y, x1 - 4, y + 1, (150, 170, 200))


def disc(p, cx, cy, radius, color, edge):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= radius:
                p[y][x] = edge if d > radius - 1.2 else color


def select_file():
    p = canvas()
    sheet(p, 12, 2, 27, 20)
    back = (214, 160, 30)
    front = (250, 206, 70)
    rect(p, 2, 9, 12, 12, back)          # the folder's tab
    rect(p, 2, 11, 26, 29, back)         # its back
    frame(p, 2, 11, 26, 29, (140, 100, 10))
    for y in range(16, 29):              # its open front, leaning right
        shift = (28 - y) // 3
        rect(p, 4 + shift, y, 30 - (28 - y) // 4, y + 1, front)
        p[y][4 + shift] = (140, 100, 10)
        p[y][29 - (28 - y) // 4] = (140, 100, 10)
    rect(p, 4, 28, 30, 29, (140, 100, 10))
    rect(p, 8, 16, 29, 17, (140, 100, 10))
    return p


def export():
    p = canvas()
    sheet(p, 3, 2, 20, 29)
    green = (30, 150, 40)
    dark = (10, 90, 20)
    rect(p, 12, 13, 22, 19, green)       # the arrow's shaft
    for i in range(9):                   # its head
        rect(p, 22 + i, 8 + i, 23 + i, 24 - i, green)
    for i in range(9):
        p[8 + i][22 + i] = dark
        p[24 - i - 1][22 + i] = dark
    frame(p, 12, 13, 23, 19, dark)
    rect(p, 22, 14, 23, 18, green)
    return p


def help_picture():
    p = canvas()
    disc(p, 16, 16, 14.5, (40, 100, 210), (20, 50, 130))
    white = WHITE
    rect(p, 12, 7, 20, 9, white)         # the question mark's arc
    rect(p, 10, 9, 13, 13, white)
    rect(p, 19, 9, 22, 15, white)
    rect(p, 16, 15, 20, 17, white)
    rect(p, 15, 17, 18, 20, white)
    rect(p, 15, 22, 18, 25, white)       # its dot
    return p


def homepage():
    p = canvas()
    disc(p, 16, 16, 14.5, (70, 140, 230), (20, 60, 140))
    land = (60, 160, 60)
    for y in range(SIZE):
        for x in range(SIZE):
            if p[y][x] != (70, 140, 230):
                continue
            # Two continents: simple blobs inside the sea.
            if (x - 11) ** 2 / 30.0 + (y - 11) ** 2 / 14.0 < 1 or (x - 20) ** 2 / 22.0 + (y - 21) ** 2 / 40.0 < 1:
                p[y][x] = land
    grid = (200, 225, 250)
    for y in range(SIZE):
        for x in range(SIZE):
            if p[y][x] in ((70, 140, 230), land):
                d = math.hypot(x + 0.5 - 16, y + 0.5 - 16)
                on_meridian = abs((x + 0.5 - 16) - 0) < 0.6 or abs(abs(x + 0.5 - 16) - 7 * math.sqrt(max(0.0, 1 - ((y + 0.5 - 16) / 14.5) ** 2))) < 0.6
                on_parallel = abs(y + 0.5 - 16) < 0.6 or abs(abs(y + 0.5 - 16) - 7) < 0.6
                if d < 13.5 and (on_meridian or on_parallel):
                    p[y][x] = grid
    return p


write_bmp("toolbar_select_file.bmp", select_file())
write_bmp("toolbar_export.bmp", export())
write_bmp("toolbar_help.bmp", help_picture())
write_bmp("toolbar_homepage.bmp", homepage())
