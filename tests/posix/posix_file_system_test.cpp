// PosixFileSystem under the shared contract (file_system_contract_test.cpp),
// and what POSIX does its own way: modes, links, FIFOs, times outside
// 1970-2038, new status for a file in use.

#include "posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "tests/posix/temp_folder.h"
#include "tests/support/file_system_contract.h"

namespace {

class PosixRig : public ContractRig {
  public:
    FileSystem& Fs() override { return fs; }
    std::string In(const std::string& name) const override { return dir / name; }
    bool MakeFolder(const std::string& path) override {
        return ::mkdir(fs.PosixPath(path).c_str(), 0700) == 0;
    }
    bool Link(const std::string& existing, const std::string& path) override {
        return ::link(fs.PosixPath(existing).c_str(), fs.PosixPath(path).c_str()) == 0;
    }
    // No creation time and no hidden bit on POSIX.
    ContractLimits Limits() const override {
        ContractLimits limits;
        limits.keepsCreationTime = false;
        limits.keptAttributes = attr::kReadOnly | attr::kArchive;
        limits.keepsMode = true;
        return limits;
    }

  private:
    TempFolder dir;
    PosixFileSystem fs;
};

class PosixFileSystemTest : public ::testing::Test {
  protected:
    void WriteText(const std::string& name, const std::string& text) {
        std::unique_ptr<File> file = fs.Create(dir / name);
        ASSERT_TRUE(file && file->Write(text.data(), text.size()) && file->Close()) << name;
    }

    mode_t ModeOf(const std::string& name) {
        struct stat s;
        EXPECT_EQ(::lstat(dir.Posix(name).c_str(), &s), 0) << name;
        return s.st_mode & 07777;
    }

