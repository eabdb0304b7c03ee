#!/usr/bin/env bash
# The long recognition run: folvane-pdf --ocr on 10, 100 and 500 generated pages (A4, 300 dpi,
# Chinese and English; odd pages grey JPEG, even pages G4 TIFF, from ocr_make_pages), one run
# each, with wall time and peak memory (/usr/bin/time). Memory that does not grow with the
# page count means the 500-page figure stays within 10% of the 10-page one. Takes long (about
# half an hour on two cores): run it in the background with nice.
#   bench/ocr_long_run.sh [BIN_DIR] [COUNTS...]      (default counts: 10 100 500)
# BIN_DIR: a Release build's bin folder, built with -DFOLVANE_BENCH=ON for ocr_make_pages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release/bin}
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10 100 500)
most=0
for count in "${counts[@]}"; do [ "$count" -gt "$most" ] && most=$count; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/pages"
"$bin/ocr_make_pages" "$work/pages" "$most"
mapfile -t pages < <(ls "$work/pages"/page-*.jpg "$work/pages"/page-*.tif | sort)

printf '%8s %10s %10s %12s %s\n' pages seconds "peak KB" bytes "qpdf --check"
for count in "${counts[@]}"; do
  read -r seconds kb < <(/usr/bin/time -f '%e %M' "$bin/folvane-pdf" --ocr -o "$work/out.pdf" \
    "${pages[@]:0:$count}" 2>&1 >/dev/null | tail -n 1)
  check=failed
  qpdf --check "$work/out.pdf" >/dev/null 2>&1 && check=clean
  printf '%8s %10s %10s %12s %s\n' "$count" "$seconds" "$kb" "$(stat -c %s "$work/out.pdf")" \
    "$check"
done
