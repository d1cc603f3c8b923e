#pragma once
// Closing the last descriptor of a deleted file is where the file system
// frees its blocks: for a large file a tenth of a second or more (512 MiB on
// ext4 mounted with discard). Nothing needs to wait for that, so a large
// file's last descriptor is closed on a thread of its own.

#include <sys/types.h>

// Takes fd, of a file already unlinked and size bytes long, and closes it.
void CloseDeleted(int fd, off_t size);
