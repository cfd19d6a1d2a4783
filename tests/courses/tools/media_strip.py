#!/usr/bin/env python3
"""Writes the media button strip of the media course tests as a 24-bit BMP:
six buttons of 16 x 16 pixels side by side, in three rows of states
(normal, pressed, disabled). Argument: the file to write."""
import sys
from pathlib import Path

from bmp import write_bmp

CELL = 16
WIDTH, HEIGHT = 6 * CELL, 3 * CELL


def colour_at(x, y):
    button, state = x // CELL, y // CELL
    edge = x % CELL in (0, CELL - 1) or y % CELL in (0, CELL - 1)
    if edge:
        return (0, 0, 0)
    level = (220, 160, 90)[state]
    return (level, level - 40 * (button % 2), 60 + 30 * button)


write_bmp(Path(sys.argv[1]), WIDTH, HEIGHT, colour_at)
