#!/usr/bin/env bash
# Writes mazewalk's packages into dist/, each built from its own preset in
# its own folder (build-deb/, build-win64/, build-web/), never with warnings
# as errors, and packed there by CPack (`cpack --preset KIND`). Installs what
# is missing first.
#   ./package.sh            every package
#   ./package.sh KIND...    only those: deb, win64, web
#
# deb: the Debian package, a Release build with Debian's hardening flags, laid
# out as Debian lays out games (programs in /usr/games, mazes in
# /usr/share/games/mazewalk), its Depends computed from the programs.
# win64: mazewalk-VERSION-win64.zip, cross-built with MinGW-w64: one folder
# with the programs, the SDL2 DLLs, the mazes, a README.txt and the licences;
# and mazewalk-VERSION-win64-setup.exe, a 64-bit installer of the same (NSIS).
# web: mazewalk-VERSION-web.zip, one folder with the page, the program's .js
# and .wasm, the shipped mazes with their maps and the licence notices.
# Served by any static web server, it runs.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

# package KIND: builds KIND's preset and packs it into dist/, saying which
# files it wrote.
package() {
    local kind=$1 log
    scripts/build.sh "$kind" >/dev/null
    log=$(mktemp)
    if ! cpack --preset "$kind" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        exit 1
    fi
    # CPack stages each package below the folder it writes it to.
    rm -rf dist/_CPack_Packages
    sed -n "s|^CPack: - package: $PWD/\(.*\) generated\.\$|package.sh: wrote \1|p" "$log"
    rm -f "$log"
}

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb win64 web)
for kind in "${kinds[@]}"; do
    case $kind in
        deb) mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_deb[@]}" ;;
        win64) mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_win64[@]}" ;;
        web) mazewalk_install "${mazewalk_packages_web[@]}" ;;
        *)
            echo "usage: $0 [deb|win64|web]..." >&2
            exit 2
            ;;
    esac
done
for kind in "${kinds[@]}"; do
    package "$kind"
done
