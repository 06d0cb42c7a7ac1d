#!/usr/bin/env bash
# Cross-builds mazewalk for 64-bit Windows into BUILD-FOLDER: the libraries
# from scripts/cross-libs.sh's cache (built there the first time), then the
# program, the tools and the tests. Prints the libraries' prefix path.
#   packaging/win64/build.sh BUILD-FOLDER [CMAKE ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: build.sh BUILD-FOLDER [CMAKE ARGUMENTS...]}
shift
prefix=$("$root/scripts/cross-libs.sh" win64)
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" -DMAZEWALK_BENCH=OFF "$@" >&2
cmake --build "$build" --parallel 2 >&2
echo "$prefix"
