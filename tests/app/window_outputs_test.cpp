// What the window is told about its outputs: refusals of output paths before
// anything is computed, the report file named after a run, notes about the
// data, and a run stopped through the port leaving the earlier report.

#include "analyses/AnalysisProgress.h"
#include "app/RunController.h"
#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "matrix/Matrix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace talver;

namespace {

class OutputsPort : public RunPort {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void FocusField(int) override {}
    void DisplayTexts(const WindowTexts& texts) override { shown = texts; }
    WindowTexts DisplayedTexts() const override { return shown; }
    void SetButtonEnabled(Button, bool) override {}
    void SetWaitCursor(bool) override {}
    std::optional<SampleDialogValues> RunSampleDialog(const SampleDialogValues&) override { return sample; }
    std::optional<OptionsDialogValues> RunOptionsDialog(const OptionsDialogValues& initial) override
    {
        OptionsDialogValues values = initial;
        values.bootstrapSamples = 500;
        values.factorCount = 1;
        return values;
    }
    void OpenReport(const std::string& path) override { opened.push_back(path); }
    void ShowDetail(const std::string& detail) override { details.push_back(detail); }
    // Stops the run at the `stopAt`-th progress call.
    void PollStop() override
    {
        if (++polls == stopAt) {
            throw ComputationStopped();
        }
    }

    WindowTexts shown;
    std::optional<SampleDialogValues> sample;
    std::vector<std::string> messages;
    std::vector<std::string> details;
    std::vector<std::string> opened;
    int polls = 0;
    int stopAt = -1;
};

class WindowOutputsTest : public ::testing::Test {
protected:
    WindowOutputsTest()
        : folder_(std::filesystem::temp_directory_path() /
                  ("talver_outputs_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
    {
        std::filesystem::create_directories(folder_);
        // Twelve participants on six lines of eight numbers: four items each.
        std::string target;
        for (int line = 0; line < 6; ++line) {
            target += line % 2 ? "1 2 3 4 2 3 4 5\n" : "2 4 1 3 5 1 2 2\n";
        }
        Write("t.dat", target);
        Write("r.dat", "1 2 3 4\n2 3 4 5\n3 4 5 1\n4 5 1 2\n5 1 2 3\n1 3 5 2\n2 4 1 3\n3 5 2 4\n");
        Write("earlier.txt", "an earlier report\n");
        logic_.Initialise();
        port_.sample = SampleDialogValues{12, 8, 4, Path("t.dat"), Path("r.dat")};
        logic_.ReadSampleData();
        logic_.ConfigureAnalysis();
    }
    ~WindowOutputsTest() override
    {
        FreeAllMatrices();
        std::filesystem::remove_all(folder_);
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(folder_ / name) << text; }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(folder_ / name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path folder_;
    OutputsPort port_;
    RunController logic_{port_};
};

TEST_F(WindowOutputsTest, AReportPathNamingAnInputIsRefusedWithAMessageBox)
{
    const std::string data = Read("t.dat");
    logic_.GetWorkspace().outputFile = (folder_ / "." / "t.dat").string();
    EXPECT_FALSE(logic_.Compute());
    ASSERT_EQ(port_.messages.size(), 1u);
    EXPECT_NE(port_.messages[0].find("is the Target sample data file"), std::string::npos) << port_.messages[0];
    EXPECT_EQ(port_.shown.status, "  ANALYSIS CONFIGURED");
    EXPECT_TRUE(logic_.IsEnabled(Button::Compute));
    EXPECT_EQ(Read("t.dat"), data);

    logic_.GetWorkspace().outputFile = "";
    EXPECT_FALSE(logic_.Compute());
    EXPECT_EQ(port_.messages.back(), "No name was given for the report file. Choose the name of a file to write.");
}

TEST_F(WindowOutputsTest, TheWindowIsToldTheNotesAndTheReportFile)
{
    // The Target lines hold eight numbers for four items.
    ASSERT_FALSE(port_.details.empty());
    EXPECT_EQ(port_.details[0].rfind("Note on " + Path("t.dat") + ": every line of the file holds 8 numbers, but 4 "
                                      "items were declared",
                                      0),
              0u)
        << port_.details[0];
    logic_.GetWorkspace().outputFile = Path("earlier.txt");
    ASSERT_TRUE(logic_.Compute()) << (port_.messages.empty() ? "" : port_.messages[0]);
    EXPECT_EQ(port_.details.back(), "Report written to " + Path("earlier.txt"));
    EXPECT_NE(Read("earlier.txt").find("TALVER completed"), std::string::npos);
}

TEST_F(WindowOutputsTest, AStoppedRunKeepsTheEarlierReportAndGivesTheWindowBack)
{
    for (int stopAt : {1, 5, 40}) {
        SCOPED_TRACE(stopAt);
        logic_.GetWorkspace().outputFile = Path("earlier.txt");
        logic_.GetWorkspace().jsonFile = Path("earlier.json");
        port_.polls = 0;
        port_.stopAt = stopAt;
        EXPECT_FALSE(logic_.Compute());
        EXPECT_EQ(port_.messages.back(),
                  "The computation was stopped. The report file \"" + Path("earlier.txt") + "\" was not changed.");
        EXPECT_EQ(Read("earlier.txt"), "an earlier report\n");
        EXPECT_FALSE(std::filesystem::exists(Path("earlier.json")));
        EXPECT_EQ(port_.shown.status, "  ANALYSIS CONFIGURED");
        EXPECT_TRUE(logic_.IsEnabled(Button::Compute));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 3);
    }
    // The next run goes through.
    port_.stopAt = -1;
    EXPECT_TRUE(logic_.Compute());
    EXPECT_NE(Read("earlier.txt").find("TALVER completed"), std::string::npos);
}

} // namespace
