#!/usr/bin/env bash
# Runs a Windows test program under Wine without root's right to pass file
# permissions, so that a read-only file is as read-only as for a user. Wine
# opens files in its server, so the server must lack the right too: when
# root, end the prefix's running server (the test runs alone, and an idle
# server lingers for minutes) and let the program start one without it.
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
wineserver -k 2>/dev/null || true
wineserver -w
exec "${runner[@]}" wine "$@"
