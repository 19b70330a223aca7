// The main window driven as a user drives it: the three commands through
// their dialogs on the example data, the texts and enabling after every step,
// the messages, and the run itself compared with talver-batch's.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/ColumnsBox.h"
#include "app/qt/MainWindow.h"
#include "batch_support.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"
#include "support/upper_vector_state.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <set>
#include <sstream>

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
    // Each command with its own Alt accelerator.
    EXPECT_EQ(TextOf(&window_, Id(Button::ReadSampleData)), "&Read Sample Data");
    EXPECT_EQ(TextOf(&window_, Id(Button::ConfigureAnalysis)), "&Configure Analysis");
    EXPECT_EQ(TextOf(&window_, Id(Button::Compute)), "C&ompute");
    EXPECT_EQ(TextOf(&window_, Id(Button::About)), "&About TALVER");
    EXPECT_EQ(TextOf(&window_, Id(Button::Exit)), "E&xit");
    EXPECT_EQ(Status(), "  READY");
    for (int line : {kStatusField, kSectionField, kStepField, kProgressField}) {
        EXPECT_TRUE(Find<QLineEdit>(&window_, line)->isReadOnly());
    }
    for (int line : {kSectionField, kStepField, kProgressField}) {
        EXPECT_EQ(TextOf(&window_, line), "");
    }
    // No two buttons of the window share an accelerator.
    std::set<QChar> accelerators;
    for (const QPushButton* button : window_.findChildren<QPushButton*>()) {
        const qsizetype mark = button->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(mark, 0) << button->text().toStdString();
        EXPECT_TRUE(accelerators.insert(button->text().at(mark + 1).toLower()).second)
            << button->text().toStdString();
    }
    // A window of one size offers no maximize box.
    EXPECT_FALSE(window_.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
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
    // A bootstrap long enough for the counter to be seen moving: 500
    // samples now end within one answering interval.
    Click(Button::ConfigureAnalysis, [](QDialog* dialog) {
        TypeInto(dialog, Options::kBootstrapSamplesField, QStringLiteral("5000"));
        Accept(dialog);
    });
    // The dialog's advice on a long bootstrap.
    driver_.TakeMessages();

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
        EXPECT_FALSE(moment.closed);
        // The window answers once more as the run ends, to drop late input.
        if (moment.status == "  JOB DONE!") {
            continue;
        }
        EXPECT_EQ(moment.status, " COMPUTING ...");
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

TEST_F(MainWindowTest, InputDuringARunIsDroppedNotReplayedAfterIt)
{
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun());

    // Once the run is under way: clicks on the greyed commands (as widget
    // events and through the platform window), their accelerators, Escape
    // and a close request.
    bool sent = false;
    QTimer during;
    during.setInterval(5);
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (sent || TextOf(&window_, kSectionField).empty() || Status() != " COMPUTING ...") {
            return;
        }
        sent = true;
        for (Button button : {Button::ConfigureAnalysis, Button::About, Button::Exit, Button::ReadSampleData}) {
            ClickOn(&window_, Id(button));
            auto* face = Find<QWidget>(&window_, Id(button));
            QTest::mouseClick(window_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              face->mapTo(&window_, face->rect().center()));
        }
        QTest::keyClick(&window_, Qt::Key_C, Qt::AltModifier);
        QTest::keyClick(&window_, Qt::Key_A, Qt::AltModifier);
        QTest::keyClick(&window_, Qt::Key_Escape);
        QTest::keyClick(window_.windowHandle(), Qt::Key_Escape);
        window_.close();
    });
    during.start();
    Click(Button::Compute);
    during.stop();
    ASSERT_TRUE(sent) << "the run ended before any input could be sent";

    // Nothing acts afterwards: the driver fails the test on any dialog.
    QTest::qWait(300);
    EXPECT_TRUE(driver_.TakeMessages().empty());
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Status(), "  JOB DONE!");
    EXPECT_EQ(Enabled(), "xx-xx");
}

