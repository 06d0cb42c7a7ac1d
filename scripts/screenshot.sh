#!/usr/bin/env bash
# Saves a picture of mazewalk's window as it looks a second after start-up,
# for the README. Builds nothing: give it a built program. It starts a private
# Xvfb, runs the program in the level folder (which must hold torv-2.dat),
# dismisses the start-up message and saves the whole window as a PNG.
#   scripts/screenshot.sh [PROGRAM [LEVEL-FOLDER [OUTPUT]]]
# Defaults: build-dev/mazewalk (./run.sh builds it), levels/, docs/start-view.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build-dev/mazewalk}
levels=${2:-$root/levels}
output=${3:-$root/docs/start-view.png}

if [ ! -f "$levels/torv-2.dat" ]; then
    echo "screenshot.sh: no torv-2.dat in $levels" >&2
    exit 1
fi
levels=$(cd "$levels" && pwd)
mkdir -p "$(dirname "$output")"
output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")

E2E_REQUIRE_TOOLS=1
source "$root/tests/e2e/lib.sh"
SetUp "$program"
StartAndShowWindow "$levels"
main=$E2E_MAIN
# The first rate in the title comes after a second of frames.
RateShown() {
    [ -n "$(Rate "$main")" ]
}
WaitFor 10 "the first rate in the title" RateShown
WindowShot "$main" "$output"
Key Escape
WaitForExit 5
echo "saved $output"
