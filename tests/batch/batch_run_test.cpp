// talver-batch as a user runs it: the dialogs' checks and messages, reading
// errors, the report frame and the exit status.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", ScoreText(40, 4, 1));
        folder_.Write("replica.dat", ScoreText(30, 4, 2));
    }

    // The small samples with every output off, plus `extra`.
    BatchRun Run(std::vector<std::string> extra = {}, bool outputsOff = true)
    {
        std::vector<std::string> arguments = {"--target-count", "40", "--replication-count", "30", "--items", "4",
                                              "--factors", "1"};
        if (outputsOff) {
            for (const std::string& flag : EveryOutputOff()) {
                arguments.push_back(flag);
            }
        }
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunBatch(folder_.Path(""), arguments);
    }

    std::string Report(const std::string& name = "output.txt") { return ReadFile(folder_.Path(name)); }

    ScratchFolder folder_;
};

const std::string kSeparator = std::string(80, '-') + "\n";

TEST_F(BatchRunTest, EveryOutputOffGivesTheFrameOnly)
{
    const BatchRun run = Run({"--method", "pca", "--samples", "600", "--alpha", "0.10"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string report = WithoutClock(Report());
    const std::string details =
        "\nDETAILS OF ANALYSIS\n\n"
        "Target sample data file                         : target.dat\n"
        "Number of observations in Target sample         : 40\n"
        "Replication sample data file                    : replica.dat\n"
        "Number of observations in Replication sample    : 30\n\n"
        "Number of variables                             : 4\n"
        "Number of components                            : 1\n\n"
        "Dispersion matrix                               : Covariances\n"
        "Method for components extraction                : Principal Components Analysis\n\n"
        "Bias corrected Percentile intervals obtained by : Bootstrap resampling\n"
        "Critical values obtained by                     : Bootstrap resampling\n"
        "Number of samples in Bootstrap resampling       : 600\n\n"
        "Alpha value                                     : 0.10\n\n" +
        kSeparator + "\n" + "TALVER completed\nComputing time: -\n";
    ASSERT_GE(report.size(), details.size());
    EXPECT_EQ(report.substr(report.size() - details.size()), details);
    EXPECT_EQ(report.find("\n" + std::string(34, ' ') + "T A L V E R \n\n\n"), 0u);
    EXPECT_NE(report.find("Date: -\n" + std::string(28, ' ') + "Time: -\n" + kSeparator + "\nDETAILS"),
              std::string::npos);
    EXPECT_NE(run.errorOutput.find("Report written to"), std::string::npos);
}

TEST_F(BatchRunTest, BootstrapCountersShowElapsedAndLeftTime)
{
    // Discriminations only: one bootstrap phase, its counter at every tenth.
    const BatchRun run = Run({"--samples", "500", "--no-difficulties", "--no-difficulty-fit", "--no-congruence",
                              "--no-discrepancy", "--no-residual-variances"},
                             false);
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    int counters = 0;
    size_t at = 0;
    while ((at = run.errorOutput.find("    Done: ", at)) != std::string::npos) {
        const std::string line = run.errorOutput.substr(at, run.errorOutput.find('\n', at) - at);
        EXPECT_NE(line.find("%), "), std::string::npos) << line;
        EXPECT_NE(line.find(" elapsed, about "), std::string::npos) << line;
        EXPECT_EQ(line.substr(line.size() - 5), " left") << line;
        ++counters;
        ++at;
    }
    EXPECT_EQ(counters, 10) << run.errorOutput;
    // The last update counts every replicate done.
    EXPECT_NE(run.errorOutput.find("Done:  500 (100.00%), 0:"), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(", about 0:00 left\n"), std::string::npos) << run.errorOutput;
}

TEST_F(BatchRunTest, ReadingErrorsNameTheSample)
{
    folder_.Write("short.dat", ScoreText(40, 4, 1).substr(2));
    BatchRun run = Run({"--target", "short.dat"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Error reading TARGET file!"), std::string::npos);
    EXPECT_EQ(run.errorOutput.find("REPLICATION"), std::string::npos);

    folder_.Write("long.dat", ScoreText(30, 4, 2) + "7\n");
    run = Run({"--replication", "long.dat"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Error reading REPLICATION file!"), std::string::npos);

    folder_.Write("word.dat", "1 2 x 4\n" + ScoreText(39, 4, 1));
    run = Run({"--target", "word.dat"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("'x' is not a number"), std::string::npos);
}

TEST_F(BatchRunTest, SampleDialogChecksComeInOrder)
{
    BatchRun run = Run({"--target-count", "0", "--replication-count", "0", "--items", "0"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Please, enter de number of participants in the Target Sample"), std::string::npos);
    EXPECT_EQ(run.errorOutput.find("Replication Sample"), std::string::npos);

    run = Run({"--target", "missing1.dat", "--replication", "missing2.dat"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The file name for the Replication Sample does not exist"), std::string::npos);
    EXPECT_EQ(run.errorOutput.find("Target Sample does not exist"), std::string::npos);

    run = Run({"--items", "4x"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Please enter an integer."), std::string::npos);
    EXPECT_NE(run.errorOutput.find("--items"), std::string::npos);
}

TEST_F(BatchRunTest, OptionsAreAdjustedOrRefusedLikeTheDialog)
{
    BatchRun run = Run({"--samples", "100"});
    EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("The number of samples is adjusted to 500."), std::string::npos);
    EXPECT_NE(Report().find("Number of samples in Bootstrap resampling       : 500\n"), std::string::npos);

    // One refusal that states the range, and the option to correct.
    for (const char* samples : {"10001", "20000"}) {
        run = Run({"--samples", samples});
        EXPECT_EQ(run.exitStatus, 2);
        const std::string refusal = "Please enter an integer between 0 and 5000.\n  (check --samples)\n";
        EXPECT_NE(run.errorOutput.find(refusal), std::string::npos) << run.errorOutput;
        EXPECT_EQ(run.errorOutput.find("The number of samples"), std::string::npos);
    }
    run = Run({"--factors", "0"});
    EXPECT_EQ(run.exitStatus, 2);
    const std::string factors = "Please enter an integer between 1 and 3.";
    EXPECT_NE(run.errorOutput.find(factors), std::string::npos) << run.errorOutput;
    EXPECT_EQ(run.errorOutput.find(factors), run.errorOutput.rfind(factors));

    run = Run({"--factors", "4"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The number of Factors/Components should be smaller than the number of variables "
                                   "(4): choose 1 to 3."),
              std::string::npos);

    run = Run({"--dispersion", "pearson"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.errorOutput.find("Please, note that Covariance matrix analysis is advised"), std::string::npos);
}

TEST_F(BatchRunTest, PolychoricScoreRange)
{
    BatchRun run = Run({"--dispersion", "polychoric", "--method", "ml"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("--method ml cannot be used with --dispersion polychoric"), std::string::npos);

    run = Run({"--lowest", "1"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("--lowest and --highest"), std::string::npos);

    run = Run({"--dispersion", "polychoric", "--highest", "4", "--lowest", "2"});
    EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("The highest possible items score is adjusted to the data."), std::string::npos);
    EXPECT_NE(run.errorOutput.find("The lowest possible items score is adjusted to the data."), std::string::npos);
    EXPECT_NE(Report().find(": Polychoric (tetrachoric) correlations\n"), std::string::npos);
}

TEST_F(BatchRunTest, ReportThatCannotBeWrittenIsSaidAndHarmsNothing)
{
    BatchRun run = Run({"--output", "no/such/folder/report.txt"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("no/such/folder/report.txt"), std::string::npos);

    if (geteuid() != 0) {
        folder_.Write("kept.txt", "an earlier report\n");
        std::filesystem::permissions(folder_.Path("kept.txt"), std::filesystem::perms::owner_read);
        run = Run({"--output", "kept.txt"});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(Report("kept.txt"), "an earlier report\n");
    }
}

TEST_F(BatchRunTest, HelpExplainsEveryOption)
{
    const BatchRun run = RunBatch(folder_.Path(""), {"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    std::istringstream lines(run.output);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_GT(count, 40);
    EXPECT_NE(run.output.find("--samples N=1000"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("target.dat and replica.dat"), std::string::npos) << run.output;
    const BatchRun wrong = RunBatch(folder_.Path(""), {"--method", "minres"});
    EXPECT_EQ(wrong.exitStatus, 2);
}

TEST_F(BatchRunTest, CommandLineMistakesAreAnsweredWithWhatWasMeant)
{
    const BatchRun bare = RunBatch(folder_.Path(""), {});
    EXPECT_EQ(bare.exitStatus, 2);
    EXPECT_EQ(bare.errorOutput.rfind("Usage: talver-batch", 0), 0u) << bare.errorOutput;
    std::istringstream usage(bare.errorOutput);
    for (std::string line; std::getline(usage, line);) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_EQ(bare.errorOutput.find("TARGET"), std::string::npos) << "nothing is read";

    const BatchRun typo = RunBatch(folder_.Path(""), {"--sampels", "2000"});
    EXPECT_EQ(typo.exitStatus, 2);
    EXPECT_NE(typo.errorOutput.find("--sampels: did you mean --samples?"), std::string::npos) << typo.errorOutput;
    const BatchRun stray = RunBatch(folder_.Path(""), {"data.csv"});
    EXPECT_EQ(stray.exitStatus, 2);
    EXPECT_NE(stray.errorOutput.find("\"data.csv\""), std::string::npos) << stray.errorOutput;

    // Values in capitals are the same choices; the run gets as far as the
    // (missing) data.
    const BatchRun capitals =
        RunBatch(folder_.Path(""), {"--method", "ULS", "--dispersion", "Pearson", "--target", "none.dat"});
    EXPECT_EQ(capitals.exitStatus, 2);
    EXPECT_EQ(capitals.errorOutput.find("--method"), std::string::npos) << capitals.errorOutput;
    EXPECT_EQ(capitals.errorOutput.find("--dispersion"), std::string::npos) << capitals.errorOutput;
}

} // namespace

namespace {

TEST(BatchDifficulties, OnlyTheDifficultyOutputsWriteBothBlocks)
{
    ScratchFolder folder("difficulties_only");
    const std::string fixtures = std::string(TALVER_SOURCE_DIR) + "/tests/analyses/fixtures/";
    const BatchRun run = RunBatch(folder.Path(""), {"--target", fixtures + "difficulty_target.dat", "--replication",
                                                    fixtures + "difficulty_replica.dat", "--target-count", "120",
                                                    "--replication-count", "90", "--items", "6", "--alpha", "0.10",
                                                    "--no-discriminations", "--no-residual-variances",
                                                    "--no-congruence", "--no-discrepancy"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string report = ReadFile(folder.Path("output.txt"));
    const auto difficulties = report.find("ITEM DIFFICULTIES\n\nItem      Target");
    const auto hotelling = report.find("OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE\n\nITEM DIFFICULTIES\n\n"
                                       "Hotteling's T Square\n\nTSQ = 16.881622; Freedom degrees = 6 and 203;");
    ASSERT_NE(difficulties, std::string::npos);
    ASSERT_NE(hotelling, std::string::npos);
    EXPECT_LT(difficulties, hotelling);
    // Item 3 (t = 1.79) is flagged at alpha 0.10.
    EXPECT_NE(report.find("   3        3.29         3.00        1.79**"), std::string::npos);
    EXPECT_NE(report.find("\nTALVER completed\n"), std::string::npos);
}

} // namespace

namespace {

// Every number of the companion file is the report's, at full precision.
TEST(BatchJson, CompanionHoldsTheTablesOfTheReport)
{
    ScratchFolder folder("json_companion");
    const std::string fixtures = std::string(TALVER_SOURCE_DIR) + "/tests/analyses/fixtures/";
    const BatchRun run = RunBatch(folder.Path(""), {"--target", fixtures + "difficulty_target.dat", "--replication",
                                                    fixtures + "difficulty_replica.dat", "--target-count", "120",
                                                    "--replication-count", "90", "--items", "6", "--samples", "500",
                                                    "--json", "tables.json"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string json = ReadFile(folder.Path("tables.json"));
    const std::string report = ReadFile(folder.Path("output.txt"));
    for (const char* key : {"\"samples\": {", "\"options\": {", "\"itemDifficulties\": {", "\"itemDiscriminations\": {",
                            "\"itemResidualVariances\": {", "\"hotellingTSquare\": {", "\"invarianceIndices\": {",
                            "\"congruence\": {", "\"discrepancy\": {", "\"warnings\": [", "\"bootstrapSamples\": 500"}) {
        EXPECT_NE(json.find(key), std::string::npos) << key;
    }
    EXPECT_NE(json.find("\"tSquare\": 16.88162"), std::string::npos);
    EXPECT_NE(report.find("TSQ = 16.881622"), std::string::npos);
    long depth = 0;
    for (char c : json) {
        depth += (c == '{' || c == '[') ? 1 : (c == '}' || c == ']') ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(BatchJson, CompanionThatCannotBeWrittenIsSaid)
{
    ScratchFolder folder("json_unwritable");
    folder.Write("target.dat", ScoreText(40, 4, 1));
    folder.Write("replica.dat", ScoreText(30, 4, 2));
    std::vector<std::string> arguments = {"--target-count", "40", "--replication-count", "30", "--items", "4",
                                          "--json", "missing/tables.json"};
    for (const std::string& flag : EveryOutputOff()) {
        arguments.push_back(flag);
    }
    const BatchRun run = RunBatch(folder.Path(""), arguments);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("The JSON file \"missing/tables.json\" could not be opened for writing"),
              std::string::npos)
        << run.errorOutput;
    // Found before the computation: no report is written either.
    EXPECT_FALSE(std::filesystem::exists(folder.Path("output.txt")));
}

} // namespace
