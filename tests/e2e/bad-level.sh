#!/usr/bin/env bash
# A level that cannot be loaded ends the program right after the start-up
# message: an error message box, the same text on stderr as one line
# "mazewalk: torv-2.dat..." (or the path the level was named by), the main
# window never shown, and status 1 once the box is dismissed.
#   bad-level.sh PROGRAM missing          no torv-2.dat in the folder
#   bad-level.sh PROGRAM malformed        a letter o typed for a zero mid-file
#   bad-level.sh PROGRAM missing path     the same, the level named by its
#   bad-level.sh PROGRAM malformed path   full path on the command line
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"
level=torv-2.dat
arguments=()
if [ "${3:-}" = path ]; then
    level="$E2E_DIR/my level.dat"
    arguments=("$level")
fi
quoted=$(printf '%s' "$level" | sed 's/[.[\*^$]/\\&/g')
case ${2:-} in
    missing)
        expected="^mazewalk: $quoted: "
        ;;
    malformed)
        WriteLevel "$E2E_DIR" 14 8,13,B 10,12,A
        [ "$level" = torv-2.dat ] || mv "$E2E_DIR/torv-2.dat" "$level"
        sed -i '100s/^0,0$/0,o/' "$E2E_DIR/$(basename "$level")"
        grep -q '^0,o$' "$E2E_DIR/$(basename "$level")" || Fail "the fixture was not spoilt"
        expected="^mazewalk: $quoted:100:3: "
        ;;
    *)
        Fail "usage: $0 PROGRAM missing|malformed [path]"
        ;;
esac

StartProgram "$E2E_DIR" "${arguments[@]}"
WaitFor 15 "the start-up message box" FindMessageBoxOrExplain
DismissMessageBox "$E2E_FOUND"

# The line goes to stderr before the error box shows, and by then the
# start-up box is gone, so the next box is the error box.
Reported() {
    grep -q '^mazewalk: ' "$E2E_DIR/stderr"
}
WaitFor 10 "the failure on stderr" Reported
WaitFor 10 "the error message box" FindMessageBox
box=$E2E_FOUND
WindowShot "$box" "$E2E_DIR/error.png"
line=$(grep '^mazewalk: ' "$E2E_DIR/stderr")
[ "$(grep -c '^mazewalk: ' "$E2E_DIR/stderr")" -eq 1 ] || Fail "more than one failure line on stderr"
[[ $line =~ $expected ]] || Fail "stderr line \"$line\" does not match /$expected/"
if FindShownMainWindow; then
    Fail "the main window shows although the level failed"
fi
ExpectRunning "before the error box is dismissed"

DismissMessageBox "$box"
WaitForExit 5
[ "$E2E_STATUS" -eq 1 ] || Fail "the program ended with status $E2E_STATUS, not 1"
Note "error box, stderr \"$line\", status 1"
