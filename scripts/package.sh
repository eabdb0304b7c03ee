#!/usr/bin/env bash
# Installs what is missing, builds in Release and makes the Debian package; prints its path.
# Install it with: apt-get install ./build/package/folvane_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
folvane_install_deps

build="$root/build/package"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DFOLVANE_TESTS=OFF -DFOLVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/folvane_*.deb
(cd "$build" && cpack >/dev/null)
ls "$build"/folvane_*.deb
