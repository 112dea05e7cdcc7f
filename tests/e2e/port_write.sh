#!/usr/bin/env bash
# The full port-resource write: in the "Port Resources" pop-up, "Configure Port
# Resources..." (confirming the access warning), ports 3F8 2F8 3E8 2E8 and
# IRQ 4, "Use These Resources" (confirming), then the closing message. The
# card trace must hold exactly the 20 writes of index and value at control
# base + 1 and + 2, and no other port I/O than the start-up probe.
#   port_write.sh [BASE]   types BASE as the control base address first
#                          (default: the layout's 300); it is used as typed
. "$(dirname "$0")/lib.sh"
base=${1:-}

# Places in the "Port Resources" pop-up's client area (the panel at its origin).
CONFIG_BUTTON="132 76"
PORT_EDIT=("52 32" "52 58" "52 84" "52 110")
IRQ_COMBO="220 32"
USE_BUTTON="132 148"

click_point() { local x y; read -r x y <<<"$2"; click_in "$1" "$x" "$y"; }

start_wm
start_app
board_origin
dismiss_help

if [ -n "$base" ]; then
    ring_point BaseHighlight
    point_at "$PX" "$PY"
    wait_window "Control Base Address" 5
    xdotool click 1
    type_in "$WID" 92 17 "$base"
    point_away
fi

ring_point COMBaseHighlight
point_at "$PX" "$PY"
wait_window "Port Resources" 5
popup=$WID
xdotool click 1

click_point "$popup" "$CONFIG_BUTTON"
wait_window "Access Warning" 5
keys_in "$WID" Return
wait_gone "Access Warning"

ports=(3F8 2F8 3E8 2E8)
for i in 0 1 2 3; do
    read -r x y <<<"${PORT_EDIT[$i]}"
    type_in "$popup" "$x" "$y" "${ports[$i]}"
done
before=$(app_windows)
click_point "$popup" "$IRQ_COMBO"
wait_new_window "$before"
xdotool type 4
xdotool key Return
wait_gone_list() { [ "$(app_windows)" = "$before" ]; }
wait_until wait_gone_list 30 || fail "the IRQ list did not close"

click_point "$popup" "$USE_BUTTON"
wait_window Confirmation 5
keys_in "$WID" Return
wait_until '[ "$(trace_writes | wc -l)" -ge 20 ]' 100 || fail "the program did not write 20 times"
# The closing message, after the writes.
wait_window Confirmation 5
keys_in "$WID" Return
wait_gone Confirmation

b=$((16#${base:-300}))
expected=$(for pair in 1:7F 2:5F 3:7D 4:5D 5:00 6:00 7:00 8:00 9:04 10:00; do
    printf 'out %04X %02X\nout %04X %s\n' $((b + 1)) "${pair%%:*}" $((b + 2)) "${pair#*:}"
done)
if [ "$(trace_writes)" != "$expected" ]; then
    diff <(echo "$expected") <(trace_writes) >&2 || true
    fail "the port writes differ from the expected 20 (- expected, + written)"
fi
[ "$(grep -v '^out ' "$TRACE")" = "in 0061 00FF" ] || fail "port reads other than the start-up probe"
app_running || fail "the program ended"
log "20 writes at $(printf '%X/%X' $((b + 1)) $((b + 2)))"
