#!/usr/bin/env bash
# A minute of a person mashing keys: thousands of key-downs drawn from the
# keypad, letters, Shift and the arrows, with Num Lock toggled now and then
# and keys held long enough for the server's auto-repeat; never Esc until the
# end. The program must keep running and keep drawing (the title's rate is
# rewritten every second to the end), its resident memory must not grow by
# more than 1 MB between second 5 and second 60, and Esc must still end it
# with status 0.
#   soak.sh PROGRAM [SECONDS]      (E2E_SEED picks another key sequence)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"
duration=${2:-60}
seed=${E2E_SEED:-42}

# A maze of about 150 walls around and ahead of the start, wall 5 among them.
flags=()
for ((i = 0; i <= 20; ++i)); do
    for ((j = 0; j <= 20; ++j)); do
        (((i * 7 + j * 3) % 5 == 0)) && flags+=("$i,$j,A")
        (((i * 3 + j * 11) % 7 == 0)) && flags+=("$i,$j,B")
    done
done
WriteLevel "$E2E_DIR" 20 "${flags[@]}"
StartAndShowWindow "$E2E_DIR"
RateShown() {
    [ -n "$(Rate "$E2E_MAIN")" ]
}
WaitFor 5 "the first rate in the title" RateShown
SetNumLock on

# Every title write, stamped in ms: the rate is written once a second even
# when the figure does not change, so the writes show that frames go on.
(stdbuf -oL xprop -spy -id "$E2E_MAIN" -notype WM_NAME 2>/dev/null |
    while IFS= read -r line; do
        echo "$(NowMs) $line"
    done) >"$E2E_DIR/titles.log" &
E2E_HELPERS+=($!)

keypad=("$E2E_KP1" "$E2E_KP2" "$E2E_KP3" "$E2E_KP4" "$E2E_KP5" "$E2E_KP6" "$E2E_KP7"
    "$E2E_KP8" "$E2E_KP9" "$E2E_KP0")
others=(a s d f q w e z x space Shift_L Shift_R Up Down Left Right shift+a shift+w)

RANDOM=$seed
keydowns=0
toggles=0
holds=0
rss5=""
start=$(NowMs)
log=$E2E_DIR/soak.log
echo "# ms title rss-kB keydowns" >"$log"

# One chunk: mostly a burst of 60 keys, now and then one key held down.
while [ $(($(NowMs) - start)) -lt $((duration * 1000)) ]; do
    if ((RANDOM % 16 == 0)); then
        held=${keypad[RANDOM % ${#keypad[@]}]}
        ((RANDOM % 4 == 0)) && held=${others[RANDOM % 9]}
        xdotool keydown "$held"
        sleep "1.$((RANDOM % 5))"
        xdotool keyup "$held"
        keydowns=$((keydowns + 1))
        holds=$((holds + 1))
    else
        # Shift with Num Lock would be Pointer_EnableKeys, which turns the
        # keypad into a mouse: those chunks leave the lock alone.
        shifted=$((RANDOM % 5 == 0))
        keys=()
        for ((k = 0; k < 60; ++k)); do
            r=$((RANDOM % 100))
            if ((r < 2 && !shifted)); then
                keys+=("$E2E_NUM_LOCK")
                toggles=$((toggles + 1))
            elif ((r < 65)); then
                keys+=("${keypad[RANDOM % ${#keypad[@]}]}")
            else
                keys+=("${others[RANDOM % ${#others[@]}]}")
            fi
        done
        if ((shifted)); then
            xdotool keydown Shift_L key --delay 8 "${keys[@]}" keyup Shift_L
        else
            xdotool key --delay 8 "${keys[@]}"
        fi
        keydowns=$((keydowns + ${#keys[@]}))
    fi
    ExpectRunning "after $keydowns key-downs"
    now=$(($(NowMs) - start))
    rss=$(ResidentKb)
    echo "$now \"$(WindowTitle "$E2E_MAIN")\" $rss $keydowns" >>"$log"
    if [ -z "$rss5" ] && [ "$now" -ge 5000 ]; then
        rss5=$rss
    fi
done
end=$(NowMs)
rss60=$(ResidentKb)
rateEnd=$(Rate "$E2E_MAIN")

Note "seed $seed: $keydowns key-downs, $toggles Num Lock presses, $holds held keys in $(((end - start) / 1000)) s"
Note "resident memory ${rss5} kB at 5 s, ${rss60} kB at the end"
[ "$keydowns" -ge 3000 ] || Fail "only $keydowns key-downs were sent"
[ "$toggles" -ge 2 ] || Fail "Num Lock was pressed only $toggles times"
[ "$holds" -ge 3 ] || Fail "only $holds keys were held for auto-repeat"
[ -n "$rss5" ] || Fail "no memory sample at 5 s"
[ $((rss60 - rss5)) -le 1024 ] || Fail "resident memory grew from $rss5 kB to $rss60 kB"
[ -n "$rateEnd" ] || Fail "the title at the end is \"$(WindowTitle "$E2E_MAIN")\""
[ "$rateEnd" -ge 50 ] || Fail "the rate at the end is $rateEnd fps"

# The title was written at least every 3 s from start to end.
gaps=$(awk -v start="$start" -v end="$end" '
    $1 >= start && $1 <= end { if ($1 - last > worst) worst = $1 - last; last = $1; ++n }
    BEGIN { last = start }
    END { if (end - last > worst) worst = end - last; print n + 0, worst }' "$E2E_DIR/titles.log")
read -r writes worst <<<"$gaps"
Note "$writes title writes, at most $worst ms apart; rate at the end $rateEnd fps"
[ "$worst" -le 3000 ] || Fail "the title went $worst ms without a write"

Key Escape
pressed=$(NowMs)
WaitForExit 10
[ "$E2E_STATUS" -eq 0 ] || Fail "Esc ended the program with status $E2E_STATUS"
Note "Esc ended the program in $(($(NowMs) - pressed)) ms with status 0"
