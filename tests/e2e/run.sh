#!/usr/bin/env bash
# Runs one end-to-end scenario in an X server of its own, 1280 x 1024:
#   run.sh SCENARIO [ARG]      runs tests/e2e/SCENARIO.sh [ARG]
# xvfb-run -a takes the first free display number; when another X server
# takes that number at the same moment, Xvfb fails to start before the
# scenario runs, and the scenario is tried once more.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
name=$1
shift
export SCENARIO="$name${1:+-$1}"
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/build.sh installs it)" >&2; exit 1; }

started=$(mktemp)
trap 'rm -f "$started"' EXIT
for attempt in 1 2; do
    rm -f "$started"
    status=0
    E2E_STARTED=$started xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/$name.sh" "$@" ||
        status=$?
    [ -f "$started" ] || [ "$status" -eq 0 ] || {
        echo "[$SCENARIO] the X server did not start (try $attempt)" >&2
        sleep 1
        continue
    }
    [ "$status" -eq 0 ] && echo "[$SCENARIO] passed"
    exit "$status"
done
exit 1
