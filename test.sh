#!/usr/bin/env bash
# Builds mazewalk and runs every test, the ones that need a display included
# (they start their own Xvfb). Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"

cmake -S . -B build
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel 2
