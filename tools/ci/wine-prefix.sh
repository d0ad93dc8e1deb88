#!/usr/bin/env bash
# Makes the private Wine prefix the Windows tests run in, set up as a Japanese system:
# the Japanese faces the library asks for (ＭＳ 明朝, ＭＳ ゴシック, 丸ｺﾞｼｯｸ, ...) are
# replaced by the installed IPA and Motoya fonts, as emf-notes §7.1 describes.
# Usage: wine-prefix.sh WINE64 PREFIX [--windows-metrics]
#   (ctest runs it once, before the first test)
# --windows-metrics maps the faces to copies of those fonts with the Windows faces' metrics
# (tools/ci/windows-metrics-fonts.py), for GDI's pictures of the differential test.
set -euo pipefail
wine=$1
export WINEPREFIX=$2 WINEDEBUG=-all
mincho=IPAMincho gothic=IPAGothic maru=MotoyaLMaru
# Wine takes code page 932 from a Japanese locale name, even without the glibc locale.
run_wine() { LC_ALL=ja_JP.UTF-8 "$wine" "$@" </dev/null >/dev/null 2>&1; }

mkdir -p "$WINEPREFIX"
run_wine wineboot --init
if [[ ${3:-} == --windows-metrics ]]; then
  python3 "$(dirname "${BASH_SOURCE[0]}")/windows-metrics-fonts.py" \
    "$WINEPREFIX/drive_c/windows/Fonts"
  mincho=TVGMincho gothic=TVGGothic maru=TamvelLMaru
fi

# regedit reads UTF-16 .reg files, so the face names survive whatever the Unix locale is.
reg=$WINEPREFIX/font-replacements.reg
printf '%s\r\n' \
  'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  "\"ＭＳ 明朝\"=\"$mincho\"" \
  "\"明朝\"=\"$mincho\"" \
  "\"ＭＳ ゴシック\"=\"$gothic\"" \
  "\"ｺﾞｼｯｸ\"=\"$gothic\"" \
  "\"丸ｺﾞｼｯｸ\"=\"$maru\"" \
  | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
(cd "$WINEPREFIX" && run_wine regedit /S font-replacements.reg)
# The registry reaches the prefix's files when the server ends.
"$(dirname "$wine")/wineserver" -w
echo "wine prefix ready: $WINEPREFIX"
