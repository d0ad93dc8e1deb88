#!/usr/bin/env python3
"""Keeps the example programs shown in a document equal to their files.

A line `<!-- example: PATH -->` (PATH from the top of the tree) is followed by a fenced code
block that holds the whole file PATH. The tests build and run those files, so a document that
shows them cannot go stale.

  doc-examples.py docs/getting-started.md            # fails, saying where, when one differs
  doc-examples.py --update docs/getting-started.md   # copies the files into the document
"""
import argparse
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
# The marker, the fence that opens the block (with its language) and the block's text.
EXAMPLE = re.compile(r"(<!-- example: (\S+) -->\n(```[\w+]*)\n)(.*?)(^```$)", re.S | re.M)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("documents", nargs="+")
    parser.add_argument("--update", action="store_true")
    args = parser.parse_args()
    stale = []
    for document in args.documents:
        with open(document, encoding="utf-8") as f:
            text = f.read()

        def replace(match):
            with open(os.path.join(ROOT, match.group(2)), encoding="utf-8") as f:
                source = f.read()
            if match.group(4) != source:
                stale.append(f"{document}: the block after '<!-- example: {match.group(2)} -->'")
            return match.group(1) + source + match.group(5)

        updated = EXAMPLE.sub(replace, text)
        if args.update and updated != text:
            with open(document, "w", encoding="utf-8") as f:
                f.write(updated)
    if stale and not args.update:
        sys.exit("\n".join(f"{place} differs from the file: run tools/doc-examples.py --update "
                           f"{' '.join(args.documents)}" for place in stale))


if __name__ == "__main__":
    main()
