#!/usr/bin/env bash
# Runs fault_jobs_test.exe without the right to read past folder permissions
# (root has it, and through it Wine would list anything), with a tree whose
# middle folder no one may list. That folder's file must come out of both
# jobs as it went in.
#
# Usage: fault_jobs.sh FAULT_JOBS_TEST_EXE
set -euo pipefail
exe=$1
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
[ -f "$exe" ] || fail "no test program $exe"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnu-faults.XXXXXX")
cleanup() {
    chmod -R u+rwx "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

tree=$work/tree
mkdir -p "$tree/mid/shut" "$tree/mid/zz"
printf 'top\n' >"$tree/a.txt"
printf 'middle\n' >"$tree/mid/b.txt"
printf 'deeper\n' >"$tree/mid/zz/c.txt"
printf 'kept out\n' >"$tree/mid/shut/hidden.txt"
chmod 000 "$tree/mid/shut"

# Root reads past permissions; as root the test runs without that right.
runner=()
if [ "$(id -u)" -eq 0 ]; then
    runner=(setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search)
    "${runner[@]}" true ||
        fail "cannot drop the right to read past permissions (setpriv from util-linux is needed)"
fi
! "${runner[@]}" ls "$tree/mid/shut" >/dev/null 2>&1 ||
    fail "the folder made unreadable can still be listed"

TARNU_SHUT_TREE="Z:${tree//\//\\}" "${runner[@]}" wine "$exe"
chmod 700 "$tree/mid/shut"
[ "$(ls "$tree/mid/shut")" = hidden.txt ] && [ "$(cat "$tree/mid/shut/hidden.txt")" = "kept out" ] ||
    fail "the folder that could not be listed was changed"
