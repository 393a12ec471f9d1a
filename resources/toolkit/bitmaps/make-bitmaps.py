# Regenerates the dialog controls' bitmaps: python3 make-bitmaps.py <this folder>
# Each picture is ASCII art, one character a pixel: '.' magenta (the transparent colour), other
# characters from the palette below. Strips are written as 24-bit bottom-up BMP files.
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

PALETTE = {
    '.': (255, 0, 255),  # transparent
    '#': (0, 0, 0),
    'g': (128, 128, 128),
    'l': (192, 192, 192),
    'w': (255, 255, 255),
    'b': (0, 0, 160),
    'B': (64, 128, 255),
    'r': (200, 0, 0),
    'y': (230, 200, 80),
    'o': (160, 110, 40),
}

def write_bmp(path, images, width, height):
    """Images side by side, each a list of rows of palette letters, padded to the width."""
    def pixel(x, y):
        image, column = divmod(x, width)
        return PALETTE[images[image][y].ljust(width, '.')[column]]
    write_bmp_file(path, width * len(images), height, pixel)

def pad(rows, height):
    return rows + ['.' * 16] * (height - len(rows))

# The browse button's arrows, 11 by 11: small up, down, left, right; large right, down, left, up.
def triangle(direction, size):
    grid = [['.'] * 11 for _ in range(11)]
    c = 5
    for i in range(size):
        for j in range(-i, i + 1):
            if direction == 'down': grid[c - size // 2 + i][c + j] = '#'
            if direction == 'up': grid[c + size // 2 - i][c + j] = '#'
            if direction == 'right': grid[c + j][c - size // 2 + i] = '#'
            if direction == 'left': grid[c + j][c + size // 2 - i] = '#'
    return [''.join(r) for r in grid]

browse = [triangle(d, 3) for d in ('up', 'down', 'left', 'right')] + \
         [triangle(d, 4) for d in ('right', 'down', 'left', 'up')]

# The caption's pictures, 16 by 15: the push pin (out), the push pin hot, the caption button's cross.
pin = [
    "................",
    "................",
    "................",
    "......#.....#...",
    "......#######...",
    "......#wwwlg#...",
    "......#wwwlg#...",
    "#######wwwlg#...",
    "......#wwwlg#...",
    "......#wwwlg#...",
    "......#######...",
    "......#.....#...",
    "................",
    "................",
    "................",
]
pin_hot = [row.replace('w', 'B').replace('l', 'b') for row in pin]
cross = [
    "................",
    "................",
    "................",
    "....##....##....",
    ".....##..##.....",
    "......####......",
    ".......##.......",
    "......####......",
    ".....##..##.....",
    "....##....##....",
    "................",
    "................",
    "................",
    "................",
    "................",
]
caption = [pin, pin_hot, cross]

# The edit menu's item pictures, 16 by 15: undo, cut, copy, paste, delete, select all.
undo = pad([
    "................",
    "................",
    "...b............",
    "..bb............",
    ".bbbbbbbbb......",
    "..bb......b.....",
    "...b.......b....",
    "...........b....",
    "...........b....",
    "..........b.....",
    "......bbbb......",
], 15)
cut = pad([
    "................",
    "....#.....#.....",
    "....#.....#.....",
    "....#.....#.....",
    ".....#...#......",
    ".....#...#......",
    "......#.#.......",
    ".......#........",
    "......b.b.......",
    "....bbb.bbb.....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "....bb...bb.....",
], 15)
copy = pad([
    "................",
    ".######.........",
    ".#wwww##........",
    ".#w##w#w#.......",
    ".#wwww######....",
    ".#w###wwwww##...",
    ".#wwwwwwwww#w#..",
    ".#w####w###www#.",
    ".#wwwwwwwwwwww#.",
    ".######w######..",
    "......#wwwwwww#.",
    "......#########.",
], 15)
paste = pad([
    "................",
    ".....####.......",
    "..###wwww###....",
    "..#oo####oo#....",
    "..#oooooooo#....",
    "..#oooo#######..",
    "..#oooo#wwwww#..",
    "..#oooo#w###w#..",
    "..#oooo#wwwww#..",
    "..#oooo#w###w#..",
    "..#oooo#wwwww#..",
    "..######w###w#..",
    ".......#wwwww#..",
    ".......#######..",
], 15)
delete = pad([
    "................",
    "................",
    "...rr......rr...",
    "....rr....rr....",
    ".....rr..rr.....",
    "......rrrr......",
    ".......rr.......",
    "......rrrr......",
    ".....rr..rr.....",
    "....rr....rr....",
    "...rr......rr...",
], 15)
select_all = pad([
    "................",
    "..#.#.#.#.#.#...",
    "................",
    "..#..........#..",
    ".....bbbbbb.....",
    "..#..........#..",
    ".....bbbbbb.....",
    "..#..........#..",
    ".....bbbb.......",
    "..#..........#..",
    "................",
    "..#.#.#.#.#.#...",
], 15)
edit = [undo, cut, copy, paste, delete, select_all]

# The menu bar's window commands, 16 by 16: restore, minimize, maximize, close (the system menu of a
# maximised document window shows them beside its items).
restore = pad([
    "................",
    "................",
    "................",
    ".....########...",
    ".....########...",
    ".....#......#...",
    "...########.#...",
    "...########.#...",
    "...#......#.#...",
    "...#......###...",
    "...#......#.....",
    "...#......#.....",
    "...########.....",
], 16)
minimize = pad([
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "....######......",
    "....######......",
], 16)
maximize = pad([
    "................",
    "................",
    "................",
    "...##########...",
    "...##########...",
    "...#........#...",
    "...#........#...",
    "...#........#...",
    "...#........#...",
    "...#........#...",
    "...#........#...",
    "...#........#...",
    "...##########...",
], 16)
# The caption's cross, on the menu bar's 16-row strip.
close = pad(cross, 16)
menubar = [restore, minimize, maximize, close]

out = sys.argv[1]
write_bmp(out + '/browse.bmp', browse, 11, 11)
write_bmp(out + '/caption.bmp', caption, 16, 15)
write_bmp(out + '/edit.bmp', edit, 16, 15)
write_bmp(out + '/menubar.bmp', menubar, 16, 16)
