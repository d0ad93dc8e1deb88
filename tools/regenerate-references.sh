#!/usr/bin/env bash
# Regenerates the reference images of the render tests (tests/rendering/reference/*.png), the
# demo's pictures (docs/demo/*.png, shown in the README), the code tables (docs/tables/*.png,
# shown in docs/reference.md) and the first pages of docs/getting-started.md
# (docs/getting-started/*.png) with the current player. Run it after a deliberate change to
# rendering or to an example, look at the new pictures, and commit them with that change.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset default >/dev/null
cmake --build --preset default
TAMVEL_REGENERATE_REFERENCES=1 ctest --test-dir build/default -R \
  '^(demo_folder|demo|code_tables_folder|code_tables|guide_folder|first_page_.*|rendering)$'
git status --short tests/rendering/reference docs/demo docs/tables docs/getting-started
