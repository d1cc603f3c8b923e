#include "tests/support/repeating_file.h"

#include <algorithm>
#include <cstring>

#include "fs/path_text.h"

const uint8_t* RepeatingContent::Stretch(uint64_t offset, size_t* length) const {
    if (offset < head.size()) {
        *length = std::min(*length, head.size() - size_t(offset));
        return &head[size_t(offset)];
    }
    const size_t inRun = size_t((offset - head.size()) % run.size());
    *length = std::min(*length, run.size() - inRun);
    return &run[inRun];
}

void RepeatingContent::Fill(uint64_t offset, uint8_t* out, size_t length) const {
    while (length > 0) {
        size_t piece = length;
        const uint8_t* from = Stretch(offset, &piece);
        std::memcpy(out, from, piece);
        out += piece;
        offset += piece;
        length -= piece;
    }
}

uint64_t RepeatingContent::FirstDifference(uint64_t offset, const uint8_t* bytes,
                                           size_t length) const {
    while (length > 0) {
        size_t piece = length;
        const uint8_t* expected = Stretch(offset, &piece);
        if (std::memcmp(bytes, expected, piece) != 0) {
            return offset + uint64_t(std::mismatch(bytes, bytes + piece, expected).first - bytes);
        }
        bytes += piece;
        offset += piece;
        length -= piece;
    }
    return UINT64_MAX;
}

bool RepeatingFile::Read(void* data, size_t length, size_t* got) {
    *got = size_t(std::min<uint64_t>(length, content_.size - std::min(position_, content_.size)));
    content_.Fill(position_, static_cast<uint8_t*>(data), *got);
    position_ += *got;
    return true;
}

bool RepeatingFile::Seek(uint64_t position) {
    position_ = position;
    return true;
}

bool RepeatingFile::Length(uint64_t* length) {
    *length = content_.size;
    return true;
}

bool RepeatingFile::Identify(FileIdentity* identity) {
    if (!named_->Identify(identity)) return false;
    identity->length = content_.size;
    return true;
}

bool CheckingFile::Write(const void* data, size_t length) {
    const uint64_t at = check_.written;
    check_.written += length;
    if (check_.firstDifference != WriteCheck::kNone) return true;
    if (check_.written > expected_.size) {
        check_.firstDifference = std::max(at, expected_.size);
        return true;
    }
    check_.firstDifference =
        expected_.FirstDifference(at, static_cast<const uint8_t*>(data), length);
    return true;
}

bool CheckingFile::Length(uint64_t* length) {
    *length = check_.written;
    return true;
}

void LargeFileSystem::AddRepeating(const std::string& path, const RepeatingContent& content) {
    if (!Exists(path)) AddFile(path, {});
    reads_[path] = &content;
}

void LargeFileSystem::CheckCreate(const std::string& folder, const RepeatingContent& expected,
                                  WriteCheck& check) {
    writes_[folder] = {&expected, &check};
}

// The memory file system decides whether the open succeeds; the handle it
// gives stands behind one over the large content.
std::unique_ptr<File> LargeFileSystem::OpenReadWrite(const std::string& path) {
    std::unique_ptr<File> file = MemoryFileSystem::OpenReadWrite(path);
    const auto found = reads_.find(path);
    if (!file || found == reads_.end()) return file;
    return std::make_unique<RepeatingFile>(*found->second, std::move(file));
}

std::unique_ptr<File> LargeFileSystem::Create(const std::string& path) {
    std::unique_ptr<File> file = MemoryFileSystem::Create(path);
    const auto found = writes_.find(FolderOf(path, NameCodePage()));
    if (!file || found == writes_.end()) return file;
    return std::make_unique<CheckingFile>(*found->second.first, *found->second.second,
                                          std::move(file));
}
