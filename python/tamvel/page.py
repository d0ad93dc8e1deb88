"""Page: one of the library's 100 pages as a Python object.

A Page opens its page with a paper size (PLOTS) and has a method for every call that draws on
or sets up a page, named after the call in lower case (page.plot, page.kanji, page.line6,
page.penc, ...); each makes the page current first (CHPAGE), so that pages can be drawn in
turn. Its own methods close it, save it, and play it into PNG, SVG and PDF bytes with the
Linux targets, which also show it in Jupyter. `with Page("A4") as page:` closes the page at
the end of the block; it keeps its drawing until the object is gone.
"""
import inspect
import os
import tempfile
import weakref

from ._binding import TamvelError, calls, declarations, library

# The header's groups whose calls draw on or set up the current page.
PAGE_GROUPS = {"coordinates", "text", "numbers", "lines", "arcs", "fills", "marks", "arrows",
               "pens and colours", "clipping"}
PROCESS_CALLS = {"InitPalette", "UpPalette0", "UpPalette"}  # the process palette, not a page's
PAPER = {"A3": (297.0, 420.0), "A4": (210.0, 297.0), "A5": (148.0, 210.0), "A6": (105.0, 148.0),
         "B4": (257.0, 364.0), "B5": (182.0, 257.0), "LETTER": (215.9, 279.4)}  # B: JIS
PAGES = range(1, 101)
_taken = set()  # the page numbers of living Page objects


def _take(number):
    if number is None:
        # From the top, so that programs that draw on page 1 onwards keep their pages.
        number = next((n for n in reversed(PAGES) if n not in _taken), None)
        if number is None:
            raise RuntimeError("every one of the library's 100 pages belongs to a Page")
    elif number not in PAGES or number in _taken:
        raise ValueError(f"page {number} is not a free page number 1..100")
    _taken.add(number)
    return number


def _release(number):
    library.ClearEmf(number)
    _taken.discard(number)


def _pixels(hundredths_mm, dpi):
    return max(1, int(hundredths_mm / 2540.0 * dpi + 0.5))


