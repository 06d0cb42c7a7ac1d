#!/usr/bin/env bash
# Runs every command block of README.md, HACKING.md, levels/README.md and
# docs/*.md as a new user would type it, in a fresh copy of the sources, one
# block after another in the order a reader meets them, so that no block can
# rot. Checks too that every path HACKING.md names exists.
#
#   tests/readme/blocks.sh           every file
#   tests/readme/blocks.sh FILE...   the blocks of those files alone
#
# When README.md is among them, what its Install block installed is checked
# too, and that a machine without GoogleTest or Google Benchmark still
# configures the program (the no-test-libs preset).
#
# A block is a ```sh fence; other fences show output and are not run. The
# line just before a fence may say how it is run:
#   <!-- test: window -->        under a private Xvfb: each mazewalk window it
#                                opens has its start-up message dismissed and
#                                is then ended with Esc, as a person would
#   <!-- test: server URL -->    it starts a server: URL is fetched once it
#                                answers, then the server is stopped
#   <!-- test: by STAGE -->      that stage of ./test.sh (./test.sh --list) runs
#                                it already, or, as "by all", it is ./test.sh
# Every block runs from the top of the copy, with warnings as errors
# (CXXFLAGS=-Werror). /usr/local is replaced by a scratch folder, and that
# folder's bin/ is on PATH, so an install block installs nothing on this
# machine. No block may show an optional argument in brackets.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
files=("$@")
[ ${#files[@]} -gt 0 ] || files=(README.md HACKING.md levels/README.md docs/*.md)

source "$top/tests/e2e/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-blocks.XXXXXX")
trap Cleanup EXIT
work=$E2E_DIR
scratch=$work/scratch

fail() {
    echo "blocks: $*" >&2
    exit 1
}

# Splits the files into work/blocks/NNN (the block) and NNN.where (file:line
# and the directive, if any).
mkdir "$work/blocks"
for file in "${files[@]}"; do
    [ -f "$file" ] || fail "no such file: $file"
    awk -v file="$file" -v out="$work/blocks" -v base="$(find "$work/blocks" -name '*.where' | wc -l)" '
        function next_name() { return sprintf("%s/%03d", out, ++count + base) }
        /^```/ && !inside {
            inside = 1
            if ($0 == "```sh") {
                name = next_name(); grab = 1
                print file ":" NR "\t" directive > (name ".where")
                printf "" > name
            }
            directive = ""; next
        }
        /^```/ && inside { inside = 0; grab = 0; next }
        grab { print >> name; next }
        /^<!-- test: .* -->$/ { directive = $0; sub(/^<!-- test: /, "", directive);
                                sub(/ -->$/, "", directive); next }
        { directive = "" }
    ' "$file"
done
count=$(find "$work/blocks" -name '*.where' | wc -l)

# Every path the map names exists: a link's target, or a name in backticks
# that holds a slash or ends in a file's extension. Build folders, dist/ and
# the cache are made by builds, not kept in the tree.
missing=()
while read -r path; do
    path=${path%%#*}
    [ -z "$path" ] || [ -e "$top/$path" ] || missing+=("$path")
done < <(grep -oE '\]\([^)#]+|`[A-Za-z0-9_./-]+`' "$top/HACKING.md" | sed 's/^](//; s/`//g' |
         grep -E '/|\.[a-z]+$' | grep -vE '^(build|dist|~|https?:|/)' | sort -u)
