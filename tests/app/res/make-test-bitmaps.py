# Regenerates the image-button test bitmaps: python3 make-test-bitmaps.py <this folder>
# 24x24 24-bit BMPs: a filled square (red for the in-image, blue for the out-image, grey for the
# disabled image) on white, the colour the tests name as transparent.
import os, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
from bmpfile import write_bmp as write_bmp_file  # noqa: E402

def write_square(path, colour):
    write_bmp_file(path, 24, 24,
                   lambda x, y: colour if 4 <= x < 20 and 4 <= y < 20 else (255, 255, 255))

out = sys.argv[1]
write_square(out + "/in.bmp", (200, 30, 30))
write_square(out + "/out.bmp", (30, 30, 200))
write_square(out + "/disabled.bmp", (128, 128, 128))
