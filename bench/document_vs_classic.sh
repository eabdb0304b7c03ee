#!/usr/bin/env bash
# Corrected documents: `folvane-pdf --document` against the classic document scanner written
# with OpenCV (bench/classic_scanner.py: edges, the largest four-point contour, a perspective
# warp, an adaptive threshold, img2pdf), side by side in one run on the same generated desk
# photos of known truth (bench/make_desk_photos: photos on several desks, some without a sheet,
# and four tilted scans).
#   bench/document_vs_classic.sh [PHOTOS] [BIN_DIR]       (default 24 photos of 12 MP)
# BIN_DIR: a Release build's bin folder, built with -DFOLVANE_BENCH=ON (folvane-pdf,
# make_desk_photos, correct_photo). Each tool converts the whole set into one PDF under
# /usr/bin/time (wall and CPU time, peak memory), taking turns for three rounds; then
# folvane-pdf --document runs alone on the first ten files and on the same ten repeated to 100
# (three sets of ten runs of ten against three runs of 100) and 200, for its memory against the
# page count. The scores (bench/document_scores.py) are printed per photo and per tool, with
# the targets met or not: corner error against the truth (ours through correct_photo, which runs the PDF engine's
# correction), the paper's 5th percentile on pages rendered at 100 dpi, Tesseract's character
# error rate (chi_sim+eng) on pages rendered at 300 dpi against the same on the flat page, red
# seals still red, bytes per page, time per photo and peak memory.
# DOCBENCH_KEEP=1 keeps the photos, the PDFs and the corners found for a look afterwards.
# DOCBENCH_SIZE=WIDTHxHEIGHT makes the photos that size instead of 12 MP (2048x1536 for a camera
# of the 300万 class); DOCBENCH_MEMORY=0 leaves out the runs that measure memory.
# Peers and tools come from Debian packages: python3-opencv, python3-numpy, img2pdf,
# poppler-utils, tesseract-ocr (-eng, -chi-sim), time, bc.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-24}
bin=${2:-$root/build/release/bin}
[ "$count" -ge 10 ] 2>/dev/null ||
  { echo "document_vs_classic: PHOTOS must be at least 10" >&2; exit 1; }
python=/usr/bin/python3
for program in "$bin/folvane-pdf" "$bin/make_desk_photos" "$bin/correct_photo"; do
  [ -x "$program" ] || { echo "document_vs_classic: $program is missing" >&2; exit 1; }
done
for tool in pdftoppm pdfinfo pdfimages tesseract bc /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "document_vs_classic: $tool is missing" >&2; exit 1; }
done
"$python" -c 'import cv2, numpy, img2pdf' 2>/dev/null ||
  { echo "document_vs_classic: needs python3-opencv, python3-numpy and img2pdf" >&2; exit 1; }
work=$(mktemp -d)
if [ -n "${DOCBENCH_KEEP:-}" ]; then
  echo "document_vs_classic: the photos and PDFs stay in $work" >&2
else
  trap 'rm -rf "$work"' EXIT
fi
export LC_ALL=C

size=()
if [ -n "${DOCBENCH_SIZE:-}" ]; then
  [[ $DOCBENCH_SIZE =~ ^([0-9]+)x([0-9]+)$ ]] ||
    { echo "document_vs_classic: DOCBENCH_SIZE is WIDTHxHEIGHT" >&2; exit 1; }
  size=("${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}")
fi
mkdir "$work/photos"
if ! "$bin/make_desk_photos" "$work/photos" "$count" "${size[@]}" 2>"$work/stderr.txt"; then
  echo "document_vs_classic: make_desk_photos failed: $(tail -c 500 "$work/stderr.txt")" >&2
  exit 1
fi
ls "$work/photos"/photo-???.jpg "$work/photos"/scan-???.jpg >"$work/files.txt"
mapfile -t files <"$work/files.txt"

# timed TOOL PHOTOS COMMAND...: runs COMMAND under /usr/bin/time, adds "TOOL seconds KB PHOTOS
# CPU-seconds" to runs.tsv. A tool that fails stops the benchmark: its scores would mean nothing.
timed() {
  local tool=$1 photos=$2
  shift 2
  if ! /usr/bin/time -f '%e %M %U %S' -o "$work/time.txt" "$@" >/dev/null \
    2>"$work/stderr.txt"; then
    echo "document_vs_classic: $tool failed: $(head -c 500 "$work/stderr.txt")" >&2
    exit 1
  fi
  read -r seconds kb user system <"$work/time.txt"
  printf '%s\t%s\t%s\t%s\t%s\n' "$tool" "$seconds" "$kb" "$photos" \
    "$(echo "$user + $system" | bc -l)" >>"$work/runs.tsv"
}

# The tools take turns, three rounds, so that the load of a shared machine falls on both; the
# scores take the median time and the largest peak.
: >"$work/runs.tsv"
for round in 1 2 3; do
  echo "round $round/3: ${#files[@]} files with each tool" >&2
  timed ours "${#files[@]}" "$bin/folvane-pdf" --document -o "$work/ours.pdf" "${files[@]}"
  timed classic "${#files[@]}" "$python" "$root/bench/classic_scanner.py" "$work/classic.pdf" \
    "$work/classic-corners.jsonl" "${files[@]}"
done

for file in "${files[@]}"; do
  "$bin/correct_photo" "$file" >>"$work/ours-corners.jsonl"
done

# The same ten files once, ten and twenty times over: only the page count differs. The target
# is 10 against 100; 200 shows whether what grows keeps growing. A run's peak is the moment both
# workers hold their largest buffers at once, and the more pages a run has, the likelier the
# worst such moment; the allocator's state adds its own spread, run to run. So both sides
# convert the same hundred pages, ten runs of ten against one run of 100, three times over in
# turn, and the scores compare the median of the three.
if [ "${DOCBENCH_MEMORY:-1}" != 0 ]; then
  echo "memory at 10, 100 and 200 photos" >&2
  ten=("${files[@]:0:10}")
  many=()
  for _ in $(seq 10); do many+=("${ten[@]}"); done
  for set in 1 2 3; do
    for _ in $(seq 10); do
      timed "ours-10-$set" 10 "$bin/folvane-pdf" --document -o "$work/ten.pdf" "${ten[@]}"
    done
    timed ours-100 100 "$bin/folvane-pdf" --document -o "$work/hundred.pdf" "${many[@]}"
  done
  timed ours-200 200 "$bin/folvane-pdf" --document -o "$work/hundred.pdf" "${many[@]}" "${many[@]}"
fi

echo "scoring (Tesseract on every page)" >&2
echo "${#files[@]} files: $count photos${DOCBENCH_SIZE:+ of $DOCBENCH_SIZE} and 4 scans; $(nproc) cores; $bin"
"$python" "$root/bench/document_scores.py" "$work"
