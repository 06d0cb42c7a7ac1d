# Shared by the end-to-end tests, sourced after `set -euo pipefail`. Each test
# drives the real program in a private Xvfb as a person would: it writes a
# level into a temporary folder, starts mazewalk there, dismisses the start-up
# message with Return, then presses keys with xdotool and reads the window
# title and the view's pixels back.
#
# Usage in a test:
#   source "$(dirname "$0")/lib.sh"
#   SetUp "$1"                       # the program's path; starts Xvfb
#   WriteLevel "$E2E_DIR" 12 10,12,A
#   StartProgram "$E2E_DIR"
#   WaitFor 10 "the start-up message box" FindMessageBox; box=$E2E_FOUND
#
# The program is started by E2E_RUNNER followed by its path, where that is
# set: for a Windows build, "wine" (tests/win/run.sh sets it, with the Wine
# prefix the tests use).
#
# Every wait polls for its condition with a timeout, so a slow or loaded
# machine only makes a test slower, never wrong. On failure the test's folder
# is kept and its path printed, with the program's output; E2E_KEEP=1 keeps
# it always.

# Where the view sits in the main window's client area, its size, and the
# client area's size (shell/Form1.h and render/Platform.h).
# facts:begin geometry_sh
E2E_VIEW_LEFT=26
E2E_VIEW_TOP=26
E2E_VIEW_SIZE=400
E2E_CLIENT_WIDTH=454
E2E_CLIENT_HEIGHT=464
# facts:end

# Colours of the view, as "R G B" (shell/SdlPlatform.h).
# facts:begin colours_sh
E2E_BACKGROUND="128 255 255"
E2E_FILL="255 0 0"
E2E_OUTLINE="99 18 0"
# facts:end

# X keycodes of the keypad (Xvfb's default evdev keymap). Keys are sent by
# keycode because `xdotool key KP_8` wraps the key in Num Lock presses and
# leaves the lock flipped. Plain digits would be read as keysyms, so Esc is
# sent by name.
E2E_KP7=79
E2E_KP8=80
E2E_KP9=81
E2E_KP4=83
E2E_KP5=84
E2E_KP6=85
E2E_KP1=87
E2E_KP2=88
E2E_KP3=89
E2E_KP0=90
E2E_NUM_LOCK=77

E2E_SUPPORT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)
E2E_PROGRAM=""
read -r -a E2E_RUNNER_WORDS <<<"${E2E_RUNNER:-}"
E2E_DIR=""
E2E_XVFB_PID=""
E2E_PID=""      # the program under test
E2E_STATUS=""   # its exit status, once WaitForExit saw it end
E2E_FOUND=""    # the window a Find* function found
E2E_HELPERS=()  # background helpers to stop before the X server

Note() {
    echo "e2e: $*"
}

ShowLogs() {
    local f
    for f in stdout stderr xvfb.log; do
        if [ -s "$E2E_DIR/$f" ]; then
            echo "--- $f:" >&2
            tail -n 20 "$E2E_DIR/$f" >&2
        fi
    done
}

Fail() {
    echo "FAIL: $*" >&2
    if [ -n "$E2E_DIR" ]; then
        ShowLogs
    fi
    exit 1
}

# A missing tool fails the test under CI (or with E2E_REQUIRE_TOOLS=1), and
# skips it (ctest's code 77) on a developer's machine without it.
RequireTools() {
    local missing=() tool
    for tool in Xvfb xdotool xwininfo xprop xset xlsfonts import stdbuf; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "${CI:-}" = true ] || [ "${E2E_REQUIRE_TOOLS:-0}" = 1 ]; then
        Fail "missing tools: ${missing[*]} (scripts/deps.sh installs them)"
    fi
    echo "SKIP: missing tools: ${missing[*]} (scripts/deps.sh installs them)"
    exit 77
}

