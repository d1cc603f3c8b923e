#pragma once
// Windows lets a file be opened "shared with no one"; POSIX has no such
// open. This program's own handles keep the rule among themselves with
// advisory locks (flock): readers take a shared lock, everyone else an
// exclusive one, and a handle that cannot have its lock is refused. Other
// programs are not held off, and a file system that keeps no locks holds
// no one off.

#include <string>

// Takes the lock (LOCK_SH or LOCK_EX) without waiting. False only when
// another handle holds the file; where locks are not kept, true.
bool TakeLock(int fd, int kind);

// A path held against this program's other handles for the length of one
// operation on it (a delete, a rename, new times). A path that cannot be
// opened is taken for held by none of them: a file its user cannot open,
// no handle of this program has open either, as far as it can know.
class HeldAgainstOthers {
  public:
    // flags: O_RDONLY, with O_NOFOLLOW where the operation takes a link itself.
    HeldAgainstOthers(const std::string& path, int flags);
    ~HeldAgainstOthers();
    HeldAgainstOthers(const HeldAgainstOthers&) = delete;
    HeldAgainstOthers& operator=(const HeldAgainstOthers&) = delete;

    bool HeldElsewhere() const { return heldElsewhere_; }
    // -1 when the path was not opened.
    int Descriptor() const { return fd_; }
    // The descriptor, no longer closed here; -1 when the path was not opened.
    int Release();

  private:
    int fd_;
    bool heldElsewhere_ = false;
};
