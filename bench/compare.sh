#!/usr/bin/env bash
# Puts the library's recording and playback beside other recorders of the same page and prints
# one table (Markdown) with the targets of docs/performance.md.
#
#   bench/compare.sh [--short] [--build DIR] [--out FILE]
#
# The page: bench/segments.h (1,000,000 segments; TAMVEL_BENCH_SEGMENTS changes it). Recorders:
# the library (build/default/tamvel_bench), libEMF (tamvel_bench_libemf, where libemf-dev is
# installed) and, where wine64 and the x86_64 mingw-w64 compiler are installed, Windows GDI
# under Wine (bench/peers/gdi_record.cpp, built here). Every figure is the median of 5
# repetitions (--short: 1 repetition, shorter minimum times), all from this one run. Nothing
# fails on a missed target: the table says which are met.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/default
out=
repetitions=5
min_time=0.5
while (($#)); do
  case "$1" in
    # One repetition, but long enough that a loop's first, cold pass (fresh pages to fault
    # in) is not all it reports.
    --short) repetitions=1; min_time=0.2 ;;
    --build) build=$(cd "$2" && pwd); shift ;;
    --out) out=$(realpath -m "$2"); shift ;;
    -h | --help) sed -n '2,12p' "$0"; exit 0 ;;
    *) echo "compare.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

cmake --build "$build" --target tamvel_bench >/dev/null
has_libemf=0
if cmake --build "$build" --target tamvel_bench_libemf >/dev/null 2>&1; then has_libemf=1; fi

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
cd "$results"  # the benchmarks' scratch files stay out of the tree

# Runs one benchmark binary with a filter into a JSON file.
run() {
  local binary=$1 filter=$2 json=$3
  shift 3
  echo "compare.sh: $(basename "$binary") $filter" >&2
  "$binary" --benchmark_filter="$filter" --benchmark_format=json --benchmark_out_format=json \
    --benchmark_out="$results/$json" "$@" >/dev/null
}
timed=(--benchmark_repetitions="$repetitions" --benchmark_min_time="$min_time")

# Peak memory first, each in a fresh process; then the playback benchmarks one process each
# (they report the process's peak); then everything else.
run "$build/tamvel_bench" '^BM_RecordingMemory' tamvel-memory.json
for play in BM_PlayToPng BM_PlayToSvg BM_PrintToPdf; do
  run "$build/tamvel_bench" "^$play\$" "tamvel-$play.json" "${timed[@]}"
done
run "$build/tamvel_bench" '^BM_(CloseAndSave|LoadFile|Symbol|Kanji|Cairo.*)$' \
  tamvel.json "${timed[@]}"
run "$build/tamvel_bench" '^BM_(Line6/(1000|1000000)/5|DashpSteps/(1000|1000000))$' tamvel-linear.json "${timed[@]}"
if ((has_libemf)); then
  run "$build/tamvel_bench_libemf" 'Memory' libemf-memory.json
  run "$build/tamvel_bench_libemf" 'CloseAndSave$' libemf.json "${timed[@]}"
fi
# The per-segment loops of the library and libEMF take turns, one repetition at a time, so
# that both see the same machine: on a shared host its speed drifts within minutes.
for ((i = 0; i < repetitions; ++i)); do
  run "$build/tamvel_bench" '^BM_PlotSegments$' "segments-tamvel-$i.json" \
    --benchmark_min_time="$min_time"
  if ((has_libemf)); then
    run "$build/tamvel_bench_libemf" 'LineTo$' "segments-libemf-$i.json" \
      --benchmark_min_time="$min_time"
  fi
done

wine=$(command -v wine64 || true)
[[ -z "$wine" && -x /usr/lib/wine/wine64 ]] && wine=/usr/lib/wine/wine64
if [[ -n "$wine" ]] && command -v x86_64-w64-mingw32-g++ >/dev/null; then
  echo "compare.sh: Windows GDI under $wine" >&2
  x86_64-w64-mingw32-g++ -O2 -std=c++20 -static -I"$root" "$root/bench/peers/gdi_record.cpp" \
    -o gdi_record.exe -lgdi32 -lpsapi
  export WINEPREFIX=$build/bench-wine-prefix WINEDEBUG=-all
  [[ -d "$WINEPREFIX" ]] || "$wine" wineboot --init >/dev/null 2>&1 || true
  file="Z:${results//\//\\}\\gdi.emf"
  "$wine" gdi_record.exe memory "$file" >wine-memory.txt 2>/dev/null || true
  "$wine" gdi_record.exe time "$file" "$repetitions" >wine.txt 2>/dev/null || true
fi

python3 "$root/bench/compare_table.py" "$results" "$repetitions" | tee "$results/table.md"
if [[ -n "$out" ]]; then
  mkdir -p "$(dirname "$out")"
  cp "$results/table.md" "$out"
fi
