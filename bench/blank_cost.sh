#!/usr/bin/env bash
# What --skip-blank adds to a run: folvane-pdf on 40 phone photos (12-megapixel JPEGs of printed
# pages, made by bench/make_phone_photos.py apart from the tests; each holds text, so no page is
# left out and both runs write the same pages), without and with --skip-blank, in turn.
#   bench/blank_cost.sh [FOLDER] [ROUNDS]
# FOLDER: where the photos are (made there when missing; default a temporary folder); ROUNDS:
# default 5. FOLVANE_PDF names the program to measure (default: a Release build in
# build/bench); FOLVANE_PDF_BEFORE, when set, names an earlier build measured beside it
# ("before"). Needs Debian's python3-opencv, python3-numpy, python3-pil and time.
# Printed for each program and option: the medians over the rounds of wall time, CPU time (user
# + system) and peak RSS (from /usr/bin/time -v), then what --skip-blank adds, as a share of the
# plain run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=${1:-}
rounds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$folder" ]; then
  folder=$work/photos
fi
if [ ! -f "$folder/photo-39.jpg" ]; then
  /usr/bin/python3 "$root/bench/make_phone_photos.py" "$folder" 40
fi
. "$root/bench/release_folvane_pdf.sh"
photos=("$folder"/photo-*.jpg)
samples=$work/samples.tsv # label seconds cpu rss_kb

# measure PROGRAM LABEL OPTION...: one run, its figures added to the samples.
measure() {
  local program=$1 label=$2
  shift 2
  /usr/bin/time -v -o "$work/time.txt" "$program" "$@" -o "$work/out.pdf" "${photos[@]}" \
    >/dev/null 2>&1
  awk -F': ' -v label="$label" '
    /Elapsed \(wall clock\)/ { n = split($2, t, ":"); wall = 0
                               for (i = 1; i <= n; i++) wall = wall * 60 + t[i] }
    /User time|System time/ { cpu += $2 }
    /Maximum resident set size/ { rss = $2 }
    END { printf "%s\t%.3f\t%.3f\t%d\n", label, wall, cpu, rss }' "$work/time.txt" >>"$samples"
}

programs=("$folvane")
names=("folvane-pdf")
if [ -n "${FOLVANE_PDF_BEFORE:-}" ]; then
  programs+=("$FOLVANE_PDF_BEFORE")
  names+=("before")
fi
for _ in $(seq "$rounds"); do
  for i in "${!programs[@]}"; do
    measure "${programs[$i]}" "${names[$i]}"
    measure "${programs[$i]}" "${names[$i]} --skip-blank" --skip-blank
  done
done

echo "${#photos[@]} photos, median of $rounds rounds"
awk -F'\t' '
  function median(list,    n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
      t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  { if (!($1 in wall)) order[++count] = $1
    wall[$1] = wall[$1] " " $2; cpu[$1] = cpu[$1] " " $3; rss[$1] = rss[$1] " " $4 }
  END {
    printf "%-26s %9s %9s %10s\n", "run", "wall s", "CPU s", "peak MiB"
    for (i = 1; i <= count; i++) {
      t = order[i]; w[t] = median(wall[t]); c[t] = median(cpu[t])
      printf "%-26s %9.2f %9.2f %10.1f\n", t, w[t], c[t], median(rss[t]) / 1024
    }
    for (i = 1; i <= count; i += 2) {
      plain = order[i]; skip = order[i + 1]
      printf "%s: --skip-blank adds %.0f%% wall, %.0f%% CPU\n", plain,
        (w[skip] - w[plain]) * 100 / w[plain], (c[skip] - c[plain]) * 100 / c[plain]
    }
  }' "$samples"
