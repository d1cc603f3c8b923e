#!/usr/bin/env bash
# A job through the window, timed as a user times it: from the click on
# Cipher (then Decipher) until both buttons are back, with no wipe passes (as
# job_bench). PATH is one file, run in a fresh folder beside a copy of the
# program, or a folder of files, run where they are with a copy of the program
# put in for the while.
# Prints "encrypt: S s" and "decrypt: S s", the best of RUNS round trips, then
# "slowest answer, encrypt: N ms" and "slowest answer, decrypt: N ms", the
# window's slowest answer to a message during any of those jobs, then each
# run's in order and when it was asked, from the click ("every run's slowest
# answer, encrypt: N ms at S s, ..."): the first encryption starts from the
# window as it opens, the rest from the height a finished job leaves. The
# files end as they began.
#
# Usage: window_job.sh TARNU_EXE TARNU_DRIVE_EXE PATH RUNS
# Needs WINEPREFIX and an X display (scripts/bench runs it under xvfb-run).
set -euo pipefail
program=$1
driver=$2
path=$3
runs=$4
password='bench 0123'
key='HKCU\Software\Quenmora\Tarnu'

if [ -d "$path" ]; then
    folder=$path
    file=""
    count=$(find "$folder" -maxdepth 1 -type f | wc -l)
else
    folder=$(dirname "$path")/window
    file=$(basename "$path")
    count=1
    rm -rf "$folder"
    mkdir "$folder"
    mv "$path" "$folder/"
fi
cp "$program" "$folder/tarnu.exe"
tarnu_pid=""
cleanup() {
    [ -z "$tarnu_pid" ] || kill "$tarnu_pid" 2>/dev/null || true
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    rm -f "$folder/tarnu.exe"
    if [ -n "$file" ]; then
        mv "$folder/$file" "$path" 2>/dev/null || true
        rm -rf "$folder"
    fi
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

# The files in the folder whose names match.
files() { find "$folder" -maxdepth 1 -type f -name "$1" | wc -l; }
seconds() { sed -n 's/^job: \([0-9.]*\) s.*/\1/p' <<<"$1"; }
asked() { sed -n 's/^slowest answer: \([0-9.]*\) ms.* asked at \([0-9.]*\) s.*/\1 ms at \2 s/p' <<<"$1"; }
encrypt=()
decrypt=()
encrypt_asked=()
decrypt_asked=()
for _ in $(seq "$runs"); do
    sync
    drive type 1004 "$password" && drive type 1002 "$password"
    out=$(drive time-job 1007 | tr -d '\r')
    encrypt+=("$(seconds "$out")")
    encrypt_asked+=("$(asked "$out")")
    [ "$(files '*.cpy')" -eq "$count" ] || { echo "not every file was encrypted" >&2; exit 1; }
    sync
    drive type 1004 "$password"
    out=$(drive time-job 1008 | tr -d '\r')
    decrypt+=("$(seconds "$out")")
    decrypt_asked+=("$(asked "$out")")
done
drive close 30 >/dev/null
wait "$tarnu_pid" || true
tarnu_pid=""
rm "$folder/tarnu.exe"
if [ "$(files '*')" -ne "$count" ] || [ "$(files '*.cpy')" -ne 0 ]; then
    echo "not every file was restored" >&2
    exit 1
fi
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
worst() { printf '%s\n' "$@" | sort -g | tail -n 1; }
echo "encrypt: $(best "${encrypt[@]}") s"
echo "decrypt: $(best "${decrypt[@]}") s"
echo "slowest answer, encrypt: $(worst "${encrypt_asked[@]%% *}") ms"
echo "slowest answer, decrypt: $(worst "${decrypt_asked[@]%% *}") ms"
each() { local IFS=,; sed 's/,/, /g' <<<"$*"; }
echo "every run's slowest answer, encrypt: $(each "${encrypt_asked[@]}")"
echo "every run's slowest answer, decrypt: $(each "${decrypt_asked[@]}")"
