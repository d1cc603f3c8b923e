#include "tests/support/memory_file_system.h"

#include <algorithm>
#include <stdexcept>

#include "fs/path_text.h"
#include "tests/support/memory_file.h"
#include "tests/support/memory_paths.h"

namespace {

// Attributes as Windows reports them: a folder has the directory bit, a file
// with no bits has FILE_ATTRIBUTE_NORMAL.
uint32_t Normalized(bool folder, uint32_t attributes) {
    uint32_t result = attributes & ~(attr::kNormal | attr::kDirectory);
    if (folder) return result | attr::kDirectory;
    return result == 0 ? attr::kNormal : result;
}

bool IsUnder(const std::string& key, const std::string& folderKey) {
    return key.size() > folderKey.size() && key.compare(0, folderKey.size(), folderKey) == 0 &&
           key[folderKey.size()] == '\\';
}

}  // namespace

// ---- Setup and inspection

void MemoryFileSystem::AddFolder(const std::string& path) {
    const std::string trimmed = mempath::Trimmed(path, codePage_);
    const std::string key = mempath::Key(trimmed, codePage_);
    if (key.empty() || mempath::IsDriveRoot(key) || IsFolderKey(key)) return;
    if (Lookup(key)) throw std::invalid_argument("a file is in the way of folder " + path);
    AddFolder(mempath::Parent(trimmed, codePage_));
    Node& node = nodes_[key];
    node.path = StoredPath(trimmed);
    node.folder = true;
    node.status = kDefaultTimes;
    node.status.attributes = attr::kDirectory;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::vector<uint8_t>& bytes,
                               uint32_t attributes, const FileStatus& times) {
    const std::string trimmed = mempath::Trimmed(path, codePage_);
    const std::string key = mempath::Key(trimmed, codePage_);
    if (IsFolderKey(key)) throw std::invalid_argument("a folder is in the way of file " + path);
    AddFolder(mempath::Parent(trimmed, codePage_));
    Node& node = nodes_[key];
    node.path = StoredPath(trimmed);
    node.data = bytes;
    node.status = times;
    node.status.attributes = Normalized(false, attributes);
}

void MemoryFileSystem::DenyListing(const std::string& folder) {
    unlisted_.insert(mempath::Key(folder, codePage_));
}

void MemoryFileSystem::SetReparseTag(const std::string& path, uint32_t tag) {
    Node* node = Lookup(mempath::Key(path, codePage_));
    if (!node) throw std::invalid_argument("no file or folder " + path);
    node->reparseTag = tag;
    node->status.attributes |= attr::kReparsePoint;
}

void MemoryFileSystem::CopyDisk(const MemoryFileSystem& other) {
    nodes_ = other.nodes_;
    for (auto& entry : nodes_) entry.second.open = false;
    unlisted_ = other.unlisted_;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
    const std::string key = mempath::Key(path, codePage_);
    return mempath::IsDriveRoot(key) || Lookup(key) != nullptr;
}

bool MemoryFileSystem::IsFolder(const std::string& path) const {
    return IsFolderKey(mempath::Key(path, codePage_));
}

std::vector<uint8_t> MemoryFileSystem::Contents(const std::string& path) const {
    const Node* node = Lookup(mempath::Key(path, codePage_));
    return node ? node->data : std::vector<uint8_t>();
}

FileStatus MemoryFileSystem::Status(const std::string& path) const {
    const Node* node = Lookup(mempath::Key(path, codePage_));
    return node ? node->status : FileStatus();
}

