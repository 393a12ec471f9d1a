# Regenerates the customize pictures: python3 make-customize-bitmaps.py <this folder>
# customize-icons.bmp: 42 simple pictures of 16 by 16 (shapes in the 16 system colours) that
#   "Change Button Image" offers, 16 colours, 672 by 16.
# editor-tools.bmp: the image editor's 16 tool pictures, 16 colours on silver (the mask colour).
# editor-tools-alpha.bmp: the same pictures in 32 bits, transparent where the other is silver.
import struct
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
SILVER = 7

def write_4bit(path, pixels, width, height):
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(0, width, 2):
            row.append((pixels[y][x] << 4) | pixels[y][x + 1])
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    data = b''.join(reversed(rows))
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    open(path, 'wb').write(header + info + palette + data)

def write_32bit(path, pixels, width, height):
    def pixel(x, y):
        c = pixels[y][x]
        return (0, 0, 0, 0) if c == SILVER else VGA[c] + (255,)
    write_bmp_file(path, width, height, pixel, 32)

def blank(fill):
    return [[fill] * 16 for _ in range(16)]

# Six shapes in seven colours: 42 pictures.
def shape(kind, colour):
    p = blank(SILVER)
    for y in range(16):
        for x in range(16):
            dx, dy = x - 7.5, y - 7.5
            inside = {
                0: 2 <= x <= 13 and 2 <= y <= 13,
                1: dx * dx + dy * dy <= 36,
                2: abs(dx) + abs(dy) <= 7,
                3: y >= 2 and abs(dx) <= (y - 2) / 2 + 0.5 and y <= 13,
                4: abs(dx) <= 1.5 or abs(dy) <= 1.5,
                5: abs(dx - dy) <= 1.5 or abs(dx + dy) <= 1.5,
            }[kind]
            if inside:
                p[y][x] = colour
    return p

icons = [shape(k, c) for k in range(6) for c in (0, 1, 2, 4, 9, 12, 5)]
strip = [sum((icon[y] for icon in icons), []) for y in range(16)]

def tool(art):
    p = blank(SILVER)
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            if ch != '.':
                p[y][x] = {'#': 0, 'r': 9, 'b': 12, 'y': 11, 'g': 8, 'w': 15}[ch]
    return p

def rows(*lines):
    return list(lines) + ['.' * 16] * (16 - len(lines))

line_down = lambda i: '.' * i + '#' + '.' * (15 - i)
tools = [
    # pencil, fill, undo, redo
    tool(rows(*['.' * (12 - i) + 'yy' + '.' * (2 + i) for i in range(11)], '..##', '..#')),
    tool(rows('', '', '....####', '...#wwww#', '..#wwwwww#', '..#wwwwww#r', '..#wwwwww#rr', '...######.rr',
              '..........r')),
    tool(rows('', '', '', '....#', '...##', '..#########', '...##......#', '....#......#', '...........#',
              '..........#', '.......####')),
    tool(rows('', '', '', '...........#', '...........##', '....#########', '...#......##', '...#......#',
              '...#', '....#', '.....####')),
    # pick colour, line, copy, paste
    tool(rows('', '...........##', '..........####', '.........####', '........###', '.......#w#', '......#w#',
              '.....#w#', '....#w#', '...#w#', '..##', '.#')),
    tool(rows(*[line_down(i + 1) for i in range(14)])),
    tool(rows('', '.#####', '.#www#', '.#www######', '.#www#wwww#', '.#####wwww#', '.....#wwww#', '.....######')),
    tool(rows('', '...####', '..#gyyg#', '..#gggg######', '..#gggg#wwww#', '..#gggg#wwww#', '..######wwww#',
              '.......######')),
    # rectangle, ellipse, clear, import
    tool(rows('', '', '..############', '..#..........#', '..#..........#', '..#..........#', '..#..........#',
              '..#..........#', '..#..........#', '..############')),
    tool(rows('', '', '.....######', '...##......##', '..#..........#', '..#..........#', '..#..........#',
              '...##......##', '.....######')),
    tool(rows('', '..r........r', '...r......r', '....r....r', '.....r..r', '......rr', '......rr', '.....r..r',
              '....r....r', '...r......r', '..r........r')),
    tool(rows('', '', '..#####', '..#yyyy#', '..#yyyy######', '..#yyyyyyyyyy#', '..#yyyyyyyyyy#',
              '..#yyyyyyyyyy#', '..#yyyyyyyyyy#', '..############')),
    # move left, down, up, right
    tool(rows('', '', '', '', '.....#', '....##', '...#########', '..##########', '...#########', '....##',
              '.....#')),
    tool(rows('', '', '.......###', '.......###', '.......###', '.......###', '.......###', '.......###',
              '....#########', '.....#######', '......#####', '.......###', '........#')),
    tool(rows('', '', '........#', '.......###', '......#####', '.....#######', '....#########', '.......###',
              '.......###', '.......###', '.......###', '.......###', '.......###')),
    tool(rows('', '', '', '', '..........#', '..........##', '..#########', '..##########', '..#########',
              '..........##', '..........#')),
]
tool_strip = [sum((t[y] for t in tools), []) for y in range(16)]

out = sys.argv[1]
write_4bit(out + '/customize-icons.bmp', strip, 16 * len(icons), 16)
write_4bit(out + '/editor-tools.bmp', tool_strip, 256, 16)
write_32bit(out + '/editor-tools-alpha.bmp', tool_strip, 256, 16)
