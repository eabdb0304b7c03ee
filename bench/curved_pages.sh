#!/bin/bash
# Curved pages: photos of bent book pages and curled sheets (bench/make_curved_pages, made apart
# from the tests) corrected with and without the curve model, and the same pages lying flat;
# Tesseract's character error rate of each corrected page against the drawn lines, the
# correction's own time (correct_photo's "ms") and its peak memory, all in one run, side by side;
# then open books, split into their two pages, scored the same way.
#
#     bench/curved_pages.sh [PAGES] [BIN]     (default 8 pages, BIN build/release/bin)
#
# Needs tesseract-ocr-eng, python3-opencv and python3-numpy. Build BIN's make_curved_pages and
# correct_photo first (Release, with -DFOLVANE_BENCH=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pages=${1:-8}
bin=${2:-$root/build/release/bin}
for program in "$bin/make_curved_pages" "$bin/correct_photo"; do
  [ -x "$program" ] || { echo "curved_pages: $program is missing" >&2; exit 1; }
done
command -v tesseract >/dev/null || { echo "curved_pages: tesseract is missing" >&2; exit 1; }
work=$(mktemp -d)
if [ -n "${CURVEDBENCH_KEEP:-}" ]; then
  echo "curved_pages: the photos and pages stay in $work" >&2
else
  trap 'rm -rf "$work"' EXIT
fi
export LC_ALL=C
"$bin/make_curved_pages" "$work" "$pages" >&2
for photo in "$work"/curved-??.jpg "$work"/flat-??.jpg; do
  name=$(basename "$photo" .jpg)
  kind=${name%-*}
  page=${name#*-}
  for way in dewarp plain; do
    option=()
    [ "$way" = plain ] && option=(--no-dewarp)
    out="$work/$kind-$way-$page"
    # Its peak resident memory (kilobytes) beside its own line.
    /usr/bin/time -f %M -o "$out.kb" \
      "$bin/correct_photo" --photo "${option[@]}" "$photo" "$out.png" >"$out.json"
    dpi=$(sed 's/.*"dpi":\([0-9.]*\).*/\1/' "$out.json")
    OMP_THREAD_LIMIT=1 tesseract "$out.png" stdout -l eng --dpi "${dpi%.*}" >"$out.txt" 2>/dev/null
  done
done
# Open books: each spread split in two, with and without the curve model, and the right page
# lying flat on its own (the left one is flat-NN's page).
for photo in "$work"/spread-??.jpg; do
  page=$(basename "$photo" .jpg)
  page=${page#*-}
  for way in dewarp plain; do
    option=(--spreads)
    [ "$way" = plain ] && option=(--no-dewarp --spreads)
    out="$work/spread-$way-$page"
    /usr/bin/time -f %M -o "$out.kb" \
      "$bin/correct_photo" --photo "${option[@]}" "$photo" "$out.png" >"$out.json"
    dpi=$(head -1 "$out.json" | sed 's/.*"dpi":\([0-9.]*\).*/\1/')
    for half in "$out" "$out-2"; do
      [ -f "$half.png" ] || continue
      OMP_THREAD_LIMIT=1 tesseract "$half.png" stdout -l eng --dpi "${dpi%.*}" >"$half.txt" \
        2>/dev/null
    done
  done
  "$bin/correct_photo" --photo --no-dewarp "$work/flatright-$page.jpg" \
    "$work/flatright-plain-$page.png" >"$work/flatright-plain-$page.json"
done
/usr/bin/python3 "$root/bench/curved_scores.py" "$work"
