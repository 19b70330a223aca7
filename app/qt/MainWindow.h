#pragma once
// TALVER's main window: the three commands, About and Exit, the pictures and
// the four text fields. Every rule lives in RunController; this class only
// shows what the logic asks for.

#include "app/RunController.h"
#include "app/RunPort.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <map>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talver {

class ResultsView;

class MainWindow : public QDialog, public RunPort {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    void DisplayTexts(const WindowTexts& texts) override;
    WindowTexts DisplayedTexts() const override;
    void SetButtonEnabled(Button button, bool enabled) override;
    void SetWaitCursor(bool waiting) override;
    std::optional<SampleDialogValues> RunSampleDialog(const SampleDialogValues& initial) override;
    std::optional<OptionsDialogValues> RunOptionsDialog(const OptionsDialogValues& initial) override;
    void OpenReport(const std::string& path) override;
    void ShowMessage(const std::string& text) override;
    void FocusField(int controlId) override;
    // Details and notes of one command add up below the commands.
    void ShowDetail(const std::string& detail) override;
    // Files with column names had the Sample dialog's offer to declare the
    // codes: a note says what was kept. Plain files get a message box.
    void ShowSuspectCodes(const std::string& description, const std::string& codes, bool declarable) override;
    // The report's path has a row of its own, filled when the report opens.
    void ShowReportWritten(const std::string& /*path*/) override {}

    // The report of the last run, by its full path; empty before the first.
    QString ReportPath() const { return reportPath_; }
    // The HTML page of the last run, by its full path; empty before the first.
    QString PagePath() const { return pagePath_; }
    // Throws ComputationStopped once Stop was pressed during Compute.
    void PollStop() override;
    void ShowBootstrapTiming(const std::string& text) override;
    void ShowResults(const ReportDetails& details, const RunResults& results, const std::string& reportPath) override;

protected:
    // No closing while a command reads or computes.
    void closeEvent(QCloseEvent* event) override;
    // Escape does not end the program: Exit and the close box do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* MakeIllustration();
    QWidget* MakeCommands();
    QWidget* MakeReportRow();
    QPushButton* MakeButton(Button button, const char* text);
    // Runs a command with closing and input locked, then puts the focus on
    // the command that comes next.
    // `open`: a control that stays usable during the command (Stop).
    template <typename Command>
    void RunCommand(Command command, QAbstractButton* open = nullptr);
    // Lets the window be drawn and answer the desktop while a command runs on
    // this thread; the user's input to it is dropped.
    void KeepAnswering();
    void FocusNextCommand();
    // A report goes beside the Target data file unless the user chose its place.
    void PlaceReportBesideTarget();
    void OpenShownReport();
    void OpenReportFolder();
    void OpenShownPage();
    void ShowResultsAgain();
    void RunCompute();

    RunController logic_;
    std::map<Button, QPushButton*> buttons_;
    // Status, line 1, line 2, line 3.
    std::array<QLineEdit*, 4> fields_{};
    QGroupBox* textGroup_ = nullptr;
    QLabel* detail_ = nullptr;
    QWidget* reportRow_ = nullptr;
    QLineEdit* reportField_ = nullptr;
    QString reportPath_;
    QLineEdit* pageField_ = nullptr;
    QString pagePath_;
    QPushButton* stop_ = nullptr;
    bool stopAsked_ = false;
    // Runs computed in this program run: a second one continues the random
    // sequence of the first.
    int runsDone_ = 0;
    // The user chose the report file in the options dialog.
    bool reportChosen_ = false;
    // Below the counter: time elapsed and left in the bootstrap phase.
    QLabel* timing_ = nullptr;
    QElapsedTimer sinceEvents_;
    QElapsedTimer sinceRepaint_;
    bool busy_ = false;
    bool waiting_ = false;
    // The results of the last run, beside the window.
    ResultsView* resultsView_ = nullptr;
};

} // namespace talver
