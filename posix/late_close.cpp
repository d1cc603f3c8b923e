#include "posix/late_close.h"

#include <unistd.h>

#include <system_error>
#include <thread>

namespace {

// Below this a thread costs more than the freeing it saves.
constexpr off_t kLargeFile = off_t(16) << 20;

}  // namespace

void CloseDeleted(int fd, off_t size) {
    if (size >= kLargeFile) {
        try {
            std::thread([fd] { ::close(fd); }).detach();
            return;
        } catch (const std::system_error&) {
            // No thread to be had: close here.
        }
    }
    ::close(fd);
}
