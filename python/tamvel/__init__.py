"""tamvel from Python: the plotting calls of libtamvel (PLOTS, PLOT, KANJI, LINE6, PATRN, ...).

Every call of tamvel.h and tamvel_linux.h is a function of this module under its C name,
documented by the header's comment (help(tamvel.KANJI)), taking Python values:

  - text as str, written in code page 932 (Shift-JIS) for the text calls; a character that
    code page lacks raises UnicodeEncodeError; paths as str or os.PathLike; bytes as they are;
  - point arrays (LINE6, PATRN, ADDCLIPP, ...) as sequences or NumPy arrays of any real type,
    their count taken from them; a contiguous float32 array is passed without a copy;
  - values a call writes back are its results: x, y, factor = tamvel.WHERE();
  - a result code other than 0 raises TamvelError with the code and what it means.

Page is one page as an object: open with a paper size, draw with methods named after the
calls, save it, or take it as PNG, SVG or PDF bytes; Jupyter shows it. The codes have names
(Pen, Face, Fill, Dash, Mark, Arrow, Colour, ...). `library` is the ctypes library itself,
one to one with C, and `unavailable` names the calls left out of this module, with the
reason. The library is libtamvel.so.0 as installed, or the file TAMVEL_LIBRARY names.
"""
from ._binding import TamvelError, calls, library, unavailable
from ._declarations import VERSION as __version__
from .constants import *  # noqa: F401,F403
from .constants import __all__ as _constants
from .page import Page

globals().update(calls)

__all__ = ["Page", "TamvelError", "library", "unavailable", *_constants, *calls]
