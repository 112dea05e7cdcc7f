#!/usr/bin/env bash
# The Help menu: "H&ow to use this program" brings the help window back after
# it was closed, and "&Technical Support" opens its window; Escape closes each
# (the help window's Escape is its Start button, which also hides it).
. "$(dirname "$0")/lib.sh"

start_wm
start_app
wait_window Setup 20
setup=$WID
dismiss_help

keys_in "$setup" alt+h o
wait_window "$HELP" 5
keys_in "$WID" alt+F4
wait_gone "$HELP"
keys_in "$setup" alt+h t
wait_window "Technical Support" 5
keys_in "$WID" Escape
wait_gone "Technical Support"
app_running || fail "the program ended"
log "help window and technical support from the Help menu"
