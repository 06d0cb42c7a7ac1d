#!/usr/bin/env bash
# Esc ends the program at once, even in the middle of a walk: the process is
# gone within 1 s with status 0, its windows with it, and nothing reported.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"

WriteLevel "$E2E_DIR" 50 10,14,A 10,50,A
StartAndShowWindow "$E2E_DIR"
shot=$E2E_DIR/view.rgb
WaitForFirstFrame "$E2E_MAIN" "$shot"
cp "$shot" "$E2E_DIR/start.rgb"

SetNumLock on
Key "$E2E_KP8"
Walking() {
    ViewShot "$E2E_MAIN" "$shot"
    ! SameShots "$shot" "$E2E_DIR/start.rgb"
}
WaitFor 5 "the walk to start" Walking

Key Escape
pressed=$(NowMs)
WaitFor 5 "the program to end after Esc" ProgramEnded
took=$(($(NowMs) - pressed))
[ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the program with status $E2E_STATUS"
[ "$took" -le 1000 ] || Fail "the program took ${took} ms to end after Esc"
windows=$(RootChildren | wc -l)
[ "$windows" -eq 0 ] || Fail "$windows windows remain after the program ended"
if grep -q '^mazewalk: ' "$E2E_DIR/stderr"; then
    Fail "the program reported a failure"
fi
Note "Esc ended the program in ${took} ms with status 0"
