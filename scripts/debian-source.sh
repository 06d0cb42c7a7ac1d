#!/usr/bin/env bash
# Fetches and unpacks a Debian source package (for a cross-build of a library
# mazewalk links) without touching the machine's own apt settings.
#
#   scripts/debian-source.sh [--upstream-fallback] PACKAGE [VERSION]
#
# Prints the folder of the unpacked source, below
# ${MAZEWALK_CACHE:-~/.cache/mazewalk}/src/. A folder already there is reused.
# VERSION defaults to the version of the installed binary package of the same
# name where there is one (so a cross-built SDL2 is the SDL2 the Linux build
# uses), else the newest the archive has.
#
# With --upstream-fallback, a source package whose Debian part the archive
# cannot give (a mirror may lack it) is unpacked from its upstream tarball
# alone, without Debian's changes, with a line on stderr saying so: for a
# library whose Debian part changes nothing the build uses.
#
# apt-get source needs deb-src entries. They are derived here from the
# machine's own apt sources (the same archives, suites and components), in a
# private apt configuration under the cache: no archive is named in this
# repository, and /etc/apt is left as it is.
set -euo pipefail

upstream_fallback=0
if [ "${1:-}" = --upstream-fallback ]; then
    upstream_fallback=1
    shift
fi
package=${1:?usage: debian-source.sh [--upstream-fallback] PACKAGE [VERSION]}
version=${2:-}
cache=${MAZEWALK_CACHE:-$HOME/.cache/mazewalk}
apt_dir=$cache/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d" \
    "$cache/src"

# The deb-src twins of every deb entry, in both of apt's formats.
derive_sources() {
    local file
    rm -f "$apt_dir"/sources.list.d/*
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list \
            >"$apt_dir/sources.list.d/derived.list"
    fi
    for file in /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file" \
            >>"$apt_dir/sources.list.d/derived.list"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -E 's/^Types:.*$/Types: deb-src/' "$file" \
            >"$apt_dir/sources.list.d/$(basename "$file")"
    done
}

private_apt=(-o "Dir::Etc::SourceList=/dev/null"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache::Archives=$apt_dir/archives"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root")

if [ -z "$version" ]; then
    version=$(dpkg-query -W -f='${source:Version}' "$package" 2>/dev/null || true)
fi

# What was unpacked for PACKAGE=VERSION is noted beside it, since the folder
# carries the source package's name, which may differ from the one asked for.
note=$cache/src/$package=${version:-newest}.path
if [ -n "$version" ] && [ -f "$note" ] && [ -f "$(cat "$note")/.mazewalk-unpacked" ]; then
    cat "$note"
    exit 0
fi

derive_sources
apt-get "${private_apt[@]}" -qq update >&2
work=$(mktemp -d "$cache/src/.fetch-XXXXXX")
trap 'rm -rf "$work"' EXIT
request=$package
[ -n "$version" ] && request="$package=$version"
# The source package may carry another name than the binary one (libsdl2-dev
# comes from libsdl2); apt-get source resolves binary names itself.
if ! (cd "$work" && apt-get "${private_apt[@]}" -qq source "$request" >&2); then
    [ "$upstream_fallback" = 1 ] || exit 1
    echo "debian-source.sh: Debian's part of $request could not be fetched;" \
        "unpacking its upstream source alone" >&2
    find "$work" -mindepth 1 -delete
    (cd "$work" && apt-get "${private_apt[@]}" -qq --tar-only source "$request" >&2)
    for tarball in "$work"/*.orig.tar.*; do
        tar -C "$work" -xf "$tarball"
        rm "$tarball"
    done
fi
unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[ -n "$unpacked" ] || { echo "debian-source.sh: nothing unpacked for $request" >&2; exit 1; }
name=$(basename "$unpacked")
rm -rf "${cache:?}/src/$name"
mv "$unpacked" "$cache/src/$name"
touch "$cache/src/$name/.mazewalk-unpacked"
echo "$cache/src/$name" >"$note"
echo "$cache/src/$name"
