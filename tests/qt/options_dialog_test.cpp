// The options dialog's widgets bound to its rules: marks and enabling after
// every click (and while a click's message is on screen), field refusals,
// the adjustments of OK, and Cancel.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/DialogTexts.h"
#include "app/qt/OptionsDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using namespace talver;

namespace {

using Rules = OptionsDialogRules;
namespace Text = OptionsDialogText;

const QString kReport = QStringLiteral("/tmp/report.txt");

OptionsDialogValues Defaults()
{
    OptionsDialogValues values;
    values.variableCount = 10;
    values.showDiscriminations = values.showDifficulties = values.showResidualVariances = 1;
    values.showDifficultyFit = values.showCongruence = values.showDiscrepancy = 1;
    values.alphaCode = 5;
    values.extractionMethod = 1;
    values.dispersionKind = 1;
    values.observedMinimum = 1;
    values.observedMaximum = 5;
    values.bootstrapSamples = 1000;
    values.factorCount = 2;
    values.lowestScore = 1;
    values.highestScore = 5;
    return values;
}

// The marks of the eight radio buttons, as "ULS PCA ML / Cov Pear Poly / .05 .10".
std::string RadioMarks(const QWidget* dialog)
{
    std::string marks;
    for (int id : {Rules::kUlsRadio, Rules::kPcaRadio, Rules::kMlRadio, 0, Rules::kCovarianceRadio,
                   Rules::kPearsonRadio, Rules::kPolychoricRadio, 0, Rules::kAlpha05Radio, Rules::kAlpha10Radio}) {
        marks += id == 0 ? std::string("/") : std::string(IsChecked(dialog, id) ? "x" : "-");
    }
    return marks;
}

// Enabling of ML, residual variances and the four score controls.
std::string Enabling(const QWidget* dialog)
{
    std::string enabling;
    for (int id : {Rules::kMlRadio, Rules::kResidualVariancesCheck, Rules::kLowestScoreLabel,
                   Rules::kHighestScoreLabel, Rules::kLowestScoreField, Rules::kHighestScoreField}) {
        enabling += IsEnabled(dialog, id) ? "e" : "d";
    }
    return enabling;
}

class OptionsDialogTest : public ::testing::Test {
protected:
    int Run(OptionsDialog& dialog, std::function<void(QDialog*)> step)
    {
        driver_.Then(std::move(step));
        const int result = dialog.exec();
        EXPECT_FALSE(driver_.StepsLeft());
        return result;
    }

    ModalDriver driver_;
};

TEST_F(OptionsDialogTest, ShowsEveryTextOfTheDialog)
{
    OptionsDialog dialog(Defaults(), kReport);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "TALVER");
    std::vector<std::string> groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups.push_back(group->title().toStdString());
    }
    EXPECT_EQ(groups, (std::vector<std::string>{Text::kFactorGroup, Text::kMatrixGroup, Text::kBootstrapGroup,
                                                Text::kOutputGroup, "Report"}));
    std::vector<std::string> labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.push_back(label->text().toStdString());
    }
    EXPECT_EQ(labels, (std::vector<std::string>{Text::kFactorCountLabel, Text::kLowestScoreLabel,
                                                Text::kHighestScoreLabel, Text::kBootstrapSamplesLabel,
                                                "Report &file:"}));
    const std::map<int, std::string> buttons = {
        {Rules::kUlsRadio, Text::kUls},
        {Rules::kPcaRadio, Text::kPca},
        {Rules::kMlRadio, Text::kMl},
        {Rules::kCovarianceRadio, Text::kCovariance},
        {Rules::kPearsonRadio, Text::kPearson},
        {Rules::kPolychoricRadio, Text::kPolychoric},
        {Rules::kAlpha05Radio, Text::kAlpha05},
        {Rules::kAlpha10Radio, Text::kAlpha10},
        {Rules::kDifficultiesCheck, Text::kDifficulties},
        {Rules::kDiscriminationsCheck, Text::kDiscriminations},
        {Rules::kResidualVariancesCheck, Text::kResidualVariances},
        {Rules::kDifficultyFitCheck, Text::kDifficultyFit},
        {Rules::kCongruenceCheck, Text::kCongruence},
        {Rules::kDiscrepancyCheck, Text::kDiscrepancy},
        {Rules::kOkButton, DialogText::kOk},
        {Rules::kCancelButton, DialogText::kCancel},
    };
    for (const auto& [id, text] : buttons) {
        EXPECT_EQ(TextOf(&dialog, id), text) << id;
    }
    EXPECT_TRUE(Find<QPushButton>(&dialog, Rules::kOkButton)->isDefault());
    EXPECT_EQ(TextOf(&dialog, Rules::kBootstrapSamplesField), "1000");
    EXPECT_EQ(TextOf(&dialog, Rules::kFactorCountField), "2");
    EXPECT_EQ(TextOf(&dialog, Rules::kLowestScoreField), "1");
    EXPECT_EQ(TextOf(&dialog, Rules::kHighestScoreField), "5");
}