class Page:
    """A page of width x height millimetres, or of a paper size ("A4", "A5", "B5", "Letter",
    ...; landscape=True turns it). The library's page number is page_number, from 100
    downwards unless `number` chooses one. PLOTS opens it with every default but the font's
    height, weight and angle, which a page number keeps from its last drawing. Pen codes 4
    and 5 go on to the next page number, which this object does not follow."""

    def __init__(self, width="A4", height=None, *, landscape=False, number=None):
        if isinstance(width, str):
            if width.upper() not in PAPER:
                raise ValueError(f"unknown paper {width!r}: one of {', '.join(PAPER)} or a size")
            width, height = PAPER[width.upper()]
        elif height is None:
            raise TypeError("Page(width, height) in millimetres, or Page(paper)")
        if landscape and width < height:
            width, height = height, width
        self._open_slot(number)
        if calls["PLOTS"](width, height) == 0:
            raise TamvelError("PLOTS", 0, "no recording could be made")

    def _open_slot(self, number):
        self.page_number = _take(number)
        self._finalizer = weakref.finalize(self, _release, self.page_number)
        library.CHPAGE(self.page_number)

    @classmethod
    def load(cls, path, *, number=None):
        """A closed page holding the enhanced metafile file `path` (LOADFILE)."""
        page = cls.__new__(cls)
        page._open_slot(number)
        calls["LOADFILE"](path)
        return page

    def __repr__(self):
        state = "open" if self.recording else "closed"
        return f"<tamvel.Page {self.page_number}, {state}>"

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    @property
    def recording(self):
        """Whether drawing goes into the page (until it is closed)."""
        return library.MHDC(self.page_number - 1) != 0

    def close(self):
        """Finishes the page's metafile (pen code 999); drawing on it is then ignored."""
        if self.recording:
            library.CHPAGE(self.page_number)
            library.PLOT(0.0, 0.0, 999)

    def frame(self):
        """The size of the closed page's metafile in 0.01 mm (closes the page)."""
        self.close()
        library.CHPAGE(self.page_number)
        return calls["GetEmfSize"]()

    def save(self, path):
        """Closes the page and writes it as an enhanced metafile file (SAVEFILE)."""
        library.CHPAGE(self.page_number)
        calls["SAVEFILE"](path)

    def emf(self):
        """The page's enhanced metafile, as bytes."""
        return self._output(".emf", self.save)

    def png(self, dpi=96, antialias=False):
        """The page as a PNG image of `dpi` pixels an inch (96: A4 is 794 x 1123 pixels),
        painted on whole pixels as GDI paints, or anti-aliased."""
        width, height = (_pixels(size, dpi) for size in self.frame())

        def write(path):
            image = calls["TamvelCreateImageDC"](width, height)
            self._play(image, "TamvelCreateImageDC", width, height, lambda: (
                antialias and calls["TamvelSetImageAntialias"](image, 1),
                calls["TamvelSaveImageDC"](image, path)))
        return self._output(".png", write)

    def svg(self, dpi=96):
        """The page as an SVG drawing, as text, sized as png(dpi) is."""
        width, height = (_pixels(size, dpi) for size in self.frame())

        def write(path):
            self._play(calls["TamvelCreateSvgDC"](path, width, height), "TamvelCreateSvgDC",
                       width, height)
        return self._output(".svg", write).decode("utf-8")

    def pdf(self):
        """The page as a PDF page of its own size, drawn at its true size."""
        width, height = self.frame()

        def write(path):
            printer = calls["TamvelCreatePrinterDC"](path, width / 100.0, height / 100.0, 600, 0, 0)
            self._play(printer, "TamvelCreatePrinterDC")
        return self._output(".pdf", write)

    def _play(self, dc, made_by, width=None, height=None, then=lambda: None):
        """Plays the page into a DC of the Linux targets, over width x height pixels or onto
        a printer, runs then(), and deletes the DC, which completes a PDF or SVG file."""
        if not dc:
            raise TamvelError(made_by, None, "the target could not be made")
        try:
            library.CHPAGE(self.page_number)
            if width is None:
                calls["PrintEmf"](dc)
            else:
                # PasteEmf0 only checks its window for null: the DC stands in for it, since a
                # window of TamvelCreateWindow would show on the screen of a desktop session.
                calls["PasteEmf0"](dc, dc, 0, 0, width, height)
            then()
        except BaseException:
            library.TamvelDeleteDC(dc)
            raise
        calls["TamvelDeleteDC"](dc)

    def _output(self, suffix, write):
        self.close()
        with tempfile.TemporaryDirectory(prefix="tamvel-") as folder:
            path = os.path.join(folder, "page" + suffix)
            write(path)
            with open(path, "rb") as f:
                return f.read()

    def show(self, wait=True):
        """Shows the page in the viewer (TamvelShowPages) until the viewer is closed, or, with
        wait=False, only until it shows the page."""
        self.close()
        no_wait = 1  # TAMVEL_SHOW_NO_WAIT
        calls["TamvelShowPages"](self.page_number, self.page_number, 0 if wait else no_wait)

    # Jupyter shows a page that ends a cell; showing it closes it. A page without a drawing
    # (cleared) shows as text.
    def _repr_png_(self):
        return self._shown(self.png)

    def _repr_svg_(self):
        return self._shown(self.svg)

    def _shown(self, picture):
        try:
            return picture()
        except TamvelError:
            return None


def _page_method(name, function):
    def method(self, *values, **named):
        library.CHPAGE(self.page_number)
        return function(*values, **named)

    signature = function.__signature__
    own = inspect.Parameter("self", inspect.Parameter.POSITIONAL_ONLY)
    method.__signature__ = signature.replace(parameters=[own, *signature.parameters.values()])
    method.__name__ = method.__qualname__ = name.lower()
    method.__doc__ = function.__doc__
    return method


for _name, _function in calls.items():
    if (declarations[_name].group in PAGE_GROUPS and _name not in PROCESS_CALLS
            and not hasattr(Page, _name.lower())):
        setattr(Page, _name.lower(), _page_method(_name, _function))
