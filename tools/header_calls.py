"""Reads the calls the public headers declare, for the generators of the build
(tools/ci/gen-def.py: the export tables; tools/gen-fortran.py: the Fortran module;
tools/gen-reference.py: docs/reference.md).

Every declaration of the form `TAMVEL_API <result> TAMVEL_CALL NAME(<arguments>);` is a call.
Types come back with single blanks and the `*` apart: "const float *", "int32_t", "TAMVEL_HDC".
A call's comment is the block comment right above it, or above the declarations it follows
without a blank line (a call and its Fortran-string form share one); None when there is none.
"""
import collections
import os
import re
import sys

DECLARATION = re.compile(r"TAMVEL_API\s+([^;{}()]+?)\s*\b(?:TAMVEL_CALL\s+)?(\w+)\s*\(([^)]*)\)\s*;")
# A block comment or a declaration, whichever comes first.
COMMENT_OR_DECLARATION = re.compile(r"(?P<comment>/\*.*?\*/)|(?P<declaration>" +
                                    DECLARATION.pattern + ")", re.S)
BLANK_LINE = re.compile(r"\n[ \t]*\n")
# The rules that head each group of calls: /* ------ text drawing ---- */
SECTION = re.compile(r"/\*\s*-{4,}\s*([^*]*?)\s*-{4,}\s*\*/")
ARGUMENT = re.compile(r"(.*?[\s*])(\w+)")

Argument = collections.namedtuple("Argument", "type name")
Call = collections.namedtuple("Call", "name result arguments section comment header",
                              defaults=(None, ""))


def fail(message):
    sys.exit(f"{os.path.basename(sys.argv[0])}: {message}")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def normal_type(text):
    return " ".join(text.replace("*", " * ").split())


def parse_arguments(name, text):
    text = " ".join(text.split())
    if text in ("", "void"):
        return []
    arguments = []
    for argument in text.split(","):
        match = ARGUMENT.fullmatch(argument.strip())
        if not match:
            fail(f"{name}: cannot read the argument '{argument.strip()}' (type and name)")
        arguments.append(Argument(normal_type(match.group(1)), match.group(2)))
    return arguments


def comment_text(comment):
    """The lines of a block comment without its /* */ and the " * " that starts each line;
    what is indented further keeps its indentation."""
    lines = comment[2:-2].split("\n")
    text = []
    for i, line in enumerate(lines):
        if i > 0:
            line = re.sub(r"^\s*\*?", "", line)
        text.append(line[1:] if line.startswith(" ") else line)
    while text and not text[0].strip():
        text.pop(0)
    while text and not text[-1].strip():
        text.pop()
    return "\n".join(line.rstrip() for line in text)


def read_section(text, section, header):
    calls = []
    comment = None
    end = 0  # where the last comment or declaration ended
    for match in COMMENT_OR_DECLARATION.finditer(text):
        between = text[end:match.start()]
        if between.strip() or BLANK_LINE.search(between):
            comment = None  # something else stands between: the comment is not this call's
        end = match.end()
        if match.group("comment"):
            comment = comment_text(match.group("comment"))
            continue
        # Groups 3 to 5 are those of DECLARATION: result, name, arguments.
        name = match.group(4)
        calls.append(Call(name, normal_type(strip_comments(match.group(3))),
                          parse_arguments(name, strip_comments(match.group(5))), section,
                          comment, os.path.basename(header)))
    return calls


def read_calls(headers):
    """The calls in declaration order, each with the section of the header it stands in."""
    calls = []
    for header in headers:
        with open(header, encoding="utf-8") as f:
            pieces = SECTION.split(f.read())
        # pieces: text before the first rule, then a section name and its text, and so on.
        for section, text in zip([""] + pieces[1::2], pieces[0::2]):
            calls += read_section(text, section, header)
    names = [call.name for call in calls]
    duplicates = sorted({n for n in names if names.count(n) > 1})
    if duplicates:
        fail("declared twice: " + " ".join(duplicates))
    if not calls:
        fail("no TAMVEL_API declarations found")
    return calls


def write_output(path, content):
    """Writes the file, or standard output without a path. The file is rewritten only on
    change so that what is built from it is not rebuilt for nothing."""
    if not path:
        sys.stdout.write(content)
        return
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == content:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)
