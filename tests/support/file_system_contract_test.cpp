// The FileSystem rules on real files, for every platform's implementation:
// each suite that compiles this file brings its own MakeContractRig.

#include "tests/support/file_system_contract.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// dir / "name": a path in the test's fresh folder.
struct FolderPaths {
    const ContractRig& rig;
    std::string operator/(const std::string& name) const { return rig.In(name); }
};

class FileSystemContract : public ::testing::Test {
  protected:
    void WriteText(const std::string& path, const std::string& text) {
        std::unique_ptr<File> file = fs.Create(path);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write(text.data(), text.size()));
        ASSERT_TRUE(file->Close());
    }

    std::string ReadText(const std::string& path) {
        std::unique_ptr<File> file = fs.OpenReadWrite(path);
        if (!file) return "<cannot open>";
        std::string text(64, '\0');
        size_t got = 0;
        if (!file->Read(&text[0], text.size(), &got)) return "<cannot read>";
        text.resize(got);
        return text;
    }

    std::unique_ptr<ContractRig> rig = MakeContractRig();
    FileSystem& fs = rig->Fs();
    const FolderPaths dir{*rig};
};

TEST_F(FileSystemContract, WriteSeekReadLengthAndNoReplacing) {
    const std::string path = dir / "data.bin";
    WriteText(path, "0123456789");
    std::unique_ptr<File> file = fs.OpenReadWrite(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Seek(2));
    ASSERT_TRUE(file->Write("ab", 2));
    ASSERT_TRUE(file->Seek(12));
    ASSERT_TRUE(file->Write("z", 1));
    uint64_t length = 0;
    ASSERT_TRUE(file->Length(&length));
    EXPECT_EQ(length, 13u);
    char tail[8] = {};
    size_t got = 0;
    ASSERT_TRUE(file->Seek(7));
    ASSERT_TRUE(file->Read(tail, sizeof tail, &got));
    EXPECT_EQ(std::string(tail, got), std::string("789\0\0z", 6));
    ASSERT_TRUE(file->Read(tail, sizeof tail, &got));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(file->Flush());
    ASSERT_TRUE(file->Close());
    EXPECT_FALSE(file->Close());
    EXPECT_EQ(ReadText(path), std::string("01ab456789\0\0z", 13));
    EXPECT_FALSE(fs.Create(path));  // a taken name is never replaced
    EXPECT_EQ(ReadText(path), std::string("01ab456789\0\0z", 13));
}

