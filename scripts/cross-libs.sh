#!/usr/bin/env bash
# Builds the libraries a cross-build of mazewalk links, once, into a cache
# outside the clone, and prints the CMAKE_PREFIX_PATH that finds them.
#
#   scripts/cross-libs.sh TARGET        TARGET: win64 or web
#
# Each library is built from Debian's own source (the SDL2 the Linux build
# uses, the same SDL2_image, CLI11 and fast_float, the GoogleTest under
# /usr/src) into
#   ${MAZEWALK_CACHE:-~/.cache/mazewalk}/TARGET/<library>-<version>-<options>/
# <options> a short hash of its build options below, so clones or branches
# that build it differently each keep their own and never rebuild each
# other's; a folder missing or left half-built by an interrupted run is built
# again.
# Progress goes to stderr, the prefix path alone to stdout.
set -euo pipefail

target=${1:?usage: cross-libs.sh TARGET (win64 or web)}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
cache=${MAZEWALK_CACHE:-$HOME/.cache/mazewalk}
jobs=${MAZEWALK_JOBS:-2}
# One run at a time builds into the cache: two scripts of one clone, or two
# clones, started together would otherwise build into the same folders.
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9

# --- Targets: how to configure a CMake project for each -------------------

# configure_TARGET SOURCE BUILD PREFIX [CMAKE ARGUMENTS...]
configure_win64() {
    local source=$1 build=$2 prefix=$3
    shift 3
    cmake -S "$source" -B "$build" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >&2
}

# WebAssembly with Debian's Emscripten, whose JavaScript optimiser needs the
# acorn Debian keeps in /usr/share/nodejs.
configure_web() {
    local source=$1 build=$2 prefix=$3
    shift 3
    NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH} emcmake cmake -S "$source" -B "$build" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >&2
}

case $target in
    win64 | web) ;;
    *) echo "cross-libs.sh: unknown target '$target' (known: win64, web)" >&2; exit 2 ;;
esac

# --- Libraries -----------------------------------------------------------

# The options each library is built with, per target. SDL2 without its tests;
# SDL2_image with PNG alone (the map tool writes PNG), read by its bundled
# stb_image and written by its bundled miniz, so no zlib or libpng is needed.
# VENDORED=ON builds nothing more here (the stb backend needs no libpng); it
# only keeps SDL2_image's CMake package from asking the program for libpng.
sdl2_options_win64=(-DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF)
sdl2_image_options_win64=(-DBUILD_SHARED_LIBS=ON -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF
    -DSDL2IMAGE_VENDORED=ON -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_BACKEND_STB=ON
    -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF
    -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF
    -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF
    -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF
    -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF)
# SDL2 for a page: static, without threads (a page has none without
# cross-origin isolation), audio, haptics or sensors, which mazewalk does not
# use. Joysticks stay for --gamepad: SDL reads the browser's Gamepad API and
# maps its standard layout as a game controller.
sdl2_options_web=(-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
    -DSDL_PTHREADS=OFF -DSDL_AUDIO=OFF -DSDL_JOYSTICK=ON -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF
    -DSDL_POWER=OFF -DSDL_HIDAPI=OFF)
# CLI11 and fast_float are headers only; built here so that the cross-build
# never takes the build machine's headers with it.
cli11_options_win64=(-DCLI11_BUILD_TESTS=OFF -DCLI11_BUILD_EXAMPLES=OFF -DCLI11_BUILD_DOCS=OFF
    -DCLI11_PRECOMPILED=OFF)
cli11_options_web=("${cli11_options_win64[@]}")
fast_float_options_win64=(-DFASTFLOAT_TEST=OFF -DFASTFLOAT_INSTALL=ON)
fast_float_options_web=("${fast_float_options_win64[@]}")
# GoogleTest links statically into each test program; gmock is not used.
googletest_options_win64=(-DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON)

installed_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null ||
        { echo "cross-libs.sh: $1 is not installed (scripts/deps.sh installs it)" >&2; exit 1; }
}

# build_library NAME VERSION SOURCE [CMAKE ARGUMENTS...]: builds and installs
# into the cache unless the same version with the same options is there.
# Prints the install folder.
build_library() {
    local name=$1 version=$2 source=$3
    shift 3
    local recipe
    recipe=$(printf '%s\n' "$@")
    local prefix
    prefix=$cache/$target/$name-$version-$(printf '%s' "$recipe" | sha256sum | cut -c1-8)
    local stamp=$prefix/.mazewalk-built
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
        echo "$prefix"
        return 0
    fi
    echo "cross-libs.sh: building $name $version for $target" >&2
    local build=$cache/$target/.build-${prefix##*/}
    rm -rf "$prefix" "$build"
    "configure_$target" "$source" "$build" "$prefix" "$@"
    cmake --build "$build" --parallel "$jobs" >&2
    cmake --install "$build" >&2
    # The notices a package that ships the library must carry: its licence,
    # and Debian's record of the licences of the code it bundles.
    mkdir -p "$prefix/share/licenses/$name"
    local notice
    for notice in LICENSE.txt debian/copyright; do
        [ -f "$source/$notice" ] && cp "$source/$notice" "$prefix/share/licenses/$name/"
    done
    rm -rf "$build"
    printf '%s' "$recipe" >"$stamp"
    echo "$prefix"
}

options() { local var="$1_options_$target[@]"; printf '%s\n' "${!var}"; }

# debian_library NAME PACKAGE [SOURCE-OPTION] [CMAKE ARGUMENTS...]: NAME built
# from the source of the installed Debian PACKAGE, at its version, with
# NAME's options above. Prints the install folder.
debian_library() {
    local name=$1 package=$2
    shift 2
    local fetch=()
    if [ "${1:-}" = --upstream-fallback ]; then
        fetch=("$1")
        shift
    fi
    local version source opts
    version=$(installed_version "$package")
    source=$("$here/debian-source.sh" "${fetch[@]}" "$package" "$version")
    mapfile -t opts < <(options "${name,,}")
    build_library "$name" "$version" "$source" "${opts[@]}" "$@"
}

sdl2=$(debian_library SDL2 libsdl2-dev)
cli11=$(debian_library CLI11 libcli11-dev)
# Debian's part of fast_float only adds a header that joins the others, which
# mazewalk does not include, and the archive may lack it.
fast_float=$(debian_library fast_float libfast-float-dev --upstream-fallback)

# The page links SDL2 and the two header libraries: it draws no map and runs
# no unit tests.
if [ "$target" = web ]; then
    echo "$sdl2;$cli11;$fast_float"
    exit 0
fi

image=$(debian_library SDL2_image libsdl2-image-dev -DCMAKE_PREFIX_PATH="$sdl2")

gtest_version=$(installed_version googletest)
mapfile -t opts < <(options googletest)
gtest=$(build_library googletest "$gtest_version" /usr/src/googletest "${opts[@]}")

echo "$sdl2;$image;$gtest;$cli11;$fast_float"
