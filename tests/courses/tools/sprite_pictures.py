#!/usr/bin/env python3
"""Writes the small pictures of the sprite course tests as 24-bit BMP files
into the folder given as the only argument (a .vka folder of the course)."""
import sys
from pathlib import Path

from bmp import write_bmp

WHITE = (255, 255, 255)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLUE = (0, 0, 255)

folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
# Left half white (the colour of the bottom-left pixel, so transparent once
# masked by colour), right half red.
write_bmp(folder / 'half.bmp', 100, 100, lambda x, y: WHITE if x < 50 else RED)
# Three frames of 100 x 100: red, green, blue; a white dot at (10, 20) of
# the blue frame.
write_bmp(folder / 'strip.bmp', 300, 100,
          lambda x, y: WHITE if (x, y) == (210, 20) else (RED, GREEN, BLUE)[x // 100])
