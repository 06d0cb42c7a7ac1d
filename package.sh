#!/usr/bin/env bash
# Writes mazewalk's packages into dist/. Installs what is missing first. Each
# kind of package is one function.
#   ./package.sh            every package
#   ./package.sh KIND...    only those: deb, win64, web
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
version=$(sed -n 's/^project(mazewalk VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p dist

# The Debian package, through CPack's DEB generator, from a Release build of
# its own in build-deb/: compiled with Debian's hardening flags, laid out as
# Debian lays out games (programs in /usr/games, mazes in
# /usr/share/games/mazewalk), its Depends computed from the programs.
package_deb() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_deb[@]}"
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DMAZEWALK_DEB=ON \
        -DMAZEWALK_TESTS=OFF -DMAZEWALK_BENCH=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
        -DMAZEWALK_LEVELDIR=share/games/mazewalk \
        "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
    cmake --build build-deb --parallel "$(nproc)"
    rm -f build-deb/mazewalk_*.deb
    (cd build-deb && cpack -G DEB)
    local deb
    for deb in build-deb/mazewalk_*.deb; do
        cp "$deb" dist/
        echo "package.sh: wrote dist/$(basename "$deb")"
    done
}

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

# dist/mazewalk-VERSION-win64.zip: cross-built with MinGW-w64, through CPack.
package_win64() {
    mazewalk_install "${mazewalk_packages_build[@]}" "${mazewalk_packages_win64[@]}"
    packaging/win64/build.sh build-win64 >/dev/null
    echo "package.sh: wrote $(packaging/win64/package.sh build-win64)"
}

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb win64 web)
for kind in "${kinds[@]}"; do
    case $kind in
        deb) package_deb ;;
        win64) package_win64 ;;
        web) package_web ;;
        *)
            echo "usage: $0 [deb|win64|web]..." >&2
            exit 2
            ;;
    esac
done
