# Regenerates the wizard dialogs' pictures: python3 make-pictures.py <this folder>
# Writes the saving-complete picture (48x48), the banner (180x51) as 24-bit BMPs, and the server-search
# animation as an uncompressed 8-bit AVI (40x40, 8 frames) that the system's animation control plays
# without a codec. Shapes are drawn with 4x4 supersampling for smooth edges.
import math, struct
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

SS = 4  # supersampling per axis

def blend(a, b, t):
    return tuple(int(round(a[i] * (1 - t) + b[i] * t)) for i in range(3))

def render(w, h, background, shapes):
    """shapes: list of (inside(x, y) -> bool, colour); later shapes paint over earlier ones."""
    img = [[background(x, y) for x in range(w)] for y in range(h)]
    for y in range(h):
        for x in range(w):
            colour = img[y][x]
            for inside, shape_colour in shapes:
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                if hits:
                    colour = blend(colour, shape_colour, hits / (SS * SS))
            img[y][x] = colour
    return img

def write_bmp24(path, img):
    write_bmp_file(path, len(img[0]), len(img), lambda x, y: img[y][x])

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out

def thick_segment(x0, y0, x1, y1, half):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside

WHITE = (255, 255, 255)

# 209: a green disc with a white tick, on white.
def saving_complete():
    green = (46, 160, 67)
    tick1 = thick_segment(13.5, 25, 20.5, 32, 2.6)
    tick2 = thick_segment(20.5, 32, 35, 16.5, 2.6)
    return render(48, 48, lambda x, y: WHITE,
                  [(circle(24, 24, 21), green), (lambda x, y: tick1(x, y) or tick2(x, y), WHITE)])

