#!/usr/bin/env python3
"""Writes docs/reference.md, the reference of every call, from the comments of the headers.

  gen-reference.py -o docs/reference.md include/tamvel.h include/tamvel_linux.h
  gen-reference.py --check docs/reference.md include/tamvel.h include/tamvel_linux.h

The first header's opening comment is the introduction; each rule of a header starts a
group, each comment the entry of the calls it documents (tools/header_calls.py), with the
Fortran form of each call (tools/gen-fortran.py) and the pictures of its code tables
(docs/tables/, drawn by examples/code_tables.c). In a comment, lines indented by two or more
blanks are kept as they stand, "- " starts a list item, other lines run on as paragraphs.
--check fails, saying why, when a declaration has no comment or the file is not current.
"""
import argparse
import importlib
import os
import re
import sys

from header_calls import comment_text, fail, read_calls, write_output

gen_fortran = importlib.import_module("gen-fortran")

FORTRAN_TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bindings",
                                "fortran", "tamvel.F90.in")
# The code tables drawn by the library itself, shown after the call they belong to.
PICTURES = {
    "SETFON": [("typefaces", "The typefaces in regular, bold and italic, horizontal and vertical")],
    "NUMBER": [("number-formats", "NUMBER with each digits code")],
    "LNTYPE0": [("line-types", "The line types of LNTYPE0")],
    "LINE6": [("line-patterns", "The dash patterns of LINE6")],
    "FILLPT": [("fill-patterns", "The fill patterns of FILLPT")],
    "CTSYM1": [("marks-ctsym1", "The marks of CTSYM1")],
    "CTSYM2": [("marks-ctsym2", "The marks of CTSYM2")],
    "CTSYMB": [("marks-ctsymb", "The marks of CTSYMB")],
    "AROWHD": [("arrow-heads", "AROWHD: each head type alone, with the shaft, with two heads")],
    "PENC": [("pen-colours", "The colour codes of PENC, FILLC, TEXTC, ALLC and SETBKC")],
}
PICTURE_FOLDER = "tables"  # beside reference.md
FIRST_COMMENT = re.compile(r"/\*.*?\*/", re.S)
CODE_SPAN = re.compile(r"(`[^`]*`)")
MARKDOWN_SPECIAL = re.compile(r"([\\*_<>\[\]])")


def escape(text):
    """Markdown-escapes text outside `code spans`."""
    pieces = CODE_SPAN.split(text)
    return "".join(p if i % 2 else MARKDOWN_SPECIAL.sub(r"\\\1", p) for i, p in enumerate(pieces))


def link_calls(text, anchors, own):
    """Links the names of other calls in markdown text (outside code spans) to their entries."""
    pattern = re.compile(r"\b(" + "|".join(sorted(anchors, key=len, reverse=True)) + r")\b")
    pieces = CODE_SPAN.split(text)
    for i in range(0, len(pieces), 2):
        pieces[i] = pattern.sub(
            lambda m: m.group(1) if m.group(1) in own else f"[{m.group(1)}](#{anchors[m.group(1)]})",
            pieces[i])
    return "".join(pieces)


def blocks(comment):
    """The comment as (kind, lines) blocks: "text" paragraphs, "list" items, "pre" tables."""
    result = []
    for line in comment.split("\n"):
        indent = len(line) - len(line.lstrip())
        stripped = line.strip()
        last = result[-1] if result else None
        if not stripped:
            result.append(("blank", []))
        elif stripped.startswith("- "):
            result.append(("list", [stripped[2:]], indent))
        elif last and last[0] == "list" and indent > last[2]:
            last[1].append(stripped)
        elif indent >= 2:
            if last and last[0] == "pre":
                last[1].append(line)
            else:
                result.append(("pre", [line]))
        elif last and last[0] == "text":
            last[1].append(stripped)
        else:
            result.append(("text", [stripped]))
    return [b for b in result if b[0] != "blank"]


def markdown(comment, anchors=None, own=()):
    lines = []
    for block in blocks(comment):
        kind, text = block[0], block[1]
        if kind == "pre":
            margin = min(len(t) - len(t.lstrip()) for t in text)
            lines += ["```"] + [t[margin:] for t in text] + ["```", ""]
            continue
        rendered = escape(" ".join(text))
        if anchors:
            rendered = link_calls(rendered, anchors, own)
        if kind == "list":
            lines.append("- " + rendered)
            continue
        if lines and lines[-1].startswith("- "):
            lines.append("")
        lines += [rendered, ""]
    if lines and lines[-1].startswith("- "):
        lines.append("")
    return lines


def prototype(call):
    arguments = ", ".join(a.type + ("" if a.type.endswith("*") else " ") + a.name
                          for a in call.arguments) or "void"
    separator = "" if call.result.endswith("*") else " "
    return f"{call.result}{separator}{call.name}({arguments});"


