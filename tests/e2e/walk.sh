#!/usr/bin/env bash
# Walking with the keypad as a person would: with Num Lock on, keypad 8 starts
# a forward walk that the tick keeps going, and keypad 5 (no command) stops it;
# with Num Lock off the same key is an arrow and does not walk.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"

# Three squares straight ahead at depths 4, 12 and 40, each hidden behind
# the nearer one: a walk of up to 40 units always leaves red in the view, so
# a view that stops changing while red shows is a walk that stopped.
WriteLevel "$E2E_DIR" 50 10,14,A 10,22,A 10,50,A
StartAndShowWindow
shot=$E2E_DIR/view.rgb
FirstFrameShown() {
    ViewShot "$E2E_MAIN" "$shot"
    [ "$(PixelAt "$shot" 200 200)" = "$E2E_FILL" ]
}
WaitFor 5 "the first frame (red at the view's centre)" FirstFrameShown
ExpectPixel "$shot" 150 150 "$E2E_OUTLINE" "the corner of the square at depth 4"
ExpectPixel "$shot" 149 149 "$E2E_BACKGROUND" "just outside the square at depth 4"

# Steady: two shots 200 ms apart are the same; the later one is kept in FILE.
Steady() {
    local file=$1
    ViewShot "$E2E_MAIN" "$E2E_DIR/steady-a.rgb"
    sleep 0.2
    ViewShot "$E2E_MAIN" "$file"
    SameShots "$E2E_DIR/steady-a.rgb" "$file"
}
ChangedFrom() {
    ViewShot "$E2E_MAIN" "$shot"
    ! SameShots "$shot" "$1"
}

SetNumLock on
WaitFor 5 "a steady view before walking" Steady "$E2E_DIR/before.rgb"

# Keypad 8 then keypad 5 at once: the walk lasts from the first key-down to
# the second, plus whatever ticks fall between.
Key "$E2E_KP8" "$E2E_KP5"
WaitFor 5 "keypad 8 to change the view" ChangedFrom "$E2E_DIR/before.rgb"
WaitFor 5 "keypad 5 to stop the walk" Steady "$E2E_DIR/stopped.rgb"
red=$(CountPixels "$E2E_DIR/stopped.rgb" "$E2E_FILL")
[ "$red" -gt 0 ] || Fail "the walk went past every wall before it stopped"
SameShots "$E2E_DIR/stopped.rgb" "$E2E_DIR/before.rgb" &&
    Fail "the view after walking is the view before"
Note "keypad 8 walked and keypad 5 stopped ($red red pixels left)"

# With Num Lock off keypad 8 is Up, which stops rather than walks.
SetNumLock off
WaitFor 5 "a steady view with Num Lock off" Steady "$E2E_DIR/lock-off.rgb"
Key "$E2E_KP8"
sleep 0.5
ViewShot "$E2E_MAIN" "$shot"
SameShots "$shot" "$E2E_DIR/lock-off.rgb" || Fail "keypad 8 with Num Lock off changed the view"

# And the keys still reach the program: with the lock back on it walks again.
SetNumLock on
Key "$E2E_KP8" "$E2E_KP5"
WaitFor 5 "keypad 8 to walk again with Num Lock on" ChangedFrom "$E2E_DIR/lock-off.rgb"
ExpectRunning
Note "keypad 8 with Num Lock off did not walk"
