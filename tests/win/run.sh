#!/usr/bin/env bash
# The Windows stage of test.sh: cross-builds mazewalk for win64 with its tests
# (the win64-test preset, in build-win64-test/; the libraries come from
# scripts/cross-libs.sh's cache), then under Wine, in a private prefix made
# for this run, runs the unit and tool tests, the end-to-end tests, compares
# the frames and the window's views with the Linux build's, and makes the zip
# as ./package.sh win64 does, unzips it and walks it.
# The Linux build's reference-frame tool comes from build-test/, built here
# if need be, so the stage passes alone on a fresh clone.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
linux_build=build-test
build=build-win64-test
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}" \
    "${mazewalk_packages_win64[@]}"
started=$(date +%s)

# --- Build ---------------------------------------------------------------
scripts/build.sh win64-test >/dev/null
prefix=$(scripts/cross-libs.sh win64)
scripts/build.sh test --target view_frames >/dev/null

# --- Wine ----------------------------------------------------------------
# A prefix of our own, gone at the end; no Mono or Gecko asked for, no log.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-wine.XXXXXX")
frames=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-frames.XXXXXX")
# Wine's menu builder off: the installer's shortcuts stay in the prefix.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$frames"' EXIT
wineboot --init
# Unmanaged windows: with no window manager on Xvfb, Wine would wait 2 s for
# one on every window it hides (so at each message box and at exit). Wine then
# draws the frames itself, as Windows does.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wineserver -w
# The SDL DLLs are found where cross-libs.sh built them.
winepath=""
IFS=';' read -r -a prefixes <<<"$prefix"
for p in "${prefixes[@]}"; do
    [ -d "$p/bin" ] && winepath+="$(winepath -w "$p/bin");"
done
export WINEPATH=$winepath
export E2E_RUNNER=wine

# --- Tests ---------------------------------------------------------------
# Unit and tool tests, one Wine start per test program.
ctest --preset win64-test -LE e2e
# A Wine server started by console programs has no X display for the windows
# of the next program: end it, so that each window test starts its own.
wineserver -k 2>/dev/null || true
# End to end, one at a time: they share the prefix, whose server each test
# stops at its end. The soak stays on Linux. A test that fails is run once
# more: on a machine shared with other builds, Wine, its server and the X
# server together can miss the 90 fps the rate test asks for.
ctest --preset win64-test --parallel 1 -L e2e -LE soak --repeat until-pass:2

# The same frames as the Linux build, turning included, and the same views
# in the window.
"$linux_build/tests/view_frames" views levels/torv-2.dat "$frames"
"$linux_build/tests/view_frames" hashes levels/torv-2.dat >"$frames/linux.txt"
wine "$build/tests/view_frames.exe" hashes levels/torv-2.dat | tr -d '\r' >"$frames/windows.txt"
wineserver -k 2>/dev/null || true
if ! cmp -s "$frames/linux.txt" "$frames/windows.txt"; then
    echo "tests/win/run.sh: the Windows build draws other frames than the Linux build:" >&2
    diff "$frames/linux.txt" "$frames/windows.txt" | head -n 10 >&2
    exit 1
fi
echo "tests/win/run.sh: $(wc -l <"$frames/linux.txt") frames the same as on Linux"
for mode in walk turn; do
    bash tests/e2e/same-views.sh "$build/mazewalk.exe" "$frames" "$mode"
done

# The zip, as shipped (no tests, warnings not errors), unzipped into an empty
# folder, walks its own maze.
written=$(./package.sh win64 | sed -n 's/^package.sh: wrote //p')
zip=$(grep '\.zip$' <<<"$written" || true)
setup=$(grep -- '-setup\.exe$' <<<"$written" || true)
[ -f "$zip" ] || { echo "tests/win/run.sh: ./package.sh win64 wrote no zip" >&2; exit 1; }
[ -f "$setup" ] || { echo "tests/win/run.sh: ./package.sh win64 wrote no installer" >&2; exit 1; }
unzipped=$frames/unzipped
mkdir "$unzipped"
unzip -q "$zip" -d "$unzipped"
bash tests/win/zip.sh "$unzipped" "$frames"

# The installer, silent: Program Files holds the package, the Start menu its
# shortcuts, each starting in the installed folder with its mode's option, and
# the system's list of programs its uninstaller; the installed program walks;
# the silent uninstaller (which runs on after it returns, as a copy of itself)
# leaves nothing of it.
WinInstallerFail() {
    echo "tests/win/run.sh: $*" >&2
    exit 1
}
installed="$WINEPREFIX/drive_c/Program Files/mazewalk"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/mazewalk"
listing='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\mazewalk'
wine "$setup" /S
wineserver -w
[ -f "$installed/mazewalk.exe" ] || WinInstallerFail "the installer put no mazewalk.exe in Program Files"
for shortcut in "mazewalk:" "mazewalk with arrow keys:--arrows" "mazewalk with a gamepad:--gamepad" \
    "mazewalk full screen:--fullscreen"; do
    lnk="$menu/${shortcut%%:*}.lnk"
    [ -f "$lnk" ] || WinInstallerFail "no Start-menu shortcut $lnk"
    words=$(strings -el "$lnk" | tr -d '\t')
    grep -qx 'C:\\Program Files\\mazewalk' <<<"$words" ||
        WinInstallerFail "$lnk does not start in the installed folder"
    [ -z "${shortcut#*:}" ] || grep -qx -- "${shortcut#*:}" <<<"$words" ||
        WinInstallerFail "$lnk does not pass ${shortcut#*:}"
done
wine reg query "$listing" >/dev/null || WinInstallerFail "the uninstaller is not listed"
bash tests/win/zip.sh --installed "$installed" "$frames"
wine 'C:\Program Files\mazewalk\Uninstall.exe' /S
wineserver -w
[ ! -e "$installed" ] || WinInstallerFail "the uninstaller left $(find "$installed" | head -n 3)"
[ ! -e "$menu" ] || WinInstallerFail "the uninstaller left the Start-menu folder"
! wine reg query "$listing" >/dev/null 2>&1 || WinInstallerFail "the uninstaller left its listing"
! wine reg query 'HKLM\Software\the mazewalk authors' >/dev/null 2>&1 ||
    WinInstallerFail "the uninstaller left the vendor's registry key"
echo "tests/win/run.sh: the installer installed, the installed program walked, the uninstaller removed it all"
echo "tests/win/run.sh: Windows stage took $(($(date +%s) - started)) s"
