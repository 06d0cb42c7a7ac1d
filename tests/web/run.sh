#!/usr/bin/env bash
# Builds the web page and tests it in headless Chromium against the Linux
# build's frames. Run by test.sh after the Linux build.
#
#   tests/web/run.sh [NATIVE_BUILD_DIR] [WEB_BUILD_DIR]
#
# Keeps its screenshots and the browser's log in WEB_BUILD_DIR/browser-test.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_web[@]}"
native=${1:-build}
web=${2:-build-web}

started=$SECONDS
site=$(scripts/build-web.sh "$web")
echo "web: built the page in $((SECONDS - started)) s"
cmake --build "$native" --target view_frames --parallel 2
workdir=$web/browser-test
rm -rf "$workdir"
mkdir -p "$workdir"
/usr/bin/python3 tests/web/browser_test.py "$site" "$native/tests/view_frames" "$workdir"
echo "web: built and tested in $((SECONDS - started)) s"
