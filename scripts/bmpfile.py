"""Uncompressed BMP files for the pictures the resource scripts draw: 24 or 32 bits per pixel, rows
stored bottom-up and padded to four bytes."""
import struct


def bmp_bytes(width, height, pixel, bits=24):
    """pixel(x, y) -> (r, g, b) or (r, g, b, a), y counted from the top; 32 bits take the alpha given
    (255 when there is none)."""
    stride = (width * bits // 8 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            p = pixel(x, y)
            row += bytes((p[2], p[1], p[0]))
            if bits == 32:
                row.append(p[3] if len(p) > 3 else 255)
        data += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


def write_bmp(path, width, height, pixel, bits=24):
    with open(path, "wb") as f:
        f.write(bmp_bytes(width, height, pixel, bits))