NowMs() {
    local micro=${EPOCHREALTIME//[!0-9]/}
    echo $((10#$micro / 1000))
}

# WaitFor SECONDS WHAT COMMAND...: runs COMMAND in this shell every 50 ms
# until it succeeds; fails the test after SECONDS. COMMAND may set globals.
WaitFor() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(($(NowMs) + seconds * 1000))
    until "$@"; do
        if [ "$(NowMs)" -ge "$deadline" ]; then
            Fail "waited ${seconds}s for $what"
        fi
        sleep 0.05
    done
}

Cleanup() {
    local status=$?
    set +e
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill -KILL "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    local pid
    for pid in "${E2E_HELPERS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    StopRunner
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    for pid in "${E2E_HELPERS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    if [ -n "$E2E_DIR" ]; then
        if [ "${E2E_KEEP:-0}" = 0 ] && { [ "$status" -eq 0 ] || [ "$status" -eq 77 ]; }; then
            rm -rf "$E2E_DIR"
        else
            echo "e2e: kept $E2E_DIR" >&2
        fi
    fi
    exit "$status"
}

# Wine keeps helper processes (its server, its desktop) alive a while after
# the program, connected to this test's X server; they go with it.
StopRunner() {
    if [ "${E2E_RUNNER_WORDS[0]:-}" != "" ] && [[ ${E2E_RUNNER_WORDS[0]} == *wine* ]]; then
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
    fi
}

# Starts a private X server on the first free display (Xvfb picks it and
# writes its number once it accepts connections) and points DISPLAY at it.
# -noreset: without it Xvfb resets the keyboard, Num Lock included, whenever
# its last client leaves.
StartXvfb() {
    local displayFile="$E2E_DIR/display"
    : >"$displayFile"
    # Large enough for the window at --scale 4 (1816 x 1856), unless the test
    # sets E2E_SCREEN (WIDTHxHEIGHT) before SetUp.
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${E2E_SCREEN:-1920x1920}x24" \
        3>"$displayFile" >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    XvfbReported() {
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || Fail "Xvfb ended at start"
        grep -q '^[0-9][0-9]*$' "$displayFile"
    }
    WaitFor 20 "Xvfb to choose a display" XvfbReported
    export DISPLAY=":$(cat "$displayFile")"
    XServerAnswers() {
        xset q >/dev/null 2>&1
    }
    WaitFor 10 "the X server on $DISPLAY to answer" XServerAnswers
    xset r on  # the soak relies on the server's auto-repeat
    if [ -z "$(xlsfonts -fn '-*-*-medium-r-normal--*-120-*-*-*-*-iso10646-1' 2>/dev/null)" ]; then
        Fail "the X server has no core fonts for SDL's message box (install xfonts-base)"
    fi
}

# SetUp PROGRAM: checks the tools, makes the test's folder E2E_DIR, installs
# the clean-up and starts the X server.
SetUp() {
    E2E_PROGRAM=${1:-}
    [ -n "$E2E_PROGRAM" ] || Fail "usage: $0 PATH-TO-MAZEWALK"
    [ -x "$E2E_PROGRAM" ] || Fail "not a program: $E2E_PROGRAM"
    E2E_PROGRAM=$(cd "$(dirname "$E2E_PROGRAM")" && pwd)/$(basename "$E2E_PROGRAM")
    RequireTools
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-e2e.XXXXXX")
    trap Cleanup EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    # The program must use this server whatever the desktop around the test.
    unset WAYLAND_DISPLAY XAUTHORITY
    if [ ${#E2E_RUNNER_WORDS[@]} -eq 0 ]; then
        export SDL_VIDEODRIVER=x11
    else
        unset SDL_VIDEODRIVER  # a Windows build has its own, drawn by Wine on X
    fi
    StartXvfb
}

# WriteLevel DIR N [I,J,FLAG ...]: writes DIR/torv-2.dat for a grid of N with
# the given flags set (FLAG is A or B) and all others clear; see
# tests/support/level.py for what each flag makes.
WriteLevel() {
    local dir=$1
    shift
    python3 "$E2E_SUPPORT/level.py" "$@" >"$dir/torv-2.dat" || Fail "cannot write the level"
}

# StartProgram DIR [ARG...]: starts the program in DIR with the arguments, its
# output in E2E_DIR/stdout and E2E_DIR/stderr; E2E_PID is its process.
StartProgram() {
    local dir=$1
    shift
    (cd "$dir" && exec "${E2E_RUNNER_WORDS[@]}" "$E2E_PROGRAM" "$@") \
        >"$E2E_DIR/stdout" 2>"$E2E_DIR/stderr" &
    E2E_PID=$!
    E2E_STATUS=""
}

ProgramRunning() {
    kill -0 "$E2E_PID" 2>/dev/null
}

ProgramEnded() {
    if ProgramRunning; then
        return 1
    fi
    E2E_STATUS=0
    wait "$E2E_PID" || E2E_STATUS=$?
}

# WaitForExit SECONDS: waits for the program to end; its status in E2E_STATUS.
WaitForExit() {
    WaitFor "$1" "the program to end" ProgramEnded
}

# Fails the test, with the program's output, when the program has ended.
ExpectRunning() {
    if ! ProgramRunning; then
        ProgramEnded || true
        Fail "the program ended unexpectedly with status $E2E_STATUS${1:+ ($1)}"
    fi
}

# The X windows of the program are the root's children: the server is ours.
# Under Wine, Wine's own helpers (its desktop, its input method) have windows
# there too; only those of class mazewalk.exe are the program's.
RootChildren() {
    if [ ${#E2E_RUNNER_WORDS[@]} -eq 0 ]; then
        xwininfo -root -children | awk '$1 ~ /^0x/ { print $1 }'
    else
        xwininfo -root -children | awk '$1 ~ /^0x/ && /\("mazewalk\.exe" / { print $1 }'
    fi
}

# WindowType WIN: NORMAL for the main window, DIALOG for a message box;
# nothing once the window is gone, or for a window that is neither.
WindowType() {
    if [ ${#E2E_RUNNER_WORDS[@]} -eq 0 ]; then
        xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null |
            sed -n 's/.*_NET_WM_WINDOW_TYPE_\([A-Z_]*\).*/\1/p'
    else
        WineWindowType "$1"
    fi
}

# Under Wine every top-level window is NORMAL to X, message boxes included,
# and Wine adds helper windows of its own: the program's windows are those of
# class mazewalk.exe, its message boxes the ones titled as the program.
WineWindowType() {
    local class title
    class=$(xprop -id "$1" -notype WM_CLASS 2>/dev/null)
    [[ $class == *'"mazewalk.exe"'* ]] || return 0
    title=$(WindowTitle "$1")
    case $title in
        mazewalk) echo DIALOG ;;
        "Default IME") ;;
        *) echo NORMAL ;;
    esac
}

# WindowTitle WIN: the window's name, unquoted.
WindowTitle() {
    xprop -id "$1" -notype WM_NAME 2>/dev/null | sed -n 's/^WM_NAME = "\(.*\)"$/\1/p'
}

IsMapped() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Sets E2E_FOUND to the first window of the given type that is mapped (or,
# with "any", whether mapped or not).
FindWindow() {
    local type=$1 mapping=$2 win
    for win in $(RootChildren); do
        if [ "$(WindowType "$win")" = "$type" ]; then
            if [ "$mapping" = any ] || IsMapped "$win"; then
                E2E_FOUND=$win
                return 0
            fi
        fi
    done
    return 1
}

# A shown message box of the program (start-up or error): a mapped dialog
# window named after the program.
FindMessageBox() {
    FindWindow DIALOG mapped && [ "$(WindowTitle "$E2E_FOUND")" = mazewalk ]
}

NoMessageBox() {
    ! FindWindow DIALOG any
}

# The main window, created hidden before the start-up message shows.
FindMainWindow() {
    FindWindow NORMAL any
}

FindShownMainWindow() {
    FindWindow NORMAL mapped
}

# Explains a missing message box: SDL falls back to stdout without fonts.
FindMessageBoxOrExplain() {
    if FindMessageBox; then
        return 0
    fi
    if [ -s "$E2E_DIR/stdout" ]; then
        Fail "no message box; the program printed its message instead"
    fi
    return 1
}

# DismissMessageBox WIN: presses Return in the box. Without a window manager
# nothing gives the box focus, so the test does.
DismissMessageBox() {
    xdotool windowfocus --sync "$1" key Return
}

# StartAndShowWindow DIR [ARG...]: the usual start, in DIR with the program's
# arguments: waits for the start-up message, dismisses it and waits for the
# main window; E2E_MAIN is the window, focused, and E2E_DISMISSED the time
# (NowMs) the message was dismissed.
StartAndShowWindow() {
    StartProgram "$@"
    WaitFor 15 "the start-up message box" FindMessageBoxOrExplain
    DismissMessageBox "$E2E_FOUND"
    E2E_DISMISSED=$(NowMs)
    WaitFor 10 "the main window to show" FindShownMainWindow
    E2E_MAIN=$E2E_FOUND
    xdotool windowfocus --sync "$E2E_MAIN"
}

# Rate WIN: the frame rate the title shows (" NN fps"), or nothing.
Rate() {
    local title
    title=$(WindowTitle "$1")
    if [[ $title =~ ^\ ([0-9]+)\ fps$ ]]; then
        echo "${BASH_REMATCH[1]}"
    fi
}

# Key KEY...: presses and releases keys in the focused window (keycodes or
# keysym names).
Key() {
    xdotool key "$@"
}

# Under Wine with no window manager (tests/win/run.sh makes its windows
# unmanaged) the X window holds the frame Wine draws itself, as Windows does:
# a 3-pixel border left, right and below, and the caption above, 22 pixels
# down to the client area.
E2E_WINE_BORDER=3
E2E_WINE_TOP=22

# ClientOffset WIN: "X Y" of the client area in the window's X window.
ClientOffset() {
    if [ ${#E2E_RUNNER_WORDS[@]} -eq 0 ]; then
        echo "0 0"
    else
        echo "$E2E_WINE_BORDER $E2E_WINE_TOP"
    fi
}

# ClientSize WIN: "WIDTH HEIGHT" of the window's client area.
ClientSize() {
    local dx dy
    read -r dx dy < <(ClientOffset "$1")
    xwininfo -id "$1" | awk -v dx="$dx" -v dy="$dy" '
        $1 == "Width:" { w = $2 } $1 == "Height:" { h = $2 }
        END { print w - 2 * dx, h - dy - dx }'
}

# ViewShot WIN FILE: the view's 400 x 400 pixels as raw RGB bytes.
ViewShot() {
    local dx dy
    read -r dx dy < <(ClientOffset "$1")
    import -silent -window "$1" \
        -crop "${E2E_VIEW_SIZE}x${E2E_VIEW_SIZE}+$((E2E_VIEW_LEFT + dx))+$((E2E_VIEW_TOP + dy))" \
        +repage -depth 8 "rgb:$2"
    [ "$(stat -c %s "$2")" -eq $((E2E_VIEW_SIZE * E2E_VIEW_SIZE * 3)) ] ||
        Fail "screenshot $2 has the wrong size"
}

# WaitForFirstFrame WIN FILE: waits for a frame with red at the view's centre
# (every test level puts a wall straight ahead) and leaves it in FILE.
WaitForFirstFrame() {
    local win=$1 file=$2
    CentreIsRed() {
        ViewShot "$win" "$file"
        [ "$(PixelAt "$file" 200 200)" = "$E2E_FILL" ]
    }
    WaitFor 5 "the first frame (red at the view's centre)" CentreIsRed
}

# WindowShot WIN FILE.png: the whole window, for a person to look at.
WindowShot() {
    import -silent -window "$1" "png:$2"
}

# PixelAt FILE X Y: "R G B" of a view pixel in a ViewShot.
PixelAt() {
    od -An -tu1 -j $((($3 * E2E_VIEW_SIZE + $2) * 3)) -N3 "$1" | awk '{ print $1, $2, $3 }'
}

# ExpectPixel FILE X Y "R G B" WHAT
ExpectPixel() {
    local got
    got=$(PixelAt "$1" "$2" "$3")
    [ "$got" = "$4" ] || Fail "view pixel ($2, $3), $5: expected RGB $4, got $got ($1)"
}

# CountPixels FILE "R G B": how many view pixels have that colour.
CountPixels() {
    od -An -v -tu1 -w3 "$1" | awk -v c="$2" '{ if ($1 " " $2 " " $3 == c) ++n } END { print n + 0 }'
}

# WallCentre FILE: "X Y COUNT", the mean position of the view pixels that
# are not background, and how many there are ("0 0 0" for an empty view).
WallCentre() {
    od -An -v -tu1 -w3 "$1" | awk -v size="$E2E_VIEW_SIZE" -v bg="$E2E_BACKGROUND" '
        $1 " " $2 " " $3 != bg { sx += (NR - 1) % size; sy += int((NR - 1) / size); ++n }
        END { if (n) printf "%d %d %d\n", sx / n, sy / n, n; else print "0 0 0" }'
}

SameShots() {
    cmp -s "$1" "$2"
}

# Steady FILE: two shots of the main window's view 200 ms apart are the same;
# the later one is kept in FILE.
Steady() {
    ViewShot "$E2E_MAIN" "$E2E_DIR/steady-a.rgb"
    sleep 0.2
    ViewShot "$E2E_MAIN" "$1"
    SameShots "$E2E_DIR/steady-a.rgb" "$1"
}

# ChangedFrom FILE: the main window's view is no longer the one in FILE.
ChangedFrom() {
    ViewShot "$E2E_MAIN" "$E2E_DIR/changed.rgb"
    ! SameShots "$E2E_DIR/changed.rgb" "$1"
}

# Num Lock as the server sees it: on or off.
NumLockState() {
    xset q | sed -n 's/.*Num Lock: *\([a-z]*\).*/\1/p'
}

# SetNumLock on|off: toggles the lock with its key when needed.
SetNumLock() {
    if [ "$(NumLockState)" != "$1" ]; then
        Key "$E2E_NUM_LOCK"
    fi
    [ "$(NumLockState)" = "$1" ] || Fail "Num Lock did not turn $1"
}

# Resident memory of the program, in kB.
ResidentKb() {
    awk '$1 == "VmRSS:" { print $2 }' "/proc/$E2E_PID/status"
}
