#!/usr/bin/env python3
"""The first page in Python: the page of first_page.c (a framed A5 sheet, landscape, with a
title, two axes with numbered ticks and a damped wave), saved as an enhanced metafile.

  python3 first_page.py          writes first_page.emf (or the file named on the command line)
"""
import math
import sys

import tamvel
from tamvel import Align, Colour, Pen

path = sys.argv[1] if len(sys.argv) > 1 else "first_page.emf"

with tamvel.Page("A5", landscape=True) as page:
    # A frame 10 mm inside the paper: move to a corner, then draw.
    page.pen(5)  # 0.5 mm
    page.plot(10, 10, Pen.MOVE)
    for x, y in ((200, 10), (200, 138), (10, 138), (10, 10)):
        page.plot(x, y, Pen.DRAW)

    page.symbol(20, 122, 7, "tamvel Python", 0, 13)  # 13 bytes of text

    # Axes with the origin moved to (30, 70): MOVE_ORIGIN moves and makes the point (0, 0).
    page.pen(2)
    page.plot(30, 70, Pen.MOVE_ORIGIN)
    page.plot(160, 0, Pen.DRAW)
    page.plot(0, -40, Pen.MOVE)
    page.plot(0, 40, Pen.DRAW)
    for i in range(9):
        page.plot(20 * i, -1.5, Pen.MOVE)
        page.plot(20 * i, 1.5, Pen.DRAW)
        page.numbr2(20 * i, -7, 3, i, 0, -1, Align.CENTRE)  # whole numbers, centred

    # The wave in red, 0.3 mm wide.
    page.penc(Colour.RED)
    page.pen(3)
    page.plot(0, 35, Pen.MOVE)
    for i in range(1, 321):
        t = 0.5 * i
        page.plot(t, 35 * math.exp(-t / 60) * math.cos(t / 8), Pen.DRAW)

# Leaving the block closed the page (pen code 999); a failed save raises TamvelError.
page.save(path)
print(f"wrote {path}")
