#!/usr/bin/env bash
# Searchable PDFs: `folvane-pdf --ocr` against what a user runs today, `tesseract PAGE out -l
# chi_sim+eng pdf` per page joined with `qpdf --empty --pages`, on the same generated pages
# (A4, 300 dpi, mixed Chinese and English; odd pages grey JPEG, even pages G4 TIFF), side by side
# in one run: wall time, peak memory (the largest process), output size and the character error
# rate of pdftotext against the drawn text (blanks ignored).
#   bench/ocr_vs_tesseract.sh [BIN_DIR] [PAGES] [LONG_RUN_PAGES]
# BIN_DIR: a Release build's bin folder (built with -DFOLVANE_BENCH=ON for ocr_make_pages).
# LONG_RUN_PAGES (0: skipped): folvane-pdf alone on the pages repeated to that count, for
# memory that stays flat and an output that passes qpdf --check.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release/bin}
count=${2:-40}
long=${3:-0}
languages=chi_sim+eng
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/pages" "$work/peer"
"$bin/ocr_make_pages" "$work/pages" "$count"
mapfile -t pages < <(ls "$work/pages"/page-*.jpg "$work/pages"/page-*.tif | sort)

# Seconds and peak KB of one command: "SECONDS KB".
measure() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -n 1; }

ours() {
  local out=$1
  shift
  measure "$bin/folvane-pdf" --ocr --ocr-lang "$languages" -o "$out" "$@"
}

peer() {
  local start end peak=0 i=0 page kb
  start=$(date +%s.%N)
  for page in "${pages[@]}"; do
    i=$((i + 1))
    kb=$(/usr/bin/time -f %M tesseract "$page" "$work/peer/$(printf %03d $i)" -l "$languages" \
      pdf 2>&1 >/dev/null | tail -n 1)
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  kb=$(/usr/bin/time -f %M qpdf --empty --pages "$work/peer"/*.pdf -- "$work/peer.pdf" 2>&1 |
    tail -n 1)
  [ "$kb" -gt "$peak" ] && peak=$kb
  end=$(date +%s.%N)
  echo "$(echo "$end - $start" | bc -l) $peak"
}

# Character error rate of a PDF's pages against the page-NNN.txt files, all pages together.
cer() {
  /usr/bin/python3 - "$1" "$work/pages" "$count" <<'PY'
import subprocess, sys
pdf, folder, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
def chars(text):
    return [c for c in text if not c.isspace()]
def distance(a, b):
    previous = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        current = [i]
        for j, y in enumerate(b, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (x != y)))
        previous = current
    return previous[-1]
edits = total = 0
for page in range(1, count + 1):
    expected = chars(open(f"{folder}/page-{page:03d}.txt", encoding="utf-8").read())
    found = chars(subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), pdf, "-"],
                                 capture_output=True, text=True).stdout)
    edits += distance(expected, found)
    total += len(expected)
print(f"{100.0 * edits / total:.2f}")
PY
}

read -r our_s our_kb < <(ours "$work/ours.pdf" "${pages[@]}")
read -r peer_s peer_kb < <(peer)
our_size=$(stat -c %s "$work/ours.pdf")
peer_size=$(stat -c %s "$work/peer.pdf")
printf '%-28s %10s %10s %12s %8s\n' "$count pages" seconds "peak KB" bytes "CER %"
printf '%-28s %10s %10s %12s %8s\n' "folvane-pdf --ocr" "$our_s" "$our_kb" "$our_size" \
  "$(cer "$work/ours.pdf")"
printf '%-28s %10s %10s %12s %8s\n' "tesseract per page + qpdf" "$peer_s" "$peer_kb" \
  "$peer_size" "$(cer "$work/peer.pdf")"
printf 'speed-up %.2fx, size %.2f of the peer\n' "$(echo "$peer_s / $our_s" | bc -l)" \
  "$(echo "$our_size / $peer_size" | bc -l)"
qpdf --check "$work/ours.pdf" >/dev/null && echo "qpdf --check: ours clean"

# Peak memory against the page count: the first ten pages alone.
read -r _ ten_kb < <(ours "$work/ten.pdf" "${pages[@]:0:10}")
printf 'peak KB: 10 pages %s, %s pages %s (%+.1f%%)\n' "$ten_kb" "$count" "$our_kb" \
  "$(echo "($our_kb - $ten_kb) * 100 / $ten_kb" | bc -l)"

if [ "$long" -gt 0 ]; then
  many=()
  while [ ${#many[@]} -lt "$long" ]; do many+=("${pages[@]}"); done
  many=("${many[@]:0:$long}")
  read -r long_s long_kb < <(ours "$work/long.pdf" "${many[@]}")
  printf '%s pages: %s s, peak KB %s (%+.1f%% against %s pages), ' "$long" "$long_s" "$long_kb" \
    "$(echo "($long_kb - $our_kb) * 100 / $our_kb" | bc -l)" "$count"
  qpdf --check "$work/long.pdf" >/dev/null && echo "qpdf --check clean"
fi
