#!/usr/bin/env python3
"""Finds the page in a screenshot of the viewer: the rectangle that interrupts the page
view's background colour (#5f676e) around the middle of the image.

  page_box.py SHOT.png     prints WIDTHxHEIGHT+LEFT+TOP (ImageMagick's crop geometry)

Exits 1 when no page with background on all four sides is found. Reads the image through
ImageMagick's convert (as PPM), so it needs no imaging package.
"""
import subprocess
import sys

BACKGROUND = (0x5F, 0x67, 0x6E)


def read_ppm(path):
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                          capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # P6, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def main():
    width, height, pixels = read_ppm(sys.argv[1])

    def is_background(x, y):
        at = (y * width + x) * 3
        return tuple(pixels[at:at + 3]) == BACKGROUND

    def run(start, step, limit, test):
        """The last position from start (exclusive of the first failing one)."""
        position = start
        while 0 <= position + step < limit and test(position + step):
            position += step
        return position

    y = height // 2
    # From the right edge: background, then the page.
    x = width - 1
    while x > 0 and not is_background(x, y):
        x -= 1
    right = run(x, -1, width, lambda p: is_background(p, y)) - 1
    left = run(right, -1, width, lambda p: not is_background(p, y))
    if right <= left or left == 0 or is_background(right, y) or not is_background(left - 1, y):
        sys.exit("page_box.py: no page across the middle row")
    column = (left + right) // 2
    top = run(y, -1, height, lambda p: not is_background(column, p))
    bottom = run(y, 1, height, lambda p: not is_background(column, p))
    if top == 0 or bottom == height - 1:
        sys.exit("page_box.py: the page is cut off at the top or bottom")
    print(f"{right - left + 1}x{bottom - top + 1}+{left}+{top}")


if __name__ == "__main__":
    main()
