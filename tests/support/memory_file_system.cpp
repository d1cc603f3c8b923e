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
    Content& folder = Name(key, StoredPath(trimmed), true);
    folder.status = kDefaultTimes;
    folder.status.attributes = attr::kDirectory;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::vector<uint8_t>& bytes,
                               uint32_t attributes, const FileStatus& times) {
    const std::string trimmed = mempath::Trimmed(path, codePage_);
    const std::string key = mempath::Key(trimmed, codePage_);
    if (IsFolderKey(key)) throw std::invalid_argument("a folder is in the way of file " + path);
    AddFolder(mempath::Parent(trimmed, codePage_));
    Content& file = Name(key, StoredPath(trimmed), false);
    file.data = bytes;
    file.status = times;
    file.status.attributes = Normalized(false, attributes);
}

void MemoryFileSystem::DenyListing(const std::string& folder) {
    unlisted_.insert(mempath::Key(folder, codePage_));
}

void MemoryFileSystem::SetReparseTag(const std::string& path, uint32_t tag) {
    Content* found = ContentOf(mempath::Key(path, codePage_));
    if (!found) throw std::invalid_argument("no file or folder " + path);
    found->reparseTag = tag;
    found->status.attributes |= attr::kReparsePoint;
}

void MemoryFileSystem::AddLink(const std::string& existing, const std::string& path) {
    const auto held = Hold();
    const Node* node = Lookup(mempath::Key(existing, codePage_));
    const std::string key = mempath::Key(path, codePage_);
    if (!node || node->folder || Lookup(key)) throw std::invalid_argument("no link to " + path);
    nodes_[key] = {StoredPath(path), false, node->content};
}

void MemoryFileSystem::ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto held = Hold();
    const std::string key = mempath::Key(path, codePage_);
    const FileStatus status = ContentOf(key) ? ContentOf(key)->status : kDefaultTimes;
    Unname(key);
    AddFile(path, bytes, status.attributes, status);
    ContentOf(key)->status.lastWriteTime = Tick();
}

void MemoryFileSystem::AppendTo(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto held = Hold();
    Content* file = ContentOf(mempath::Key(path, codePage_));
    if (!file) throw std::invalid_argument("nothing to append to at " + path);
    file->data.insert(file->data.end(), bytes.begin(), bytes.end());
    file->status.lastWriteTime = Tick();
}

// What a new start finds after a crash: every name and its content, nothing
// open, and no content that only an open handle kept.
void MemoryFileSystem::CopyDisk(const MemoryFileSystem& other) {
    nodes_ = other.nodes_;
    contents_.clear();
    for (const auto& entry : nodes_) {
        Content& copy = contents_[entry.second.content] = other.contents_.at(entry.second.content);
        copy.open = false;
    }
    nextContent_ = other.nextContent_;
    unlisted_ = other.unlisted_;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
    const auto held = Hold();
    const std::string key = mempath::Key(path, codePage_);
    return mempath::IsDriveRoot(key) || Lookup(key) != nullptr;
}

bool MemoryFileSystem::IsFolder(const std::string& path) const {
    const auto held = Hold();
    return IsFolderKey(mempath::Key(path, codePage_));
}

std::vector<uint8_t> MemoryFileSystem::Contents(const std::string& path) const {
    const auto held = Hold();
    const Content* file = ContentOf(mempath::Key(path, codePage_));
    return file ? file->data : std::vector<uint8_t>();
}

FileStatus MemoryFileSystem::Status(const std::string& path) const {
    const auto held = Hold();
    const Content* file = ContentOf(mempath::Key(path, codePage_));
    return file ? file->status : FileStatus();
}

bool MemoryFileSystem::IsOpen(const std::string& path) const {
    const auto held = Hold();
    const Content* file = ContentOf(mempath::Key(path, codePage_));
    return file && file->open;
}

