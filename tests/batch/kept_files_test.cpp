// No run destroys a file or leaves one behind: a run that is stopped, killed,
// cut off from its stderr, short of disk space or memory, or racing another
// run leaves either the earlier outputs or a complete new set, and no output
// path may name an input.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kTimeLimitSeconds = 60;
const std::string kEarlierReport = "an earlier report\n";
const std::string kEarlierJson = "{\"earlier\": true}\n";

class KeptFilesTest : public ::testing::Test {
protected:
    KeptFilesTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", ScoreText(300, 6, 1));
        folder_.Write("replica.dat", ScoreText(200, 6, 2));
        folder_.Write("good.txt", kEarlierReport);
        folder_.Write("good.json", kEarlierJson);
    }

    std::vector<std::string> Arguments(const std::vector<std::string>& extra) const
    {
        std::vector<std::string> arguments = {"--target-count", "300", "--replication-count", "200", "--items", "6"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }

    BatchRun Run(const std::vector<std::string>& extra, const std::string& environment = "")
    {
        return RunBatch(folder_.Path(""), Arguments(extra), environment, kTimeLimitSeconds);
    }

    std::string File(const std::string& name) const { return ReadFile(folder_.Path(name)); }

    // Files the test did not write itself: temporary files left behind.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path(""))) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(".", 0) == 0) {
                found.push_back(name);
            }
        }
        return found;
    }

    void ExpectEarlierFilesKept() const
    {
        EXPECT_EQ(File("good.txt"), kEarlierReport);
        EXPECT_EQ(File("good.json"), kEarlierJson);
    }

    ScratchFolder folder_;
};

// Waits until the run's stderr shows `text`, for at most 30 seconds.
bool AwaitOutput(const std::string& errorPath, const std::string& text)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
        if (ReadFile(errorPath).find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(KeptFilesTest, SignalMidBootstrapKeepsTheEarlierReportAndJson)
{
    struct Case {
        int signal;
        int exitStatus; // -1: killed by the signal itself
        bool twice;     // a second signal right after the first
    };
    for (const Case c :
         {Case{SIGINT, 130, false}, Case{SIGTERM, 143, false}, Case{SIGINT, -1, true}, Case{SIGKILL, -1, false},
          Case{SIGHUP, 129, false}, Case{SIGQUIT, 131, false}, Case{SIGUSR1, 128 + SIGUSR1, false},
          Case{SIGUSR2, 128 + SIGUSR2, false}, Case{SIGALRM, 142, false}, Case{SIGXCPU, 128 + SIGXCPU, false},
          Case{SIGTERM, -1, true}}) {
        SCOPED_TRACE(c.signal);
        const std::string errors = "errors" + std::to_string(c.signal) + (c.twice ? "twice" : "") + ".txt";
        // Enough replicates that the run is still in its bootstrap when stopped.
        const int run = StartBatch(folder_.Path(""),
                                   Arguments({"--samples", "5000", "--threads", "2", "--output", "good.txt", "--json",
                                              "good.json", "--html", "good.html"}),
                                   errors);
        ASSERT_TRUE(AwaitOutput(folder_.Path(errors), "Bootstrap resampling"));
        const auto sent = std::chrono::steady_clock::now();
        kill(run, c.signal);
        if (c.twice) {
            kill(run, c.signal);
        }
        const int status = WaitBatch(run);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        if (c.twice) {
            // Ended by the second signal, or stopped by the first before it came.
            EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + c.signal))
                << status;
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
        } else if (c.exitStatus < 0) {
            EXPECT_TRUE(WIFSIGNALED(status));
            // Nothing can remove them at once; the next run does (see
            // LeftoverTemporariesOfGoneProcessesAreRemoved).
            EXPECT_LE(Leftovers().size(), 3u);
            for (const std::string& name : Leftovers()) {
                std::filesystem::remove(folder_.Path(name));
            }
        } else {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), c.exitStatus);
            EXPECT_NE(File(errors).find("The computation was stopped. The report file \"good.txt\" was not changed."),
                      std::string::npos)
                << File(errors);
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
            EXPECT_LT(seconds, 2.0);
        }
        ExpectEarlierFilesKept();
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("good.html")));
    }
}

