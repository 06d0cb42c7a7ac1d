# Installs the Debian packages mazewalk needs to build, run, test and package,
# where they are missing. Sourced by run.sh, test.sh, bench.sh, fuzz.sh,
# package.sh, tests/web/run.sh and tests/win/run.sh; uses sudo when not root.

mazewalk_packages_build=(cmake g++ make pkg-config libsdl2-dev libsdl2-image-dev libcli11-dev
    libfast-float-dev)
mazewalk_packages_test=(googletest libgtest-dev libbenchmark-dev xvfb xfonts-base xdotool
    x11-utils x11-xserver-utils imagemagick clang libclang-rt-14-dev desktop-file-utils locales
    librsvg2-bin scdoc appstream)
# What ./package.sh needs for the Debian package besides the build: the icons'
# and manual pages' tools, dpkg-shlibdeps for Depends, and lintian to check it.
mazewalk_packages_deb=(dpkg-dev file librsvg2-bin scdoc appstream desktop-file-utils lintian)
# The Windows cross-build, its tests under Wine, its zip's test, and its
# installer (NSIS).
mazewalk_packages_win64=(mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev unzip nsis)

# The web build and its browser tests; the libraries the page is built from
# are cross-built from the source of these Debian packages' versions.
mazewalk_packages_web=(emscripten nodejs node-acorn chromium cmake librsvg2-bin
    libsdl2-dev libcli11-dev libfast-float-dev)

mazewalk_install() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Playwright, which drives Chromium for the page's tests and its benchmark:
# the version pinned by tests/support/browser/package-lock.json, into that
# folder's node_modules, from the registry npm is configured with. Call from
# the clone's top folder.
mazewalk_browser_driver() {
    local dir=tests/support/browser
    if [ "$dir/node_modules/.package-lock.json" -nt "$dir/package-lock.json" ]; then
        return 0
    fi
    echo "Installing the browser driver (npm ci in $dir)"
    npm ci --prefix "$dir" --no-audit --no-fund --loglevel=error >/dev/null
}

# Makes the named locale (for instance de_DE.UTF-8) where it is missing; the
# level tests read numbers under a locale whose decimal separator is a comma.
mazewalk_locale() {
    local name=$1
    local wanted
    wanted=$(printf '%s' "$name" | tr 'A-Z' 'a-z' | sed 's/utf-8$/utf8/')
    if locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$wanted"; then
        return 0
    fi
    echo "Making the locale $name"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" localedef -i "${name%%.*}" -f "${name#*.}" "$name"
}
