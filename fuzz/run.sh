#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on a
# copy of its seed corpus (the committed seeds are not changed):
#   fuzz/run.sh [BUILD_DIR]        FUZZ_SECONDS (default 30) per target
# Prints one line per target with its executions; a crash, leak, timeout or
# out-of-memory stops that target, keeps the input under BUILD_DIR/findings/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-30}

cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2

mkdir -p "$BUILD/findings"
failed=0
for target in "$BUILD"/fuzz_*; do
    [ -x "$target" ] || continue
    name=${target##*/fuzz_}
    seeds=fuzz/corpus/$name
    work="$BUILD/corpus/$name"
    mkdir -p "$work"
    log="$BUILD/$name.log"
    status=0
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 "$target" \
        -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$BUILD/findings/$name-" "$work" "$seeds" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    units=$(find "$work" -type f | wc -l)
    if [ "$status" -eq 0 ]; then
        echo "fuzz $name: ${runs:-?} executions in ${SECONDS_EACH} s, corpus $units inputs, no findings"
    else
        failed=1
        echo "fuzz $name: FINDING after ${runs:-?} executions (exit $status):"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|.*: runtime error)' "$log" | head -n 10
        echo "  full log: $log"
    fi
done
exit "$failed"
