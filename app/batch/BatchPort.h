#pragma once
// The batch front end's stand-in for the main window: the two dialogs are
// filled from the command line, messages and progress go to stderr.

#include "app/RunPort.h"
#include "app/SampleDialogRules.h"
#include "app/batch/BatchOptions.h"
#include "app/batch/ProgressPrinter.h"

namespace talver {

class BatchPort : public RunPort {
public:
    BatchPort(const BatchOptions& options, bool liveProgress);

    // Refuses option pairs that the window cannot choose either, and outputs
    // that would replace a data file or another output.
    bool CheckCombination();

    void ShowMessage(const std::string& text) override;
    void FocusField(int controlId) override;
    void DisplayTexts(const WindowTexts& texts) override;
    WindowTexts DisplayedTexts() const override { return shown_; }
    void SetButtonEnabled(Button, bool) override {}
    void SetWaitCursor(bool) override {}
    std::optional<SampleDialogValues> RunSampleDialog(const SampleDialogValues& initial) override;
    std::optional<OptionsDialogValues> RunOptionsDialog(const OptionsDialogValues& initial) override;
    void OpenReport(const std::string& path) override;
    void ShowDetail(const std::string& detail) override;
    void ShowNote(const std::string& note) override;
    // Warns, with the option that declares the codes, and goes on.
    void ShowSuspectCodes(const std::string& description, const std::string& codes, bool declarable) override;
    // Throws ComputationStopped once a stop signal came.
    void PollStop() override;
    void NoteBootstrapProgress(int done, int total) override;
    void ShowBootstrapTiming(const std::string& text) override;

private:
    void Say(const std::string& text);
    // The options for files that name their columns, alone and together.
    bool CheckDataOptions();
    // Reads the files to fill the counts in, then confirms the dialog.
    std::optional<SampleDialogValues> FillInFromColumns(SampleDialogRules& dialog);

    const BatchOptions& options_;
    ProgressPrinter printer_;
    WindowTexts shown_;
};

} // namespace talver