TEST_F(KeptFilesTest, ClosedStderrStopsTheRunAndKeepsTheEarlierReport)
{
    // The reader of the messages goes away after their first bytes.
    const std::string command = "cd '" + folder_.Path("") + "' && ('" + TALVER_BATCH_PATH +
                                "' --target-count 300 --replication-count 200 --items 6 --samples 5000 --output "
                                "good.txt --json good.json 2>&1 >/dev/null; echo $? >status.txt) | head -c 20 "
                                ">/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(File("status.txt"), "141\n");
    ExpectEarlierFilesKept();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, FullDiskKeepsTheEarlierReport)
{
    // A file-size limit of a few kilobytes: the report cannot be written whole.
    const BatchRun run = Run({"--samples", "500", "--output", "good.txt"}, "ulimit -f 8;");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The report file \"good.txt\" could not be written completely ("),
              std::string::npos)
        << run.errorOutput;
    ExpectEarlierFilesKept();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, ConcurrentRunsOnOneOutputLeaveOneCompleteReport)
{
    ASSERT_EQ(Run({"--samples", "500", "--output", "five.txt"}).exitStatus, 0);
    ASSERT_EQ(Run({"--samples", "500", "--alpha", "0.10", "--output", "ten.txt"}).exitStatus, 0);
    const int first = StartBatch(folder_.Path(""), Arguments({"--samples", "500", "--output", "good.txt"}), "a.txt");
    const int second = StartBatch(folder_.Path(""),
                                  Arguments({"--samples", "500", "--alpha", "0.10", "--output", "good.txt"}), "b.txt");
    const int firstStatus = WaitBatch(first);
    const int secondStatus = WaitBatch(second);
    EXPECT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0);
    EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0);
    const std::string report = WithoutClock(File("good.txt"));
    EXPECT_TRUE(report == WithoutClock(File("five.txt")) || report == WithoutClock(File("ten.txt")));
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, OutputsThatNameAnInputOrEachOtherAreRefusedBeforeTheRun)
{
    ASSERT_EQ(symlink("target.dat", folder_.Path("link.dat").c_str()), 0);
    ASSERT_EQ(link(folder_.Path("replica.dat").c_str(), folder_.Path("hard.dat").c_str()), 0);
    const std::string target = File("target.dat");
    const std::string replica = File("replica.dat");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::string absoluteTarget = folder_.Path("target.dat");
    const Case cases[] = {
        {{"--output", "target.dat"},
         "The report file \"target.dat\" is the Target sample data file \"target.dat\": writing it would destroy the "
         "data. Choose another name for the report file."},
        {{"--output", "./sub/../link.dat"}, "is the Target sample data file"},
        {{"--output", absoluteTarget}, "is the Target sample data file"},
        {{"--json", "hard.dat"},
         "The JSON file \"hard.dat\" is the Replication sample data file \"replica.dat\""},
        {{"--output", "r.txt", "--json", "./r.txt"},
         "The report file and the JSON file are the same file \"./r.txt\": one would replace the other. Choose two "
         "different names."},
    };
    std::filesystem::create_directory(folder_.Path("sub"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const BatchRun run = Run(c.arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.errorOutput.find(c.message), std::string::npos) << run.errorOutput;
        EXPECT_EQ(run.errorOutput.find("COMPUTING"), std::string::npos);
        EXPECT_EQ(File("target.dat"), target);
        EXPECT_EQ(File("replica.dat"), replica);
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("r.txt")));
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("output.txt")));
    }
}

