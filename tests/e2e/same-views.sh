#!/usr/bin/env bash
# The window shows exactly the views another build draws off-screen: the
# start view of the shipped maze, and the view after a few steps forward
# (walk) or a few turns right (turn). FRAMES holds those views as written by
# `view_frames LEVEL FRAMES` of the other build (walk-K.rgb, turn-K.rgb).
#   same-views.sh PROGRAM FRAMES walk|turn
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"
frames=${2:?usage: same-views.sh PROGRAM FRAMES walk|turn}
case ${3:-} in
    walk) key=$E2E_KP8 ;;
    turn) key=$E2E_KP6 ;;
    *) Fail "usage: $0 PROGRAM FRAMES walk|turn" ;;
esac
mode=$3
[ -f "$frames/$mode-0.rgb" ] || Fail "no frames in $frames"
cp "$(dirname "$0")/../../levels/torv-2.dat" "$E2E_DIR/"

StartAndShowWindow "$E2E_DIR"
shot=$E2E_DIR/view.rgb
ShowsStart() {
    ViewShot "$E2E_MAIN" "$shot"
    SameShots "$shot" "$frames/$mode-0.rgb"
}
WaitFor 5 "the start view, pixel for pixel as in $frames/$mode-0.rgb" ShowsStart

# The key and keypad 5 back to back: a step or a few, as ticks fall between.
SetNumLock on
xdotool key --delay 0 "$key" "$E2E_KP5"
sleep 0.3
ViewShot "$E2E_MAIN" "$shot"
steps=""
for file in "$frames/$mode-"*.rgb; do
    if SameShots "$shot" "$file"; then
        steps=${file##*-}
        steps=${steps%.rgb}
        break
    fi
done
[ -n "$steps" ] && [ "$steps" -gt 0 ] ||
    Fail "after $mode, the view matches none of $frames/$mode-*.rgb (kept: $shot)"
ExpectRunning
Note "start view and the view after $steps $mode steps are the other build's, pixel for pixel"
