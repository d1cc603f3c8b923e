#include "tests/support/memory_file_system.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// "name attributes size" for each entry, or "refused" when Find gives nullptr.
std::vector<std::string> Listing(FileSystem& fs, const std::string& pattern) {
    std::unique_ptr<Finder> finder = fs.Find(pattern);
    if (!finder) return {"refused"};
    std::vector<std::string> lines;
    FindEntry entry;
    while (finder->Next(&entry)) {
        lines.push_back(entry.name + " " + std::to_string(entry.attributes) + " " +
                        std::to_string(entry.size));
    }
    return lines;
}

class MemoryFileSystemTest : public ::testing::Test {
  protected:
    MemoryFileSystem fs;
};

TEST_F(MemoryFileSystemTest, NamesIgnoreCaseAndKeepTheirFolderSpelling) {
    fs.AddFile("C:\\Data\\Notes.TXT", Bytes("abc"));
    EXPECT_TRUE(fs.IsFolder("c:\\DATA\\"));
    EXPECT_TRUE(fs.IsFolder("D:\\"));
    EXPECT_EQ(fs.Contents("c:\\data\\notes.txt"), Bytes("abc"));
    EXPECT_FALSE(fs.Exists("C:\\Data\\Notes"));
    ASSERT_TRUE(fs.Move("c:\\data\\notes.txt", "C:\\DATA\\Renamed.txt"));
    EXPECT_EQ(fs.AllPaths(), (Paths{"C:\\Data", "C:\\Data\\Renamed.txt"}));
    ASSERT_TRUE(fs.Move("C:\\data\\renamed.txt", "C:\\data\\RENAMED.txt"));  // case only
    EXPECT_EQ(fs.AllPaths(), (Paths{"C:\\Data", "C:\\Data\\RENAMED.txt"}));
}

TEST_F(MemoryFileSystemTest, AnOpenFileIsHeldByItsHandleAlone) {
    fs.AddFile("C:\\d\\a", Bytes("abc"));
    for (bool create : {false, true}) {
        SCOPED_TRACE(create ? "Create" : "OpenReadWrite");
        if (create) {
            ASSERT_TRUE(fs.Delete("C:\\d\\a"));  // Create makes new files only
        }
        std::unique_ptr<File> held = create ? fs.Create("C:\\d\\a") : fs.OpenReadWrite("C:\\d\\a");
        ASSERT_TRUE(held);
        EXPECT_EQ(fs.OpenHandleCount(), 1);
        EXPECT_FALSE(fs.OpenReadWrite("c:\\D\\A"));
        EXPECT_FALSE(fs.Create("C:\\d\\a"));
        EXPECT_FALSE(fs.Delete("C:\\d\\a"));
        EXPECT_FALSE(fs.Move("C:\\d\\a", "C:\\d\\b"));
        EXPECT_FALSE(fs.Move("C:\\d", "C:\\e"));
        EXPECT_FALSE(fs.SetStatus("C:\\d\\a", MemoryFileSystem::kDefaultTimes));
        char byte = 0;
        size_t got = 0;
        EXPECT_EQ(held->Read(&byte, 1, &got), !create);  // Create gives a write-only handle
    }
    EXPECT_EQ(fs.OpenHandleCount(), 0);  // destroying a handle released it
    EXPECT_TRUE(fs.Delete("C:\\d\\a"));
}

TEST_F(MemoryFileSystemTest, ReadOnlyHiddenAndSystemFilesResistOverwriting) {
    fs.AddFile("C:\\r", Bytes("keep"), attr::kReadOnly | attr::kArchive);
    fs.AddFile("C:\\h", Bytes("keep"), attr::kHidden);
    EXPECT_FALSE(fs.OpenReadWrite("C:\\r"));
    EXPECT_FALSE(fs.Create("C:\\r"));
    EXPECT_FALSE(fs.Delete("C:\\r"));
    EXPECT_FALSE(fs.Create("C:\\h"));
    EXPECT_EQ(fs.Contents("C:\\r"), Bytes("keep"));
    EXPECT_EQ(fs.Contents("C:\\h"), Bytes("keep"));
    ASSERT_TRUE(fs.Move("C:\\r", "C:\\moved"));
    EXPECT_EQ(fs.Status("C:\\moved").attributes, attr::kReadOnly | attr::kArchive);
    EXPECT_TRUE(fs.OpenReadWrite("C:\\h"));
    const std::unique_ptr<File> reader = fs.OpenRead("C:\\moved");
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->Write("x", 1));
}

