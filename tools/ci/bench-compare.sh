#!/usr/bin/env bash
# CI: the comparison benchmark in its short mode (one repetition each). The table is kept as
# out/bench/compare.md; nothing here fails on a timing, only on a benchmark that cannot run.
# Usage: bench-compare.sh [BUILD_DIR]   (default build/default, already built)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build/default}
"$root/bench/compare.sh" --short --build "$build" --out "$root/out/bench/compare.md"
