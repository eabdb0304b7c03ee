#!/usr/bin/env bash
# Pictures of any size in bounded memory: peak RSS and wall time of folvane-pdf (/usr/bin/time -v)
# on a 1000 x 1000 16-bit RGB TIFF, a 7016 x 9920 one (a 600-dpi A3 colour scan) and a
# 30000 x 30000 grey PNG, and, side by side in the same run, an earlier build against this one
# on the largest page the earlier build accepts (5792 x 7700 16-bit RGB: 256 MiB decoded).
#   bench/large_images.sh BIN_DIR [BEFORE_BIN_DIR] [ROUNDS]
# BIN_DIR: a Release build's bin folder with -DFOLVANE_BENCH=ON (for large_image_make);
# BEFORE_BIN_DIR: the earlier build's (e.g. of commit 6d91b52 in a worktree of its own).
# Each time is the best of ROUNDS (default 3) runs; files are made once, in TMPDIR.
set -euo pipefail
bin=${1:?BIN_DIR}
before=${2:-}
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/large_image_make" scan16 "$work/small.tif" 1000 1000
"$bin/large_image_make" scan16 "$work/a3.tif" 7016 9920
"$bin/large_image_make" grey "$work/plan.png" 30000
"$bin/large_image_make" scan16 "$work/largest.tif" 5792 7700

# "SECONDS PEAK_KB" of the best of the rounds (least time; the peak of that run).
measure() {
  local program=$1 best="" line
  shift
  for _ in $(seq "$rounds"); do
    line=$(/usr/bin/time -f '%e %M' "$program" -o "$work/out.pdf" "$@" 2>&1 >/dev/null |
      tail -n 1)
    if [ -z "$best" ] || [ "$(echo "${line% *} < ${best% *}" | bc -l)" = 1 ]; then
      best=$line
    fi
  done
  echo "$best"
}

printf '%-34s %9s %10s %10s\n' "file" seconds "peak MB" "over 1000²"
read -r s0 k0 < <(measure "$bin/folvane-pdf" "$work/small.tif")
printf '%-34s %9s %10.1f %10s\n' "1000 x 1000 16-bit RGB TIFF" "$s0" "$(echo "$k0/1024" | bc -l)" -
for case in "7016 x 9920 16-bit RGB TIFF:a3.tif" "30000 x 30000 grey PNG:plan.png"; do
  read -r s k < <(measure "$bin/folvane-pdf" "$work/${case#*:}")
  printf '%-34s %9s %10.1f %10.1f\n' "${case%:*}" "$s" "$(echo "$k/1024" | bc -l)" \
    "$(echo "($k - $k0)/1024" | bc -l)"
done
read -r s k < <(measure "$bin/folvane-pdf" --pdf-version 1.5 "$work/a3.tif")
printf '%-34s %9s %10.1f %10.1f\n' "the A3 scan, --pdf-version 1.5" "$s" "$(echo "$k/1024" | bc -l)" \
  "$(echo "($k - $k0)/1024" | bc -l)"

if [ -n "$before" ]; then
  echo
  printf '%-34s %9s %10s\n' "5792 x 7700 16-bit RGB TIFF" seconds "peak MB"
  read -r sb kb < <(measure "$before/folvane-pdf" "$work/largest.tif")
  read -r sa ka < <(measure "$bin/folvane-pdf" "$work/largest.tif")
  printf '%-34s %9s %10.1f\n' "before" "$sb" "$(echo "$kb/1024" | bc -l)"
  printf '%-34s %9s %10.1f\n' "this build" "$sa" "$(echo "$ka/1024" | bc -l)"
  printf 'time %.2fx of before, peak memory %.2fx\n' "$(echo "$sa / $sb" | bc -l)" \
    "$(echo "$ka / $kb" | bc -l)"
fi
