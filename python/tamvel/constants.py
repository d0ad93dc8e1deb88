"""Names for the codes the calls take. Each is an int, so it goes wherever a code goes:
PLOT(x, y, Pen.DRAW), FILLPT(Fill.BRICKS), AROWHD(..., Arrow.FILLED + Arrow.SHAFT)."""
from enum import IntEnum


class Pen(IntEnum):
    """Pen codes of PLOT."""
    DRAW = 2
    MOVE = 3
    DRAW_ORIGIN = -2  # draws, then makes the point the origin
    MOVE_ORIGIN = -3
    DATA_DRAW = 12  # after the data mapping of OFFSET
    DATA_MOVE = 13
    DATA_DRAW_ORIGIN = -12
    DATA_MOVE_ORIGIN = -13
    DRAW_NEXT_PAGE = 4  # draws, then goes on to the next page
    MOVE_NEXT_PAGE = 5
    CLOSE = 999  # closes the page: its metafile is finished


class Face(IntEnum):
    """Typefaces of SETFON and ACSSET."""
    MS_MINCHO = 0
    MINCHO = 1
    ROUND_GOTHIC = 2
    GOTHIC = 3
    MS_GOTHIC = 6


class Colour(IntEnum):
    """Colour codes of PENC, FILLC, TEXTC, ALLC, SETBKC and PALC."""
    RGB = -1  # the r, g, b arguments on a 0..996 scale
    NONE = -2
    BLACK = 0
    BLUE = 1
    RED = 2
    MAGENTA = 3
    GREEN = 4
    CYAN = 5
    YELLOW = 6
    WHITE = 7
    DARK_GREY = 8
    DARK_BLUE = 9
    DARK_RED = 10
    DARK_MAGENTA = 11
    DARK_GREEN = 12
    DARK_CYAN = 13
    DARK_YELLOW = 14
    GREY = 15


class Fill(IntEnum):
    """Fill patterns of FILLPT, PATRN, RECTF, WEDGE and WEDGEG (negative: no outline)."""
    HOLLOW = 0
    SOLID = 1
    HORIZONTAL_LINES = 2
    RISING_DIAGONALS = 3
    VERTICAL_LINES = 4
    FALLING_DIAGONALS = 5
    SQUARE_GRID = 6
    DIAGONAL_GRID = 7
    BRICKS = 8
    STAGGERED_DOTS = 9
    CHECKERBOARD = 10
    SPARSE_DOTS = 11
    STAGGERED_BLOCKS = 12
    VERY_SPARSE_DOTS = 13
    DIAGONAL_BANDS = 14
    STAGGERED_WIDE_BLOCKS = 15


class LineType(IntEnum):
    """Line types of LNTYPE0 and LINE0."""
    SOLID = 0
    DOTTED = 1
    DASHED = 2
    DASH_DOT = 3
    DASH_DOT_DOT = 4
    NONE = 5


class Dash(IntEnum):
    """Dash patterns of LINE6, by their dash and gap lengths in millimetres."""
    SHORT = 1  # 1.0, 0.5
    MEDIUM = 2  # 2.5, 0.5
    LONG = 3  # 5.5, 0.5
    DASH_DOT = 4  # 5.0, 0.5, 0.5, 0.5
    DASH_DOT_DOT = 5  # 4.5, 0.5 x 5
    FINE_SHORT = 6  # 0.5, 0.25
    FINE_MEDIUM = 7  # 1.0, 0.25
    FINE_LONG = 8  # 2.0, 0.25
    FINE_DASH_DOT = 9  # 1.75, 0.25, 0.25, 0.25
    FINE_DASH_DOT_DOT = 10  # 1.5, 0.25 x 5
    WIDE_GAPS = 11  # 2.0, 1.5


def _codes(name, doc, names):
    """An IntEnum of names numbered from 0."""
    codes = IntEnum(name, [(n, code) for code, n in enumerate(names)], module=__name__)
    codes.__doc__ = doc
    return codes


# The first ten marks of CTSYM1 and CTSYM2 are the same shapes.
_SHAPES = ["SQUARE", "CIRCLE", "TRIANGLE", "PLUS", "CROSS", "DIAMOND", "FILLED_SQUARE",
           "FILLED_CIRCLE", "FILLED_TRIANGLE", "FILLED_DIAMOND"]
Mark = _codes("Mark", "The symbol marks of CTSYM1 (REFERENCE is ※).", _SHAPES + [
    "REFERENCE", "TRIANGLE_DOWN", "BULLSEYE", "STAR", "FILLED_TRIANGLE_DOWN", "FILLED_STAR"])
DrawnMark = _codes("DrawnMark", "The drawn marks of CTSYM2.",
                   _SHAPES + ["ASTERISK", "TRIANGLE_DOWN"])


class LineMark(IntEnum):
    """The line marks of CTSYMB."""
    SQUARE_STROKE = 0
    OCTAGON_STROKE = 1
    TRIANGLE_STROKE = 2
    PLUS = 3
    CROSS = 4
    DIAMOND_STROKE = 5
    PLUS_CHEVRON = 6
    JOINED_DIAGONALS = 7
    BARRED_Z = 8
    Y = 9
    SQUARE_RAYS = 10
    LONG_ASTERISK = 11
    HOURGLASS = 12
    VERTICAL_BAR = 13
    VERTICAL_BAR_14 = 14


class Arrow(IntEnum):
    """Arrow types of AROWHD: a head, plus SHAFT for the shaft or TWO_HEADS for the shaft and
    a second head."""
    CLOSED = 1
    CLOSED_THROUGH = 2  # the shaft runs through it
    HALF = 3
    OPEN_AXIS = 4
    BARB = 5
    FILLED = 6
    FILLED_HALF = 7
    OPEN = 8
    SHAFT = 10
    TWO_HEADS = 20


class Align(IntEnum):
    """Horizontal text reference of KANJI2, SYMBL2, NUMBR2 and ROOTK2 (+ ELLIPSE for KANJI2's
    ellipse around the text)."""
    RIGHT = 0
    CENTRE = 1
    LEFT = 2
    ELLIPSE = 1000


__all__ = ["Pen", "Face", "Colour", "Fill", "LineType", "Dash", "Mark", "DrawnMark", "LineMark",
           "Arrow", "Align"]
