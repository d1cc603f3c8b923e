#include "platform/win32_file.h"

#include <algorithm>
#include <cstdint>

namespace {
// ReadFile and WriteFile take DWORD lengths; larger transfers go in pieces.
constexpr size_t kMaxPiece = size_t(1) << 30;

DWORD PieceLength(size_t remaining) { return DWORD(std::min(remaining, kMaxPiece)); }
}  // namespace

Win32File::~Win32File() {
    if (IsOpen()) CloseHandle(handle_);
}

bool Win32File::Read(void* data, size_t length, size_t* got) {
    *got = 0;
    if (!IsOpen()) return false;
    auto* out = static_cast<uint8_t*>(data);
    while (*got < length) {
        DWORD piece = 0;
        if (!ReadFile(handle_, out + *got, PieceLength(length - *got), &piece, nullptr))
            return false;
        if (piece == 0) break;  // end of file
        *got += piece;
    }
    return true;
}

bool Win32File::Write(const void* data, size_t length) {
    if (!IsOpen()) return false;
    const auto* in = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < length) {
        DWORD piece = 0;
        if (!WriteFile(handle_, in + done, PieceLength(length - done), &piece, nullptr))
            return false;
        if (piece == 0) return false;
        done += piece;
    }
    return true;
}

bool Win32File::Seek(uint64_t position) {
    if (!IsOpen() || position > uint64_t(INT64_MAX)) return false;
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(position);
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
}

bool Win32File::Length(uint64_t* length) {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(handle_, &size)) return false;
    *length = uint64_t(size.QuadPart);
    return true;
}

bool Win32File::Flush() { return IsOpen() && FlushFileBuffers(handle_) != 0; }

bool Win32File::Close() {
    if (!IsOpen()) return false;
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
}
