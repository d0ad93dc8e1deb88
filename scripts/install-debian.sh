#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds the library and makes its Debian packages
# (libtamvel0, libtamvel-dev, libtamvel-fortran-dev, tamvel-tools and, where GTK 4 and libcups
# are installed, tamvel-desktop, in build/default/packages), then installs them: pkg-config
# tamvel, find_package(tamvel) and `use tamvel` work from any folder afterwards. `apt-get purge
# libtamvel0 libtamvel-dev libtamvel-fortran-dev tamvel-tools tamvel-desktop` removes them
# again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup-debian.sh --packaging
cmake --preset default
cmake --build --preset default --target installable
rm -f build/default/packages/*.deb
(cd build/default && cpack -G DEB)

sudo=()
((EUID == 0)) || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --reinstall \
  "$PWD"/build/default/packages/*.deb </dev/null
