#!/usr/bin/env bash
# Hovering each of the five rings opens its pop-up, captioned with the ring's
# title without '&'; moving the pointer away closes it again.
. "$(dirname "$0")/lib.sh"

start_wm
start_app
board_origin
dismiss_help
point_away
for ring in BaseHighlight ClockHighlight COMHighlight DFHighlight COMBaseHighlight; do
    case $ring in
    BaseHighlight) caption="Control Base Address" ;;
    ClockHighlight) caption="Baud Clock Rate" ;;
    COMHighlight) caption="Serial Connector #1" ;;
    DFHighlight) caption="Port Disable" ;;
    COMBaseHighlight) caption="Port Resources" ;;
    esac
    ring_point "$ring"
    point_at "$PX" "$PY"
    wait_window "$caption" 5
    point_away
    wait_gone "$caption" 5
    log "$ring: '$caption' opened at ($PX, $PY) and closed"
done
app_running || fail "the program ended"
