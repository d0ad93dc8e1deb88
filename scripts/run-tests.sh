#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds the default configuration and runs the
# whole test suite.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup-debian.sh
cmake --preset default "$@"
cmake --build --preset default
ctest --preset default --parallel "$(nproc)"
