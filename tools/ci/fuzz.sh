#!/usr/bin/env bash
# CI's fuzz step: builds every fuzz target (clang, libFuzzer, ASan, UBSan with every check
# fatal) and runs each for a bounded time, from its seeds (fuzz/corpus/<target>/, or the
# metafiles of tests/data/emf) and the inputs that once made it fail (fuzz/regressions/
# <target>/, which the test suite replays too). Any failing input fails the step; it is left
# in build/fuzz/failures/<target>/ to be added to fuzz/regressions/<target>/ with the fix.
# Usage: tools/ci/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
root=$PWD  # paths below are absolute: a target may change its current folder
seconds=${1:-30}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMVEL_FUZZ=ON -DTAMVEL_TESTS=OFF -DTAMVEL_BENCH=OFF >/dev/null
cmake --build build/fuzz --target fuzz_targets

# fontconfig's and cairo's own caches leak by design (fuzz/lsan.supp).
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for source in fuzz/*.cpp; do
  name=$(basename "${source%.cpp}")
  seeds=$root/fuzz/corpus/$name
  [[ -d $seeds ]] || seeds=$root/tests/data/emf
  kept=()
  [[ -d fuzz/regressions/$name ]] && kept=("$root/fuzz/regressions/$name")
  corpus=$(mktemp -d)
  failures=$root/build/fuzz/failures/$name
  rm -rf "$failures" && mkdir -p "$failures"
  log=build/fuzz/$name.log
  if build/fuzz/"$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -artifact_prefix="$failures/" "$corpus" "$seeds" "${kept[@]}" >"$log" 2>&1; then
    echo "$name: $(grep -E '^Done [0-9]+ runs' "$log" || echo done)"
  else
    echo "FAILED: $name found a failing input: $(ls "$failures")"
    echo "  replay: build/fuzz/$name $failures/<input>; keep it in fuzz/regressions/$name/"
    tail -60 "$log"
    status=1
  fi
  rm -rf "$corpus"
done
exit $status
