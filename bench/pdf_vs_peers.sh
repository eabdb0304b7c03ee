#!/usr/bin/env bash
# folvane-pdf against its peers on the corpus of bench/make_corpus.sh.
#
#   bench/pdf_vs_peers.sh [ROUNDS]        (default 5 rounds)
#   bench/pdf_vs_peers.sh --report        (the table of the last run again)
#
# For each set every tool converts the same files into one PDF, back to back, once per round:
# folvane-pdf with one worker (FOLVANE_THREADS=1, "folvane-pdf t=1") and with its default (one
# per core), and img2pdf. On the TIFF sets the peer is tiff2pdf -z (Flate) run once per file,
# its PDFs joined into one by qpdf --empty --pages; on the JPEG set `cat` of the JPEG bytes into
# one file is the floor, plain and "cat+fsync" (waiting for the disk, as folvane-pdf does).
# Every page of every file goes in, with every tool.
# Printed per set and tool: the medians over the rounds of wall time, CPU time (user + system,
# the tool's whole process tree) and CPU/wall (how many cores were busy), peak RSS (largest
# single process, from /usr/bin/time -v) and output size, with ratios tool / folvane-pdf,
# and how many outputs passed qpdf --check. img2pdf refuses some TIFFs (16-bit samples, for
# one) and with them the whole set, so set "tiff-common" runs folvane-pdf and img2pdf once
# more on the TIFFs img2pdf accepts (each probed alone before the timed rounds), with
# tiff2pdf too, which refuses the same 16-bit files and stops there. Peers come
# from Debian packages: img2pdf, libtiff-tools, qpdf, time.
# FOLVANE_PDF names the program to measure (default: a Release build in build/bench);
# FOLVANE_PDF_BEFORE, when set, names an earlier build measured beside it ("folvane-pdf before").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/bench/corpus"
work="$root/bench/results"
samples="$work/samples.tsv" # set tool round seconds cpu rss_kb bytes checked passed

