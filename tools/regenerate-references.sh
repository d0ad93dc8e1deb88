#!/usr/bin/env bash
# Regenerates the reference images of the render tests (tests/rendering/reference/*.png) and
# the demo's pictures (docs/demo/*.png, shown in the README) with the current player. Run it
# after a deliberate change to rendering or to the demo, look at the new pictures, and commit
# them with that change.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target test_rendering demo
TAMVEL_REGENERATE_REFERENCES=1 ctest --test-dir build/default -R '^(demo_folder|demo|rendering)$'
git status --short tests/rendering/reference docs/demo
