"""Writes 24-bit BMP files for the course tests' pictures."""
import struct


def write_bmp(path, width, height, colour_at):
    """colour_at(x, y) -> (r, g, b), y counted from the top; path a Path."""
    row_size = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)