TEST_F(MainWindowTest, EscapeDoesNotEndTheProgram)
{
    QTest::keyClick(&window_, Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, ARefusedFieldKeepsEveryTypedValueAndTheRunUsesThem)
{
    Click(Button::ReadSampleData, Accept);
    EXPECT_EQ(window_.focusWidget(), Find<QWidget>(&window_, Id(Button::ConfigureAnalysis)));
    Click(Button::ConfigureAnalysis, [](QDialog* dialog) {
        TypeInto(dialog, Options::kFactorCountField, "3");
        TypeInto(dialog, Options::kBootstrapSamplesField, "6000");
        Accept(dialog);
        EXPECT_EQ(TextOf(dialog, Options::kFactorCountField), "3");
        EXPECT_EQ(TextOf(dialog, Options::kBootstrapSamplesField), "6000");
        EXPECT_TRUE(dialog->isVisible());
        TypeInto(dialog, Options::kBootstrapSamplesField, "500");
        Accept(dialog);
    });
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Please enter an integer between 0 and 5000."});
    EXPECT_EQ(window_.focusWidget(), Find<QWidget>(&window_, Id(Button::Compute)));
    Click(Button::Compute);
    const std::string report = Report();
    EXPECT_NE(report.find("Number of factors                               : 3\n"), std::string::npos);
    EXPECT_NE(report.find("Number of samples in Bootstrap resampling       : 500\n"), std::string::npos);
}

TEST_F(MainWindowTest, TheReportGoesBesideTheTargetOrWhereTheUserChose)
{
    std::filesystem::create_directory(folder_.Path("data"));
    std::filesystem::copy_file(folder_.Path("target.dat"), folder_.Path("data/target.dat"));
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, SampleDialogRules::kTargetFileField, "data/target.dat");
        Accept(dialog);
    });
    const std::string beside = folder_.Path("data/output.txt");
    Click(Button::ConfigureAnalysis, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("reportFile"))->text().toStdString(), beside);
        ShortRun()(dialog);
    });
    auto* shown = window_.findChild<QLineEdit*>(QStringLiteral("reportPath"));
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isVisibleTo(&window_));
    Click(Button::Compute);
    EXPECT_TRUE(shown->isVisibleTo(&window_));
    EXPECT_EQ(shown->text().toStdString(), beside);
    EXPECT_EQ(window_.ReportPath().toStdString(), beside);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path("data/output.json")));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("output.txt")));
    const std::string first = ReadFile(beside);
    // After the run the focus waits on the button that shows the report.
    EXPECT_EQ(window_.focusWidget(), window_.findChild<QWidget*>(QStringLiteral("openReport")));

    // A file of the user's choice, with its companion; the first report stays.
    const std::string chosen = folder_.Path("results.txt");
    Click(Button::ConfigureAnalysis, [&](QDialog* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("reportFile"));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromStdString(chosen));
        ShortRun()(dialog);
    });
    Click(Button::Compute);
    EXPECT_EQ(shown->text().toStdString(), chosen);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path("results.json")));
    EXPECT_EQ(ReadFile(beside), first);
    EXPECT_EQ(WithoutClock(ReadFile(chosen)).substr(0, 200), WithoutClock(first).substr(0, 200));
    // New data keep the place the user chose.
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("reportFile"))->text().toStdString(), chosen);
        ClickOn(dialog, Options::kCancelButton);
    });
}

TEST_F(MainWindowTest, AnEditorThatCannotBeStartedIsReported)
{
    qputenv("TALVER_EDITOR", "/nonexistent/editor");
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, ShortRun([](QDialog* dialog) {
        for (int check : {Options::kDiscriminationsCheck, Options::kResidualVariancesCheck,
                          Options::kCongruenceCheck, Options::kDiscrepancyCheck}) {
            ClickOn(dialog, check);
        }
    }));
    Click(Button::Compute);
    qputenv("TALVER_EDITOR", "true");
    const std::vector<std::string> messages = driver_.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The report " + folder_.Path("output.txt") +
                               " was written, but no text editor could be started to show it. Open it with the "
                               "editor you use, or set TALVER_EDITOR to that editor's command.");
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