std::vector<std::string> MemoryFileSystem::AllPaths() const {
    const auto held = Hold();
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

MemoryFileSystem::Content* MemoryFileSystem::ContentOf(const std::string& key) {
    const Node* node = Lookup(key);
    return node ? &contents_.at(node->content) : nullptr;
}

const MemoryFileSystem::Content* MemoryFileSystem::ContentOf(const std::string& key) const {
    const Node* node = Lookup(key);
    return node ? &contents_.at(node->content) : nullptr;
}

MemoryFileSystem::Content& MemoryFileSystem::Name(const std::string& key, const std::string& path,
                                                  bool folder) {
    Node& node = nodes_[key];
    node.path = path;
    node.folder = folder;
    if (!node.content) node.content = nextContent_++;
    return contents_[node.content];
}

uint32_t MemoryFileSystem::LinksTo(uint64_t content) const {
    uint32_t links = 0;
    for (const auto& entry : nodes_) links += entry.second.content == content ? 1 : 0;
    return links;
}

// The name goes; its content with it unless another name or a handle keeps it.
void MemoryFileSystem::Unname(const std::string& key) {
    const Node* node = Lookup(key);
    if (!node) return;
    const uint64_t content = node->content;
    nodes_.erase(key);
    if (LinksTo(content) == 0 && !contents_.at(content).open) contents_.erase(content);
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
    const Content* file = ContentOf(key);
    if (file && file->open) return true;
    for (const std::string& under : KeysUnder(key)) {
        if (ContentOf(under)->open) return true;
    }
    return false;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& key, const std::string& path,
                                             FileAccess access) {
    const uint64_t content = nodes_.at(key).content;
    contents_.at(content).open = true;
    ++openHandles_;
    return std::make_unique<MemoryFile>(this, content, key, path, access);
}

// A file, not open, and not a link: links are never opened through.
bool MemoryFileSystem::OpensAsFile(const std::string& key) const {
    const Content* file = ContentOf(key);
    return file && !IsFolderKey(key) && !file->open &&
           !IsLink(file->status.attributes, file->reparseTag);
}

// Content whose names are all gone lives as long as its handle.
void MemoryFileSystem::Release(uint64_t content) {
    contents_.at(content).open = false;
    --openHandles_;
    if (LinksTo(content) == 0) contents_.erase(content);
}

uint64_t MemoryFileSystem::FreeBytes() const {
    uint64_t used = 0;
    for (const auto& entry : contents_) used += entry.second.data.size();
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
    const auto held = Hold();
    if (Fails(FsOp::GetAttributes)) return false;
    const std::string key = mempath::Key(path, codePage_);
    const Content* found = ContentOf(key);
    if (!found && !mempath::IsDriveRoot(key)) return false;
    *attributes = found ? found->status.attributes : attr::kDirectory;
    return true;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    const auto held = Hold();
    if (Fails(FsOp::SetAttributes)) return false;
    const std::string key = mempath::Key(path, codePage_);
    if (!Lookup(key)) return false;
    ContentOf(key)->status.attributes = Normalized(IsFolderKey(key), attributes);
    return true;
}

std::unique_ptr<File> MemoryFileSystem::OpenRead(const std::string& path) {
    const auto held = Hold();
    if (Fails(FsOp::OpenRead)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    if (!OpensAsFile(key)) return nullptr;
    return Open(key, path, FileAccess::kRead);
}

std::unique_ptr<File> MemoryFileSystem::OpenReadWrite(const std::string& path) {
    const auto held = Hold();
    if (Fails(FsOp::OpenReadWrite)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    if (!OpensAsFile(key)) return nullptr;
    if (ContentOf(key)->status.attributes & attr::kReadOnly) return nullptr;
    return Open(key, path, FileAccess::kReadWrite);
}

std::unique_ptr<File> MemoryFileSystem::Create(const std::string& path) {
    const auto held = Hold();
    if (Fails(FsOp::Create)) return nullptr;
    const std::string key = mempath::Key(path, codePage_);
    if (Lookup(key) || !IsFolderKey(mempath::Parent(key, codePage_))) return nullptr;
    const uint64_t now = Tick();
    Name(key, StoredPath(path), false).status = {now, now, now, attr::kArchive};
    return Open(key, path, FileAccess::kWrite);
}

bool MemoryFileSystem::GetStatus(const std::string& path, FileStatus* status) {
    const auto held = Hold();
    if (Fails(FsOp::GetStatus)) return false;
    const Content* found = ContentOf(mempath::Key(path, codePage_));
    if (!found) return false;
    *status = found->status;
    return true;
}

bool MemoryFileSystem::SetStatus(const std::string& path, const FileStatus& status) {
    const auto held = Hold();
    if (Fails(FsOp::SetStatus)) return false;
    const std::string key = mempath::Key(path, codePage_);
    Content* found = ContentOf(key);
    if (!found || found->open) return false;
    Apply(status, IsFolderKey(key), &found->status);
    return true;
}

void MemoryFileSystem::Apply(const FileStatus& status, bool folder, FileStatus* kept) {
    if (status.creationTime) kept->creationTime = status.creationTime;
    if (status.lastAccessTime) kept->lastAccessTime = status.lastAccessTime;
    if (status.lastWriteTime) kept->lastWriteTime = status.lastWriteTime;
    kept->attributes = Normalized(folder, status.attributes);
}

// Disk full renames, then cannot make the new name durable.
MoveResult MemoryFileSystem::Move(const std::string& from, const std::string& to) {
    const auto held = Hold();
    const std::optional<FsFault> fault = faults_.Next(FsOp::Move);
    if (fault && *fault != FsFault::DiskFull) return {};
    const std::string fromKey = mempath::Key(from, codePage_);
    if (!Lookup(fromKey) || HasOpenFileUnder(fromKey) || !CanTakeName(fromKey, to)) return {};
    Rename(fromKey, StoredPath(to));
    return {true, !fault};
}

// Only a change of case may keep the name; a folder cannot go inside itself.
bool MemoryFileSystem::CanTakeName(const std::string& fromKey, const std::string& to) const {
    const std::string toKey = mempath::Key(to, codePage_);
    if (toKey != fromKey && Exists(to)) return false;
    return IsFolderKey(mempath::Parent(toKey, codePage_)) && !IsUnder(toKey, fromKey);
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
    const auto held = Hold();
    if (Fails(FsOp::Delete)) return false;
    const std::string key = mempath::Key(path, codePage_);
    const Content* file = ContentOf(key);
    if (!file || IsFolderKey(key) || file->open) return false;
    if (file->status.attributes & attr::kReadOnly) return false;
    Unname(key);
    return true;
}

std::unique_ptr<Finder> MemoryFileSystem::Find(const std::string& pattern) {
    const auto held = Hold();
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
        const Content& content = contents_.at(node.content);
        entries.push_back({mempath::Name(node.path, codePage_), content.status.attributes,
                           content.data.size(), content.reparseTag});
    }
    std::vector<FindEntry> matching;
    for (FindEntry& entry : entries) {
        if (mempath::Matches(entry.name, pattern, codePage_)) matching.push_back(std::move(entry));
    }
    return matching;
}
