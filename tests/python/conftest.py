"""What the Python tests share: the build folder (TAMVEL_BUILD, with libtamvel.so, the tamvel
tool and the C examples), the records of a page, and running a program against the build."""
import importlib
import itertools
import os
import pathlib
import re
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("TAMVEL_BUILD", ROOT / "build" / "default")).resolve()
# Absolute, for the programs and notebook kernels that run in folders of their own.
os.environ["TAMVEL_LIBRARY"] = os.path.abspath(os.environ.get("TAMVEL_LIBRARY",
                                                              BUILD / "libtamvel.so"))
if "PYTHONPATH" not in os.environ:  # run by hand after a build: the build's package
    os.environ["PYTHONPATH"] = str(BUILD / "python")
    sys.path.insert(0, os.environ["PYTHONPATH"])

import tamvel  # noqa: E402  (after the library's place is known)

sys.path.insert(0, str(ROOT / "tools"))
gen_python = importlib.import_module("gen-python")


POSITION = re.compile(r"^\s*\d+\s+0x[0-9a-fA-F]+\s+")  # a dump line's index and offset


def records(path):
    """The records of an EMF file as `tamvel dump --all` lists them, each without its index
    and offset, so that records compare by their content alone."""
    listing = subprocess.run([BUILD / "tamvel", "dump", "--all", path], check=True,
                             capture_output=True, text=True).stdout
    return [POSITION.sub("", line) for line in listing.splitlines() if line.strip()]


def same_records(actual, expected):
    """Asserts equal record lists, naming the first record that differs."""
    for index, (a, e) in enumerate(zip(actual, expected)):
        assert a == e, f"record {index} differs:\n  got      {a}\n  expected {e}"
    assert len(actual) == len(expected), f"{len(actual)} records, expected {len(expected)}"


def run_python(*arguments, cwd=None):
    return subprocess.run([sys.executable, *map(str, arguments)], check=True, cwd=cwd,
                          capture_output=True, text=True)


@pytest.fixture
def page():
    """An open A4 page of its own, cleared afterwards."""
    with tamvel.Page("A4") as opened:
        yield opened


# Page numbers not used yet in this process. A page number keeps its font's height, weight
# and angle from one drawing to the next, so drawings that are compared start on fresh ones.
FRESH = itertools.count(1)


def drawn(tmp_path, draw, name="page.emf"):
    """The records of a page drawn by draw(page) on a fresh page number."""
    with tamvel.Page("A4", number=next(FRESH)) as page:
        draw(page)
    page.save(tmp_path / name)
    return records(tmp_path / name)
