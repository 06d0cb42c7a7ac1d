#!/usr/bin/env bash
# Builds mazewalk and walks the shipped maze. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}"
cmake -S . -B build -DMAZEWALK_WERROR=ON -DMAZEWALK_TESTS=OFF -DMAZEWALK_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target mazewalk
cd levels
exec ../build/mazewalk
