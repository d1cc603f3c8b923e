#include "tests/support/memory_file.h"

#include <algorithm>
#include <cstring>

#include "tests/support/memory_paths.h"

MemoryFile::~MemoryFile() { Release(); }

void MemoryFile::Release() {
    const auto held = fs_->Hold();
    if (open_) fs_->Release(content_);
    open_ = false;
}

bool MemoryFile::Read(void* data, size_t length, size_t* got) {
    const auto held = fs_->Hold();
    *got = 0;
    const std::optional<FsFault> fault = fs_->faults_.Next(FsOp::Read);
    if (!open_ || access_ == FileAccess::kWrite) return false;
    if (fault && *fault != FsFault::ShortRead) return false;
    *got = ReadAt(data, fault ? length / 2 : length);
    return true;
}

size_t MemoryFile::ReadAt(void* data, size_t length) {
    const std::vector<uint8_t>& bytes = Data();
    if (position_ >= bytes.size()) return 0;
    const size_t count = size_t(std::min<uint64_t>(length, bytes.size() - position_));
    std::memcpy(data, bytes.data() + position_, count);
    position_ += count;
    return count;
}

bool MemoryFile::Write(const void* data, size_t length) {
    const auto held = fs_->Hold();
    const std::optional<FsFault> fault = fs_->faults_.Next(FsOp::Write);
    if (!open_ || access_ == FileAccess::kRead) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!fault) return WriteAt(bytes, length);
    if (*fault == FsFault::DiskFull) WriteAt(bytes, length / 2);
    return false;
}

bool MemoryFile::WriteAt(const uint8_t* bytes, size_t length) {
    std::vector<uint8_t>& data = Data();
    // The file may grow into the free space, no further.
    const uint64_t free = fs_->FreeBytes();
    const uint64_t limit = free > UINT64_MAX - data.size() ? UINT64_MAX : data.size() + free;
    uint64_t count = length;
    if (position_ > limit) {
        count = 0;
    } else if (count > limit - position_) {
        count = limit - position_;
    }
    if (count == 0) return length == 0;
    const uint64_t end = position_ + count;
    if (end > data.size()) data.resize(size_t(end));  // a gap fills with zeros
    std::memcpy(data.data() + position_, bytes, size_t(count));
    fs_->ContentAt(content_).status.lastWriteTime = fs_->Tick();
    fs_->Journal(path_, position_, bytes, size_t(count));
    position_ = end;
    return count == length;
}

bool MemoryFile::Seek(uint64_t position) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::Seek) || !open_) return false;
    position_ = position;
    return true;
}

bool MemoryFile::Length(uint64_t* length) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::Length) || !open_) return false;
    *length = Data().size();
    return true;
}

bool MemoryFile::Flush() {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::Flush) || !open_) return false;
    fs_->JournalFlush(path_);
    return true;
}

bool MemoryFile::Close() {
    const auto held = fs_->Hold();
    const bool failed = fs_->Fails(FsOp::Close);
    const bool wasOpen = open_;
    Release();
    return wasOpen && !failed;
}

bool MemoryFile::Identify(FileIdentity* identity) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::Identify) || !open_) return false;
    const MemoryFileSystem::Content& content = fs_->ContentAt(content_);
    *identity = {1, content_, fs_->LinksTo(content_), content.data.size(),
                 content.status.lastWriteTime};
    return true;
}

bool MemoryFile::GetStatus(FileStatus* status) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::GetStatus) || !open_) return false;
    *status = fs_->ContentAt(content_).status;
    return true;
}

bool MemoryFile::SetStatus(const FileStatus& status) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::SetStatus) || !open_ || access_ == FileAccess::kRead) return false;
    MemoryFileSystem::Apply(status, false, &fs_->ContentAt(content_).status);
    return true;
}

// A look that cannot fail: the sweeps fail Identify, Rename and Remove, the
// calls around it.
bool MemoryFile::StillNamed() const {
    const auto held = fs_->Hold();
    return open_ && NameIsOwn();
}

bool MemoryFile::NameIsOwn() const {
    const MemoryFileSystem::Node* node = fs_->Lookup(key_);
    return node && node->content == content_;
}

// As Move; the journal keeps the name the file was opened under.
MoveResult MemoryFile::Rename(const std::string& to) {
    const auto held = fs_->Hold();
    const std::optional<FsFault> fault = fs_->faults_.Next(FsOp::Rename);
    if ((fault && *fault != FsFault::DiskFull) || !open_ || !NameIsOwn()) return {};
    if (!fs_->CanTakeName(key_, to)) return {};
    fs_->Rename(key_, fs_->StoredPath(to));
    key_ = mempath::Key(to, fs_->codePage_);
    return {true, !fault};
}

// A failed call still closes the handle, as Remove promises.
bool MemoryFile::Remove() {
    const auto held = fs_->Hold();
    const bool failed = fs_->Fails(FsOp::Remove);
    const bool removable =
        open_ && NameIsOwn() && !(fs_->ContentAt(content_).status.attributes & attr::kReadOnly);
    if (!failed && removable) fs_->nodes_.erase(key_);
    Release();
    return !failed && removable;
}

bool MemoryFinder::Next(FindEntry* entry) {
    const auto held = fs_->Hold();
    if (fs_->Fails(FsOp::FindNext)) {
        brokeOff_ = true;
        return false;
    }
    if (next_ == entries_.size()) return false;
    *entry = entries_[next_++];
    return true;
}
