#!/usr/bin/env bash
# Configures and builds one configuration of CMakePresets.json, in its own
# folder (build-PRESET; `cmake --list-presets` lists them), after putting into
# the environment what that configuration takes from outside the tree: the
# prefix of the cross-built libraries for win64 and web (scripts/cross-libs.sh
# builds them the first time), Debian's build flags for deb. Installs no
# packages: the scripts that call it do.
#
#   scripts/build.sh PRESET [BUILD-OPTION...]
#
# BUILD-OPTIONs go to `cmake --build`, such as --target mazewalk. It builds
# with MAZEWALK_JOBS jobs, by default one for each core.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-}
if [ -z "$preset" ] || ! cmake --list-presets | grep -q "^  \"$preset\" "; then
    echo "usage: scripts/build.sh PRESET [BUILD-OPTION...], PRESET one of:" >&2
    cmake --list-presets | sed -n 's/^  "\([^"]*\)".*/  \1/p' >&2
    exit 2
fi
shift

case $preset in
    win64 | win64-test)
        MAZEWALK_WIN64_PREFIX=$(scripts/cross-libs.sh win64)
        export MAZEWALK_WIN64_PREFIX
        ;;
    web | web-test)
        MAZEWALK_WEB_PREFIX=$(scripts/cross-libs.sh web)
        export MAZEWALK_WEB_PREFIX
        ;;
    deb)
        # Every hardening flag Debian has, as its own packages are built.
        export DEB_BUILD_MAINT_OPTIONS=hardening=+all
        MAZEWALK_DEB_CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
        MAZEWALK_DEB_LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
        export MAZEWALK_DEB_CXXFLAGS MAZEWALK_DEB_LDFLAGS
        ;;
esac

# A folder configured against other cross-built libraries (their options or
# version changed, so cross-libs.sh gave a new prefix) is configured afresh:
# find_package keeps the folders it found first, whatever the prefix says.
# The prefix a folder was configured with is kept beside its cache.
prefix=${MAZEWALK_WIN64_PREFIX:-${MAZEWALK_WEB_PREFIX:-}}
stamp=build-$preset/.mazewalk-prefix
fresh=()
if [ -n "$prefix" ] && [ -f "build-$preset/CMakeCache.txt" ] &&
    [ "$(cat "$stamp" 2>/dev/null)" != "$prefix" ]; then
    fresh=(--fresh)
fi
cmake --preset "$preset" "${fresh[@]}"
[ -z "$prefix" ] || printf '%s' "$prefix" >"$stamp"
cmake --build --preset "$preset" --parallel "${MAZEWALK_JOBS:-$(nproc)}" "$@"