TEST_F(FileSystemContract, PositionsBeyondFourGiB) {
    const uint64_t beyond = (uint64_t(1) << 32) + 3;
    const std::string path = dir / "beyond.bin";
    {
        std::unique_ptr<File> file = fs.Create(path);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Seek(beyond));
        ASSERT_TRUE(file->Write("x", 1));
        uint64_t length = 0;
        ASSERT_TRUE(file->Length(&length));
        EXPECT_EQ(length, beyond + 1);
    }
    std::unique_ptr<File> file = fs.OpenReadWrite(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Seek(beyond));  // a lost high half would read from offset 3
    char byte[2] = {};
    size_t got = 0;
    ASSERT_TRUE(file->Read(byte, 2, &got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(byte[0], 'x');
}

// Readers share a file with readers only; a Create handle cannot read, an
// OpenRead one cannot write.
TEST_F(FileSystemContract, OpenFilesAreSharedWithNoOne) {
    const std::string path = dir / "held.txt";
    WriteText(path, "held");
    for (const std::string how : {"OpenReadWrite", "OpenRead", "Create"}) {
        SCOPED_TRACE(how);
        if (how == "Create") {
            ASSERT_TRUE(fs.Delete(path));  // Create makes new files only
        }
        std::unique_ptr<File> held = how == "Create"     ? fs.Create(path)
                                     : how == "OpenRead" ? fs.OpenRead(path)
                                                         : fs.OpenReadWrite(path);
        ASSERT_TRUE(held);
        EXPECT_FALSE(fs.OpenReadWrite(path));
        EXPECT_EQ(fs.OpenRead(path) != nullptr, how == "OpenRead");
        EXPECT_FALSE(fs.Create(path));
        EXPECT_FALSE(fs.Delete(path));
        EXPECT_FALSE(fs.Move(path, dir / "moved.txt"));
        char byte = 0;
        size_t got = 0;
        EXPECT_EQ(held->Read(&byte, 1, &got), how != "Create");
        EXPECT_EQ(held->Write("x", 1), how != "OpenRead");
    }
    EXPECT_TRUE(fs.OpenReadWrite(path));  // the destructors closed the handles
}

// A job's original is renamed and removed through the handle that read it,
// and no one else can open it under either name meanwhile.
TEST_F(FileSystemContract, AHandleRenamesAndRemovesItsOwnFile) {
    WriteText(dir / "a.txt", "original");
    WriteText(dir / "taken.txt", "other");
    std::unique_ptr<File> file = fs.OpenReadWrite(dir / "a.txt");
    ASSERT_TRUE(file);
    FileIdentity before, after;
    ASSERT_TRUE(file->Identify(&before));
    EXPECT_EQ(before.links, 1u);
    EXPECT_EQ(before.length, 8u);
    EXPECT_FALSE(file->Rename(dir / "taken.txt").renamed);
    EXPECT_EQ(ReadText(dir / "taken.txt"), "other");
    const MoveResult renamed = file->Rename(dir / "b.txt");
    EXPECT_TRUE(renamed.renamed && renamed.durable);
    uint32_t attributes = 0;
    EXPECT_FALSE(fs.GetAttributes(dir / "a.txt", &attributes));
    EXPECT_TRUE(fs.GetAttributes(dir / "b.txt", &attributes));
    EXPECT_FALSE(fs.OpenRead(dir / "b.txt"));
    ASSERT_TRUE(file->Identify(&after));
    EXPECT_TRUE(SameFileUnchanged(before, after));
    EXPECT_TRUE(file->StillNamed());
    EXPECT_TRUE(file->Remove());
    EXPECT_FALSE(file->Close());  // Remove closed it
    EXPECT_FALSE(fs.GetAttributes(dir / "b.txt", &attributes));
    EXPECT_EQ(ReadText(dir / "taken.txt"), "other");
}

// Hard links share one identity and count; another file has another one.
TEST_F(FileSystemContract, IdentityCountsNamesAndTellsFilesApart) {
    WriteText(dir / "a.txt", "shared");
    WriteText(dir / "c.txt", "shared");
    ASSERT_TRUE(rig->Link(dir / "a.txt", dir / "b.txt"));
    FileIdentity a, b, c;
    ASSERT_TRUE(fs.OpenReadWrite(dir / "a.txt")->Identify(&a));
    ASSERT_TRUE(fs.OpenReadWrite(dir / "b.txt")->Identify(&b));
    ASSERT_TRUE(fs.OpenReadWrite(dir / "c.txt")->Identify(&c));
    EXPECT_EQ(a.links, 2u);
    EXPECT_TRUE(SameFileUnchanged(a, b));
    EXPECT_EQ(c.links, 1u);
    EXPECT_FALSE(SameFileUnchanged(a, c));
    std::unique_ptr<File> file = fs.OpenReadWrite(dir / "a.txt");
    ASSERT_TRUE(file->Seek(6));
    ASSERT_TRUE(file->Write("!", 1));
    ASSERT_TRUE(file->Identify(&c));
    EXPECT_FALSE(SameFileUnchanged(a, c));  // longer now
}

TEST_F(FileSystemContract, ReadOnlyFileCannotBeDeletedButCanBeMoved) {
    const std::string path = dir / "locked.txt";
    WriteText(path, "keep");
    ASSERT_TRUE(fs.SetAttributes(path, attr::kReadOnly));
    EXPECT_FALSE(fs.Delete(path));
    ASSERT_TRUE(fs.Move(path, dir / "moved.txt"));
    ASSERT_TRUE(fs.SetAttributes(dir / "moved.txt", 0));
    EXPECT_EQ(ReadText(dir / "moved.txt"), "keep");
}

TEST_F(FileSystemContract, ReadOnlyFileCannotBeOpenedForWriting) {
    const std::string path = dir / "locked.txt";
    WriteText(path, "keep");
    ASSERT_TRUE(fs.SetAttributes(path, attr::kReadOnly));
    EXPECT_FALSE(fs.OpenReadWrite(path));
    // Readers share the file, and cannot write through their handles.
    const std::unique_ptr<File> reader = fs.OpenRead(path);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(fs.OpenRead(path));
    EXPECT_FALSE(reader->Write("x", 1));
}

// A folder is listed and moved, but never opened or deleted as a file.
TEST_F(FileSystemContract, FoldersAreNotFiles) {
    const std::string sub = dir / "sub";
    ASSERT_TRUE(rig->MakeFolder(sub));
    uint32_t attributes = 0;
    ASSERT_TRUE(fs.GetAttributes(sub, &attributes));
    EXPECT_TRUE(attributes & attr::kDirectory);
    EXPECT_FALSE(fs.OpenRead(sub));
    EXPECT_FALSE(fs.OpenReadWrite(sub));
    EXPECT_FALSE(fs.Create(sub));
    EXPECT_FALSE(fs.Delete(sub));
    EXPECT_TRUE(fs.GetAttributes(sub, &attributes));
}

TEST_F(FileSystemContract, StatusRoundTrip) {
    const ContractLimits limits = rig->Limits();
    const std::string path = dir / "status.txt";
    WriteText(path, "status");
    FileStatus wanted;
    wanted.creationTime = 130000000000000000;    // 2012
    wanted.lastAccessTime = 131000000000000000;  // 2016
    wanted.lastWriteTime = 130500000000000000;   // 2014
    wanted.attributes = attr::kReadOnly | attr::kHidden | attr::kArchive;
    wanted.mode = 04755;  // set-user-ID is never given
    ASSERT_TRUE(fs.SetStatus(path, wanted));
    if (limits.setsTimesOfReadOnlyFile) {
        wanted.lastWriteTime += 10000000;
        ASSERT_TRUE(fs.SetStatus(path, wanted));
    }
    FileStatus found;
    ASSERT_TRUE(fs.GetStatus(path, &found));
    EXPECT_EQ(found.lastWriteTime, wanted.lastWriteTime);
    EXPECT_EQ(found.lastAccessTime, wanted.lastAccessTime);
    EXPECT_EQ(found.attributes, wanted.attributes & limits.keptAttributes);
    if (limits.keepsCreationTime) {
        EXPECT_EQ(found.creationTime, wanted.creationTime);
    }
    EXPECT_EQ(found.mode, limits.keepsMode ? 0555u : 0u);  // read-only took the write bits

    ASSERT_TRUE(fs.SetStatus(path, FileStatus{0, 0, 0, 0}));
    uint32_t attributes = 0;
    ASSERT_TRUE(fs.GetAttributes(path, &attributes));
    EXPECT_EQ(attributes & (attr::kReadOnly | attr::kHidden), 0u);
    ASSERT_TRUE(fs.GetStatus(path, &found));
    EXPECT_EQ(found.lastWriteTime, wanted.lastWriteTime);  // 0 leaves a time as it is
    EXPECT_EQ(found.mode, limits.keepsMode ? 0755u : 0u);  // and the mode, the owner's write back
    EXPECT_FALSE(fs.GetStatus(dir / "missing.txt", &found));
    EXPECT_FALSE(fs.GetAttributes(dir / "missing.txt", &attributes));
    EXPECT_FALSE(fs.SetStatus(dir / "missing.txt", wanted));

    // Through handles, as an output takes its original's: set before the
    // flush, kept by the close.
    const std::string stamped = dir / "stamped.txt";
    std::unique_ptr<File> output = fs.Create(stamped);
    ASSERT_TRUE(output && output->Write("x", 1));
    ASSERT_TRUE(output->SetStatus(wanted));
    EXPECT_TRUE(output->Flush() && output->Close());
    FileStatus held;
    ASSERT_TRUE(fs.OpenRead(stamped)->GetStatus(&held));
    ASSERT_TRUE(fs.GetStatus(stamped, &found));
    EXPECT_EQ(held.lastWriteTime, wanted.lastWriteTime);
    EXPECT_EQ(found.lastWriteTime, wanted.lastWriteTime);
    EXPECT_EQ(held.attributes, wanted.attributes & limits.keptAttributes);
    EXPECT_EQ(found.attributes, held.attributes);
    EXPECT_EQ(held.mode, found.mode);
}

TEST_F(FileSystemContract, MoveRefusesAnExistingTarget) {
    WriteText(dir / "a.txt", "a");
    WriteText(dir / "b.txt", "b");
    EXPECT_FALSE(fs.Move(dir / "a.txt", dir / "b.txt"));
    EXPECT_EQ(ReadText(dir / "a.txt"), "a");
    EXPECT_EQ(ReadText(dir / "b.txt"), "b");
    ASSERT_TRUE(fs.Move(dir / "a.txt", dir / "c.txt"));
    EXPECT_EQ(ReadText(dir / "c.txt"), "a");
    uint32_t attributes = 0;
    EXPECT_FALSE(fs.GetAttributes(dir / "a.txt", &attributes));
    EXPECT_FALSE(fs.Move(dir / "a.txt", dir / "d.txt"));
}

TEST_F(FileSystemContract, FindListsEntriesAndTellsEmptyFromMissing) {
    WriteText(dir / "five.txt", "12345");
    ASSERT_TRUE(rig->MakeFolder(dir / "sub"));
    std::unique_ptr<Finder> finder = fs.Find(dir / "*");
    ASSERT_TRUE(finder);
    std::map<std::string, FindEntry> found;
    FindEntry entry;
    while (finder->Next(&entry)) found[entry.name] = entry;
    EXPECT_FALSE(finder->BrokeOff());
    ASSERT_EQ(found.size(), 4u);  // with "." and ".."
    EXPECT_TRUE(found["."].attributes & attr::kDirectory);
    EXPECT_TRUE(found[".."].attributes & attr::kDirectory);
    EXPECT_EQ(found["five.txt"].size, 5u);
    EXPECT_FALSE(found["five.txt"].attributes & attr::kDirectory);
    EXPECT_TRUE(found["sub"].attributes & attr::kDirectory);

    std::unique_ptr<Finder> empty = fs.Find(dir / "sub\\*");
    ASSERT_TRUE(empty);
    std::set<std::string> names;
    while (empty->Next(&entry)) names.insert(entry.name);
    EXPECT_EQ(names, (std::set<std::string>{".", ".."}));
    EXPECT_FALSE(empty->BrokeOff());
    EXPECT_FALSE(fs.Find(dir / "missing\\*"));
}

// The walk asks for "<folder>\*" and for single entries by their names.
TEST_F(FileSystemContract, FindMatchesTheLastPartOfItsPattern) {
    WriteText(dir / "five.txt", "12345");
    WriteText(dir / "fifty.bin", "");
    ASSERT_TRUE(rig->MakeFolder(dir / "fiv"));
    const struct {
        const char* pattern;
        std::set<std::string> names;
    } cases[] = {
        {"five.txt", {"five.txt"}},
        {"fiv", {"fiv"}},  // a name is not a prefix
        {"fi*", {"five.txt", "fifty.bin", "fiv"}},
        {"*.txt", {"five.txt"}},
        {"f?ve.*", {"five.txt"}},
        {"*i*t*", {"five.txt", "fifty.bin"}},
        {"*.none", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::unique_ptr<Finder> finder = fs.Find(dir / c.pattern);
        ASSERT_TRUE(finder);
        std::set<std::string> names;
        FindEntry entry;
        while (finder->Next(&entry)) names.insert(entry.name);
        EXPECT_EQ(names, c.names);
        EXPECT_FALSE(finder->BrokeOff());
    }
}

}  // namespace
