"""Binds the calls of the headers, from the table that tools/gen-python.py writes, twice:

  library   the ctypes functions, one to one with C: bytes, ctypes objects, result codes;
  calls     the same calls for Python values: text as str, point arrays as sequences or NumPy
            arrays whose count is taken from them, written-back values as results, result
            codes other than 0 as TamvelError.

A call whose types this package does not know, or that the loaded library does not export,
is left out, with the reason in `unavailable`, so that a library or header newer or older
than the package never stops the import. Calls that fill a caller's buffer stay in `library`
only.
"""
import collections
import ctypes
import inspect

from . import _convert
from ._declarations import CALLS
from ._library import RESULTS, TYPES, load

Declaration = collections.namedtuple(
    "Declaration", "name result arguments read_back group header comment codes")
# Arguments the Python form does without: the ignored ones, and those left 0 by default.
UNUSED = "unused"
DEFAULTS = {"r": 0, "g": 0, "b": 0}
COUNTS = ("count", "n")


class TamvelError(Exception):
    """A call failed: `call` is its name, `code` the result code (None for a null handle),
    `meaning` what the header says the code means."""

    def __init__(self, call, code, meaning=""):
        self.call, self.code, self.meaning = call, code, meaning
        text = f"{call} failed" + (f" with code {code}" if code is not None else "")
        super().__init__(f"{text}: {meaning}" if meaning else text)


def prototype(declaration):
    arguments = ", ".join(f"{t}{'' if t.endswith('*') else ' '}{n}"
                          for t, n in declaration.arguments) or "void"
    return f"{declaration.result} {declaration.name}({arguments});"


def plan(declaration, kinds):
    """What each C argument is made of: (what, argument name, parameter index, converter),
    and the Python parameters."""
    has_arrays = any(kind in _convert.ARRAYS for kind in kinds)
    slots, parameters = [], []
    for (ctype, name), kind in zip(declaration.arguments, kinds):
        if has_arrays and kind == "integer" and name in COUNTS:
            slots.append(("count", name, None, None))
            continue
        if name == UNUSED:
            slots.append(("fixed", name, None, 0))
            continue
        if kind == "out":
            written = TYPES[ctype][0]._type_
            if name not in declaration.read_back:
                slots.append(("out", name, None, written))
                continue
            slots.append(("inout", name, len(parameters), written))
        elif kind in _convert.ARRAYS:
            slots.append(("array", name, len(parameters), _convert.ARRAYS[kind]))
        else:
            slots.append(("value", name, len(parameters), _convert.CONVERTERS[kind]))
        parameters.append(name)
    # Defaults only for a run of arguments at the end (PENC(code) is PENC(code, 0, 0, 0)).
    trailing = len(parameters)
    while trailing and parameters[trailing - 1] in DEFAULTS:
        trailing -= 1
    signature = inspect.Signature([
        inspect.Parameter(name, inspect.Parameter.POSITIONAL_OR_KEYWORD,
                          default=DEFAULTS[name] if i >= trailing else inspect.Parameter.empty)
        for i, name in enumerate(parameters)])
    return slots, signature


def arguments_for(declaration, slots, values):
    """The C arguments, the values written back, and what must live until the call returns."""
    name = declaration.name
    arguments, written, holders = [], [], []
    length, first_array = None, None
    for what, argument, index, make in slots:
        if what == "value":
            arguments.append(make(values[index], name, argument))
        elif what == "array":
            pointer, count, holder = make(values[index], name, argument)
            if length is not None and count != length:
                raise ValueError(f"{name}: {first_array} has {length} values, {argument} {count}")
            length, first_array = count, argument
            arguments.append(pointer)
            holders.append(holder)
        elif what in ("out", "inout"):
            start = _convert.number if make is ctypes.c_float else _convert.integer
            cell = make(start(values[index], name, argument) if what == "inout" else 0)
            written.append(cell)
            arguments.append(ctypes.byref(cell))
        elif what == "count":
            arguments.append(0)  # filled in below, once every array is known
        else:
            arguments.append(make)
    for i, (what, *_) in enumerate(slots):
        if what == "count":
            arguments[i] = length or 0
    return arguments, written, holders


def pythonic(declaration, function, kinds):
    """The call for Python values (see the module's comment)."""
    slots, signature = plan(declaration, kinds)
    size = len(signature.parameters)
    codes = declaration.codes
    returns_value = declaration.result != "void" and codes is None

    def call(*values, **named):
        if named or len(values) != size:
            bound = signature.bind(*values, **named)
            bound.apply_defaults()
            values = bound.args
        arguments, written, _arrays = arguments_for(declaration, slots, values)  # kept to here
        result = function(*arguments)
        if codes is not None and result != 0:
            raise TamvelError(declaration.name, result, codes.get(result, ""))
        results = ([result] if returns_value else []) + [cell.value for cell in written]
        return results[0] if len(results) == 1 else tuple(results) if results else None

    outputs = [a for what, a, *_ in slots if what in ("out", "inout")]
    returned = (["result"] if returns_value else []) + outputs
    python = f"Python: {declaration.name}{signature}"
    if returned:
        python += " -> " + (returned[0] if len(returned) == 1 else f"({', '.join(returned)})")
    if codes is not None:
        python += "; a result code other than 0 raises TamvelError"
    call.__name__ = call.__qualname__ = declaration.name
    call.__module__ = "tamvel"
    call.__signature__ = signature
    call.__doc__ = f"{declaration.comment}\n\nC: {prototype(declaration)}\n{python}"
    return call


def bind_all():
    library = load()
    declarations, calls, unavailable = {}, {}, {}
    for entry in CALLS:
        declaration = Declaration(*entry)
        name = declaration.name
        declarations[name] = declaration
        types = [t for t, _ in declaration.arguments]
        unknown = [t for t in types if t not in TYPES]
        if declaration.result not in RESULTS:
            unknown.append(declaration.result)
        if unknown:
            unavailable[name] = f"this package cannot pass the type {unknown[0]}"
            continue
        try:
            function = getattr(library, name)
        except AttributeError:
            unavailable[name] = f"the loaded library ({library._name}) does not export it"
            continue
        function.argtypes = [TYPES[t][0] for t in types]
        function.restype = RESULTS[declaration.result]
        kinds = [TYPES[t][1] for t in types]
        if None in kinds:
            buffer = declaration.arguments[kinds.index(None)][1]
            unavailable[name] = (f"it fills or reads the buffer {buffer}: call "
                                 f"tamvel.library.{name} with ctypes objects")
            continue
        calls[name] = pythonic(declaration, function, kinds)
    return library, declarations, calls, unavailable


library, declarations, calls, unavailable = bind_all()
