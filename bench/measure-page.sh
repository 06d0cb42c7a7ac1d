#!/usr/bin/env bash
# Measures what the page costs a battery: builds it (the web-test preset, in
# build-web-test/, as the browser tests do) and runs bench/measure-page.mjs,
# which shows it in Chromium beside bare pages and prints a table.
#
#   bench/measure-page.sh [--quick] [--seconds N] [--settle N]
#
# --quick measures each case 3 s after 2 s to settle (10 s after 3 s without).
# Each case costs a fresh browser; the whole run takes about 6 x (settle +
# seconds + 3) s. Give it a quiet machine: every other busy process shows up
# as noise in the shares.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_web[@]}" xvfb
mazewalk_browser_driver
scripts/build.sh web-test >/dev/null
node bench/measure-page.mjs build-web-test/web/site "$@"
