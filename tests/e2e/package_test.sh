#!/usr/bin/env bash
# The release packages as a new user gets them. Both zips must hold the
# stripped program and tarnu-cli of their architecture, the language files,
# README.txt and LICENSE.txt in one folder, named by the program's version.
# The one of ARCH (win32 or win64, as the wine on PATH runs) is then unpacked
# into a Wine prefix of its own, made for this test: tarnu-cli names the same
# version; started in its folder, the program asks for a language and takes
# the shipped English file; then the end-to-end job (round_trip.sh) runs on
# the unpacked program.
#
# Usage: package_test.sh DIST_FOLDER ARCH ROUND_TRIP_SCRIPT TARNU_DRIVE_EXE
# scripts/test packs the zips (scripts/package --no-build) before the run.
set -euo pipefail
dist=$1
arch=$2
round_trip=$3
driver=$4
started=$SECONDS
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "== $* ($((SECONDS - started)) s)"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnu-package.XXXXXX")
export WINEPREFIX=$work/prefix
tarnu_pid=""
cleanup() {
    [ -z "$tarnu_pid" ] || kill "$tarnu_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

expected="tarnu/LICENSE.txt tarnu/README.txt tarnu/english.zen tarnu/japanese.zen tarnu/tarnu-cli.exe \
tarnu/tarnu.exe"
check_zip() {  # zip, objdump, file format
    local listing
    listing=$(python3 -m zipfile -l "$1" | awk 'NR > 1 {print $1}' | LC_ALL=C sort | tr '\n' ' ')
    [ "$listing" = "$expected " ] || fail "$(basename "$1") holds: $listing"
    mkdir -p "$work/check" && (cd "$work/check" && python3 -m zipfile -e "$1" .)
    local exe
    for exe in tarnu.exe tarnu-cli.exe; do
        "$2" -f "$work/check/tarnu/$exe" | grep -q "file format $3" || fail "$(basename "$1"): $exe is not $3"
        "$2" -h "$work/check/tarnu/$exe" | grep -q debug && fail "$(basename "$1"): $exe is not stripped"
    done
    local version
    version=$("$(dirname "$0")/../../scripts/pe-version" "$work/check/tarnu/tarnu.exe")
    [[ "$(basename "$1")" == "tarnu-$version-"* ]] || fail "$(basename "$1") is not named by version $version"
    rm -rf "$work/check"
}

step "the zips in $dist"
win32=("$dist"/tarnu-*-win32.zip)
[ -f "${win32[0]}" ] || fail "no 32-bit package in $dist: run scripts/package first"
check_zip "${win32[0]}" i686-w64-mingw32-objdump pei-i386
win64=("$dist"/tarnu-*-win64.zip)
[ -f "${win64[0]}" ] || fail "no 64-bit package in $dist: run scripts/package first"
check_zip "${win64[0]}" x86_64-w64-mingw32-objdump pei-x86-64
case $arch in
    win32) zip=${win32[0]} ;;
    win64) zip=${win64[0]} ;;
    *) fail "unknown architecture $arch" ;;
esac

step "a fresh Wine prefix"
"$(dirname "$0")/../../scripts/wine-prefix" "$WINEPREFIX" >/dev/null
folder=$WINEPREFIX/drive_c/Tarnu
mkdir -p "$folder" && (cd "$folder" && python3 -m zipfile -e "$zip" .)
program=$folder/tarnu/tarnu.exe
windows_program='C:\Tarnu\tarnu\tarnu.exe'  # Wine names it by drive C:

step "tarnu-cli in the unpacked folder"
version=${zip##*/tarnu-}
version=${version%-"$arch".zip}
said=$(wine "$folder/tarnu/tarnu-cli.exe" --version </dev/null | tr -d '\r')
[ "$said" = "tarnu-cli $version" ] || fail "tarnu-cli.exe --version says \"$said\", the zip is $version"

step "first start in the unpacked folder: the language chooser"
(cd "$folder/tarnu" && exec wine "$program" </dev/null >/dev/null 2>&1) &
tarnu_pid=$!
wine "$driver" choose-language English 60 || fail "no English in the language chooser"
wine "$driver" --program "$windows_program" find 60 || fail "the main window did not open"
cipher=$(wine "$driver" --program "$windows_program" text 1007 | tr -d '\r')
# The English file's text, access key and all: not the compiled-in "Cipher".
[ "$cipher" = "&Cipher" ] || fail "the Cipher button reads \"$cipher\" after choosing English"
wine "$driver" --program "$windows_program" close 30 || fail "the program did not close"
wait "$tarnu_pid" || true
tarnu_pid=""
[ -f "$folder/tarnu/english.zen.old" ] || fail "the chosen language file was not retired"

step "the whole job with the unpacked program"
bash "$round_trip" "$program" "$driver" || fail "the end-to-end job failed with the packaged program"
echo "PASS: both packages complete; the $arch one runs on its own in a fresh prefix ($((SECONDS - started)) s)"
