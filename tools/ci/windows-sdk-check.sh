#!/usr/bin/env bash
# The Windows SDK zips, from the built build/mingw-i686 and build/mingw-x86_64: each is
# packed (cpack -G ZIP), unpacked outside the tree and checked for its files. The programs of
# docs/getting-started.md (examples/getting-started/) link against the unpacked i686 SDK as
# the guide shows: C through both import libraries, C++, and Fortran through the module; the
# x86_64 build of the C one runs under wine64 and writes a page that build/default's
# `tamvel dump` reads. tamvel.lib is checked as Microsoft's tools use it: a program compiled
# for their ABI (clang) links against it with lld-link (with /SAFESEH on i686), and on x86_64
# runs under wine64 too.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

# A program that uses nothing but tamvel.dll (no C library), as Microsoft's tools build it.
cat >"$work/msvc_page.c" <<'EOF'
#include <tamvel.h>
int _fltused; /* what floating-point code refers to in Microsoft's C library */
int entry(void) {
  CHPAGE(1);
  if (PLOTS(148.0f, 210.0f, 0) == 0) return 1;
  PLOT(10.0f, 10.0f, 3);
  PLOT(138.0f, 200.0f, 2);
  SYMBOL(20.0f, 180.0f, 6.0f, "tamvel.lib", 0.0f, 10);
  PLOT(0.0f, 0.0f, 999);
  return SAVEFILE("msvc_page.emf");
}
EOF
# Links msvc_page.c against an SDK's tamvel.lib: link_msvc SDK TARGET MACHINE OUTPUT.exe
link_msvc() {
  clang --target="$2" -ffreestanding -O1 -c "$work/msvc_page.c" -I"$1/include" -o "$4.obj" &&
    lld-link /nologo /machine:"$3" /subsystem:console /entry:entry /nodefaultlib "$4.obj" \
      "$1/lib/tamvel.lib" /out:"$4"
}

# Packs the build's SDK zip and unpacks it into $work/<arch>; prints the SDK's folder.
unpack_sdk() {
  local build=$root/build/$1 arch=$2
  rm -f "$build"/packages/*.zip
  (cd "$build" && cpack -G ZIP >/dev/null)
  local zip
  zip=$(ls "$build"/packages/*.zip)
  ls -l "$zip" >&2
  mkdir -p "$work/$arch"
  (cd "$work/$arch" && cmake -E tar xf "$zip")
  ls -d "$work/$arch"/tamvel-*
}

echo "== i686 SDK"
sdk=$(unpack_sdk mingw-i686 i686)
for wanted in bin/tamvel.dll lib/libtamvel.dll.a lib/tamvel.lib lib/tamvel.def include/tamvel.h \
  README-windows.txt lib/cmake/tamvel/tamvelConfig.cmake lib/pkgconfig/tamvel.pc; do
  [[ -f "$sdk/$wanted" ]] || fail "the SDK has no $wanted"
done
module_dir=$(dirname "$(ls "$sdk"/lib/fortran/*/tamvel.mod 2>/dev/null | head -1)")
[[ -f "$module_dir/libtamvel_fortran.a" ]] || fail "the SDK has no Fortran module"
dll=$sdk/bin/tamvel.dll
# (Listings are kept in variables: grep -q would end a pipe early, which pipefail reports.)
sections=$(i686-w64-mingw32-objdump -h "$dll")
if grep -q '\.debug' <<<"$sections"; then fail "tamvel.dll is not stripped"; fi
resource=$(strings -el "$dll")
for field in ProductName FileDescription "$(sed -n 's/^Version: //p' "$sdk/lib/pkgconfig/tamvel.pc")"; do
  grep -qx "$field" <<<"$resource" || fail "tamvel.dll has no version resource field $field"
done
if grep -rIl -F "$root" "$sdk" | grep -q .; then fail "SDK files name the source tree"; fi

cd "$work"
guide=$root/examples/getting-started
i686-w64-mingw32-gcc-posix -Wall -Werror "$guide/first_page.c" -I"$sdk/include" -L"$sdk/lib" \
  -ltamvel -o first_page.exe || fail "the C program does not link with libtamvel.dll.a"
i686-w64-mingw32-gcc-posix "$guide/first_page.c" -I"$sdk/include" "$sdk/lib/tamvel.lib" \
  -o first_page_lib.exe || fail "the C program does not link with tamvel.lib"
i686-w64-mingw32-g++-posix -Wall -Werror "$guide/first_page.cpp" -I"$sdk/include" -L"$sdk/lib" \
  -ltamvel -o first_page_cpp.exe || fail "the C++ program does not link against the SDK"
for exe in first_page.exe first_page_lib.exe first_page_cpp.exe; do
  [[ -f "$exe" ]] || continue
  imports=$(i686-w64-mingw32-objdump -p "$exe")
  grep -q '_PLOT@12' <<<"$imports" || fail "$exe does not import _PLOT@12 from tamvel.dll"
done
link_msvc "$sdk" i686-pc-windows-msvc x86 msvc_page.exe ||
  fail "a program built for Microsoft's ABI does not link with tamvel.lib (/SAFESEH)"
i686-w64-mingw32-gfortran-posix "$guide/first_page.f90" -I"$module_dir" \
  -L"$module_dir" -ltamvel_fortran -L"$sdk/lib" -ltamvel -o first_page_fortran.exe ||
  fail "the Fortran program does not link against the SDK"

echo "== x86_64 SDK under wine64"
sdk=$(unpack_sdk mingw-x86_64 x86_64)
mkdir -p run64
x86_64-w64-mingw32-gcc-posix -Wall -Werror "$guide/first_page.c" -I"$sdk/include" \
  -L"$sdk/lib" -ltamvel -o run64/first_page.exe || fail "the x86_64 C program does not link"
cp "$sdk/bin/tamvel.dll" run64/
wine=/usr/lib/wine/wine64
export WINEPREFIX=$root/build/mingw-x86_64/wine-prefix WINEDEBUG=-all
[[ -d "$WINEPREFIX" ]] || "$root/tools/ci/wine-prefix.sh" "$wine" "$WINEPREFIX"
if (cd run64 && LC_ALL=ja_JP.UTF-8 "$wine" first_page.exe page.emf </dev/null >/dev/null); then
  records=$("$root/build/default/tamvel" dump run64/page.emf) || fail "tamvel dump rejects the page"
  grep -q EXTTEXTOUTW <<<"$records" || fail "the page written under wine64 is not what the program drew"
else
  fail "the x86_64 program failed under wine64"
fi
if link_msvc "$sdk" x86_64-pc-windows-msvc x64 run64/msvc_page.exe; then
  (cd run64 && "$wine" msvc_page.exe </dev/null) || fail "the tamvel.lib program failed under wine64"
  "$root/build/default/tamvel" dump run64/msvc_page.emf >/dev/null ||
    fail "the tamvel.lib program wrote no page"
else
  fail "a program built for Microsoft's ABI does not link with the x86_64 tamvel.lib"
fi

((status == 0)) && echo "ok: both SDKs unpack, link and (x86_64) run"
exit $status
