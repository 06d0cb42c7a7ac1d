#!/usr/bin/env bash
# The installed package as a person meets it, under a private Xvfb: the
# desktop entry's command, started in the entry's folder, shows the shipped
# maze's start view; each of its actions, started in no folder of its own
# (here /), starts its mode on the shipped maze; a level named by its path is
# walked from another folder; Esc ends each with status 0.
#   installed.sh DESKTOP-ENTRY START-VIEW.png
# START-VIEW.png is a window shot of the shipped maze's start (docs/).
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
entry=$1
expected_window=$2

# The command and the folder as a desktop starts them, with no file (%f).
# Exec quotes as the shell's double quotes do.
exec_line=$(sed -n '1,/^\[Desktop Action/s/^Exec=//p' "$entry")
folder=$(sed -n 's/^Path=//p' "$entry")
[ "${exec_line% %f}" != "$exec_line" ] || Fail "Exec= does not end in %f: $exec_line"
words=()
eval "words=(${exec_line% %f})"
program=${words[0]}
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

# Each action: its name, then its command.
actions=$(awk '/^\[Desktop Action / { name = substr($3, 1, length($3) - 1) }
               name != "" && sub(/^Exec=/, "") { print name "\t" $0 }' "$entry")
[ "$(echo "$actions" | cut -f1 | tr '\n' ' ')" = "arrows gamepad fullscreen " ] ||
    Fail "the entry's actions are not arrows, gamepad and fullscreen: $actions"
while IFS=$'\t' read -r -u 3 action command; do
    eval "words=($command)"
    [ "${words[0]}" = "$program" ] || Fail "action $action starts ${words[0]}, not $program"
    StartAndShowWindow / "${words[@]:1}"
    main=$E2E_MAIN
    case $action in
        arrows)
            WaitFor 5 "$action: the shipped maze's start view" ShowsStartView
            Key Up "$E2E_KP5"
            WaitFor 5 "$action: Up to walk" ChangedFrom "$E2E_DIR/expected.rgb"
            ;;
        gamepad)  # no pad here: the program runs as without the option
            WaitFor 5 "$action: the shipped maze's start view" ShowsStartView
            ;;
        fullscreen)
            read -r width height < <(xwininfo -root | awk '$1 == "Width:" { w = $2 }
                                       $1 == "Height:" { h = $2 } END { print w, h }')
            [ "$(ClientSize "$main")" = "$width $height" ] || Fail "$action: not the whole screen"
            ;;
    esac
    xdotool windowfocus --sync "$main" key Escape
    WaitForExit 5
    [ "$E2E_STATUS" -eq 0 ] || Fail "$action: Esc ended the program with status $E2E_STATUS"
    Note "the entry's action $action starts its mode on the shipped maze"
done 3<<<"$actions"

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
