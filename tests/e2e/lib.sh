# Shared steps of the end-to-end scenarios. Each scenario runs inside
# xvfb-run (see run.sh), starts a window manager, then the installed-layout
# program against the simulated card, and drives it with xdotool (XTEST).
set -euo pipefail

: "${QL4S_BIN:?path of the ql4s-setup binary}"
: "${QL4S_SIMLIB:?folder of the simulated-card library}"
: "${E2E_OUT:?folder for traces and failure screenshots}"

SCENARIO=${SCENARIO:-$(basename "$0" .sh)}
WORK=$(mktemp -d)
TRACE="$WORK/trace.txt"
APP_PID=""
WM_PID=""

shot() { import -window root "$E2E_OUT/$SCENARIO-$1.png" 2>/dev/null || true; }

fail()
{
    echo "FAIL [$SCENARIO]: $*" >&2
    shot failure
    [ -f "$TRACE" ] && cp "$TRACE" "$E2E_OUT/$SCENARIO-trace.txt"
    exit 1
}

cleanup()
{
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# openbox runs its --startup command once it manages the screen.
start_wm()
{
    local marker="$WORK/wm-ready"
    openbox --startup "touch $marker" >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 100); do
        [ -f "$marker" ] && return 0
        sleep 0.1
    done
    fail "window manager did not start"
}

start_app()
{
    env LD_LIBRARY_PATH="$QL4S_SIMLIB" DODED32_SIM_TRACE="$TRACE" \
        DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb "$@" "$QL4S_BIN" &
    APP_PID=$!
}

# Waits for a window with exactly this name and prints its id.
wait_window()
{
    timeout "${2:-15}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 ||
        fail "no window named '$1'"
}

no_window()
{
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# Waits until cond (a command) succeeds, at most $2 tenths of a second.
wait_until()
{
    local cond=$1 tenths=${2:-50}
    for _ in $(seq "$tenths"); do
        eval "$cond" && return 0
        sleep 0.1
    done
    return 1
}

# Geometry of a window: sets X Y W H.
window_geometry()
{
    eval "$(xdotool getwindowgeometry --shell "$1")"
    X=$X Y=$Y W=$WIDTH H=$HEIGHT
}

# Screen position of the board image's top-left corner: the image is centred
# on the setup window's outer frame, 400 x 400.
board_origin()
{
    local id
    id=$(wait_window Setup)
    window_geometry "$id"
    # Setup is maximised over the whole 1280 x 1024 screen.
    BX=$(( (1280 - 400) / 2 ))
    BY=$(( (1024 - 400) / 2 ))
}
