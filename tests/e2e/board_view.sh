#!/usr/bin/env bash
# The board view after start-up: the photograph fills the 400 x 400 board image
# centred on the setup window's outer size (in client coordinates, below the
# menu bar). Around the box the white window background shows; inside, each
# edge row and column is mostly picture.
. "$(dirname "$0")/lib.sh"

start_wm
start_app
board_origin
dismiss_help
point_away
sleep 0.5
import -window root "$WORK/screen.png"

# Share of non-white pixels in a strip of the screen: l t w h.
ink()
{
    convert "$WORK/screen.png" -crop "${3}x${4}+$1+$2" +repage -fill black +opaque white \
        -colorspace gray -format '%[fx:round(100*(1-mean))]' info:
}
for strip in "$((BX - 3)) $BY 2 400" "$((BX + 401)) $BY 2 400" "$BX $((BY - 3)) 400 2" "$BX $((BY + 401)) 400 2"; do
    # shellcheck disable=SC2086
    [ "$(ink $strip)" -eq 0 ] || fail "picture outside the 400 x 400 box at $strip"
done
for strip in "$BX $BY 1 400" "$((BX + 399)) $BY 1 400" "$BX $BY 400 1" "$BX $((BY + 399)) 400 1"; do
    # shellcheck disable=SC2086
    [ "$(ink $strip)" -ge 50 ] || fail "the box edge at $strip is not picture"
done
log "photograph in the 400 x 400 box at ($BX, $BY)"
