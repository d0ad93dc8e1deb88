#!/usr/bin/env bash
# The differential rendering test: every page is played by the system's GDI (under wine64)
# and by our player, and compared against the per-page limits of
# tests/rendering/gdi_agreement_test.cpp. The reference images of tests/rendering and
# docs/demo are compared with GDI's pictures of their pages as well.
#
# Pages: the demo's (A4, played 560 pixels wide like docs/demo), the render tests' and the
# feature pages of tests/gdi/pages (100 x 70 mm, at 96 dpi), and other writers' files in
# tests/data/emf. Everything stays in build/gdi-agreement/: pages/, GDI's pictures in gdi/,
# and for every page over its limits a picture of GDI | ours | where they differ in
# differences/.
# Usage: tools/ci/gdi-agreement.sh   (builds what it needs in build/default and
#        build/mingw-x86_64; CI runs it after both builds)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
linux=$root/build/default
windows=$root/build/mingw-x86_64
work=$root/build/gdi-agreement

[[ -f $linux/build.ninja ]] || cmake --preset default >/dev/null
cmake --build "$linux" --target demo test_rendering feature_pages >/dev/null
[[ -f $windows/build.ninja ]] || cmake --preset mingw-x86_64 >/dev/null
cmake --build "$windows" --target gdi_render >/dev/null

rm -rf "$work"
mkdir -p "$work/pages" "$work/gdi"
# ctest has the demo and the render tests write their pages (the rendering suite's own
# result is reported by the test suite; here only its pages matter).
ctest --test-dir "$linux" -R '^(demo_folder|demo|rendering)$' >/dev/null || true
cp "$linux"/test-tmp/demo-pages/*.emf "$linux"/test-tmp/render-pages/*.emf tests/data/emf/*.emf \
  "$work/pages/"
"$linux/feature_pages" "$work/pages" >/dev/null
echo "gdi-agreement: $(find "$work/pages" -name '*.emf' | wc -l) pages"

# A prefix of its own: Japanese like the tests' prefix, with fonts that have the Windows
# faces' metrics so that text compares glyph for glyph.
wine=/usr/lib/wine/wine64
export WINEPREFIX=$windows/gdi-wine-prefix WINEDEBUG=-all
[[ -f $WINEPREFIX/system.reg ]] || tools/ci/wine-prefix.sh "$wine" "$WINEPREFIX" --windows-metrics
gdi_render() { env LC_ALL=ja_JP.UTF-8 "$wine" "$windows/gdi_render.exe" "$@"; }
a4=() small=()
for page in "$work"/pages/*.emf; do
  case $(basename "$page") in
    demo-page-* | gdi-*) a4+=("$page") ;;
    *) small+=("$page") ;;
  esac
done
status=0
gdi_render 560 "$work/gdi" "${a4[@]}" || status=1
gdi_render 378 "$work/gdi" "${small[@]}" || status=1

TAMVEL_GDI_AGREEMENT=$work TAMVEL_DEMO_PAGES=$linux/test-tmp/demo-pages \
  TAMVEL_TEST_TMP=$linux/test-tmp "$linux/test_rendering" \
  --gtest_filter='GdiAgreementTest.*:RenderTest.*' --gtest_brief=1 || status=1
if [[ -d $work/differences ]]; then
  echo "gdi-agreement: GDI | ours | differences of the pages over their limits: $work/differences"
fi
exit $status
