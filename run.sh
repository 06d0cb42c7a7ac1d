#!/usr/bin/env bash
# Builds mazewalk (the dev preset, in build-dev/) and walks the shipped maze.
# Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}"
scripts/build.sh dev --target mazewalk
cd levels
exec ../build-dev/mazewalk
