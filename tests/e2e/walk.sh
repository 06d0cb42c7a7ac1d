#!/usr/bin/env bash
# Walking with the keypad as a person would: with Num Lock on, keypad 8 starts
# a forward walk that the tick keeps going, and keypad 5 (no command) stops it;
# with Num Lock off the same key is an arrow and does not walk. Then the turn,
# rise, sink and back keys each move the walls the way a person expects.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"

# Three squares straight ahead at depths 4, 12 and 40, each hidden behind
# the nearer one: a walk of up to 40 units always leaves red in the view, so
# a view that stops changing while red shows is a walk that stopped.
WriteLevel "$E2E_DIR" 50 10,14,A 10,22,A 10,50,A
StartAndShowWindow "$E2E_DIR"
shot=$E2E_DIR/view.rgb
WaitForFirstFrame "$E2E_MAIN" "$shot"
ExpectPixel "$shot" 150 150 "$E2E_OUTLINE" "the corner of the square at depth 4"
ExpectPixel "$shot" 149 149 "$E2E_BACKGROUND" "just outside the square at depth 4"

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
Note "keypad 8 with Num Lock off did not walk"

# The other commands, each pressed with keypad 5 right after it so that it
# runs only a step or a few: where the walls go in the view says which way
# the viewer went. Sets x, y and count to the walls' centre and pixel count.
Steer() {
    local key=$1 name=$2
    Key "$key" "$E2E_KP5"
    WaitFor 5 "keypad $name to change the view" ChangedFrom "$E2E_DIR/steady.rgb"
    WaitFor 5 "the view to settle after keypad $name" Steady "$E2E_DIR/steady.rgb"
    read -r x y count < <(WallCentre "$E2E_DIR/steady.rgb")
    [ "$count" -gt 0 ] || Fail "no wall left in view after keypad $name"
}
WaitFor 5 "a steady view before steering" Steady "$E2E_DIR/steady.rgb"
read -r x0 y0 count0 < <(WallCentre "$E2E_DIR/steady.rgb")
Steer "$E2E_KP6" 6
[ "$x" -lt "$x0" ] || Fail "keypad 6 moved the walls from x $x0 to $x, not left (a right turn)"
x0=$x
Steer "$E2E_KP4" 4
[ "$x" -gt "$x0" ] || Fail "keypad 4 moved the walls from x $x0 to $x, not right (a left turn)"
# At eye height 0 a step back shrinks the whole picture towards the centre.
count0=$count
Steer "$E2E_KP2" 2
[ "$count" -lt "$count0" ] || Fail "keypad 2 made the walls cover $count pixels, not fewer than $count0"
y0=$y
Steer "$E2E_KP7" 7
[ "$y" -gt "$y0" ] || Fail "keypad 7 moved the walls from y $y0 to $y, not down (the eye rising)"
y0=$y
Steer "$E2E_KP1" 1
[ "$y" -lt "$y0" ] || Fail "keypad 1 moved the walls from y $y0 to $y, not up (the eye sinking)"
ExpectRunning
Note "keypad 6, 4, 2, 7 and 1 turned right, left, stepped back, rose and sank"
