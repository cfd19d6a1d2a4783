"""Writes 24-bit BMP files for the course tests' pictures.

From a setup script: python3 bmp.py FILE WIDTHxHEIGHT COLOUR [COLOUR]
writes a picture of one colour, or a gradient from the first colour at the
top to the second at the bottom; colours as #RRGGBB."""
import struct
import sys
from pathlib import Path


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


def parse_colour(text):
    """'#RRGGBB' -> (r, g, b)."""
    if len(text) != 7 or not text.startswith('#'):
        raise ValueError(f'colour {text!r}: expected #RRGGBB')
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def vertical_gradient(top, bottom, height):
    """colour_at for a gradient from top (first row) to bottom (last row)."""
    def colour_at(_x, y):
        t = y / max(1, height - 1)
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return colour_at


def main(args):
    if len(args) not in (3, 4):
        sys.exit('usage: bmp.py FILE WIDTHxHEIGHT COLOUR [COLOUR]')
    width, height = (int(n) for n in args[1].split('x'))
    top = parse_colour(args[2])
    bottom = parse_colour(args[3]) if len(args) == 4 else top
    write_bmp(Path(args[0]), width, height, vertical_gradient(top, bottom, height))


if __name__ == '__main__':
    main(sys.argv[1:])
