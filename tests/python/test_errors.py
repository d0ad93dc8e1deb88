"""Failures: result codes other than 0 raise TamvelError with the header's meaning; values of
the wrong kind are refused before the call; the ctypes library itself returns the codes."""
import pytest

import tamvel
from tamvel import TamvelError
from tamvel._binding import declarations

# Calls whose results are result codes, and calls whose int32_t results are values.
RESULT_CODES = {
    "SAVEFILE", "SAVEFILEF", "LOADFILE", "LOADFILEF", "GetEmfSize", "GetPixelSize", "PasteEmf",
    "PasteEmf0", "PasteEmf1", "PasteEmf2", "PrintEmf", "PrintEmf0", "PrintEmfF", "PrintEmfF1",
    "PasteClipboard", "CopyEmf", "MoveEmf", "ResizeEmf", "ShiftEmf", "WriteEmf", "SetNelvarReg",
    "GetNelvarReg", "SetNelvarRegB", "GetNelvarRegB", "TamvelSaveImageDC", "TamvelEndPrinterPage",
    "TamvelDeleteDC", "TamvelDestroyWindow"}
VALUES = {"PLOTS", "DIMTABR", "MHEMF", "MHDC", "IsStandby", "LNTYPE0", "LEN2", "GetTmpFileName",
          "SetFileType", "SetClassRoot", "GetClassRoot", "IsWindowsNT", "TaskActiv"}


def test_a_failed_call_raises_its_code_and_meaning(tmp_path, page):
    with pytest.raises(TamvelError) as raised:
        page.save(tmp_path / "no such folder" / "page.emf")
    assert (raised.value.call, raised.value.code) == ("SAVEFILE", 3)
    assert raised.value.meaning.startswith("writing failed (no such folder")
    assert str(raised.value) == f"SAVEFILE failed with code 3: {raised.value.meaning}"

    (tmp_path / "text.emf").write_text("not a metafile")
    with pytest.raises(TamvelError, match="LOADFILE failed with code 1: the file cannot be read"):
        tamvel.Page.load(tmp_path / "text.emf")
    with pytest.raises(TamvelError, match=r"ResizeEmf failed with code 1: width or height below 1"):
        tamvel.ResizeEmf(page.page_number, 0, 100)
    with pytest.raises(TamvelError, match="TamvelDeleteDC failed with code 1: not such a DC"):
        tamvel.TamvelDeleteDC(None)


def test_the_ctypes_library_returns_codes_as_c_does():
    assert tamvel.library.ResizeEmf(1, 0, 100) == 1
    assert tamvel.library.TamvelDeleteDC(None) == 1


def test_the_calls_that_return_result_codes_know_what_the_codes_mean():
    found = {name for name, declaration in declarations.items() if declaration.codes}
    assert RESULT_CODES <= found and not found & VALUES
    for name in found:
        codes = declarations[name].codes
        failures = {code: meaning for code, meaning in codes.items() if code != 0}
        assert failures and all(failures.values()), f"{name}: {codes}"
    # A table's column continued on the next line, codes borrowed from another call.
    assert declarations["ShiftEmf"].codes[6].endswith("the page is left without a finished metafile")
    assert declarations["PrintEmfF1"].codes[3].endswith("also for a window width or height below 1")
    assert declarations["MoveEmf"].codes == declarations["CopyEmf"].codes
    assert declarations["GetPixelSize"].codes[-1].startswith("with both sizes 0")
    assert declarations["PLOT"].codes is None


@pytest.mark.parametrize("call, arguments, error, message", [
    ("PLOT", ("1", 2, 3), TypeError, "PLOT: x must be a number, not str"),
    ("PLOT", (1, 2, 3.5), TypeError, "PLOT: pen must be an integer, not float"),
    ("PEN", (2**31,), OverflowError, "PEN: width_code = 2147483648 does not fit into 32 bits"),
    ("PLOT", (1, 2), TypeError, "missing a required argument: 'pen'"),
    ("PasteEmf", ("dc", None), TypeError, "PasteEmf: dc must be a handle"),
])
def test_values_of_the_wrong_kind_are_refused(call, arguments, error, message):
    with pytest.raises(error, match=message):
        tamvel.calls[call](*arguments)
