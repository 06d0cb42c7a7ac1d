#!/usr/bin/env bash
# The unzipped package, or the installed one, started as a person starts it
# (Wine, in its own folder, nothing else on the DLL path): the message, then
# the shipped maze exactly as the Linux build draws it, a walk, and Esc ending
# it with status 0.
#   tests/win/zip.sh UNZIPPED-FOLDER FRAMES   the folder the zip was unzipped in
#   tests/win/zip.sh --installed FOLDER FRAMES   the folder the installer filled
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
installed=false
if [ "${1:-}" = --installed ]; then
    installed=true
    shift
fi
unzipped=${1:?usage: zip.sh [--installed] FOLDER FRAMES}
frames=${2:?usage: zip.sh [--installed] FOLDER FRAMES}
if $installed; then
    folder=$unzipped
else
    folder=$(find "$unzipped" -mindepth 1 -maxdepth 1 -type d)
    [ "$(printf '%s\n' "$folder" | wc -l)" -eq 1 ] || Fail "the zip does not hold one folder"
fi
for file in mazewalk.exe mazewalk-gen.exe mazewalk-map.exe SDL2.dll SDL2_image.dll \
    torv-2.dat torv-2.png small/torv-2.dat large/torv-2.dat README.txt LICENSE.txt \
    licenses/SDL2/LICENSE.txt licenses/SDL2_image/LICENSE.txt; do
    [ -f "$folder/$file" ] || Fail "the zip has no $file"
done
unset WINEPATH
SetUp "$folder/mazewalk.exe"
StartAndShowWindow "$folder"
main=$E2E_MAIN
shot=$E2E_DIR/view.rgb
ShowsStart() {
    ViewShot "$main" "$shot"
    SameShots "$shot" "$frames/walk-0.rgb"
}
WaitFor 5 "the shipped maze's start view" ShowsStart
SetNumLock on
Key "$E2E_KP8"
WaitFor 5 "the walk to start" ChangedFrom "$frames/walk-0.rgb"
Key Escape
WaitForExit 2
[ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the unzipped program with status $E2E_STATUS"
Note "$($installed && echo installed || echo unzipped): started in its folder, showed the shipped maze, walked, ended with status 0"
