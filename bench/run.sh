#!/usr/bin/env bash
# Runs every benchmark several times and prints medians, each figure beside
# its baseline and their ratio:
#
#   bench/run.sh [runs]        (default 7; build first, e.g. scripts/build.sh)
#
# Start-up (bench_startup) runs offscreen and on an X server (Xvfb with
# openbox, like a desktop); the in-process figures (bench_ui) offscreen, and
# the pop-up and repaint ones once more on the X server.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
RUNS=${1:-7}
BIN=$PWD/$BUILD/bin
export DBUS_SESSION_BUS_ADDRESS=disabled:

# Runs a command on a fresh X server with a window manager.
on_x()
{
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        marker=$(mktemp -u)
        openbox --startup "touch $marker" >/dev/null 2>&1 &
        wm=$!
        for _ in $(seq 100); do [ -f "$marker" ] && break; sleep 0.1; done
        rm -f "$marker"
        QT_QPA_PLATFORM=xcb "$@"
        status=$?
        kill $wm
        exit $status' on_x "$@"
}

# Google Benchmark's medians over the repetitions, counters included.
medians()
{
    "$@" --benchmark_repetitions="$RUNS" --benchmark_display_aggregates_only=true 2>/dev/null |
        grep -E '^(Benchmark|-+$|BM_.*_median)' || true
}

echo "== Start-up, offscreen"
QT_QPA_PLATFORM=offscreen "$BIN/bench_startup" "$RUNS"
echo
echo "== Start-up, xcb (Xvfb 1280x1024x24, openbox)"
on_x "$BIN/bench_startup" "$RUNS"
echo
echo "== Pop-up, repaint, ring looks: offscreen (medians of $RUNS runs)"
QT_QPA_PLATFORM=offscreen medians "$BIN/bench_ui"
echo
# Each pointer figure waits for the window manager here, so fewer runs.
XRUNS=$(( RUNS < 3 ? RUNS : 3 ))
echo "== Pop-up and repaint: xcb (medians of $XRUNS runs)"
on_x bash -c "$(declare -f medians); RUNS=$XRUNS; medians '$BIN/bench_ui' --benchmark_filter='Popup|Repaint'"
