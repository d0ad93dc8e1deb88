#!/usr/bin/env python3
"""Writes the Fortran module tamvel: the bind(C) interfaces of the header's calls, put into
the module's hand-written part in place of its line @TAMVEL_INTERFACES@.

  gen-fortran.py -o tamvel.F90 include/tamvel.h bindings/fortran/tamvel.F90.in
  gen-fortran.py include/tamvel.h bindings/fortran/tamvel.F90.in      # to standard output

Procedures and arguments keep the header's names in lower case. A call taking NUL-terminated
text is left out where an F form of it takes a TAMVEL_FSTRING: the template's character(*)
wrapper takes its name (kanji calls KANJIF). Any other call whose name a wrapper takes (LEN2,
OPTION) is declared as NAME_descriptor for the wrapper to call. A type without a rule below,
or a name Fortran cannot take, stops the generator naming the call.
"""
import argparse
import os
import re

from header_calls import fail, read_calls, write_output

MARKER = "@TAMVEL_INTERFACES@"
# How each C argument type is declared; {} is the argument's name.
ARGUMENT_DECLARATIONS = {
    "float": "real(c_float), value :: {}",
    "int32_t": "integer(c_int32_t), value :: {}",
    "TAMVEL_HDC": "type(c_ptr), value :: {}",
    "TAMVEL_HWND": "type(c_ptr), value :: {}",
    "void *": "type(c_ptr), value :: {}",
    "const void *": "type(c_ptr), value :: {}",
    # The header's const pointers are arrays the call reads, text NUL-terminated, but for the
    # descriptor of one Fortran string.
    "const float *": "real(c_float), intent(in) :: {}(*)",
    "const TAMVEL_POINT *": "type(tamvel_point), intent(in) :: {}(*)",
    "const char *": "character(kind=c_char), intent(in) :: {}(*)",
    "const TAMVEL_FSTRING *": "type(tamvel_fstring), intent(in) :: {}",
    # Its other pointers are where the call writes: a text buffer or one value.
    "char *": "character(kind=c_char), intent(out) :: {}(*)",
    "float *": "real(c_float), intent(out) :: {}",
    "int32_t *": "integer(c_int32_t), intent(out) :: {}",
}
RESULT_TYPES = {
    "float": "real(c_float)",
    "int32_t": "integer(c_int32_t)",
    "TAMVEL_HDC": "type(c_ptr)",
    "TAMVEL_HWND": "type(c_ptr)",
}
# Values a call reads before it writes them back: DIMTABR sizes the page by them when the
# device gives no size.
READ_AND_WRITTEN = {"DIMTABR": ("width", "height")}
# The module's own argument names where the header's do not do in Fortran: a dummy cannot be
# named like its procedure (FACTOR), and `value` and `type` would read as the keywords.
ARGUMENT_NAMES = {
    "FACTOR": {"factor": "scale"},
    "NUMBER": {"value": "number_value"},
    "NUMBR2": {"value": "number_value"},
    "NUMBRWID": {"value": "number_value"},
    "AROWHD": {"type": "head_type"},
}
# Free-form source allows 132 characters a line; longer headings are broken before bind(C).
LINE_LENGTH = 100
FORTRAN_LIMIT = 132
FORTRAN_NAME = re.compile(r"[a-z][a-z0-9_]{0,62}")
WRAPPER = re.compile(r"^\s*(?:subroutine|function)\s+(\w+)", re.M)
WRAPPER_HEADING = re.compile(r"^\s*(subroutine|function)\s+(\w+)\s*\(([^)]*)\)", re.M)
# Interfaces written by hand in the template (calls of other headers, such as the Linux-only
# TamvelShowPages): function name(arguments) bind(C, name='CName').
BOUND_INTERFACE = re.compile(r"function (\w+)\(([^)]*)\) bind\(C, name='(\w+)'\)")


def check_tables(calls):
    """Every entry of the tables above names an argument the header declares."""
    arguments = {call.name: {a.name for a in call.arguments} for call in calls}
    for table in (READ_AND_WRITTEN, ARGUMENT_NAMES):
        for name, names in table.items():
            missing = set(names) - arguments.get(name, set())
            if missing:
                fail(f"{name}: the header declares no argument {' '.join(sorted(missing))}")


def text_form_replaced(call, by_name):
    """Whether the call takes NUL-terminated text and the header has its F form."""
    f_form = by_name.get(call.name + "F")
    return (f_form is not None and any(a.type == "const char *" for a in call.arguments)
            and any(a.type == "const TAMVEL_FSTRING *" for a in f_form.arguments))


