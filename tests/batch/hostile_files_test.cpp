// Files and counts that talver-batch must survive: data files written by other
// systems or not data at all, report paths that cannot be written, and counts
// beyond what the memory holds. Each run ends with a report or with a message
// that says what to fix.

#include "batch_support.h"
#include "support/time_limits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>


namespace {

constexpr int kTimeLimitSeconds = 60;

class HostileFilesTest : public ::testing::Test {
protected:
    HostileFilesTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", ScoreText(40, 4, 1));
        folder_.Write("replica.dat", ScoreText(30, 4, 2));
    }

    // The small samples with the item difficulties only, plus `extra`.
    BatchRun Run(const std::vector<std::string>& extra)
    {
        std::vector<std::string> arguments = {"--target-count", "40",          "--replication-count", "30",
                                              "--items",        "4",           "--factors",           "1",
                                              "--no-discriminations",          "--no-residual-variances",
                                              "--no-difficulty-fit",           "--no-congruence",
                                              "--no-discrepancy"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunBatch(folder_.Path(""), arguments, "", kTimeLimitSeconds);
    }

    std::string Report(const std::string& name = "output.txt") { return ReadFile(folder_.Path(name)); }

    // The report from its first table on, which names no file.
    std::string Tables(const std::string& name = "output.txt")
    {
        const std::string report = Report(name);
        const std::size_t start = report.find("ITEM DIFFICULTIES");
        const std::size_t end = report.find("TALVER completed");
        return start == std::string::npos || end == std::string::npos ? "" : report.substr(start, end - start);
    }

    ScratchFolder folder_;
};

// Plain text turned into what other systems write: a byte-order mark, Windows
// line ends, tabs, numbers in exponent form and no line end at the very end.
std::string AsWrittenElsewhere(const std::string& plain)
{
    std::string text = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c == '\n') {
            text += i + 1 == plain.size() ? "" : "\r\n";
        } else if (c == ' ') {
            text += '\t';
        } else {
            text += std::string(1, c) + "e0";
        }
    }
    return text;
}

TEST_F(HostileFilesTest, FilesWrittenByOtherSystemsReadAlike)
{
    ASSERT_EQ(Run({"--output", "plain.txt"}).exitStatus, 0);
    folder_.Write("target.dat", AsWrittenElsewhere(ScoreText(40, 4, 1)));
    folder_.Write("replica.dat", AsWrittenElsewhere(ScoreText(30, 4, 2)));
    const BatchRun run = Run({"--output", "other.txt"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    ASSERT_NE(Tables("plain.txt"), "");
    EXPECT_EQ(Tables("other.txt"), Tables("plain.txt"));
}

TEST_F(HostileFilesTest, LargeSamplesAreReadQuickly)
{
    folder_.Write("target.dat", ScoreText(100000, 50, 3));
    folder_.Write("replica.dat", ScoreText(1000, 50, 4));
    const auto start = std::chrono::steady_clock::now();
    const BatchRun run = RunBatch(folder_.Path(""),
                                  {"--target-count", "100000", "--replication-count", "1000", "--items", "50",
                                   "--no-discriminations", "--no-residual-variances", "--no-difficulty-fit",
                                   "--no-congruence", "--no-discrepancy"},
                                  "", kTimeLimitSeconds);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(Report().find("  50     "), std::string::npos);
    EXPECT_LT(seconds, 10.0 * kTimeLimitFactor);
}

TEST_F(HostileFilesTest, WhatIsNoDataFileIsRefusedWithTheSampleReadingError)
{
    std::filesystem::create_directory(folder_.Path("folder.dat"));
    folder_.Write("empty.dat", "");
    folder_.Write("binary.dat", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\x03\0>\0\x01\0\xff\xfe\n\t", 20) +
                                    std::string(300, '\x90'));
    std::vector<std::string> files = {"folder.dat", "empty.dat", "binary.dat"};
    if (geteuid() != 0) {
        // Permissions do not stop the superuser from reading.
        folder_.Write("unreadable.dat", ScoreText(40, 4, 1));
        std::filesystem::permissions(folder_.Path("unreadable.dat"), std::filesystem::perms::none);
        files.push_back("unreadable.dat");
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        BatchRun run = Run({"--target", file});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find("Error reading TARGET file!\n  "), std::string::npos) << run.errorOutput;
        run = Run({"--replication", file});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find("Error reading REPLICATION file!\n  "), std::string::npos) << run.errorOutput;
    }
    EXPECT_EQ(Report(), "");
}

