// Counts beyond what the memory holds are refused by the dialogs, with a
// message, before any file is read or any matrix is made; the limits
// themselves are accepted.

#include "app/DialogTexts.h"
#include "app/OptionsDialogRules.h"
#include "data/RunSizeLimits.h"
#include "app/SampleDialogRules.h"
#include "recording_dialog_port.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

using namespace talver;

namespace {

namespace fs = std::filesystem;

TEST(RunSizeLimits, WorkCountsDoNotOverflow)
{
    EXPECT_EQ(ReplicateValues(500, 10, 2), 2 * 500 * 30);
    EXPECT_EQ(ScoreCategories(1, 5), 5);
    EXPECT_EQ(ScoreCategories(-2147483647 - 1, 2147483647), 4294967296);
    // Two samples of 3 x 45 pairs x 3 tables and 10 x 2 thresholds.
    EXPECT_EQ(PolychoricTableValues(3, 10), 2 * (9 * 45 + 20));
    EXPECT_EQ(PolychoricTableValues(4294967296, 4), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(PolychoricTableValues(1, 1), 0);
}

class SampleSizeTest : public ::testing::Test {
protected:
    SampleSizeTest()
        : folder_(fs::temp_directory_path() /
                  ("talver_size_limits_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name())))
    {
        fs::create_directories(folder_);
        std::ofstream(folder_ / "target.dat") << "1\n";
        std::ofstream(folder_ / "replica.dat") << "1\n";
    }
    ~SampleSizeTest() override { fs::remove_all(folder_); }

    // The messages of OK with these counts; empty when the dialog closes.
    std::vector<std::string> Ok(int targetCount, int replicationCount, int items)
    {
        RecordingDialogPort port;
        SampleDialogRules rules({targetCount, replicationCount, items, (folder_ / "target.dat").string(),
                                 (folder_ / "replica.dat").string()},
                                port);
        const bool closed = rules.Ok();
        EXPECT_EQ(closed, port.events.empty());
        return port.events;
    }

    fs::path folder_;
};

TEST_F(SampleSizeTest, TooManyItemsAreRefused)
{
    EXPECT_TRUE(Ok(10, 10, 5000).empty());
    EXPECT_EQ(Ok(10, 10, 5001),
              std::vector<std::string>{Message("The number of variables is too large: at most 5000 items can be "
                                               "analysed.")});
    EXPECT_EQ(Ok(10, 10, 100000).size(), 1u);
}

TEST_F(SampleSizeTest, SamplesBeyondTheMemoryAreRefused)
{
    // 2^27 values are the most a sample may hold.
    EXPECT_TRUE(Ok(16777216, 16777216, 8).empty());
    EXPECT_EQ(Ok(16777217, 10, 8),
              std::vector<std::string>{Message("The Target Sample is too large: 16777217 participants x 8 variables "
                                               "are more than the 134217728 values that a sample may hold in memory.")});
    EXPECT_EQ(Ok(10, 2000000000, 10),
              std::vector<std::string>{Message("The Replication Sample is too large: 2000000000 participants x 10 "
                                               "variables are more than the 134217728 values that a sample may hold "
                                               "in memory.")});
}

TEST_F(SampleSizeTest, CountsAreCheckedBeforeTheirSize)
{
    EXPECT_EQ(Ok(2000000000, 2000000000, 0),
              std::vector<std::string>{Message(SampleDialogText::kNoVariableCount)});
}

// What the main window hands over after reading scores 1 to 5.
OptionsDialogValues Options(int items, unsigned factors, unsigned samples, int dispersionKind)
{
    OptionsDialogValues v;
    v.variableCount = items;
    v.showDiscriminations = v.showDifficulties = v.showResidualVariances = 1;
    v.showDifficultyFit = v.showCongruence = v.showDiscrepancy = 1;
    v.alphaCode = 5;
    v.extractionMethod = 1;
    v.dispersionKind = dispersionKind;
    v.observedMinimum = v.lowestScore = 1;
    v.observedMaximum = v.highestScore = 5;
    v.bootstrapSamples = samples;
    v.factorCount = factors;
    return v;
}

TEST(OptionsSize, BootstrapReplicatesBeyondTheMemoryAreRefused)
{
    RecordingDialogPort port;
    OptionsDialogRules fits(Options(1000, 10, 5000, 1), port);
    EXPECT_TRUE(fits.Ok());
    EXPECT_EQ(port.TakeEvents(), std::vector<std::string>{Message(OptionsDialogText::kLongBootstrap)});

    OptionsDialogRules tooMany(Options(5000, 100, 500, 1), port);
    EXPECT_FALSE(tooMany.Ok());
    EXPECT_EQ(port.TakeEvents(), std::vector<std::string>{Message(
                                     "The bootstrap samples of 5000 items with 100 factors/components do not fit in "
                                     "memory 500 times. Please choose fewer samples or factors.")});
}

TEST(OptionsSize, PolychoricTablesBeyondTheMemoryAreRefused)
{
    RecordingDialogPort port;
    OptionsDialogValues huge = Options(4, 2, 500, 3);
    huge.observedMinimum = huge.lowestScore = -2147483647 - 1;
    huge.observedMaximum = huge.highestScore = 2147483647;
    OptionsDialogRules rules(huge, port);
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port.TakeEvents(),
              std::vector<std::string>{Message("Polychoric correlations cannot be computed for scores from "
                                               "-2147483648 to 2147483647: the tables of 4294967296 categories for 4 "
                                               "items do not fit in memory. Please check the data, or choose "
                                               "Covariance or Pearson correlation.")});
    // The same scores with covariances need no tables.
    rules.Click(OptionsDialogRules::kCovarianceRadio);
    EXPECT_TRUE(rules.Ok());

    // A range typed by the user is judged after it is widened to the data.
    OptionsDialogRules typed(Options(10, 2, 500, 3), port);
    typed.SetFieldText(OptionsDialogRules::kLowestScoreField, "-100000");
    EXPECT_FALSE(typed.Ok());
    typed.SetFieldText(OptionsDialogRules::kLowestScoreField, "-100");
    EXPECT_TRUE(typed.Ok());
}

} // namespace