def summary(comment):
    """The first sentence of a comment."""
    text = " ".join(line.strip() for line in comment.split("\n\n")[0].split("\n"))
    depth = 0
    for i, character in enumerate(text):
        depth += {"(": 1, ")": -1}.get(character, 0)
        if depth == 0 and character in ".:" and text[i + 1:i + 2] in ("", " "):
            return text[:i] + "."
    return text


def groups_of(calls):
    """Sections in header order, each a list of entries: the calls sharing one comment."""
    sections = []
    for call in calls:
        if not sections or sections[-1][0] != call.section:
            sections.append((call.section, call.header, []))
        entries = sections[-1][2]
        if entries and entries[-1][0].comment is call.comment:
            entries[-1].append(call)
        else:
            entries.append([call])
    return sections


def anchor(name):
    return re.sub(r"[^a-z0-9]+", "-", name.lower()).strip("-")


def fortran_cell(call, usage):
    return f"`{usage[call.name]}`" if call.name in usage else "(C only)"


def reference(headers, calls, usage):
    anchors = {call.name: call.name.lower() for call in calls}
    with open(headers[0], encoding="utf-8") as f:
        introduction = markdown(comment_text(FIRST_COMMENT.search(f.read()).group(0)), anchors)
    sections = groups_of(calls)
    names = " ·\n".join(f"[{section}](#{anchor(section)})" for section, _, _ in sections)
    lines = ["# tamvel reference", "",
             "<!-- Written by tools/gen-reference.py from the comments of "
             + " and ".join(f"include/{os.path.basename(h)}" for h in headers)
             + ": edit those, not this file. -->", ""]
    lines += introduction + ["Groups of calls:", names, ""]
    header_intros = {}
    for header in headers[1:]:
        with open(header, encoding="utf-8") as f:
            header_intros[os.path.basename(header)] = FIRST_COMMENT.search(f.read()).group(0)
    for section, header, entries in sections:
        lines += [f'<a id="{anchor(section)}"></a>', "", f"## {section}", ""]
        if header in header_intros:
            intro = comment_text(header_intros.pop(header))
            lines += [f"Declared in `{header}` (Linux only).", ""] + markdown(intro, anchors)
        lines += ["| C | Fortran | |", "|---|---|---|"]
        for entry in entries:
            for call in entry:
                lines.append(f"| [`{call.name}`](#{anchors[call.name]}) | "
                             f"{fortran_cell(call, usage)} | {escape(summary(call.comment))} |")
        lines.append("")
        for entry in entries:
            own = {call.name for call in entry}
            lines += [f'<a id="{anchors[call.name]}"></a>' for call in entry]
            lines += ["", "### " + ", ".join(call.name for call in entry), "", "```c"]
            lines += [prototype(call) for call in entry] + ["```", ""]
            fortran = [fortran_cell(call, usage) for call in entry if call.name in usage]
            if fortran:
                lines += ["Fortran: " + ", ".join(fortran), ""]
            lines += markdown(entry[0].comment, anchors, own)
            for call in entry:
                for picture, caption in PICTURES.get(call.name, []):
                    lines += [f"![{caption}]({PICTURE_FOLDER}/{picture}.png)", ""]
    return "\n".join(lines).rstrip("\n") + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("headers", nargs="+")
    output = parser.add_mutually_exclusive_group()
    output.add_argument("-o", "--output")
    output.add_argument("--check", metavar="REFERENCE",
                        help="fail unless REFERENCE is what the headers give")
    args = parser.parse_args()

    calls = read_calls(args.headers)
    undocumented = [call.name for call in calls if not call.comment]
    if undocumented:
        fail("no comment above the declaration of " + ", ".join(undocumented)
             + " (the header is the manual: say what the call does, its units and results)")
    missing = sorted(set(PICTURES) - {call.name for call in calls})
    if missing:
        fail("pictures for calls the headers do not declare: " + " ".join(missing))
    folder = os.path.join(os.path.dirname(os.path.abspath(args.output or args.check or ".")),
                          PICTURE_FOLDER)
    absent = [f"{PICTURE_FOLDER}/{picture}.png" for pictures in PICTURES.values()
              for picture, _ in pictures
              if not os.path.exists(os.path.join(folder, picture + ".png"))]
    if absent:
        fail("pictures that do not exist beside the reference: " + " ".join(absent))
    with open(FORTRAN_TEMPLATE, encoding="utf-8") as f:
        template = f.read()
    module_calls = [call for call in calls if call.header == "tamvel.h"]
    content = reference(args.headers, calls, gen_fortran.fortran_usage(module_calls, template))
    if not args.check:
        write_output(args.output, content)
        return
    try:
        with open(args.check, encoding="utf-8") as f:
            current = f.read() == content
    except OSError:
        current = False
    if not current:
        fail(f"{args.check} is not current: run tools/gen-reference.py -o {args.check} "
             + " ".join(args.headers))


if __name__ == "__main__":
    main()
