#!/usr/bin/env bash
# End to end, as a user works the program: a copy of tarnu.exe in a fresh
# folder of sample files is started under Wine and driven through its window
# by tarnu_drive. Cipher must turn every file into a ".cpy" file; Decipher
# must bring each one back byte for byte with its last-write time and
# attributes; Decipher with a wrong password must log an error for every file
# and leave every ".cpy" file as it was. Started again with a folder and two
# files on its command line, Cipher must take exactly those; started from a
# console folder with relative, forward-slash and ".." paths, the outputs land
# beside the files; a drive given as its root ("R:\\") is walked.
#
# Usage: round_trip.sh TARNU_EXE TARNU_DRIVE_EXE
# Needs WINEPREFIX and an X display (scripts/test runs CTest under xvfb-run).
# KEEP_E2E_FOLDER=1 keeps the temporary folder for a look after a failure.
set -euo pipefail
program=$1
driver=$2
linux_cli=${3:-}
password='round trip 0123'
started=$SECONDS

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "== $* ($((SECONDS - started)) s)"; }
# Pictures of the window for people to look at, beside the build's programs.
shots=$(cd "$(dirname "$program")/.." && pwd)/screenshots
shot() {
    mkdir -p "$shots"
    import -window root "$shots/$1.png" 2>/dev/null || echo "(no screenshot $1: import failed)"
}

[ -n "${DISPLAY:-}" ] || fail "no X display: run under xvfb-run, as scripts/test does"
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
[ -f "$program" ] || fail "no program $program"
[ -f "$driver" ] || fail "no driver $driver"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnu-e2e.XXXXXX")
folder=$work/program      # the program and the files it works on
expected=$work/expected   # untouched copies of the files
tarnu_pid=""

