#include "app/qt/MainWindow.h"

#include "analyses/AvailableCores.h"
#include "app/OptionsDialogRules.h"
#include "app/SampleDialogRules.h"
#include "app/qt/AboutBox.h"
#include "app/qt/Artwork.h"
#include "app/qt/ControlNames.h"
#include "app/qt/MessageBox.h"
#include "app/qt/OptionsDialog.h"
#include "app/qt/ReportOpener.h"
#include "app/qt/ResultsView.h"
#include "app/qt/SampleDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

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

} // namespace

MainWindow::MainWindow(QWidget* parent) : QDialog(parent), logic_(*this)
{
    setWindowTitle(QStringLiteral("TALVER"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
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

    logic_.Initialise();
    // The tables of every report also go beside it at full precision.
    logic_.GetWorkspace().jsonFile = "output.json";
    logic_.GetWorkspace().htmlFile = "output.html";
    logic_.GetWorkspace().threadCount = AvailableCores();
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
    column->addWidget(MakeButton(Button::ReadSampleData, "Read Sample Data"));
    column->addWidget(MakeButton(Button::ConfigureAnalysis, "Configure Analysis"));
    column->addWidget(MakeButton(Button::Compute, "Compute"));

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
        if (kTextFieldIds[i] != kStatusFieldId) {
            // The three lines only report; they look like the window, not like input.
            field->setReadOnly(true);
            field->setFocusPolicy(Qt::NoFocus);
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, Qt::transparent);
            field->setPalette(palette);
        }
        fields_[i] = field;
        lines->addWidget(field);
    }
    column->addWidget(textGroup_);
    column->addStretch(1);

    auto* closing = new QHBoxLayout;
    closing->setSpacing(8);
    closing->addWidget(MakeButton(Button::About, "About TALVER"));
    closing->addWidget(MakeButton(Button::Exit, "Exit"));
    column->addLayout(closing);

    connect(buttons_[Button::ReadSampleData], &QPushButton::clicked, this,
            [this] { RunCommand([this] { logic_.ReadSampleData(); }); });
    connect(buttons_[Button::ConfigureAnalysis], &QPushButton::clicked, this,
            [this] { RunCommand([this] { logic_.ConfigureAnalysis(); }); });
    connect(buttons_[Button::Compute], &QPushButton::clicked, this,
            [this] { RunCommand([this] { logic_.Compute(); }); });
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
void MainWindow::RunCommand(Command command)
{
    busy_ = true;
    command();
    busy_ = false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MainWindow::DisplayTexts(const WindowTexts& texts)
{
    const std::array<const std::string*, 4> shown = {&texts.status, &texts.section, &texts.step, &texts.progress};
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
}

void MainWindow::KeepAnswering()
{
    if (!busy_ || (sinceEvents_.isValid() && sinceEvents_.elapsed() < kAnswerIntervalMs)) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
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
    OptionsDialog dialog(initial, this);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Values();
}

void MainWindow::OpenReport(const std::string& path)
{
    if (!OpenReportInEditor(path)) {
        std::fprintf(stderr, "talver: the report %s was written, but no editor could be started for it. "
                             "Set TALVER_EDITOR to the editor you want.\n", path.c_str());
    }
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
