#!/usr/bin/env bash
# The help window's Start button (Enter): the help window hides and the first
# ring's pop-up, "Control Base Address", opens pinned, so it stays when the
# pointer moves away.
. "$(dirname "$0")/lib.sh"

start_wm
start_app
wait_window Setup 20
point_away
wait_window "$HELP" 10
keys_in "$WID" Return
wait_gone "$HELP"
wait_window "Control Base Address" 5
point_away
# A pop-up that is not pinned closes as soon as the pointer is away from its
# ring; give that close time to happen.
sleep 1
visible "Control Base Address" || fail "the first pop-up closed: Start did not pin it"
app_running || fail "the program ended"
log "Start opened the first pop-up pinned"
