#!/usr/bin/env bash
# The source rules CI enforces:
#  1. only platform/ tests for the platform (#ifdef _WIN32 and the like); the one exception is
#     the calling-convention block at the top of include/tamvel.h;
#  2. only platform/ includes cairo, FreeType, fontconfig or iconv (and bench/peers/, the other
#     recorders and painters the benchmark compares with); the library (src/, include/)
#     includes no POSIX headers and nothing of the Linux stand-in;
#  3. every C/C++ source is formatted by the committed .clang-format;
#  4. every call of the public headers has its comment, and docs/reference.md is what
#     tools/gen-reference.py makes of them;
#  5. the example programs that docs/ shows are the files the tests build and run.
# Usage: lint.sh [--no-format]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
check_format=1
[[ "${1:-}" == "--no-format" ]] && check_format=0

status=0
fail() {
  echo "FAIL: $1"
  status=1
}

# Tracked and new (not ignored) C/C++ sources.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files --cached --others --exclude-standard \
    -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' | LC_ALL=C sort -u)
else
  mapfile -t sources < <(find . -path ./build -prune -o -path ./out -prune -o -type f \
    \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) \
    -print | sed 's|^\./||' | LC_ALL=C sort)
fi
outside_platform=()
library=()
for file in "${sources[@]}"; do
  [[ -f "$file" ]] || continue
  case "$file" in
    platform/* | bench/peers/*) ;;
    *) outside_platform+=("$file") ;;
  esac
  case "$file" in
    src/* | include/*) library+=("$file") ;;
  esac
done

# 1. Platform tests outside platform/.
platform_test='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER|__linux__|__unix__|__APPLE__)\b'
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  if [[ "$file" == include/tamvel.h ]]; then
    # The calling-convention block ends where the declarations begin.
    block_end=$(grep -n -m1 'extern "C"' include/tamvel.h | cut -d: -f1)
    ((line < block_end)) && continue
  fi
  fail "platform test outside platform/: $hit"
done < <(((${#outside_platform[@]})) && grep -nE "$platform_test" "${outside_platform[@]}" || true)

# 2. System libraries of the stand-in outside platform/, POSIX and stand-in headers in the
#    library.
stand_in_libraries='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](cairo[/.]|ft2build\.h|freetype/|fontconfig/|iconv\.h)'
while IFS= read -r hit; do
  fail "stand-in library included outside platform/: $hit"
done < <(((${#outside_platform[@]})) && grep -nE "$stand_in_libraries" "${outside_platform[@]}" || true)

posix_headers='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|dirent|dlfcn|pthread|pwd|glob|libgen|strings|poll|termios|syslog|spawn)\.h>|^[[:space:]]*#[[:space:]]*include[[:space:]]*<(sys|arpa|netinet)/'
stand_in_headers='^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/posix/'
while IFS= read -r hit; do
  fail "POSIX or stand-in header in the library: $hit"
done < <(((${#library[@]})) && grep -nE "$posix_headers|$stand_in_headers" "${library[@]}" || true)

# 3. Formatting.
if ((check_format)) && ((${#sources[@]})); then
  if ! command -v clang-format >/dev/null; then
    fail "clang-format is not installed (scripts/setup-debian.sh --lint)"
  else
    existing=()
    for file in "${sources[@]}"; do [[ -f "$file" ]] && existing+=("$file"); done
    if ! clang-format --dry-run -Werror "${existing[@]}" 2>"${TMPDIR:-/tmp}/lint-format.$$"; then
      unformatted=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' "${TMPDIR:-/tmp}/lint-format.$$" \
        | cut -d: -f1 | LC_ALL=C sort | uniq -c)
      fail "not formatted by .clang-format (run clang-format -i on them):"
      echo "$unformatted"
    fi
    rm -f "${TMPDIR:-/tmp}/lint-format.$$"
  fi
fi

# 4. The headers are the manual; the reference is written from them.
headers=(include/tamvel.h)
for header in include/*.h; do [[ "$header" != include/tamvel.h ]] && headers+=("$header"); done
if ! python3 tools/gen-reference.py --check docs/reference.md "${headers[@]}"; then
  fail "the reference of the public headers (include/*.h, docs/reference.md)"
fi

# 5. The programs shown in the guides.
if ! python3 tools/doc-examples.py docs/getting-started.md; then
  fail "the examples shown in docs/getting-started.md"
fi

if ((status == 0)); then
  echo "lint: ok (${#sources[@]} sources)"
fi
exit $status
