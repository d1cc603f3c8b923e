#!/usr/bin/env bash
# Runs a Windows test program under Wine without root's right to pass file
# permissions, so that a read-only file is as read-only as for a user. Wine
# opens files in its server, so the server must lack the right too: when
# root, wait for the prefix's running server to end (the test runs alone) and
# let the program start a new one with the right dropped.
#
# Usage: without_override.sh TEST_EXE [ARGS...]
set -euo pipefail
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
[ -f "$1" ] || fail "no test program $1"
if [ "$(id -u)" -ne 0 ]; then
    exec wine "$@"
fi
runner=(setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search)
"${runner[@]}" true || fail "cannot drop the right to pass permissions (setpriv from util-linux is needed)"
wineserver -w
exec "${runner[@]}" wine "$@"
