#!/usr/bin/env bash
# Peak memory of folvane-pdf against the page count: the same ten files of each benchmark set,
# once (10 pages) and sixteen times over (160 pages). Flat means within 10%.
#   bench/memory_flat.sh [BUILD_BIN_DIR]     (corpus from bench/make_corpus.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release/bin}
corpus=$root/bench/corpus
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

peak_kb() { /usr/bin/time -f %M "$bin/folvane-pdf" -o "$out/out.pdf" "$@" 2>&1 >/dev/null | tail -n 1; }

printf '%-6s %12s %12s %8s\n' set "10 pages KB" "160 pages KB" growth
for set in jpeg g4 tiff; do
  files=("$corpus/$set"/*)
  ten=("${files[@]:0:10}")
  many=()
  for _ in $(seq 16); do many+=("${ten[@]}"); done
  a=$(peak_kb "${ten[@]}")
  b=$(peak_kb "${many[@]}")
  printf '%-6s %12s %12s %7.1f%%\n' "$set" "$a" "$b" "$(echo "($b - $a) * 100 / $a" | bc -l)"
done
