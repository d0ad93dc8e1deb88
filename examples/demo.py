#!/usr/bin/env python3
"""demo - the pages of examples/demo.c drawn from Python: five A4 pages saved as enhanced
metafiles demo-page-1.emf ... demo-page-5.emf in the folder given on the command line
(default "out"; the folder must exist). The test suite checks that they hold the same records
as the C demo's pages.

  python3 examples/demo.py out

Each page is one function. The pages follow each other with pen code 5 (move, then go on to
the next page), which keeps the paper size but starts every page with a fresh coordinate
system and the pen its page slot held last; every page therefore sets its own pen.
"""
import math
import sys

import numpy as np

import tamvel as t
from tamvel import Colour, Pen

PAGE_WIDTH, PAGE_HEIGHT, MARGIN = 210.0, 297.0, 10.0


def rectangle(x1, y1, x2, y2):
    t.PLOT(x1, y1, Pen.MOVE)
    for x, y in ((x2, y1), (x2, y2), (x1, y2), (x1, y1)):
        t.PLOT(x, y, Pen.DRAW)


def draw_frame_and_grid():
    """A frame 10 mm inside the paper edge and a grid of 10 mm squares inside it."""
    t.PENW(0.05)
    t.PENC(Colour.RGB, 700, 800, 996)  # light blue, from an RGB triple on the 0..996 scale
    for x in range(10, 201, 10):
        t.PLOT(x, MARGIN, Pen.MOVE)
        t.PLOT(x, PAGE_HEIGHT - MARGIN, Pen.DRAW)
    for y in range(10, 288, 10):
        t.PLOT(MARGIN, y, Pen.MOVE)
        t.PLOT(PAGE_WIDTH - MARGIN, y, Pen.DRAW)
    t.PEN(5)  # 0.5 mm
    t.PENC(Colour.BLACK)
    rectangle(MARGIN, MARGIN, PAGE_WIDTH - MARGIN, PAGE_HEIGHT - MARGIN)


def draw_page_frame():
    """Page 1: the framed grid with a red box and its diagonals."""
    draw_frame_and_grid()
    t.PEN(3)
    t.PENC(Colour.RED)
    rectangle(50, 100, 160, 200)
    t.PLOT(50, 100, Pen.MOVE)
    t.PLOT(160, 200, Pen.DRAW)
    t.PLOT(50, 200, Pen.MOVE)
    t.PLOT(160, 100, Pen.DRAW)


def line_across(y):
    t.PLOT(30, y, Pen.MOVE)
    t.PLOT(180, y, Pen.DRAW)


def draw_page_lines():
    """Page 2: lines in pen width codes, widths in millimetres and colours."""
    draw_frame_and_grid()
    rows = iter(range(270, 0, -10))
    t.PENC(Colour.BLACK)
    for code in (0, 1, 3, 5, 10, -3, -10):
        t.PEN(code)  # tenths of a millimetre, negative: dots of 1/300 inch
        line_across(next(rows))
    for i in range(6):
        t.PENW(0.2 + 0.3 * i)  # millimetres
        line_across(next(rows))
    t.PEN(8)
    for colour in (Colour.BLACK, Colour.BLUE, Colour.RED, Colour.MAGENTA, Colour.GREEN,
                   Colour.CYAN, Colour.DARK_GREY, Colour.GREY):
        t.PENC(colour)
        line_across(next(rows))
    # A colour ramp from RGB triples.
    t.PEN(20)
    for i in range(16):
        level = i * 996 // 15
        t.PENC(Colour.RGB, level, 300, 996 - level)
        t.PLOT(30 + 9 * i, 40, Pen.MOVE)
        t.PLOT(39 + 9 * i, 40, Pen.DRAW)


def centred_square(size):
    rectangle(-size / 2, -size / 2, size / 2, size / 2)


