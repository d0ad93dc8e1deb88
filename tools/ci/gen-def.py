#!/usr/bin/env python3
"""Lists the exported calls declared in the public headers and writes the DLL's .def file.

Every declaration of the form `TAMVEL_API <result> TAMVEL_CALL NAME(<arguments>);` is an
export. On 32-bit Windows the calls are __stdcall, so the linker knows them as NAME@N, N being
the bytes of arguments the callee pops; the DLL exports them as _NAME@N (the name a 32-bit
caller that declares the call __stdcall imports). On 64-bit Windows the names are plain.

  gen-def.py --style decorated -o tamvel.def include/tamvel.h    # .def for i686
  gen-def.py --style plain -o tamvel.def include/tamvel.h        # .def for x86_64
  gen-def.py --style exported -o tamvel.def include/tamvel.h     # the i686 SDK's .def
  gen-def.py --list decorated include/tamvel.h                   # one export name a line
  gen-def.py --style version-script -o tamvel.map include/*.h    # libtamvel.so's exports
"""
import argparse
import os
import sys

# The header's reader is shared with tools/gen-fortran.py.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from header_calls import fail, read_calls, write_output  # noqa: E402

# Argument types passed by value, with their size on the 32-bit stack. Pointers are 4 bytes.
VALUE_TYPE_BYTES = {
    "float": 4, "int32_t": 4, "uint32_t": 4, "int": 4, "TAMVEL_HDC": 4, "TAMVEL_HWND": 4,
    "double": 8, "int64_t": 8, "uint64_t": 8,
}


def argument_bytes(call):
    total = 0
    for argument in call.arguments:
        if argument.type.endswith("*"):
            total += 4
            continue
        size = VALUE_TYPE_BYTES.get(argument.type.replace("const ", ""))
        if size is None:
            fail(f"{call.name}: cannot size the argument '{argument.type} {argument.name}'")
        total += size
    return total


def read_exports(headers, sized):
    return [(call.name, argument_bytes(call) if sized else 0) for call in read_calls(headers)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("headers", nargs="+")
    parser.add_argument("--style", choices=("decorated", "exported", "plain", "version-script"),
                        default="decorated")
    parser.add_argument("--library", default="tamvel.dll")
    parser.add_argument("-o", "--output")
    parser.add_argument("--list", choices=("decorated", "plain"),
                        help="print the export names, one a line, instead of a .def file")
    args = parser.parse_args()

    sized = (args.list or args.style) in ("decorated", "exported")
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
        # "exported" lists the export table's names as they are (_PLOT@12), the form from
        # which linkers that read .def files as Microsoft's do make an import library.
        if args.style == "decorated":
            lines.append(f"  {name}@{size} == _{name}@{size}")
        elif args.style == "exported":
            lines.append(f"  _{name}@{size}")
        else:
            lines.append(f"  {name}")
    content = "\n".join(lines) + "\n"
    write_output(args.output, content)


if __name__ == "__main__":
    main()
