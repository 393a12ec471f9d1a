# Regenerates the browser page's pictures: python3 make-browser-pictures.py <this folder>
# The item preview's header pictures (48 x 48, 24-bit BMP on white, as the header is painted white):
# mail 187, calendar entry 188, contact 189, journal entry 190, to-do 191; and the page's icon 134
# (32 x 32, 32-bit with alpha, and its AND mask), an NSF database with a magnifying glass.
# Shapes are drawn with 4x4 supersampling; each picture is a list of (coverage test, colour) layers.
import math, struct
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

SAMPLES = 4

def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))

def paint(size, layers, base):
    """Returns rows of RGBA floats: base, then every layer blended by its coverage of each pixel."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            px = base
            for covers, colour in layers:
                hits = sum(1 for sy in range(SAMPLES) for sx in range(SAMPLES)
                           if covers(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES))
                if hits:
                    px = mix(px, colour, hits / SAMPLES ** 2)
            row.append(px)
        rows.append(row)
    return rows

def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1

def rounded(x0, y0, x1, y1, r):
    def covers(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return covers

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1

def stroke(points, half):
    segments = list(zip(points, points[1:]))
    def covers(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half * half:
                return True
        return False
    return covers

def outline(shape, inner):
    return lambda x, y: shape(x, y) and not inner(x, y)

def either(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)

WHITE = (255, 255, 255, 255)
INK = (52, 64, 92, 255)

def mail():
    body = box(6, 12, 42, 38)
    paper = (255, 248, 214, 255)
    return [(body, paper), (outline(body, box(8, 14, 40, 36)), INK),
            (stroke([(7, 13), (24, 27), (41, 13)], 1.3), INK),
            (stroke([(7, 37), (19, 25)], 1.0), (150, 140, 110, 255)),
            (stroke([(41, 37), (29, 25)], 1.0), (150, 140, 110, 255))]

def calendar():
    page = rounded(7, 8, 41, 42, 3)
    layers = [(page, (250, 250, 250, 255)), (box(7, 8, 41, 17), (200, 48, 48, 255)),
              (outline(page, rounded(9, 10, 39, 40, 2)), INK),
              (disc(16, 8, 2.2), INK), (disc(32, 8, 2.2), INK)]
    for row in range(3):
        for col in range(4):
            x, y = 12 + col * 8, 22 + row * 6.5
            colour = (84, 170, 70, 255) if (row, col) == (1, 2) else (120, 130, 150, 255)
            layers.append((box(x, y, x + 4, y + 3.5), colour))
    return layers

def contact():
    card = rounded(5, 9, 43, 40, 3)
    blue = (58, 110, 190, 255)
    return [(card, (234, 242, 252, 255)), (outline(card, rounded(7, 11, 41, 38, 2)), INK),
            (disc(18, 20, 5.5), blue), (lambda x, y: y <= 38.5 and ellipse(18, 36, 10, 8)(x, y), blue), (box(5, 38.5, 43, 40), INK),
            (box(29, 17, 39, 19), INK), (box(29, 23, 39, 25), (120, 130, 150, 255)),
            (box(29, 29, 36, 31), (120, 130, 150, 255))]

def journal():
    cover = rounded(10, 5, 40, 43, 2)
    layers = [(cover, (247, 179, 71, 255)), (outline(cover, rounded(12, 7, 38, 41, 1)), INK),
              (box(16, 10, 36, 38), (255, 250, 238, 255))]
    for i in range(5):
        layers.append((box(19, 14 + i * 5, 33, 15.2 + i * 5), (150, 140, 120, 255)))
    for i in range(5):
        y = 9 + i * 7.5
        layers.append((outline(disc(11, y, 2.8), disc(11, y, 1.5)), INK))
    return layers

def todo():
    board = rounded(9, 7, 39, 44, 2)
    green = (44, 150, 70, 255)
    layers = [(board, (174, 110, 44, 255)), (box(12, 11, 36, 41), (252, 252, 252, 255)),
              (rounded(18, 4, 30, 11, 2), (120, 130, 150, 255))]
    for i in range(3):
        y = 17 + i * 8
        layers.append((stroke([(14.5, y + 1.5), (16.5, y + 3.5), (20, y - 0.5)], 1.0), green))
        layers.append((box(22, y + 1, 33, y + 2.4), INK))
    return layers

def database_icon():
    dark = (40, 84, 170, 255)
    light = (112, 160, 226, 255)
    body = either(box(4, 8, 24, 26), ellipse(14, 26, 10, 3.5))
    layers = [(body, light), (ellipse(14, 8, 10, 3.5), (186, 210, 244, 255)),
              (outline(ellipse(14, 8, 10, 3.5), ellipse(14, 8, 8.6, 2.4)), dark),
              (stroke([(4.4, 8), (4.4, 26)], 0.7), dark), (stroke([(23.6, 8), (23.6, 26)], 0.7), dark),
              (outline(ellipse(14, 14, 10, 3.5), box(0, 0, 32, 14)), dark),
              (outline(ellipse(14, 20, 10, 3.5), box(0, 0, 32, 20)), dark),
              (outline(ellipse(14, 26, 10, 3.5), box(0, 0, 32, 26)), dark),
              (disc(22, 20, 5.6), (255, 255, 255, 230)),
              (outline(disc(22, 20, 5.6), disc(22, 20, 4.2)), (60, 60, 60, 255)),
              (stroke([(26, 24), (30, 28.5)], 1.6), (60, 60, 60, 255))]
    return layers

def write_bmp(path, rows):
    write_bmp_file(path, len(rows), len(rows), lambda x, y: [round(c) for c in rows[y][x][:3]])

def write_ico(path, rows):
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((round(b), round(g), round(r), round(a)))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 22)
    open(path, 'wb').write(directory + image)

out = sys.argv[1]
for name, layers in (('preview-mail', mail()), ('preview-calendar', calendar()), ('preview-contact', contact()),
                     ('preview-journal', journal()), ('preview-todo', todo())):
    write_bmp('%s/%s.bmp' % (out, name), paint(48, layers, WHITE))
write_ico(out + '/browser-page.ico', paint(32, database_icon(), (255, 255, 255, 0)))
