#!/usr/bin/env bash
# The Debian package installs into a fresh Debian 12 root with the dependencies apt finds for
# it, runs there (quarnel-cli, and the window on the offscreen platform), and leaves no file
# behind when it is removed.
#
# Usage: test-package.sh <package.deb | build folder> [cache folder]
# A build folder is packaged first with its CPack configuration. The root is made once with
# debootstrap and kept in the cache folder (default: build/package-test beside the sources),
# with the packages apt downloads; each run works in a fresh copy of it.
#
# It needs root, debootstrap and the network, and takes minutes: it is skipped (status 77)
# unless QUARNEL_PACKAGE_TEST=1 is set, and when it cannot run.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
package=$1
cache=${2:-$source_dir/build/package-test}
mirror=${QUARNEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}

skip() {
    echo "skipped: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ "${QUARNEL_PACKAGE_TEST:-}" = 1 ] || skip "set QUARNEL_PACKAGE_TEST=1 to run the package test"
[ "$(id -u)" = 0 ] || skip "the package test needs root"
# Making the package takes dpkg-shlibdeps; the root takes debootstrap.
bash "$source_dir/tools/quarnel-setup.sh" dpkg-dev debootstrap >&2 || true
command -v debootstrap >/dev/null || skip "debootstrap is not installed"

mkdir -p "$cache/archives"
cache=$(cd "$cache" && pwd)
root=$cache/root
work=$(mktemp -d)
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    rm -rf "$root" "$work"
}
trap cleanup EXIT

if [ -d "$package" ]; then
    cpack --config "$package/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
    package=$(find "$work" -maxdepth 1 -name 'quarnel_*.deb' | head -n 1)
fi
[ -f "$package" ] || fail "no package at '$package'"

pristine=$cache/bookworm
if [ ! -e "$pristine/.complete" ]; then
    echo "Making a Debian 12 root in $pristine (once)"
    rm -rf "$pristine"
    debootstrap --variant=minbase bookworm "$pristine" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        fail "debootstrap failed: $(tail -n 20 "$cache/debootstrap.log")"
    touch "$pristine/.complete"
fi
rm -rf "$root"
cp -a "$pristine" "$root"
rm "$root/.complete"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc" 2>/dev/null || true
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive HOME=/root "$@"; }

# Every file and folder outside the places that hold logs, caches and the package database.
file_list() {
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./sys -o -path ./run \
        -o -path ./tmp -o -path ./var/tmp -o -path ./var/cache -o -path ./var/log \
        -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./root \) -prune -o -print) |
        sort
}

in_root apt-get update -qq >"$work/apt.log" 2>&1 || fail "apt-get update: $(cat "$work/apt.log")"
file_list >"$work/before"

cp "$package" "$root/tmp/"
cp "$cache"/archives/*.deb "$root/var/cache/apt/archives/" 2>/dev/null || true
# dpkg leaves the package unconfigured while its dependencies are missing; apt brings them.
in_root dpkg -i "/tmp/$(basename "$package")" >"$work/dpkg.log" 2>&1 || true
in_root apt-get install -f -y -qq --no-install-recommends >>"$work/apt.log" 2>&1 ||
    fail "apt-get install -f: $(tail -n 20 "$work/apt.log")"
cp "$root"/var/cache/apt/archives/*.deb "$cache/archives/" 2>/dev/null || true
status=$(in_root dpkg-query -W -f="\${Status}" quarnel)
[ "$status" = "install ok installed" ] || fail "quarnel is '$status' after apt-get install -f"
# The comparison at the end sees what the package put in place.
file_list >"$work/installed"
for file in ./usr/bin/quarnel ./usr/bin/quarnel-cli ./usr/share/applications/quarnel.desktop; do
    grep -qxF "$file" "$work/installed" || fail "$file is not among the root's files"
done

# The tool runs, reads a list and prints its page; the manual pages and completion are there.
help=$(in_root quarnel-cli --help) || fail "quarnel-cli --help failed"
[ "$(head -n 1 <<<"$help")" = NAME ] || fail "quarnel-cli --help printed '$(head -n 3 <<<"$help")'"
printf '&Open\r\n&Options\r\n' >"$root/tmp/menu.lst"
check=$(in_root quarnel-cli check /tmp/menu.lst) && fail "check found nothing in a list sharing a key"
[ "$check" = "/tmp/menu.lst:2: key 'O' is also used on line 1" ] || fail "check printed '$check'"
for page in quarnel quarnel-cli; do
    in_root zcat "/usr/share/man/man1/$page.1.gz" | head -n 1 | grep -q '^\.TH' ||
        fail "manual page $page(1) missing"
done
[ -f "$root/usr/share/bash-completion/completions/quarnel-cli" ] || fail "completion missing"

# The window starts on the offscreen platform and keeps running until it is stopped.
window_status=0
in_root sh -c 'mkdir -p /tmp/home && HOME=/tmp/home XDG_CONFIG_HOME=/tmp/home/.config \
    QT_QPA_PLATFORM=offscreen timeout 5 quarnel' >"$work/window.log" 2>&1 || window_status=$?
[ "$window_status" = 124 ] ||
    fail "the window ended with status $window_status before it was stopped: $(cat "$work/window.log")"

in_root dpkg -r quarnel >>"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(tail -n 20 "$work/dpkg.log")"
in_root apt-get autoremove --purge -y -qq >>"$work/apt.log" 2>&1 ||
    fail "apt-get autoremove: $(tail -n 20 "$work/apt.log")"
file_list >"$work/after"
diff "$work/before" "$work/after" >"$work/left" ||
    fail "files differ after removal: $(head -n 40 "$work/left")"
echo "package test passed: $(basename "$package") installed, ran and was removed cleanly"
