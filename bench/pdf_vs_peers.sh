#!/usr/bin/env bash
# folvane-pdf against its peers on the corpus of bench/make_corpus.sh.
#
#   bench/pdf_vs_peers.sh [ROUNDS]        (default 5 rounds)
#   bench/pdf_vs_peers.sh --report        (the table of the last run again)
#
# For each set every tool converts the same files, back to back, once per round: folvane-pdf
# and img2pdf (--first-frame-only) make one PDF of the whole set; tiff2pdf takes one TIFF per
# run, so on the TIFF sets it runs once per file, plain and with -z (Flate), and folvane-pdf
# does too ("folvane-pdf/file") for a like-for-like figure. `cat` of the JPEG bytes into one
# file is the floor, plain and "cat+fsync" (waiting for the disk, as folvane-pdf does).
# Printed per set and tool: the median over the rounds of wall time, peak RSS (largest
# single process, from /usr/bin/time -v) and output size, each also as a ratio tool /
# folvane-pdf, and how many outputs passed qpdf --check. img2pdf refuses some TIFFs
# (16-bit samples, for one) and with them the whole set, so set "tiff-common" runs
# folvane-pdf and img2pdf once more on the TIFFs img2pdf accepts (each probed alone before
# the timed rounds). Peers come from Debian packages: img2pdf, libtiff-tools, time, qpdf.
# FOLVANE_PDF names the program to measure (default: a Release build in build/bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/bench/corpus"
work="$root/bench/results"
samples="$work/samples.tsv" # set tool round seconds rss_kb bytes checked passed

