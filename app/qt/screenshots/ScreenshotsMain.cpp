// talver-screenshots FOLDER: shows the window and every dialog as a user meets
// them on the road of one job, and saves each as a PNG in FOLDER. Run it in a
// folder that holds target.dat, replica.dat and groups.csv (the examples), on
// any Qt platform; the offscreen one needs no display.

#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/AboutBox.h"
#include "app/qt/ApplicationSetup.h"
#include "app/qt/ColumnsBox.h"
#include "app/qt/ControlNames.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ResultsView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace talver;

namespace {

using Options = OptionsDialogRules;

QDir outputFolder;
int failures = 0;

void Save(QWidget* widget, const char* name)
{
    const QString path = outputFolder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "talver-screenshots: could not write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void Click(QWidget* parent, int controlId)
{
    parent->findChild<QAbstractButton*>(ControlName(controlId))->click();
}

QLineEdit* Field(QWidget* parent, int controlId)
{
    return parent->findChild<QLineEdit*>(ControlName(controlId));
}

// Runs `action` on the next modal dialog or message box once it is on screen.
void WhenModal(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

void SaveAndAcceptMessage(const char* name)
{
    WhenModal([name](QWidget* box) {
        Save(box, name);
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
}

// The window in the middle of a run. A run long enough to be caught is
// grabbed as it goes; a short one is shown with the texts a run writes.
class RunningShot {
public:
    explicit RunningShot(MainWindow& window) : window_(window)
    {
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const WindowTexts texts = window_.DisplayedTexts();
            if (texts.status == " COMPUTING ..." && texts.progress.find("Done:") != std::string::npos) {
                Save(&window_, "main-computing");
                taken_ = true;
                timer_.stop();
            }
        });
        timer_.start();
    }

    void TakeIfMissed()
    {
        timer_.stop();
        if (taken_) {
            return;
        }
        const WindowTexts before = window_.DisplayedTexts();
        for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Compute, Button::Exit,
                              Button::About}) {
            window_.SetButtonEnabled(button, false);
        }
        window_.DisplayTexts({" COMPUTING ...", "Item discriminations", "Bootstrap resampling ...",
                              "Done:  312 ( 62.40%)"});
        Save(&window_, "main-computing");
        window_.DisplayTexts(before);
        for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Exit, Button::About}) {
            window_.SetButtonEnabled(button, true);
        }
    }

private:
    MainWindow& window_;
    QTimer timer_;
    bool taken_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: talver-screenshots FOLDER (run where target.dat and replica.dat are)\n");
        return 2;
    }
    QApplication application(argc, argv);
    PrepareApplication(application);
    outputFolder = QDir(QString::fromLocal8Bit(argv[1]));

    MainWindow window;
    window.show();
    QApplication::processEvents();
    Save(&window, "main-ready");

    // The dialog for a file with column names: both samples in groups.csv,
    // told apart by its column "sample"; the scores that look like missing
    // codes offered for declaring. Cancelled.
    WhenModal([](QWidget* dialog) {
        QLineEdit* target = Field(dialog, SampleDialogRules::kTargetFileField);
        target->setText(QStringLiteral("groups.csv"));
        emit target->textEdited(target->text());
        Click(dialog, ColumnsBox::kOneFileCheck);
        auto* group = dialog->findChild<QComboBox*>(ControlName(ColumnsBox::kGroupColumn));
        group->setCurrentIndex(group->findText(QStringLiteral("sample")));
        dialog->findChild<QComboBox*>(ControlName(ColumnsBox::kTargetGroup))->setEditText(QStringLiteral("original"));
        dialog->findChild<QComboBox*>(ControlName(ColumnsBox::kReplicationGroup))->setEditText(QStringLiteral("retest"));
        QLineEdit* items = Field(dialog, ColumnsBox::kItemRangeField);
        items->setText(QStringLiteral("q1-q10"));
        emit items->textEdited(items->text());
        QApplication::processEvents();
        Save(dialog, "sample-dialog-columns");
        Click(dialog, SampleDialogRules::kCancelButton);
    });
    Click(&window, static_cast<int>(Button::ReadSampleData));

    // Read Sample Data with the dialog's defaults, which name the examples.
    WhenModal([](QWidget* dialog) {
        Save(dialog, "sample-dialog");
        Click(dialog, SampleDialogRules::kOkButton);
    });
    Click(&window, static_cast<int>(Button::ReadSampleData));

    // The options dialog as it opens, then with polychoric correlations
    // chosen (its advice shown on the way), then cancelled.
    WhenModal([](QWidget* dialog) {
        Save(dialog, "options-dialog");
        SaveAndAcceptMessage("message-box");
        Click(dialog, Options::kPolychoricRadio);
        Save(dialog, "options-polychoric");
        Click(dialog, Options::kCancelButton);
    });
    Click(&window, static_cast<int>(Button::ConfigureAnalysis));

    // Configured for a short run: 500 bootstrap samples.
    WhenModal([](QWidget* dialog) {
        QLineEdit* samples = Field(dialog, Options::kBootstrapSamplesField);
        samples->setText(QStringLiteral("500"));
        emit samples->textEdited(samples->text());
        Click(dialog, Options::kOkButton);
    });
    Click(&window, static_cast<int>(Button::ConfigureAnalysis));

    RunningShot running(window);
    Click(&window, static_cast<int>(Button::Compute));
    running.TakeIfMissed();
    Save(&window, "main-done");

    // The results beside the window: a chart, then each chart on its own.
    if (auto* results = window.findChild<ResultsView*>()) {
        results->ShowTables();
        QApplication::processEvents();
        Save(results, "results-tables");
        results->ShowChart(1);
        QApplication::processEvents();
        Save(results, "results-view");
        for (int k = 0; k < results->ChartCount(); ++k) {
            const QString path =
                outputFolder.filePath(QString::fromStdString(results->Chart(k).id) + QStringLiteral(".png"));
            QString reason;
            if (!results->SaveChart(k, path, reason)) {
                std::fprintf(stderr, "talver-screenshots: could not write %s: %s\n", qPrintable(path),
                             qPrintable(reason));
                ++failures;
                continue;
            }
            std::printf("%s\n", qPrintable(path));
        }
        results->close();
    } else {
        std::fprintf(stderr, "talver-screenshots: no results view after Compute\n");
        ++failures;
    }

    AboutBox about(&window);
    about.show();
    QApplication::processEvents();
    Save(&about, "about-box");
    return failures == 0 ? 0 : 1;
}
