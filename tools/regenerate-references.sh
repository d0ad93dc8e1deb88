#!/usr/bin/env bash
# Regenerates the reference images of the render tests (tests/rendering/reference/*.png) with
# the current player. Run it after a deliberate change to rendering, look at the new
# pictures, and commit them with that change.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target test_rendering
TAMVEL_REGENERATE_REFERENCES=1 TAMVEL_TEST_TMP="$PWD/build/default/test-tmp" \
  build/default/test_rendering
git status --short tests/rendering/reference
