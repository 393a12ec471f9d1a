# Regenerates the image-button test bitmaps: python3 make-test-bitmaps.py <this folder>
# 24x24 24-bit BMPs: a filled square (red for the in-image, blue for the out-image, grey for the
# disabled image) on white, the colour the tests name as transparent.
import struct, sys

def write_square(path, colour):
    w = h = 24
    row = bytearray()
    data = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = colour if 4 <= x < 20 and 4 <= y < 20 else (255, 255, 255)
            row += bytes((b, g, r))
        data += row  # 72 bytes: already a multiple of 4
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, 'wb').write(header + info + data)

out = sys.argv[1]
write_square(out + "/in.bmp", (200, 30, 30))
write_square(out + "/out.bmp", (30, 30, 200))
write_square(out + "/disabled.bmp", (128, 128, 128))
