// A file replaced through AtomicFile holds either its old content or the
// complete new one, and no temporary file stays beside it, on every system:
// Windows renames over an existing file only when told to, names files in
// UTF-16 and locks no folder.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "platform/FileReplacement.h"

namespace {

namespace fs = std::filesystem;
using talver::AtomicFile;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("talver-atomic-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Paths in UTF-8, as the program has them on every system.
    std::string PathOf(const std::string& name) const
    {
        const std::u8string folder = folder_.u8string();
        return std::string(folder.begin(), folder.end()) + "/" + name;
    }

    static fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string Content(const std::string& path)
    {
        std::ifstream in(Native(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(Native(path), std::ios::binary) << text;
    }

    // Files in the folder: the replaced one and any temporary file left.
    int FileCount() const
    {
        return static_cast<int>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

// One file finished and put in place, as a run does with its set of outputs.
bool Commit(AtomicFile& file, std::string& error)
{
    const AtomicFile* failed = nullptr;
    return file.Finish(error) && ReplaceTogether({&file}, error, failed);
}

TEST_F(AtomicFileTest, CommitReplacesAnExistingFileByteForByte)
{
    const std::string path = PathOf("report.txt");
    Write(path, "the earlier report\n");
    AtomicFile file(path);
    std::string error;
    ASSERT_TRUE(file.Open(error)) << error;
    // Line ends and a byte that ends text files on some systems stay as written.
    const std::string text = "line one\nline two\r\n\x1a after\n";
    std::fwrite(text.data(), 1, text.size(), file.Stream());
    EXPECT_EQ(Content(path), "the earlier report\n");
    ASSERT_TRUE(Commit(file, error)) << error;
    EXPECT_EQ(Content(path), text);
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(AtomicFileTest, DiscardAndDestructionKeepTheEarlierFile)
{
    const std::string path = PathOf("report.txt");
    Write(path, "kept\n");
    {
        AtomicFile file(path);
        std::string error;
        ASSERT_TRUE(file.Open(error)) << error;
        std::fputs("half a report", file.Stream());
        EXPECT_EQ(FileCount(), 2);
        file.Discard();
        EXPECT_EQ(FileCount(), 1);
        ASSERT_TRUE(file.Open(error)) << error;
        std::fputs("half a report", file.Stream());
    }
    EXPECT_EQ(Content(path), "kept\n");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(AtomicFileTest, TwoOpenFilesOfOnePathDoNotMix)
{
    const std::string path = PathOf("report.txt");
    AtomicFile first(path);
    AtomicFile second(path);
    std::string error;
    ASSERT_TRUE(first.Open(error)) << error;
    ASSERT_TRUE(second.Open(error)) << error;
    std::fputs("first\n", first.Stream());
    std::fputs("second\n", second.Stream());
    ASSERT_TRUE(Commit(second, error)) << error;
    ASSERT_TRUE(Commit(first, error)) << error;
    EXPECT_EQ(Content(path), "first\n");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(AtomicFileTest, AMissingFolderIsRefusedWithAReason)
{
    AtomicFile file(PathOf("no such folder/report.txt"));
    std::string error;
    EXPECT_FALSE(file.Open(error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FileCount(), 0);
}

TEST_F(AtomicFileTest, NamesOutsideAsciiAreKeptAsTheyAre)
{
    // "Bericht-ü€-測.txt" in UTF-8: Latin-1, outside Latin-1, outside the
    // basic plane of any single-byte code page.
    const std::string name = "Bericht-\xC3\xBC\xE2\x82\xAC-\xE6\xB8\xAC.txt";
    const std::string path = PathOf(name);
    Write(path, "earlier\n");
    AtomicFile file(path);
    std::string error;
    ASSERT_TRUE(file.Open(error)) << error;
    std::fputs("new\n", file.Stream());
    ASSERT_TRUE(Commit(file, error)) << error;
    EXPECT_EQ(Names(), std::vector<std::string>{name});
    EXPECT_EQ(Content(path), "new\n");
}

TEST_F(AtomicFileTest, OpeningRemovesOnlyTheTemporariesOfEndedProcesses)
{
    // No process has this id, on any system: beyond the largest Linux allows,
    // and a multiple of four, as the ids of Windows are.
    const std::string ended = "2147483644";
    const std::string self = std::to_string(talver::CurrentProcessId());
    const std::vector<std::string> stale = {".report.txt.tmp-" + ended + "-a1b2c3"};
    // Kept: this process's own (it may have the file open), another file's,
    // and names of no temporary file of this program.
    const std::vector<std::string> kept = {".other.txt.tmp-" + ended + "-d4e5f6", ".report.txt.tmp-" + self + "-g7h8i9",
                                           ".report.txt.tmp-abcdef", ".report.txt.tmp-" + ended + "-toolong",
                                           "report.txt"};
    for (const std::vector<std::string>* names : {&stale, &kept}) {
        for (const std::string& name : *names) {
            Write(PathOf(name), "left\n");
        }
    }
    AtomicFile file(PathOf("report.txt"));
    std::string error;
    ASSERT_TRUE(file.Open(error)) << error;
    file.Discard();
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);
}

TEST_F(AtomicFileTest, ATemporaryOlderThanTheProcessOfItsIdIsLeftOver)
{
    const std::string path = PathOf(".report.txt.tmp-1-abcdef");
    Write(path, "left\n");
    const long long self = talver::CurrentProcessId();
    EXPECT_FALSE(talver::LeftByEndedProcess(self, path));
    // Written long before this process started: the id was another's then.
    fs::last_write_time(Native(path), fs::last_write_time(Native(path)) - std::chrono::hours(24 * 365 * 5));
    EXPECT_TRUE(talver::LeftByEndedProcess(self, path));
    EXPECT_TRUE(talver::LeftByEndedProcess(2147483644, path));
}

TEST_F(AtomicFileTest, TheFolderLockMakesASecondHolderWait)
{
    std::atomic<bool> secondHolds{false};
    std::thread second;
    {
        const talver::FolderLock first(PathOf(""));
        second = std::thread([&] {
            // The same folder, spelled otherwise.
            const talver::FolderLock lock(PathOf("") + "/.");
            secondHolds = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(secondHolds);
    }
    second.join();
    EXPECT_TRUE(secondHolds);
}

} // namespace
