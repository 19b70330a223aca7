#include "app/qt/MainWindow.h"

#include "analyses/AnalysisProgress.h"
#include "analyses/AvailableCores.h"
#include "platform/UpperVectorState.h"
#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/AboutBox.h"
#include "app/qt/Artwork.h"
#include "app/qt/ControlNames.h"
#include "app/qt/InputLock.h"
#include "app/qt/MessageBox.h"
#include "app/qt/OptionsDialog.h"
#include "app/qt/ReportOpener.h"
#include "app/qt/ResultsView.h"
#include "app/qt/SampleDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace talver {

namespace {

// How often a running command lets the window answer: often enough to look
// alive, seldom enough to cost nothing next to the computation.
constexpr qint64 kAnswerIntervalMs = 50;
// The bootstrap counter is painted at most this often.
constexpr qint64 kCounterRepaintMs = 40;

constexpr int kStatusFieldId = 1065;
constexpr std::array<int, 4> kTextFieldIds = {kStatusFieldId, 1061, 1062, 1063};
constexpr std::size_t kProgressLine = 3;

const QSize kBannerSize(480, 55);
const QSize kIllustrationSize(216, 252);

constexpr char kDefaultReportName[] = "output.txt";

// The JSON companion of a report: the same name with the extension .json.
// The file beside the report with the same name and another suffix, such as
// ".json".
QString CompanionOf(const QString& report, const QString& suffix)
{
    const QFileInfo info(report);
    return info.dir().filePath(info.completeBaseName() + suffix);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QDialog(parent), logic_(*this)
{
    setWindowTitle(QStringLiteral("TALVER"));
    // The window has one size, so it offers no maximize box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Desktops on this platform offer no system menu to add "About TALVER..."
    // to; the About button is the way to the About box.

    auto* banner = new QLabel;
    banner->setPixmap(ArtworkPixmap(QStringLiteral("banner"), kBannerSize));
    banner->setFixedSize(kBannerSize);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(12);
    layout->addWidget(banner, 0, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(MakeIllustration(), 1, 0, Qt::AlignTop);
    layout->addWidget(MakeCommands(), 1, 1);
    // Reading errors are explained here, below the pictures and commands.
    detail_ = new QLabel;
    detail_->setObjectName(QStringLiteral("detail"));
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detail_->hide();
    layout->addWidget(detail_, 2, 0, 1, 2);
    layout->addWidget(MakeReportRow(), 3, 0, 1, 2);

    logic_.Initialise();
    Workspace& workspace = logic_.GetWorkspace();
    workspace.outputFile = kDefaultReportName;
    // The tables of every report also go beside it at full precision.
    workspace.jsonFile = CompanionOf(QString::fromLatin1(kDefaultReportName), QStringLiteral(".json")).toStdString();
    workspace.htmlFile = CompanionOf(QString::fromLatin1(kDefaultReportName), QStringLiteral(".html")).toStdString();
    workspace.threadCount = AvailableCores();
}

QWidget* MainWindow::MakeReportRow()
{
    reportRow_ = new QWidget;
    auto* rows = new QVBoxLayout(reportRow_);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* paths = new QGridLayout;
    // Read-only but selectable, so that the paths can be copied.
    auto pathField = [](const QString& name) {
        auto* field = new QLineEdit;
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        return field;
    };
    reportField_ = pathField(QStringLiteral("reportPath"));
    pageField_ = pathField(QStringLiteral("pagePath"));
    paths->addWidget(new QLabel(QStringLiteral("Report:")), 0, 0);
    paths->addWidget(reportField_, 0, 1);
    paths->addWidget(new QLabel(QStringLiteral("HTML page:")), 1, 0);
    paths->addWidget(pageField_, 1, 1);
    rows->addLayout(paths);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto addButton = [this, buttons](const char* text, const char* name, void (MainWindow::*slot)()) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    addButton("Open Re&port", "openReport", &MainWindow::OpenShownReport);
    addButton("Open &HTML Page", "openPage", &MainWindow::OpenShownPage);
    addButton("Show Re&sults", "showResults", &MainWindow::ShowResultsAgain);
    addButton("Open &Folder", "openFolder", &MainWindow::OpenReportFolder);
    rows->addLayout(buttons);
    // Keeps its place in the fixed-size window before the first report.
    QSizePolicy keepPlace = reportRow_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    reportRow_->setSizePolicy(keepPlace);
    reportRow_->hide();
    return reportRow_;
}

QWidget* MainWindow::MakeIllustration()
{
    auto* illustration = new QLabel;
    illustration->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    illustration->setAlignment(Qt::AlignCenter);
    illustration->setPixmap(ArtworkPixmap(QStringLiteral("illustration"), kIllustrationSize));
    illustration->setFixedSize(kIllustrationSize + QSize(4, 4));
    return illustration;
}

QWidget* MainWindow::MakeCommands()
{
    auto* commands = new QWidget;
    auto* column = new QVBoxLayout(commands);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(MakeButton(Button::ReadSampleData, "&Read Sample Data"));
    column->addWidget(MakeButton(Button::ConfigureAnalysis, "&Configure Analysis"));
    column->addWidget(MakeButton(Button::Compute, "C&ompute"));

    textGroup_ = new QGroupBox;
    auto* lines = new QVBoxLayout(textGroup_);
    lines->setSpacing(6);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* field = new QLineEdit;
        field->setObjectName(ControlName(kTextFieldIds[i]));
        field->setFrame(false);
        field->setMinimumWidth(200);
        // Off the tab chain: when a run locks the focused button, the focus
        // must not land here and select the status text.
        field->setFocusPolicy(Qt::ClickFocus);
        // The status and the three lines only report.
        field->setReadOnly(true);
        if (kTextFieldIds[i] != kStatusFieldId) {
            // They look like the window, not like input.
            field->setFocusPolicy(Qt::NoFocus);
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, Qt::transparent);
            field->setPalette(palette);
        }
        fields_[i] = field;
        lines->addWidget(field);
    }
    timing_ = new QLabel(QStringLiteral(" "));
    timing_->setObjectName(QStringLiteral("bootstrapTiming"));
    // Stops a run at the next bootstrap replicate; the earlier report stays.
    stop_ = new QPushButton(QStringLiteral("S&top"));
    stop_->setObjectName(QStringLiteral("stopRun"));
    stop_->setEnabled(false);
    stop_->setFocusPolicy(Qt::NoFocus);
    connect(stop_, &QPushButton::clicked, this, [this] {
        stopAsked_ = true;
        stop_->setEnabled(false);
    });
    auto* timingRow = new QHBoxLayout;
    timingRow->addWidget(timing_, 1);
    timingRow->addWidget(stop_);
    lines->addLayout(timingRow);
    column->addWidget(textGroup_);
    column->addStretch(1);

    auto* closing = new QHBoxLayout;
    closing->setSpacing(8);
    closing->addWidget(MakeButton(Button::About, "&About TALVER"));
    closing->addWidget(MakeButton(Button::Exit, "E&xit"));
    column->addLayout(closing);

    connect(buttons_[Button::ReadSampleData], &QPushButton::clicked, this,
            [this] { RunCommand([this] {
                logic_.ReadSampleData();
                PlaceReportBesideTarget();
            }); });
    connect(buttons_[Button::ConfigureAnalysis], &QPushButton::clicked, this,
            [this] { RunCommand([this] { logic_.ConfigureAnalysis(); }); });
    connect(buttons_[Button::Compute], &QPushButton::clicked, this, &MainWindow::RunCompute);
    connect(buttons_[Button::About], &QPushButton::clicked, this, [this] {
        AboutBox about(this);
        about.exec();
    });
    connect(buttons_[Button::Exit], &QPushButton::clicked, this, [this] {
        logic_.Exit();
        accept();
    });
    return commands;
}

QPushButton* MainWindow::MakeButton(Button button, const char* text)
{
    auto* pushButton = new QPushButton(QString::fromLatin1(text));
    pushButton->setObjectName(ControlName(static_cast<int>(button)));
    pushButton->setMinimumHeight(28);
    buttons_[button] = pushButton;
    return pushButton;
}

template <typename Command>
void MainWindow::RunCommand(Command command, QAbstractButton* open)
{
    detail_->hide();
    {
        InputLock lock(this, open);
        busy_ = true;
        command();
        // Input that arrived since the last look is dropped too, not kept
        // for after the command.
        QCoreApplication::processEvents();
        busy_ = false;
    }
    FocusNextCommand();
}

void MainWindow::RunCompute()
{
    stopAsked_ = false;
    stop_->setEnabled(true);
    RunCommand(
        [this] {
            logic_.Compute();
            stop_->setEnabled(false);
            if (logic_.GetWorkspace().statusText != "  JOB DONE!") {
                return;
            }
            // The program's one random sequence goes on from run to run, so
            // that a second run is a new draw of the bootstrap.
            if (++runsDone_ > 1) {
                ShowDetail("This run continued the random sequence of the earlier run in this window, so its "
                           "bootstrap intervals and critical values differ a little from that run's. The same data "
                           "and options give the same report in a fresh program run.");
            }
        },
        stop_);
    stop_->setEnabled(false);
}

void MainWindow::PollStop()
{
    if (stopAsked_) {
        stopAsked_ = false;
        throw ComputationStopped();
    }
}

void MainWindow::FocusNextCommand()
{
    if (!buttons_[Button::Compute]->isEnabled() && reportRow_->isVisible() &&
        logic_.GetWorkspace().statusText == "  JOB DONE!") {
        reportRow_->findChild<QPushButton*>(QStringLiteral("openReport"))->setFocus(Qt::TabFocusReason);
        return;
    }
    for (Button next : {Button::Compute, Button::ConfigureAnalysis, Button::ReadSampleData}) {
        if (buttons_[next]->isEnabled()) {
            buttons_[next]->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void MainWindow::PlaceReportBesideTarget()
{
    Workspace& workspace = logic_.GetWorkspace();
    if (reportChosen_ || !workspace.dataLoaded) {
        return;
    }
    const QString target = QString::fromStdString(workspace.targetFile);
    const QString report = QFileInfo(target).absoluteDir().filePath(QString::fromLatin1(kDefaultReportName));
    workspace.outputFile = report.toStdString();
    workspace.jsonFile = CompanionOf(report, QStringLiteral(".json")).toStdString();
    workspace.htmlFile = CompanionOf(report, QStringLiteral(".html")).toStdString();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::DisplayTexts(const WindowTexts& texts)
{
    const std::array<const std::string*, 4> shown = {&texts.status, &texts.section, &texts.step, &texts.progress};
    if (texts.progress.find_first_not_of(' ') == std::string::npos) {
        timing_->setText(QStringLiteral(" "));
    }
    bool onlyCounter = true;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const QString text = QString::fromStdString(*shown[i]);
        if (fields_[i]->text() != text) {
            fields_[i]->setText(text);
            fields_[i]->setCursorPosition(0);
            onlyCounter = onlyCounter && i == kProgressLine;
        }
    }
    // Every text is painted at once, except a counter that moves faster than
    // an eye can follow: painting each of its thousands of steps would cost
    // more than the computation. A skipped step is painted with the next one.
    if (!onlyCounter || !sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= kCounterRepaintMs) {
        textGroup_->repaint();
        sinceRepaint_.start();
    }
    KeepAnswering();
    // The computation goes on on this thread right after the painting.
    ClearUpperVectorState();
}

void MainWindow::KeepAnswering()
{
    if (!busy_ || (sinceEvents_.isValid() && sinceEvents_.elapsed() < kAnswerIntervalMs)) {
        return;
    }
    // All events: the input lock drops the user's, so they cannot pile up
    // and act after the run.
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void MainWindow::ShowBootstrapTiming(const std::string& text)
{
    // Painted with the counter that follows.
    timing_->setText(QString::fromStdString(text));
}

WindowTexts MainWindow::DisplayedTexts() const
{
    return {fields_[0]->text().toStdString(), fields_[1]->text().toStdString(), fields_[2]->text().toStdString(),
            fields_[3]->text().toStdString()};
}

void MainWindow::SetButtonEnabled(Button button, bool enabled)
{
    QPushButton* pushButton = buttons_.at(button);
    pushButton->setEnabled(enabled);
    pushButton->repaint();
    ClearUpperVectorState();
}

void MainWindow::SetWaitCursor(bool waiting)
{
    if (waiting == waiting_) {
        return;
    }
    waiting_ = waiting;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

std::optional<SampleDialogValues> MainWindow::RunSampleDialog(const SampleDialogValues& initial)
{
    SampleDialog dialog(initial, this);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Values();
}

std::optional<OptionsDialogValues> MainWindow::RunOptionsDialog(const OptionsDialogValues& initial)
{
    Workspace& workspace = logic_.GetWorkspace();
    const QString report = QString::fromStdString(workspace.outputFile);
    OptionsDialog dialog(initial, report, this);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString chosen = dialog.ReportFile();
    if (chosen != report) {
        reportChosen_ = true;
        workspace.outputFile = chosen.toStdString();
        workspace.jsonFile = CompanionOf(chosen, QStringLiteral(".json")).toStdString();
        workspace.htmlFile = CompanionOf(chosen, QStringLiteral(".html")).toStdString();
    }
    return dialog.Values();
}

void MainWindow::OpenReport(const std::string& path)
{
    reportPath_ = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    reportField_->setText(reportPath_);
    // A path too long for the field still shows the file's name.
    reportField_->setCursorPosition(static_cast<int>(reportPath_.size()));
    reportField_->setToolTip(reportPath_);
    const std::string& page = logic_.GetWorkspace().htmlFile;
    pagePath_ = page.empty() || !QFileInfo::exists(QString::fromStdString(page))
                    ? QString()
                    : QFileInfo(QString::fromStdString(page)).absoluteFilePath();
    pageField_->setText(pagePath_);
    pageField_->setCursorPosition(static_cast<int>(pagePath_.size()));
    pageField_->setToolTip(pagePath_);
    reportRow_->findChild<QPushButton*>(QStringLiteral("openPage"))->setEnabled(!pagePath_.isEmpty());
    reportRow_->show();
    OpenShownReport();
}

void MainWindow::OpenShownPage()
{
    if (pagePath_.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(pagePath_))) {
        ShowTalverMessage(this, "The HTML page " + pagePath_.toStdString() +
                                    " could not be opened: no web browser could be started. Open it with the "
                                    "browser you use.");
    }
}

void MainWindow::ShowResultsAgain()
{
    if (resultsView_ == nullptr) {
        return;
    }
    resultsView_->show();
    resultsView_->raise();
    resultsView_->activateWindow();
}

void MainWindow::OpenShownReport()
{
    if (!OpenReportInEditor(reportPath_.toStdString())) {
        ShowTalverMessage(this, "The report " + reportPath_.toStdString() +
                                    " was written, but no text editor could be started to show it. Open it with "
                                    "the editor you use, or set TALVER_EDITOR to that editor's command.");
    }
}

void MainWindow::OpenReportFolder()
{
    const QString folder = QFileInfo(reportPath_).absolutePath();
    const std::string unanswered = "The folder " + folder.toStdString() +
                                   " could not be opened: no file manager answered. Open it with the file manager "
                                   "you use; its path is in the Report field.";
    OpenFolderAndTell(this, folder, [this, unanswered] { ShowTalverMessage(this, unanswered); });
}

void MainWindow::ShowDetail(const std::string& detail)
{
    // The label is hidden when a command starts; what the command says
    // after that is kept, line under line.
    const QString shown = detail_->isHidden() ? QString() : detail_->text() + QLatin1Char('\n');
    detail_->setText(shown + QString::fromStdString(detail));
    detail_->show();
}

void MainWindow::ShowSuspectCodes(const std::string& description, const std::string& codes, bool declarable)
{
    if (declarable) {
        ShowDetail(description + "\nAnalysed as scores, as the report says. To leave them out, read the data again "
                                 "and press Declare " + codes + " missing in the Sample dialog.");
        return;
    }
    const std::string advice = "They are analysed as scores, and the report says so. Plain data files cannot mark "
                               "missing answers: save the data with the items' names in the first line (a .csv "
                               "file) and type " + codes + " into Missing values, or remove those rows.";
    ShowDetail(description);
    ShowTalverMessage(this, description + "\n\n" + advice);
}

void MainWindow::ShowMessage(const std::string& text)
{
    ShowTalverMessage(this, text);
}

void MainWindow::FocusField(int /*controlId*/)
{
    // The main window has no field that a rule refuses.
}

void MainWindow::ShowResults(const ReportDetails& details, const RunResults& results, const std::string& reportPath)
{
    delete resultsView_;
    resultsView_ = new ResultsView(details, results, reportPath, this);
    resultsView_->show();
}

} // namespace talver
