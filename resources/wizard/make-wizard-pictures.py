#!/usr/bin/env python3
"""Writes the wizard's own pictures: the program icon, the header, the pages' pictures and step marks,
the buttons' icons, the folder images of the browser's tree and list, the tool buttons, the toolbar
strip and the link cursor.  Run from this directory: python3 make-wizard-pictures.py
Bitmaps are 24-bit BMPs; those drawn on magenta (255, 0, 255) use it as their transparent colour.
Icons are 32-bit ICOs with an AND mask; the cursor is a 32 x 32 monochrome CUR with its hot spot at
(16, 16). Shapes are drawn with 4 x 4 supersampling for smooth edges.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

SS = 4
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
INK = (60, 60, 70)
BLUE = (40, 100, 210)
DARK_BLUE = (20, 55, 135)
GREEN = (40, 160, 60)
DARK_GREEN = (15, 100, 30)
RED = (210, 40, 40)
DARK_RED = (130, 20, 20)
YELLOW = (250, 206, 70)
DARK_YELLOW = (160, 115, 15)
GREY = (150, 150, 160)


# ---- Shapes: functions (x, y) -> inside, on a continuous plane where pixel (i, j) spans i..i+1 ----
def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def segment(x0, y0, x1, y1, half):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half

    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                cross = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < cross:
                    hit = not hit
        return hit

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def shifted(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


# ---- Pictures ----------------------------------------------------------------------------------------
def blend(a, b, t):
    return tuple(int(round(a[i] * (1 - t) + b[i] * t)) for i in range(3))


class Picture:
    """An RGBA picture; alpha 0 is transparent (magenta in a BMP)."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        self.px = [[(background, 255) if background else (MAGENTA, 0) for _ in range(w)] for _ in range(h)]

    def paint(self, shape, colour, x0=0, y0=0, x1=None, y1=None):
        x1 = self.w if x1 is None else x1
        y1 = self.h if y1 is None else y1
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if shape(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                if not hits:
                    continue
                t = hits / (SS * SS)
                old, alpha = self.px[y][x]
                if alpha == 0:
                    # On a transparent pixel an edge gets the full colour once half covered, so that
                    # the mask cuts a clean outline.
                    if t >= 0.5:
                        self.px[y][x] = (colour, 255)
                else:
                    self.px[y][x] = (blend(old, colour, t), 255)

    def outline(self, shape, fill, edge, width=1.0):
        """shape filled with fill, with an edge band of the given width inside its border."""
        self.paint(shape, edge)
        inner = lambda x, y: all(shape(x + dx, y + dy) for dx, dy in
                                 ((width, 0), (-width, 0), (0, width), (0, -width)))
        self.paint(lambda x, y: shape(x, y) and inner(x, y), fill)

    def gradient(self, x0, y0, x1, y1, top, bottom, horizontal=False):
        for y in range(y0, y1):
            for x in range(x0, x1):
                t = (x - x0) / max(1, x1 - x0 - 1) if horizontal else (y - y0) / max(1, y1 - y0 - 1)
                self.px[y][x] = (blend(top, bottom, t), 255)

    def blit(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                colour, alpha = other.px[y][x]
                if alpha and 0 <= x + dx < self.w and 0 <= y + dy < self.h:
                    self.px[y + dy][x + dx] = (colour, alpha)


def write_bmp(path, pictures):
    """One picture, or a strip of pictures of one height side by side."""
    if isinstance(pictures, Picture):
        pictures = [pictures]
    h = pictures[0].h
    w = sum(p.w for p in pictures)
    rows = []
    for y in range(h):
        row = []
        for p in pictures:
            row += [c if a else MAGENTA for c, a in p.px[y]]
        rows.append(row)
    write_bmp_file(path, w, h, lambda x, y: rows[y][x])


def icon_image(p):
    xor = bytearray()
    for y in reversed(range(p.h)):
        for x in range(p.w):
            (r, g, b), a = p.px[y][x]
            xor += bytes((b, g, r, a)) if a else bytes(4)
    mask_stride = ((p.w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(p.h)):
        bits = bytearray(mask_stride)
        for x in range(p.w):
            if not p.px[y][x][1]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, p.w, p.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, pictures):
    images = [icon_image(p) for p in pictures]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for p, data in zip(pictures, images):
        out += struct.pack("<BBBBHHII", p.w % 256, p.h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_cur(path, p, hot_x, hot_y):
    """A monochrome cursor: opaque dark pixels black, opaque light ones white, the rest transparent."""
    stride = ((p.w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(p.h)):
        xbits, mbits = bytearray(stride), bytearray(stride)
        for x in range(p.w):
            (r, g, b), a = p.px[y][x]
            if not a:
                mbits[x // 8] |= 0x80 >> (x % 8)
            elif r + g + b > 3 * 128:
                xbits[x // 8] |= 0x80 >> (x % 8)
        xor += xbits
        mask += mbits
    info = struct.pack("<IiiHHIIiiII", 40, p.w, p.h * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = info + palette + xor + mask
    out = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", p.w, p.h, 2, 0, hot_x, hot_y, len(data), 22)
    with open(path, "wb") as f:
        f.write(out + data)


def scaled(draw, size):
    """draw(picture, unit) on a size x size picture, with unit = size / 16."""
    p = Picture(size, size)
    draw(p, size / 16.0)
    return p


# ---- Motifs, drawn in a 16-unit square --------------------------------------------------------------
def envelope(p, u, x=1, y=4, w=14, h=9):
    body = box(x * u, y * u, (x + w) * u, (y + h) * u)
    p.outline(body, (255, 250, 235), INK, 0.8 * u / 1.5 + 0.3)
    p.paint(segment(x * u, y * u, (x + w / 2) * u, (y + h * 0.6) * u, 0.45 * u), INK)
    p.paint(segment((x + w) * u, y * u, (x + w / 2) * u, (y + h * 0.6) * u, 0.45 * u), INK)


def folder(p, u, fill=YELLOW, edge=DARK_YELLOW):
    p.outline(box(1 * u, 3 * u, 7 * u, 6 * u), fill, edge, 0.7)
    p.outline(box(1 * u, 4.5 * u, 15 * u, 14 * u), fill, edge, 0.7)


def database(p, u, x=0.0, y=0.0, fill=(90, 150, 220), edge=DARK_BLUE):
    cx = x + 8
    body = union(box((cx - 6) * u, (y + 4) * u, (cx + 6) * u, (y + 12) * u),
                 ellipse(cx * u, (y + 12) * u, 6 * u, 2.2 * u),
                 ellipse(cx * u, (y + 4) * u, 6 * u, 2.2 * u))
    p.outline(body, fill, edge, 0.8)
    p.paint(ring(cx * u, (y + 4) * u, 6 * u, 5.2 * u), edge, 0, 0, p.w, int((y + 4.5) * u) + 1)
    p.paint(lambda px, py: abs(((px - cx * u) / (6 * u)) ** 2 + ((py - (y + 4) * u) / (2.2 * u)) ** 2 - 1) < 0.18,
            edge)
    for band in (7, 10):
        p.paint(lambda px, py, b=band: abs(((px - cx * u) / (6 * u)) ** 2 + ((py - (y + b) * u) / (2.2 * u)) ** 2 - 1)
                < 0.15 and py > (y + b) * u, edge)


def arrow_right(p, u, colour=GREEN, edge=DARK_GREEN, x0=3, y=8, x1=13, half=2.5):
    shape = union(box(x0 * u, (y - half / 2) * u, (x1 - half) * u, (y + half / 2) * u),
                  polygon([((x1 - half * 1.6) * u, (y - half * 1.4) * u), (x1 * u, y * u),
                           ((x1 - half * 1.6) * u, (y + half * 1.4) * u)]))
    p.outline(shape, colour, edge, 0.8)


def arrow_left(p, u, colour=GREEN, edge=DARK_GREEN):
    q = Picture(p.w, p.h)
    arrow_right(q, u, colour, edge)
    for y in range(q.h):
        for x in range(q.w):
            c, a = q.px[y][q.w - 1 - x]
            if a:
                p.px[y][x] = (c, a)


def check_mark(p, u, colour=GREEN):
    p.paint(segment(3 * u, 8.5 * u, 6.5 * u, 12 * u, 1.3 * u), colour)
    p.paint(segment(6.5 * u, 12 * u, 13 * u, 4 * u, 1.3 * u), colour)


def cross(p, u, colour=RED, half=1.3):
    p.paint(segment(4 * u, 4 * u, 12 * u, 12 * u, half * u), colour)
    p.paint(segment(12 * u, 4 * u, 4 * u, 12 * u, half * u), colour)


def sheet(p, u, x=3, y=1, w=10, h=14, fill=WHITE):
    p.outline(box(x * u, y * u, (x + w) * u, (y + h) * u), fill, INK, 0.8)
    for line in range(3, int(h) - 2, 2):
        p.paint(box((x + 2) * u, (y + line) * u, (x + w - 2) * u, (y + line + 0.6) * u), (150, 170, 200))


def pst_file(p, u):
    """The source: a sheet with an envelope on it."""
    sheet(p, u, 2, 1, 10, 14)
    envelope(p, u, 5, 7, 10, 7)


def nsf_file(p, u):
    sheet(p, u, 2, 1, 10, 14)
    q = Picture(p.w, p.h)
    database(q, u * 0.6, 0, 0)
    p.blit(q, int(6 * u), int(6 * u))


# ---- The files -----------------------------------------------------------------------------------------
def program_icon(size):
    def draw(p, u):
        envelope(p, u, 0.5, 1.5, 9, 6)
        arrow_right(p, u, BLUE, DARK_BLUE, 5, 9.5, 11, 2)
        q = Picture(p.w, p.h)
        database(q, u * 0.55)
        p.blit(q, int(7.5 * u), int(7 * u))

    return scaled(draw, size)


def header():
    """33 pixels high: the view lays its tab window out below the header's height."""
    w, h = 640, 33
    p = Picture(w, h, (255, 255, 255))
    p.gradient(0, 0, w, h, (34, 82, 170), (70, 130, 215))
    for y in range(h):  # a lighter sheen over the left part, fading out to the right
        for x in range(w):
            t = max(0.0, 1 - x / 420.0) * 0.35 * (1 - y / h)
            c, a = p.px[y][x]
            p.px[y][x] = (blend(c, WHITE, t), a)
    p.paint(box(0, h - 2, w, h), (250, 211, 10))  # the pages' yellow strip, repeated as a rule
    logo = program_icon(28)
    p.blit(logo, 10, 2)
    # Three steps as dots joined by a line: select, export, save.
    for i in range(3):
        cx = 420 + i * 60
        if i < 2:
            p.paint(box(cx, 14, cx + 60, 17), (200, 220, 250))
        p.paint(circle(cx, 15.5, 8), WHITE)
        p.paint(circle(cx, 15.5, 6), (250, 211, 10) if i == 2 else (120, 170, 235))
    return p


def header_fill():
    """The header's right edge, stretched over the rest of the view."""
    full = header()
    p = Picture(8, full.h, (0, 0, 0))
    for y in range(full.h):
        for x in range(8):
            p.px[y][x] = full.px[y][full.w - 8 + x]
    return p


def step_images():
    """54 marks of 16 x 16; 46 marks the current step, 53 a step done. The others are plain dots."""
    strip = []
    for i in range(54):
        p = Picture(16, 16)
        if i == 46:
            arrow_right(p, 1.0, (250, 160, 20), (170, 90, 0), 2, 8, 15, 3)
        elif i == 53:
            p.paint(circle(8, 8, 7.5), DARK_GREEN)
            p.paint(circle(8, 8, 6.5), GREEN)
            p.paint(segment(4.5, 8.5, 7, 11, 1.1), WHITE)
            p.paint(segment(7, 11, 11.5, 5, 1.1), WHITE)
        else:
            p.paint(circle(8, 8, 3), GREY)
        strip.append(p)
    return strip


def folder_icon(kind):
    def draw(p, u):
        if kind == "root":
            pst_file(p, u)
            return
        folder(p, u)
        if kind == "drafts":
            p.paint(segment(6 * u, 12 * u, 13 * u, 6 * u, 0.9 * u), (60, 60, 200))
        elif kind == "calendar":
            p.outline(box(5 * u, 7 * u, 13 * u, 13.5 * u), WHITE, RED, 0.8)
            p.paint(box(5 * u, 7 * u, 13 * u, 9 * u), RED)
        elif kind == "contacts":
            p.paint(circle(9 * u, 8.5 * u, 1.8 * u), DARK_BLUE)
            p.paint(ellipse(9 * u, 13 * u, 3.2 * u, 2.2 * u), DARK_BLUE)
        elif kind == "tasks":
            p.paint(segment(6 * u, 10 * u, 8 * u, 12 * u, 0.8 * u), DARK_GREEN)
            p.paint(segment(8 * u, 12 * u, 12 * u, 7 * u, 0.8 * u), DARK_GREEN)
        elif kind == "notes":
            p.outline(box(6 * u, 7 * u, 12.5 * u, 13 * u), (255, 250, 150), DARK_YELLOW, 0.7)
        elif kind == "trash":
            p.outline(box(6.5 * u, 7 * u, 11.5 * u, 13.5 * u), (210, 210, 215), INK, 0.7)
            p.paint(box(5.5 * u, 6.5 * u, 12.5 * u, 7.5 * u), INK)
        elif kind == "inbox":
            envelope(p, u, 5, 7.5, 8, 5.5)
        elif kind == "journal":
            p.outline(box(6 * u, 6.5 * u, 12 * u, 13.5 * u), (120, 80, 160), (70, 40, 100), 0.7)
        elif kind == "sent":
            arrow_right(p, u, BLUE, DARK_BLUE, 5, 10, 14, 2)

    return scaled(draw, 16)


def mail_list_images():
    """Images 11 to 15 of the small list: mail, read mail, note, flag and (15) the attachment clip."""
    mail = scaled(lambda p, u: envelope(p, u), 16)
    read = scaled(lambda p, u: (envelope(p, u), p.paint(box(2 * u, 5 * u, 14 * u, 6 * u), GREY)), 16)
    note = scaled(lambda p, u: p.outline(box(3 * u, 3 * u, 13 * u, 13 * u), (255, 250, 150), DARK_YELLOW, 0.8), 16)
    flag = scaled(lambda p, u: (p.paint(box(4 * u, 2 * u, 5 * u, 15 * u), INK),
                                p.paint(polygon([(5 * u, 2.5 * u), (13 * u, 5 * u), (5 * u, 8 * u)]), RED)), 16)

    def clip(p, u):
        grey = (90, 90, 100)
        p.paint(minus(ellipse(8 * u, 5 * u, 3 * u, 3.5 * u), ellipse(8 * u, 5 * u, 2 * u, 2.5 * u)), grey, 0, 0, 16, 6)
        p.paint(box(5 * u, 5 * u, 6 * u, 12 * u), grey)
        p.paint(box(10 * u, 5 * u, 11 * u, 10 * u), grey)
        p.paint(minus(ellipse(7.5 * u, 12 * u, 2.5 * u, 2.5 * u), ellipse(7.5 * u, 12 * u, 1.5 * u, 1.5 * u)), grey,
                0, 12, 16, 16)
        p.paint(box(7.5 * u, 7 * u, 8.5 * u, 12 * u), grey)

    return [mail, read, note, flag, scaled(clip, 16)]


def large_image(kind):
    """32 x 27 pictures of the large list."""
    p = Picture(32, 27)
    u = 27 / 16.0
    q = Picture(27, 27)
    {"mail": lambda: envelope(q, u), "calendar": lambda: folder_icon_into(q, "calendar", u),
     "contact": lambda: folder_icon_into(q, "contacts", u), "task": lambda: check_mark(q, u),
     "journal": lambda: q.outline(box(5 * u, 2 * u, 12 * u, 14 * u), (120, 80, 160), (70, 40, 100), 0.9),
     "note": lambda: q.outline(box(3 * u, 3 * u, 13 * u, 13 * u), (255, 250, 150), DARK_YELLOW, 0.9)}[kind]()
    p.blit(q, 2, 0)
    return p


def folder_icon_into(q, kind, u):
    src = folder_icon(kind)
    big = Picture(q.w, q.h)
    for y in range(q.h):
        for x in range(q.w):
            big.px[y][x] = src.px[min(15, int(y / u))][min(15, int(x / u))]
    q.blit(big, 0, 0)


def tool_button(kind, state):
    """The main view's tool buttons (32 x 32): locate NSF, convert, help, about; normal, hot, pressed."""
    fills = {"normal": (236, 240, 248), "hot": (255, 236, 170), "pressed": (250, 211, 10)}
    p = Picture(32, 32, fills[state])
    p.paint(minus(box(0, 0, 32, 32), box(1, 1, 31, 31)), (120, 130, 150))
    u = 1.5
    q = Picture(24, 24)
    if kind == "locate":
        nsf_file(q, u)
    elif kind == "convert":
        arrow_right(q, u, BLUE, DARK_BLUE)
    elif kind == "help":
        q.paint(circle(12, 12, 10.5), BLUE)
        q.paint(minus(ring(12, 9, 4.5, 2.4), box(0, 9, 12, 24)), WHITE)
        q.paint(box(11, 12, 13.5, 16), WHITE)
        q.paint(circle(12.2, 19, 1.5), WHITE)
    elif kind == "about":
        q.paint(circle(12, 12, 10.5), (30, 130, 80))
        q.paint(circle(12, 6.5, 1.6), WHITE)
        q.paint(box(10.5, 10, 13.5, 19), WHITE)
    p.blit(q, 4, 4)
    return p


def button_icon(kind):
    def draw(p, u):
        if kind == "select":
            folder(p, u)
        elif kind == "remove":
            sheet(p, u, 2, 1, 9, 12)
            q = Picture(p.w, p.h)
            cross(q, u * 0.6, RED, 2.0)
            p.blit(q, int(6 * u), int(6 * u))
        elif kind == "remove_all":
            sheet(p, u, 1, 1, 8, 11)
            sheet(p, u, 4, 3, 8, 11)
            cross(p, u, RED)
        elif kind == "next":
            arrow_right(p, u, GREEN, DARK_GREEN, 2, 8, 14, 3)
        elif kind == "back":
            arrow_left(p, u, GREEN, DARK_GREEN)
        elif kind == "exit":
            p.outline(box(2 * u, 1 * u, 10 * u, 15 * u), (200, 150, 90), (110, 70, 30), 0.8)
            arrow_right(p, u, RED, DARK_RED, 7, 8, 15, 2.5)
        elif kind == "stop":
            octagon = [(5, 1), (11, 1), (15, 5), (15, 11), (11, 15), (5, 15), (1, 11), (1, 5)]
            p.outline(polygon([(x * u, y * u) for x, y in octagon]), RED, DARK_RED, 0.8)
            p.paint(box(4 * u, 7 * u, 12 * u, 9 * u), WHITE)
        elif kind == "preview":
            sheet(p, u, 1, 1, 9, 12)
            p.paint(ring(10 * u, 9 * u, 4 * u, 2.8 * u), INK)
            p.paint(segment(13 * u, 12 * u, 15 * u, 14.5 * u, 1 * u), INK)

    return scaled(draw, 16)


def source_icon(kind):
    return [scaled(pst_file if kind == "pst" else nsf_file, 32), scaled(pst_file if kind == "pst" else nsf_file, 16)]


def page_footer():
    """The picture at the bottom left of every page: the program's mark above a short rule."""
    p = Picture(180, 48, (255, 255, 255))
    p.blit(program_icon(32), 0, 4)
    for i in range(3):
        p.paint(box(40 + i * 44, 18, 74 + i * 44, 22), [(120, 170, 235), (90, 140, 220), (250, 211, 10)][i])
    return p


def page_pst_picture():
    """Beside page one's heading: the PST file, 48 x 48, on white."""
    p = Picture(48, 48, (255, 255, 255))
    p.blit(scaled(pst_file, 48), 0, 0)
    return p


def page_steps_picture():
    """Beside page one's description: a PST becoming an NSF, 64 x 64, on white."""
    p = Picture(64, 64, (255, 255, 255))
    p.blit(scaled(pst_file, 28), 0, 4)
    q = Picture(28, 28)
    arrow_right(q, 28 / 16.0, BLUE, DARK_BLUE)
    p.blit(q, 18, 18)
    p.blit(scaled(nsf_file, 28), 34, 32)
    return p


def toolbar_strip():
    """Toolbar 216's own strip (32 x 32 per button): select PST file, export, help, home page. The
    frame gives the image manager its pictures by command; these stand until it does."""
    pictures = []
    for kind in ("select", "export", "help", "home"):
        p = Picture(32, 32)
        u = 2.0
        if kind == "select":
            folder(p, u)
        elif kind == "export":
            sheet(p, u, 1, 1, 9, 14)
            arrow_right(p, u, GREEN, DARK_GREEN, 6, 8, 15, 3)
        elif kind == "help":
            p.paint(circle(16, 16, 15), BLUE)
            p.paint(minus(ring(16, 12, 6, 3.2), box(0, 12, 16, 32)), WHITE)
            p.paint(box(14.5, 16, 17.5, 21), WHITE)
            p.paint(circle(16, 25, 2), WHITE)
        else:
            p.paint(circle(16, 16, 15), (70, 140, 230))
            p.paint(ellipse(11, 11, 5, 3.5), GREEN)
            p.paint(ellipse(20, 21, 4.5, 6), GREEN)
        pictures.append(p)
    return pictures


def link_cursor():
    """A pointing hand whose finger tip is the hot spot (16, 16)."""
    p = Picture(32, 32)
    hand = union(box(14.5, 16, 18, 26), box(18, 20, 21, 27), box(21, 21, 24, 27), box(24, 22, 27, 28),
                 box(13, 24, 27, 31), ellipse(16.25, 16.5, 1.75, 1.5), segment(11, 22, 14.5, 26, 1.6))
    p.outline(hand, WHITE, BLACK, 1.0)
    return p


def main():
    write_ico("program.ico", [program_icon(32), program_icon(16)])
    write_bmp("header.bmp", header())
    write_bmp("header-fill.bmp", header_fill())
    write_bmp("step-images.bmp", step_images())
    write_bmp("list-images.bmp", mail_list_images())
    for name, kind in (("folder-root", "root"), ("folder-drafts", "drafts"), ("folder", "other"),
                       ("folder-calendar", "calendar"), ("folder-contacts", "contacts"), ("folder-tasks", "tasks"),
                       ("folder-notes", "notes"), ("folder-trash", "trash"), ("folder-inbox", "inbox"),
                       ("folder-journal", "journal"), ("folder-sent", "sent")):
        write_ico(name + ".ico", [folder_icon(kind)])
    for name, kind in (("large-mail", "mail"), ("large-calendar", "calendar"), ("large-contact", "contact"),
                       ("large-task", "task"), ("large-journal", "journal"), ("large-note", "note")):
        write_bmp(name + ".bmp", large_image(kind))
    for kind in ("locate", "convert", "help", "about"):
        for state in ("normal", "hot", "pressed"):
            if kind in ("help", "about") and state == "pressed":
                continue
            write_bmp("tool-%s-%s.bmp" % (kind, state), tool_button(kind, state))
    for kind in ("select", "remove", "remove_all", "next", "back", "exit", "stop", "preview"):
        write_ico("button-%s.ico" % kind.replace("_", "-"), [button_icon(kind)])
    write_ico("source-pst.ico", source_icon("pst"))
    write_ico("source-nsf.ico", source_icon("nsf"))
    write_bmp("page-footer.bmp", page_footer())
    write_bmp("page-pst.bmp", page_pst_picture())
    write_bmp("page-steps.bmp", page_steps_picture())
    write_bmp("toolbar-standard.bmp", toolbar_strip())
    write_cur("link.cur", link_cursor(), 16, 16)


if __name__ == "__main__":
    main()
