#!/usr/bin/env bash
# One entry point for people and CI: installs what the build needs from Debian's packages
# when it is missing, builds, and then starts kvaro, runs every test or makes the package.
#   tools/dev.sh run      build and start the program (with demo data on a first run)
#   tools/dev.sh test     build and run every test, check the Debian package, run the tests
#                         again under AddressSanitizer and UndefinedBehaviorSanitizer, then
#                         fuzz the cycle file readers
#   tools/dev.sh package  build the programs and the Debian package build/kvaro_*.deb
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
# Qt wants a private runtime folder; root sessions on a bare machine often have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libqcustomplot-dev libgl-dev
          qt6-translations-l10n fonts-dejavu-core fonts-crosextra-carlito fonts-wine)
case "${1:-}" in
run) [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || packages+=(xvfb xauth) ;;
test) packages+=(clang-14 libclang-rt-14-dev clang-format-14 git python3 poppler-utils
                 dpkg-dev file desktop-file-utils appstream) ;;
# dpkg-shlibdeps names the libraries the package depends on; it reads the programs with file.
package) packages+=(dpkg-dev file) ;;
esac

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

# Builds one of the presets of CMakePresets.json (dev: build/, asan: build-asan/): every
# target, or only the ones named after it.
build() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" ${1:+--target "$@"}
}

# A store that already holds data is never touched; an empty one gets three demo ovens so a
# first run has something to show.
demo_data() {
    local home=build/bin
    if [ -n "$(ls -A "$home/Data" 2>/dev/null)" ]; then
        return
    fi
    local drive
    drive=$(mktemp -d)
    build/bin/kvaro-gen drive "$drive" --demo >/dev/null
    build/bin/kvaro-cli import --drive "$drive" --home "$home" >/dev/null
    rm -rf "$drive"
    echo "kvaro: the store was empty; imported demo cycles of three ovens into $home/Data"
}

# The Debian package of what build/ holds, made from the install rules (packaging/); an
# older version's package is removed first so build/kvaro_*.deb names one file.
make_package() {
    rm -f build/kvaro_*.deb
    local out
    if ! out=$(cpack --config build/CPackConfig.cmake -B build 2>&1); then
        echo "$out" >&2
        exit 1
    fi
    local debs=(build/kvaro_*.deb)
    if [ ! -f "${debs[0]}" ]; then
        echo "kvaro: cpack made no package in build/" >&2
        exit 1
    fi
    deb=${debs[0]}
}

case "${1:-}" in
run)
    # Only what starts: the tests are built by "test".
    build dev kvaro kvaro-cli kvaro-gen
    demo_data
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec build/bin/kvaro
    fi
    echo "kvaro: no display found; starting the window on a virtual X display (xvfb-run)"
    exec xvfb-run -a build/bin/kvaro
    ;;
test)
    tools/check_format.sh
    # The tests include the layering check (tools/check_includes.cmake).
    build dev
    ctest --preset dev
    make_package
    tools/check_package.sh "$deb"
    echo "kvaro: every test again under AddressSanitizer and UndefinedBehaviorSanitizer"
    build asan
    ctest --preset asan
    if [ -x tools/fuzz.sh ]; then
        tools/fuzz.sh 60
    fi
    ;;
package)
    # Only what gets installed: the tests have no install rule.
    build dev kvaro kvaro-cli kvaro-gen
    make_package
    echo "kvaro: the package is $deb; install it with: sudo apt install ./$deb"
    ;;
*)
    echo "usage: tools/dev.sh run|test|package" >&2
    exit 2
    ;;
esac
