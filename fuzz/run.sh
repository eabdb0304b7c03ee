#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them.
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     (default: 60 seconds, every target)
# Targets run side by side, one per core (FOLVANE_FUZZ_JOBS sets how many at a time).
# New findings land in fuzz/findings/<target>/; the growing corpus in build/fuzz/corpus/.
# The image library and the PDF engine both refuse pictures above 256 MiB, so any single
# allocation above 300 MB is a finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(decode_auto decode_header_only decode_bmp decode_jpeg \
  decode_ico decode_png decode_tiff decode_reduced exif pdfw_jpeg pdfw_tiff pdfw_png jpeg_repair \
  ccitt_check correction pdf_pages)

build="$root/build/fuzz"
generator=()
# Ninja for a new build folder (as scripts/test.sh); one make configured keeps make.
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" "${generator[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLVANE_FUZZ=ON -DFOLVANE_TESTS=OFF -DFOLVANE_WITH_QT=OFF \
  -DFOLVANE_FUZZ_MAX_MEMORY=16777216 -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

seeds_for() {
  case "$1" in
    decode_bmp) echo bmp ;; decode_ico) echo ico ;; decode_png | pdfw_png) echo png ;;
    jpeg_repair) echo "jpeg jpeg_damaged jpeg_mismatch" ;; pdfw_jpeg) echo "jpeg jpeg_mismatch" ;;
    ccitt_check) echo fax ;; correction) echo correction ;; pdf_pages) echo pdf ;;
    decode_jpeg | exif) echo jpeg ;; decode_tiff | pdfw_tiff) echo tiff ;;
    decode_reduced) echo "jpeg png tiff" ;;
    *) echo "bmp jpeg ico png tiff" ;;
  esac
}
dict_for() {
  case "$1" in
    decode_bmp | decode_ico) echo bmp ;; decode_jpeg | exif | pdfw_jpeg | jpeg_repair) echo jpeg ;;
    decode_tiff | pdfw_tiff) echo tiff ;; decode_png | pdfw_png) echo png ;; *) echo "" ;;
  esac
}

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# fuzz TARGET: one run, its report (the tail of libFuzzer's standard error) on standard output.
fuzz() {
  local t=$1
  local work="$build/corpus/$t" findings="$root/fuzz/findings/$t"
  mkdir -p "$work" "$findings"
  local seeds=() kind
  for kind in $(seeds_for "$t"); do seeds+=("$root/fuzz/corpus/$kind"); done
  [ -d "$root/fuzz/regressions/$t" ] && seeds+=("$root/fuzz/regressions/$t")
  local dict dict_arg=()
  dict=$(dict_for "$t")
  [ -n "$dict" ] && dict_arg=(-dict="$root/fuzz/dict/$dict.dict")
  # The targets' own standard output (the EXIF walk's notes) is dropped.
  cd "$findings" && "$build/bin/fuzz_$t" "$work" "${seeds[@]}" "${dict_arg[@]}" \
    -max_total_time="$seconds" -malloc_limit_mb=300 -rss_limit_mb=2560 \
    -timeout=10 -max_len=65536 -print_final_stats=1 2>&1 >/dev/null |
    grep -avE "^(INFO|#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|[[:space:]]+NEW_FUNC|\"|###### )" | tail -n 14
}

# FOLVANE_FUZZ_JOBS targets at a time (default: one per core); reports in the targets' order.
parallel=${FOLVANE_FUZZ_JOBS:-$(nproc)}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
echo "fuzzing ${#targets[@]} targets for $seconds s each, $parallel at a time"
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  (if fuzz "$t" >"$logs/$t.txt" 2>&1; then echo ok; else echo failed; fi >"$logs/$t.status") &
done
wait
status=0
for t in "${targets[@]}"; do
  echo "== $t ($seconds s)"
  cat "$logs/$t.txt"
  [ "$(cat "$logs/$t.status")" = ok ] || status=1
done
exit $status
