#!/usr/bin/env python3
"""Writes the media button strip of the media course tests as a 24-bit BMP:
six buttons of 16 x 16 pixels side by side, in three rows of states
(normal, pressed, disabled). Argument: the file to write."""
import struct
import sys
from pathlib import Path

CELL = 16
WIDTH, HEIGHT = 6 * CELL, 3 * CELL


def colour_at(x, y):
    button, state = x // CELL, y // CELL
    edge = x % CELL in (0, CELL - 1) or y % CELL in (0, CELL - 1)
    if edge:
        return (0, 0, 0)
    level = (220, 160, 90)[state]
    return (level, level - 40 * (button % 2), 60 + 30 * button)


row_size = (WIDTH * 3 + 3) // 4 * 4
pixels = bytearray()
for y in reversed(range(HEIGHT)):
    row = bytearray()
    for x in range(WIDTH):
        r, g, b = colour_at(x, y)
        row += bytes((b, g, r))
    pixels += row + bytes(row_size - len(row))
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
Path(sys.argv[1]).write_bytes(header + info + pixels)
