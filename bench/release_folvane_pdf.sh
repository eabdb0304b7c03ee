# Sourced by the benchmarks that time folvane-pdf: sets $folvane to $FOLVANE_PDF when given,
# else to a Release build of it in build/bench, configured and built here. Needs $root.
folvane=${FOLVANE_PDF:-}
if [ -z "$folvane" ]; then
    build="$root/build/bench"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DFOLVANE_TESTS=OFF \
        -DFOLVANE_WITH_QT=OFF >/dev/null
    cmake --build "$build" -j2 --target folvane-pdf >/dev/null
    folvane="$build/bin/folvane-pdf"
fi
