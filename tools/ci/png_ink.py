#!/usr/bin/env python3
"""Reports where a PNG has ink: pixels that are neither transparent nor near white.

  png_ink.py FILE.png...        prints "FILE ink=<fraction> box=<left>,<top>,<right>,<bottom>"
                                (box in fractions of the width and height; "box=none" when blank)
  png_ink.py --min-ink F FILE   exits 1 when a file's ink fraction is below F (default: > 0)

Plain Python (zlib only), so that CI needs no imaging package to look at a reader's output.
"""
import argparse
import struct
import sys
import zlib

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # by PNG colour type


def read_png(path):
    """Returns (width, height, rows of RGBA tuples as a flat list per row)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, palette, transparency = 8, [], None, None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            transparency = body
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if interlace or depth not in (8, 16) or colour not in CHANNELS:
        raise ValueError(f"unsupported PNG layout (depth {depth}, colour type {colour})")
    sample = depth // 8
    pixel_bytes = CHANNELS[colour] * sample
    stride = width * pixel_bytes
    raw = zlib.decompress(b"".join(idat))
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - pixel_bytes] if i >= pixel_bytes else 0
            up = previous[i]
            corner = previous[i - pixel_bytes] if i >= pixel_bytes else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + predictor) & 0xFF
        previous = line
        samples = line[::sample]  # the high byte of 16-bit samples is enough here
        row = []
        for x in range(width):
            s = samples[x * CHANNELS[colour]:(x + 1) * CHANNELS[colour]]
            if colour == 0:
                row.append((s[0], s[0], s[0], 255))
            elif colour == 2:
                row.append((s[0], s[1], s[2], 255))
            elif colour == 3:
                alpha = transparency[s[0]] if transparency and s[0] < len(transparency) else 255
                row.append(palette[s[0]] + (alpha,))
            elif colour == 4:
                row.append((s[0], s[0], s[0], s[1]))
            else:
                row.append(tuple(s))
        rows.append(row)
    return width, height, rows


def ink(path, threshold=240):
    """Fraction of inked pixels and their bounding box in fractions of the image size."""
    width, height, rows = read_png(path)
    count, box = 0, None
    for y, row in enumerate(rows):
        for x, (r, g, b, a) in enumerate(row):
            if a >= 16 and min(r, g, b) < threshold:
                count += 1
                if box is None:
                    box = [x, y, x, y]
                else:
                    box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
    if box is not None:
        box = (box[0] / width, box[1] / height, (box[2] + 1) / width, (box[3] + 1) / height)
    return count / float(width * height), box


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("files", nargs="+")
    parser.add_argument("--min-ink", type=float, default=0.0)
    args = parser.parse_args()
    status = 0
    for path in args.files:
        try:
            fraction, box = ink(path)
        except (OSError, ValueError, zlib.error) as error:
            print(f"{path} unreadable: {error}")
            status = 1
            continue
        where = "none" if box is None else ",".join(f"{v:.3f}" for v in box)
        print(f"{path} ink={fraction:.5f} box={where}")
        if fraction <= args.min_ink:
            status = 1
    sys.exit(status)


if __name__ == "__main__":
    main()
