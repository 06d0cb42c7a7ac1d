#!/usr/bin/env bash
# Packs a configured and built win64 build folder into
# dist/mazewalk-<version>-win64.zip with CPack and prints the zip's path.
#   packaging/win64/package.sh BUILD-FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: package.sh BUILD-FOLDER}" && pwd)
mkdir -p "$root/dist"
(cd "$build" && cpack --config CPackConfig.cmake -B "$build/package" >&2)
zip=$(find "$build/package" -maxdepth 1 -name 'mazewalk-*-win64.zip' | head -n 1)
[ -n "$zip" ] || { echo "package.sh: CPack made no zip" >&2; exit 1; }
cp "$zip" "$root/dist/"
echo "$root/dist/$(basename "$zip")"
