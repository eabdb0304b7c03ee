#!/usr/bin/env bash
# Installs what is missing, builds in Release and makes the Debian package; prints its path.
# Install it with: apt-get install ./build/package/folvane_*.deb
# With FOLVANE_PACKAGE_BUILD=DIR it packages that build folder instead of a Release build of its
# own: CI packages the sanitizer build it has just tested (configured for /usr), which spares a
# third full build and puts the very binaries the suite ran through the package checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
folvane_install_deps

build="${FOLVANE_PACKAGE_BUILD:-}"
if [ -z "$build" ]; then
  build="$root/build/package"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DFOLVANE_TESTS=OFF -DFOLVANE_BENCH=OFF >/dev/null
fi
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
[ "$prefix" = /usr ] || { echo "$build is configured for $prefix, not /usr" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/folvane_*.deb
(cd "$build" && cpack >/dev/null)
ls "$build"/folvane_*.deb