TEST_F(MemoryFileSystemTest, CreateMoveAndDeleteRefuseWhatWindowsRefuses) {
    fs.AddFile("C:\\d\\a", Bytes("a"));
    fs.AddFile("C:\\d\\b", Bytes("b"));
    EXPECT_FALSE(fs.Create("C:\\missing\\x"));
    EXPECT_FALSE(fs.Create("C:\\D"));
    EXPECT_FALSE(fs.Delete("C:\\d"));
    EXPECT_FALSE(fs.Move("C:\\d\\a", "c:\\D\\B"));
    EXPECT_FALSE(fs.Move("C:\\d\\a", "C:\\missing\\a"));
    EXPECT_FALSE(fs.Move("C:\\d", "C:\\d\\inside"));
    EXPECT_EQ(fs.AllPaths(), (Paths{"C:\\d", "C:\\d\\a", "C:\\d\\b"}));
    EXPECT_EQ(fs.Contents("C:\\d\\b"), Bytes("b"));
    EXPECT_FALSE(fs.Create("C:\\d\\b"));  // no file is replaced
    EXPECT_EQ(fs.Contents("C:\\d\\b"), Bytes("b"));
}

TEST_F(MemoryFileSystemTest, WritesFillGapsWithZerosAndTickTheClock) {
    std::unique_ptr<File> file = fs.Create("C:\\f");
    const uint64_t created = fs.Status("C:\\f").lastWriteTime;
    ASSERT_TRUE(file->Write("ab", 2));
    const uint64_t firstWrite = fs.Status("C:\\f").lastWriteTime;
    ASSERT_TRUE(file->Seek(5));
    ASSERT_TRUE(file->Write("c", 1));
    uint64_t length = 0;
    ASSERT_TRUE(file->Length(&length));
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(fs.Contents("C:\\f"), (std::vector<uint8_t>{'a', 'b', 0, 0, 0, 'c'}));
    EXPECT_LT(created, firstWrite);
    EXPECT_LT(firstWrite, fs.Status("C:\\f").lastWriteTime);
}

TEST_F(MemoryFileSystemTest, AWriteBeyondCapacityWritesWhatFitsAndFails) {
    fs.AddFile("C:\\other", Bytes("123456"));
    fs.SetCapacity(10);
    fs.RecordWrites(true);
    std::unique_ptr<File> file = fs.Create("C:\\f");
    EXPECT_FALSE(file->Write("abcdefgh", 8));
    EXPECT_EQ(fs.Contents("C:\\f"), Bytes("abcd"));
    ASSERT_EQ(fs.Writes().size(), 1u);
    EXPECT_EQ(fs.Writes()[0].bytes, Bytes("abcd"));
    ASSERT_TRUE(file->Seek(1));
    EXPECT_TRUE(file->Write("XYZ", 3));  // overwriting takes no room
    EXPECT_EQ(fs.Contents("C:\\f"), Bytes("aXYZ"));
}

TEST_F(MemoryFileSystemTest, FailCallNumbersEveryCallAndFiresOnce) {
    fs.AddFile("C:\\a", Bytes("abc"));
    fs.FailCall(3, FsFault::AccessDenied);
    uint32_t attributes = 0;
    EXPECT_TRUE(fs.GetAttributes("C:\\a", &attributes));     // 1
    std::unique_ptr<File> file = fs.OpenReadWrite("C:\\a");  // 2
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->Write("X", 1));  // 3, and no effect
    EXPECT_TRUE(file->Close());         // 4
    EXPECT_EQ(fs.Contents("C:\\a"), Bytes("abc"));
    EXPECT_EQ(Listing(fs, "C:\\*"), (Paths{"a 32 3"}));  // 5, 6 and 7
    EXPECT_EQ(fs.CallCount(), 7u);
    EXPECT_TRUE(fs.Delete("C:\\a"));
}

