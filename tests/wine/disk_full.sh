#!/usr/bin/env bash
# Runs disk_full_test.exe on a drive that is nearly full: a small tmpfs of its
# own, mapped to a free drive letter of the prefix, mounted and unmounted here.
# Needs root, or whatever else lets this process mount; fails when it cannot.
#
# Usage: disk_full.sh DISK_FULL_TEST_EXE
set -euo pipefail
exe=$1
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
[ -f "$exe" ] || fail "no test program $exe"

# A letter left by a run that was killed points at a folder that is gone.
for link in "$WINEPREFIX"/dosdevices/?:; do
    if [[ -L $link && $(readlink "$link") == */tarnu-full.* && ! -e $link ]]; then
        rm -f "$link"
    fi
done
letter=""
for l in t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$l:" ] || { letter=$l; break; }
done
[ -n "$letter" ] || fail "no free drive letter among t: to y: in $WINEPREFIX/dosdevices"

mnt=$(mktemp -d "${TMPDIR:-/tmp}/tarnu-full.XXXXXX")
mounted=""
cleanup() {
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    if [ -n "$mounted" ]; then
        umount "$mnt" 2>/dev/null || umount -l "$mnt"
    fi
    rmdir "$mnt"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount -t tmpfs -o size=8m,mode=0755 tarnu-full "$mnt" ||
    fail "cannot mount a small tmpfs at $mnt (this test needs root, or the right to mount)"
mounted=1
ln -s "$mnt" "$WINEPREFIX/dosdevices/$letter:"
TARNU_FULL_DRIVE="$letter:" wine "$exe"
