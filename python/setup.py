"""Builds the package with its table of the library's calls (tamvel/_declarations.py), which
tools/gen-python.py writes from the headers of the source tree this folder is part of."""
import pathlib
import re
import subprocess
import sys

from setuptools import setup
from setuptools.command.build_py import build_py

ROOT = pathlib.Path(__file__).resolve().parent.parent


def version():
    project = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(tamvel VERSION ([0-9.]+)", project).group(1)


class BuildWithDeclarations(build_py):
    def run(self):
        super().run()
        headers = sorted((ROOT / "include").glob("*.h"), key=lambda h: h.name != "tamvel.h")
        if not headers:
            sys.exit(f"setup.py: no headers in {ROOT / 'include'}: build from the source tree")
        target = pathlib.Path(self.build_lib) / "tamvel" / "_declarations.py"
        subprocess.run([sys.executable, str(ROOT / "tools" / "gen-python.py"), "--version",
                        version(), "-o", str(target), *map(str, headers)], check=True)


setup(version=version(), packages=["tamvel"], cmdclass={"build_py": BuildWithDeclarations})