    TempFolder dir;
    PosixFileSystem fs;
};

// Read-only takes every write bit and gives back the owner's alone; no
// other bit changes, so a private file stays private. SetStatus, which sets
// the mode through a descriptor when it can open the file, gives the same.
TEST_F(PosixFileSystemTest, ModesStayPrivateAndKeepTheirOtherBits) {
    WriteText("new.txt", "secret");
    EXPECT_EQ(ModeOf("new.txt") & 077, 0u);  // a new file is its owner's alone
    const struct {
        mode_t before;
        uint32_t attributes;
        mode_t after;
    } cases[] = {
        {0640, attr::kReadOnly | attr::kArchive, 0440},
        {0440, attr::kArchive, 0640},
        {0666, attr::kReadOnly, 0444},
        {0444, 0, 0644},
        {0600, attr::kHidden | attr::kSystem, 0600},
        {0200, attr::kReadOnly, 0000},  // unreadable but to root: SetStatus goes by the path
        {0000, attr::kArchive, 0200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        ASSERT_EQ(::chmod(dir.Posix("new.txt").c_str(), c.before), 0);
        ASSERT_TRUE(fs.SetAttributes(dir / "new.txt", c.attributes));
        EXPECT_EQ(ModeOf("new.txt"), c.after);
        ASSERT_EQ(::chmod(dir.Posix("new.txt").c_str(), c.before), 0);
        ASSERT_TRUE(fs.SetStatus(dir / "new.txt", FileStatus{0, 0, 0, c.attributes, 0}));
        EXPECT_EQ(ModeOf("new.txt"), c.after);
    }
    ASSERT_EQ(::mkdir(dir.Posix("sub").c_str(), 0750), 0);
    ASSERT_TRUE(fs.SetAttributes(dir / "sub", attr::kDirectory | attr::kReadOnly));
    ASSERT_TRUE(
        fs.SetStatus(dir / "sub", FileStatus{0, 0, 0, attr::kDirectory | attr::kReadOnly, 0}));
    EXPECT_EQ(ModeOf("sub"), 0750u);  // a folder's permissions are not the seam's
}

// As in the in-memory file system the job's tests run on: a file in use takes
// no new status, whichever FileSystem of the process holds it.
TEST_F(PosixFileSystemTest, FileInUseTakesNoNewStatus) {
    WriteText("held.txt", "held");
    const FileStatus times{0, 129752928000000000, 129752928000000000, 0};
    PosixFileSystem other;
    for (const bool reading : {true, false}) {
        SCOPED_TRACE(reading ? "OpenRead" : "OpenReadWrite");
        const std::unique_ptr<File> held =
            reading ? fs.OpenRead(dir / "held.txt") : fs.OpenReadWrite(dir / "held.txt");
        ASSERT_TRUE(held);
        EXPECT_FALSE(fs.SetStatus(dir / "held.txt", times));
        EXPECT_FALSE(other.SetStatus(dir / "held.txt", times));
        EXPECT_EQ(other.OpenRead(dir / "held.txt") != nullptr, reading);
    }
    EXPECT_TRUE(fs.SetStatus(dir / "held.txt", times));
}

// The last-write time stands in for the creation time POSIX does not keep.
TEST_F(PosixFileSystemTest, TimesKeepTheirMicrosecondsBefore1970AndAfter2038) {
    WriteText("times.txt", "");
    for (const uint64_t time : {113419872000000010ull,     // 1960
                                129752928000000010ull,     // 2012
                                138691872000000010ull}) {  // 2040
        SCOPED_TRACE(time);
        ASSERT_TRUE(fs.SetStatus(dir / "times.txt", FileStatus{0, time + 20, time, 0}));
        FileStatus found;
        ASSERT_TRUE(fs.GetStatus(dir / "times.txt", &found));
        EXPECT_EQ(found.lastWriteTime, time);
        EXPECT_EQ(found.lastAccessTime, time + 20);
        EXPECT_EQ(found.creationTime, time);
    }
}

// A link is a reparse point with what it leads to, so the walk can tell a
// link to a folder; Create does not write through one, even one to nothing.
TEST_F(PosixFileSystemTest, LinksAreListedAsReparsePointsAndNotWrittenThrough) {
    WriteText("five.txt", "12345");
    ASSERT_EQ(::mkdir(dir.Posix("sub").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("five.txt", dir.Posix("to-file").c_str()), 0);
    ASSERT_EQ(::symlink("sub", dir.Posix("to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("gone", dir.Posix("to-nothing").c_str()), 0);
    std::unique_ptr<Finder> finder = fs.Find(dir / "to-*");
    ASSERT_TRUE(finder);
    std::map<std::string, FindEntry> found;
    FindEntry entry;
    while (finder->Next(&entry)) found[entry.name] = entry;
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(found["to-file"].attributes, attr::kReparsePoint | attr::kArchive);
    EXPECT_EQ(found["to-file"].size, 5u);
    EXPECT_EQ(found["to-folder"].attributes, attr::kReparsePoint | attr::kDirectory);
    EXPECT_EQ(found["to-nothing"].attributes, attr::kReparsePoint);

    EXPECT_FALSE(fs.Create(dir / "to-nothing"));
    EXPECT_NE(::access(dir.Posix("to-nothing").c_str(), F_OK), 0);  // "gone" was not made
    // A job overwrites what it opens for writing: never a link's target.
    EXPECT_FALSE(fs.OpenReadWrite(dir / "to-file"));
    EXPECT_TRUE(fs.OpenRead(dir / "to-file"));
}

// Another program saved a new file in the name's place (by rename, as
// editors do): the handle renames and removes nothing but its own file.
TEST_F(PosixFileSystemTest, AHandleLeavesTheFileThatTookItsName) {
    WriteText("a.txt", "read");
    WriteText("saved.txt", "new version");
    std::unique_ptr<File> file = fs.OpenReadWrite(dir / "a.txt");
    ASSERT_TRUE(file);
    ASSERT_EQ(::rename(dir.Posix("saved.txt").c_str(), dir.Posix("a.txt").c_str()), 0);
    EXPECT_FALSE(file->Rename(dir / "b.txt").renamed);
    EXPECT_FALSE(file->Remove());
    std::unique_ptr<File> kept = fs.OpenRead(dir / "a.txt");
    char text[16] = {};
    size_t got = 0;
    ASSERT_TRUE(kept && kept->Read(text, sizeof text, &got));
    EXPECT_EQ(std::string(text, got), "new version");
    EXPECT_NE(::access(dir.Posix("b.txt").c_str(), F_OK), 0);
}

// Names the worker spells in a Windows code page are UTF-8 on disk, and back.
// A listed name the code page cannot spell, or one holding '\', comes with
// '?' as Windows lists it; no look-alike ever stands in (Yen is 0x5C in 932).
TEST(PosixNames, CodePageOnTheWorkerSideUtf8OnDisk) {
    const struct {
        int codePage;
        std::string onDisk, listed;
        bool created;  // Create with the listed name makes onDisk
    } rows[] = {
        {1252, "caf\xc3\xa9.txt", "caf\xe9.txt", true},
        {932, "\xe3\x82\xbd\xe3\x83\x95\xe3\x83\x88.txt", "\x83\x5c\x83\x74\x83\x67.txt", true},
        {932, "\xe3\x83\x9d|.doc", "\x83\x7c|.doc", true},
        {936, "\xe4\xb8\xad.txt", "\xd6\xd0.txt", true},
        {949, "\xed\x95\x9c.txt", "\xc7\xd1.txt", true},
        {950, "\xe5\x8a\x9f.txt", "\xa5\x5c.txt", true},
        {932,
         "a\xc2\xa5"
         "b",
         "a?b", false},
        {932, "caf\xc3\xa9", "caf?", false},
        {1252, "x\\y", "x?y", false},
        {1252, "\xe3\x82\xbd", "?", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.codePage) + " " + row.onDisk);
        TempFolder dir;
        PosixFileSystem fs(row.codePage);
        ASSERT_EQ(::close(::creat(dir.Posix(row.onDisk).c_str(), 0600)), 0);
        std::unique_ptr<Finder> finder = fs.Find(dir / "*");
        FindEntry entry;
        std::vector<std::string> names;
        while (finder && finder->Next(&entry)) {
            if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
        }
        EXPECT_EQ(names, std::vector<std::string>{row.listed});
        if (!row.created) continue;
        EXPECT_TRUE(fs.Delete(dir / row.listed));
        std::unique_ptr<File> file = fs.Create(dir / row.listed);
        ASSERT_TRUE(file && file->Close());
        EXPECT_EQ(::access(dir.Posix(row.onDisk).c_str(), F_OK), 0);
    }
    // Bytes that are no text in the code page name no file.
    PosixFileSystem fs(932);
    TempFolder dir;
    EXPECT_FALSE(fs.Create(dir / "\x83.txt"));
}

// A FIFO or device is no file to encrypt, and opening one must not wait
// for a writer that never comes.
TEST_F(PosixFileSystemTest, OnlyRegularFilesOpen) {
    ASSERT_EQ(::mkfifo(dir.Posix("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(fs.OpenRead(dir / "fifo"));
    EXPECT_FALSE(fs.OpenReadWrite(dir / "fifo"));
    EXPECT_FALSE(fs.OpenRead("\\dev\\null"));
}

}  // namespace

std::unique_ptr<ContractRig> MakeContractRig() { return std::make_unique<PosixRig>(); }
