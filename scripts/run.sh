#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the main job: the window where a
# display exists; otherwise the bundled sample pages become one PDF through folvane-pdf.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
folvane_install_deps

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DFOLVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/bin/folvane" ]; then
  exec "$build/bin/folvane"
fi
if [ ! -x "$build/bin/folvane-pdf" ]; then
  echo "folvane-pdf is not built yet: the PDF engine does not exist in this checkout." >&2
  exit 1
fi
out="${FOLVANE_OUT:-$root/build/samples.pdf}"
"$build/bin/folvane-pdf" -o "$out" "$root"/res/samples/*
echo "$out"
