"""A notebook run headless shows its page inline (examples/page.ipynb)."""
import base64
import json
import os
import shutil
import struct
import subprocess
import sys

from conftest import ROOT


def test_the_notebook_shows_its_page_as_png_and_svg(tmp_path):
    shutil.copy(ROOT / "examples" / "page.ipynb", tmp_path)
    run = subprocess.run([sys.executable, "-m", "nbconvert", "--to", "notebook", "--execute",
                          "--ExecutePreprocessor.timeout=120", "--output", "executed.ipynb",
                          tmp_path / "page.ipynb"], capture_output=True, text=True,
                         env={**os.environ, "JUPYTER_RUNTIME_DIR": str(tmp_path),
                              "IPYTHONDIR": str(tmp_path / "ipython"),
                              "PYDEVD_DISABLE_FILE_VALIDATION": "1"})
    assert run.returncode == 0, run.stderr[-3000:]
    with open(tmp_path / "executed.ipynb", encoding="utf-8") as f:
        outputs = json.load(f)["cells"][-1]["outputs"]
    assert [output["output_type"] for output in outputs] == ["execute_result"]
    shown = outputs[0]["data"]
    png = base64.b64decode(shown["image/png"])
    assert png.startswith(b"\x89PNG\r\n\x1a\n")
    assert struct.unpack(">II", png[16:24]) == (794, 559)  # A5 landscape at 96 dpi
    assert "<svg" in "".join(shown["image/svg+xml"])
