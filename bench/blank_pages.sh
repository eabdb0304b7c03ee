#!/usr/bin/env bash
# The blank-page rule on pages made apart from the tests (bench/make_blank_pages.py: 300-dpi
# scans and phone photos, blank but not clean, and nearly blank), and what it costs.
#   bench/blank_pages.sh BIN_DIR [FOLDER] [ROUNDS]
# BIN_DIR: a Release build's bin folder; FOLDER: where the pages are (made there when missing;
# default a temporary folder). Needs Debian's python3-opencv, python3-numpy, python3-pil.
#
# 1. Verdicts: folvane-pdf --skip-blank on every page, then on the photos with --document (the
#    rule then reads the corrected page); a page is judged right when it is left out exactly
#    when its name starts with "blank-".
# 2. Cost: on the photos that hold a mark (none is left out, so the runs write the same pages),
#    runs without and with --skip-blank side by side, ROUNDS (default 3) times in turn, plain
#    and with --document; the best time of each.
set -euo pipefail
bin=${1:?BIN_DIR}
folder=${2:-}
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$folder" ]; then
  folder=$work/pages
fi
if [ ! -d "$folder/photos" ]; then
  /usr/bin/python3 "$(dirname "$0")/make_blank_pages.py" "$folder"
fi

# Prints "LABEL: right of total" and each page judged wrong; OPTIONS go before the pages.
verdicts() {
  local label=$1 options=$2 left right=0 total=0 page name
  shift 2
  # shellcheck disable=SC2086
  left=$("$bin/folvane-pdf" $options --skip-blank -o "$work/out.pdf" "$@" 2>&1 >/dev/null |
    sed -n 's/^left out as blank: //p' || true)
  for page in "$@"; do
    name=$(basename "$page")
    total=$((total + 1))
    if grep -qxF "$page" <<<"$left"; then
      if [[ $name == blank-* ]]; then right=$((right + 1)); else echo "  wrong: $name left out"; fi
    else
      if [[ $name == mark-* ]]; then right=$((right + 1)); else echo "  wrong: $name kept"; fi
    fi
  done
  echo "$label: $right of $total judged right"
}

verdicts "scans" "" "$folder"/scans/*
verdicts "photos" "" "$folder"/photos/*
verdicts "photos, --document" --document "$folder"/photos/*

# One run's wall time in seconds.
seconds() {
  /usr/bin/time -f '%e' -o "$work/time" "$bin/folvane-pdf" "$@" >/dev/null 2>&1
  cat "$work/time"
}

# "A B": the best wall times of ROUNDS runs without and with --skip-blank, run in turn.
best_of() {
  local a="" b="" t
  for _ in $(seq "$rounds"); do
    t=$(seconds -o "$work/a.pdf" "$@")
    if [ -z "$a" ] || [ "$(echo "$t < $a" | bc -l)" = 1 ]; then a=$t; fi
    t=$(seconds --skip-blank -o "$work/b.pdf" "$@")
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$a $b"
}

report() {
  local label=$1 times
  shift
  times=$(best_of "$@")
  echo "$label: without ${times% *} s, with --skip-blank ${times#* } s ($(echo \
    "scale=1; (${times#* } - ${times% *}) * 100 / ${times% *}" | bc -l)%)"
}

report "photos with a mark" "$folder"/photos/mark-*
report "photos with a mark, --document" --document "$folder"/photos/mark-*
