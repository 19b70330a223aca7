// The main window's commands without a window: states, enabling, messages and
// the report of a run, driven through a scripted port.

#include "app/RunController.h"
#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "matrix/Matrix.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace talver;

namespace {

class ScriptedPort : public RunPort {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void FocusField(int) override {}
    void DisplayTexts(const WindowTexts& texts) override
    {
        shown = texts;
        statusHistory.push_back(texts.status);
    }
    WindowTexts DisplayedTexts() const override { return shown; }
    void SetButtonEnabled(Button button, bool enabled) override
    {
        enabled_[button] = enabled;
        if (!enabled) {
            disableOrder.push_back(button);
        }
    }
    void SetWaitCursor(bool waiting) override { waitCursor = waiting; }
    std::optional<SampleDialogValues> RunSampleDialog(const SampleDialogValues& initial) override
    {
        lastSampleInitial = initial;
        return sampleAnswer;
    }
    std::optional<OptionsDialogValues> RunOptionsDialog(const OptionsDialogValues& initial) override
    {
        lastOptionsInitial = initial;
        if (!optionsAnswer) {
            return std::nullopt;
        }
        OptionsDialogValues values = initial;
        optionsAnswer(values);
        return values;
    }
    void OpenReport(const std::string& path) override { openedReports.push_back(path); }

    bool Enabled(Button button) { return enabled_[button]; }

