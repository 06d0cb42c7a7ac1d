#!/usr/bin/env bash
# Builds mazewalk's packages into dist/. Each kind of package is one function.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
version=$(sed -n 's/^project(mazewalk VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p dist

# dist/mazewalk-VERSION-web.zip: one folder with the page, the program's .js
# and .wasm, the shipped mazes with their maps and the licence notices. Served
# by any static web server, it runs.
package_web() {
    mazewalk_install "${mazewalk_packages_web[@]}"
    local name=mazewalk-$version-web stage
    scripts/build-web.sh build-web >/dev/null
    stage=$(mktemp -d)
    cmake --install build-web --prefix "$stage/$name" >/dev/null
    rm -f "dist/$name.zip"
    (cd "$stage" && cmake -E tar cf "$OLDPWD/dist/$name.zip" --format=zip "$name")
    rm -rf "$stage"
    echo "package.sh: wrote dist/$name.zip"
}

package_web
