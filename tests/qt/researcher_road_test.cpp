// The road from the data to a result and from it, in the window: scores that
// look like missing-value codes offered for declaring, the Sample dialog
// within the screen, Stop during Compute, the outputs within reach (the HTML
// page, the results window again, a folder no file manager opens) and the
// note after a second Compute.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/ColumnsBox.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ResultsView.h"
#include "batch_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace talver;

namespace {

using Rules = SampleDialogRules;
using Options = OptionsDialogRules;

constexpr int kStatusField = 1065;
constexpr int kProgressField = 1063;

std::string Example(const std::string& name)
{
    return ReadFile(std::string(TALVER_SOURCE_DIR) + "/examples/" + name);
}

class ResearcherRoadTest : public ::testing::Test {
protected:
    ResearcherRoadTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", Example("target.dat"));
        folder_.Write("replica.dat", Example("replica.dat"));
        folder_.Write("groups.csv", Example("groups.csv"));
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(folder_.Path("")));
        window_.show();
    }
    ~ResearcherRoadTest() override { QDir::setCurrent(previousFolder_); }

    void Click(Button button, std::function<void(QDialog*)> step = nullptr)
    {
        if (step) {
            driver_.Then(std::move(step));
        }
        ClickOn(&window_, static_cast<int>(button));
        EXPECT_FALSE(driver_.StepsLeft());
    }

    static void Accept(QDialog* dialog) { ClickOn(dialog, Rules::kOkButton); }

    static std::function<void(QDialog*)> Samples(const char* count)
    {
        return [count](QDialog* dialog) {
            TypeInto(dialog, Options::kBootstrapSamplesField, QString::fromLatin1(count));
            ClickOn(dialog, Options::kOkButton);
        };
    }

    std::string Status() const { return TextOf(&window_, kStatusField); }
    std::string Detail() const
    {
        return window_.findChild<QLabel*>(QStringLiteral("detail"))->text().toStdString();
    }
    QPushButton* Named(const char* name) const { return window_.findChild<QPushButton*>(QString::fromLatin1(name)); }

    ScratchFolder folder_;
    QString previousFolder_;
    MainWindow window_;
    ModalDriver driver_;
};

// In the dialog, one click declares the codes it found; the counts follow.
TEST_F(ResearcherRoadTest, TheSampleDialogOffersToDeclareCodesThatLookMissing)
{
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, Rules::kTargetFileField, QStringLiteral("groups.csv"));
        ClickOn(dialog, ColumnsBox::kOneFileCheck);
        auto* group = Find<QComboBox>(dialog, ColumnsBox::kGroupColumn);
        group->setCurrentIndex(group->findText(QStringLiteral("sample")));
        Find<QComboBox>(dialog, ColumnsBox::kTargetGroup)->setEditText(QStringLiteral("original"));
        Find<QComboBox>(dialog, ColumnsBox::kReplicationGroup)->setEditText(QStringLiteral("retest"));
        TypeInto(dialog, ColumnsBox::kItemRangeField, QStringLiteral("q1-q10"));
        EXPECT_TRUE(Find(dialog, ColumnsBox::kSuspectCodes)->isVisible());
        EXPECT_EQ(TextOf(dialog, ColumnsBox::kSuspectCodes),
                  "The score -9 looks like a code for a missing answer: it occurs 3 times, in q4 (1), q6 (1) and "
                  "q9 (1).");
        const std::string before = TextOf(dialog, Rules::kReplicationCountField);
        ClickOn(dialog, ColumnsBox::kDeclareMissing);
        EXPECT_EQ(TextOf(dialog, ColumnsBox::kMissingField), "-9");
        EXPECT_FALSE(Find(dialog, ColumnsBox::kSuspectCodes)->isVisible());
        EXPECT_EQ(std::stoi(TextOf(dialog, Rules::kReplicationCountField)), std::stoi(before) - 1);
        Accept(dialog);
    });
    EXPECT_TRUE(driver_.TakeMessages().empty());
    EXPECT_EQ(Status(), "  DATA LOADED!");
    // Both samples' lines stay below the commands.
    EXPECT_NE(Detail().find("Target sample: "), std::string::npos) << Detail();
    EXPECT_NE(Detail().find("Replication sample: "), std::string::npos) << Detail();
}

// Plain files cannot declare codes: a message says what was found and what
// to do, and the run still runs.
TEST_F(ResearcherRoadTest, CodesInPlainFilesAreSaidBeforeComputing)
{
    std::string target = Example("target.dat");
    target.replace(0, 1, "-9");
    folder_.Write("target.dat", target);
    Click(Button::ReadSampleData, Accept);
    const std::vector<std::string> messages = driver_.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("The score -9 looks like a code for a missing answer: it occurs 1 time, in item 1 "
                                "(1).",
                                0),
              0u)
        << messages[0];
    EXPECT_NE(messages[0].find("Plain data files cannot mark missing answers"), std::string::npos);
    EXPECT_EQ(Status(), "  DATA LOADED!");
    EXPECT_TRUE(IsEnabled(&window_, static_cast<int>(Button::ConfigureAnalysis)));

    // Data that cannot be read after data that could: nothing is left to
    // configure, and the focus goes back to Read Sample Data.
    folder_.Write("target.dat", "1 2 3\n");
    Click(Button::ReadSampleData, Accept);
    EXPECT_EQ(driver_.TakeMessages().size(), 1u);
    EXPECT_EQ(Status(), "  READY");
    EXPECT_FALSE(IsEnabled(&window_, static_cast<int>(Button::ConfigureAnalysis)));
    EXPECT_EQ(window_.focusWidget(), Find<QWidget>(&window_, static_cast<int>(Button::ReadSampleData)));
}