// The raster painting leaves the vector registers in the state that slows
// SSE code down; the computation that follows a repaint must not pay for it.
TEST_F(MainWindowTest, PaintingLeavesTheRegistersCleanForTheComputation)
{
    if (!UpperVectorStateInUse().has_value()) {
        GTEST_SKIP() << "this processor does not report the use of its vector registers";
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    for (int step = 0; step < 3; ++step) {
        window_.DisplayTexts({" COMPUTING ...", "Item discriminations", "Step " + std::to_string(step), ""});
        EXPECT_EQ(UpperVectorStateInUse(), false) << step;
        window_.SetButtonEnabled(Button::Compute, step % 2 == 0);
        EXPECT_EQ(UpperVectorStateInUse(), false) << step;
    }
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
    // The reason is shown in the window too.
    const QLabel* detail = window_.findChild<QLabel*>(QStringLiteral("detail"));
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->isVisibleTo(&window_));
    EXPECT_FALSE(detail->text().isEmpty());

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
    // The report goes beside the Target data file; a folder there is refused
    // before anything is computed.
    EXPECT_EQ(messages[0], "The report file \"" + folder_.Path("output.txt") +
                               "\" is a folder, not a regular file. Choose the name of a file to write.");
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

namespace {

// The two example samples in one file with an id and a group column, their
// rows interleaved in order, and one incomplete Target row.
std::string ExamplesWithGroupColumn()
{
    auto rows = [](const std::string& name) {
        std::vector<std::string> lines;
        std::istringstream numbers(Example(name));
        std::string value;
        std::string line;
        int count = 0;
        while (numbers >> value) {
            line += (count % 10 ? "," : "") + value;
            if (++count % 10 == 0) {
                lines.push_back(line);
                line.clear();
            }
        }
        return lines;
    };
    const std::vector<std::string> target = rows("target.dat");
    const std::vector<std::string> replica = rows("replica.dat");
    std::string text = "id,group,q1,q2,q3,q4,q5,q6,q7,q8,q9,q10\n";
    std::size_t t = 0, r = 0;
    while (t < target.size() || r < replica.size()) {
        const bool fromTarget = r >= replica.size() || (t < target.size() && t % 2 == 0);
        const std::string id = std::to_string(t + r);
        text += id + (fromTarget ? ",A," + target[t++] : ",B," + replica[r++]) + "\n";
        if (t == 5) {
            text += "999,A,1,2,,4,5,1,2,3,4,5\n";
        }
    }
    return text;
}

// The report without its clock and the lines that name the data files.
std::string WithoutFileLines(const std::string& report)
{
    std::string kept;
    std::istringstream in(WithoutClock(report));
    for (std::string line; std::getline(in, line);) {
        if (line.find("sample data file") == std::string::npos) {
            kept += line + "\n";
        }
    }
    return kept;
}

} // namespace

TEST_F(MainWindowTest, ItemsAndGroupPickedFromACsvHeaderGiveThePlainFilesReport)
{
    using Rules = SampleDialogRules;
    folder_.Write("group.csv", ExamplesWithGroupColumn());
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        EXPECT_FALSE(Find(dialog, ColumnsBox::kItemList)->isVisible());
        TypeInto(dialog, Rules::kTargetFileField, QStringLiteral("group.csv"));
        ASSERT_TRUE(Find(dialog, ColumnsBox::kItemList)->isVisible());
        ClickOn(dialog, ColumnsBox::kOneFileCheck);
        EXPECT_FALSE(IsEnabled(dialog, Rules::kReplicationFileField));
        auto* items = Find<QListWidget>(dialog, ColumnsBox::kItemList);
        ASSERT_EQ(items->count(), 12);
        // The counts come from the data: their fields are not shown.
        EXPECT_FALSE(Find(dialog, Rules::kTargetCountField)->isVisible());
        // A click on the first item, a shift-click on the last.
        for (const auto& [row, keys] : {std::pair{2, Qt::NoModifier}, std::pair{11, Qt::ShiftModifier}}) {
            items->scrollToItem(items->item(row));
            QTest::mouseClick(items->viewport(), Qt::LeftButton, keys, items->visualItemRect(items->item(row)).center());
        }
        EXPECT_EQ(TextOf(dialog, ColumnsBox::kItemRangeField), "q1-q10");
        // A typed list selects too.
        TypeInto(dialog, ColumnsBox::kItemRangeField, QStringLiteral("q1, q3-q4"));
        EXPECT_EQ(items->selectedItems().size(), 3);
        TypeInto(dialog, ColumnsBox::kItemRangeField, QStringLiteral("q1-q10"));
        EXPECT_EQ(items->selectedItems().size(), 10);
        auto* group = Find<QComboBox>(dialog, ColumnsBox::kGroupColumn);
        group->setCurrentIndex(group->findText(QStringLiteral("group")));
        auto* targetGroup = Find<QComboBox>(dialog, ColumnsBox::kTargetGroup);
        auto* replicationGroup = Find<QComboBox>(dialog, ColumnsBox::kReplicationGroup);
        // The values of the group column are offered.
        EXPECT_EQ(targetGroup->count(), 2);
        targetGroup->setCurrentIndex(targetGroup->findText(QStringLiteral("A")));
        replicationGroup->setCurrentIndex(replicationGroup->findText(QStringLiteral("B")));
        // The counts are the complete rows', and cannot be typed over.
        EXPECT_EQ(TextOf(dialog, Rules::kTargetCountField), "707");
        EXPECT_EQ(TextOf(dialog, Rules::kReplicationCountField), "335");
        EXPECT_EQ(TextOf(dialog, Rules::kVariableCountField), "10");
        EXPECT_TRUE(Find<QLineEdit>(dialog, Rules::kTargetCountField)->isReadOnly());
        EXPECT_EQ(TextOf(dialog, ColumnsBox::kSummary),
                  "1,043 rows read: 708 Target (A), 335 Replication (B), none in other groups.\n"
                  "Target sample: 707 complete rows; 1 of 708 rows dropped for missing values (q3: 1).\n"
                  "Replication sample: 335 complete rows, none dropped for missing values.");
        Accept(dialog);
    });
    EXPECT_TRUE(driver_.TakeMessages().empty());
    ASSERT_EQ(Status(), "  DATA LOADED!");
    Click(Button::ConfigureAnalysis, ShortRun());
    Click(Button::Compute);
    EXPECT_EQ(Status(), "  JOB DONE!");
    const std::string report = Report();
    EXPECT_NE(report.find("Target sample data file                         : group.csv (group = A)\n"),
              std::string::npos);
    EXPECT_EQ(WithoutFileLines(report), WithoutFileLines(BatchReport({"--samples", "500", "--output", "output.txt"})));

    // The dialog opens again on the same choice.
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        EXPECT_TRUE(IsChecked(dialog, ColumnsBox::kOneFileCheck));
        EXPECT_EQ(Find<QComboBox>(dialog, ColumnsBox::kReplicationGroup)->currentText().toStdString(), "B");
        EXPECT_EQ(TextOf(dialog, Rules::kVariableCountField), "10");
        ClickOn(dialog, Rules::kCancelButton);
    });
}
