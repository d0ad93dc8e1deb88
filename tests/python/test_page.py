"""Page: opened with a paper size on a page number of its own, drawn through the calls as
methods, closed by its with block, saved and played into PNG, SVG and PDF."""
import struct

import pytest

import tamvel
from conftest import FRESH, records
from tamvel import Pen, TamvelError


def test_a_page_is_opened_drawn_closed_and_given_back():
    with tamvel.Page("A5", landscape=True) as page:
        assert page.recording and repr(page) == f"<tamvel.Page {page.page_number}, open>"
        page.plot(10, 20, Pen.MOVE)
        assert page.where() == pytest.approx((10, 20, 1), abs=0.02)
    assert not page.recording and tamvel.IsStandby(page.page_number) != 0
    assert page.frame() == (21000, 14800)
    assert tamvel.Page(100, 50).frame() == (10000, 5000)
    number = page.page_number
    del page
    assert tamvel.IsStandby(number) == 0  # cleared, and free for the next Page
    with pytest.raises(ValueError, match="unknown paper 'A0'"):
        tamvel.Page("A0")


def test_methods_draw_on_their_own_page_whichever_is_current(tmp_path):
    first, second = (tamvel.Page(number=next(FRESH)) for _ in range(2))
    for page in (first, second, first):
        page.plot(0, 0, Pen.MOVE)
        page.plot(100, 100 + page.page_number, Pen.DRAW)
    for page in (first, second):
        page.save(tmp_path / f"{page.page_number}.emf")
    lines = {p.page_number: [r for r in records(tmp_path / f"{p.page_number}.emf")
                             if r.startswith("EMR_LINETO")] for p in (first, second)}
    assert [len(lines[first.page_number]), len(lines[second.page_number])] == [2, 1]
    assert tamvel.Page.plot.__doc__.startswith("Moves or draws the pen to (x, y)")


def test_a_page_plays_into_png_svg_and_pdf_and_shows_itself(page):
    page.arc(105, 148, 50, 0, 360, 0)
    png = page.png()
    assert png.startswith(b"\x89PNG\r\n\x1a\n")
    assert struct.unpack(">II", png[16:24]) == (794, 1123)  # A4 at 96 dpi
    assert struct.unpack(">II", page.png(dpi=48)[16:24]) == (397, 561)
    assert page._repr_png_() == png
    svg = page._repr_svg_()
    assert svg.startswith("<?xml") and 'width="595.5pt"' in svg and "<path" in svg  # 794 px
    assert page.pdf().startswith(b"%PDF-")
    assert page.emf()[40:44] == b" EMF"


def test_a_page_shows_in_the_viewer_only_in_a_desktop_session(page, monkeypatch):
    for variable in ("DISPLAY", "WAYLAND_DISPLAY"):
        monkeypatch.delenv(variable, raising=False)
    with pytest.raises(TamvelError, match="TamvelShowPages failed with code 2: no desktop session"):
        page.show()
    assert not page.recording
    tamvel.ClearEmf(page.page_number)
    assert page._repr_png_() is None  # Jupyter then shows the page as text