cleanup() {
    if [ -n "$tarnu_pid" ] && kill -0 "$tarnu_pid" 2>/dev/null; then
        wine "$driver" --program "$folder/tarnu.exe" close 10 >/dev/null 2>&1 ||
            kill "$tarnu_pid" 2>/dev/null || true
    fi
    [ -z "${letter:-}" ] || rm -f "$WINEPREFIX/dosdevices/$letter:"
    wine reg delete 'HKCU\Software\Quenmora\Tarnu' /f >/dev/null 2>&1 || true
    for key in .cpy Tarnu; do wine reg delete "HKCU\\Software\\Classes\\$key" /f >/dev/null 2>&1 || true; done
    chmod -R u+w "$work" 2>/dev/null || true
    [ -n "${KEEP_E2E_FOLDER:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# One driver command; its own message says why it failed.
drive() {
    wine "$driver" --program "$folder/tarnu.exe" "$@" ||
        fail "tarnu_drive $* did not succeed"
}

# Every file but the program, relative to the folder, sorted.
sample_files() { (cd "$folder" && find . -type f ! -name tarnu.exe | sed 's|^\./||' | sort); }
cpy_files() { sample_files | grep '\.cpy$' || true; }

# One line per sample file: name, size, contents, Linux mode and time, and the
# attributes and last-write time Windows sees.
describe_files() {
    local name paths=()
    while read -r name; do
        printf '%s %s %s\n' "$name" "$(stat -c '%s %A %y' "$folder/$name")" \
            "$(sha256sum <"$folder/$name" | cut -c1-16)"
        paths+=("$folder/$name")
    done < <(sample_files)
    drive file-info "${paths[@]}" | sed "s|^$folder/||" | tr -d '\r'
}

# Contents, modes and times of the ".cpy" files.
describe_encrypted() {
    (cd "$folder" && cpy_files | xargs -d '\n' stat -c '%n %s %A %y' &&
        cpy_files | xargs -d '\n' sha256sum)
}

# The Windows attributes of a sample file, as a number, from before.txt.
attributes_of() {
    local found
    found=$(grep "^$1 attributes=" "$work/before.txt" | sed 's/.*attributes=\(0x[0-9a-f]*\).*/\1/') || true
    echo "${found:-0}"
}

# Clicks a job button; fails if the click asks a question.
click_without_question() {
    local answer
    answer=$(drive click "$1")
    [[ "$answer" != *question:* ]] || fail "clicking $1 asked: ${answer#question: }"
}

# Clicks a job button that must ask whether to use the new password; says yes.
click_and_confirm() {
    local answer
    answer=$(drive click "$1")
    [[ "$answer" == *question:* ]] || fail "clicking $1 with a new password asked nothing"
    drive answer yes
}

# A clean job logs its start, the look at the files and its end: 3 rows.
expect_rows() {
    local rows
    rows=$(drive rows | tr -d '\r')
    [ "$rows" = "$1" ] || fail "the log has $rows rows, expected $1"
}

expect_error_rows() {
    local rows
    rows=$(drive error-rows | tr -d '\r')
    [ "$rows" = "$1" ] || fail "the log shows $rows error rows, expected $1"
}

expect_restored() {
    [ -z "$(cpy_files)" ] || fail "encrypted files left after Decipher: $(cpy_files | tr '\n' ' ')"
    describe_files >"$work/after.txt"
    diff -u "$work/before.txt" "$work/after.txt" >&2 ||
        fail "the files differ from the originals after Decipher (diff above)"
    diff -r "$expected" "$folder" --exclude=tarnu.exe >&2 ||
        fail "the contents differ from the originals after Decipher"
}

step "sample files in $folder"
mkdir -p "$folder/sub folder" "$expected"
cp "$program" "$folder/tarnu.exe"
: >"$folder/empty.txt"
echo "a few words" >"$folder/small.txt"
head -c 1572867 /dev/urandom >"$folder/large.bin"  # 1.5 MiB and 3 bytes
head -c 4096 /dev/urandom >"$folder/read only.dat"
head -c 777 /dev/urandom >"$folder/hidden.dat"
head -c 65536 /dev/urandom >"$folder/sub folder/inner.bin"
# Old and distinct times, so a restored time cannot be the time of the job.
n=0
while read -r name; do
    n=$((n + 1))
    touch -d "2009-0$n-1$n 1$n:2$n:3$n.123456700" "$folder/$name"
done < <(sample_files)
chmod a-w "$folder/read only.dat"
hidden=$folder/hidden.dat
wine attrib +h "Z:${hidden//\//\\}" >/dev/null 2>&1 || true
(cd "$folder" && find . -type f ! -name tarnu.exe -exec cp -a --parents {} "$expected" \;)
file_count=$(sample_files | wc -l)
describe_files >"$work/before.txt"
(($(attributes_of "hidden.dat") & 0x2)) ||
    fail "hidden.dat is not hidden: the file system here keeps no Windows attributes"
(($(attributes_of "read only.dat") & 0x1)) || fail "read only.dat is not read-only for Windows"

# Defaults, but read-only files are worked on too.
wine reg delete 'HKCU\Software\Quenmora\Tarnu' /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Quenmora\Tarnu' /v WriteReadOnly /t REG_DWORD /d 1 /f >/dev/null 2>&1 ||
    fail "cannot write the program's settings"

step "starting tarnu.exe"
(cd "$folder" && exec wine "$folder/tarnu.exe" </dev/null >"$work/wine.log" 2>&1) &
tarnu_pid=$!
drive find 60
shot window-compact

step "two different passwords"
drive type 1004 "one"
drive type 1002 "two"
drive click 1007 >/dev/null
expect_rows 1  # the mismatch, and no job
shot window-log

step "Cipher"
drive type 1004 "$password"
drive type 1002 "$password"
click_without_question 1007  # the first job stores the password's check value
drive wait-idle 120
expect_rows 4
shot window-full
expect_error_rows 0
cmp -s "$program" "$folder/tarnu.exe" || fail "the program changed its own file"
sample_files | grep -v '\.cpy$' >&2 && fail "files left unencrypted after Cipher (above)"
[ "$(cpy_files | wc -l)" -eq "$file_count" ] ||
    fail "$(cpy_files | wc -l) encrypted files for $file_count originals"
[ "$(cpy_files | grep -c '^sub folder/')" -eq 1 ] ||
    fail "the file in the subfolder was not encrypted in its own folder"
cpy_files | grep -Ev '^([^/]+/)?[A-Za-z0-9]{13}\.cpy$' >&2 &&
    fail "encrypted files with unexpected names (above)"

if [ -n "$linux_cli" ]; then
    step "the window's files read by the Linux tarnu-cli, and one of its own read by the window"
    [ -x "$linux_cli" ] || fail "no Linux tarnu-cli at $linux_cli (scripts/build makes it)"
    mkdir "$work/linux"
    (cd "$folder" && cpy_files | xargs -d '\n' cp -a --parents -t "$work/linux")
    TARNU_PASSWORD=$password "$linux_cli" decrypt --quiet --write-read-only "$work/linux" >&2 ||
        fail "the Linux tarnu-cli could not decrypt the window's files"
    diff -r "$expected" "$work/linux" >&2 || fail "the Linux tarnu-cli restored other contents (above)"
    small=$(TARNU_PASSWORD=$password "$linux_cli" list "$folder"/*.cpy | grep ': small.txt, ' | cut -d: -f1)
    [ -f "$small" ] || fail "the Linux tarnu-cli lists no small.txt among the window's files"
    rm "$small"
    cp -a "$expected/small.txt" "$work/small.txt"
    TARNU_PASSWORD=$password "$linux_cli" encrypt --quiet --wipe none "$work/small.txt" >&2 ||
        fail "the Linux tarnu-cli could not encrypt small.txt"
    mv "$work"/*.cpy "$folder/"
fi

step "Decipher"
drive type 1004 "$password"
click_without_question 1008
drive wait-idle 120
expect_rows 7
expect_error_rows 0
expect_restored

step "Cipher again, then Decipher with a wrong password"
drive type 1004 "$password"
drive type 1002 "$password"
click_without_question 1007
drive wait-idle 120
describe_encrypted >"$work/encrypted.txt"
drive type 1004 "not the password"
click_and_confirm 1008
drive wait-idle 120
expect_rows $((13 + file_count))  # a row for every file
expect_error_rows "$file_count"
describe_encrypted >"$work/encrypted-after.txt"
diff -u "$work/encrypted.txt" "$work/encrypted-after.txt" >&2 ||
    fail "a wrong password changed the encrypted files (diff above)"
[ "$(sample_files | grep -vc '\.cpy$')" -eq 0 ] || fail "a wrong password produced files"

step "Decipher with the right password"
drive type 1004 "$password"
click_and_confirm 1008  # the wrong one was confirmed last
drive wait-idle 120
expect_rows $((16 + file_count))
expect_error_rows "$file_count"  # only the wrong password's rows
expect_restored

step "closing"
drive close 30
wait "$tarnu_pid" || fail "tarnu.exe ended with status $?"
tarnu_pid=""
step "paths on the command line: a folder and two files"
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
(cd "$folder" && exec wine "$folder/tarnu.exe" "$(windows_path "$folder/sub folder")" \
    "$(windows_path "$folder/small.txt")" "$(windows_path "$folder/large.bin")" </dev/null >>"$work/wine.log" 2>&1) &
tarnu_pid=$!
drive find 60
expect_rows 4  # the selection line and one line per path
drive type 1004 "$password"
drive type 1002 "$password"
click_without_question 1007
drive wait-idle 120
[ "$(cpy_files | wc -l)" -eq 3 ] || fail "$(cpy_files | wc -l) files encrypted, expected the 3 named"
for name in empty.txt "read only.dat" hidden.dat; do
    [ -f "$folder/$name" ] || fail "$name was not named on the command line, yet it is gone"
done
drive type 1004 "$password"
click_without_question 1008  # no paths now: the program's folder
drive wait-idle 120
expect_error_rows 0
expect_restored
drive close 30
wait "$tarnu_pid" || fail "tarnu.exe ended with status $?"
tarnu_pid=""

# The program started from a folder with arguments, and Cipher pressed.
cipher_started_with() {
    local from=$1
    shift
    (cd "$from" && exec wine "$folder/tarnu.exe" "$@" </dev/null >>"$work/wine.log" 2>&1) &
    tarnu_pid=$!
    drive find 60
    drive type 1004 "$password"
    drive type 1002 "$password"
    click_without_question 1007
    drive wait-idle 120
}
close_program() {
    drive close 30
    wait "$tarnu_pid" || fail "tarnu.exe ended with status $?"
    tarnu_pid=""
}
# Started without paths: Decipher takes the program's folder.
restore_from_program_folder() {
    (cd "$folder" && exec wine "$folder/tarnu.exe" </dev/null >>"$work/wine.log" 2>&1) &
    tarnu_pid=$!
    drive find 60
    drive type 1004 "$password"
    click_without_question 1008
    drive wait-idle 120
    expect_error_rows 0
    expect_restored
    close_program
}

step "paths as typed in a console: relative, with '/' and '..'"
drive_root_outputs() { find / -maxdepth 1 -name '*.cpy' 2>/dev/null | sort; }
drive_root_outputs >"$work/root-before.txt"
cipher_started_with "$folder/sub folder" inner.bin ../small.txt "Z:$folder/large.bin"
expect_error_rows 0
[ "$(cpy_files | grep -c '^sub folder/')" -eq 1 ] || fail "inner.bin was not encrypted beside itself"
[ "$(cpy_files | wc -l)" -eq 3 ] || fail "$(cpy_files | wc -l) files encrypted, expected the 3 named"
[ -f "$folder/empty.txt" ] || fail "empty.txt was not named, yet it is gone"
drive_root_outputs | diff "$work/root-before.txt" - >&2 || fail "encrypted files appeared in the drive's root"
close_program
restore_from_program_folder

step "a drive root: a drive mapped to the subfolder, given as X:\\"
letter=""
for l in r s u v w; do [ -e "$WINEPREFIX/dosdevices/$l:" ] || { letter=$l; break; }; done
[ -n "$letter" ] || fail "no free drive letter in $WINEPREFIX/dosdevices"
ln -s "$folder/sub folder" "$WINEPREFIX/dosdevices/$letter:"
cipher_started_with "$folder" "${letter^^}:\\"
rm "$WINEPREFIX/dosdevices/$letter:"
[ "$(cpy_files | wc -l)" -eq 1 ] && [ "$(cpy_files | grep -c '^sub folder/')" -eq 1 ] ||
    fail "the drive was not walked: $(cpy_files | tr '\n' ' ')"
close_program
restore_from_program_folder

step "the .cpy file type: switched on in the menu, one file opened through it"
(cd "$folder" && exec wine "$folder/tarnu.exe" </dev/null >>"$work/wine.log" 2>&1) &
tarnu_pid=$!
drive find 60
drive command 32779  # the menu's file-type item
drive type 1004 "$password"
drive type 1002 "$password"
click_without_question 1007
drive wait-idle 120
drive close 30
wait "$tarnu_pid" || fail "tarnu.exe ended with status $?"
tarnu_pid=""
command=$(wine reg query 'HKCU\Software\Classes\Tarnu\shell\open\command' /ve 2>/dev/null |
    tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ -n "$command" ] || fail "switching the file type on registered no open command"
opened=$(cpy_files | head -1)
# As the shell does: the file's path in place of %1, and the command run as
# it stands (from a batch file, so no quoting comes between).
printf '@%s\r\n' "${command//%1/$(windows_path "$folder/$opened")}" >"$work/open.bat"
wine cmd /c "$(windows_path "$work/open.bat")" </dev/null >>"$work/wine.log" 2>&1 &
drive find 60
expect_rows 2  # the selection line and the opened file
drive type 1004 "$password"
drive command 1  # Enter: the opened ".cpy" file made decryption the default
drive wait-idle 120
expect_error_rows 0
[ ! -e "$folder/$opened" ] || fail "Enter did not decrypt the file opened through the file type"
[ "$(cpy_files | wc -l)" -eq $((file_count - 1)) ] || fail "more than the opened file was decrypted"
drive close 30
restore_from_program_folder

echo "Screenshots: $shots"
echo "PASS: $file_count files encrypted, restored, refused under a wrong password," \
    "restored again, encrypted by the command line's paths (console paths and a drive" \
    "root among them), and one opened through the registered file type, in" \
    "$((SECONDS - started)) s"
