#!/usr/bin/env bash
# Builds mazewalk and runs its tests, in stages that can also be run alone:
#
#   ./test.sh              every stage, in the order below (what CI runs)
#   ./test.sh STAGE...     just those stages, in the order given
#   ./test.sh --list       the stages, one a line, with what each runs
#
# Each stage installs what it needs first, builds with its preset of
# CMakePresets.json (stages may share a folder) and prints its time. The
# tests that need a display start their own Xvfb. Our own builds treat every
# warning as an error.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

# The stages in the order of a whole run, each with what it runs.
stages=(unit e2e readme presets web asan win fuzz deb)
declare -A about=(
    [unit]="the unit and tool tests and a smoke run of each benchmark (build-test/)"
    [e2e]="the real program in a real window under Xvfb, driven as a person would (build-test/)"
    [readme]="every command block of the README, HACKING.md and docs/, as typed, in a fresh copy"
    [presets]="each preset's own folder, and ./run.sh then ./bench.sh --quick in a fresh copy"
    [web]="the web page in headless Chromium, against the Linux build's frames"
    [asan]="the unit tests under AddressSanitizer and UBSan (build-asan/)"
    [win]="the Windows build under Wine, against the Linux build's frames"
    [fuzz]="each fuzz target for 30 seconds"
    [deb]="the Debian package made, installed, started, walked and removed"
)

stage_unit() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
    mazewalk_locale de_DE.UTF-8
    scripts/build.sh test
    ctest --preset test -LE e2e
}

stage_e2e() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
    scripts/build.sh test
    ctest --preset test -L e2e
}

stage_readme() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}" \
        "${mazewalk_packages_web[@]}"
    tests/readme/blocks.sh
}

stage_presets() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
    tests/presets/fresh-copy.sh
}

stage_web() {
    tests/web/run.sh
}

# Any finding (an invalid memory access, a use after scope, a leak, undefined
# behaviour, a failed assertion: NDEBUG is off here) ends the test that made
# it, and so fails the run. Every unit test that needs no display is built,
# the off-screen SDL ones included, and the tests themselves are not
# optimised, so a finding in one shows where it happens; what they test is
# built as usual, at -O1 or more.
stage_asan() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_test[@]}"
    mazewalk_locale de_DE.UTF-8
    scripts/build.sh asan
    ctest --preset asan
}

stage_win() {
    tests/win/run.sh
}

stage_fuzz() {
    ./fuzz.sh 30
}

stage_deb() {
    bash tests/package/deb.sh
}

usage() {
    echo "usage: $0 [STAGE...] | --list   (stages: ${stages[*]})" >&2
    exit 2
}

if [ "${1:-}" = "--list" ]; then
    for stage in "${stages[@]}"; do
        printf '%-8s %s\n' "$stage" "${about[$stage]}"
    done
    exit 0
fi
chosen=("$@")
[ ${#chosen[@]} -gt 0 ] || chosen=("${stages[@]}")
for stage in "${chosen[@]}"; do
    [ -n "${about[$stage]:-}" ] || { echo "test.sh: no stage '$stage'" >&2; usage; }
done

started=$SECONDS
for stage in "${chosen[@]}"; do
    echo "=== test.sh: $stage: ${about[$stage]}"
    begun=$SECONDS
    "stage_$stage"
    echo "=== test.sh: $stage passed in $((SECONDS - begun)) s"
done
echo "=== test.sh: ${#chosen[@]} stages passed in $((SECONDS - started)) s: ${chosen[*]}"
