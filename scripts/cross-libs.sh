#!/usr/bin/env bash
# Builds the libraries mazewalk links for a target other than this machine,
# from Debian's source packages, into a cache outside the clone:
#
#   scripts/cross-libs.sh TARGET
#
# Prints the folder the libraries were installed into,
#   ${MAZEWALK_CACHE:-~/.cache/mazewalk}/TARGET/<library>-<version>/
# A folder already there is reused, so only the first run builds.
#
# Targets:
#   web    SDL2 for WebAssembly, built with Emscripten's emcmake.
#
# A target is a function build_TARGET that builds each library with
# build_library; another target (win64 with MinGW, say) is one more function.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: cross-libs.sh TARGET}
cache=${MAZEWALK_CACHE:-$HOME/.cache/mazewalk}
jobs=${MAZEWALK_JOBS:-2}

# The version of a library is the installed Linux package's, so every build
# links the same SDL2.
debian_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true
}

# build_library NAME PACKAGE CONFIGURE...: unpacks PACKAGE's source, then
# runs CONFIGURE (a command with its arguments, given the source folder and the
# install prefix as its last two) and installs into the prefix. Prints the
# prefix. A prefix holding a finished build is reused.
build_library() {
    local name=$1 package=$2
    shift 2
    local version source upstream prefix
    version=$(debian_version "$package")
    source=$(scripts/debian-source.sh "$package" $version | tail -n 1)
    upstream=${version%%[+-]*}
    prefix=$cache/$target/$name-$upstream
    if [ -f "$prefix/.built" ]; then
        echo "$prefix"
        return 0
    fi
    rm -rf "$prefix" "$prefix.build"
    echo "cross-libs.sh: building $name $upstream for $target" >&2
    "$@" "$source" "$prefix" >&2
    cmake --build "$prefix.build" --parallel "$jobs" >&2
    cmake --install "$prefix.build" >&2
    rm -rf "$prefix.build"
    touch "$prefix/.built"
    echo "$prefix"
}

# SDL2 for the browser: video through the canvas, no threads (a page's wasm
# has none without cross-origin isolation), no audio or joystick (mazewalk
# uses neither), static.
configure_sdl2_web() {
    local source=$1 prefix=$2
    emcmake cmake -S "$source" -B "$prefix.build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
        -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF \
        -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_HIDAPI=OFF
}

build_web() {
    command -v emcmake >/dev/null || {
        echo "cross-libs.sh: emcmake not found (scripts/deps.sh lists emscripten)" >&2
        exit 1
    }
    build_library SDL2 libsdl2-dev configure_sdl2_web
}

case $target in
    web) build_web ;;
    *)
        echo "cross-libs.sh: unknown target $target (known: web)" >&2
        exit 2
        ;;
esac