summarize() { # summarize SET: one line per tool
    awk -F'\t' -v set="$1" '
        function median(list,    n, a, i, j, t) {
            n = split(list, a, " ")
            for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
                t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        $1 == set {
            if (!($2 in wall)) order[++tools] = $2
            wall[$2] = wall[$2] " " $4; rss[$2] = rss[$2] " " $5; size[$2] = size[$2] " " $6
            checked[$2] += $7; passed[$2] += $8
        }
        END {
            w0 = median(wall["folvane-pdf"]); r0 = median(rss["folvane-pdf"])
            s0 = median(size["folvane-pdf"])
            for (i = 1; i <= tools; i++) {
                t = order[i]; w = median(wall[t]); r = median(rss[t]); s = median(size[t])
                printf "%-18s %9.4f %7.2f %9.1f %7.2f %10.2f %7.2f %5d/%-3d\n", t, w,
                    (w0 > 0 ? w / w0 : 0), r / 1024, (r0 > 0 ? r / r0 : 0), s / 1048576,
                    (s0 > 0 ? s / s0 : 0), passed[t], checked[t]
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
    echo "$(cat "$work/about.txt"); medians; ratio = tool / folvane-pdf"
    for set in "${sets[@]}"; do
        local files=()
        mapfile -t files < <(set_files "$set")
        printf '\n%s (%d files, %s)\n' "$set" "${#files[@]}" \
            "$(du -ch "${files[@]}" | tail -1 | cut -f1)"
        printf '%-18s %9s %7s %9s %7s %10s %7s %9s\n' tool "wall s" ratio "RSS MB" ratio \
            "output MB" ratio "qpdf ok"
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

folvane=${FOLVANE_PDF:-}
if [ -z "$folvane" ]; then
    build="$root/build/bench"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DFOLVANE_TESTS=OFF \
        -DFOLVANE_WITH_QT=OFF >/dev/null
    cmake --build "$build" -j2 --target folvane-pdf >/dev/null
    folvane="$build/bin/folvane-pdf"
fi

rm -rf "$work"
mkdir -p "$work/out"
: >"$samples"

# measure SET TOOL ROUND OUTPUT... -- COMMAND...: runs COMMAND under /usr/bin/time -v, then
# sizes and checks the outputs it was to write.
measure() {
    local set=$1 tool=$2 round=$3
    shift 3
    local outputs=()
    while [ "$1" != "--" ]; do outputs+=("$1"); shift; done
    shift
    rm -f "${outputs[@]}"
    local status=0
    # Wall time from the clock in nanoseconds (time's own figure has 10 ms steps, too coarse
    # for the G4 set); peak RSS from time.
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
    end=$(date +%s%N)
    local seconds rss
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }')
    rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    local bytes=0 checked=0 passed=0 f
    for f in "${outputs[@]}"; do
        checked=$((checked + 1))
        [ -f "$f" ] || continue
        bytes=$((bytes + $(stat -c %s "$f")))
        case $tool in
        cat*) passed=$((passed + 1)) ;;
        *) qpdf --check "$f" >/dev/null 2>&1 && passed=$((passed + 1)) ;;
        esac
    done
    if [ "$status" -ne 0 ]; then
        echo "  $tool on $set failed (exit $status):" \
            "$(head -c 300 "$work/stderr.txt" | tr '\n' ' ')" >&2
    fi
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$set" "$tool" "$round" "$seconds" "$rss" \
        "$bytes" "$checked" "$passed" >>"$samples"
}

# One run of every tool over one set.
run_set() { # run_set SET ROUND
    local set=$1 round=$2 out="$work/out/$1"
    local files=()
    mapfile -t files < <(set_files "$set")
    mkdir -p "$out"
    measure "$set" folvane-pdf "$round" "$out/folvane.pdf" -- \
        "$folvane" -o "$out/folvane.pdf" "${files[@]}"
    measure "$set" img2pdf "$round" "$out/img2pdf.pdf" -- \
        img2pdf --first-frame-only -o "$out/img2pdf.pdf" "${files[@]}"
    [ "$set" = tiff-common ] && return
    if [ "$set" = jpeg ]; then
        measure "$set" cat "$round" "$out/cat.bin" -- \
            bash -c 'out=$1; shift; cat "$@" >"$out"' _ "$out/cat.bin" "${files[@]}"
        # folvane-pdf returns only once its output is on disk; this is the same floor.
        measure "$set" "cat+fsync" "$round" "$out/cat.bin" -- \
            bash -c 'out=$1; shift; cat "$@" >"$out" && sync "$out"' _ "$out/cat.bin" \
            "${files[@]}"
        return
    fi
    local each=() f
    for f in "${files[@]}"; do each+=("$out/each-$(basename "$f").pdf"); done
    measure "$set" folvane-pdf/file "$round" "${each[@]}" -- \
        bash -c 'prog=$1 out=$2; shift 2
                 for f; do "$prog" -o "$out/each-${f##*/}.pdf" "$f"; done' \
        _ "$folvane" "$out" "${files[@]}"
    # tiff2pdf writes what it cannot pass through uncompressed, unless -z asks for Flate.
    local option
    for option in "" -z; do
        local peer=()
        for f in "${files[@]}"; do peer+=("$out/t2p$option-$(basename "$f").pdf"); done
        measure "$set" "tiff2pdf${option:+ $option}" "$round" "${peer[@]}" -- \
            bash -c 'out=$1 opt=$2; shift 2
                     for f; do tiff2pdf $opt -o "$out/t2p$opt-${f##*/}.pdf" "$f"; done' \
            _ "$out" "$option" "${files[@]}"
    done
}

sets=()
for set in jpeg g4 tiff; do
    [ -n "$(ls -A "$corpus/$set" 2>/dev/null)" ] && sets+=("$set")
done
if [ -d "$corpus/tiff" ]; then
    : >"$work/tiff-common.txt"
    for f in "$corpus/tiff"/*; do
        img2pdf --first-frame-only -o "$work/probe.pdf" "$f" >/dev/null 2>&1 &&
            echo "$f" >>"$work/tiff-common.txt"
    done
    rm -f "$work/probe.pdf"
    [ -s "$work/tiff-common.txt" ] && sets+=(tiff-common)
fi
for ((round = 1; round <= rounds; round++)); do
    echo "round $round/$rounds" >&2
    for set in "${sets[@]}"; do run_set "$set" "$round"; done
done

echo "folvane-pdf: $folvane; $rounds rounds" >"$work/about.txt"
report
