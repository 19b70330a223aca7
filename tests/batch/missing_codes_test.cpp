// Scores that look like codes of missing answers, end to end on the example
// file with both samples: talver-batch says so before computing (item, code,
// count and the option that declares it), still runs, and the report, its
// JSON and its page carry the warning; declared missing, the codes are gone
// and so is the warning.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MissingCodesTest : public ::testing::Test {
protected:
    MissingCodesTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("groups.csv", ReadFile(std::string(TALVER_SOURCE_DIR) + "/examples/groups.csv"));
    }

    // The difficulties only: the warning needs no bootstrap.
    BatchRun Run(std::vector<std::string> more)
    {
        std::vector<std::string> arguments = {"--data", "groups.csv", "--group", "sample", "--target-group",
                                              "original", "--replication-group", "retest", "--items", "q1-q10",
                                              "--no-discriminations", "--no-residual-variances", "--no-congruence",
                                              "--no-discrepancy", "--json", "output.json", "--html", "output.html"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunBatch(folder_.Path(""), arguments);
    }

    ScratchFolder folder_;
};

TEST_F(MissingCodesTest, AForgottenCodeIsSaidEverywhereAndTheRunGoesOn)
{
    const BatchRun run = Run({});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string said = "The score -9 looks like a code for a missing answer: it occurs 3 times, in q4 (1), "
                             "q6 (1) and q9 (1).";
    EXPECT_NE(run.errorOutput.find("Warning: " + said), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("run again with --missing -9."), std::string::npos) << run.errorOutput;
    // Said before anything is computed.
    EXPECT_LT(run.errorOutput.find("Warning: "), run.errorOutput.find("Item difficulties"));

    const std::string report = ReadFile(folder_.Path("output.txt"));
    EXPECT_NE(report.find("DATA READ\n\nWARNING: " + said + " It was analysed as a score"), std::string::npos);
    // After the details, before the first analysis.
    EXPECT_LT(report.find("DETAILS OF ANALYSIS"), report.find("DATA READ"));
    EXPECT_LT(report.find("DATA READ"), report.find("ITEM DIFFICULTIES"));
    const std::string json = ReadFile(folder_.Path("output.json"));
    EXPECT_NE(json.find("\"section\": \"DATA READ\""), std::string::npos) << json.substr(json.find("warnings"));
    EXPECT_NE(ReadFile(folder_.Path("output.html")).find("DATA READ:</strong> The score -9"), std::string::npos);
}

TEST_F(MissingCodesTest, DeclaredCodesAreLeftOutWithoutAWarning)
{
    const BatchRun run = Run({"--missing", "-9"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_EQ(run.errorOutput.find("looks like a code"), std::string::npos) << run.errorOutput;
    EXPECT_EQ(ReadFile(folder_.Path("output.txt")).find("DATA READ"), std::string::npos);
    // A plain file has no way to declare them: the hint says what to do.
    folder_.Write("target.dat", "1 2 3\n2 3 4\n3 -9 5\n4 5 1\n5 1 2\n1 3 3\n");
    folder_.Write("replica.dat", "2 2 3\n3 4 4\n4 5 5\n5 1 1\n1 2 -9\n2 3 2\n");
    const BatchRun plain = RunBatch(folder_.Path(""), {"--target-count", "6", "--replication-count", "6", "--items",
                                                       "3", "--factors", "1", "--no-discriminations",
                                                       "--no-residual-variances", "--no-congruence",
                                                       "--no-discrepancy"});
    ASSERT_EQ(plain.exitStatus, 0) << plain.errorOutput;
    EXPECT_NE(plain.errorOutput.find("in item 2 (1) and item 3 (1)."), std::string::npos) << plain.errorOutput;
    EXPECT_NE(plain.errorOutput.find("Plain data files cannot mark missing answers"), std::string::npos);
}

} // namespace
