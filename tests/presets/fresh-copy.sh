#!/usr/bin/env bash
# The scripts on a fresh clone, one after the other, as a developer starts:
# in a copy of the sources without build folders, ./run.sh builds the program
# and starts it in levels/ (under a private Xvfb, the start-up message
# dismissed, ended with Esc, status 0), then ./bench.sh --quick builds and
# measures in its own folder and passes, leaving ./run.sh's folder as it was.
# Each configuration having its own folder, no run may change another's.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-fresh.XXXXXX")
tar -C "$top" --exclude='./build*' --exclude=./.git --exclude=./dist -cf - . | tar -C "$work" -xf -
started=$SECONDS

E2E_REQUIRE_TOOLS=1
source "$top/tests/e2e/lib.sh"
SetUp "$work/run.sh"
trap 'status=$?; rm -rf "$work"; (exit $status); Cleanup' EXIT

# run.sh prints the build, then becomes the program: its message box comes
# once the build is done.
StartProgram "$work"
BuiltAndStarted() {
    ExpectRunning "./run.sh"
    FindMessageBox
}
WaitFor 1800 "./run.sh to build the program and show its message" BuiltAndStarted
DismissMessageBox "$E2E_FOUND"
WaitFor 10 "the main window to show" FindShownMainWindow
xdotool windowfocus --sync "$E2E_FOUND"
Key Escape
WaitForExit 5
[ "$E2E_STATUS" -eq 0 ] || Fail "./run.sh ended with status $E2E_STATUS"
[ -x "$work/build-dev/mazewalk" ] || Fail "./run.sh built no build-dev/mazewalk"
Note "./run.sh built and walked in $((SECONDS - started)) s"

cp "$work/build-dev/CMakeCache.txt" "$E2E_DIR/dev-cache"
"$work/bench.sh" --quick >"$E2E_DIR/bench.log" 2>&1 ||
    { tail -n 30 "$E2E_DIR/bench.log" >&2; Fail "./bench.sh --quick failed after ./run.sh"; }
grep -q 'shipped maze, turning: *fps_min=' "$E2E_DIR/bench.log" ||
    { cat "$E2E_DIR/bench.log" >&2; Fail "./bench.sh --quick measured no running program"; }
cmp -s "$E2E_DIR/dev-cache" "$work/build-dev/CMakeCache.txt" ||
    Fail "./bench.sh changed ./run.sh's build-dev/CMakeCache.txt"
Note "./run.sh, then ./bench.sh --quick, on a fresh copy: passed in $((SECONDS - started)) s"
