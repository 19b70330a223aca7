// The Sample dialog's widgets bound to its rules: texts, refusals with their
// messages and focus, the file chooser, OK and Cancel.

#include "modal_driver.h"
#include "widget_actions.h"

#include "app/DialogTexts.h"
#include "app/qt/SampleDialog.h"
#include "batch_support.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace talver;

namespace {

using Rules = SampleDialogRules;
namespace Text = SampleDialogText;

class SampleDialogTest : public ::testing::Test {
protected:
    SampleDialogTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        targetPath_ = folder_.Write("target.dat", "1 2\n");
        replicationPath_ = folder_.Write("replica.dat", "1 2\n");
    }

    SampleDialogValues Existing() const { return {707, 335, 10, targetPath_, replicationPath_}; }

    // Opens the dialog, lets `step` act in it, and gives back how it ended.
    int Run(SampleDialog& dialog, std::function<void(QDialog*)> step)
    {
        driver_.Then(std::move(step));
        const int result = dialog.exec();
        EXPECT_FALSE(driver_.StepsLeft());
        return result;
    }

    ScratchFolder folder_;
    std::string targetPath_;
    std::string replicationPath_;
    ModalDriver driver_;
};

// The texts of the controls of this type that the dialog shows (the part for
// files with column names stays hidden for plain files).
std::vector<std::string> Texts(const QWidget* dialog, const QString& type)
{
    std::vector<std::string> texts;
    for (const QWidget* child : dialog->findChildren<QWidget*>()) {
        if (child->inherits(type.toLatin1().constData()) && child->isVisibleTo(dialog)) {
            texts.push_back(child->property(type == "QGroupBox" ? "title" : "text").toString().toStdString());
        }
    }
    return texts;
}

TEST_F(SampleDialogTest, ShowsItsTextsAndTheValuesItWasGiven)
{
    SampleDialog dialog(Existing());
    EXPECT_EQ(dialog.windowTitle().toStdString(), Text::kCaption);
    EXPECT_EQ(Texts(&dialog, "QGroupBox"), (std::vector<std::string>{Text::kSizeGroup, Text::kFileNamesGroup}));
    EXPECT_EQ(Texts(&dialog, "QLabel"),
              (std::vector<std::string>{Text::kTargetCountLabel, Text::kReplicationCountLabel,
                                        Text::kVariableCountLabel, Text::kTargetFileLabel,
                                        Text::kReplicationFileLabel}));
    EXPECT_EQ(TextOf(&dialog, Rules::kBrowseTargetButton), Text::kBrowse);
    EXPECT_EQ(TextOf(&dialog, Rules::kBrowseReplicationButton), Text::kBrowse);
    EXPECT_EQ(TextOf(&dialog, Rules::kOkButton), DialogText::kOk);
    EXPECT_EQ(TextOf(&dialog, Rules::kCancelButton), DialogText::kCancel);
    EXPECT_TRUE(Find<QPushButton>(&dialog, Rules::kOkButton)->isDefault());

    EXPECT_EQ(TextOf(&dialog, Rules::kTargetCountField), "707");
    EXPECT_EQ(TextOf(&dialog, Rules::kReplicationCountField), "335");
    EXPECT_EQ(TextOf(&dialog, Rules::kVariableCountField), "10");
    EXPECT_EQ(TextOf(&dialog, Rules::kTargetFileField), targetPath_);
    EXPECT_EQ(TextOf(&dialog, Rules::kReplicationFileField), replicationPath_);
}

