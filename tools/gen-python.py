#!/usr/bin/env python3
"""Writes tamvel/_declarations.py, the table of the headers' calls from which the Python
package (python/tamvel) binds the library: each call's name, result and arguments, its group
and header, its comment (the docstring) and, for the calls that report a result code, what
each code means.

  gen-python.py -o build/default/python/tamvel/_declarations.py --version 0.1.0 include/*.h

Types are written as the header spells them: the package decides at import time which it can
pass, so a call of a type it does not know leaves that call out, not the package.

A call returns a result code (0 for success, another number for the failure met, which the
package raises as TamvelError) when its result is int32_t and its comment documents codes
other than 0: in a "Returns:" table (columns of "N  meaning", a line without a number
continuing the column above), in a sentence "Returns 0 done, 1 meaning, ...", with "Result
codes as CALL", or, for a comment that documents none, as the call it opens with ("PrintEmf
with ..." has the codes of PrintEmf).
"""
import argparse
import importlib
import os
import re

from header_calls import read_calls, write_output

# Values DIMTABR reads before it writes them back, shared with the Fortran interfaces.
READ_AND_WRITTEN = importlib.import_module("gen-fortran").READ_AND_WRITTEN
CODE = re.compile(r"-?\d+")
# Runs of words with single blanks between them: the cells of a code table.
CELL = re.compile(r"\S+(?: \S+)*")
# A piece of an inline list that starts a new code: "or 1 when ...", "the sum of 4 (...)".
INLINE_CODE = re.compile(r"(?:or |and |otherwise the sum of )?(-?\d+)\b\s*(.*)", re.S)
INLINE_SEPARATOR = re.compile(r"[,;]\s+|\s+(?:and|or)\s+")
SAME_AS = re.compile(r"Result codes as (\w+)")


def table_codes(lines):
    """The codes of a table whose rows hold one or more columns "N  meaning"."""
    codes = {}
    columns = []  # (where the column's number stands, its code), for continued lines
    for line in lines:
        cells = [(m.start(), m.group()) for m in CELL.finditer(line)]
        i = 0
        while i < len(cells):
            start, text = cells[i]
            if CODE.fullmatch(text) and i + 1 < len(cells):
                code = int(text)
                codes[code] = cells[i + 1][1]
                columns = [c for c in columns if c[0] != start] + [(start, code)]
                i += 2
                continue
            owner = [code for column, code in sorted(columns) if column <= start]
            if owner:
                codes[owner[-1]] += " " + text
            i += 1
    return codes


def outside_parentheses(text, pattern):
    """The matches of pattern in text that stand outside parentheses."""
    depth = [0]
    for character in text:
        depth.append(depth[-1] + {"(": 1, ")": -1}.get(character, 0))
    return [m for m in pattern.finditer(text) if depth[m.start()] == 0]


def sentence(text):
    """Text up to the end of its first sentence, or the colon that ends a list."""
    ends = outside_parentheses(text, re.compile(r"[.:](?=\s|$)"))
    return text[:ends[0].start()] if ends else text


def inline_codes(text):
    """The codes of "0 written, 1 not an image DC, 2 ..." or "0, or 1 when ..."."""
    pieces, start = [], 0
    for separator in outside_parentheses(text, INLINE_SEPARATOR):
        pieces.append((text[start:separator.start()], separator.group()))
        start = separator.end()
    pieces.append((text[start:], ""))
    entries = []  # [code, meaning]
    joiner = ""
    for piece, separator in pieces:
        match = INLINE_CODE.fullmatch(piece)
        if match:
            entries.append([int(match.group(1)), match.group(2)])
        elif entries:
            entries[-1][1] += joiner + piece
        joiner = separator
    # "1, 2 or 3 when ..." gives the three codes the one meaning; 0 is success and has none.
    meaning = ""
    for entry in reversed(entries):
        text = re.sub(r"^\((.*)\)$|^when ", r"\1", entry[1].strip())
        entry[1] = text or (meaning if entry[0] != 0 else "")
        meaning = entry[1]
    return {code: meaning for code, meaning in entries}


def comment_codes(comment, codes_of):
    lines = comment.split("\n")
    for i, line in enumerate(lines):
        if line.rstrip().endswith("Returns:"):
            table = []
            for row in lines[i + 1:]:
                if len(row) - len(row.lstrip()) < 2:
                    break
                table.append(row)
            return table_codes(table)
    text = " ".join(line.strip() for line in lines)
    same = SAME_AS.search(text)
    if same:
        codes = dict(codes_of(same.group(1)))
        for code, meaning in inline_codes(sentence(text[same.end():]).lstrip(" ;,")).items():
            codes[code] = f"{codes[code]}; {meaning}" if code in codes else meaning
        return codes
    returns = re.search(r"\bReturns (?=0\b)", text)
    return inline_codes(sentence(text[returns.end():])) if returns else {}


def result_codes(calls):
    """Call name -> {code: meaning} for the calls that return result codes."""
    by_name = {call.name: call for call in calls}
    found = {}

    def codes_of(name):
        if name not in found and name in by_name:
            comment = by_name[name].comment or ""
            found[name] = {}  # a comment that names its own call stops here
            codes = comment_codes(comment, codes_of)
            opening = re.match(r"(\w+) ", comment)
            if not codes and opening and opening.group(1) != name:
                codes = codes_of(opening.group(1))
            found[name] = codes
        return found.get(name, {})

    codes = {call.name: codes_of(call.name) for call in calls if call.result == "int32_t"}
    return {name: found for name, found in codes.items() if set(found) - {0}}


def declarations(calls, version):
    codes = result_codes(calls)
    headers = list(dict.fromkeys(call.header for call in calls))
    lines = [f"# Written by tools/gen-python.py from {' and '.join(headers)}: edit those, not this "
             "file.",
             '"""The calls of the headers: (name, result, ((type, name), ...), names of the',
             "arguments read and written back, group, header, comment, {result code: meaning} or",
             'None)."""',
             f"VERSION = {version!r}",
             "CALLS = ("]
    for call in calls:
        arguments = tuple((a.type, a.name) for a in call.arguments)
        entry = (call.name, call.result, arguments, tuple(READ_AND_WRITTEN.get(call.name, ())),
                 call.section, call.header, call.comment or "", codes.get(call.name))
        lines.append(f"    {entry!r},")
    lines.append(")")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("headers", nargs="+")
    parser.add_argument("--version", required=True)
    parser.add_argument("-o", "--output")
    args = parser.parse_args()
    write_output(args.output, declarations(read_calls(args.headers), args.version))


if __name__ == "__main__":
    main()
