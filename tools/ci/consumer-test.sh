#!/usr/bin/env bash
# Uses an installed tamvel as docs/getting-started.md does, outside the source tree: builds
# the guide's C, C++ and Fortran programs (examples/getting-started/) once with pkg-config
# (the C one also statically) and once with the guide's CMakeLists.txt (find_package), runs
# each and the Python one (with the installed Python package), reads every page they wrote
# with the installed `tamvel dump`, and plays one into PNG, PDF and SVG with render_page. Fails when a header, target or module is missing, when a
# program does not use the installed library, or when an installed file points back into the
# source or build tree.
# Usage: consumer-test.sh PREFIX      (/usr: the files of the installed Debian packages)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
prefix=$(cd "${1:?usage: consumer-test.sh PREFIX}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/examples/getting-started" "$work/src"
cd "$work"
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

if [[ "$prefix" == /usr ]]; then
  mapfile -t installed < <(dpkg -L libtamvel0 libtamvel-dev libtamvel-fortran-dev python3-tamvel \
    tamvel-tools | sort -u)
else
  mapfile -t installed < <(find "$prefix" -type f -o -type l | sort)
  libdir=$(dirname "$(find "$prefix" -name 'libtamvel.so.[0-9]' | head -1)")
  export PKG_CONFIG_PATH=$libdir/pkgconfig LD_LIBRARY_PATH=$libdir
  export PYTHONPATH=$prefix/lib/python3/dist-packages
fi
unset TAMVEL_LIBRARY
tamvel=$prefix/bin/tamvel

# Nothing installed names the tree it was built in: no text file (pkg-config, CMake, headers)
# and no run path of a program or library.
for file in "${installed[@]}"; do
  [[ -f "$file" && ! -L "$file" ]] || continue
  if grep -Iq -F "$root" "$file"; then fail "$file names the source tree: $(grep -F "$root" "$file" | head -2)"; fi
  if readelf -d "$file" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -q -F "$root"; then
    fail "$file has a run path into the source tree"
  fi
done
for wanted in include/tamvel.h include/tamvel_linux.h bin/tamvel share/man/man1/tamvel.1.gz \
  share/doc/tamvel/README.md lib/python3/dist-packages/tamvel/_declarations.py; do
  [[ -e "$prefix/$wanted" ]] || fail "$prefix/$wanted is not installed"
done
version=$(pkg-config --modversion tamvel) || fail "pkg-config does not know tamvel"
[[ "$("$tamvel" --version)" == "tamvel $version" ]] || fail "tamvel --version is not tamvel $version"

# Runs one program, which must write its page with the installed library; the installed tool
# must read the page without a problem and find the text that was drawn.
check_program() {
  local program=$1 page=$work/$(basename "$1").emf
  if ! "$program" "$page" >/dev/null; then fail "$program did not write its page"; return; fi
  local library
  library=$(ldd "$program" | awk '/libtamvel\.so/ {print $3}')
  if [[ -n "$library" && "$(readlink -f "$library")" != "$prefix"/* ]]; then
    fail "$program uses $library"
  fi
  if ! "$tamvel" dump "$page" >"$page.txt"; then fail "tamvel dump rejects the page of $program"; fi
  grep -q EMR_EXTTEXTOUTW "$page.txt" || fail "the page of $program has no text"
}

echo "== pkg-config"
mkdir -p pc static
cc -Wall -Werror src/first_page.c -o pc/first_page $(pkg-config --cflags --libs tamvel) -lm
c++ -Wall -Werror src/first_page.cpp -o pc/first_page_cpp $(pkg-config --cflags --libs tamvel)
(cd pc && gfortran -Wall -Werror ../src/first_page.f90 -o first_page_fortran \
  $(pkg-config --cflags --libs tamvel-fortran))
cc -Wall -Werror src/render_page.c -o render_page $(pkg-config --cflags --libs tamvel)
# Statically: a library folder of its own makes -ltamvel find libtamvel.a.
ln -s "$(pkg-config --variable=libdir tamvel)/libtamvel.a" static/
cc src/first_page.c -o pc/first_page_static $(pkg-config --cflags tamvel) -Lstatic \
  $(pkg-config --static --libs tamvel)
if readelf -d pc/first_page_static | grep NEEDED | grep -q libtamvel; then
  fail "the static program still needs libtamvel.so"
fi
for program in pc/*; do
  check_program "$program"
done
./render_page "$work/first_page.emf" >/dev/null || fail "render_page cannot play the page"
for picture in png pdf svg; do
  [[ -s "$work/first_page.$picture" ]] || fail "render_page wrote no $picture"
done

echo "== Python (import tamvel, Debian's python3)"
# The package and the library it loads are the installed ones.
if /usr/bin/python3 -c 'import tamvel, sys
if not tamvel.__file__.startswith(sys.argv[1] + "/"): sys.exit(f"tamvel from {tamvel.__file__}")
maps = [line.split()[-1] for line in open("/proc/self/maps") if "libtamvel.so" in line]
if not maps[0].startswith(sys.argv[1] + "/"): sys.exit(f"libtamvel from {maps[0]}")' "$prefix"; then
  (mkdir -p py && cd py && /usr/bin/python3 ../src/first_page.py "$work/first_page_python.emf" \
    >/dev/null) || fail "first_page.py did not write its page"
  "$tamvel" dump "$work/first_page_python.emf" >"$work/first_page_python.txt" || true
  grep -q 'EMR_EXTTEXTOUTW.*"tamvel Python"' "$work/first_page_python.txt" ||
    fail "the page of first_page.py has no title"
else
  fail "python3 does not import the installed tamvel"
fi

echo "== find_package(tamvel) (examples/getting-started/CMakeLists.txt)"
cmake_prefix=()
[[ "$prefix" == /usr ]] || cmake_prefix=(-DCMAKE_PREFIX_PATH="$prefix")
cmake -S src -B cmake-build -G Ninja -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF "${cmake_prefix[@]}" \
  >cmake-build.log || { cat cmake-build.log; fail "find_package(tamvel) failed"; }
package_dir=$(sed -n 's/^tamvel_DIR:PATH=//p' cmake-build/CMakeCache.txt)
[[ "$package_dir" == "$prefix"/* ]] || fail "find_package found tamvel in $package_dir"
cmake --build cmake-build >>cmake-build.log || { cat cmake-build.log; fail "the CMake build failed"; }
for program in first_page first_page_cpp first_page_fortran; do
  check_program "cmake-build/$program"
done

((status == 0)) && echo "ok: the guide's C, C++, Fortran and Python programs draw against $prefix"
exit $status
