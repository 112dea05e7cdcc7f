#!/usr/bin/env bash
# Start-up: the setup window comes up maximised over the whole screen, with no
# warning, after one read of port 0x61 (the driver probe) and no port write;
# then, never before it, the help window "Instructions for Settings utility".
. "$(dirname "$0")/lib.sh"

start_wm
start_app
wait_until "visible Setup || { visible '$HELP' && fail 'the help window came before the setup window'; false; }" 200 ||
    fail "no setup window"
wait_window Setup
setup=$WID
wait_until "maximised $setup" 50 || fail "the setup window is not maximised"
window_geometry "$setup"
[ $((WW + FL + FR)) -eq "$SCREEN_W" ] && [ $((WH + FT + FB)) -eq "$SCREEN_H" ] ||
    fail "the setup window's frame is $((WW + FL + FR)) x $((WH + FT + FB)), not the screen"
wait_window "$HELP" 10
visible Warning && fail "a warning was shown with the simulated card present"
[ "$(cat "$TRACE")" = "in 0061 00FF" ] || fail "start-up port I/O was not exactly the probe of 0x61"
app_running || fail "the program ended"
log "setup window maximised, $WW x $WH inside its frame, then the help window"
