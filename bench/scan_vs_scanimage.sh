#!/usr/bin/env bash
# Scanning against what a user runs today: the library's scan (scan_pages, the same scan
# folvane-pdf --scan runs before it makes the PDF) and the window's "扫描" (scan_window_pages:
# the scan dialog answered, the feeder refilled with "继续扫描", every page a row of the list)
# beside `scanimage --batch`, on the same SANE test device and settings, side by side in one run. 50 A4 pages at 300 dpi grey from the
# feeder, in five loads of its ten pages as a user refills a feeder; time per page, and peak
# memory (/usr/bin/time -v) at 5 and at 50 pages. Both write PNG at libpng's default level. The
# test device is paced (its read-delay after each 64 KiB, PACE_US microseconds, 5000 unless
# set), so that, as with a real scanner, the device and not the program sets the pace;
# PACE_US=0 takes the pacing away and shows the programs' own cost. The 50-page runs alternate,
# ROUNDS times (3 unless set), and the best time of each counts: the machine is shared.
#   bench/scan_vs_scanimage.sh [BIN_DIR]
# BIN_DIR: a Release build's bin folder holding scan_pages and scan_window_pages (built with the
# tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release/bin}
pace=${PACE_US:-5000}
rounds=${ROUNDS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The test driver alone, A4 at its top-left corner, a grid drawn on the pages.
mkdir -p "$work/sane"
echo test >"$work/sane/dll.conf"
{
  echo 'geometry_min 0.0'
  echo 'geometry_max 300.0'
  echo 'br_x 210.0'
  echo 'br_y 297.0'
  echo 'test-picture "Grid"'
  if [ "$pace" -gt 0 ]; then
    echo 'read-limit true'
    echo 'read-limit-size 65536'
    echo 'read-delay true'
    echo "read-delay-duration $pace"
  fi
} >"$work/sane/test.conf"
export SANE_CONFIG_DIR=$work/sane

# "SECONDS CPU_SECONDS PEAK_KB" of one command, from /usr/bin/time -v.
measure() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '
    /Elapsed \(wall clock\)/ { n = split($NF, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i] }
    /User time/ { cpu += $NF }
    /System time/ { cpu += $NF }
    /Maximum resident set size/ { kb = $NF }
    END { printf "%s %s %s\n", s, cpu, kb }'
}

# Our scan of PAGES pages: one process reloading the feeder as it runs empty.
ours() {
  rm -rf "$work/ours" && mkdir -p "$work/ours"
  measure "$bin/scan_pages" test:0 "$work/ours" "$1" gray 300
}

# The window's scan of PAGES pages, into a pictures folder of its own.
window() {
  rm -rf "$work/window" && mkdir -p "$work/window"
  XDG_PICTURES_DIR=$work/window measure "$bin/scan_window_pages" test:0 "$1"
}

# scanimage: one --batch run per load of the feeder (ten pages; fewer with PAGES < 10).
peer() {
  local pages=$1 done=0 seconds=0 cpu=0 peak=0 count s c kb
  rm -rf "$work/peer" && mkdir -p "$work/peer"
  while [ "$done" -lt "$pages" ]; do
    count=$((pages - done < 10 ? pages - done : 10))
    read -r s c kb < <(measure scanimage -d test:0 --source 'Automatic Document Feeder' \
      --mode Gray --depth 8 --resolution 300 --format=png --batch="$work/peer/p%03d.png" \
      --batch-start=$((done + 1)) --batch-count="$count")
    seconds=$(echo "$seconds + $s" | bc -l)
    cpu=$(echo "$cpu + $c" | bc -l)
    [ "$kb" -gt "$peak" ] && peak=$kb
    done=$((done + count))
  done
  echo "$seconds $cpu $peak"
}

check_pages() {
  local got
  got=$(find "$1" -name '*.png' | wc -l)
  [ "$got" -eq "$2" ] || { echo "$1: $got pages instead of $2" >&2; exit 1; }
}

min() { echo "if ($1 < $2) $1 else $2" | bc -l; }

read -r _ _ ours5_kb < <(ours 5)
check_pages "$work/ours" 5
read -r _ _ window5_kb < <(window 5)
check_pages "$work/window" 5
read -r _ _ peer5_kb < <(peer 5)
check_pages "$work/peer" 5
ours50_s=999999 window50_s=999999 peer50_s=999999
for _ in $(seq "$rounds"); do
  read -r s ours50_cpu ours50_kb < <(ours 50)
  check_pages "$work/ours" 50
  ours50_s=$(min "$s" "$ours50_s")
  read -r s window50_cpu window50_kb < <(window 50)
  check_pages "$work/window" 50
  window50_s=$(min "$s" "$window50_s")
  read -r s peer50_cpu peer50_kb < <(peer 50)
  check_pages "$work/peer" 50
  peer50_s=$(min "$s" "$peer50_s")
done
ours_bytes=$(du -sb "$work/ours" | cut -f1)
peer_bytes=$(du -sb "$work/peer" | cut -f1)

per_page() { echo "scale=4; $1 / $2" | bc -l; }
ratio() { echo "scale=3; $1 / $2" | bc -l; }
printf 'pacing: %s us after each 64 KiB (0: none); best of %s rounds\n\n' "$pace" "$rounds"
printf '%-32s %12s %12s %12s\n' "" "folvane" "window" "scanimage"
printf '%-32s %12s %12s %12s\n' "seconds per page (50 pages)" "$(per_page "$ours50_s" 50)" \
  "$(per_page "$window50_s" 50)" "$(per_page "$peer50_s" 50)"
printf '%-32s %12s %12s %12s\n' "CPU seconds per page (last round)" \
  "$(per_page "$ours50_cpu" 50)" "$(per_page "$window50_cpu" 50)" "$(per_page "$peer50_cpu" 50)"
printf '%-32s %12s %12s %12s\n' "peak KB at 5 pages" "$ours5_kb" "$window5_kb" "$peer5_kb"
printf '%-32s %12s %12s %12s\n' "peak KB at 50 pages" "$ours50_kb" "$window50_kb" "$peer50_kb"
printf '%-32s %12s %12s %12s\n' "KB written for 50 pages" "$((ours_bytes / 1000))" "" \
  "$((peer_bytes / 1000))"
echo
echo "time per page, folvane / scanimage:  $(ratio "$ours50_s" "$peer50_s") (target at most 1.10)"
echo "time per page, window / scanimage:   $(ratio "$window50_s" "$peer50_s") (target at most 1.10)"
echo "peak memory, 50 pages / 5 pages:     $(ratio "$ours50_kb" "$ours5_kb") (target at most 1.10)"
echo "the window's, 50 pages / 5 pages:    $(ratio "$window50_kb" "$window5_kb") (target at most 1.10)"
