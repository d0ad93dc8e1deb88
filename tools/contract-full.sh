#!/usr/bin/env bash
# The whole contract test: every call with every hostile value in every page state
# (docs/fuzzing.md), where the test suite runs a subset. Runs the asan build's test_contract,
# two page states at a time.
# Usage: tools/contract-full.sh [build folder, default build/asan]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build/asan}
cmake --build "$build" --target test_contract
export TAMVEL_CONTRACT=full TAMVEL_TEST_TMP=$PWD/$build/test-tmp
started=$(date +%s)
status=0
for shard in 0 1; do
  GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard "$build/test_contract" \
    >"$build/contract-full-$shard.log" 2>&1 &
done
for shard in 0 1; do wait -n || status=1; done
if ((status)); then
  cat "$build"/contract-full-[01].log
else
  grep -hE '^state |^ +\| +[0-9.]+ s |^\[ +OK' "$build"/contract-full-[01].log
fi
echo "contract test, every case: $(($(date +%s) - started)) s, $([[ $status == 0 ]] && echo passed || echo FAILED)"
exit $status