summarize() { # summarize SET: one line per tool
    awk -F'\t' -v set="$1" '
        function median(list,    n, a, i, j, t) {
            n = split(list, a, " ")
            for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
                t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        function ratio(a, b) { return b > 0 ? a / b : 0 }
        $1 == set {
            if (!($2 in wall)) order[++tools] = $2
            wall[$2] = wall[$2] " " $4; cpu[$2] = cpu[$2] " " $5; rss[$2] = rss[$2] " " $6
            size[$2] = size[$2] " " $7; checked[$2] += $8; passed[$2] += $9
        }
        END {
            w0 = median(wall["folvane-pdf"]); r0 = median(rss["folvane-pdf"])
            s0 = median(size["folvane-pdf"])
            for (i = 1; i <= tools; i++) {
                t = order[i]; w = median(wall[t]); c = median(cpu[t]); r = median(rss[t])
                s = median(size[t])
                printf "%-18s %9.4f %7.2f %8.3f %5.2f %9.1f %7.2f %10.2f %7.2f %5d/%-3d\n", t,
                    w, ratio(w, w0), c, ratio(c, w), r / 1024, ratio(r, r0), s / 1048576,
                    ratio(s, s0), passed[t], checked[t]
            }
        }' "$samples"
}

# The input files of SET, one a line.
set_files() {
    case $1 in
    tiff-common) cat "$work/tiff-common.txt" ;;
    *) ls -d "$corpus/$1"/* ;;
    esac
}

report() {
    local sets=() set
    for set in jpeg g4 tiff tiff-common; do
        grep -q "^$set"$'\t' "$samples" && sets+=("$set")
    done
    echo "$(cat "$work/about.txt"); medians; ratio = tool / folvane-pdf (default threads)"
    for set in "${sets[@]}"; do
        local files=()
        mapfile -t files < <(set_files "$set")
        printf '\n%s (%d files, %s)\n' "$set" "${#files[@]}" \
            "$(du -ch "${files[@]}" | tail -1 | cut -f1)"
        printf '%-18s %9s %7s %8s %5s %9s %7s %10s %7s %9s\n' tool "wall s" ratio "CPU s" \
            "CPU/w" "RSS MB" ratio "output MB" ratio "qpdf ok"
        summarize "$set"
    done
}

if [ "${1:-}" = "--report" ]; then
    report
    exit 0
fi
rounds=${1:-5}
for tool in img2pdf tiff2pdf qpdf /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "pdf_vs_peers: $tool is missing" >&2; exit 1; }
done
[ -d "$corpus/jpeg" ] || { echo "pdf_vs_peers: run bench/make_corpus.sh first" >&2; exit 1; }

. "$root/bench/release_folvane_pdf.sh"

before=${FOLVANE_PDF_BEFORE:-}

rm -rf "$work"
mkdir -p "$work/out"
: >"$samples"

# measure SET TOOL ROUND OUTPUT -- COMMAND...: runs COMMAND under /usr/bin/time -v, then
# sizes and checks the output it was to write.
measure() {
    local set=$1 tool=$2 round=$3 output=$4
    shift 5
    rm -f "$output"
    local status=0
    # Wall time from the clock in nanoseconds (time's own figure has 10 ms steps, too coarse
    # for the G4 set); CPU time and peak RSS from time.
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
    end=$(date +%s%N)
    local seconds cpu rss
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }')
    cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.3f", s }' \
        "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    local bytes=0 passed=0
    if [ -f "$output" ]; then
        bytes=$(stat -c %s "$output")
        case $tool in
        cat*) passed=1 ;;
        *) qpdf --check "$output" >/dev/null 2>&1 && passed=1 ;;
        esac
    fi
    if [ "$status" -ne 0 ]; then
        echo "  $tool on $set failed (exit $status):" \
            "$(head -c 300 "$work/stderr.txt" | tr '\n' ' ')" >&2
    fi
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t1\t%s\n' "$set" "$tool" "$round" "$seconds" "$cpu" \
        "$rss" "$bytes" "$passed" >>"$samples"
}

# One run of every tool over one set.
run_set() { # run_set SET ROUND
    local set=$1 round=$2 out="$work/out/$1"
    local files=()
    mapfile -t files < <(set_files "$set")
    mkdir -p "$out"
    measure "$set" "folvane-pdf t=1" "$round" "$out/folvane-1.pdf" -- \
        env FOLVANE_THREADS=1 "$folvane" -o "$out/folvane-1.pdf" "${files[@]}"
    measure "$set" folvane-pdf "$round" "$out/folvane.pdf" -- \
        "$folvane" -o "$out/folvane.pdf" "${files[@]}"
    if [ -n "$before" ]; then
        measure "$set" "folvane-pdf before" "$round" "$out/before.pdf" -- \
            "$before" -o "$out/before.pdf" "${files[@]}"
    fi
    measure "$set" img2pdf "$round" "$out/img2pdf.pdf" -- \
        img2pdf -o "$out/img2pdf.pdf" "${files[@]}"
    if [ "$set" = jpeg ]; then
        measure "$set" cat "$round" "$out/cat.bin" -- \
            bash -c 'out=$1; shift; cat "$@" >"$out"' _ "$out/cat.bin" "${files[@]}"
        # folvane-pdf returns only once its output is on disk; this is the same floor.
        measure "$set" "cat+fsync" "$round" "$out/cat.bin" -- \
            bash -c 'out=$1; shift; cat "$@" >"$out" && sync "$out"' _ "$out/cat.bin" \
            "${files[@]}"
        return
    fi
    # tiff2pdf takes one TIFF per run; -z asks for Flate where it cannot pass data through.
    measure "$set" "tiff2pdf -z+qpdf" "$round" "$out/t2p.pdf" -- \
        bash -c 'out=$1; shift; rm -rf "$out.d"; mkdir "$out.d"; i=0; pages=()
                 for f; do i=$((i + 1)); p=$(printf "%s.d/%04d.pdf" "$out" $i)
                     tiff2pdf -z -o "$p" "$f" || exit 1; pages+=("$p"); done
                 qpdf --empty --pages "${pages[@]}" -- "$out"; s=$?; rm -rf "$out.d"
                 [ $s -eq 0 ] || [ $s -eq 3 ]' _ "$out/t2p.pdf" "${files[@]}"
}

sets=()
for set in jpeg g4 tiff; do
    [ -n "$(ls -A "$corpus/$set" 2>/dev/null)" ] && sets+=("$set")
done
if [ -d "$corpus/tiff" ]; then
    : >"$work/tiff-common.txt"
    for f in "$corpus/tiff"/*; do
        img2pdf -o "$work/probe.pdf" "$f" >/dev/null 2>&1 && echo "$f" >>"$work/tiff-common.txt"
    done
    rm -f "$work/probe.pdf"
    [ -s "$work/tiff-common.txt" ] && sets+=(tiff-common)
fi
for ((round = 1; round <= rounds; round++)); do
    echo "round $round/$rounds" >&2
    for set in "${sets[@]}"; do run_set "$set" "$round"; done
done

echo "folvane-pdf: $folvane${before:+; before: $before}; $rounds rounds; $(nproc) cores" \
    >"$work/about.txt"
report
