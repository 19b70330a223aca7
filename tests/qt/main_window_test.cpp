// The main window driven as a user drives it: the three commands through
// their dialogs on the example data, the texts and enabling after every step,
// the messages, and the run itself compared with talver-batch's.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/MainWindow.h"
#include "batch_support.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <set>

using namespace talver;

namespace {

using Options = OptionsDialogRules;

constexpr int kStatusField = 1065;
constexpr int kSectionField = 1061;
constexpr int kStepField = 1062;
constexpr int kProgressField = 1063;

int Id(Button button)
{
    return static_cast<int>(button);
}

std::string Example(const std::string& name)
{
    return ReadFile(std::string(TALVER_SOURCE_DIR) + "/examples/" + name);
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", Example("target.dat"));
        folder_.Write("replica.dat", Example("replica.dat"));
        previousFolder_ = QDir::currentPath();
        // The window's names are relative, as when talver starts in examples/.
        QDir::setCurrent(QString::fromStdString(folder_.Path("")));
        window_.show();
    }

    ~MainWindowTest() override { QDir::setCurrent(previousFolder_); }

    // Which of Read, Configure, Compute, About and Exit are enabled.
    std::string Enabled() const
    {
        std::string enabled;
        for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Compute, Button::About,
                              Button::Exit}) {
            enabled += IsEnabled(&window_, Id(button)) ? "x" : "-";
        }
        return enabled;
    }

    std::string Status() const { return TextOf(&window_, kStatusField); }

    void Click(Button button, std::function<void(QDialog*)> step = nullptr)
    {
        if (step) {
            driver_.Then(std::move(step));
        }
        ClickOn(&window_, Id(button));
        EXPECT_FALSE(driver_.StepsLeft());
    }

    static void Accept(QDialog* dialog) { ClickOn(dialog, Options::kOkButton); }

    // The options dialog with 500 samples (the fewest it takes) and `changes`.
    static std::function<void(QDialog*)> ShortRun(std::function<void(QDialog*)> changes = nullptr)
    {
        return [changes](QDialog* dialog) {
            TypeInto(dialog, Options::kBootstrapSamplesField, QStringLiteral("500"));
            if (changes) {
                changes(dialog);
            }
            Accept(dialog);
        };
    }

    std::string Report() const { return ReadFile(folder_.Path("output.txt")); }

    // talver-batch on the same data in a folder of its own, in the C locale.
    std::string BatchReport(const std::vector<std::string>& arguments) const
    {
        ScratchFolder batchFolder(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                                  "_batch");
        batchFolder.Write("target.dat", Example("target.dat"));
        batchFolder.Write("replica.dat", Example("replica.dat"));
        const BatchRun run = RunBatch(batchFolder.Path(""), arguments, "LC_ALL=C");
        EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
        return ReadFile(batchFolder.Path("output.txt"));
    }

    ScratchFolder folder_;
    QString previousFolder_;
    MainWindow window_;
    ModalDriver driver_;
};

TEST_F(MainWindowTest, StartsReadyWithItsTextsPicturesAndIcon)
{
    EXPECT_EQ(window_.windowTitle().toStdString(), "TALVER");
    EXPECT_EQ(TextOf(&window_, Id(Button::ReadSampleData)), "Read Sample Data");
    EXPECT_EQ(TextOf(&window_, Id(Button::ConfigureAnalysis)), "Configure Analysis");
    EXPECT_EQ(TextOf(&window_, Id(Button::Compute)), "Compute");
    EXPECT_EQ(TextOf(&window_, Id(Button::About)), "About TALVER");
    EXPECT_EQ(TextOf(&window_, Id(Button::Exit)), "Exit");
    EXPECT_EQ(Status(), "  READY");
    for (int line : {kSectionField, kStepField, kProgressField}) {
        EXPECT_EQ(TextOf(&window_, line), "");
        EXPECT_TRUE(Find<QLineEdit>(&window_, line)->isReadOnly());
    }
    EXPECT_FALSE(Find<QLineEdit>(&window_, kStatusField)->isReadOnly());
    EXPECT_EQ(Enabled(), "x--xx");

    int pictures = 0;
    for (const QLabel* label : window_.findChildren<QLabel*>()) {
        pictures += label->pixmap().isNull() ? 0 : 1;
    }
    EXPECT_EQ(pictures, 2);
    EXPECT_FALSE(window_.windowIcon().isNull());
    // A disabled command cannot be clicked.
    ClickOn(&window_, Id(Button::Compute));
    EXPECT_EQ(Status(), "  READY");
}

TEST_F(MainWindowTest, TheRoadOfOneJobWritesTheBatchProgramsReport)
{
    Click(Button::ReadSampleData, Accept);
    EXPECT_EQ(Status(), "  DATA LOADED!");
    EXPECT_EQ(Enabled(), "xx-xx");

    Click(Button::ConfigureAnalysis, Accept);
    EXPECT_EQ(Status(), "  ANALYSIS CONFIGURED");
    EXPECT_EQ(Enabled(), "xxxxx");

    Click(Button::Compute);
    EXPECT_TRUE(driver_.TakeMessages().empty());
    EXPECT_EQ(Status(), "  JOB DONE!");
    for (int line : {kSectionField, kStepField, kProgressField}) {
        EXPECT_EQ(TextOf(&window_, line), " ");
    }
    EXPECT_EQ(Enabled(), "xx-xx");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(WithoutClock(Report()), WithoutClock(BatchReport({"--output", "output.txt"})));
}

