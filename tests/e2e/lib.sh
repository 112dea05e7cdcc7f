# Shared steps of the end-to-end scenarios, sourced by each scenario script.
# A scenario runs inside an X server of its own (run.sh starts it with
# xvfb-run), starts a window manager, then the program against the simulated
# card, and drives it with xdotool through XTEST input, as a person would: no
# hooks inside the program. Every wait is bounded; a failure keeps a
# screenshot, the card trace and the program's output in $E2E_OUT.
set -euo pipefail
# Tells run.sh that the X server came up and the scenario itself ran.
[ -n "${E2E_STARTED:-}" ] && : >"$E2E_STARTED"

: "${QL4S_BIN:?path of the ql4s-setup binary}"
: "${QL4S_SIMLIB:?folder of the simulated-card library}"
: "${E2E_OUT:?folder for traces and failure screenshots}"
: "${DISPLAY:?an X display (run the scenario through run.sh)}"

SCENARIO=${SCENARIO:-$(basename "$0" .sh)}
WORK=$(mktemp -d)
TRACE="$WORK/trace.txt"
APP_LOG="$WORK/app.log"
APP_PID=""
APP_STATUS=""
WM_PID=""
mkdir -p "$E2E_OUT"
rm -f "$E2E_OUT/$SCENARIO"-*

# The board image of the setup window and the highlight rectangles on it, in
# the image's own pixels (left, top, width, height).
BOARD_SIZE=400
declare -A RING=(
    [BaseHighlight]="32 304 49 21"
    [ClockHighlight]="95 304 13 21"
    [DFHighlight]="82 304 13 21"
    [COMHighlight]="5 64 44 217"
    [COMBaseHighlight]="156 178 84 84"
)

log() { echo "[$SCENARIO] $*"; }

shot() { import -window root "$E2E_OUT/$SCENARIO-$1.png" 2>/dev/null || true; }

fail()
{
    echo "FAIL [$SCENARIO]: $*" >&2
    shot failure
    [ -f "$TRACE" ] && cp "$TRACE" "$E2E_OUT/$SCENARIO-trace.txt"
    if [ -s "$APP_LOG" ]; then
        cp "$APP_LOG" "$E2E_OUT/$SCENARIO-app.log"
        echo "--- program output:" >&2
        tail -n 40 "$APP_LOG" >&2
    fi
    echo "kept in $E2E_OUT/$SCENARIO-*" >&2
    exit 1
}

cleanup()
{
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    if [ -n "$WM_PID" ]; then
        kill "$WM_PID" 2>/dev/null || true
        wait "$WM_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

for tool in xdotool xwininfo xprop import convert openbox; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/build.sh installs it)"
done

# Waits until a command succeeds, at most $2 tenths of a second (default 5 s).
wait_until()
{
    local cond=$1 tenths=${2:-50}
    for _ in $(seq "$tenths"); do
        eval "$cond" && return 0
        sleep 0.1
    done
    return 1
}

# openbox runs its --startup command once it manages the screen.
start_wm()
{
    local marker="$WORK/wm-ready"
    openbox --startup "touch $marker" >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until "[ -f '$marker' ]" 100 || fail "window manager did not start"
    read -r SCREEN_W SCREEN_H < <(xwininfo -root | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }')
}

# Starts the program against the simulated card; arguments are extra
# environment assignments (DODED32_SIM_DRIVER=missing).
start_app()
{
    mkdir -p -m 0700 "$WORK/xdg"
    env LD_LIBRARY_PATH="$QL4S_SIMLIB" DODED32_SIM_TRACE="$TRACE" \
        DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$WORK/xdg" QT_QPA_PLATFORM=xcb \
        "$@" "$QL4S_BIN" >"$APP_LOG" 2>&1 &
    APP_PID=$!
}

# Waits for the program to end (at most $1 seconds) and sets APP_STATUS.
wait_exit()
{
    wait_until "! kill -0 $APP_PID 2>/dev/null" $((${1:-10} * 10)) ||
        fail "the program did not end"
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=""
}