TEST_F(HostileFilesTest, ReportThatCannotBeWrittenLeavesWhatWasThere)
{
    folder_.Write("earlier.txt", "an earlier report\n");
    // Paths that fail for the superuser too: below a file, and a folder.
    std::filesystem::create_directory(folder_.Path("reports"));
    folder_.Write("reports/kept.txt", "kept\n");
    for (const char* path : {"earlier.txt/output.txt", "missing/output.txt"}) {
        SCOPED_TRACE(path);
        const BatchRun run = Run({"--output", path});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find("The report file \"" + std::string(path) + "\" could not be opened for writing"),
                  std::string::npos)
            << run.errorOutput;
        EXPECT_EQ(run.errorOutput.find("Report written"), std::string::npos);
    }
    // A folder or a device is no report file; the run is refused before it computes.
    for (const char* path : {"reports", "/dev/full", "/dev/null"}) {
        SCOPED_TRACE(path);
        const BatchRun run = Run({"--output", path});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find("The report file \"" + std::string(path) + "\" is a "), std::string::npos)
            << run.errorOutput;
        EXPECT_NE(run.errorOutput.find(", not a regular file. Choose the name of a file to write."), std::string::npos);
    }
    EXPECT_EQ(Report("earlier.txt"), "an earlier report\n");
    EXPECT_EQ(Report("reports/kept.txt"), "kept\n");

    const BatchRun companion = Run({"--json", "reports"});
    EXPECT_EQ(companion.exitStatus, 2);
    EXPECT_NE(companion.errorOutput.find("The JSON file \"reports\" is a folder"), std::string::npos);
    EXPECT_EQ(Report("reports/kept.txt"), "kept\n");
    EXPECT_EQ(Report(), "");
}

TEST_F(HostileFilesTest, CountsBeyondTheMemoryAreRefusedBeforeAnythingIsRead)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--items", "100000"}, "The number of variables is too large: at most 5000 items can be analysed."},
        {{"--target-count", "2000000000"},
         "The Target Sample is too large: 2000000000 participants x 4 variables are more than the 134217728 values "
         "that a sample may hold in memory."},
        {{"--replication-count", "2147483647", "--items", "5000"},
         "The Replication Sample is too large: 2147483647 participants x 5000 variables"},
        // Within the limits, but more than the file can hold.
        {{"--target-count", "30000000"}, "too few for 30000000 rows of 4 numbers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto start = std::chrono::steady_clock::now();
        const BatchRun run = Run(c.arguments);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find(c.message), std::string::npos) << run.errorOutput;
        EXPECT_LT(seconds, 5.0);
    }
}

TEST_F(HostileFilesTest, WorkBeyondTheMemoryIsRefusedBeforeTheRun)
{
    // 5000 items are read, but 100 factors of them cannot be bootstrapped.
    folder_.Write("wide.dat", ScoreText(2, 5000, 5));
    BatchRun run = RunBatch(folder_.Path(""),
                            {"--target", "wide.dat", "--replication", "wide.dat", "--target-count", "2",
                             "--replication-count", "2", "--items", "5000", "--factors", "100", "--samples", "500"},
                            "", kTimeLimitSeconds);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The bootstrap samples of 5000 items with 100 factors/components do not fit in "
                                   "memory 500 times."),
              std::string::npos)
        << run.errorOutput;

    run = Run({"--dispersion", "polychoric", "--lowest", "-1000000"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Polychoric correlations cannot be computed for scores from -1000000 to 5: the "
                                   "tables of 1000006 categories for 4 items do not fit in memory."),
              std::string::npos)
        << run.errorOutput;
    EXPECT_EQ(Report(), "");
}

// A file that does not fit in the memory the process may use: the reading
// says how much it was reading and what to do, and the run ends with status 2.
// GCC names AddressSanitizer by a macro, clang by a feature.
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER 1
#endif
#endif

TEST_F(HostileFilesTest, AFileBeyondTheMemoryIsRefusedWithWhatToDo)
{
#if defined(UNDER_ADDRESS_SANITIZER)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#else
    // Some 5 bytes a kept cell and 8 a row's line number: 3 million rows of
    // 4 cells need about 84 MB.
    std::string text = "group,q1,q2,q3\n";
    text.reserve(text.size() + 8 * 3000000);
    for (int i = 0; i < 3000000; ++i) {
        const char row[] = {i % 2 ? 'a' : 'b', ',', static_cast<char>('1' + i % 5), ',',
                            static_cast<char>('1' + i % 3), ',', static_cast<char>('1' + i % 4), '\n'};
        text.append(row, sizeof row);
    }
    folder_.Write("large.csv", text);
    folder_.Write("output.txt", "an earlier report\n");
    // 40 MB of address space: the program starts in far less, and the file's
    // cells need more.
    const BatchRun run = RunBatch(folder_.Path(""),
                                  {"--data", "large.csv", "--group", "group", "--target-group", "a",
                                   "--replication-group", "b", "--items", "q1-q3", "--no-discriminations",
                                   "--no-congruence", "--no-discrepancy"},
                                  "ulimit -v 40000;", kTimeLimitSeconds);
    EXPECT_EQ(run.exitStatus, 2) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("not enough memory to read large.csv ("), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(" columns). Close other programs to free memory"), std::string::npos);
    EXPECT_EQ(Report(), "an earlier report\n");
#endif
}

} // namespace