// Every control of the dialog for a file with column names is within the
// screen, or reached by scrolling; OK and Cancel always are.
TEST_F(ResearcherRoadTest, TheSampleDialogFitsTheScreen)
{
    Click(Button::ReadSampleData, [](QDialog* dialog) {
        TypeInto(dialog, Rules::kTargetFileField, QStringLiteral("groups.csv"));
        ClickOn(dialog, ColumnsBox::kOneFileCheck);
        QApplication::processEvents();
        const QRect free = dialog->screen()->availableGeometry();
        EXPECT_LE(dialog->frameGeometry().height(), free.height());
        EXPECT_LE(dialog->frameGeometry().width(), free.width());
        for (int button : {Rules::kOkButton, Rules::kCancelButton}) {
            QWidget* face = Find(dialog, button);
            EXPECT_TRUE(dialog->rect().contains(QRect(face->mapTo(dialog, QPoint(0, 0)), face->size()))) << button;
        }
        auto* scroll = dialog->findChild<QScrollArea*>(QStringLiteral("sampleScroll"));
        for (int control : {ColumnsBox::kPreview, ColumnsBox::kItemList, ColumnsBox::kItemRangeField,
                            ColumnsBox::kGroupColumn, ColumnsBox::kReplicationGroup, ColumnsBox::kMissingField,
                            ColumnsBox::kSummary}) {
            QWidget* widget = Find(dialog, control);
            scroll->ensureWidgetVisible(widget);
            const QRect shown(widget->mapTo(scroll->viewport(), QPoint(0, 0)), QSize(1, 1));
            EXPECT_TRUE(scroll->viewport()->rect().intersects(shown)) << control;
        }
        ClickOn(dialog, Rules::kCancelButton);
    });
}

// Stop ends the run at the next replicate: the earlier report stays, the
// window is ready for another Compute. The button and its key (Alt+T) stop
// alike; the other commands' keys stay locked.
TEST_F(ResearcherRoadTest, StopEndsARunAndKeepsTheEarlierReport)
{
    folder_.Write("output.txt", "an earlier report\n");
    Click(Button::ReadSampleData, Accept);
    QPushButton* stop = Named("stopRun");
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isEnabled());
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"button", [stop] { QTest::mouseClick(stop, Qt::LeftButton); }},
        {"Alt+T", [this] { QTest::keyClick(&window_, Qt::Key_T, Qt::AltModifier); }},
    };
    for (const auto& [way, stopIt] : ways) {
        SCOPED_TRACE(way);
        Click(Button::ConfigureAnalysis, Samples("5000"));
        // The dialog's advice on a long bootstrap.
        driver_.TakeMessages();
        bool pressed = false;
        QTimer during;
        during.setInterval(5);
        QObject::connect(&during, &QTimer::timeout, [&] {
            if (!pressed && TextOf(&window_, kProgressField).find("Done:") != std::string::npos) {
                pressed = true;
                EXPECT_TRUE(stop->isEnabled());
                stopIt();
            }
        });
        during.start();
        Click(Button::Compute);
        during.stop();
        ASSERT_TRUE(pressed);
        const std::vector<std::string> messages = driver_.TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("The computation was stopped.", 0), 0u) << messages[0];
        EXPECT_EQ(ReadFile(folder_.Path("output.txt")), "an earlier report\n");
        EXPECT_EQ(Status(), "  ANALYSIS CONFIGURED");
        EXPECT_FALSE(stop->isEnabled());
        EXPECT_TRUE(IsEnabled(&window_, static_cast<int>(Button::Compute)));
    }
}

// After a run: the page is named and opens from a button, the results
// window comes back once closed, and a second run says why its numbers moved.
TEST_F(ResearcherRoadTest, OutputsAreWithinReachAfterARun)
{
    Click(Button::ReadSampleData, Accept);
    Click(Button::ConfigureAnalysis, Samples("500"));
    Click(Button::Compute);
    ASSERT_EQ(Status(), "  JOB DONE!");
    EXPECT_EQ(window_.PagePath().toStdString(), folder_.Path("output.html"));
    EXPECT_TRUE(Named("openPage")->isEnabled());
    auto* results = window_.findChild<ResultsView*>();
    ASSERT_NE(results, nullptr);
    // On the tables when the report warns, else on the first chart.
    const bool warned = ReadFile(folder_.Path("output.txt")).find("WARNING: ") != std::string::npos;
    EXPECT_EQ(results->ShowsTables(), warned);
    EXPECT_EQ(results->findChild<QPushButton*>(QStringLiteral("saveChart"))->isEnabled(), !warned);
    results->close();
    QTest::mouseClick(Named("showResults"), Qt::LeftButton);
    EXPECT_TRUE(results->isVisible());
    EXPECT_EQ(Detail().find("continued the random sequence"), std::string::npos);

    Click(Button::ConfigureAnalysis, Samples("500"));
    Click(Button::Compute);
    EXPECT_NE(Detail().find("This run continued the random sequence of the earlier run"), std::string::npos)
        << Detail();

    // A folder that no file manager opens is said.
    std::filesystem::create_directory(folder_.Path("bin"));
    folder_.Write("bin/xdg-open", "#!/bin/sh\nexit 3\n");
    std::filesystem::permissions(folder_.Path("bin/xdg-open"), std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(folder_.Path("bin")) + ":" + path);
    QTest::mouseClick(Named("openFolder"), Qt::LeftButton);
    QTest::qWait(500);
    qputenv("PATH", path);
    const std::vector<std::string> messages = driver_.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no file manager answered"), std::string::npos) << messages[0];
}

} // namespace