TEST_F(MainWindowTest, TheWindowIsDrawnAndAnswersWhileItComputes)
{
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun());

    struct Moment {
        std::string status;
        std::string section;
        std::string progress;
        std::string enabled;
        bool waitCursor;
        bool closed;
    };
    std::vector<Moment> moments;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        moments.push_back({Status(), TextOf(&window_, kSectionField), TextOf(&window_, kProgressField), Enabled(),
                           cursor != nullptr && cursor->shape() == Qt::WaitCursor, window_.close()});
    });
    ticker.start();
    QElapsedTimer clock;
    clock.start();
    Click(Button::Compute);
    const qint64 runMs = clock.elapsed();
    ticker.stop();

    // Timers run during the run at least every half second.
    ASSERT_GE(moments.size(), static_cast<std::size_t>(runMs / 500)) << runMs << " ms";
    ASSERT_FALSE(moments.empty());
    std::set<std::string> counters;
    for (const Moment& moment : moments) {
        EXPECT_EQ(moment.status, " COMPUTING ...");
        EXPECT_FALSE(moment.closed);
        // The status is shown before the buttons are locked; from the first
        // analysis on, everything is locked.
        if (!moment.section.empty()) {
            EXPECT_EQ(moment.enabled, "-----");
            EXPECT_TRUE(moment.waitCursor);
        }
        counters.insert(moment.progress);
    }
    // The bootstrap counter moves on screen.
    EXPECT_GT(counters.size(), 1u);
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Status(), "  JOB DONE!");
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(MainWindowTest, TextsArePaintedAtOnceAndAFastCounterThinnedOut)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    PaintCounter stepPaints(Find<QWidget>(&window_, kStepField));
    PaintCounter counterPaints(Find<QWidget>(&window_, kProgressField));
    window_.DisplayTexts({" COMPUTING ...", "Item discriminations", "Bootstrap resampling ...", ""});
    EXPECT_EQ(stepPaints.count, 1);

    constexpr int kSteps = 200;
    QElapsedTimer clock;
    clock.start();
    for (int done = 0; done < kSteps; ++done) {
        window_.DisplayTexts({" COMPUTING ...", "Item discriminations", "Bootstrap resampling ...",
                              "Done: " + std::to_string(done)});
    }
    const qint64 elapsedMs = clock.elapsed();
    // The field holds every step; the screen gets about one in 40 ms.
    EXPECT_EQ(window_.DisplayedTexts().progress, "Done: " + std::to_string(kSteps - 1));
    EXPECT_GE(counterPaints.count, 1);
    EXPECT_LE(counterPaints.count, 2 + elapsedMs / 40) << elapsedMs << " ms";
    window_.DisplayTexts({" COMPUTING ...", "Item discriminations", "Computing confidence intervals ...", " "});
    EXPECT_EQ(stepPaints.count, 2);
}

TEST_F(MainWindowTest, AReadingErrorIsShownAndTheFailedValuesComeBack)
{
    folder_.Write("short.dat", "1 2 3\n4 5\n");
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, SampleDialogRules::kTargetCountField, "2");
        TypeInto(dialog, SampleDialogRules::kVariableCountField, "3");
        TypeInto(dialog, SampleDialogRules::kTargetFileField, "short.dat");
        Accept(dialog);
    });
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Error reading TARGET file!"});
    EXPECT_EQ(Status(), "  READY");
    EXPECT_EQ(Enabled(), "x--xx");

    Click(Button::ReadSampleData, [](QDialog* dialog) {
        EXPECT_EQ(TextOf(dialog, SampleDialogRules::kTargetCountField), "2");
        EXPECT_EQ(TextOf(dialog, SampleDialogRules::kVariableCountField), "3");
        EXPECT_EQ(TextOf(dialog, SampleDialogRules::kTargetFileField), "short.dat");
        EXPECT_EQ(TextOf(dialog, SampleDialogRules::kReplicationFileField), "replica.dat");
        // 335 x 3 numbers are fewer than the file holds: now the other message.
        TypeInto(dialog, SampleDialogRules::kTargetFileField, "target.dat");
        TypeInto(dialog, SampleDialogRules::kTargetCountField, "707");
        Accept(dialog);
    });
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Error reading TARGET file!"});
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, SampleDialogRules::kVariableCountField, "10");
        TypeInto(dialog, SampleDialogRules::kReplicationFileField, "short.dat");
        Accept(dialog);
    });
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Error reading REPLICATION file!"});
    EXPECT_EQ(Status(), "  READY");
}