def draw_page_transforms():
    """Page 3: origin shifts, scale factor and rotation."""
    draw_frame_and_grid()
    # A fan of rotated squares about an origin moved to (60, 220).
    t.PEN(2)
    t.PLOT(60, 220, Pen.MOVE_ORIGIN)
    for i in range(9):
        t.PENC(Colour.RGB, 996 - i * 110, i * 110, 500)
        t.ROTATE(10 * i)
        centred_square(60)
    t.ROTATE(0)

    # The same square at factors 1, 2, 4 about an origin moved by (90, 0) from there.
    t.PENC(Colour.BLUE)
    t.PLOT(90, 0, Pen.MOVE_ORIGIN)
    for factor in (1, 2, 4):
        t.FACTOR(factor)
        centred_square(60)
    t.FACTOR(1)

    # A spiral drawn in polar steps, continuing with the last-point rule (999).
    t.PENC(Colour.RED)
    t.PLOT(-45, -120, Pen.MOVE_ORIGIN)
    t.PLOT(0, 0, Pen.MOVE)
    for i in range(1, 721):
        a = i * math.pi / 90
        r = 0.06 * i
        t.PLOT(r * math.cos(a), r * math.sin(a), Pen.DRAW)
    t.PLOT(999, -60, Pen.DRAW)  # straight down from the spiral's end


def draw_page_shapes():
    """Page 4: a chart of patterned lines, fills, wedges, marks, arrows and clipping."""
    # A grid and one sine curve in each dash pattern of LINE6, with a DASHP base line.
    t.PENW(0.1)
    t.PENC(Colour.GREY)
    t.GRID(20, 195, 10, 10, 17, 8)
    t.PENW(0.3)
    steps = np.arange(60, dtype=np.float32)
    x = np.float32(20) + np.float32(2.8) * steps  # float32: passed to LINE6 as it is
    for pattern in t.Dash:
        y = 197 + 6.5 * pattern + 2.5 * np.sin(0.25 * steps + pattern)
        t.PENC(pattern % 6)
        t.LINE6(pattern, x, y)
    t.PENC(Colour.BLACK)
    t.PLOT(20, 190, Pen.MOVE)
    t.DASHP(190, 190, 2)

    # Hatched bars, one for each fill pattern 2..15, in the text and background colours.
    t.TEXTC(Colour.DARK_GREEN)
    t.SETBKC(Colour.WHITE)
    t.PENW(0.2)
    for pattern in range(t.Fill.HORIZONTAL_LINES, t.Fill.STAGGERED_WIDE_BLOCKS + 1):
        left = 20 + 12 * (pattern - 2)
        t.RECTF(left, 120, left + 9, 130 + 4 * (pattern % 7 + 1), pattern)

    # A pie of wedges, solid and patterned, with an arc around it.
    pie = (0, 70, 150, 200, 270, 360)
    for i in range(5):
        t.FILLC(i + 1)
        t.TEXTC(i + 9)
        t.WEDGE(55, 70, 30, pie[i], pie[i + 1], 0, 1 if i % 2 else 3 + i)
    t.PENC(Colour.RED)
    t.ARC(55, 70, 34, 0, 270, 0)
    t.ARCC(55, 70, 36, 0, 90)

    # Every drawn mark at data points, joined by lines (ipen -2).
    t.PENC(Colour.DARK_RED)
    t.FILLC(Colour.WHITE)
    t.PLOT(18, 280, Pen.MOVE)
    for mark in t.DrawnMark:
        t.CTSYM2(25 + 14 * mark, 275 + 3 * (mark % 3), 5, mark, 0, -2)
    t.PENC(Colour.DARK_BLUE)
    for mark in t.LineMark:
        t.CTSYMB(25 + 11 * mark, 262, 5, mark, 0, 0)

    # Arrows in the eight head styles: head only, with shaft, with a second head.
    t.PENC(Colour.BLACK)
    for head in range(t.Arrow.CLOSED, t.Arrow.OPEN + 1):
        y = 110 - 6 * head
        t.AROWHD(105, y, 160, y, 4, 3, head + 10 * (head % 3))

    # A clipped region: a frame with a hole and a triangle added, crossed by red lines.
    t.SETCLIP(165, 40, 195, 110)
    t.DIFFCLIP(172, 50, 188, 100)
    t.ADDCLIPP((180, 198, 162), (15, 36, 36))
    t.PENC(Colour.RED)
    for i in range(40):
        t.PLOT(140, 5 + 3 * i, Pen.MOVE)
        t.PLOT(200, 35 + 3 * i, Pen.DRAW)
    t.RESETCLIP()
    t.PENC(Colour.BLACK)


