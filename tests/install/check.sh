#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop and the
# dynamic loader get from it: the exact file layout, the program's RUNPATH,
# that the installed program resolves the installed libDODED32, and that the
# simulated card's folder on LD_LIBRARY_PATH swaps the simulated card in.
#
#   check.sh BUILD_DIR BINDIR LIBDIR DATADIR FULL_LIBDIR  (the GNUInstallDirs values)
set -euo pipefail

BUILD=$1 BINDIR=$2 LIBDIR=$3 DATADIR=$4 FULL_LIBDIR=$5
PREFIX=/opt/ql4s
WORK=$(mktemp -d)
APP_PID=""
cleanup()
{
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$WORK/dest" cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
ROOT="$WORK/dest$PREFIX"
BIN="$ROOT/$BINDIR/ql4s-setup"
SIM="$ROOT/$LIBDIR/ql4s-setup/sim"

# Exactly these files and links, nothing else (no static libraries, tests or
# stand-in driver libraries).
expected=$(sort <<EOF
$BINDIR/ql4s-setup
$LIBDIR/libDODED32.so
$LIBDIR/libDODED32.so.1
$LIBDIR/ql4s-setup/sim/libDODED32.so
$LIBDIR/ql4s-setup/sim/libDODED32.so.1
$DATADIR/applications/ql4s-setup.desktop
$DATADIR/icons/hicolor/128x128/apps/ql4s-setup.png
EOF
)
actual=$(cd "$ROOT" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "installed files differ from the expected layout (- expected, + installed)"
fi
[ -x "$BIN" ] || fail "$BIN is not executable"

# RUNPATH, not RPATH: the loader searches RPATH before LD_LIBRARY_PATH, which
# would make the simulated card impossible to swap in.
dynamic=$(readelf -d "$BIN")
grep -q '(RPATH)' <<<"$dynamic" && fail "the program carries an RPATH instead of a RUNPATH"
runpath=$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' <<<"$dynamic")
# Relative to the program, then the configured library folder for when the
# loader ignores $ORIGIN (a program with file capabilities).
[ "$runpath" = "\$ORIGIN/../$LIBDIR:$FULL_LIBDIR" ] ||
    fail "RUNPATH is '$runpath', not '\$ORIGIN/../$LIBDIR:$FULL_LIBDIR'"

# Neither program may search the current directory (an empty RUNPATH entry
# does that, even for a program with file capabilities).
for p in "$BIN" "$BUILD/bin/ql4s-setup"; do
    rp=$(readelf -d "$p" | sed -n 's/.*R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
    [[ ":$rp:" == *::* ]] && fail "the RUNPATH '$rp' of $p has an empty entry"
done

resolved()
{
    env "$@" ldd "$BIN" | awk '$1 == "libDODED32.so.1" { print $3 }'
}
real=$(resolved LD_LIBRARY_PATH=)
[ "$real" -ef "$ROOT/$LIBDIR/libDODED32.so.1" ] ||
    fail "libDODED32.so.1 resolves to '$real', not the installed real library"
sim=$(resolved LD_LIBRARY_PATH="$SIM")
[ "$sim" -ef "$SIM/libDODED32.so.1" ] ||
    fail "with the sim folder on LD_LIBRARY_PATH libDODED32.so.1 resolves to '$sim'"

# Run it: only the simulated card writes a trace, and the start-up driver probe
# reads port 0x61, which the simulated card answers with 0xFF.
TRACE="$WORK/trace.txt"
env LD_LIBRARY_PATH="$SIM" DODED32_SIM_TRACE="$TRACE" QT_QPA_PLATFORM=offscreen "$BIN" \
    >"$WORK/app.log" 2>&1 &
APP_PID=$!
for _ in $(seq 100); do
    grep -qx 'in 0061 00FF' "$TRACE" 2>/dev/null && break
    kill -0 "$APP_PID" 2>/dev/null || { cat "$WORK/app.log" >&2; fail "the installed program ended early"; }
    sleep 0.1
done
grep -qx 'in 0061 00FF' "$TRACE" 2>/dev/null || fail "the installed program did not probe the simulated card"

# The desktop entry starts this program and names this icon.
DESKTOP="$ROOT/$DATADIR/applications/ql4s-setup.desktop"
grep -qx 'Exec=ql4s-setup' "$DESKTOP" || fail "the desktop entry does not start ql4s-setup"
grep -qx 'Icon=ql4s-setup' "$DESKTOP" || fail "the desktop entry does not name the ql4s-setup icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects the desktop entry"
fi
ICON="$ROOT/$DATADIR/icons/hicolor/128x128/apps/ql4s-setup.png"
[ "$(identify -format '%m %wx%h' "$ICON")" = "PNG 128x128" ] || fail "the icon is not a 128x128 PNG"

echo "install layout under $PREFIX: OK"