TEST_F(KeptFilesTest, ReportPathsThatAreNoFilesAreRefusedWithoutWaiting)
{
    ASSERT_EQ(mkfifo(folder_.Path("pipe.txt").c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    BatchRun run = Run({"--output", "pipe.txt"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The report file \"pipe.txt\" is a FIFO (named pipe), not a regular file."),
              std::string::npos)
        << run.errorOutput;
    run = Run({"--json", "pipe.txt"});
    EXPECT_NE(run.errorOutput.find("The JSON file \"pipe.txt\" is a FIFO (named pipe)"), std::string::npos);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
}

TEST_F(KeptFilesTest, SymbolicLinkToAReportIsFollowedAndKept)
{
    std::filesystem::create_directory(folder_.Path("reports"));
    folder_.Write("reports/real.txt", kEarlierReport);
    ASSERT_EQ(symlink("reports/real.txt", folder_.Path("latest.txt").c_str()), 0);
    const BatchRun run = Run({"--samples", "500", "--output", "latest.txt"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_TRUE(std::filesystem::is_symlink(folder_.Path("latest.txt")));
    EXPECT_NE(File("reports/real.txt").find("TALVER completed"), std::string::npos);
    EXPECT_NE(run.errorOutput.find("Report written to " + folder_.Path("latest.txt")), std::string::npos);
}

TEST_F(KeptFilesTest, LeftoverTemporariesOfGoneProcessesAreRemoved)
{
    // A process that has ended: its id is free.
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    ASSERT_EQ(WaitBatch(gone), 0);
    const std::string goneId = std::to_string(gone);
    const std::string liveId = std::to_string(getpid());
    folder_.Write(".good.txt.tmp-" + goneId + "-a1b2c3", "left by a killed run");
    folder_.Write(".good.json.tmp-" + goneId + "-d4e5f6", "left by a killed run");
    // Made before the live process with that id started: the id was reused.
    folder_.Write(".good.txt.tmp-" + liveId + "-g7h8i9", "left long ago");
    const timespec longAgo[2] = {{978307200, 0}, {978307200, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder_.Path(".good.txt.tmp-" + liveId + "-g7h8i9").c_str(), longAgo, 0), 0);
    // Kept: a live process's own, another file's, and names that are no
    // temporary of this program.
    const std::vector<std::string> kept = {".good.json.tmp-" + liveId + "-j0k1l2", ".other.txt.tmp-" + goneId + "-m3n4o5",
                                           ".good.txt.tmp-abcdef", ".good.txt.tmp-" + goneId + "-toolong"};
    for (const std::string& name : kept) {
        folder_.Write(name, "not stale");
    }
    const BatchRun run = Run({"--samples", "500", "--output", "good.txt", "--json", "good.json"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    std::vector<std::string> left = Leftovers();
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST_F(KeptFilesTest, OutputsAreReplacedTogetherUnderTheFolderLock)
{
    folder_.Write("good.html", "an earlier page\n");
    // While another run holds the lock, this one finishes its files but
    // replaces none of them.
    const int lock = open(folder_.Path("").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    const int run = StartBatch(
        folder_.Path(""),
        Arguments({"--samples", "500", "--output", "good.txt", "--json", "good.json", "--html", "good.html"}),
        "errors.txt");
    ASSERT_TRUE(AwaitOutput(folder_.Path("errors.txt"), "Bootstrap resampling"));
    bool waiting = false;
    for (int k = 0; k < 600 && !waiting; ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // The page is written last: once it is complete, the run waits.
        for (const std::string& name : Leftovers()) {
            waiting = waiting ||
                      (name.rfind(".good.html.tmp-", 0) == 0 && ReadFile(folder_.Path(name)).find("</html>") !=
                                                                    std::string::npos);
        }
    }
    ASSERT_TRUE(waiting);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ExpectEarlierFilesKept();
    EXPECT_EQ(File("good.html"), "an earlier page\n");
    close(lock);
    const int status = WaitBatch(run);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << File("errors.txt");
    EXPECT_NE(File("good.txt").find("TALVER completed"), std::string::npos);
    EXPECT_NE(File("good.json"), kEarlierJson);
    EXPECT_NE(File("good.html").find("</html>"), std::string::npos);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, AnOutputThatCannotBeWrittenKeepsEveryEarlierFile)
{
    folder_.Write("good.html", "an earlier page\n");
    // Room for the report and the JSON file, not for the page and its charts.
    const BatchRun run =
        Run({"--samples", "500", "--output", "good.txt", "--json", "good.json", "--html", "good.html"},
            "ulimit -f 40;");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The HTML file \"good.html\" could not be written completely ("),
              std::string::npos)
        << run.errorOutput;
    ExpectEarlierFilesKept();
    EXPECT_EQ(File("good.html"), "an earlier page\n");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, NamesUpToTheFileSystemsLimitAreWritten)
{
    const std::string longest(255 - 5, 'h');
    const std::string accented = std::string(248, 'j') + "\xC3\xA9" + ".json"; // 255 bytes, cut inside no character
    const BatchRun run =
        Run({"--samples", "500", "--output", "good.txt", "--json", accented, "--html", longest + ".html"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(File(longest + ".html").find("</html>"), std::string::npos);
    EXPECT_NE(File(accented).find("\"samples\""), std::string::npos);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(KeptFilesTest, DanglingSymbolicLinkIsWrittenThrough)
{
    std::filesystem::create_directory(folder_.Path("pages"));
    ASSERT_EQ(symlink("pages/new.html", folder_.Path("latest.html").c_str()), 0);
    const BatchRun run = Run({"--samples", "500", "--output", "good.txt", "--html", "latest.html"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_TRUE(std::filesystem::is_symlink(folder_.Path("latest.html")));
    EXPECT_NE(File("pages/new.html").find("</html>"), std::string::npos);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

TEST_F(KeptFilesTest, ThreadsTheSystemRefusesAreDoneWithout)
{
    if (kAddressSanitizer) {
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    }
    ASSERT_EQ(Run({"--samples", "500", "--threads", "1", "--output", "one.txt"}).exitStatus, 0);
    // Stacks of 256 MB in an address space of 1 GB: a few threads at most start.
    const BatchRun run = Run({"--samples", "500", "--threads", "16", "--output", "many.txt"},
                             "ulimit -s 262144; ulimit -v 1048576;");
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("The system started only "), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(" of 16 threads; the bootstrap goes on with "), std::string::npos);
    EXPECT_EQ(WithoutClock(File("many.txt")), WithoutClock(File("one.txt")));
}

TEST_F(KeptFilesTest, MemoryShortageOnAnyThreadEndsWithAMessage)
{
    if (kAddressSanitizer) {
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    }
    // Address spaces too small for 64 threads and their pools: each run
    // computes with the threads that fit, or says that memory ran out;
    // none aborts, and none leaves a file behind.
    for (const int kilobytes : {45000, 50000, 55000, 60000, 45000, 50000}) {
        SCOPED_TRACE(kilobytes);
        const std::string reportBefore = File("good.txt");
        const std::string jsonBefore = File("good.json");
        const BatchRun run =
            Run({"--samples", "500", "--threads", "64", "--output", "good.txt", "--json", "good.json"},
                "ulimit -v " + std::to_string(kilobytes) + ";");
        EXPECT_TRUE(run.exitStatus == 0 || run.exitStatus == 2) << run.exitStatus << run.errorOutput;
        if (run.exitStatus == 2) {
            EXPECT_NE(run.errorOutput.find("memory"), std::string::npos) << run.errorOutput;
            EXPECT_TRUE(File("good.txt") == reportBefore && File("good.json") == jsonBefore);
        }
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

} // namespace
