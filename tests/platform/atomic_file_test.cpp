// A file replaced through AtomicFile holds either its old content or the
// complete new one, and no temporary file stays beside it, on every system:
// Windows renames over an existing file only when told to.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"

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

    std::string PathOf(const char* name) const { return (folder_ / name).string(); }

    static std::string Content(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
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

} // namespace