TEST_F(SampleDialogTest, OkTakesWhatWasTyped)
{
    SampleDialog dialog(Existing());
    const int result = Run(dialog, [](QDialog* shown) {
        TypeInto(shown, Rules::kTargetCountField, " 12 ");
        TypeInto(shown, Rules::kReplicationCountField, "30");
        TypeInto(shown, Rules::kVariableCountField, "4");
        ClickOn(shown, Rules::kOkButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(driver_.TakeMessages().empty());
    EXPECT_EQ(dialog.Values().targetCount, 12);
    EXPECT_EQ(dialog.Values().replicationCount, 30);
    EXPECT_EQ(dialog.Values().variableCount, 4);
}

TEST_F(SampleDialogTest, RefusalsKeepTheDialogOpenOneMessageAtATime)
{
    SampleDialog dialog({0, 0, 0, "nowhere/target.dat", "nowhere/replica.dat"});
    std::vector<std::vector<std::string>> messages;
    const int result = Run(dialog, [&](QDialog* shown) {
        const auto attempt = [&] {
            ClickOn(shown, Rules::kOkButton);
            std::vector<std::string> taken = driver_.TakeMessages();
            // A missing file's message goes on with the name not found.
            for (std::string& message : taken) {
                for (const char* fixed : {Text::kReplicationFileMissing, Text::kTargetFileMissing}) {
                    if (message.rfind(fixed, 0) == 0) {
                        EXPECT_NE(message.find(": \"nowhere/"), std::string::npos) << message;
                        message = fixed;
                    }
                }
            }
            messages.push_back(taken);
            EXPECT_TRUE(shown->isVisible());
        };
        attempt();
        TypeInto(shown, Rules::kTargetCountField, "1");
        attempt();
        TypeInto(shown, Rules::kReplicationCountField, "1");
        TypeInto(shown, Rules::kVariableCountField, "-2");
        attempt();
        TypeInto(shown, Rules::kVariableCountField, "2");
        TypeInto(shown, Rules::kTargetFileField, "");
        attempt();
        TypeInto(shown, Rules::kTargetFileField, "nowhere/target.dat");
        attempt();
        TypeInto(shown, Rules::kReplicationFileField, QString::fromStdString(replicationPath_));
        attempt();
        TypeInto(shown, Rules::kTargetFileField, QString::fromStdString(targetPath_));
        ClickOn(shown, Rules::kOkButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    const std::vector<std::vector<std::string>> expected = {
        {Text::kNoTargetCount},   {Text::kNoReplicationCount},     {Text::kNoVariableCount},
        {Text::kNoTargetFile},    {Text::kReplicationFileMissing}, {Text::kTargetFileMissing}};
    EXPECT_EQ(messages, expected);
}

TEST_F(SampleDialogTest, ARefusedCountIsFocusedWithItsTextSelected)
{
    SampleDialog dialog(Existing());
    const int result = Run(dialog, [&](QDialog* shown) {
        TypeInto(shown, Rules::kReplicationCountField, "12a");
        TypeInto(shown, Rules::kTargetCountField, "99");
        ClickOn(shown, Rules::kOkButton);
        EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{DialogText::kEnterInteger});
        auto* refused = Find<QLineEdit>(shown, Rules::kReplicationCountField);
        EXPECT_EQ(shown->focusWidget(), refused);
        EXPECT_EQ(refused->selectedText().toStdString(), "12a");
        // The field before it was read, the refused one keeps what was typed.
        EXPECT_EQ(TextOf(shown, Rules::kTargetCountField), "99");
        TypeInto(shown, Rules::kReplicationCountField, "");
        ClickOn(shown, Rules::kOkButton);
        EXPECT_EQ(driver_.TakeMessages(), std::vector<std::string>{DialogText::kEnterInteger});
        ClickOn(shown, Rules::kCancelButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(SampleDialogTest, BrowseOpensTheChooserAndShowsTheFullPath)
{
    const std::string chosen = folder_.Write("other.dat", "3\n");
    SampleDialog dialog({707, 335, 10, "target.dat", "replica.dat"});
    const int result = Run(dialog, [&](QDialog* shown) {
        driver_.Then([&](QDialog* chooser) {
            auto* files = qobject_cast<QFileDialog*>(chooser);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->windowTitle().toStdString(), Text::kTargetChooserTitle);
            EXPECT_EQ(files->nameFilters(),
                      (QStringList{QStringLiteral("Data files (*.dat *.txt *.csv)"),
                                   QStringLiteral("Data with column names (*.csv *.tsv *.sav *.zsav *.dta *.sas7bdat)"),
                                   QStringLiteral("All files (*)")}));
            files->setDirectory(QString::fromStdString(folder_.Path("")));
            files->selectFile(QStringLiteral("other.dat"));
            chooser->accept();  // QFileDialog::accept, as its Open button does
        });
        ClickOn(shown, Rules::kBrowseTargetButton);
        EXPECT_EQ(TextOf(shown, Rules::kTargetFileField), chosen);

        driver_.Then([&](QDialog* chooser) {
            EXPECT_EQ(chooser->windowTitle().toStdString(), Text::kReplicationChooserTitle);
            chooser->reject();
        });
        ClickOn(shown, Rules::kBrowseReplicationButton);
        EXPECT_EQ(TextOf(shown, Rules::kReplicationFileField), "replica.dat");
        ClickOn(shown, Rules::kCancelButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(driver_.TakeMessages().empty());
}

} // namespace
