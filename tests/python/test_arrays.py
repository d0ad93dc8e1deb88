"""Point arrays: NumPy arrays of every real type and plain sequences give the same records;
float32 in C order is passed as it stands; what cannot be points is refused before the call."""
import array
import ctypes

import numpy as np
import pytest

from conftest import drawn
from tamvel import _convert

X = [20, 50, 80, 110, 125]  # within every type, int8 too
Y = [30, 120, 40, 110, 60]
DTYPES = [np.int8, np.int16, np.int32, np.int64, np.uint8, np.uint16, np.uint32, np.uint64,
          np.float16, np.float32, np.float64, np.longdouble]


def shapes(x, y):
    """Every call that takes point arrays, on the same points."""
    def draw(page):
        page.line6(3, x, y)
        page.patrn(x, y, 9)
        page.addclipp(x, y)
        page.diffclipp(x, y)
        page.andclipp(x, y)
        page.plot(0, 0, 3)
        page.plot(200, 280, 2)
    return draw


@pytest.fixture(scope="module")
def reference(tmp_path_factory):
    x, y = np.array(X, np.float32), np.array(Y, np.float32)
    return drawn(tmp_path_factory.mktemp("reference"), shapes(x, y))


@pytest.mark.parametrize("dtype", DTYPES, ids=lambda d: np.dtype(d).name)
def test_every_real_dtype_draws_as_float32(tmp_path, reference, dtype):
    assert drawn(tmp_path, shapes(np.array(X, dtype), np.array(Y, dtype))) == reference


@pytest.mark.parametrize("make", [list, tuple, lambda v: array.array("f", v),
                                  lambda v: array.array("d", v),
                                  lambda v: np.array(v, np.float32)[::-1][::-1],
                                  lambda v: np.array([v, v], np.float64)[0]],
                         ids=["list", "tuple", "array-f", "array-d", "view", "row"])
def test_sequences_and_views_draw_as_float32(tmp_path, reference, make):
    assert drawn(tmp_path, shapes(make(X), make(Y))) == reference


def test_float32_in_c_order_is_not_copied():
    values = np.array(X, np.float32)
    pointer, count, _ = _convert.floats(values, "LINE6", "x")
    assert (ctypes.cast(pointer, ctypes.c_void_p).value, count) == (values.ctypes.data, 5)
    packed = array.array("f", X)
    pointer, _, _ = _convert.floats(packed, "LINE6", "x")
    assert ctypes.addressof(pointer) == packed.buffer_info()[0]
    strided = np.repeat(np.array(X, np.float32), 2)[::2]
    pointer, _, copy = _convert.floats(strided, "LINE6", "x")
    assert copy.ctypes.data != strided.ctypes.data and list(copy) == X


def test_line0_takes_integer_pairs(tmp_path):
    pairs = [(1000, 1000), (5000, 3000), (9000, 1000)]
    as_list = drawn(tmp_path, lambda page: page.line0(2, pairs))
    assert drawn(tmp_path, lambda page: page.line0(2, np.array(pairs, np.int64))) == as_list
    assert any("EMR_POLYLINE" in record and "(5000" in record for record in as_list)
    with pytest.raises(TypeError, match="n x 2 integers"):
        drawn(tmp_path, lambda page: page.line0(2, np.array(pairs, np.float32)))


def test_what_cannot_be_points_is_refused(page):
    with pytest.raises(ValueError, match="LINE6: x has 5 values, y 4"):
        page.line6(1, X, Y[:4])
    with pytest.raises(ValueError, match="one-dimensional"):
        page.patrn(np.zeros((2, 3)), np.zeros((2, 3)), 1)
    for bad in (np.array(X, complex), np.array(X, bool), np.array(X, object), ["a", "b"]):
        with pytest.raises(TypeError, match="PATRN: x must"):
            page.patrn(bad, bad, 1)


def test_empty_and_non_finite_arrays_draw_nothing_harmful(tmp_path):
    records = drawn(tmp_path, lambda page: (
        page.line6(1, [], []), page.patrn(np.array([], np.float32), [], 1),
        page.line6(2, [np.nan, 1e30, -np.inf], [0, np.inf, 5]),
        page.patrn([np.nan, 10, 20], [10, np.nan, 1e38], 1)))
    assert records[-1].startswith("EMR_EOF")