app_running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# Waits for a visible window with exactly this name (at most $2 seconds) and
# sets WID to its id.
wait_window()
{
    local ids
    ids=$(timeout "${2:-15}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null) ||
        fail "no window named '$1'"
    WID=${ids%%$'\n'*}
}

visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

wait_gone()
{
    wait_until "! visible '$1'" $((${2:-5} * 10)) || fail "window '$1' is still shown"
}

# The window's client area on the screen (the part inside the window
# manager's frame): WX WY WW WH; and the frame around it: FL FR FT FB.
window_geometry()
{
    eval "$(xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { print "WX=" $4 }
        /Absolute upper-left Y:/ { print "WY=" $4 }
        /^  Width:/ { print "WW=" $2 }
        /^  Height:/ { print "WH=" $2 }')"
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
    IFS=, read -r FL FR FT FB <<<"${extents:-0,0,0,0}"
}

maximised()
{
    local state
    state=$(xprop -id "$1" _NET_WM_STATE)
    [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# Height of the menu bar at the top of a window. It is drawn inside the
# window (no X window of its own), so it is read off the window's pixels: the
# setup window's background is white, and the menu bar's bottom row is the
# first non-white row in a column right of the menu titles. A window that is
# mapped but not painted yet shows no white at all, so the reading is repeated
# until the column starts white.
menu_height()
{
    local img="$WORK/menu.png" x column y
    for _ in $(seq 50); do
        window_geometry "$1"
        x=$((WW - 4))
        if import -window "$1" "$img" 2>/dev/null; then
            column=$(convert "$img" -crop "1x80+$x+0" +repage -depth 8 txt:- | tail -n +2)
            y=$(awk -F'[,: ]+' '$0 !~ /#FFFFFF/ { print $2; exit }' <<<"$column")
            if [[ $column == *"#FFFFFF"* && -n $y && $y -ge 8 ]]; then
                MENU_H=$((y + 1))
                return 0
            fi
        fi
        sleep 0.1
    done
    fail "no menu bar found in window $1"
}

# Waits until a window has stopped moving and resizing (the program and the
# window manager may place it after it is mapped).
wait_settled()
{
    local last="" now
    for _ in $(seq 30); do
        window_geometry "$1"
        now="$WX $WY $WW $WH"
        [ "$now" = "$last" ] && return 0
        last=$now
        sleep 0.1
    done
    fail "window $1 keeps moving"
}

# Screen position of the board image's top left corner, BX BY. The image
# centres itself on the setup window's outer size (frame, caption and menu bar
# included), in the window's client coordinates, which begin below the menu
# bar.
board_origin()
{
    wait_window Setup
    local setup=$WID
    wait_until "maximised $setup" 50 || fail "the setup window is not maximised"
    wait_settled "$setup"
    menu_height "$setup"
    window_geometry "$setup"
    local outer_w=$((WW + FL + FR)) outer_h=$((WH + FT + FB))
    BX=$((WX + (outer_w - BOARD_SIZE) / 2))
    BY=$((WY + MENU_H + (outer_h - BOARD_SIZE) / 2))
}

# Screen position of a point on a highlight, PX PY (needs board_origin): the
# middle of its width, a quarter down its height. The pop-ups of the jumper
# row open just below the row, and their frames may reach into its lower half.
ring_point()
{
    local l t w h
    read -r l t w h <<<"${RING[$1]}"
    PX=$((BX + l + w / 2))
    PY=$((BY + t + h / 4))
}

# Moves the pointer and waits until it is there. (mousemove --sync would wait
# for a movement that never comes when the pointer is there already.)
point_at()
{
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ] && return 0
    timeout 5 xdotool mousemove --sync "$1" "$2" || fail "the pointer did not move to ($1, $2)"
}

click_at()
{
    point_at "$1" "$2"
    xdotool click 1
}

# A place on the setup window that no ring, pop-up or menu covers: below the
# menu bar at the right edge of the screen.
point_away() { point_at $((SCREEN_W - 8)) 60; }

# Clicks a point given in a window's client coordinates.
click_in()
{
    wait_settled "$1"
    click_at $((WX + $2)) $((WY + $3))
}

# Replaces the text of the edit at client point ($2, $3) of window $1.
type_in()
{
    click_in "$1" "$2" "$3"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$4"
}

# The port writes of the card trace, one "out PPPP VV" per line.
trace_writes() { grep '^out ' "$TRACE" 2>/dev/null || true; }

# Presses keys in a window after making it the active one, so the keys reach
# it whatever had the focus before.
keys_in()
{
    local id=$1
    shift
    timeout 5 xdotool windowactivate --sync "$id" >/dev/null 2>&1 || fail "cannot activate window $id"
    xdotool key --clearmodifiers "$@"
}

# The program's visible windows, menus and drop-down lists included.
app_windows() { xdotool search --onlyvisible --class ql4s-setup 2>/dev/null | sort || true; }

# Waits for a visible window of the program that is not in the list $1
# (from app_windows) and sets WID to it.
wait_new_window()
{
    local now
    for _ in $(seq 50); do
        now=$(comm -13 <(echo "$1") <(app_windows))
        if [ -n "$now" ]; then
            WID=${now%%$'\n'*}
            return 0
        fi
        sleep 0.1
    done
    fail "no new window of the program appeared"
}

# The help window comes up over the board shortly after start-up; its frame's
# close box (Alt+F4) hides it without pressing Start.
HELP="Instructions for Settings utility"
dismiss_help()
{
    wait_window "$HELP" 10
    keys_in "$WID" alt+F4
    wait_gone "$HELP"
}
