#!/usr/bin/env bash
# Checks the export tables against the calls declared in the public headers:
#   - tamvel.dll (i686): exactly the decorated names (_PLOT@12), nothing else;
#   - libtamvel.so: exactly the plain names of include/tamvel.h (plus the Linux-only calls of
#     include/tamvel_linux.h when that header exists), no C++ or stand-in Win32 symbols.
# Usage: check-exports.sh [--dll path/to/tamvel.dll] [--so path/to/libtamvel.so] [--no-extra]
#   --no-extra: only check that nothing beyond the declared calls is exported (the check the
#               test suite runs while calls are still being written)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
dll=""
so=""
extra_only=0
while [[ $# -gt 0 ]]; do
  case "$1" in
    --dll) dll=$2; shift 2 ;;
    --so) so=$2; shift 2 ;;
    --no-extra) extra_only=1; shift ;;
    *) echo "usage: $0 [--dll tamvel.dll] [--so libtamvel.so]" >&2; exit 2 ;;
  esac
done
if [[ -z "$dll" && -z "$so" ]]; then
  dll=$root/build/mingw-i686/tamvel.dll
  so=$root/build/default/libtamvel.so
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# Prints the differences between the expected and the actual list; fails when they differ.
compare() {
  local what=$1 expected=$2 actual=$3
  if ((extra_only)); then
    local extra
    extra=$(LC_ALL=C comm -13 "$expected" "$actual")
    if [[ -n "$extra" ]]; then
      echo "FAIL: $what exports symbols that are not declared calls:"
      head -50 <<<"$extra"
      status=1
    else
      echo "ok: $what exports nothing beyond the declared calls"
    fi
    return
  fi
  if diff -u "$expected" "$actual" >"$work/diff"; then
    echo "ok: $what exports exactly the $(wc -l <"$expected") declared calls"
  else
    echo "FAIL: $what export table differs from the declared calls" \
      "(- declared but not exported, + exported but not declared):"
    grep '^[-+][^-+]' "$work/diff" | head -50
    status=1
  fi
}

if [[ -n "$dll" ]]; then
  [[ -f "$dll" ]] || { echo "FAIL: $dll not found"; exit 1; }
  python3 "$root/tools/ci/gen-def.py" --list decorated "$root/include/tamvel.h" \
    | LC_ALL=C sort >"$work/dll-expected"
  i686-w64-mingw32-objdump -p "$dll" \
    | awk '/\[Ordinal\/Name Pointer\] Table/ {in_table = 1; next}
           in_table && NF == 0 {in_table = 0}
           in_table {print $NF}' \
    | LC_ALL=C sort >"$work/dll-actual"
  compare "$(basename "$dll")" "$work/dll-expected" "$work/dll-actual"
  # The DLL must load on a bare system: only the system's own DLLs may be imported.
  imports=$(i686-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ {print $3}' | LC_ALL=C sort -u)
  unexpected=$(grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|psapi|ole32|msvcrt)\.dll$|^winspool\.drv$' <<<"$imports" || true)
  if [[ -n "$unexpected" ]]; then
    echo "FAIL: $(basename "$dll") imports DLLs a bare system lacks:" $unexpected
    status=1
  else
    echo "ok: $(basename "$dll") imports only" $imports
  fi
fi

if [[ -n "$so" ]]; then
  [[ -f "$so" ]] || { echo "FAIL: $so not found"; exit 1; }
  headers=("$root/include/tamvel.h")
  [[ -f "$root/include/tamvel_linux.h" ]] && headers+=("$root/include/tamvel_linux.h")
  python3 "$root/tools/ci/gen-def.py" --list plain "${headers[@]}" \
    | LC_ALL=C sort >"$work/so-expected"
  # Defined dynamic symbols, less the markers the linker adds to every shared object.
  nm -D --defined-only "$so" | awk '{print $NF}' \
    | grep -vE '^(_init|_fini|_edata|_end|__bss_start)$' \
    | LC_ALL=C sort >"$work/so-actual"
  compare "$(basename "$so")" "$work/so-expected" "$work/so-actual"
fi

exit $status
