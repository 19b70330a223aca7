#pragma once
// The browser's stand-in for the main window: the page's choices arrive as a
// talver-batch command line, so that the dialogs' rules and messages are the
// batch's; progress goes to the page as messages of the worker, and a field
// to fix is named to the page so that it can mark it.

#include "app/batch/BatchPort.h"

namespace talver {

class WebPort : public BatchPort {
public:
    explicit WebPort(const BatchOptions& options);

    void FocusField(int controlId) override;
    void DisplayTexts(const WindowTexts& texts) override;
    WindowTexts DisplayedTexts() const override { return shown_; }
    void NoteBootstrapProgress(int done, int total) override;
    void ShowBootstrapTiming(const std::string& text) override;
    // The page stops a run by ending its worker: nothing to poll.
    void PollStop() override {}
    void OpenReport(const std::string&) override {}
    // The page shows the report and offers it for download instead.
    void ShowReportWritten(const std::string&) override {}

private:
    void PostProgress(bool always);

    WindowTexts shown_;
    std::string timing_;
    int done_ = -1;
    int total_ = 0;
    double lastPosted_ = 0.0;
};

} // namespace talver