TEST_F(MainWindowTest, CancelChangesNothing)
{
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, SampleDialogRules::kTargetCountField, "5");
        ClickOn(dialog, SampleDialogRules::kCancelButton);
    });
    EXPECT_EQ(Status(), "  READY");
    EXPECT_EQ(Enabled(), "x--xx");
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        EXPECT_EQ(TextOf(dialog, SampleDialogRules::kTargetCountField), "707");
        Accept(dialog);
    });
    Click(Button::ConfigureAnalysis, [](QDialog* dialog) {
        ClickOn(dialog, Options::kPearsonRadio);
        TypeInto(dialog, Options::kFactorCountField, "3");
        ClickOn(dialog, Options::kCancelButton);
    });
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Please, note that Covariance matrix analysis is advised"});
    EXPECT_EQ(Status(), "  DATA LOADED!");
    EXPECT_EQ(Enabled(), "xx-xx");
    Click(Button::ConfigureAnalysis, [](QDialog* dialog) {
        EXPECT_TRUE(IsChecked(dialog, Options::kCovarianceRadio));
        EXPECT_EQ(TextOf(dialog, Options::kFactorCountField), "2");
        // The score range of the data, 1 to 5 in the examples.
        EXPECT_EQ(TextOf(dialog, Options::kLowestScoreField), "1");
        EXPECT_EQ(TextOf(dialog, Options::kHighestScoreField), "5");
        ClickOn(dialog, Options::kCancelButton);
    });
}

TEST_F(MainWindowTest, NewDataAskForANewConfiguration)
{
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, Accept);
    EXPECT_EQ(Enabled(), "xxxxx");
    Click(Button::ReadSampleData, Accept);
    EXPECT_EQ(Status(), "  DATA LOADED!");
    EXPECT_EQ(Enabled(), "xx-xx");
    Click(Button::ConfigureAnalysis, Accept);
    EXPECT_EQ(Enabled(), "xxxxx");
}

TEST_F(MainWindowTest, AReportThatCannotBeWrittenIsShownAndTheWindowUnlocked)
{
    std::filesystem::create_directory(folder_.Path("output.txt"));
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun());
    Click(Button::Compute);
    const std::vector<std::string> messages = driver_.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The report file \"output.txt\" is a folder, not a regular file. Choose the name of a file "
                           "to write.");
    EXPECT_EQ(Status(), "  ANALYSIS CONFIGURED");
    EXPECT_EQ(Enabled(), "xxxxx");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, TheEditorIsStartedOnTheClosedReport)
{
    const std::string seen = folder_.Path("editor-saw.txt");
    const std::string editor =
        folder_.Write("editor.sh", "#!/bin/sh\nwc -l < \"$1\" > '" + seen + ".tmp'\necho \"$1\" >> '" + seen +
                                       ".tmp'\nmv '" + seen + ".tmp' '" + seen + "'\n");
    std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
    qputenv("TALVER_EDITOR", QByteArray::fromStdString(editor));
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun());
    Click(Button::Compute);
    qputenv("TALVER_EDITOR", "true");

    QElapsedTimer clock;
    clock.start();
    while (!std::filesystem::exists(seen) && clock.elapsed() < 10000) {
        QTest::qWait(20);
    }
    // The editor saw the whole report, named by its full path.
    const std::string report = Report();
    const std::string lines = std::to_string(std::count(report.begin(), report.end(), '\n'));
    EXPECT_EQ(ReadFile(seen), lines + "\n" + folder_.Path("output.txt") + "\n");
}

TEST_F(MainWindowTest, ACommaDecimalLocaleChangesNothingInTheReport)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/setup.sh makes it)";
    }
    char decimal[8];
    std::snprintf(decimal, sizeof decimal, "%.1f", 0.5);
    EXPECT_STREQ(decimal, "0,5");
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun([](QDialog* dialog) { ClickOn(dialog, Options::kAlpha10Radio); }));
    Click(Button::Compute);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(Status(), "  JOB DONE!");
    EXPECT_EQ(WithoutClock(Report()),
              WithoutClock(BatchReport({"--samples", "500", "--alpha", "0.10", "--output", "output.txt"})));
}

TEST_F(MainWindowTest, ExitReleasesEveryMatrixAndClosesTheWindow)
{
    Click(Button::ReadSampleData, Accept);
    EXPECT_GT(LiveMatrixCount(), 0u);
    Click(Button::Exit);
    EXPECT_EQ(LiveMatrixCount(), 0u);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, TheAboutBoxShowsVersionDateAndCredits)
{
    Click(Button::About, [](QDialog* about) {
        EXPECT_EQ(about->windowTitle().toStdString(), "About TALVER");
        std::vector<std::string> texts;
        int pictures = 0;
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                ++pictures;
            } else {
                texts.push_back(label->text().toStdString());
            }
        }
        EXPECT_EQ(pictures, 1);
        EXPECT_EQ(texts, (std::vector<std::string>{"TALVER Version 2.01 for Win95/NT", "August, 2002",
                                                   "Department of Quantitative Methods",
                                                   "Aldmoor University, Aldmoor", "Programing: Mira Castell",
                                                   "Mathematical Specification: Jonas Ferrer, Elena Varga"}));
        EXPECT_EQ(TextOf(about, 1), "OK");
        ClickOn(about, 1);
    });
    EXPECT_TRUE(window_.isVisible());
}

} // namespace
