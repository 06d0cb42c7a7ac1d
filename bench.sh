#!/usr/bin/env bash
# Builds mazewalk with its benchmarks (the bench preset, in build-bench/) and
# measures it: the Google Benchmark programs (medians of
# repeated runs, with the ratios that matter), then the running program under
# Xvfb on the dense 1000-wall level and on the shipped maze. Repetitions of
# the cases are interleaved at random, so that a machine getting slower or
# faster during the run weighs on every case alike.
#   ./bench.sh            everything
#   ./bench.sh --quick    fewer repetitions and shorter program runs
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"

repetitions=20
seconds=10
if [ "${1:-}" = "--quick" ]; then
    repetitions=3
    seconds=3
fi

build="build-bench"
scripts/build.sh bench >/dev/null

echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), $(uname -sr)"
"$build"/bench/mazewalk_bench --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_color=false

dense=$(mktemp)
trap 'rm -f "$dense"' EXIT
"$build"/bench/mazewalk_bench_level 1000 2024 >"$dense"
echo
echo "Running program, $seconds s under Xvfb:"
echo "  dense 1000 walls, turning: $(bench/measure-program.sh "$build" "$dense" "$seconds" turning)"
echo "  shipped maze, turning:     $(bench/measure-program.sh "$build" levels/torv-2.dat "$seconds" turning)"
for scale in 1 2 4; do
    echo "  shipped maze, scale $scale, still:   $(bench/measure-program.sh "$build" levels/torv-2.dat "$seconds" still --scale $scale)"
    echo "  shipped maze, scale $scale, turning: $(bench/measure-program.sh "$build" levels/torv-2.dat "$seconds" turning --scale $scale)"
done
