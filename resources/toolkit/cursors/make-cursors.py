# Regenerates the toolkit cursors: python3 make-cursors.py <this folder>
# Writes 32x32 monochrome cursors from small ASCII pictures ('#' black, '.' white, ' ' transparent).
import struct, sys
def cursor(path, rows, hot):
    W = H = 32
    rows = [r.ljust(W)[:W] for r in rows] + [' ' * W] * (H - len(rows))
    xor = bytearray(); andm = bytearray()
    for r in reversed(rows):
        xb = 0; ab = 0; xs = bytearray(); as_ = bytearray()
        for i, ch in enumerate(r):
            bit = 7 - i % 8
            if ch == '.': xb |= 1 << bit
            if ch == ' ': ab |= 1 << bit
            if i % 8 == 7:
                xs.append(xb); as_.append(ab); xb = ab = 0
        xor += xs; andm += as_
    header = struct.pack('<IiiHHIIiiII', 40, W, H * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + bytes(xor) + bytes(andm)
    data = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', W, H, 2, 0, hot[0], hot[1], len(image), 22) + image
    open(path, 'wb').write(data)
arrow = ["#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#", "#........#",
         "#.....####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#", "     ####"]
def with_badge(badge):
    rows = list(arrow) + [""] * 14
    for i, b in enumerate(badge):
        rows[18 + i] = " " * 12 + b
    return rows
plus = ["#########", "#.......#", "#...#...#", "#...#...#", "#.#####.#", "#...#...#", "#...#...#", "#.......#", "#########"]
box = ["#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########"]
none = ["   #####", "  #.....#", " #.##...#", "#..#.#..#", "#..##...#", " #.....# ", "  #####"]
out = sys.argv[1]
cursor(out + "/dragcopy.cur", with_badge(plus), (0, 0))
cursor(out + "/dragmove.cur", with_badge(box), (0, 0))
cursor(out + "/dragnone.cur", [" " * 4 + r for r in none] + [""], (8, 4))
hs = []
for y in range(32):
    hs.append(" " * 14 + ("#..#" if y not in (15, 16) else "#..#"))
hs[15] = "   ##       #..#       ##"; hs[16] = "  #.#########..#########.#"
hs[17] = "   ##       #..#       ##"
cursor(out + "/hsplitbar.cur", hs, (15, 16))
vs = [" " * 16 for _ in range(32)]
for y in (14, 15, 16, 17):
    vs[y] = "#" * 32 if y in (14, 17) else "." * 32
vs[6] = " " * 15 + "#"; vs[7] = " " * 14 + "#.#"; vs[24] = " " * 14 + "#.#"; vs[25] = " " * 15 + "#"
cursor(out + "/vsplitbar.cur", vs, (16, 15))
hand = ["     ##", "    #..#", "    #..#", "    #..#", "    #..###", "    #..#..###", " ## #..#..#..##", "#..##.........#",
        "#...#.........#", " #............#", "  #...........#", "  #..........#", "   #.........#", "    #.......#", "    #########"]
cursor(out + "/hand.cur", hand, (5, 0))
# The resize cursor of a control's edge while customizing: a double arrow across two bars.
bars = "            #.# #.#"
rs = [""] * 8 + [bars] * 4 + [
    "     #      #.# #.#      #",
    "    ##      #.# #.#      ##",
    "   #.########.# #.########.#",
    "  #.........................#",
    "   #.########.# #.########.#",
    "    ##      #.# #.#      ##",
    "     #      #.# #.#      #",
] + [bars] * 4
cursor(out + "/resize.cur", rs, (15, 15))
# The image editor's cursors over the picture: a cross for the shapes, a pencil, a paint can and a
# colour picker, each with its hot spot where it paints.
cross = [""] * 8 + ["               #"] * 6 + ["", "         ######  ######", ""] + ["               #"] * 6
cursor(out + "/editorline.cur", cross, (15, 15))
pencil = ["#", "##", "#.#", " #..#", "  #..#", "   #..#", "    #..#", "     #..#", "      #..#", "       #..#",
          "        #..#", "         #..#", "          #.#", "           #"]
cursor(out + "/editorpencil.cur", pencil, (0, 0))
can = ["#", "#", "#   ###", "#  #...#", "# #.....#", "##.......#", "#.........#", " #.......#", "  #.....#",
       "   #...#", "    ###"]
cursor(out + "/editorfill.cur", can, (0, 0))
picker = ["         ##", "        ####", "       ####", "      ###", "     #.#", "    #.#", "   #.#", "  #.#", " ##",
          "#"]
cursor(out + "/editorpick.cur", picker, (0, 9))
