#!/usr/bin/env python3
"""Copies the Japanese fonts that stand in for the Windows faces under Wine, with the Windows
faces' vertical metrics and a name of their own.

  windows-metrics-fonts.py OUT_DIR   writes TVGMincho.ttf, TVGGothic.ttf and TamvelLMaru.ttf

The Windows faces (ＭＳ 明朝, ＭＳ ゴシック, ...) have no internal leading: the cell is the em,
219/256 of it above the baseline (winAscent 220, winDescent 36 of 256 units). The IPA fonts
have about 0.1 em of internal leading, so GDI under Wine draws their glyphs smaller and sets
their baselines elsewhere than Windows does. These copies answer with the Windows metrics,
so that GDI's pictures of text can be compared with our player's glyph for glyph. Only the
OS/2 and hhea ascent/descent fields and the family names change (IPA -> TVG,
Motoya -> Tamvel, the same lengths, so no table moves); the outlines stay.
"""
import struct
import sys

FONTS = [  # (installed file, copy, name bytes to replace, replacement of the same length)
    ("/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf", "TVGMincho.ttf", "IPA", "TVG"),
    ("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "TVGGothic.ttf", "IPA", "TVG"),
    ("/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf", "TamvelLMaru.ttf", "Motoya",
     "Tamvel"),
]
ASCENT, DESCENT = 220, 36  # of 256 units per em


def tables(font):
    count = struct.unpack_from(">H", font, 4)[0]
    found = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", font, 12 + 16 * i)
        found[tag.decode("latin-1")] = (offset, length)
    return found


def patch(font, old, new):
    font = bytearray(font)
    where = tables(font)
    units = struct.unpack_from(">H", font, where["head"][0] + 18)[0]
    ascent = round(units * ASCENT / 256)
    descent = units - ascent
    os2 = where["OS/2"][0]
    struct.pack_into(">hh", font, os2 + 68, ascent, -descent)  # sTypoAscender, sTypoDescender
    struct.pack_into(">hHH", font, os2 + 72, 0, ascent, descent)  # sTypoLineGap, usWin*
    struct.pack_into(">hhh", font, where["hhea"][0] + 4, ascent, -descent, 0)
    start, length = where["name"]
    names = bytes(font[start:start + length])
    for a, b in ((old, new), ("".join("\0" + c for c in old), "".join("\0" + c for c in new))):
        names = names.replace(a.encode("latin-1"), b.encode("latin-1"))
    font[start:start + length] = names
    return bytes(font)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: windows-metrics-fonts.py OUT_DIR")
    for source, copy, old, new in FONTS:
        with open(source, "rb") as f:
            font = f.read()
        with open(f"{sys.argv[1]}/{copy}", "wb") as f:
            f.write(patch(font, old, new))


if __name__ == "__main__":
    main()
