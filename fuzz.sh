#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on; the fuzz preset, in build-fuzz/) and runs each one for SECONDS
# seconds (default 60), starting from the seeds in fuzz/corpus/. Inputs that
# found new paths collect in build-fuzz/corpus/; anything that crashes, leaks,
# hangs or hits undefined behaviour is saved in build-fuzz/artifacts/ and
# fails the run: turn it into a unit test in tests/robust/.
#
#   ./fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 [SECONDS]  (a whole number of seconds per target)" >&2
    exit 2
fi
source scripts/deps.sh
mazewalk_install cmake make clang libclang-rt-14-dev

scripts/build.sh fuzz >/dev/null

mkdir -p build-fuzz/artifacts build-fuzz/logs
failed=()
for target in level walk raster; do
    corpus=build-fuzz/corpus/$target
    log=build-fuzz/logs/$target.log
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="build-fuzz/artifacts/$target-")
    [ "$target" != raster ] && options+=(-dict=fuzz/level.dict)
    status=0
    "build-fuzz/fuzz/mazewalk_fuzz_$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        echo "fuzz: $target FAILED after ${runs:-?} executions (exit $status); end of $log:"
        tail -n 40 "$log"
    else
        echo "fuzz: $target: ${runs:-?} executions in $seconds s, $(ls "$corpus" | wc -l) inputs in $corpus"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: findings in: ${failed[*]} (inputs in build-fuzz/artifacts/)" >&2
    exit 1
fi
