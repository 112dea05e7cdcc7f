#!/usr/bin/env bash
# Ending the program: "&Exit" from the keyboard (Alt+F, E), "&Exit" clicked
# with the mouse, or the frame's close (Alt+F4 in openbox) end the process
# with status 0, without a question.
#   exit.sh keys | mouse | close
. "$(dirname "$0")/lib.sh"
how=${1:-keys}

start_wm
start_app
wait_window Setup 20
setup=$WID
# The help window comes up shortly after start-up and takes the focus; on a
# slow run (sanitizers) it could catch the keys meant for the setup window.
dismiss_help
case $how in
keys)
    keys_in "$setup" alt+f
    before=$(app_windows)
    xdotool key e ;;
mouse)
    menu_height "$setup"
    window_geometry "$setup"
    before=$(app_windows)
    # "File" is the first title of the menu bar.
    click_at $((WX + 16)) $((WY + MENU_H / 2))
    wait_new_window "$before"
    menu=$WID
    window_geometry "$menu"
    # The File menu holds the one entry "&Exit".
    click_at $((WX + WW / 2)) $((WY + WH / 2)) ;;
close)
    keys_in "$setup" alt+F4 ;;
*) fail "unknown way to exit: $how" ;;
esac
wait_exit 10
[ "$APP_STATUS" -eq 0 ] || fail "the program ended with status $APP_STATUS"
log "ended with status 0 ($how)"
