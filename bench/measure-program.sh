#!/usr/bin/env bash
# Measures the running program as a person would run it, under a private Xvfb
# (the end-to-end tests' own set-up): the frame rate in the title over a
# stretch of seconds, the CPU it takes meanwhile, the time from dismissing the
# start-up message to the first frame on screen, and its peak resident memory.
#
# usage: bench/measure-program.sh BUILD_DIR LEVEL_FILE [SECONDS [MOTION [ARG...]]]
#   BUILD_DIR: a build with the program and the benchmarks' probe, such as the
#   bench preset's build-bench/ (./bench.sh builds it);
#   MOTION: still (the default: nothing pressed) or turning (keypad 6 held by
#   the tick, so every frame changes); ARG...: the program's options, such as
#   --scale 2.
# prints: fps_min=.. fps_max=.. cpu_percent=.. xserver_cpu_percent=..
#         first_frame_ms=.. peak_rss_kb=..
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: measure-program.sh BUILD_DIR LEVEL_FILE [SECONDS [MOTION [ARG...]]]}" && pwd)
level=$2
seconds=${3:-10}
motion=${4:-still}
shift $(($# < 4 ? $# : 4))

E2E_REQUIRE_TOOLS=1
source "$root/tests/e2e/lib.sh"
SetUp "$build/mazewalk" >/dev/null
cp "$level" "$E2E_DIR/torv-2.dat"
# The probe notes when the message is dismissed and when the first frame is
# shown; the program itself knows nothing of it.
MAZEWALK_PROBE_LOG="$E2E_DIR/first-frame" \
    LD_PRELOAD="$build/bench/libmazewalk_first_frame_probe.so" StartAndShowWindow "$E2E_DIR" "$@"
RateShown() {
    [ -n "$(Rate "$E2E_MAIN")" ]
}
WaitFor 10 "the first rate in the title" RateShown

# utime + stime of process PID, in clock ticks: fields 14 and 15 of
# /proc/PID/stat.
CpuTicks() {
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/${1:-$E2E_PID}/stat"
}

case $motion in
    still) ;;
    turning) SetNumLock on && Key "$E2E_KP6" ;;
    *) Fail "no such motion: $motion (still or turning)" ;;
esac
sleep 2  # let the rate settle
start_ticks=$(CpuTicks)
start_server=$(CpuTicks "$E2E_XVFB_PID")
start_ms=$(NowMs)
fps_min=100000
fps_max=0
for _ in $(seq "$seconds"); do
    sleep 1
    fps=$(Rate "$E2E_MAIN")
    fps=${fps:-0}
    [ "$fps" -lt "$fps_min" ] && fps_min=$fps
    [ "$fps" -gt "$fps_max" ] && fps_max=$fps
done
end_ticks=$(CpuTicks)
end_server=$(CpuTicks "$E2E_XVFB_PID")
end_ms=$(NowMs)
peak_rss=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$E2E_PID/status")

Key Escape
WaitForExit 5
[ "$E2E_STATUS" = 0 ] || Fail "the program ended with status $E2E_STATUS"

Share() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v ms="$((end_ms - start_ms))" \
        'BEGIN { printf "%.1f", 100 * t / hz / (ms / 1000) }'
}
cpu=$(Share $((end_ticks - start_ticks)))
server=$(Share $((end_server - start_server)))
first_frame=$(cat "$E2E_DIR/first-frame" 2>/dev/null || echo "?")
echo "fps_min=$fps_min fps_max=$fps_max cpu_percent=$cpu xserver_cpu_percent=$server" \
    "first_frame_ms=$first_frame peak_rss_kb=$peak_rss"
