#!/usr/bin/env bash
# Builds mazewalk and runs every test, the ones that need a display included
# (they start their own Xvfb). Installs what is missing first. Then runs the
# unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# each fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
mazewalk_locale de_DE.UTF-8

cmake -S . -B build
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel 2

# The unit tests under the sanitizers: any finding (an invalid memory access,
# a leak, undefined behaviour, a failed assertion: NDEBUG is off here) ends
# the test that made it, and so fails the run. Everything in this build
# folder gets the same flags; the window and its tools are left out.
sanitizers="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"
cmake -S . -B build-asan -DMAZEWALK_BENCH=OFF -DMAZEWALK_SHELL=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS"
cmake --build build-asan --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --parallel 2 -LE e2e

tests/win/run.sh build  # the Windows build, tested under Wine

# The fuzz targets, 30 seconds each; they need clang.
if command -v clang++ >/dev/null; then
    ./fuzz.sh 30
else
    echo "test.sh: clang++ is not installed, so the fuzz targets were not run"
fi
