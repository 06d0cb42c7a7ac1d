#!/usr/bin/env bash
# Builds mazewalk and runs every test, the ones that need a display included
# (they start their own Xvfb). Installs what is missing first. Then builds the
# README's Install block (Release) as a user would, tests the web page in
# headless Chromium, runs the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, tests the Windows build under Wine, runs each
# fuzz target for 30 seconds, and last makes, installs and removes the Debian
# package. Our own builds treat every warning as an error.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
mazewalk_locale de_DE.UTF-8

cmake -S . -B build -DMAZEWALK_WERROR=ON -DMAZEWALK_TESTS=ON -DMAZEWALK_BENCH=ON
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel 2

tests/readme/install.sh
tests/web/run.sh build  # the web build, in headless Chromium

# The unit tests under the sanitizers: any finding (an invalid memory access,
# a use after scope, a leak, undefined behaviour, a failed assertion: NDEBUG
# is off here) ends the test that made it, and so fails the run. Every unit
# test that needs no display is built, the off-screen SDL ones included, and
# the tests themselves are not optimised, so a finding in one shows where it
# happens; what they test is built as usual, at -O1 or more.
sanitizers="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"
cmake -S . -B build-asan -DMAZEWALK_WERROR=ON -DMAZEWALK_TESTS=ON -DMAZEWALK_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DMAZEWALK_TEST_CXX_FLAGS="-O0" \
    -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS"
cmake --build build-asan --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --parallel 2 -LE 'e2e|bench'

tests/win/run.sh build  # the Windows build, tested under Wine

# The fuzz targets, 30 seconds each; they need clang.
if command -v clang++ >/dev/null; then
    ./fuzz.sh 30
else
    echo "test.sh: clang++ is not installed, so the fuzz targets were not run"
fi

# Last: the Debian package installed, started, walked and removed again.
bash tests/package/deb.sh
