"""The package is bound from the headers: every call of them is there, and a call it cannot
bind (a new type, a library without it) is left out with the reason, never the import."""
import json
import os
import pathlib
import shutil
import subprocess
import sys

import tamvel
from conftest import ROOT, gen_python

NEW_CALLS = """
/* ------------------------------------------------------------ new calls ---- */
/* Takes a type the package does not know. */
TAMVEL_API void TAMVEL_CALL TakesAShape(const TAMVEL_SHAPE *shape);
/* Not in the library yet. Returns 0 done, 1 not yet. */
TAMVEL_API int32_t TAMVEL_CALL NotYetThere(float x);
"""


def test_every_call_of_the_headers_is_bound_or_says_why_not():
    declared = {call.name for call in gen_python.read_calls(
        [ROOT / "include" / "tamvel.h", ROOT / "include" / "tamvel_linux.h"])}
    assert declared <= set(tamvel.calls) | set(tamvel.unavailable)
    assert set(tamvel.unavailable) == {"GetTmpFileName", "GetNelvarReg", "SetNelvarRegB",
                                       "GetNelvarRegB", "SetFileType", "GetClassRoot"}
    assert all("call tamvel.library." in why for why in tamvel.unavailable.values())
    assert tamvel.library.GetTmpFileName.restype is not None  # still there, one to one


def test_a_call_that_cannot_be_bound_leaves_the_import_alone(tmp_path):
    header = tmp_path / "tamvel_new.h"
    header.write_text(NEW_CALLS)
    package = tmp_path / "tamvel"
    shutil.copytree(pathlib.Path(tamvel.__file__).parent, package,
                    ignore=shutil.ignore_patterns("__pycache__", "_declarations.py"))
    subprocess.run([sys.executable, ROOT / "tools" / "gen-python.py", "--version", "9.9",
                    "-o", package / "_declarations.py", ROOT / "include" / "tamvel.h",
                    ROOT / "include" / "tamvel_linux.h", header], check=True)
    probe = ("import json, tamvel; print(json.dumps([tamvel.__version__, tamvel.unavailable, "
             "callable(tamvel.PLOT), hasattr(tamvel.Page, 'kanji')]))")
    result = subprocess.run([sys.executable, "-c", probe], capture_output=True, text=True,
                            env={**os.environ, "PYTHONPATH": str(tmp_path)}, check=True)
    version, unavailable, plot, kanji = json.loads(result.stdout)
    assert (version, plot, kanji) == ("9.9", True, True)
    assert unavailable["TakesAShape"] == "this package cannot pass the type const TAMVEL_SHAPE *"
    assert unavailable["NotYetThere"].startswith("the loaded library (")
    assert unavailable["NotYetThere"].endswith("does not export it")
