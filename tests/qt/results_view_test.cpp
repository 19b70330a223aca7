// The results in the window after Compute, on the offscreen platform: the
// view opens beside the window with the report's tables and charts, and a
// chart is saved through the Save Chart button as PNG and as SVG.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ResultsView.h"
#include "batch_support.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <filesystem>

using namespace talver;

namespace {

std::string Example(const std::string& name)
{
    return ReadFile(std::string(TALVER_SOURCE_DIR) + "/examples/" + name);
}

class ResultsViewTest : public ::testing::Test {
protected:
    ResultsViewTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("target.dat", Example("target.dat"));
        folder_.Write("replica.dat", Example("replica.dat"));
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(folder_.Path("")));
        window_.show();
    }
    ~ResultsViewTest() override { QDir::setCurrent(previousFolder_); }

    // Read Sample Data, Configure Analysis with 500 samples, Compute.
    void Compute()
    {
        driver_.Then([](QDialog* dialog) { ClickOn(dialog, SampleDialogRules::kOkButton); });
        ClickOn(&window_, static_cast<int>(Button::ReadSampleData));
        driver_.Then([](QDialog* dialog) {
            TypeInto(dialog, OptionsDialogRules::kBootstrapSamplesField, QStringLiteral("500"));
            ClickOn(dialog, OptionsDialogRules::kOkButton);
        });
        ClickOn(&window_, static_cast<int>(Button::ConfigureAnalysis));
        ClickOn(&window_, static_cast<int>(Button::Compute));
        EXPECT_FALSE(driver_.StepsLeft());
        const std::vector<std::string> messages = driver_.TakeMessages();
        EXPECT_TRUE(messages.empty()) << messages.front();
    }

    ScratchFolder folder_;
    QString previousFolder_;
    MainWindow window_;
    ModalDriver driver_;
};

TEST_F(ResultsViewTest, ComputeShowsTheResultsAndAChartIsSaved)
{
    Compute();
    auto* view = window_.findChild<ResultsView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    // Means, two factors of loadings, residual variances, congruence, discrepancy.
    ASSERT_EQ(view->ChartCount(), 6);
    const QString tables = view->findChild<QTextBrowser*>(QStringLiteral("resultsTables"))->toPlainText();
    for (const char* heading : {"Item difficulties", "Item discriminations", "Congruence indices",
                                "What the bootstrap went through"}) {
        EXPECT_TRUE(tables.contains(QString::fromLatin1(heading))) << heading;
    }
    // The page beside the text report holds the same charts.
    const std::string page = ReadFile(folder_.Path("output.html"));
    for (int k = 0; k < view->ChartCount(); ++k) {
        EXPECT_NE(page.find(view->Chart(k).svg), std::string::npos) << view->Chart(k).id;
    }

    // Save Chart with the PNG filter and a name without extension.
    view->ShowChart(2);
    const QString stem = QString::fromStdString(folder_.Path("loadings"));
    driver_.Then([stem](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->selectNameFilter(QStringLiteral("PNG image (*.png)"));
        files->selectFile(stem);
        dialog->accept(); // the dialog's own accept, through the public base
    });
    view->findChild<QPushButton*>(QStringLiteral("saveChart"))->click();
    EXPECT_FALSE(driver_.StepsLeft());
    EXPECT_TRUE(driver_.TakeMessages().empty());
    const QImage image(stem + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    QSvgRenderer renderer(QByteArray::fromStdString(view->Chart(2).svg));
    EXPECT_EQ(image.size(), renderer.defaultSize() * 2);
    // Drawn, not blank: the Target marks' blue is in it.
    bool blue = false;
    for (int y = 0; y < image.height() && !blue; y += 2) {
        for (int x = 0; x < image.width() && !blue; x += 2) {
            const QColor c = image.pixelColor(x, y);
            blue = c.blue() > 150 && c.red() < 60;
        }
    }
    EXPECT_TRUE(blue);

    // As SVG the file is the chart itself.
    QString reason;
    const QString svgPath = QString::fromStdString(folder_.Path("means.svg"));
    ASSERT_TRUE(view->SaveChart(0, svgPath, reason)) << reason.toStdString();
    EXPECT_EQ(ReadFile(svgPath.toStdString()), view->Chart(0).svg);
    // A folder that does not exist is refused with the reason.
    EXPECT_FALSE(view->SaveChart(0, QString::fromStdString(folder_.Path("missing/means.png")), reason));
    EXPECT_FALSE(reason.isEmpty());
}

} // namespace
