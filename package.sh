#!/usr/bin/env bash
# Makes mazewalk's packages in dist/. Installs what is missing first.
#   ./package.sh [win64]      without an argument: every package
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

# dist/mazewalk-<version>-win64.zip: cross-built with MinGW-w64, through CPack.
package_win64() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_win64[@]}"
    packaging/win64/build.sh build-win64 >/dev/null
    packaging/win64/package.sh build-win64
}

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win64)
for target in "${targets[@]}"; do
    case $target in
        win64) package_win64 ;;
        *) echo "package.sh: unknown package '$target' (known: win64)" >&2; exit 2 ;;
    esac
done
