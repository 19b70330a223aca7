#include "app/SampleDialogRules.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/DialogTexts.h"
#include "recording_dialog_port.h"

using namespace talver;

namespace {

namespace fs = std::filesystem;
using R = SampleDialogRules;
using Events = std::vector<std::string>;

class SampleDialogRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = fs::temp_directory_path() /
                     ("talver_sample_dialog_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(directory_);
        targetPath_ = MakeFile("target.dat");
        replicationPath_ = MakeFile("replica.dat");
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string MakeFile(const std::string& name)
    {
        const fs::path path = directory_ / name;
        std::ofstream(path) << "1 2 3\n";
        return path.string();
    }
    std::string Missing(const std::string& name) const { return (directory_ / name).string(); }

    SampleDialogValues ExistingFiles() const { return {707, 335, 10, targetPath_, replicationPath_}; }

    fs::path directory_;
    std::string targetPath_;
    std::string replicationPath_;
    RecordingDialogPort port_;
};

TEST_F(SampleDialogRulesTest, FieldsShowTheInitialValues)
{
    R rules({707, 335, 10, "target.dat", "replica.dat"}, port_);
    EXPECT_EQ(rules.FieldText(R::kTargetCountField), "707");
    EXPECT_EQ(rules.FieldText(R::kReplicationCountField), "335");
    EXPECT_EQ(rules.FieldText(R::kVariableCountField), "10");
    EXPECT_EQ(rules.FieldText(R::kTargetFileField), "target.dat");
    EXPECT_EQ(rules.FieldText(R::kReplicationFileField), "replica.dat");
    EXPECT_THROW(rules.FieldText(R::kBrowseTargetButton), std::invalid_argument);
    EXPECT_THROW(rules.SetFieldText(1003, "x"), std::invalid_argument);
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(SampleDialogRulesTest, AcceptsExistingFilesAndPositiveCounts)
{
    R rules(ExistingFiles(), port_);
    rules.SetFieldText(R::kTargetCountField, "  12 ");
    EXPECT_TRUE(rules.Ok());
    EXPECT_TRUE(port_.events.empty());
    EXPECT_EQ(rules.Values().targetCount, 12);
    EXPECT_EQ(rules.FieldText(R::kTargetCountField), "12");
    EXPECT_EQ(rules.Values().targetFile, targetPath_);
}

TEST_F(SampleDialogRulesTest, ChecksStopAtTheFirstFailureInTheirOrder)
{
    const std::string kDirectory = directory_.string();
    struct Case {
        SampleDialogValues values;
        const char* message;
    };
    const Case cases[] = {
        {{0, 0, 0, "", ""}, SampleDialogText::kNoTargetCount},
        {{1, 0, 0, "", ""}, SampleDialogText::kNoReplicationCount},
        {{1, 1, 0, "", ""}, SampleDialogText::kNoVariableCount},
        {{1, 1, -3, targetPath_, replicationPath_}, SampleDialogText::kNoVariableCount},
        {{1, 1, 1, "", ""}, SampleDialogText::kNoTargetFile},
        {{1, 1, 1, "x", ""}, SampleDialogText::kNoReplicationFile},
        {{1, 1, 1, Missing("t"), Missing("r")}, nullptr},
        {{1, 1, 1, Missing("t"), replicationPath_}, nullptr},
        // A directory exists, which is all that is asked here.
        {{1, 1, 1, kDirectory, kDirectory}, nullptr},
    };
    for (const Case& c : cases) {
        R rules(c.values, port_);
        const bool missingFile = c.message == nullptr && c.values.targetFile != kDirectory;
        EXPECT_EQ(rules.Ok(), c.message == nullptr && !missingFile);
        if (missingFile) {
            // The missing files: tested below, with the names they add.
            port_.TakeEvents();
            continue;
        }
        EXPECT_EQ(port_.TakeEvents(), c.message ? Events{Message(c.message)} : Events{}) << (c.message ? c.message : "accepted");
    }
}

TEST_F(SampleDialogRulesTest, ReplicationFileIsTestedBeforeTargetFile)
{
    R rules(ExistingFiles(), port_);
    rules.SetFieldText(R::kTargetFileField, Missing("nothing.dat"));
    rules.SetFieldText(R::kReplicationFileField, Missing("none.dat"));
    EXPECT_FALSE(rules.Ok());
    // The fixed message, then both names: neither file is there.
    EXPECT_EQ(port_.TakeEvents(), Events{Message(std::string(SampleDialogText::kReplicationFileMissing) + ": \"" +
                                                 Missing("none.dat") + "\" was not found. The Target Sample's file \"" +
                                                 Missing("nothing.dat") + "\" was not found either.")});

    rules.SetFieldText(R::kReplicationFileField, replicationPath_);
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), Events{Message(std::string(SampleDialogText::kTargetFileMissing) + ": \"" +
                                                 Missing("nothing.dat") + "\" was not found.")});
    // A relative name is looked for in the current folder, which is named.
    rules.SetFieldText(R::kTargetFileField, "relative.dat");
    EXPECT_FALSE(rules.Ok());
    const std::vector<std::string> said = port_.TakeEvents();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("\"relative.dat\" was not found in " + fs::current_path().string() + "."), std::string::npos)
        << said[0];
}

