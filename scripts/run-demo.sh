#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds the library, runs the demo drawing and
# renders its pages: out/*.emf are the metafiles as the library writes them, out/*.png how
# our player draws them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup-debian.sh
cmake --preset default
cmake --build --preset default --target demo tamvel_tool

mkdir -p out
rm -f out/*.emf out/*.png
build/default/demo out
shopt -s nullglob
pages=(out/*.emf)
if ((${#pages[@]} == 0)); then
  echo "run-demo.sh: the demo wrote no page into out/" >&2
  exit 1
fi
for page in "${pages[@]}"; do
  build/default/tamvel render "$page" "${page%.emf}.png"
done
ls -l out/
