#!/usr/bin/env bash
# The help window: "Instructions for Settings utility" comes up after the
# setup window (about 100 ms later, never before it); Enter presses its Start
# button, which hides it and opens the "Control Base Address" pop-up pinned, so
# it stays when the pointer moves away. The Help menu brings the help window
# back and opens "Technical Support".
. "$(dirname "$0")/lib.sh"
HELP="Instructions for Settings utility"

start_wm
start_app
# Until the setup window shows, the help window must not.
wait_until "visible Setup || { visible '$HELP' && fail 'the help window came before the setup window'; false; }" 200 ||
    fail "no setup window"
wait_window Setup
setup=$WID
wait_window "$HELP" 10
help=$WID
keys_in "$help" Return
wait_gone "$HELP"
wait_window "Control Base Address" 5
point_away
# Pinned: a pop-up that is not pinned closes as soon as the pointer is away
# from its ring; give that close time to happen.
sleep 1
visible "Control Base Address" || fail "the first pop-up closed: Start did not pin it"

keys_in "$setup" alt+h o
wait_window "$HELP" 5
keys_in "$WID" Escape
wait_gone "$HELP"
keys_in "$setup" alt+h t
wait_window "Technical Support" 5
keys_in "$WID" Escape
wait_gone "Technical Support"
app_running || fail "the program ended"
log "help window, Start, pinned first pop-up, Help menu"