# A 5x7 pixel font for the banner's capitals.
FONT = {
    'B': ["1111 ", "1   1", "1   1", "1111 ", "1   1", "1   1", "1111 "],
    'R': ["1111 ", "1   1", "1   1", "1111 ", "1 1  ", "1  1 ", "1   1"],
    'I': ["111", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", "111"],
    'N': ["1   1", "11  1", "1 1 1", "1  11", "1   1", "1   1", "1   1"],
    'D': ["1111 ", "1   1", "1   1", "1   1", "1   1", "1   1", "1111 "],
    'L': ["1    ", "1    ", "1    ", "1    ", "1    ", "1    ", "11111"],
    'E': ["11111", "1    ", "1    ", "1111 ", "1    ", "1    ", "11111"],
    'W': ["1   1", "1   1", "1   1", "1 1 1", "1 1 1", "11 11", "1   1"],
    'S': [" 1111", "1    ", "1    ", " 111 ", "    1", "    1", "1111 "],
    'T': ["11111", "  1  ", "  1  ", "  1  ", "  1  ", "  1  ", "  1  "],
    'O': [" 111 ", "1   1", "1   1", "1   1", "1   1", "1   1", " 111 "],
    'V': ["1   1", "1   1", "1   1", "1   1", " 1 1 ", " 1 1 ", "  1  "],
    'H': ["1   1", "1   1", "1   1", "11111", "1   1", "1   1", "1   1"],
    'M': ["1   1", "11 11", "1 1 1", "1 1 1", "1   1", "1   1", "1   1"],
    'P': ["1111 ", "1   1", "1   1", "1111 ", "1    ", "1    ", "1    "],
    'A': [" 111 ", "1   1", "1   1", "11111", "1   1", "1   1", "1   1"],
    'G': [" 1111", "1    ", "1    ", "1  11", "1   1", "1   1", " 111 "],
    'C': [" 1111", "1    ", "1    ", "1    ", "1    ", "1    ", " 1111"],
    'U': ["1   1", "1   1", "1   1", "1   1", "1   1", "1   1", " 111 "],
    ' ': ["  ", "  ", "  ", "  ", "  ", "  ", "  "],
    '.': [" ", " ", " ", " ", " ", " ", "1"],
}

def text_shape(text, x0, y0, scale):
    cells = set()
    x = 0
    for ch in text:
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, c in enumerate(line):
                if c == '1':
                    cells.add((x + gx, gy))
        x += len(glyph[0]) + 1
    width = (x - 1) * scale
    def inside(px, py):
        cx = math.floor((px - x0) / scale)
        cy = math.floor((py - y0) / scale)
        return (cx, cy) in cells
    return inside, width

# 225: the banner that links to the maker's site: a cream-to-white band, a blue mark and the name.
def banner():
    w, h = 180, 51
    blue = (40, 84, 170)
    def background(x, y):
        top = (255, 255, 255); bottom = (255, 254, 239)
        c = blend(top, bottom, y / (h - 1))
        if y == h - 1 or x == 0:
            return (225, 222, 200)
        return c
    name, name_w = text_shape("BRINDLE", 52, 12, 2)
    line, line_w = text_shape("VISIT OUR WEB SITE", 52, 33, 1)
    mark_outer = lambda x, y: 8 <= x <= 40 and 9 <= y <= 41
    mark_inner = lambda x, y: 12 <= x <= 36 and 13 <= y <= 37
    arrow = thick_segment(17, 32, 31, 18, 2.2)
    head1 = thick_segment(31, 18, 23, 18, 2.2)
    head2 = thick_segment(31, 18, 31, 26, 2.2)
    return render(w, h, background, [
        (mark_outer, blue), (mark_inner, WHITE),
        (lambda x, y: arrow(x, y) or head1(x, y) or head2(x, y), blue),
        (name, blue), (line, (90, 90, 90)),
    ])

# 207: eight dots on a ring, one dark and the two before it fading, turning one step per frame.
def search_frames():
    w = h = 40
    face = (255, 254, 239)
    dark = (40, 84, 170)
    light = (200, 208, 228)
    frames = []
    for f in range(8):
        shapes = []
        for i in range(8):
            a = 2 * math.pi * i / 8 - math.pi / 2
            cx, cy = 20 + 13 * math.cos(a), 20 + 13 * math.sin(a)
            age = (f - i) % 8
            colour = dark if age == 0 else blend(dark, light, 0.45) if age == 1 else \
                blend(dark, light, 0.75) if age == 2 else light
            shapes.append((circle(cx, cy, 3.6), colour))
        frames.append(render(w, h, lambda x, y: face, shapes))
    return frames

def write_avi8(path, frames, fps):
    h = len(frames[0]); w = len(frames[0][0])
    palette = []
    index = {}
    pixels = []
    for img in frames:
        data = bytearray()
        for y in reversed(range(h)):
            for x in range(w):
                c = img[y][x]
                if c not in index:
                    index[c] = len(palette); palette.append(c)
                data.append(index[c])
            data += bytes((-w) % 4)
        pixels.append(bytes(data))
    assert len(palette) <= 256, len(palette)
    frame_size = len(pixels[0])
    def chunk(fourcc, data):
        return fourcc + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')
    def lst(kind, data):
        return chunk(b'LIST', kind + data)
    n = len(frames)
    avih = struct.pack('<IIIIIIIIII4I', 1000000 // fps, frame_size * fps, 0, 0x10, n, 0, 1, frame_size,
                       w, h, 0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0, 1, fps, 0, n, frame_size,
                       0xFFFFFFFF, 0, 0, 0, w, h)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    strf = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, frame_size, 0, 0, len(palette), 0) + pal
    hdrl = lst(b'hdrl', chunk(b'avih', avih) + lst(b'strl', chunk(b'strh', strh) + chunk(b'strf', strf)))
    movi_data = b''
    idx = b''
    for p in pixels:
        idx += struct.pack('<4sIII', b'00db', 0x10, 4 + len(movi_data), len(p))
        movi_data += chunk(b'00db', p)
    body = b'AVI ' + hdrl + lst(b'movi', movi_data) + chunk(b'idx1', idx)
    open(path, 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)

out = sys.argv[1]
write_bmp24(out + "/saving-complete.bmp", saving_complete())
write_bmp24(out + "/banner.bmp", banner())
write_avi8(out + "/server-search.avi", search_frames(), 8)
