#!/usr/bin/env bash
# A job through the window, timed as a user times it: from the click on
# Cipher (then Decipher) until both buttons are back, for one file in a fresh
# folder beside a copy of the program, with no wipe passes (as job_bench).
# Prints "encrypt: S s" and "decrypt: S s", the best of RUNS round trips; the
# file ends as it began.
#
# Usage: window_job.sh TARNU_EXE TARNU_DRIVE_EXE FILE RUNS
# Needs WINEPREFIX and an X display (scripts/bench runs it under xvfb-run).
set -euo pipefail
program=$1
driver=$2
file=$3
runs=$4
folder=$(dirname "$file")/window
password='bench 0123'
key='HKCU\Software\Quenmora\Tarnu'

rm -rf "$folder"
mkdir "$folder"
cp "$program" "$folder/tarnu.exe"
mv "$file" "$folder/"
tarnu_pid=""
cleanup() {
    [ -z "$tarnu_pid" ] || kill "$tarnu_pid" 2>/dev/null || true
    mv "$folder/$(basename "$file")" "$file" 2>/dev/null || true
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    rm -rf "$folder"
}
trap cleanup EXIT

wine reg delete "$key" /f >/dev/null 2>&1 || true
for option in Zero Rand; do
    wine reg add "$key" /v "$option" /t REG_DWORD /d 0 /f >/dev/null
done
(cd "$folder" && exec wine "$folder/tarnu.exe" </dev/null >/dev/null 2>&1) &
tarnu_pid=$!
drive() { wine "$driver" --program "$folder/tarnu.exe" "$@"; }
drive find 60 >/dev/null

seconds() { sed -n 's/^job: \([0-9.]*\) s.*/\1/p' | tr -d '\r'; }
encrypt=()
decrypt=()
for _ in $(seq "$runs"); do
    sync
    drive type 1004 "$password" && drive type 1002 "$password"
    encrypt+=("$(drive time-job 1007 | seconds)")
    sync
    drive type 1004 "$password"
    decrypt+=("$(drive time-job 1008 | seconds)")
done
drive close 30 >/dev/null
wait "$tarnu_pid" || true
tarnu_pid=""
[ -f "$folder/$(basename "$file")" ] || { echo "the file was not restored" >&2; exit 1; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
echo "encrypt: $(best "${encrypt[@]}") s"
echo "decrypt: $(best "${decrypt[@]}") s"
