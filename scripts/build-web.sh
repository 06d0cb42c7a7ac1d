#!/usr/bin/env bash
# Builds the web page: SDL2 for WebAssembly into the cache (scripts/cross-libs.sh
# web), then mazewalk with Emscripten into BUILD_DIR (default build-web).
#
#   scripts/build-web.sh [BUILD_DIR]
#
# Prints the folder holding the finished page.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}

# Emscripten's JavaScript optimiser needs acorn, which Debian keeps here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
sdl2=$(scripts/cross-libs.sh web | tail -n 1)
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAZEWALK_TESTS=OFF \
    -DMAZEWALK_BENCH=OFF -DMAZEWALK_WERROR=ON -DSDL2_DIR="$sdl2/lib/cmake/SDL2" >&2
cmake --build "$build" --parallel "${MAZEWALK_JOBS:-2}" >&2
echo "$build/web/site"
