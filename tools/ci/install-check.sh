#!/usr/bin/env bash
# The installed library, on a built build/default:
#   1. `cmake --install` into a fresh prefix, and the consumer test against it;
#   2. `pip install ./python` into a venv, as docs/getting-started.md does it, drawing with
#      the library of that prefix;
#   3. the Debian packages as the README makes them (scripts/install-debian.sh): lintian,
#      the consumer test against /usr, then the packages are removed again.
# Runs as root (CI) or through sudo for the packages.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
build=build/default
work=$(mktemp -d)
sudo=()
((EUID == 0)) || sudo=(sudo)
packages=(libtamvel0 libtamvel-dev libtamvel-fortran-dev python3-tamvel tamvel-tools tamvel-desktop)
cleanup() {
  rm -rf "$work"
  "${sudo[@]}" dpkg --purge "${packages[@]}" >/dev/null 2>&1 || true
}
trap cleanup EXIT
status=0

echo "== cmake --install into a fresh prefix"
cmake --build "$build" --target installable
cmake --install "$build" --prefix "$work/prefix" >/dev/null
tools/ci/consumer-test.sh "$work/prefix" || status=1

echo "== pip install ./python into a venv"
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
if "$work/venv/bin/pip" install -q --no-build-isolation ./python; then
  libdir=$(dirname "$(find "$work/prefix" -name 'libtamvel.so.0')")
  (cd "$work" && LD_LIBRARY_PATH=$libdir "$work/venv/bin/python" \
    "$root/examples/getting-started/first_page.py" venv-page.emf) || status=1
  [[ -s "$work/venv-page.emf" ]] || { echo "FAIL: the venv's tamvel wrote no page"; status=1; }
else
  echo "FAIL: pip install ./python"
  status=1
fi

echo "== Debian packages (scripts/install-debian.sh)"
if dpkg-query -W -f='${Status}' "${packages[@]}" 2>/dev/null | grep -q 'install ok'; then
  echo "FAIL: tamvel packages are installed already; remove them first"
  exit 1
fi
scripts/install-debian.sh
ls -l "$build"/packages/*.deb
# Errors and warnings fail; the tags in tools/ci/lintian-overrides say why they are accepted.
lintian --suppress-tags-from-file tools/ci/lintian-overrides --fail-on error,warning \
  "$build"/packages/*.deb || status=1
tools/ci/consumer-test.sh /usr || status=1
"${sudo[@]}" apt-get purge -y -qq "${packages[@]}" >/dev/null
for leftover in /usr/include/tamvel.h /usr/bin/tamvel /usr/lib/python3/dist-packages/tamvel \
  /usr/share/applications/tamvel-view.desktop; do
  [[ ! -e "$leftover" ]] || { echo "FAIL: $leftover is left after removing the packages"; status=1; }
done
((status == 0)) && echo "ok: installed, packaged, used and removed"
exit $status
