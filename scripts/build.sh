#!/usr/bin/env bash
# Set-up and build on a fresh Debian 12 machine, then run the program or the
# tests:
#   scripts/build.sh run | test | sim | build
#   scripts/build.sh asan      sanitizer build in build-asan, then every test there
#   scripts/build.sh fuzz      fuzz targets built with clang in build-fuzz, run
#                              FUZZ_SECONDS (default 30) each
#   scripts/build.sh install   build, then cmake --install (PREFIX, default /usr/local)
set -euo pipefail
cd "$(dirname "$0")/.."

# x11-utils (xwininfo, xprop), xdotool, openbox and imagemagick drive and
# watch the end-to-end tests; desktop-file-utils checks the desktop entry.
PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libjpeg62-turbo-dev fonts-wine xvfb xauth xdotool openbox imagemagick x11-utils
          desktop-file-utils clang libclang-rt-14-dev libbenchmark-dev libgtest-dev)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

mode=${1:-build}
BUILD=${BUILD_DIR:-build}
CONFIG=()
case $mode in
asan)
    BUILD=${BUILD_DIR:-build-asan}
    CONFIG=(-DQL4S_SANITIZE=ON) ;;
install)
    # The prefix is configured, not only given to cmake --install: the
    # installed program's RUNPATH names its library folder.
    CONFIG=(-DCMAKE_INSTALL_PREFIX="${PREFIX:-/usr/local}") ;;
fuzz)
    exec fuzz/run.sh "${BUILD_DIR:-build-fuzz}" ;;
esac

cmake -S . -B "$BUILD" -G Ninja "${CONFIG[@]}"
cmake --build "$BUILD" -j2

case $mode in
run)
    exec "$BUILD/bin/ql4s-setup" ;;
sim)
    exec env LD_LIBRARY_PATH="$PWD/$BUILD/lib/sim" "$BUILD/bin/ql4s-setup" ;;
test|asan)
    cd "$BUILD"
    exec ctest --output-on-failure -j2 ;;
install)
    exec cmake --install "$BUILD" ;;
build) ;;
*) echo "usage: $0 run|test|sim|build|asan|fuzz|install" >&2; exit 2 ;;
esac
