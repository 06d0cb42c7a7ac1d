#!/usr/bin/env bash
# The installed package as a person meets it, under a private Xvfb: the
# desktop entry's command, started in the entry's folder, shows the shipped
# maze's start view; a level named by its path is walked from another
# folder; Esc ends each with status 0.
#   installed.sh DESKTOP-ENTRY START-VIEW.png
# START-VIEW.png is a window shot of the shipped maze's start (docs/).
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
entry=$1
expected_window=$2

# The command and the folder as a desktop starts them, with no file (%f).
exec_line=$(sed -n 's/^Exec=//p' "$entry")
folder=$(sed -n 's/^Path=//p' "$entry")
program=${exec_line% %f}
[ "$program" != "$exec_line" ] || Fail "Exec= does not end in %f: $exec_line"
SetUp "$program"

# The start view of the shipped maze, pixel for pixel the README's picture
# (wall 5, the blinking one, is not in view there).
StartAndShowWindow "$folder"
main=$E2E_MAIN
convert "$expected_window" -crop "${E2E_VIEW_SIZE}x${E2E_VIEW_SIZE}+${E2E_VIEW_LEFT}+${E2E_VIEW_TOP}" \
    +repage -depth 8 "rgb:$E2E_DIR/expected.rgb"
ShowsStartView() {
    ViewShot "$main" "$E2E_DIR/start.rgb"
    SameShots "$E2E_DIR/start.rgb" "$E2E_DIR/expected.rgb"
}
WaitFor 5 "the shipped maze's start view" ShowsStartView
xdotool windowfocus --sync "$main" key Escape
WaitForExit 5
[ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the program with status $E2E_STATUS"
Note "the desktop entry's command shows the shipped maze in $folder"

# A level of any name, given by its path, walked from a folder holding no
# torv-2.dat: a square straight ahead at depth 2 that grows as you walk.
mkdir "$E2E_DIR/levels" "$E2E_DIR/elsewhere"
WriteLevel "$E2E_DIR/levels" 12 10,12,A
mv "$E2E_DIR/levels/torv-2.dat" "$E2E_DIR/levels/my maze.dat"
StartAndShowWindow "$E2E_DIR/elsewhere" "$E2E_DIR/levels/my maze.dat"
main=$E2E_MAIN
SetNumLock on
WaitForFirstFrame "$main" "$E2E_DIR/level.rgb"
ExpectPixel "$E2E_DIR/level.rgb" 200 100 "$E2E_OUTLINE" "the square's top edge"
ExpectPixel "$E2E_DIR/level.rgb" 200 99 "$E2E_BACKGROUND" "just above the square"
Key "$E2E_KP8" "$E2E_KP5"
Walked() {
    ViewShot "$main" "$E2E_DIR/walked.rgb"
    [ "$(PixelAt "$E2E_DIR/walked.rgb" 200 99)" != "$E2E_BACKGROUND" ]
}
WaitFor 5 "the square to grow as keypad 8 walks towards it" Walked
Key Escape
WaitForExit 5
[ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the program with status $E2E_STATUS"
Note "the level given by its path was walked"
