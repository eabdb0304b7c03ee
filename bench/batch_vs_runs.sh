#!/usr/bin/env bash
# folvane-pdf --batch against separate runs, and two shards under GNU parallel against one
# process, on the same documents in one run of this script.
#
#   bench/batch_vs_runs.sh [DOCUMENTS [ROUNDS]]     (default 200 documents, 3 rounds)
#
# The documents: DOCUMENTS of 3 pages each, drawn from 12 JPEG pages of 1240 x 1754 pixels
# (A4 at 150 dpi: light paper with dark bars for lines of text, made with cjpeg). Each round, every way
# writes every document again (--force, or a fresh output folder), back to back:
#   runs      one folvane-pdf process per document, one after the other
#   batch     folvane-pdf --batch over the manifest
#   shards    GNU parallel -j2 running --shard 0/2 and --shard 1/2 of the same manifest
# Printed: the median wall seconds over the rounds, documents per second and the ratio to
# batch, and how many of the last round's outputs passed qpdf --check.
# FOLVANE_PDF names the program to measure (default: a Release build in build/bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
documents=${1:-200}
rounds=${2:-3}
work="$root/bench/results/batch"
for tool in cjpeg parallel qpdf; do
    command -v "$tool" >/dev/null || { echo "batch_vs_runs: $tool is missing" >&2; exit 1; }
done

. "$root/bench/release_folvane_pdf.sh"

rm -rf "$work"
mkdir -p "$work/pages"
cd "$work"
# Twelve page pictures, as an ASCII PGM for cjpeg: light paper with a little noise, and dark
# bars where lines of text would be, each page's lines of its own lengths.
for i in $(seq 1 12); do
    awk -v seed="$i" 'BEGIN {
        srand(seed); w = 1240; h = 1754
        print "P2"; print w, h; print 255
        for (y = 0; y < h; y++) {
            line = int((y - 150) / 36); inText = y > 150 && y < h - 150 && (y - 150) % 36 < 18
            end = 150 + (w - 300) * (0.6 + 0.4 * ((line * 7 + seed * 3) % 10) / 10)
            row = ""
            for (x = 0; x < w; x++) {
                v = (inText && x > 150 && x < end) ? 40 : 235
                row = row " " int(v + rand() * 16)
            }
            print row
        }
    }' | cjpeg -quality 85 >"pages/$i.jpg"
done
: >jobs.tsv
for d in $(seq 0 $((documents - 1))); do
    printf 'out/%d.pdf\tpages/%d.jpg\tpages/%d.jpg\tpages/%d.jpg\n' "$d" $((d % 12 + 1)) \
        $(((d + 5) % 12 + 1)) $(((d + 7) % 12 + 1)) >>jobs.tsv
done

seconds() { # seconds COMMAND...: wall time of the command, output to /dev/null
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
runs() {
    local output pages
    while IFS=$'\t' read -r output pages; do
        # shellcheck disable=SC2086 # the pages are tab-separated words without spaces
        "$folvane" -o "$output" ${pages//$'\t'/ } || return 1
    done <jobs.tsv
}
batch() { "$folvane" --batch jobs.tsv --force; }
shards() { parallel --will-cite -j2 "$folvane" --batch jobs.tsv --force --shard {}/2 ::: 0 1; }

: >samples.tsv
for round in $(seq 1 "$rounds"); do
    for way in runs batch shards; do
        rm -rf out && mkdir out
        printf '%s\t%s\n' "$way" "$(seconds "$way")" >>samples.tsv
    done
done
passed=0
for pdf in out/*.pdf; do
    qpdf --check "$pdf" >/dev/null 2>&1 && passed=$((passed + 1))
done

echo "batch_vs_runs: $documents documents of 3 pages, $rounds rounds, $(nproc) cores"
printf '%-8s %10s %10s %9s\n' way seconds docs/s "x batch"
awk -F'\t' -v docs="$documents" '
    { t[$1] = t[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
    function median(list,    k, a, i, j, x) {
        k = split(list, a, " ")
        for (i = 2; i <= k; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
            x = a[j]; a[j] = a[j - 1]; a[j - 1] = x }
        return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
    }
    END {
        b = median(t["batch"])
        for (i = 1; i <= n; i++) {
            m = median(t[order[i]])
            printf "%-8s %10.2f %10.1f %9.2f\n", order[i], m, docs / m, m / b
        }
    }' samples.tsv
echo "qpdf --check passed: $passed of $documents (last round's shards)"
