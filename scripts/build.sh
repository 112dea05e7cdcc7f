#!/usr/bin/env bash
# Set-up and build on a fresh Debian 12 machine, then run the program or the
# tests:  scripts/build.sh run | test | sim | build
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libjpeg62-turbo-dev fonts-wine xvfb xauth xdotool openbox imagemagick
          clang libclang-rt-14-dev libbenchmark-dev libgtest-dev)

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

BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja
cmake --build "$BUILD" -j2

case "${1:-build}" in
run)
    exec "$BUILD/bin/ql4s-setup" ;;
sim)
    exec env LD_LIBRARY_PATH="$PWD/$BUILD/lib/sim" "$BUILD/bin/ql4s-setup" ;;
test)
    cd "$BUILD"
    exec ctest --output-on-failure -j2 ;;
build) ;;
*) echo "usage: $0 run|test|sim|build" >&2; exit 2 ;;
esac
