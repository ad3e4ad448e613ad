#!/usr/bin/env bash
# One entry point for people and CI: installs what the build needs from Debian's packages
# when it is missing, builds, and then starts kvaro or runs every test.
#   tools/dev.sh run    build and start the program
#   tools/dev.sh test   build and run every test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libqcustomplot-dev libgl-dev
          fonts-dejavu-core)
if [ "${1:-}" = run ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "kvaro: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}

case "${1:-}" in
run)
    build build
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec build/bin/kvaro
    fi
    echo "kvaro: no display found; starting the window on a virtual X display (xvfb-run)"
    exec xvfb-run -a build/bin/kvaro
    ;;
test)
    build build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure
    ;;
*)
    echo "usage: tools/dev.sh run|test" >&2
    exit 2
    ;;
esac
