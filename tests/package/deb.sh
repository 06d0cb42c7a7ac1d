#!/usr/bin/env bash
# The Debian package, installed as a user would: makes it with ./package.sh,
# installs it with apt-get (which brings its dependencies), checks what the
# desktop finds (the entry, its icon at every size, the manual page), runs
# installed.sh on the installed program under Xvfb, then removes the package
# and checks that nothing of it is left. The machine is left as it was found,
# also when a check fails: the package and every package apt-get brought with
# it are purged again.
#
# Skipped, with a line saying why, without root or password-less sudo, or
# when a mazewalk package is already installed (it would be replaced).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

Say() {
    echo "package test: $*"
}
Fail() {
    echo "FAIL: package test: $*" >&2
    exit 1
}

# Waits up to two minutes for another apt or dpkg run to finish first.
apt=(apt-get -o DPkg::Lock::Timeout=120 -y -qq)
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        as_root=(sudo -n)
    else
        Say "skipped: installing a package needs root or password-less sudo"
        exit 0
    fi
fi
if dpkg-query -W mazewalk >/dev/null 2>&1; then
    Say "skipped: a mazewalk package is already on this machine ($(dpkg-query -W -f='${Version} ${Status}' mazewalk))"
    exit 0
fi

deb=$("$root/package.sh" deb | sed -n 's/^package.sh: wrote //p')
[ -n "$deb" ] && [ -f "$root/$deb" ] || Fail "package.sh wrote no Debian package"
deb=$root/$deb

# lintian finds no error (its one warning, initial-upload-closes-no-bugs, is
# for packages meant for Debian's own archive).
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || Fail "lintian reports errors in $deb"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/mazewalk-deb.XXXXXX")
InstalledPackages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 ~ /^.i/ { print $2 }' | sort
}
InstalledPackages >"$work/before"
# What the package holds that is not on the machine yet: all of it must go
# again with the package.
dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' | sed 's,/$,,' | grep -v '^$' |
    while read -r path; do
        [ -e "$path" ] || echo "$path"
    done >"$work/new-paths"

Restore() {
    local status=$?
    set +e
    if dpkg-query -W mazewalk >/dev/null 2>&1; then
        DEBIAN_FRONTEND=noninteractive "${as_root[@]}" "${apt[@]}" purge mazewalk >/dev/null
    fi
    InstalledPackages >"$work/after"
    local brought
    brought=$(comm -13 "$work/before" "$work/after")
    if [ -n "$brought" ]; then
        # shellcheck disable=SC2086 # one package name a word
        DEBIAN_FRONTEND=noninteractive "${as_root[@]}" "${apt[@]}" purge $brought >/dev/null
    fi
    rm -rf "$work"
    exit "$status"
}
trap Restore EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

Say "installing $deb"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" "${apt[@]}" install "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; Fail "apt-get install $deb failed"; }

# What a desktop finds: the entry, the icon it names at every size, the
# manual pages.
entry=/usr/share/applications/io.github.mazewalk.Mazewalk.desktop
[ -f "$entry" ] || Fail "no $entry"
desktop-file-validate "$entry" || Fail "desktop-file-validate $entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] ||
        Fail "the icon $icon is not installed at ${size}x${size}"
done
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || Fail "the icon $icon has no SVG"
for page in mazewalk mazewalk-gen mazewalk-map; do
    [ "$(man -w 6 "$page")" = "/usr/share/man/man6/$page.6.gz" ] || Fail "man cannot find $page(6)"
done
MANWIDTH=80 man 6 mazewalk 2>&1 | grep -q '^EXIT STATUS' || Fail "man 6 mazewalk does not show the page"
appstreamcli validate --no-net /usr/share/metainfo/io.github.mazewalk.Mazewalk.metainfo.xml >/dev/null ||
    Fail "the installed metainfo does not validate"

bash "$root/tests/package/installed.sh" "$entry" "$root/docs/start-view.png"

Say "removing the package"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" "${apt[@]}" purge mazewalk >/dev/null
left=()
while read -r path; do
    [ -e "$path" ] && left+=("$path")
done <"$work/new-paths"
[ ${#left[@]} -eq 0 ] || Fail "left behind after removing the package: ${left[*]}"
[ -z "$(dpkg-query -W mazewalk 2>/dev/null)" ] || Fail "dpkg still knows mazewalk"
Say "installed, started, walked and removed $(basename "$deb"); nothing left"