std::vector<std::string> MemoryFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : nodes_) paths.push_back(entry.second.path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// ---- Internals

MemoryFileSystem::Node* MemoryFileSystem::Lookup(const std::string& key) {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

const MemoryFileSystem::Node* MemoryFileSystem::Lookup(const std::string& key) const {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

std::string MemoryFileSystem::StoredPath(const std::string& path) const {
    // The folder keeps the case it was made with.
    const std::string trimmed = mempath::Trimmed(path, codePage_);
    const std::string parent = mempath::Parent(trimmed, codePage_);
    const Node* folder = Lookup(mempath::Key(parent, codePage_));
    return (folder ? folder->path : parent) + '\\' + mempath::Name(trimmed, codePage_);
}

bool MemoryFileSystem::IsFolderKey(const std::string& key) const {
    const Node* node = Lookup(key);
    return mempath::IsDriveRoot(key) || (node && node->folder);
}

std::vector<std::string> MemoryFileSystem::KeysUnder(const std::string& key) const {
    // Everything under a folder sorts together, after its key and a '\'.
    const std::string prefix = key + '\\';
    std::vector<std::string> keys;
    for (auto it = nodes_.lower_bound(prefix);
         it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        keys.push_back(it->first);
    }
    return keys;
}

bool MemoryFileSystem::HasOpenFileUnder(const std::string& key) const {
    const Node* node = Lookup(key);
    if (node && node->open) return true;
    for (const std::string& under : KeysUnder(key)) {
        if (nodes_.at(under).open) return true;
    }
    return false;
}

std::unique_ptr<File> MemoryFileSystem::Open(Node* node, const std::string& key,
                                             const std::string& path, FileAccess access) {
    node->open = true;
    ++openHandles_;
    return std::make_unique<MemoryFile>(this, key, path, access);
}

bool MemoryFileSystem::OpensAsFile(const Node* node) const {
    return node && !node->folder && !node->open &&
           !IsLink(node->status.attributes, node->reparseTag);
}

void MemoryFileSystem::Release(const std::string& key) {
    nodes_.at(key).open = false;
    --openHandles_;
}

uint64_t MemoryFileSystem::FreeBytes() const {
    uint64_t used = 0;
    for (const auto& entry : nodes_) used += entry.second.data.size();
    return used < capacity_ ? capacity_ - used : 0;
}

void MemoryFileSystem::Journal(const std::string& path, uint64_t offset, const uint8_t* bytes,
                               size_t length) {
    if (recording_) writes_.push_back({path, offset, std::vector<uint8_t>(bytes, bytes + length)});
}

void MemoryFileSystem::JournalFlush(const std::string& path) {
    if (recording_) flushes_.push_back(path);
}

// ---- FileSystem

bool MemoryFileSystem::GetAttributes(const std::string& path, uint32_t* attributes) {
    if (Fails(FsOp::GetAttributes)) return false;
    const std::string key = mempath::Key(path, codePage_);
    const Node* node = Lookup(key);
    if (!node && !mempath::IsDriveRoot(key)) return false;
    *attributes = node ? node->status.attributes : attr::kDirectory;
    return true;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    if (Fails(FsOp::SetAttributes)) return false;
    Node* node = Lookup(mempath::Key(path, codePage_));
    if (!node) return false;
    node->status.attributes = Normalized(node->folder, attributes);
    return true;
}

std::unique_ptr<File> MemoryFileSystem::OpenRead(const std::string& path) {
    if (Fails(FsOp::OpenRead)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    Node* node = Lookup(key);
    if (!OpensAsFile(node)) return nullptr;
    return Open(node, key, path, FileAccess::kRead);
}

std::unique_ptr<File> MemoryFileSystem::OpenReadWrite(const std::string& path) {
    if (Fails(FsOp::OpenReadWrite)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    Node* node = Lookup(key);
    if (!OpensAsFile(node)) return nullptr;
    if (node->status.attributes & attr::kReadOnly) return nullptr;
    return Open(node, key, path, FileAccess::kReadWrite);
}

std::unique_ptr<File> MemoryFileSystem::Create(const std::string& path) {
    if (Fails(FsOp::Create)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    if (Lookup(key) || !IsFolderKey(mempath::Parent(key, codePage_))) return nullptr;
    Node* node = &nodes_[key];
    node->path = StoredPath(path);
    const uint64_t now = Tick();
    node->status = {now, now, now, attr::kArchive};
    return Open(node, key, path, FileAccess::kWrite);
}

bool MemoryFileSystem::GetStatus(const std::string& path, FileStatus* status) {
    if (Fails(FsOp::GetStatus)) return false;
    const Node* node = Lookup(mempath::Key(path, codePage_));
    if (!node) return false;
    *status = node->status;
    return true;
}

bool MemoryFileSystem::SetStatus(const std::string& path, const FileStatus& status) {
    if (Fails(FsOp::SetStatus)) return false;
    Node* node = Lookup(mempath::Key(path, codePage_));
    if (!node || node->open) return false;
    FileStatus& kept = node->status;
    if (status.creationTime) kept.creationTime = status.creationTime;
    if (status.lastAccessTime) kept.lastAccessTime = status.lastAccessTime;
    if (status.lastWriteTime) kept.lastWriteTime = status.lastWriteTime;
    kept.attributes = Normalized(node->folder, status.attributes);
    return true;
}

bool MemoryFileSystem::Move(const std::string& from, const std::string& to) {
    if (Fails(FsOp::Move)) return false;
    const std::string fromKey = mempath::Key(from, codePage_);
    const std::string toKey = mempath::Key(to, codePage_);
    if (!Lookup(fromKey) || HasOpenFileUnder(fromKey)) return false;
    // Only a change of case may keep the name.
    if (toKey != fromKey && Exists(to)) return false;
    if (!IsFolderKey(mempath::Parent(toKey, codePage_)) || IsUnder(toKey, fromKey)) return false;
    Rename(fromKey, StoredPath(to));
    return true;
}

void MemoryFileSystem::Rename(const std::string& fromKey, const std::string& to) {
    std::vector<std::string> keys = KeysUnder(fromKey);
    keys.push_back(fromKey);
    std::vector<Node> moved;
    for (const std::string& key : keys) {
        moved.push_back(nodes_.at(key));
        nodes_.erase(key);
    }
    for (Node& node : moved) {
        node.path = to + node.path.substr(fromKey.size());
        nodes_[mempath::Key(node.path, codePage_)] = node;
    }
}

bool MemoryFileSystem::Delete(const std::string& path) {
    if (Fails(FsOp::Delete)) return false;
    const std::string key = mempath::Key(path, codePage_);
    const Node* node = Lookup(key);
    if (!node || node->folder || node->open) return false;
    if (node->status.attributes & attr::kReadOnly) return false;
    nodes_.erase(key);
    return true;
}

std::unique_ptr<Finder> MemoryFileSystem::Find(const std::string& pattern) {
    if (Fails(FsOp::Find)) return nullptr;
    const std::string folderKey = mempath::Key(mempath::Parent(pattern, codePage_), codePage_);
    if (!IsFolderKey(folderKey) || unlisted_.count(folderKey)) return nullptr;
    return std::make_unique<MemoryFinder>(this, List(folderKey, mempath::Name(pattern, codePage_)));
}

std::vector<FindEntry> MemoryFileSystem::List(const std::string& folderKey,
                                              const std::string& pattern) const {
    std::vector<FindEntry> entries;
    if (!mempath::IsDriveRoot(folderKey)) {
        entries.push_back({".", attr::kDirectory, 0});
        entries.push_back({"..", attr::kDirectory, 0});
    }
    for (const std::string& key : KeysUnder(folderKey)) {
        if (FindCharacter(key, "\\", codePage_, folderKey.size() + 1) != std::string::npos)
            continue;
        const Node& node = nodes_.at(key);
        entries.push_back({mempath::Name(node.path, codePage_), node.status.attributes,
                           node.data.size(), node.reparseTag});
    }
    std::vector<FindEntry> matching;
    for (FindEntry& entry : entries) {
        if (mempath::Matches(entry.name, pattern, codePage_)) matching.push_back(std::move(entry));
    }
    return matching;
}
