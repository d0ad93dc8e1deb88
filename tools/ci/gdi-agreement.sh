#!/usr/bin/env bash
# The differential rendering test: every page is played by the system's GDI (under wine64)
# and by our player, and compared against the per-page limits of
# tests/rendering/gdi_agreement_test.cpp. The reference images (tests/rendering/reference,
# docs/demo, docs/tables, docs/getting-started) are compared with GDI's pictures of their
# pages as well.
#
# Pages: the example programs' pages that are reference images, at the resolutions of their
# pictures; the render tests' pages and the feature pages of tests/gdi/pages at 96 dpi; other
# writers' files in tests/data/emf at the demo's resolution. Everything stays in
# build/gdi-agreement/: pages/, GDI's pictures in gdi/, and for every page over its limits a
# picture of GDI | ours | where they differ in differences/ (for every page with
# TAMVEL_GDI_AGREEMENT_PICTURES=all).
# Usage: tools/ci/gdi-agreement.sh   (builds what it needs in build/default and
#        build/mingw-x86_64; CI runs it after both builds)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
linux=$root/build/default
windows=$root/build/mingw-x86_64
work=$root/build/gdi-agreement

[[ -f $linux/build.ninja ]] || cmake --preset default >/dev/null
cmake --build "$linux" >/dev/null
[[ -f $windows/build.ninja ]] || cmake --preset mingw-x86_64 >/dev/null
cmake --build "$windows" --target gdi_render >/dev/null

rm -rf "$work"
mkdir -p "$work/pages" "$work/gdi" "$work/feature-pages"
# ctest has the example programs and the render tests write their pages (the rendering
# suite's own result is the test suite's business; here only its pages matter).
ctest --test-dir "$linux" -R '^rendering$' >/dev/null || true
"$linux/feature_pages" "$work/feature-pages" >/dev/null

# A prefix of its own: Japanese like the tests' prefix, with fonts that have the Windows
# faces' metrics so that text compares glyph for glyph.
wine=/usr/lib/wine/wine64
export WINEPREFIX=$windows/gdi-wine-prefix WINEDEBUG=-all
[[ -f $WINEPREFIX/system.reg ]] || tools/ci/wine-prefix.sh "$wine" "$WINEPREFIX" --windows-metrics
status=0
# Plays a group of pages at a resolution (pixels per millimetre), the one the reference
# images of those pages have, and collects the pages.
# Wine now and then fails to start a process at all: a failed group gets one more try.
gdi_render() {
  local resolution=$1
  shift
  local run=(env LC_ALL=ja_JP.UTF-8 "$wine" "$windows/gdi_render.exe" "$resolution" "$work/gdi")
  "${run[@]}" "$@" || "${run[@]}" "$@" || status=1
  cp "$@" "$work/pages/"
}
tmp=$linux/test-tmp
gdi_render 2.6666667 "$tmp"/demo-pages/*.emf tests/data/emf/*.emf  # 560 pixels across A4
gdi_render 5 "$tmp"/code_tables-pages/*.emf
gdi_render 4 "$tmp"/getting-started-pages/*.emf
gdi_render 3.7795276 "$tmp"/render-pages/*.emf "$work"/feature-pages/*.emf  # 96 dpi
echo "gdi-agreement: $(find "$work/gdi" -name '*.png' | wc -l) pages played by GDI"

export TAMVEL_GDI_AGREEMENT=$work TAMVEL_TEST_TMP=$tmp TAMVEL_DEMO_PAGES=$tmp/demo-pages \
  TAMVEL_CODE_TABLES_PAGES=$tmp/code_tables-pages \
  TAMVEL_GETTING_STARTED_PAGES=$tmp/getting-started-pages
# Every page against GDI, then every reference image against GDI (in a process of its own, so
# that what one suite leaves behind in the player cannot change the other's pictures).
for suite in GdiAgreementTest RenderTest; do
  "$linux/test_rendering" --gtest_filter="$suite.*" --gtest_brief=1 || status=1
done
if [[ -d $work/differences ]]; then
  echo "gdi-agreement: GDI | ours | differences of the pages over their limits: $work/differences"
fi
exit $status
