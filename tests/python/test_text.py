"""Text from Python: str in code page 932 for the text calls, bytes as they are, paths in the
file system's encoding, and a clear error for what code page 932 cannot hold."""
import pytest

import tamvel
from conftest import drawn, records

JAPANESE = "日本語のテキスト：①℃ｶﾅ"


def test_str_text_is_written_as_its_shift_jis_bytes(tmp_path):
    encoded = JAPANESE.encode("cp932")
    from_str = drawn(tmp_path, lambda page: (
        page.kanji(20, 250, 6, JAPANESE, 0, 0), page.symbol(20, 240, 4, "ｶﾅ abc", 0, 6),
        page.kanjif(20, 230, 6, JAPANESE, 0, 0), page.rootk2(20, 220, 5, "ｘ＋１", 0, 0, 2)))
    from_bytes = drawn(tmp_path, lambda page: (
        page.kanji(20, 250, 6, encoded, 0, 0), page.symbol(20, 240, 4, "ｶﾅ abc".encode("cp932"), 0, 6),
        page.kanjif(20, 230, 6, encoded, 0, 0), page.rootk2(20, 220, 5, "ｘ＋１".encode("cp932"), 0, 0, 2)))
    assert from_str == from_bytes
    # The page holds the text as the reader decodes it back.
    assert sum(f'"{JAPANESE}"' in record for record in from_str) == 2
    assert any('"ｶﾅ abc"' in record for record in from_str)


def test_text_measures_and_keywords_take_str(page):
    assert page.kanjiwid(5, "日本", 0) == pytest.approx(page.kanjiwid(5, "日本".encode("cp932"), 0))
    assert page.kanjiwid(5, "日本", 0) > page.kanjiwid(5, "日", 0) > 0
    assert tamvel.LEN2("abc   ") == 3
    page.option("NOOUTLINE")  # a Fortran string from str


def test_a_character_outside_code_page_932_is_a_clear_unicode_encode_error(page):
    with pytest.raises(UnicodeEncodeError) as raised:
        page.kanji(10, 10, 5, "café ☃", 0, 0)
    error = raised.value
    assert (error.encoding, error.start, error.object) == ("cp932", 3, "café ☃")
    assert "KANJI writes text in code page 932 (Shift-JIS), which has no 'é' (U+00E9)" in str(error)
    with pytest.raises(UnicodeEncodeError, match=r"SETAPPNAMEF writes name .*U\+2603"):
        tamvel.SETAPPNAMEF("☃")
    with pytest.raises(TypeError, match="KANJI: text must be str or bytes, not int"):
        page.kanji(10, 10, 5, 42, 0, 0)


def test_paths_are_file_system_names_not_shift_jis(tmp_path, page):
    page.kanji(20, 250, 6, JAPANESE, 0, 0)
    path = tmp_path / "ページ ☃.emf"  # ☃ has no code page 932 form: the name is UTF-8
    page.save(path)
    assert path.exists()
    loaded = tamvel.Page.load(path)
    assert loaded.emf() == path.read_bytes()
    assert any(f'"{JAPANESE}"' in record for record in records(path))