TEST_F(OptionsDialogTest, OpensWithTheMarksAndEnablingOfTheValues)
{
    OptionsDialog covariance(Defaults(), kReport);
    EXPECT_EQ(RadioMarks(&covariance), "x--/x--/x-");
    EXPECT_EQ(Enabling(&covariance), "eedddd");

    OptionsDialogValues pearson = Defaults();
    pearson.dispersionKind = 2;
    pearson.extractionMethod = 2;
    pearson.alphaCode = 10;
    pearson.showCongruence = 0;
    OptionsDialog second(pearson, kReport);
    EXPECT_EQ(RadioMarks(&second), "-x-/-x-/-x");
    EXPECT_EQ(Enabling(&second), "eddddd");
    EXPECT_FALSE(IsChecked(&second, Rules::kCongruenceCheck));
    EXPECT_TRUE(IsChecked(&second, Rules::kDiscrepancyCheck));

    OptionsDialogValues polychoric = Defaults();
    polychoric.dispersionKind = 3;
    polychoric.extractionMethod = 3;
    OptionsDialog third(polychoric, kReport);
    EXPECT_EQ(RadioMarks(&third), "--x/--x/x-");
    EXPECT_EQ(Enabling(&third), "ddeeee");
}

TEST_F(OptionsDialogTest, AGreyedCheckBoxShowsThatItsOutputIsNotWritten)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [&](QDialog* shown) {
        EXPECT_TRUE(IsChecked(shown, Rules::kResidualVariancesCheck));
        ClickOn(shown, Rules::kPearsonRadio);
        EXPECT_FALSE(IsEnabled(shown, Rules::kResidualVariancesCheck));
        EXPECT_FALSE(IsChecked(shown, Rules::kResidualVariancesCheck));
        // The choice comes back with the covariances that write it.
        ClickOn(shown, Rules::kCovarianceRadio);
        EXPECT_TRUE(IsChecked(shown, Rules::kResidualVariancesCheck));
        ClickOn(shown, Rules::kPolychoricRadio);
        EXPECT_FALSE(IsChecked(shown, Rules::kResidualVariancesCheck));
        ClickOn(shown, Rules::kOkButton);
    });
    ASSERT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.Values().showResidualVariances, 1);
}

TEST_F(OptionsDialogTest, TheReportFileIsShownChosenAndNeverEmpty)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [&](QDialog* shown) {
        auto* field = shown->findChild<QLineEdit*>(QStringLiteral("reportFile"));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), kReport);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        ClickOn(shown, Rules::kOkButton);
        EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{"Please enter the name of the report file."});
        EXPECT_TRUE(shown->isVisible());
        QTest::keyClicks(field, QStringLiteral("/tmp/elsewhere/results.txt"));
        ClickOn(shown, Rules::kOkButton);
    });
    ASSERT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.ReportFile(), QStringLiteral("/tmp/elsewhere/results.txt"));
}

TEST_F(OptionsDialogTest, RadioButtonsFollowTheRulesAndShowTheStateBehindEachMessage)
{
    OptionsDialog dialog(Defaults(), kReport);
    std::vector<std::string> marksDuringMessages;
    driver_.onMessage = [&](const std::string&) { marksDuringMessages.push_back(RadioMarks(&dialog)); };
    const int result = Run(dialog, [&](QDialog* shown) {
        ClickOn(shown, Rules::kMlRadio);
        EXPECT_EQ(RadioMarks(shown), "--x/x--/x-");
        // Clicking a marked radio button keeps it marked.
        ClickOn(shown, Rules::kMlRadio);
        EXPECT_EQ(RadioMarks(shown), "--x/x--/x-");

        ClickOn(shown, Rules::kPolychoricRadio);
        EXPECT_EQ(RadioMarks(shown), "x--/--x/x-");
        EXPECT_EQ(Enabling(shown), "ddeeee");
        // ML is disabled: a click does nothing.
        ClickOn(shown, Rules::kMlRadio);
        EXPECT_EQ(RadioMarks(shown), "x--/--x/x-");

        ClickOn(shown, Rules::kCovarianceRadio);
        EXPECT_EQ(RadioMarks(shown), "x--/x--/x-");
        EXPECT_EQ(Enabling(shown), "eedddd");

        ClickOn(shown, Rules::kPearsonRadio);
        ClickOn(shown, Rules::kPearsonRadio);
        EXPECT_EQ(Enabling(shown), "eddddd");
        ClickOn(shown, Rules::kAlpha10Radio);
        ClickOn(shown, Rules::kPcaRadio);
        EXPECT_EQ(RadioMarks(shown), "-x-/-x-/-x");
        ClickOn(shown, Rules::kOkButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    const std::string advice = Text::kCovarianceAdvised;
    EXPECT_EQ(driver_.TakeMessages(), (std::vector<std::string>{advice, advice, advice}));
    // Polychoric's message comes after the matrix changed, before the method did.
    EXPECT_EQ(marksDuringMessages, (std::vector<std::string>{"--x/--x/x-", "x--/-x-/x-", "x--/-x-/x-"}));
    EXPECT_EQ(dialog.Values().dispersionKind, 2);
    EXPECT_EQ(dialog.Values().extractionMethod, 2);
    EXPECT_EQ(dialog.Values().alphaCode, 10);
}

TEST_F(OptionsDialogTest, CheckBoxesToggleTheirFlags)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [](QDialog* shown) {
        ClickOn(shown, Rules::kDifficultiesCheck);
        ClickOn(shown, Rules::kCongruenceCheck);
        ClickOn(shown, Rules::kCongruenceCheck);
        ClickOn(shown, Rules::kDiscrepancyCheck);
        EXPECT_FALSE(IsChecked(shown, Rules::kDifficultiesCheck));
        EXPECT_TRUE(IsChecked(shown, Rules::kCongruenceCheck));
        ClickOn(shown, Rules::kOkButton);
    });
    ASSERT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.Values().showDifficulties, 0);
    EXPECT_EQ(dialog.Values().showCongruence, 1);
    EXPECT_EQ(dialog.Values().showDiscrepancy, 0);
    EXPECT_EQ(dialog.Values().showDiscriminations, 1);
}

