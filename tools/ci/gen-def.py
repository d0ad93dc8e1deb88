#!/usr/bin/env python3
"""Lists the exported calls declared in the public headers and writes the DLL's .def file.

Every declaration of the form `TAMVEL_API <result> TAMVEL_CALL NAME(<arguments>);` is an
export. On 32-bit Windows the calls are __stdcall, so the linker knows them as NAME@N, N being
the bytes of arguments the callee pops; the DLL exports them as _NAME@N (the name a 32-bit
caller that declares the call __stdcall imports). On 64-bit Windows the names are plain.

  gen-def.py --style decorated -o tamvel.def include/tamvel.h    # .def for i686
  gen-def.py --style plain -o tamvel.def include/tamvel.h        # .def for x86_64
  gen-def.py --list decorated include/tamvel.h                   # one export name a line
  gen-def.py --style version-script -o tamvel.map include/*.h    # libtamvel.so's exports
"""
import argparse
import re
import sys

DECLARATION = re.compile(r"TAMVEL_API\s+([^;{}()]+?)\s*\b(?:TAMVEL_CALL\s+)?(\w+)\s*\(([^)]*)\)\s*;")
# Argument types passed by value, with their size on the 32-bit stack. Pointers are 4 bytes.
VALUE_TYPE_BYTES = {
    "float": 4, "int32_t": 4, "uint32_t": 4, "int": 4, "TAMVEL_HDC": 4, "TAMVEL_HWND": 4,
    "double": 8, "int64_t": 8, "uint64_t": 8,
}


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def argument_bytes(name, arguments):
    arguments = " ".join(arguments.split())
    if arguments in ("", "void"):
        return 0
    total = 0
    for argument in arguments.split(","):
        if "*" in argument:
            total += 4
            continue
        words = [w for w in argument.replace("const", " ").split()]
        if not words or words[0] not in VALUE_TYPE_BYTES:
            sys.exit(f"gen-def.py: {name}: cannot size the argument '{argument.strip()}'")
        total += VALUE_TYPE_BYTES[words[0]]
    return total


def read_exports(headers, sized):
    exports = []
    for header in headers:
        with open(header, encoding="utf-8") as f:
            text = strip_comments(f.read())
        for match in DECLARATION.finditer(text):
            name = match.group(2)
            exports.append((name, argument_bytes(name, match.group(3)) if sized else 0))
    names = [name for name, _ in exports]
    duplicates = sorted({n for n in names if names.count(n) > 1})
    if duplicates:
        sys.exit("gen-def.py: declared twice: " + " ".join(duplicates))
    if not exports:
        sys.exit("gen-def.py: no TAMVEL_API declarations found")
    return exports


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("headers", nargs="+")
    parser.add_argument("--style", choices=("decorated", "plain", "version-script"),
                        default="decorated")
    parser.add_argument("--library", default="tamvel.dll")
    parser.add_argument("-o", "--output")
    parser.add_argument("--list", choices=("decorated", "plain"),
                        help="print the export names, one a line, instead of a .def file")
    args = parser.parse_args()

    sized = (args.list or args.style) == "decorated"
    exports = read_exports(args.headers, sized)
    if args.list:
        for name, size in sorted(exports):
            print(f"_{name}@{size}" if args.list == "decorated" else name)
        return

    if args.style == "version-script":
        # The linker exports these names and hides everything else, including the C++
        # template symbols (typeinfo, guard variables) that default visibility would leak.
        lines = ["{", "  global:"] + [f"    {name};" for name, _ in exports]
        lines += ["  local:", "    *;", "};"]
    else:
        lines = [f"LIBRARY {args.library}", "EXPORTS"]
    for name, size in exports if args.style != "version-script" else []:
        # PLOT@12 is the function the compiler made; "== _PLOT@12" names its entry in the
        # export table. Written this way (rather than "_PLOT@12 = PLOT@12", which exports
        # the same table) the import library the linker writes beside the DLL also works:
        # a 32-bit caller's reference to PLOT@12 resolves to the DLL's _PLOT@12.
        lines.append(f"  {name}@{size} == _{name}@{size}" if args.style == "decorated"
                     else f"  {name}")
    content = "\n".join(lines) + "\n"
    if args.output:
        # Rewrite only on change so that the DLL is not relinked for nothing.
        try:
            with open(args.output, encoding="utf-8") as f:
                if f.read() == content:
                    return
        except OSError:
            pass
        with open(args.output, "w", encoding="utf-8") as f:
            f.write(content)
    else:
        sys.stdout.write(content)


if __name__ == "__main__":
    main()
