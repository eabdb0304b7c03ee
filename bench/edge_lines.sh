#!/usr/bin/env bash
# The corrected pages' borders: whether a dark line (the sheet's edge, its shadow, desk) is left
# along them. Generates PHOTOS desk photos of 12 MP and 4 tilted scans (bench/make_desk_photos),
# corrects each with correct_photo, and prints each page's darkest row or column within 1.5 mm
# of its edges (bench/edge_lines.py) and how many pages fall under 235 of 255.
#   bench/edge_lines.sh [PHOTOS] [BIN_DIR]        (default 12 photos; BIN_DIR build/release/bin)
# Needs Debian's python3-opencv and python3-numpy.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-12}
bin=${2:-$root/build/release/bin}
for program in "$bin/make_desk_photos" "$bin/correct_photo"; do
  [ -x "$program" ] || { echo "edge_lines: $program is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$bin/make_desk_photos" "$work" "$count" 2>/dev/null
pages=()
: >"$work/results.jsonl"
for photo in "$work"/photo-???.jpg "$work"/scan-???.jpg; do
  name=${photo%.jpg}
  [ -f "$name-flat.png" ] || continue # a desk without a sheet
  "$bin/correct_photo" "$photo" "$name-page.png" >>"$work/results.jsonl"
  pages+=("$name-page.png")
done
/usr/bin/python3 "$root/bench/edge_lines.py" "$work/results.jsonl" "${pages[@]}"