def draw_page_text():
    """Page: text - a Japanese title, a chart whose axes are labelled with SYMBOL and NUMBER,
    a vertical caption, an enclosed label, a root-sign expression and a row of symbol marks."""
    draw_frame_and_grid()
    t.PEN(2)
    t.PENC(Colour.BLACK)
    t.TEXTC(Colour.BLACK)

    # The title, 8 mm high, centred on the page.
    t.SETFON(t.Face.MS_MINCHO, 0)
    t.KANJI2(105, 262, 8, "文字の描画：日本語と英数字", 0, 0, t.Align.CENTRE)

    # A chart: time 0..10 s along x (30..150 mm), temperature 0..40 along y (150..230 mm).
    t.PLOT(30, 230, Pen.MOVE)
    t.PLOT(30, 150, Pen.DRAW)
    t.PLOT(150, 150, Pen.DRAW)
    for second in range(0, 11, 2):
        x = 30 + 12 * second
        t.PLOT(x, 150, Pen.MOVE)
        t.PLOT(x, 148, Pen.DRAW)
        t.NUMBR2(x, 143, 3, second, 0, -1, t.Align.CENTRE)
    for degrees in range(0, 41, 10):
        y = 150 + 2 * degrees
        t.PLOT(30, y, Pen.MOVE)
        t.PLOT(28, y, Pen.DRAW)
        t.NUMBR2(26, y - 1.5, 3, degrees, 0, 1, t.Align.RIGHT)
    t.SETFON(t.Face.MS_GOTHIC, 0)
    t.SYMBL2(90, 136, 4, "time t [s]", 0, 10, t.Align.CENTRE)
    t.SYMBL2(12, 190, 4, "temperature T", 90, 13, t.Align.CENTRE)
    t.KANJI2(150, 136, 3.5, "時間 (秒)", 0, 0, t.Align.RIGHT)
    t.PENC(Colour.RED)
    t.PEN(3)
    t.PLOT(30, 150, Pen.MOVE)
    for i in range(51):
        seconds = 0.2 * i
        t.PLOT(30 + 12 * seconds, 150 + 2 * 40 * (1 - math.exp(-seconds / 3)), Pen.DRAW)
    # The last value, written where the curve ended (999 continues at the last point).
    t.SYMBOL(999, 999, 3, " T=", 0, 3)
    t.NUMBER(999, 999, 3, 40 * (1 - math.exp(-10 / 3)), 0, 2)
    t.PENC(Colour.BLACK)
    t.PEN(2)
    t.KANJI2(30, 232, 3.5, "温度 [℃]", 0, 0, t.Align.LEFT)

    # A vertical caption down the right-hand side.
    t.SETFON(t.Face.MS_MINCHO, 0)
    t.KANJI(180, 240, 6, "縦書きの説明文ＡＢ12", 0, -10)

    # An enclosed label, a slanted text, a round gothic text.
    t.KANJI2(50, 112, 5, "囲み文字", 0, 0, t.Align.ELLIPSE + t.Align.CENTRE)
    t.KANJI(100, 100, 5, "斜め30度の文字", 30, 0)
    t.SETFON(t.Face.ROUND_GOTHIC, 0)
    t.KANJI(100, 85, 5, "丸ゴシックの文字", 0, 0)

    # A root-sign expression continuing a text.
    t.SETFON(t.Face.MS_MINCHO, 0)
    t.KANJI(30, 85, 5, "平方根：", 0, 0)
    t.ROOTK2(999, 999, 5, "ｘ＋１", 0, 0, t.Align.LEFT)

    # The sixteen symbol marks in a row, in blue, with their caption.
    t.KANJI(30, 62, 4, "記号マーク（CTSYM1）", 0, 0)
    t.PENC(Colour.BLUE)
    for mark in t.Mark:
        t.CTSYM1(34 + 9 * mark, 50, 6, mark, 0, Pen.MOVE)
    t.PENC(Colour.BLACK)


PAGES = (draw_page_frame, draw_page_lines, draw_page_transforms, draw_page_text,
         draw_page_shapes)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "out"
    t.PLOTS(PAGE_WIDTH, PAGE_HEIGHT)
    for number, draw in enumerate(PAGES):
        if number > 0:
            t.PLOT(0, 0, Pen.MOVE_NEXT_PAGE)  # close this page, open the next of the same size
        draw()
    t.PLOT(0, 0, Pen.CLOSE)

    failures = 0
    for number in range(1, len(PAGES) + 1):
        t.CHPAGE(number)
        path = f"{folder}/demo-page-{number}.emf"
        try:
            t.SAVEFILE(path)
            print(path)
        except t.TamvelError as error:
            print(f"demo: saving {path}: {error}", file=sys.stderr)
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
