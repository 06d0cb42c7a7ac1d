#!/usr/bin/env bash
# Measures the running program as a person would run it, under a private Xvfb:
# the frame rate in the title over a stretch of seconds, the CPU it takes
# meanwhile, the time from dismissing the start-up message to the first frame
# on screen, and its peak resident memory.
#
# usage: bench/measure-program.sh BUILD_DIR LEVEL_FILE [SECONDS]
# prints one line: fps_min=.. fps_max=.. cpu_percent=.. first_frame_ms=.. peak_rss_kb=..
set -euo pipefail

build=$(cd "$1" && pwd)
level=$2
seconds=${3:-10}
program=$build/mazewalk
probe=$build/bench/libmazewalk_first_frame_probe.so

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp "$level" "$work/torv-2.dat"

# A display number nobody uses.
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
    xset q >/dev/null 2>&1 && break
    sleep 0.05
done

# Windows of the root by name: xdotool cannot match names under UTF-8.
window_named() {
    xwininfo -root -children 2>/dev/null | awk -v name="\"$1\":" '$2 == name {print $1; exit}'
}
main_window() {
    xwininfo -root -children 2>/dev/null | awk '/"(B| [0-9]+ fps)": \(/ {print $1; exit}'
}
title_of() {
    xwininfo -id "$1" 2>/dev/null | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p'
}
cpu_ticks() {
    # utime and stime, fields 14 and 15 of /proc/PID/stat (after the name).
    awk '{sub(/^.*\) /, ""); print $12 + $13}' "/proc/$program_pid/stat"
}

(cd "$work" && MAZEWALK_PROBE_LOG="$work/first-frame" LD_PRELOAD="$probe" \
    exec "$program" >"$work/out" 2>&1) &
program_pid=$!

box=
for _ in $(seq 200); do
    box=$(window_named mazewalk)
    [ -n "$box" ] && break
    sleep 0.05
done
[ -n "$box" ] || { echo "no start-up message appeared" >&2; exit 1; }
xdotool windowfocus --sync "$box" key Return

window=
for _ in $(seq 200); do
    window=$(main_window)
    case "$(title_of "${window:-0}")" in *fps) break ;; esac
    sleep 0.05
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }

sleep 2  # let the rate settle
hz=$(getconf CLK_TCK)
start_ticks=$(cpu_ticks)
start_time=$(date +%s.%N)
fps_min=100000
fps_max=0
for _ in $(seq "$seconds"); do
    sleep 1
    fps=$(title_of "$window" | tr -dc '0-9')
    [ -n "$fps" ] || fps=0
    [ "$fps" -lt "$fps_min" ] && fps_min=$fps
    [ "$fps" -gt "$fps_max" ] && fps_max=$fps
done
end_ticks=$(cpu_ticks)
end_time=$(date +%s.%N)
peak_rss=$(awk '/^VmHWM:/ {print $2}' "/proc/$program_pid/status")

xdotool windowfocus --sync "$window" key Escape
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || { echo "the program ended with status $status: $(cat "$work/out")" >&2; exit 1; }

cpu=$(awk -v t="$((end_ticks - start_ticks))" -v hz="$hz" -v a="$start_time" -v b="$end_time" \
    'BEGIN {printf "%.1f", 100 * t / hz / (b - a)}')
first_frame=$(cat "$work/first-frame" 2>/dev/null || echo "?")
echo "fps_min=$fps_min fps_max=$fps_max cpu_percent=$cpu first_frame_ms=$first_frame peak_rss_kb=$peak_rss"
