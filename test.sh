#!/usr/bin/env bash
# Builds mazewalk and runs every test, the ones that need a display included
# (they start their own Xvfb). Installs what is missing first. Then builds the
# README's Install block (Release) as a user would, runs ./run.sh and
# ./bench.sh --quick on a fresh copy of the sources, tests the web page, runs
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# tests the Windows build, runs each fuzz target for 30 seconds and installs
# the Debian package. Each configuration is a preset of CMakePresets.json, in
# a folder of its own; our own builds treat every warning as an error.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
mazewalk_locale de_DE.UTF-8

# The Linux build and all its tests, in build-test/.
scripts/build.sh test
ctest --preset test

# The README's Install block, and the scripts on a fresh copy of the sources.
tests/readme/install.sh
tests/presets/fresh-copy.sh

tests/web/run.sh  # the web build, in headless Chromium

# The unit tests under the sanitizers, in build-asan/: any finding (an invalid
# memory access, a use after scope, a leak, undefined behaviour, a failed
# assertion: NDEBUG is off here) ends the test that made it, and so fails the
# run. Every unit test that needs no display is built, the off-screen SDL ones
# included, and the tests themselves are not optimised, so a finding in one
# shows where it happens; what they test is built as usual, at -O1 or more.
scripts/build.sh asan
ctest --preset asan

tests/win/run.sh  # the Windows build, tested under Wine

# The fuzz targets, 30 seconds each; they need clang.
if command -v clang++ >/dev/null; then
    ./fuzz.sh 30
else
    echo "test.sh: clang++ is not installed, so the fuzz targets were not run"
fi

# Last: the Debian package installed, started, walked and removed again.
bash tests/package/deb.sh
