#!/usr/bin/env bash
# Independent readers: converts every EMF page in a folder with LibreOffice (to PNG, one call
# for all files) and with emf2svg-conv (to SVG, then to PNG with rsvg-convert), checks that
# each reader produced a picture with ink on it, and runs libUEMF's record checker on every
# page. The pictures stay in DIR/readers/ to look at.
# Usage: reader-check.sh [DIR]   (default: out/, where scripts/run-demo.sh writes the demo)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
dir=$(cd "${1:-$root/out}" && pwd)
shopt -s nullglob
pages=("$dir"/*.emf)
if ((${#pages[@]} == 0)); then
  echo "FAIL: no EMF pages in $dir"
  exit 1
fi
readers=$dir/readers
rm -rf "$readers"
mkdir -p "$readers/libreoffice" "$readers/emf2svg"
status=0

echo "-- LibreOffice: ${#pages[@]} pages"
# A private profile: the first start writes it, and a shared one could be locked.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
timeout 600 libreoffice -env:UserInstallation="file://$profile" --headless --norestore \
  --convert-to png --outdir "$readers/libreoffice" "${pages[@]}" </dev/null \
  | grep -v '^Warning: failed to launch javaldx' || true
for page in "${pages[@]}"; do
  name=$(basename "${page%.emf}")
  png=$readers/libreoffice/$name.png
  if [[ ! -s "$png" ]]; then
    echo "FAIL: LibreOffice made no picture of $name.emf"
    status=1
  elif ! python3 "$root/tools/ci/png_ink.py" "$png"; then
    echo "FAIL: LibreOffice's picture of $name.emf is blank"
    status=1
  fi
done

echo "-- emf2svg: ${#pages[@]} pages"
for page in "${pages[@]}"; do
  name=$(basename "${page%.emf}")
  svg=$readers/emf2svg/$name.svg
  if ! emf2svg-conv -i "$page" -o "$svg" </dev/null || [[ ! -s "$svg" ]]; then
    echo "FAIL: emf2svg-conv could not convert $name.emf"
    status=1
    continue
  fi
  if ! grep -qE '<(path|polyline|polygon|line|rect|ellipse|text)[ >]' "$svg"; then
    echo "FAIL: emf2svg's picture of $name.emf has nothing drawn"
    status=1
    continue
  fi
  # emf2svg writes broken XML for some clip regions; a picture we cannot rasterise is
  # reported, not failed, as long as it draws something.
  if rsvg-convert "$svg" -o "${svg%.svg}.png" 2>/dev/null; then
    python3 "$root/tools/ci/png_ink.py" "${svg%.svg}.png" || {
      echo "FAIL: emf2svg's picture of $name.emf is blank"
      status=1
    }
  else
    echo "note: $name.svg from emf2svg is not valid SVG (a known emf2svg fault), not rasterised"
  fi
done

echo "-- libUEMF record checker: ${#pages[@]} pages"
checker=$(mktemp -d)/uemf-check
if cc -O2 -Wall -Wextra "$root/tools/ci/uemf-check.c" -luemf -o "$checker"; then
  "$checker" "${pages[@]}" || status=1
else
  echo "FAIL: could not build the libUEMF checker (package libuemf-dev)"
  status=1
fi

if ((status == 0)); then
  echo "reader-check: ok, ${#pages[@]} pages read by LibreOffice, emf2svg and libUEMF's checker"
fi
exit $status
