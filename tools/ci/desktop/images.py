#!/usr/bin/env python3
"""Measurements on the pictures of the desktop check (tools/ci/desktop-check.sh).

  images.py box SHOT.png
      The page in a screenshot of the viewer: the rectangle that interrupts the page view's
      background colour (#5f676e) around the middle of the image, printed as ImageMagick's
      crop geometry WIDTHxHEIGHT+LEFT+TOP. Exits 1 when no page with background on all four
      sides is found.
  images.py square PAGE.pgm DPI X Y
      The square of lines whose middle is near (X, Y) mm from the top left of a page rendered
      at DPI: prints the centres of its left, right, top and bottom lines in mm.

Reads images as PPM/PGM through ImageMagick's convert, so that it needs no imaging package.
"""
import subprocess
import sys

BACKGROUND = (0x5F, 0x67, 0x6E)


def read_pnm(path, kind):
    """(width, height, channels, bytes) of an image converted to PPM or PGM."""
    data = subprocess.run(["convert", path, "-depth", "8", kind + ":-"], check=True,
                          capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    return int(fields[1]), int(fields[2]), 3 if kind == "ppm" else 1, data[pos + 1:]


def run_end(start, step, limit, test):
    """The last position from `start` on, going by `step`, at which `test` still holds."""
    position = start
    while 0 <= position + step < limit and test(position + step):
        position += step
    return position


def page_box(path):
    width, height, _, pixels = read_pnm(path, "ppm")

    def background(x, y):
        at = (y * width + x) * 3
        return tuple(pixels[at:at + 3]) == BACKGROUND

    y = height // 2
    x = width - 1
    while x > 0 and not background(x, y):  # the view is on the right: background first
        x -= 1
    right = run_end(x, -1, width, lambda p: background(p, y)) - 1
    left = run_end(right, -1, width, lambda p: not background(p, y))
    if right <= left or left == 0 or background(right, y):
        sys.exit("images.py: no page across the middle row")
    column = (left + right) // 2
    top = run_end(y, -1, height, lambda p: not background(column, p))
    bottom = run_end(y, 1, height, lambda p: not background(column, p))
    if top == 0 or bottom == height - 1:
        sys.exit("images.py: the page is cut off at the top or bottom")
    print(f"{right - left + 1}x{bottom - top + 1}+{left}+{top}")


def square(path, dpi, x_mm, y_mm):
    width, height, _, pixels = read_pnm(path, "pgm")
    per_mm = dpi / 25.4
    cx, cy = round(x_mm * per_mm), round(y_mm * per_mm)

    def line_centres(values):
        """Centres of the first and the last dark run."""
        dark = [i for i, v in enumerate(values) if v < 128]
        if not dark:
            sys.exit("images.py: no square there")
        first_end = run_end(dark[0], 1, len(values), lambda i: values[i] < 128)
        last_start = run_end(dark[-1], -1, len(values), lambda i: values[i] < 128)
        return (dark[0] + first_end) / 2 / per_mm, (last_start + dark[-1]) / 2 / per_mm

    row = pixels[cy * width:(cy + 1) * width]
    column = pixels[cx::width][:height]
    left, right = line_centres(row)
    top, bottom = line_centres(column)
    print(f"left={left:.2f} right={right:.2f} top={top:.2f} bottom={bottom:.2f}")


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "box":
        page_box(sys.argv[2])
    elif len(sys.argv) == 6 and sys.argv[1] == "square":
        square(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
