#!/usr/bin/env bash
# Builds the web page (the web-test preset, in build-web-test/) and tests it
# in headless Chromium against the frames of the Linux test build
# (build-test/, whose reference-frame tool it builds if need be). The web
# stage of test.sh; passes alone on a fresh clone.
#
#   tests/web/run.sh
#
# Keeps its screenshots and the browser's log in build-web-test/browser-test.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}" \
    "${mazewalk_packages_web[@]}"
mazewalk_browser_driver
native=build-test
web=build-web-test

started=$SECONDS
scripts/build.sh web-test >/dev/null
echo "web: built the page in $((SECONDS - started)) s"
scripts/build.sh test --target view_frames >/dev/null
workdir=$web/browser-test
rm -rf "$workdir"
mkdir -p "$workdir"
node tests/web/browser_test.mjs "$web/web/site" "$native/tests/view_frames" "$workdir"
# The page's benchmark, as docs/performance.md shows it, on the page just built:
# its figures are not judged here, only that it runs.
bench/measure-page.sh --quick
echo "web: built and tested in $((SECONDS - started)) s"
