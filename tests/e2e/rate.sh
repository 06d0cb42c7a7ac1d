#!/usr/bin/env bash
# The frame rate in the title: "B" until the first figure, then " NN fps",
# and with a tick every 10 ms the figure reaches 90 or more within SECONDS
# (3 unless given) of the start-up message being dismissed.
#   rate.sh PROGRAM [SECONDS]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
SetUp "${1:-}"
limit=${2:-3}

WriteLevel "$E2E_DIR" 14 8,13,B 10,12,A
StartAndShowWindow "$E2E_DIR"
main=$E2E_MAIN
dismissed=$E2E_DISMISSED

titles=()
RateReached() {
    local title
    title=$(WindowTitle "$main")
    if [ ${#titles[@]} -eq 0 ] || [ "${titles[-1]}" != "$title" ]; then
        titles+=("$title")
    fi
    [[ $title =~ ^\ ([0-9]+)\ fps$ ]] && [ "${BASH_REMATCH[1]}" -ge 90 ]
}
until RateReached; do
    if [ $(($(NowMs) - dismissed)) -gt $((limit * 1000)) ]; then
        Fail "no rate of 90 or more in the title within $limit s; titles seen: $(printf '"%s" ' "${titles[@]}")"
    fi
    sleep 0.05
done
took=$(($(NowMs) - dismissed))

# Every title is "B" or a rate, and "B" never comes back after a rate.
seenRate=false
for title in "${titles[@]}"; do
    if [[ $title =~ ^\ [0-9]+\ fps$ ]]; then
        seenRate=true
    elif [ "$title" != B ] || $seenRate; then
        Fail "unexpected title \"$title\"; titles seen: $(printf '"%s" ' "${titles[@]}")"
    fi
done
ExpectRunning
Note "title reached \"${titles[-1]}\" ${took} ms after the message; titles seen: $(printf '"%s" ' "${titles[@]}")"
