#!/usr/bin/env bash
# PDF inputs in folvane-pdf, two measures:
# 1. Peak memory against the number of PDF inputs: a 10-page text PDF given 20 times (200 pages)
#    and 200 times (2000 pages). Flat means within 10%.
# 2. Merging 40 photos with a 100-page PDF in one run, against the two-step peer: the same 40
#    photos made into a PDF by folvane-pdf, then `qpdf --empty --pages` of that PDF and the
#    100-page one. Wall time and peak memory of each step, side by side.
#   bench/pdf_inputs.sh [BUILD_BIN_DIR]     (photos from bench/make_corpus.sh: bench/corpus/jpeg)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release/bin}
corpus=$root/bench/corpus
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs a command, printing "seconds peak_kb".
measure() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -n 1; }

"$bin/make_text_pdf" 10 "$out/ten.pdf"
"$bin/make_text_pdf" 100 "$out/hundred.pdf"

few=() many=()
for _ in $(seq 20); do few+=("$out/ten.pdf"); done
for _ in $(seq 200); do many+=("$out/ten.pdf"); done
read -r _ a < <(measure "$bin/folvane-pdf" -o "$out/few.pdf" "${few[@]}")
read -r _ b < <(measure "$bin/folvane-pdf" -o "$out/many.pdf" "${many[@]}")
printf 'memory: 200 pages %s KB, 2000 pages %s KB, growth %.1f%%\n' "$a" "$b" \
  "$(echo "($b - $a) * 100 / $a" | bc -l)"

photos=("$corpus/jpeg"/*)
photos=("${photos[@]:0:40}")
[ ${#photos[@]} -eq 40 ] || { echo "need 40 photos in $corpus/jpeg (bench/make_corpus.sh)" >&2; exit 1; }
read -r t1 m1 < <(measure "$bin/folvane-pdf" -o "$out/one.pdf" "${photos[@]:0:20}" \
  "$out/hundred.pdf" "${photos[@]:20}")
read -r t2 m2 < <(measure "$bin/folvane-pdf" -o "$out/photos.pdf" "${photos[@]}")
read -r t3 m3 < <(measure qpdf --empty --pages "$out/photos.pdf" 1-20 "$out/hundred.pdf" \
  "$out/photos.pdf" 21-40 -- "$out/two.pdf")
printf '%-34s %9s %10s\n' "merge of 40 photos and 100 pages" seconds "peak KB"
printf '%-34s %9s %10s\n' "folvane-pdf, one run" "$t1" "$m1"
printf '%-34s %9s %10s\n' "  peer step 1: folvane-pdf photos" "$t2" "$m2"
printf '%-34s %9s %10s\n' "  peer step 2: qpdf --empty" "$t3" "$m3"
printf '%-34s %9.2f %10s\n' "two-step peer, total (peak: max)" "$(echo "$t2 + $t3" | bc -l)" \
  "$((m2 > m3 ? m2 : m3))"