TEST_F(MemoryFileSystemTest, FailOpCountsOneKindAndShapesTheFailure) {
    fs.AddFile("C:\\a", Bytes("abcdefgh"));
    fs.FailOp(FsOp::Write, 2, FsFault::DiskFull);
    fs.FailOp(FsOp::Read, 1, FsFault::ShortRead);
    fs.FailOp(FsOp::Read, 2, FsFault::AccessDenied);
    fs.FailOp(FsOp::Close, 1, FsFault::AccessDenied);
    std::unique_ptr<File> file = fs.OpenReadWrite("C:\\a");
    char buffer[8] = {};
    size_t got = 0;
    EXPECT_TRUE(file->Read(buffer, 5, &got));
    EXPECT_EQ(got, 2u);
    EXPECT_FALSE(file->Read(buffer, 5, &got));
    EXPECT_TRUE(file->Seek(0));
    EXPECT_TRUE(file->Write("12", 2));
    EXPECT_FALSE(file->Write("3456", 4));  // writes "34", then fails
    EXPECT_TRUE(file->Write("7", 1));
    EXPECT_FALSE(file->Close());
    EXPECT_EQ(fs.OpenHandleCount(), 0);
    EXPECT_EQ(fs.Contents("C:\\a"), Bytes("12347fgh"));
}

TEST_F(MemoryFileSystemTest, FindListsDotsThenEntriesInNameOrder) {
    fs.AddFile("C:\\d\\b.txt", Bytes("12345"), attr::kHidden);
    fs.AddFile("C:\\d\\A.txt", Bytes("1"));
    fs.AddFile("C:\\d\\c\\inner", Bytes("x"));
    fs.AddFolder("C:\\d x");  // sorts between "C:\d" and what is inside it
    EXPECT_EQ(Listing(fs, "c:\\D\\*"),
              (Paths{". 16 0", ".. 16 0", "A.txt 32 1", "b.txt 2 5", "c 16 0"}));
    EXPECT_EQ(Listing(fs, "C:\\*"), (Paths{"d 16 0", "d x 16 0"}));
    EXPECT_EQ(Listing(fs, "C:\\d\\B*"), (Paths{"b.txt 2 5"}));
    EXPECT_EQ(Listing(fs, "C:\\d\\z*"), Paths{});
    EXPECT_EQ(Listing(fs, "C:\\missing\\*"), (Paths{"refused"}));
    fs.DenyListing("C:\\D\\c");
    EXPECT_EQ(Listing(fs, "C:\\d\\c\\*"), (Paths{"refused"}));
}

TEST_F(MemoryFileSystemTest, JournalKeepsWritesAndFlushesUnderTheOpenedPath) {
    fs.AddFile("C:\\F.bin", Bytes("0000"));
    fs.OpenReadWrite("C:\\F.bin")->Write("x", 1);
    fs.RecordWrites(true);
    std::unique_ptr<File> file = fs.OpenReadWrite("c:\\f.bin");
    ASSERT_TRUE(file->Seek(1));
    ASSERT_TRUE(file->Write("ab", 2));
    ASSERT_TRUE(file->Flush());
    ASSERT_EQ(fs.Writes().size(), 1u);
    EXPECT_EQ(fs.Writes()[0].path, "c:\\f.bin");
    EXPECT_EQ(fs.Writes()[0].offset, 1u);
    EXPECT_EQ(fs.Writes()[0].bytes, Bytes("ab"));
    EXPECT_EQ(fs.Flushes(), (Paths{"c:\\f.bin"}));
}

}  // namespace
