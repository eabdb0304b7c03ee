#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole suite; before it, the PDF engine's threaded tests under ThreadSanitizer (a
# small build of their own: the two sanitizers cannot share one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
folvane_install_deps
folvane_install_locales

# Include edges between the libraries, clang-format, function length: seconds, before the
# builds. The suite runs the same check (source_check) for those who run ctest directly.
status=0
# took PHASE: how long the phase since the last stamp took, for CI's log.
last=$SECONDS
took() {
  echo "test.sh: $1 took $((SECONDS - last)) s" >&2
  last=$SECONDS
}
python3 "$root/scripts/check_source.py" || status=$?

# The sanitizers' reports need file and line, not the full debugging information: line tables
# alone make the objects much smaller and the links of the many test programs much faster.
lines_only=(-DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG")

# Ninja for new build folders: it keeps both cores busy across the many small test programs
# where make waits at each program's own dependency scan. A folder make configured keeps make.
generator_for() {
  [ -f "$1/CMakeCache.txt" ] || echo "-GNinja"
}

tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" $(generator_for "$tsan") -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLVANE_TSAN=ON -DFOLVANE_WITH_QT=OFF "${lines_only[@]}" >/dev/null
cmake --build "$tsan" -j"$(nproc)" --target tsan_tests
took "ThreadSanitizer build"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsan" --output-on-failure -j"$(nproc)" || status=$?
took "ThreadSanitizer tests"

build="$root/build/asan"
# Configured for /usr so that CI can package the very build it tested (scripts/package.sh).
cmake -S "$root" -B "$build" $(generator_for "$build") -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLVANE_SANITIZE=ON -DFOLVANE_BENCH=ON -DCMAKE_INSTALL_PREFIX=/usr "${lines_only[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
took "ASan+UBSan build"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
# SANE's test driver stops its reader thread with an asynchronous pthread_cancel; landing inside
# the allocator, it leaves the allocator's lock held and the test process waits forever (seen
# once in many runs of the scanning tests). A test still running after five minutes is stopped,
# and a failed test runs once more: one that fails twice fails the suite.
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 \
  --repeat until-pass:2 "$@" || status=$?
took "ASan+UBSan suite"
exit "$status"