TEST_F(OptionsDialogTest, OkAdjustsTheNumberOfSamples)
{
    struct Case {
        const char* typed;
        std::vector<std::string> messages;
        bool closes;
        std::string shown;
    };
    const std::string longRun = Text::kLongBootstrap;
    const std::string outOfRange = "Please enter an integer between 0 and 5000.";
    const Case cases[] = {
        {"100", {Text::kSamplesAdjustedTo500}, true, "500"},
        {"2000", {longRun}, true, "2000"},
        {"5000", {longRun}, true, "5000"},
        // One refusal, and the typed number stays for the user to correct.
        {"20000", {outOfRange}, false, "20000"},
    };
    for (const Case& c : cases) {
        OptionsDialog dialog(Defaults(), kReport);
        const int result = Run(dialog, [&](QDialog* shown) {
            TypeInto(shown, Rules::kBootstrapSamplesField, QString::fromLatin1(c.typed));
            ClickOn(shown, Rules::kOkButton);
            EXPECT_EQ(TextOf(shown, Rules::kBootstrapSamplesField), c.shown) << c.typed;
            if (shown->isVisible()) {
                auto* field = Find<QLineEdit>(shown, Rules::kBootstrapSamplesField);
                EXPECT_EQ(shown->focusWidget(), field);
                EXPECT_EQ(field->selectedText().toStdString(), c.shown);
                ClickOn(shown, Rules::kCancelButton);
            }
        });
        EXPECT_EQ(result == QDialog::Accepted, c.closes) << c.typed;
        EXPECT_EQ(driver_.TakeMessages(), c.messages) << c.typed;
    }
}

TEST_F(OptionsDialogTest, TooManyFactorsKeepTheDialogOpen)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [&](QDialog* shown) {
        TypeInto(shown, Rules::kFactorCountField, "10");
        ClickOn(shown, Rules::kOkButton);
        EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{TooManyFactorsMessage(10)});
        EXPECT_TRUE(shown->isVisible());
        TypeInto(shown, Rules::kFactorCountField, "9");
        ClickOn(shown, Rules::kOkButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.Values().factorCount, 9u);
}

TEST_F(OptionsDialogTest, TheScoreRangeIsAdjustedToTheData)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [&](QDialog* shown) {
        ClickOn(shown, Rules::kPolychoricRadio);
        TypeInto(shown, Rules::kHighestScoreField, "4");
        TypeInto(shown, Rules::kLowestScoreField, "2");
        ClickOn(shown, Rules::kOkButton);
    });
    ASSERT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(driver_.TakeMessages(),
              (std::vector<std::string>{Text::kCovarianceAdvised, Text::kHighestScoreAdjusted,
                                        Text::kLowestScoreAdjusted}));
    EXPECT_EQ(dialog.Values().highestScore, 5);
    EXPECT_EQ(dialog.Values().lowestScore, 1);

    OptionsDialog wider(Defaults(), kReport);
    const int widerResult = Run(wider, [&](QDialog* shown) {
        ClickOn(shown, Rules::kPolychoricRadio);
        TypeInto(shown, Rules::kHighestScoreField, "7");
        TypeInto(shown, Rules::kLowestScoreField, "0");
        ClickOn(shown, Rules::kOkButton);
    });
    ASSERT_EQ(widerResult, QDialog::Accepted);
    EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{Text::kCovarianceAdvised});
    EXPECT_EQ(wider.Values().highestScore, 7);
    EXPECT_EQ(wider.Values().lowestScore, 0);
}

TEST_F(OptionsDialogTest, TextThatIsNoNumberIsRefusedAndSelected)
{
    OptionsDialog dialog(Defaults(), kReport);
    const int result = Run(dialog, [&](QDialog* shown) {
        TypeInto(shown, Rules::kFactorCountField, "two");
        ClickOn(shown, Rules::kOkButton);
        EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{DialogText::kEnterPositiveInteger});
        auto* field = Find<QLineEdit>(shown, Rules::kFactorCountField);
        EXPECT_EQ(shown->focusWidget(), field);
        EXPECT_EQ(field->selectedText().toStdString(), "two");
        ClickOn(shown, Rules::kCancelButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

} // namespace
