#!/usr/bin/env bash
# Encryption: 40 photos into one PDF locked with passwords by folvane-pdf, against folvane-pdf
# writing it plain and `qpdf --encrypt` (AES-256) then run on that plain output, side by side in
# one run, taking turns for three rounds. What folvane-pdf's encryption adds (locked less plain)
# is set against qpdf's own pass over the plain file, as qpdf leaves it and synced to disk as
# folvane-pdf's own output is.
#   bench/encrypt_vs_qpdf.sh [PHOTOS_DIR] [BIN_DIR]
# PHOTOS_DIR: JPEGs to convert (default: bench/corpus/jpeg, as bench/make_corpus.sh makes it;
# without it, 40 photo-like 8-megapixel JPEGs are made here with imagemagick). BIN_DIR: the bin
# folder of a Release build (default build/release/bin). Prints wall and CPU seconds and peak
# memory of each run, then the medians and whether the target is met.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
photos=${1:-$root/bench/corpus/jpeg}
bin=${2:-$root/build/release/bin}
[ -x "$bin/folvane-pdf" ] || { echo "encrypt_vs_qpdf: $bin/folvane-pdf is missing" >&2; exit 1; }
for tool in qpdf /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "encrypt_vs_qpdf: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

if [ ! -d "$photos" ]; then
  command -v convert >/dev/null || { echo "encrypt_vs_qpdf: needs imagemagick" >&2; exit 1; }
  photos=$work/photos
  mkdir "$photos"
  convert -seed 7 -size 816x612 plasma:fractal -blur 0x2 -resize '3264x2448!' \
    -attenuate 0.3 +noise Gaussian "$work/base.miff"
  for i in $(seq -w 1 40); do # each file its own bytes: a different quality and a flip
    convert "$work/base.miff" $([ $((10#$i % 2)) = 0 ] && echo -flop) \
      -quality $((75 + 10#$i % 20)) "$photos/photo-$i.jpg"
  done
fi
mapfile -t files < <(ls "$photos"/*.jpg | head -n 40)
[ "${#files[@]}" -ge 1 ] || { echo "encrypt_vs_qpdf: no JPEG in $photos" >&2; exit 1; }
printf 'user secret\n' >"$work/user"
printf 'owner secret\n' >"$work/owner"

# run NAME COMMAND...: appends "NAME wall user+sys peakKB" to results.
run() {
  local name=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { echo "encrypt_vs_qpdf: $name failed: $(tail -c 300 "$work/err")" >&2; exit 1; }
  read -r wall user sys peak <"$work/time"
  echo "$name $wall $(echo "$user + $sys" | bc) $peak" | tee -a "$work/results"
}

echo "${#files[@]} photos, $(du -ch "${files[@]}" | tail -1 | cut -f1); name wall cpu peak_kb"
for round in 1 2 3; do
  run plain "$bin/folvane-pdf" -o "$work/plain.pdf" "${files[@]}"
  run locked "$bin/folvane-pdf" --user-password-file "$work/user" \
    --owner-password-file "$work/owner" -o "$work/locked.pdf" "${files[@]}"
  run qpdf qpdf --encrypt "user secret" "owner secret" 256 -- "$work/plain.pdf" "$work/qpdf.pdf"
  # folvane-pdf syncs what it writes before it renames it into place; qpdf leaves its output to
  # the page cache. The same pass with its file synced, for a like-for-like comparison.
  run qpdf+sync sh -c 'qpdf --encrypt "user secret" "owner secret" 256 -- "$1" "$2" && sync "$2"' \
    sh "$work/plain.pdf" "$work/qpdf.pdf"
done
# Locked as asked (a full qpdf --check decrypts every stream: minutes on a busy machine).
# (Read whole first: grep -q would end the pipe early, and pipefail would call that a failure.)
shown=$(qpdf --show-encryption --password="user secret" "$work/locked.pdf")
grep -q '^R = 6$' <<<"$shown" ||
  { echo "encrypt_vs_qpdf: locked.pdf is not encrypted with revision 6" >&2; exit 1; }
echo "sizes: plain $(stat -c %s "$work/plain.pdf"), locked $(stat -c %s "$work/locked.pdf")," \
  "qpdf $(stat -c %s "$work/qpdf.pdf") bytes"

median() { grep "^$1 " "$work/results" | cut -d' ' -f"$2" | sort -n | sed -n 2p; }
plain=$(median plain 2)
locked=$(median locked 2)
qpdf=$(median qpdf 2)
synced=$(median qpdf+sync 2)
added=$(echo "$locked - $plain" | bc)
echo "median wall: plain $plain s, locked $locked s (encryption adds $added s)," \
  "qpdf --encrypt $qpdf s, synced $synced s"
echo "median cpu: plain $(median plain 3) s, locked $(median locked 3) s," \
  "qpdf --encrypt $(median qpdf 3) s"
if [ "$(echo "$added <= $synced" | bc)" = 1 ]; then
  echo "target met: encryption adds no more than qpdf's own pass (synced)"
else
  echo "target missed: encryption adds more than qpdf's own pass (synced)"
fi
