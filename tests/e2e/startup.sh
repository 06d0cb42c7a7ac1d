#!/usr/bin/env bash
# Start-up as a person sees it: the message box comes first while the main
# window is still hidden; Return dismisses it, the window shows, and its view
# holds the maze as seen from the start: light cyan with red walls where the
# level puts them.
#   startup.sh PROGRAM         the level is torv-2.dat in the folder started in
#   startup.sh PROGRAM path    the level is named on the command line by a
#                              relative path, under another name; the folder
#                              started in holds a torv-2.dat with no walls
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"
mode=${2:-plain}

# A square straight ahead at depth 2 (x from -1 to 1, heights -1 to 1), seen
# as view pixels 100..300 both ways; and a side wall on the left along
# x = -2 from depth 2 to depth 4, seen as a trapezoid from the left edge
# (y 100..300) to x = 100 (y 150..250).
WriteLevel "$E2E_DIR" 14 8,13,B 10,12,A

case $mode in
    plain)
        StartProgram "$E2E_DIR"
        ;;
    path)
        mkdir "$E2E_DIR/elsewhere" "$E2E_DIR/start"
        mv "$E2E_DIR/torv-2.dat" "$E2E_DIR/elsewhere/any name.dat"
        WriteLevel "$E2E_DIR/start" 14
        StartProgram "$E2E_DIR/start" "../elsewhere/any name.dat"
        ;;
    *)
        Fail "usage: $0 PROGRAM [path]"
        ;;
esac
WaitFor 15 "the start-up message box" FindMessageBoxOrExplain
box=$E2E_FOUND
if FindShownMainWindow; then
    Fail "the main window shows before the start-up message is dismissed"
fi
FindMainWindow || Note "the main window does not exist yet while the message shows"
WindowShot "$box" "$E2E_DIR/message.png"

DismissMessageBox "$box"
WaitFor 10 "the main window to show" FindShownMainWindow
main=$E2E_FOUND
WaitFor 5 "the start-up message box to go" NoMessageBox

shot=$E2E_DIR/view.rgb
WaitForFirstFrame "$main" "$shot"
WindowShot "$main" "$E2E_DIR/window.png"

for corner in "0 0" "399 0" "0 399" "399 399" "200 20" "380 200"; do
    ExpectPixel "$shot" $corner "$E2E_BACKGROUND" "background"
done
ExpectPixel "$shot" 200 99 "$E2E_BACKGROUND" "just above the square"
ExpectPixel "$shot" 200 100 "$E2E_OUTLINE" "the square's top edge"
ExpectPixel "$shot" 200 101 "$E2E_FILL" "inside the square"
ExpectPixel "$shot" 299 299 "$E2E_FILL" "inside the square"
ExpectPixel "$shot" 300 200 "$E2E_OUTLINE" "the square's right edge"
ExpectPixel "$shot" 301 200 "$E2E_BACKGROUND" "right of the square"
ExpectPixel "$shot" 200 300 "$E2E_OUTLINE" "the square's bottom edge"
ExpectPixel "$shot" 200 301 "$E2E_BACKGROUND" "below the square"
ExpectPixel "$shot" 300 300 "$E2E_OUTLINE" "the square's corner"
ExpectPixel "$shot" 50 200 "$E2E_FILL" "inside the side wall"
ExpectPixel "$shot" 50 130 "$E2E_FILL" "inside the side wall, near its top"
ExpectPixel "$shot" 50 120 "$E2E_BACKGROUND" "above the side wall"
ExpectPixel "$shot" 50 280 "$E2E_BACKGROUND" "below the side wall"
# The window carries the program's own 32 x 32 icon (width and height lead
# the property's numbers).
xprop -id "$main" -notype 32c _NET_WM_ICON 2>/dev/null | grep -q '^_NET_WM_ICON = 32, 32, ' ||
    Fail "the main window has no 32 x 32 icon"
ExpectRunning
Note "start-up message, then the window with the start view and its icon"