    std::vector<std::string> messages;
    std::vector<std::string> statusHistory;
    std::vector<Button> disableOrder;
    std::vector<std::string> openedReports;
    WindowTexts shown;
    bool waitCursor = false;
    std::optional<SampleDialogValues> sampleAnswer;
    std::function<void(OptionsDialogValues&)> optionsAnswer;
    SampleDialogValues lastSampleInitial;
    OptionsDialogValues lastOptionsInitial;

private:
    std::map<Button, bool> enabled_;
};

class RunControllerTest : public ::testing::Test {
protected:
    RunControllerTest()
        : folder_(std::filesystem::temp_directory_path() /
                  ("talver_window_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
    {
        std::filesystem::create_directories(folder_);
        Write("t.dat", "1 2 3\n2 3 4\n3 4 5\n4 5 1\n");
        Write("r.dat", "2 2 2\n3 3 1\n0 1 2\n");
        logic_.Initialise();
        logic_.GetWorkspace().outputFile = (folder_ / "report.txt").string();
        port_.sampleAnswer = SampleDialogValues{4, 3, 3, (folder_ / "t.dat").string(), (folder_ / "r.dat").string()};
    }
    ~RunControllerTest() override
    {
        FreeAllMatrices();
        std::filesystem::remove_all(folder_);
    }
    void Write(const std::string& name, const std::string& text) { std::ofstream(folder_ / name) << text; }
    std::string Report()
    {
        std::ifstream in(folder_ / "report.txt");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void EveryOutputOff(OptionsDialogValues& v)
    {
        v.showDiscriminations = v.showDifficulties = v.showResidualVariances = 0;
        v.showDifficultyFit = v.showCongruence = v.showDiscrepancy = 0;
    }

    std::filesystem::path folder_;
    ScriptedPort port_;
    RunController logic_{port_};
};

TEST_F(RunControllerTest, StartsReady)
{
    EXPECT_EQ(port_.shown.status, "  READY");
    EXPECT_TRUE(port_.Enabled(Button::ReadSampleData));
    EXPECT_TRUE(port_.Enabled(Button::About));
    EXPECT_TRUE(port_.Enabled(Button::Exit));
    EXPECT_FALSE(port_.Enabled(Button::ConfigureAnalysis));
    EXPECT_FALSE(port_.Enabled(Button::Compute));
}

TEST_F(RunControllerTest, CommandsRefuseToRunOutOfOrder)
{
    logic_.ConfigureAnalysis();
    EXPECT_FALSE(logic_.Compute());
    logic_.ReadSampleData();
    EXPECT_FALSE(logic_.Compute());
    ASSERT_EQ(port_.messages.size(), 3u);
    EXPECT_EQ(port_.messages[0], "Data must be read before the definition of the analysis");
    EXPECT_EQ(port_.messages[1], "Data must be read before the computing");
    EXPECT_EQ(port_.messages[2], "Analysis must be configured before the computing");
}

TEST_F(RunControllerTest, ReadDerivesTheScoreRange)
{
    logic_.ReadSampleData();
    const Workspace& w = logic_.GetWorkspace();
    EXPECT_TRUE(w.dataLoaded);
    EXPECT_EQ(port_.shown.status, "  DATA LOADED!");
    EXPECT_EQ(w.observedMinimum, 0);
    EXPECT_EQ(w.observedMaximum, 5);
    EXPECT_EQ(w.categoryCount, 6);
    EXPECT_EQ(w.options.lowestScore, 0);
    EXPECT_EQ(w.options.highestScore, 5);
    EXPECT_EQ((*w.targetData)(3, 2), 1.0);
    EXPECT_TRUE(port_.Enabled(Button::ConfigureAnalysis));
    EXPECT_FALSE(port_.Enabled(Button::Compute));
}

TEST_F(RunControllerTest, FailedReadKeepsTheAttemptAndStaysReady)
{
    Write("t.dat", "1 2 3\n");
    logic_.ReadSampleData();
    EXPECT_FALSE(logic_.GetWorkspace().dataLoaded);
    EXPECT_EQ(port_.messages, std::vector<std::string>{"Error reading TARGET file!"});
    EXPECT_EQ(port_.shown.status, "  READY");
    EXPECT_FALSE(port_.Enabled(Button::ConfigureAnalysis));
    logic_.ReadSampleData();
    EXPECT_EQ(port_.lastSampleInitial.targetCount, 4);
    EXPECT_EQ(port_.lastSampleInitial.targetFile, (folder_ / "t.dat").string());
}

TEST_F(RunControllerTest, PolychoricConfigurationFillsTheItemRanges)
{
    logic_.ReadSampleData();
    port_.optionsAnswer = [](OptionsDialogValues& v) {
        v.dispersionKind = 3;
        v.lowestScore = -1;
        v.highestScore = 7;
    };
    logic_.ConfigureAnalysis();
    const Workspace& w = logic_.GetWorkspace();
    EXPECT_EQ(w.categoryCount, 9);
    EXPECT_EQ((*w.itemLowest)(2, 0), -1.0);
    EXPECT_EQ((*w.itemHighest)(0, 0), 7.0);
    port_.optionsAnswer = [](OptionsDialogValues& v) {
        v.dispersionKind = 1;
        v.lowestScore = 0;
        v.highestScore = 1;
    };
    logic_.ConfigureAnalysis();
    EXPECT_EQ(w.categoryCount, 9);
    EXPECT_EQ(w.options.highestScore, 7);
    EXPECT_EQ(port_.lastOptionsInitial.highestScore, 7);
}

TEST_F(RunControllerTest, ComputeLocksTheWindowAndWritesTheReport)
{
    logic_.ReadSampleData();
    port_.optionsAnswer = EveryOutputOff;
    logic_.ConfigureAnalysis();
    EXPECT_EQ(port_.shown.status, "  ANALYSIS CONFIGURED");
    EXPECT_TRUE(port_.Enabled(Button::Compute));
    port_.disableOrder.clear();
    ASSERT_TRUE(logic_.Compute());
    const std::vector<Button> order = {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Compute,
                                       Button::Exit, Button::About};
    EXPECT_EQ(port_.disableOrder, order);
    EXPECT_NE(std::find(port_.statusHistory.begin(), port_.statusHistory.end(), " COMPUTING ..."),
              port_.statusHistory.end());
    EXPECT_EQ(port_.shown.status, "  JOB DONE!");
    EXPECT_FALSE(port_.Enabled(Button::Compute));
    EXPECT_TRUE(port_.Enabled(Button::ConfigureAnalysis));
    EXPECT_FALSE(port_.waitCursor);
    EXPECT_EQ(port_.openedReports.size(), 1u);
    EXPECT_NE(Report().find("TALVER completed\nComputing time: "), std::string::npos);

    // New data need a new confirmation of the options.
    logic_.ReadSampleData();
    EXPECT_FALSE(port_.Enabled(Button::Compute));
    EXPECT_TRUE(logic_.GetWorkspace().analysisConfigured);
}

TEST_F(RunControllerTest, ReportThatCannotBeOpenedRestoresTheWindow)
{
    logic_.ReadSampleData();
    port_.optionsAnswer = EveryOutputOff;
    logic_.ConfigureAnalysis();
    logic_.GetWorkspace().outputFile = (folder_ / "missing" / "report.txt").string();
    EXPECT_FALSE(logic_.Compute());
    ASSERT_EQ(port_.messages.size(), 1u);
    EXPECT_NE(port_.messages[0].find("missing/report.txt"), std::string::npos);
    EXPECT_EQ(port_.shown.status, "  ANALYSIS CONFIGURED");
    EXPECT_TRUE(port_.Enabled(Button::Compute));
    EXPECT_TRUE(port_.Enabled(Button::Exit));
    EXPECT_TRUE(port_.openedReports.empty());
}

TEST_F(RunControllerTest, CommaDecimalLocaleChangesNothing)
{
    const std::string reportInC = [&] {
        logic_.ReadSampleData();
        port_.optionsAnswer = EveryOutputOff;
        logic_.ConfigureAnalysis();
        logic_.Compute();
        return Report();
    }();
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    }
    logic_.ReadSampleData();
    logic_.ConfigureAnalysis();
    logic_.Compute();
    const std::string reportInGerman = Report();
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(reportInGerman.find("Computing time:           0.0"), std::string::npos);
    const auto body = [](const std::string& report) { return report.substr(report.find("DETAILS")); };
    EXPECT_EQ(body(reportInGerman).substr(0, 400), body(reportInC).substr(0, 400));
    EXPECT_EQ(reportInGerman.find("day,"), reportInC.find("day,"));
}

} // namespace
