#!/usr/bin/env bash
# Writes mazewalk's packages into dist/. Installs what is missing first.
#   ./package.sh        every package this machine can make
#   ./package.sh deb    only dist/mazewalk_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

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
    mkdir -p dist
    local deb
    for deb in build-deb/mazewalk_*.deb; do
        cp "$deb" dist/
        echo "package.sh: wrote dist/$(basename "$deb")"
    done
}

case ${1:-all} in
    deb | all) package_deb ;;
    *)
        echo "usage: $0 [deb]" >&2
        exit 2
        ;;
esac
