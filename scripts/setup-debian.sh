#!/usr/bin/env bash
# Installs the Debian 12 packages tamvel needs, only those missing (apt-get update runs once,
# and only when something is to be installed).
#
#   setup-debian.sh             Linux build (gfortran too), tests (the Python package's with
#                               pytest, NumPy and Jupyter), benchmarks (libEMF to compare
#                               with), fonts: the base group
#   setup-debian.sh --windows   + mingw-w64 cross compilers and wine64 for the Windows tests,
#                               lld-link and clang for the SDK's tamvel.lib and its check
#   setup-debian.sh --readers   + LibreOffice, emf2svg, libuemf: independent EMF readers
#   setup-debian.sh --desktop   + GTK 4 and libcups (the viewer, the CUPS module) and what
#                               tools/ci/desktop-check.sh drives them with: Xvfb, xdotool,
#                               xclip, ImageMagick, a CUPS scheduler, poppler-utils,
#                               desktop-file-utils
#   setup-debian.sh --lint      + clang-format, lintian (the Debian packages)
#   setup-debian.sh --fuzz      + clang (the fuzz targets)
#   setup-debian.sh --packaging + file (CPack's Debian packages), venv, pip and setuptools
#                               (pip install ./python)
#   setup-debian.sh --ci        everything CI uses
set -euo pipefail

base=(build-essential gfortran cmake ninja-build pkg-config python3
  libcairo2-dev libfreetype-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev googletest libemf-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-motoya-l-maruberi fonts-liberation2
  python3-numpy python3-pytest jupyter-nbconvert python3-ipykernel)
windows=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix gfortran-mingw-w64-i686-posix wine64
  lld clang)
readers=(libreoffice-draw poppler-utils emf2svg libuemf-dev librsvg2-bin)
desktop=(libgtk-4-dev libcups2-dev cups-daemon cups-client xvfb xdotool xclip imagemagick
  poppler-utils desktop-file-utils)
lint=(clang-format lintian)
fuzz=(clang)
packaging=(file python3-venv python3-pip python3-setuptools python3-wheel)

wanted=("${base[@]}")
for argument in "$@"; do
  case "$argument" in
    --windows) wanted+=("${windows[@]}") ;;
    --readers) wanted+=("${readers[@]}") ;;
    --desktop) wanted+=("${desktop[@]}") ;;
    --lint) wanted+=("${lint[@]}") ;;
    --fuzz) wanted+=("${fuzz[@]}") ;;
    --packaging) wanted+=("${packaging[@]}") ;;
    --ci) wanted+=("${windows[@]}" "${readers[@]}" "${desktop[@]}" "${lint[@]}" "${fuzz[@]}"
      "${packaging[@]}") ;;
    -h | --help) sed -n '2,19p' "$0"; exit 0 ;;
    *) echo "setup-debian.sh: unknown option $argument" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed'; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  echo "setup-debian.sh: all ${#wanted[@]} packages present"
  exit 0
fi

sudo=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "setup-debian.sh: run as root (or install sudo)" >&2; exit 1; }
  sudo=(sudo)
fi
echo "setup-debian.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
