"""Loads libtamvel and names the C types of its headers in ctypes.

The library is the installed libtamvel.so.0, found by the system's loader (ldconfig's cache,
LD_LIBRARY_PATH), or the file that the environment variable TAMVEL_LIBRARY names: a build
tree's libtamvel.so, as the tests use it.
"""
import ctypes
import os

ENVIRONMENT = "TAMVEL_LIBRARY"
INSTALLED = "libtamvel.so.0"


class FString(ctypes.Structure):
    """TAMVEL_FSTRING: a Fortran string, its bytes and their count."""
    _fields_ = [("text", ctypes.c_char_p), ("length", ctypes.c_int32)]


class Point(ctypes.Structure):
    """TAMVEL_POINT: a point in page units (1/1440 inch)."""
    _fields_ = [("x", ctypes.c_int32), ("y", ctypes.c_int32)]


# Each C type of the headers: its ctypes type and how the Python layer passes a value of it
# (None: only through the library's own function, with ctypes objects).
TYPES = {
    "float": (ctypes.c_float, "number"),
    "double": (ctypes.c_double, "number"),
    "int32_t": (ctypes.c_int32, "integer"),
    "TAMVEL_HDC": (ctypes.c_void_p, "handle"),
    "TAMVEL_HWND": (ctypes.c_void_p, "handle"),
    "const char *": (ctypes.c_char_p, "text"),
    "const TAMVEL_FSTRING *": (ctypes.POINTER(FString), "fstring"),
    "const float *": (ctypes.POINTER(ctypes.c_float), "floats"),
    "const TAMVEL_POINT *": (ctypes.POINTER(Point), "points"),
    "float *": (ctypes.POINTER(ctypes.c_float), "out"),
    "int32_t *": (ctypes.POINTER(ctypes.c_int32), "out"),
    "char *": (ctypes.c_char_p, None),
    "void *": (ctypes.c_void_p, None),
    "const void *": (ctypes.c_void_p, None),
}
RESULTS = {
    "void": None,
    "float": ctypes.c_float,
    "int32_t": ctypes.c_int32,
    "TAMVEL_HDC": ctypes.c_void_p,
    "TAMVEL_HWND": ctypes.c_void_p,
}


def load():
    path = os.environ.get(ENVIRONMENT) or INSTALLED
    try:
        return ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(
            f"tamvel cannot load {path} ({error}): install the library (the Debian package "
            f"libtamvel0, or cmake --install), or set {ENVIRONMENT} to the libtamvel.so of a "
            "build") from None
