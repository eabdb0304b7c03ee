#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, converts the bundled sample pages with
# the installed folvane-pdf, and removes the package again. Needs root, or sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

deb=$(bash "$root/scripts/package.sh" | tail -n 1)
echo "Package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):'
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
/usr/bin/folvane-pdf --version
/usr/bin/folvane-pdf -o "$out/samples.pdf" "$root"/res/samples/*
qpdf --check "$out/samples.pdf" >/dev/null
pdfinfo "$out/samples.pdf" | grep -E '^Pages:'
man -w folvane-pdf
echo "The installed folvane-pdf converted the samples."

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq folvane >/dev/null
if command -v folvane-pdf >/dev/null; then
  echo "folvane-pdf is still installed after removing the package" >&2
  exit 1
fi
echo "Removed the package."
