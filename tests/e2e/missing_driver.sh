#!/usr/bin/env bash
# Driver missing: the "Warning" box comes first, before the setup window; after
# OK (Enter) the setup window opens maximised as usual.
. "$(dirname "$0")/lib.sh"

start_wm
start_app DODED32_SIM_DRIVER=missing
wait_window Warning 20
warning=$WID
visible Setup && fail "the setup window is shown before the warning"
[ "$(head -n 1 "$TRACE")" = "in 0061 AA55" ] || fail "the warning did not follow the probe of 0x61"
keys_in "$warning" Return
wait_gone Warning
wait_window Setup 10
wait_until "maximised $WID" 50 || fail "the setup window is not maximised after the warning"
app_running || fail "the program ended after the warning"
log "warning first, then the setup window"