TEST_F(SampleDialogRulesTest, ANameThatCannotBeExaminedCountsAsMissing)
{
    R rules(ExistingFiles(), port_);
    rules.SetFieldText(R::kTargetFileField, targetPath_ + "/below_a_file.dat");
    EXPECT_FALSE(rules.Ok());
    const std::vector<std::string> said = port_.TakeEvents();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].rfind(Message(SampleDialogText::kTargetFileMissing), 0), 0u) << said[0];
}

TEST_F(SampleDialogRulesTest, RefusedCountStopsTheReadingAndKeepsTheDialogOpen)
{
    for (const char* text : {"12a", ""}) {
        R rules(ExistingFiles(), port_);
        rules.SetFieldText(R::kReplicationCountField, text);
        rules.SetFieldText(R::kVariableCountField, "20");
        rules.SetFieldText(R::kTargetCountField, "100");
        EXPECT_FALSE(rules.Ok());
        EXPECT_EQ(port_.TakeEvents(),
                  (Events{Message(DialogText::kEnterInteger), Focus(R::kReplicationCountField)}));
        // Fields before the refused one are taken in, the refused one and those
        // after it are not, and nothing the user typed is overwritten.
        EXPECT_EQ(rules.Values().targetCount, 100);
        EXPECT_EQ(rules.Values().replicationCount, 335);
        EXPECT_EQ(rules.Values().variableCount, 10);
        EXPECT_EQ(rules.FieldText(R::kReplicationCountField), text);
        EXPECT_EQ(rules.FieldText(R::kVariableCountField), "20");

        // Corrected, the dialog closes.
        rules.SetFieldText(R::kReplicationCountField, "300");
        EXPECT_TRUE(rules.Ok());
        EXPECT_EQ(rules.Values().replicationCount, 300);
        EXPECT_EQ(rules.Values().variableCount, 20);
    }
}

TEST_F(SampleDialogRulesTest, RefusedCountLeavesTheFileNamesUnread)
{
    R rules(ExistingFiles(), port_);
    rules.SetFieldText(R::kVariableCountField, "x");
    rules.SetFieldText(R::kTargetFileField, "a.dat");
    rules.SetFieldText(R::kReplicationFileField, "b.dat");
    EXPECT_FALSE(rules.ReadFields());
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(DialogText::kEnterInteger), Focus(R::kVariableCountField)}));
    EXPECT_EQ(rules.Values().targetFile, targetPath_);
    EXPECT_EQ(rules.Values().replicationFile, replicationPath_);
}

TEST_F(SampleDialogRulesTest, FileNamesAreTakenAsTyped)
{
    R rules(ExistingFiles(), port_);
    rules.SetFieldText(R::kTargetFileField, " spaced name.dat ");
    EXPECT_TRUE(rules.ReadFields());
    EXPECT_EQ(rules.Values().targetFile, " spaced name.dat ");
}

TEST_F(SampleDialogRulesTest, BrowseSetsTheChosenPathAndRewritesTheFields)
{
    R rules({707, 335, 10, "target.dat", "replica.dat"}, port_);
    rules.SetFieldText(R::kTargetCountField, " 50 ");
    rules.BrowseTarget("/data/new target.dat");
    EXPECT_EQ(rules.FieldText(R::kTargetFileField), "/data/new target.dat");
    EXPECT_EQ(rules.Values().targetFile, "/data/new target.dat");
    EXPECT_EQ(rules.FieldText(R::kTargetCountField), "50");
    EXPECT_EQ(rules.Values().targetCount, 50);

    rules.BrowseReplication("/data/rep.dat");
    EXPECT_EQ(rules.FieldText(R::kReplicationFileField), "/data/rep.dat");
    EXPECT_EQ(rules.Values().replicationFile, "/data/rep.dat");
    EXPECT_EQ(rules.FieldText(R::kTargetFileField), "/data/new target.dat");
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(SampleDialogRulesTest, CancelledChooserChangesNothing)
{
    R rules({707, 335, 10, "target.dat", "replica.dat"}, port_);
    rules.SetFieldText(R::kTargetFileField, "typed.dat");
    rules.SetFieldText(R::kTargetCountField, "bad");
    rules.BrowseTarget(std::nullopt);
    rules.BrowseReplication(std::nullopt);
    EXPECT_EQ(rules.FieldText(R::kTargetFileField), "typed.dat");
    EXPECT_EQ(rules.FieldText(R::kTargetCountField), "bad");
    EXPECT_EQ(rules.Values().targetFile, "target.dat");
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(SampleDialogRulesTest, BrowseAfterARefusedCountKeepsWhatTheUserTyped)
{
    R rules({707, 335, 10, "target.dat", "replica.dat"}, port_);
    rules.SetFieldText(R::kTargetCountField, "12a");
    rules.SetFieldText(R::kVariableCountField, "20");
    rules.SetFieldText(R::kReplicationFileField, "typed.dat");
    rules.BrowseTarget("/data/t.dat");
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(DialogText::kEnterInteger), Focus(R::kTargetCountField)}));
    EXPECT_EQ(rules.FieldText(R::kTargetFileField), "/data/t.dat");
    EXPECT_EQ(rules.Values().targetFile, "/data/t.dat");
    EXPECT_EQ(rules.FieldText(R::kTargetCountField), "12a");
    EXPECT_EQ(rules.FieldText(R::kVariableCountField), "20");
    EXPECT_EQ(rules.FieldText(R::kReplicationFileField), "typed.dat");
    EXPECT_EQ(rules.Values().targetCount, 707);
}

}  // namespace
