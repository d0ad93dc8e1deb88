"""Python values into the C arguments of the calls.

Every converter takes the value, the call's name and the argument's name (for the message of
the error it raises) and returns what ctypes passes. Arrays come back with their length and
the object that holds their memory, which must live until the call returns.
"""
import array
import ctypes
import operator
import os

from ._library import FString, Point

INT32 = range(-2**31, 2**31)
# Text is code page 932; paths are the file system's bytes, as the library opens them.
ENCODING = "cp932"


def number(value, call, name):
    if isinstance(value, (str, bytes)):
        raise TypeError(f"{call}: {name} must be a number, not {type(value).__name__}")
    return float(value)


def integer(value, call, name):
    try:
        value = operator.index(value)
    except TypeError:
        raise TypeError(f"{call}: {name} must be an integer, not {type(value).__name__}") from None
    if value not in INT32:
        raise OverflowError(f"{call}: {name} = {value} does not fit into 32 bits")
    return value


def handle(value, call, name):
    """A DC or window of the library: the number a call returned, or None for null."""
    if value is None:
        return None
    try:
        return operator.index(value)
    except TypeError:
        raise TypeError(f"{call}: {name} must be a handle (int) or None, not "
                        f"{type(value).__name__}") from None


def is_path(name):
    return name == "path" or name.endswith("_path")


def text(value, call, name):
    if isinstance(value, (bytes, bytearray)):
        return bytes(value)
    if is_path(name) and isinstance(value, (str, os.PathLike)):
        return os.fsencode(value)
    if not isinstance(value, str):
        raise TypeError(f"{call}: {name} must be str or bytes, not {type(value).__name__}")
    try:
        return value.encode(ENCODING)
    except UnicodeEncodeError as error:
        character = value[error.start]
        raise UnicodeEncodeError(
            ENCODING, value, error.start, error.end,
            f"{call} writes {name} in code page 932 (Shift-JIS), which has no {character!r} "
            f"(U+{ord(character):04X})") from None


def fstring(value, call, name):
    encoded = text(value, call, name)
    return ctypes.byref(FString(encoded, len(encoded)))


def floats(values, call, name):
    """A float array in C: the values' own memory where they already are contiguous float32
    (a NumPy array, array.array('f')), else a float32 copy."""
    if hasattr(values, "__array_interface__"):
        import numpy  # only for values that are NumPy arrays already
        values = numpy.asarray(values)
        if values.ndim != 1:
            raise ValueError(f"{call}: {name} must be one-dimensional, not of shape {values.shape}")
        if values.dtype.kind not in "iuf":
            raise TypeError(f"{call}: {name} must hold real numbers, not {values.dtype}")
        values = numpy.ascontiguousarray(values, dtype=numpy.float32)
        return values.ctypes.data_as(ctypes.POINTER(ctypes.c_float)), len(values), values
    if not (isinstance(values, array.array) and values.typecode == "f"):
        try:
            values = array.array("f", values)
        except TypeError as error:
            raise TypeError(f"{call}: {name} must be numbers ({error})") from None
    if not values:
        return ctypes.pointer(ctypes.c_float()), 0, None
    return (ctypes.c_float * len(values)).from_buffer(values), len(values), values


def points(values, call, name):
    """An array of TAMVEL_POINT: pairs of integers (page units), or an n x 2 integer array."""
    if hasattr(values, "__array_interface__"):
        import numpy
        values = numpy.asarray(values)
        if values.ndim != 2 or values.shape[1] != 2 or values.dtype.kind not in "iu":
            raise TypeError(f"{call}: {name} must be n x 2 integers, not {values.dtype} of shape "
                            f"{values.shape}")
        values = numpy.ascontiguousarray(values, dtype=numpy.int32)
        return values.ctypes.data_as(ctypes.POINTER(Point)), len(values), values
    pairs = [tuple(pair) for pair in values]
    if any(len(pair) != 2 for pair in pairs):
        raise ValueError(f"{call}: every point of {name} must be a pair (x, y)")
    buffer = (Point * max(len(pairs), 1))(*[Point(*pair) for pair in pairs])
    return buffer, len(pairs), buffer


CONVERTERS = {"number": number, "integer": integer, "handle": handle, "text": text,
              "fstring": fstring}
ARRAYS = {"floats": floats, "points": points}
