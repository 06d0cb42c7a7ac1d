#!/usr/bin/env bash
# The options a person chooses: --arrows walks with the arrow and page keys
# (and the keypad by position, whatever Num Lock says), and without it the
# arrows stop; --scale 2 shows a 908 x 928 window in which every 2 x 2 block
# is one pixel of the 400 x 400 frame.
#   options.sh PROGRAM
#   options.sh PROGRAM fullscreen WIDTHxHEIGHT   on a screen of that size,
#       --fullscreen shows on black, centred, the window --scale N shows for
#       the largest N that fits, pixel for pixel
set -euo pipefail
source "$(dirname "$0")/lib.sh"
mode=${2:-options}
[ "$mode" = options ] || E2E_SCREEN=${3:?usage: $0 PROGRAM [fullscreen WIDTHxHEIGHT]}
SetUp "${1:-}"

# A square straight ahead at depth 4, and one behind it at depth 40.
WriteLevel "$E2E_DIR" 50 10,14,A 10,50,A
shot=$E2E_DIR/view.rgb

if [ "$mode" = fullscreen ]; then
    read -r width height <<<"${E2E_SCREEN/x/ }"
    scale=$((width / E2E_CLIENT_WIDTH < height / E2E_CLIENT_HEIGHT ?
        width / E2E_CLIENT_WIDTH : height / E2E_CLIENT_HEIGHT))
    client_width=$((E2E_CLIENT_WIDTH * scale))
    client_height=$((E2E_CLIENT_HEIGHT * scale))
    StartAndShowWindow "$E2E_DIR" --scale "$scale"
    WaitFor 5 "a steady view at --scale $scale" Steady "$shot"
    import -silent -window "$E2E_MAIN" -depth 8 "rgb:$E2E_DIR/scaled.rgb"
    xdotool key Escape
    WaitForExit 5
    convert -size "${width}x${height}" xc:black \
        -size "${client_width}x${client_height}" -depth 8 "rgb:$E2E_DIR/scaled.rgb" \
        -geometry "+$(((width - client_width) / 2))+$(((height - client_height) / 2))" \
        -composite -depth 8 "rgb:$E2E_DIR/expected.rgb"
    StartAndShowWindow "$E2E_DIR" --fullscreen
    # The window itself, not the black screen around a smaller one.
    FillsScreenAsScaled() {
        [ "$(ClientSize "$E2E_MAIN")" = "$width $height" ] &&
            import -silent -window "$E2E_MAIN" -depth 8 "rgb:$E2E_DIR/screen.rgb" &&
            cmp -s "$E2E_DIR/screen.rgb" "$E2E_DIR/expected.rgb"
    }
    WaitFor 5 "--fullscreen to show the window at --scale $scale centred on black" \
        FillsScreenAsScaled
    xdotool key Escape
    WaitForExit 5
    [ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended --fullscreen with status $E2E_STATUS"
    Note "--fullscreen on $E2E_SCREEN: the window at --scale $scale, centred on black"
    exit 0
fi

Restart() {
    xdotool key Escape
    WaitForExit 5
    [ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the program with status $E2E_STATUS"
    StartAndShowWindow "$E2E_DIR" "$@"
}

# Without --arrows the arrow keys stop rather than walk.
SetNumLock on
StartAndShowWindow "$E2E_DIR"
WaitForFirstFrame "$E2E_MAIN" "$E2E_DIR/start.rgb"
Key Up
sleep 0.5
ViewShot "$E2E_MAIN" "$shot"
SameShots "$shot" "$E2E_DIR/start.rgb" || Fail "Up walked without --arrows"
Note "without --arrows, Up does not walk"

# With --arrows, Up walks and keypad 5 stops; the keypad walks with Num Lock off.
Restart --arrows
WaitForFirstFrame "$E2E_MAIN" "$shot"
WaitFor 5 "a steady view" Steady "$E2E_DIR/before.rgb"
Key Up "$E2E_KP5"
WaitFor 5 "Up to walk with --arrows" ChangedFrom "$E2E_DIR/before.rgb"
WaitFor 5 "keypad 5 to stop the walk" Steady "$E2E_DIR/walked.rgb"
for key in Left Right Next Prior Down; do
    Key "$key" "$E2E_KP5"
    WaitFor 5 "$key to change the view with --arrows" ChangedFrom "$E2E_DIR/walked.rgb"
    WaitFor 5 "the view to settle after $key" Steady "$E2E_DIR/walked.rgb"
done
SetNumLock off
Key "$E2E_KP8" "$E2E_KP5"
WaitFor 5 "keypad 8 to walk with Num Lock off and --arrows" ChangedFrom "$E2E_DIR/walked.rgb"
SetNumLock on
Note "with --arrows, Up, Left, Right, Page Down, Page Up and Down steer, and the keypad ignores Num Lock"

# --scale 2: the window is twice as large and shows the same start view,
# each pixel a 2 x 2 block.
Restart --scale 2
read -r width height < <(ClientSize "$E2E_MAIN")
[ "$width" = 908 ] && [ "$height" = 928 ] || Fail "--scale 2 made a window of $width x $height, not 908 x 928"
convert -size 400x400 -depth 8 "rgb:$E2E_DIR/start.rgb" -sample 200% -depth 8 "rgb:$E2E_DIR/expected.rgb"
ScaledStartView() {
    local dx dy
    read -r dx dy < <(ClientOffset "$E2E_MAIN")
    import -silent -window "$E2E_MAIN" \
        -crop "800x800+$((2 * E2E_VIEW_LEFT + dx))+$((2 * E2E_VIEW_TOP + dy))" \
        +repage -depth 8 "rgb:$E2E_DIR/scaled.rgb"
    cmp -s "$E2E_DIR/scaled.rgb" "$E2E_DIR/expected.rgb"
}
WaitFor 5 "the window at --scale 2 to show the start view, every pixel a 2 x 2 block" ScaledStartView
Note "--scale 2: a 908 x 928 window, each pixel of the view a 2 x 2 block"

# A scale that does not fit the screen is refused before any window opens.
xdotool key Escape
WaitForExit 5
StartProgram "$E2E_DIR" --scale 8
WaitForExit 10
[ "$E2E_STATUS" -eq 2 ] || Fail "--scale 8 on a 1920 x 1920 screen ended with status $E2E_STATUS, not 2"
grep -q "the largest scale that fits is 4" "$E2E_DIR/stderr" ||
    Fail "--scale 8 did not name the largest scale that fits: $(cat "$E2E_DIR/stderr")"
Note "--scale 8 is refused with status 2, naming 4 as the largest that fits"
