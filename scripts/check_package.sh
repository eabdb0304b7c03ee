#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, converts the bundled sample pages with
# the installed folvane-pdf, once more with text recognition and once with document correction
# (through the modules the package installs), and removes the package again. Needs root, or sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

deb=$(bash "$root/scripts/package.sh" | tail -n 1)
echo "Package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):'
contents=$(dpkg-deb --contents "$deb")
grep -q '/usr/lib/folvane/ocr-engine\.so$' <<<"$contents" ||
  { echo "the package has no text recognition module" >&2; exit 1; }
grep -q '/usr/lib/folvane/correction-engine\.so$' <<<"$contents" ||
  { echo "the package has no document correction module" >&2; exit 1; }
grep -q '/usr/lib/folvane/scan-sane\.so$' <<<"$contents" ||
  { echo "the package has no scanning module" >&2; exit 1; }
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
/usr/bin/folvane-pdf --version
/usr/bin/folvane-pdf -o "$out/samples.pdf" "$root"/res/samples/*
qpdf --check "$out/samples.pdf" >/dev/null
pdfinfo "$out/samples.pdf" | grep -E '^Pages:'
# Only the modules may bring in Tesseract, OpenCV and SANE: linked into the program, they cost
# every run.
linked=$(ldd /usr/bin/folvane-pdf /usr/bin/folvane)
if grep -q libtesseract <<<"$linked"; then
  echo "the installed programs link Tesseract themselves" >&2
  exit 1
fi
if grep -q libopencv <<<"$linked"; then
  echo "the installed programs link OpenCV themselves" >&2
  exit 1
fi
if grep -q libsane <<<"$linked"; then
  echo "the installed programs link SANE themselves" >&2
  exit 1
fi
# The installed scanning module loads: listing scanners answers (none found is an answer too)
# rather than saying scanning is not available.
devices=$(/usr/bin/folvane-pdf --list-devices 2>&1 || true)
if grep -q 'scanning is not available' <<<"$devices"; then
  echo "the installed scanning module cannot be used: $devices" >&2
  exit 1
fi
/usr/bin/folvane-pdf --ocr-lang eng -o "$out/searchable.pdf" "$root/res/samples/page-3.tif"
qpdf --check "$out/searchable.pdf" >/dev/null
grep -q 'Lossless scans' <<<"$(pdftotext "$out/searchable.pdf" -)" ||
  { echo "the recognised text is not in the PDF" >&2; exit 1; }
# A page that could not be corrected goes in as it is with a note: any note fails the check.
notes=$(/usr/bin/folvane-pdf --document -o "$out/corrected.pdf" "$root/res/samples/page-3.tif" 2>&1)
[ -z "$notes" ] || { echo "the installed correction did not correct: $notes" >&2; exit 1; }
qpdf --check "$out/corrected.pdf" >/dev/null
man -w folvane-pdf
# In Chinese too: the manual page and the messages.
man -L zh_CN -w folvane-pdf | grep -q '/zh_CN/' ||
  { echo "the Chinese manual page is not installed" >&2; exit 1; }
# The help is read whole before it is searched: grep -q leaving early would end folvane-pdf
# with SIGPIPE, which pipefail reports as a failure.
help_zh=$(env -u LC_ALL -u LANGUAGE -u LC_MESSAGES LANG=zh_CN.UTF-8 /usr/bin/folvane-pdf --help)
grep -q '^用法: folvane-pdf' <<<"$help_zh" || { echo "folvane-pdf does not speak Chinese" >&2; exit 1; }
echo "The installed folvane-pdf converted the samples, with text recognition and with correction a scan."

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq folvane >/dev/null
if command -v folvane-pdf >/dev/null; then
  echo "folvane-pdf is still installed after removing the package" >&2
  exit 1
fi
echo "Removed the package."