[ ${#missing[@]} -eq 0 ] || fail "HACKING.md names paths that do not exist: ${missing[*]}"
[ "$count" -gt 0 ] || fail "no sh blocks in ${files[*]}"

# The copy a new user would have: the tracked tree as it is now, no builds.
mkdir "$work/src" "$scratch"
tar -C "$top" --exclude='./build*' --exclude=./.git --exclude=./dist -cf - . | tar -C "$work/src" -xf -

# Dismisses the start-up message of every mazewalk window that appears and
# ends the walk with Esc, until the block's process PID ends.
WalkAndEscape() {
    local pid=$1 ended=0
    while kill -0 "$pid" 2>/dev/null; do
        if FindMessageBox; then
            DismissMessageBox "$E2E_FOUND" || true
        elif FindShownMainWindow; then
            sleep 0.5  # a few frames, as a person would look before leaving
            xdotool windowfocus --sync "$E2E_FOUND" key Escape 2>/dev/null && ended=$((ended + 1))
        fi
        sleep 0.1
    done
    echo "$ended"
}

# Server URL PID: waits for URL to answer, fetches it, stops PID's group.
FetchAndStop() {
    local url=$1 pid=$2 tries=0
    until curl -fsS -o "$work/fetched" "$url" 2>/dev/null; do
        kill -0 "$pid" 2>/dev/null || fail "the server ended before $url answered"
        tries=$((tries + 1))
        [ "$tries" -lt 600 ] || fail "waited 60 s for $url"
        sleep 0.1
    done
    echo "blocks:   fetched $url ($(stat -c %s "$work/fetched") bytes)"
    kill -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

started=$SECONDS
for where in "$work"/blocks/*.where; do
    block=${where%.where}
    IFS=$'\t' read -r place directive <"$where"
    grep -nE '\[(-|[A-Z]|\.\.\.)' "$block" >/dev/null &&
        fail "$place: a block shows an optional argument in brackets: $(grep -E '\[(-|[A-Z])' "$block")"
    script=$(sed "s|/usr/local|$scratch/usr/local|g" "$block")
    echo "blocks: $place${directive:+ ($directive)}"
    sed 's/^/    /' "$block"
    case $directive in
        "by all") continue ;;
        "by "*)
            grep -q "^${directive#by } " <(./test.sh --list) ||
                fail "$place: './test.sh --list' names no stage '${directive#by }'"
            continue
            ;;
    esac
    if [ "$directive" = window ] && [ -z "$E2E_XVFB_PID" ]; then
        # Our own server whatever the desktop around the test, as the
        # end-to-end tests have.
        unset WAYLAND_DISPLAY XAUTHORITY
        export SDL_VIDEODRIVER=x11
        StartXvfb
    fi
    run=(env CXXFLAGS=-Werror CMAKE_BUILD_PARALLEL_LEVEL="$(nproc)" PATH="$scratch/usr/local/bin:$PATH"
         setsid bash -euo pipefail -c "$script")
    case $directive in
        "")
            (cd "$work/src" && "${run[@]}" </dev/null) || fail "$place: the block failed"
            ;;
        window)
            (cd "$work/src" && exec "${run[@]}" </dev/null) &
            pid=$!
            ended=$(WalkAndEscape "$pid")
            wait "$pid" || fail "$place: the block failed"
            [ "$ended" -gt 0 ] || fail "$place: the block opened no mazewalk window"
            ;;
        "server "*)
            (cd "$work/src" && exec "${run[@]}" </dev/null >"$work/server.log" 2>&1) &
            FetchAndStop "${directive#server }" "$!"
            ;;
        *)
            fail "$place: unknown directive '$directive'"
            ;;
    esac
done

if [[ " ${files[*]} " == *" README.md "* ]]; then
    prefix=$scratch/usr/local
    for file in bin/mazewalk bin/mazewalk-gen bin/mazewalk-map share/mazewalk/torv-2.dat \
        share/mazewalk/small/torv-2.dat share/mazewalk/large/torv-2.dat; do
        [ -f "$prefix/$file" ] || fail "README.md's Install block did not install $file"
    done
    compgen -G "$prefix/share/applications/*.desktop" >/dev/null ||
        fail "README.md's Install block installed no desktop entry"
    # Without the test and benchmark libraries the configure still succeeds
    # and says, once each, what it left out.
    (cd "$work/src" && cmake --preset no-test-libs) >"$work/bare.log" ||
        { cat "$work/bare.log"; fail "configure without GoogleTest and Google Benchmark failed"; }
    for what in tests benchmarks; do
        [ "$(grep -c "so the $what are left out" "$work/bare.log")" -eq 1 ] ||
            { cat "$work/bare.log"; fail "the configure did not say once that the $what are left out"; }
    done
fi
echo "blocks: $count blocks passed in $((SECONDS - started)) s"
