#pragma once
// What stat(2) gives, in the seam's terms: times as FILETIME values and the
// attribute bits a POSIX file can have.

#include <sys/stat.h>

#include <cstdint>

#include "fs/file_system.h"

uint64_t ToFileTime(const timespec& time);
// 0 is "leave this time as it is" (UTIME_OMIT).
timespec FromFileTime(uint64_t time);

// The permission bits of a mode, without set-user-ID, set-group-ID and
// sticky: a restored file never gains what they grant.
uint32_t PermissionsOf(uint32_t mode);
// Read-only is the owner's write bit; the others are beyond POSIX.
bool IsReadOnly(mode_t mode);
// A folder has the directory bit, a file the archive bit (as files that were
// never backed up have on Windows), and either read-only by the owner's write bit.
uint32_t AttributesOf(const struct stat& s);
// Read-only takes every write bit and gives the owner's back; a folder's
// permissions are left alone.
mode_t ModeWithAttributes(mode_t mode, uint32_t attributes);
// Its times (the last write standing in for the creation), attributes and
// permissions.
FileStatus StatusOf(const struct stat& s);
// The times, then the mode that the status's permissions (unless 0) and
// attributes make, in one change, through a descriptor.
bool SetStatusThrough(int fd, const FileStatus& status);