def procedure_name(call, wrappers):
    name = call.name.lower()
    if name in wrappers:
        if not any(a.type == "const TAMVEL_FSTRING *" for a in call.arguments):
            fail(f"{call.name}: the template's procedure {name} takes the call's name")
        name += "_descriptor"
    if not FORTRAN_NAME.fullmatch(name):
        fail(f"{call.name}: '{name}' is not a Fortran name")
    return name


def argument_line(call, argument, procedure):
    declaration = ARGUMENT_DECLARATIONS.get(argument.type)
    if declaration is None:
        fail(f"{call.name}: no Fortran type for the argument '{argument.type} {argument.name}'")
    if argument.name in READ_AND_WRITTEN.get(call.name, ()):
        declaration = declaration.replace("intent(out)", "intent(inout)")
    name = ARGUMENT_NAMES.get(call.name, {}).get(argument.name, argument.name).lower()
    if name == procedure or not FORTRAN_NAME.fullmatch(name):
        fail(f"{call.name}: the argument '{argument.name}' cannot be named so in Fortran")
    return name, declaration.format(name)


def heading(kind, procedure, dummies, c_name):
    line = f"    {kind} {procedure}({', '.join(dummies)}) bind(C, name='{c_name}')"
    if len(line) > LINE_LENGTH:
        line = line.replace(") bind(C,", ") &\n        bind(C,", 1)
    if any(len(part) > FORTRAN_LIMIT for part in line.split("\n")):
        fail(f"{c_name}: the heading is longer than a Fortran line")
    return line


def interface(call, wrappers):
    procedure = procedure_name(call, wrappers)
    if call.result == "void":
        kind, result = "subroutine", None
    elif call.result in RESULT_TYPES:
        kind, result = "function", f"{RESULT_TYPES[call.result]} :: {procedure}"
    else:
        fail(f"{call.name}: no Fortran type for the result '{call.result}'")
    arguments = [argument_line(call, a, procedure) for a in call.arguments]
    dummies = [name for name, _ in arguments]
    if len(set(dummies)) != len(dummies):
        fail(f"{call.name}: two arguments differ only in case")
    lines = [heading(kind, procedure, dummies, call.name), "      import",
             f"      TAMVEL_CALL({procedure})"]
    lines += [f"      {declaration}" for _, declaration in arguments]
    if result:
        lines.append(f"      {result}")
    lines.append(f"    end {kind} {procedure}")
    return lines


def interfaces(calls, wrappers):
    by_name = {call.name: call for call in calls}
    lines = []
    section = None
    for call in calls:
        if text_form_replaced(call, by_name):
            if call.name.lower() not in wrappers:
                fail(f"{call.name}: left out for {call.name}F, but the template has no "
                     f"wrapper {call.name.lower()}")
            continue
        if call.section != section and call.section:
            lines += ([""] if lines else []) + [f"    ! {call.section}"]
        section = call.section
        lines += interface(call, wrappers)
    return lines


def fortran_usage(calls, template):
    """How a Fortran program calls each of the header's calls through the module, for
    tools/gen-reference.py: C name -> "call plot(x, y, pen)" or "plots(width, height, unused)".
    A call whose name a character(*) wrapper of the template takes is shown as that wrapper."""
    wrappers = {name.lower(): (kind, arguments)
                for kind, name, arguments in WRAPPER_HEADING.findall(template)}
    usage = {}
    for call in calls:
        name = call.name.lower()
        if name in wrappers:
            kind, arguments = wrappers[name]
            dummies = [a.strip() for a in arguments.split(",") if a.strip()]
        else:
            kind = "subroutine" if call.result == "void" else "function"
            procedure = procedure_name(call, wrappers)
            dummies = [argument_line(call, a, procedure)[0] for a in call.arguments]
        heading = f"{name}({', '.join(dummies)})"
        usage[call.name] = f"call {heading}" if kind == "subroutine" else heading
    for name, arguments, c_name in BOUND_INTERFACE.findall(template):
        usage[c_name] = f"{name}({', '.join(a.strip() for a in arguments.split(','))})"
    return usage


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("header")
    parser.add_argument("template")
    parser.add_argument("-o", "--output")
    args = parser.parse_args()

    calls = read_calls([args.header])
    check_tables(calls)
    with open(args.template, encoding="utf-8") as f:
        template = f.read()
    wrappers = {name.lower() for name in WRAPPER.findall(template)}
    lines = template.split("\n")
    if [line.strip() for line in lines].count(MARKER) != 1:
        fail(f"{args.template}: no single line {MARKER}")
    at = [line.strip() for line in lines].index(MARKER)
    lines[at:at + 1] = interfaces(calls, wrappers)
    note = (f"! Written by tools/gen-fortran.py from {os.path.basename(args.header)} and "
            f"{os.path.basename(args.template)}: edit those, not this file.")
    write_output(args.output, note + "\n" + "\n".join(lines))


if __name__ == "__main__":
    main()
