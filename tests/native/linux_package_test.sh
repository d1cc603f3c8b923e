#!/usr/bin/env bash
# The Linux packages of tarnu-cli as a user gets them. The .deb must carry the
# right control fields, exactly its three files, a stripped program whose
# libraries its Depends provide, and a manual page groff sets without a
# warning, naming every option of --help. Unpacked (never installed), its
# program runs a job both ways under a password from the environment and from
# a file. The tarball must hold the same program and page, README and LICENSE.
#
# Usage: linux_package_test.sh DIST_FOLDER
# scripts/test packs them (scripts/package --no-build) before the run.
set -euo pipefail
dist=$1
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnu-linux-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

arch=$(dpkg --print-architecture)
debs=("$dist"/tarnu-cli_*_"$arch".deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no .deb for $arch in $dist: run scripts/package first"
version=${deb##*/tarnu-cli_}
version=${version%_"$arch".deb}

field() { dpkg-deb --field "$deb" "$1"; }
for pair in Package=tarnu-cli Version="$version" Architecture="$arch" Section=utils Priority=optional; do
    [ "$(field "${pair%%=*}")" = "${pair#*=}" ] || fail "${pair%%=*} is \"$(field "${pair%%=*}")\""
done
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is \"$(field Maintainer)\""
[ "$(field Description | wc -l)" -gt 1 ] || fail "the description has no text under its first line"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $2, $6}' | LC_ALL=C sort)
[ "$files" = "-rw-r--r-- root/root ./usr/share/doc/tarnu-cli/copyright
-rw-r--r-- root/root ./usr/share/man/man1/tarnu-cli.1.gz
-rwxr-xr-x root/root ./usr/bin/tarnu-cli" ] || fail "the .deb holds: $files"

dpkg-deb -x "$deb" "$work/root"
program=$work/root/usr/bin/tarnu-cli
[ "$("$program" --version)" = "tarnu-cli $version" ] || fail "--version says: $("$program" --version)"
objdump -t "$program" | grep "no symbols" >/dev/null || fail "the program is not stripped"
cmp -s "$work/root/usr/share/doc/tarnu-cli/copyright" "$(dirname "$0")/../../LICENSE" ||
    fail "copyright is not the LICENSE"

# Every library the program loads comes from a package it depends on, and
# libc6 is asked for at the newest glibc symbol version it uses.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for library in $(objdump -p "$program" | awk '$1 == "NEEDED" {print $2}'); do
    for package in $depends; do
        dpkg -L "$package" 2>/dev/null | grep "/$library\$" >/dev/null && continue 2
    done
    fail "no package of Depends ($(field Depends)) holds $library"
done
glibc=$(objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)
asked=$(field Depends | sed -n 's/.*libc6 (>= \([0-9.]*\)).*/\1/p')
[ -n "$asked" ] || fail "Depends names no libc6 version: $(field Depends)"
dpkg --compare-versions "$asked" ge "${glibc#GLIBC_}" || fail "libc6 >= $asked, but $glibc is used"

# The manual page: no groff warning, and every option the program lists.
zcat "$work/root/usr/share/man/man1/tarnu-cli.1.gz" >"$work/tarnu-cli.1"
groff -man -Tutf8 -ww -P-cbu "$work/tarnu-cli.1" >"$work/page" 2>"$work/warnings"
[ ! -s "$work/warnings" ] || fail "groff warns: $(cat "$work/warnings")"
for text in "tarnu-cli $version" SYNOPSIS OPTIONS "EXIT STATUS" TARNU_PASSWORD \
            $("$program" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -qF -- "$text" "$work/page" || fail "the manual page lacks $text"
done

# A job both ways with the unpacked program: a length that is no multiple of 8.
mkdir "$work/files"
seq 1 999 >"$work/files/numbers.txt"
cp "$work/files/numbers.txt" "$work/original"
size=$(stat -c %s "$work/original")
TARNU_PASSWORD=package-test "$program" encrypt --quiet --wipe none "$work/files" >"$work/log" ||
    fail "encryption failed: $(cat "$work/log")"
cpy=("$work/files"/*.cpy)
[ ${#cpy[@]} -eq 1 ] && [ ! -e "$work/files/numbers.txt" ] || fail "encryption left: $(ls "$work/files")"
[ "$(stat -c %s "${cpy[0]}")" -eq $((280 + size - size % 8)) ] || fail "the .cpy file has the wrong length"
TARNU_PASSWORD=package-test "$program" list "${cpy[0]}" | grep -q ": numbers.txt, $size bytes\$" ||
    fail "list does not name the stored file"
echo package-test >"$work/password"
"$program" decrypt --quiet --password-file "$work/password" "$work/files" >"$work/log" ||
    fail "decryption failed: $(cat "$work/log")"
cmp -s "$work/files/numbers.txt" "$work/original" || fail "the file came back changed"
[ "$(ls "$work/files")" = numbers.txt ] || fail "decryption left: $(ls "$work/files")"

tarballs=("$dist"/tarnu-cli-"$version"-linux-"$(uname -m)".tar.gz)
[ -f "${tarballs[0]}" ] || fail "no tarball of $version for $(uname -m) in $dist"
mkdir "$work/tar" && tar -xzf "${tarballs[0]}" -C "$work/tar"
folder=$work/tar/tarnu-cli-$version
[ "$(cd "$work/tar" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" = "./tarnu-cli-$version/LICENSE \
./tarnu-cli-$version/README.md ./tarnu-cli-$version/tarnu-cli ./tarnu-cli-$version/tarnu-cli.1 " ] ||
    fail "the tarball holds: $(tar -tzf "${tarballs[0]}" | tr '\n' ' ')"
cmp -s "$folder/tarnu-cli" "$program" || fail "the tarball's program is not the .deb's"
cmp -s "$folder/tarnu-cli.1" "$work/tarnu-cli.1" || fail "the tarball's manual page is not the .deb's"
echo "PASS: tarnu-cli $version: the .deb and the tarball"
