# Shared by the 32-bit lab's scripts: where the lab lives, and the per-boot
# state it needs (the binfmt_misc handler, the mounts of the chroot).
# The lab lives outside the source tree, so fresh clones and rebuilds share it.
lab=${TARNU_LAB32:-/var/lib/tarnu/lab32}
root=$lab/root
qemu=$lab/qemu/usr/bin/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc

lab_fail() {
    echo "FAIL: 32-bit lab: $*" >&2
    exit 1
}

lab_need_root() {
    [ "$(id -u)" -eq 0 ] ||
        lab_fail "$1 needs root (chroot, mounts, binfmt_misc); run as root, as CI does"
}

# The kernel here cannot run i386 code: every i386 ELF goes to qemu-i386. The
# F flag opens the interpreter now, so it also works inside the chroot.
lab_register_binfmt() {
    [ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
        lab_fail "binfmt_misc is not available and cannot be mounted at $binfmt"
    local entry=$binfmt/tarnu-i386
    if [ -f "$entry" ] && ! grep -qx "interpreter $qemu" "$entry"; then
        echo -1 >"$entry"
    fi
    [ -f "$entry" ] && return 0
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":tarnu-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register" 2>/dev/null ||
        lab_fail "cannot register the i386 handler in $binfmt"
}

lab_mount() {  # type-or-bind source target
    mkdir -p "$3"
    if mountpoint -q "$3"; then
        # A folder deleted and made again at the same path (a fresh clone
        # where an old one was) leaves its bind showing the deleted folder.
        [ "$1" != bind ] || [ "$(stat -c %d:%i "$2")" = "$(stat -c %d:%i "$3")" ] && return 0
        umount -l "$3" || lab_fail "cannot unmount the stale $3"
    fi
    if [ "$1" = bind ]; then
        mount --rbind "$2" "$3"
    else
        mount -t "$1" "$2" "$3"
    fi || lab_fail "cannot mount $2 at $3"
}

# What a Wine process in the chroot needs to see: devices, processes, /tmp
# (the X socket, test folders) and the source tree at its own path.
lab_mount_all() {
    local tree=$1
    lab_mount proc proc "$root/proc"
    lab_mount bind /dev "$root/dev"
    lab_mount bind /tmp "$root/tmp"
    lab_mount bind "$tree" "$root$tree"
}

# Everything mounted under the chroot, deepest first.
lab_unmount_all() {
    local m
    awk -v r="$root/" 'index($2, r) == 1 {print $2}' /proc/self/mounts | sort -r |
        while read -r m; do umount -l "$m"; done
}
