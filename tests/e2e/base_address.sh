#!/usr/bin/env bash
# Typing 2A8 as the control base address: the card can only decode 2A0, so the
# feedback line under the edit appears ("Actual: 2A0") and the jumpers follow
# the address bits: A5, A7 (now 1 bits) open and A8 (now a 0 bit) closes,
# while A4, A6 (still 0) stay closed and A9 (still 1) stays open. The glyphs
# are compared before and after, so the check holds whatever they look like.
. "$(dirname "$0")/lib.sh"

# Places in the "Control Base Address" pop-up (the panel sits at its client
# origin): the address edit, the feedback line and the glyphs A4 to A9.
EDIT="92 17"
FEEDBACK="56 32 73 17"
declare -A GLYPH=([A4]="4 72" [A5]="24 72" [A6]="44 72" [A7]="64 72" [A8]="84 72" [A9]="104 72")

crop()
{
    local img=$1 l t w h
    read -r l t w h <<<"$2"
    convert "$img" -crop "${w}x${h}+$l+$t" +repage -depth 8 rgb:- | md5sum
}

start_wm
start_app
board_origin
dismiss_help
ring_point BaseHighlight
point_at "$PX" "$PY"
wait_window "Control Base Address" 5
popup=$WID
xdotool click 1
point_away
sleep 1
visible "Control Base Address" || fail "a click on the ring did not pin its pop-up"

import -window "$popup" "$WORK/before.png"
read -r ex ey <<<"$EDIT"
type_in "$popup" "$ex" "$ey" 2A8
point_away
sleep 0.5
import -window "$popup" "$WORK/after.png"
cp "$WORK/before.png" "$E2E_OUT/$SCENARIO-before.png"
cp "$WORK/after.png" "$E2E_OUT/$SCENARIO-after.png"

changed() { [ "$(crop "$WORK/before.png" "$1")" != "$(crop "$WORK/after.png" "$1")" ]; }
changed "$FEEDBACK" || fail "no feedback appeared under the edit"
for j in A5 A7 A8; do
    changed "${GLYPH[$j]} 18 34" || fail "jumper $j did not change"
done
for j in A4 A6 A9; do
    changed "${GLYPH[$j]} 18 34" && fail "jumper $j changed"
done
rm -f "$E2E_OUT/$SCENARIO-before.png" "$E2E_OUT/$SCENARIO-after.png"
app_running || fail "the program ended"
log "2A8: feedback shown, A5 A7 A8 changed, A4 A6 A9 kept"
