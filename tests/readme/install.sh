#!/usr/bin/env bash
# Runs the README's Install block as a new user would type it, in a copy of the
# source tree, with only the prefix pointed at a scratch folder, so the block
# cannot rot. CXXFLAGS=-Werror holds the Release configuration to every
# warning without changing a word of the block. Then checks the installed
# layout, and that a machine without GoogleTest or Google Benchmark still
# configures the program (the no-test-libs preset).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "readme install: $*" >&2
    exit 1
}

# The first sh block after the "## Install" heading.
block=$(awk '/^## /{on = ($0 == "## Install")} on && /^```sh$/{grab = 1; next}
             grab && /^```$/{exit} grab' "$top/README.md")
[ -n "$block" ] || fail "no sh block under '## Install' in README.md"
grep -q -- '--prefix /usr/local' <<<"$block" || fail "the block installs to no '--prefix /usr/local'"
prefix=$work/prefix
block=${block//--prefix \/usr\/local/--prefix $prefix}

mkdir "$work/src"
tar -C "$top" --exclude='./build*' --exclude=./.git --exclude=./dist -cf - . | tar -C "$work/src" -xf -
echo "readme install: running in a copy of the sources:"
printf '    %s\n' "$block"
(cd "$work/src" && CXXFLAGS=-Werror CMAKE_BUILD_PARALLEL_LEVEL=$(nproc) bash -euo pipefail -c "$block")

for file in bin/mazewalk bin/mazewalk-gen bin/mazewalk-map share/mazewalk/torv-2.dat \
    share/mazewalk/small/torv-2.dat share/mazewalk/large/torv-2.dat; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
compgen -G "$prefix/share/applications/*.desktop" >/dev/null || fail "no desktop entry installed"

# Without the test and benchmark libraries the configure still succeeds and
# says, once each, what it left out.
(cd "$work/src" && cmake --preset no-test-libs) >"$work/bare.log" ||
    { cat "$work/bare.log"; fail "configure without GoogleTest and Google Benchmark failed"; }
for what in tests benchmarks; do
    [ "$(grep -c "so the $what are left out" "$work/bare.log")" -eq 1 ] ||
        { cat "$work/bare.log"; fail "the configure did not say once that the $what are left out"; }
done
echo "readme install: passed"
