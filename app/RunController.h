#pragma once
// The main window's commands and the enabling of its buttons, without a
// toolkit: Read Sample Data, Configure Analysis, Compute and Exit.

#include "analyses/AnalysisProgress.h"
#include "app/BootstrapClock.h"
#include "app/RunPort.h"
#include "app/Workspace.h"
#include "report/ReportContext.h"
#include "report/RunResults.h"
#include "stats/RandomSource.h"

#include <map>
#include <memory>

namespace talver {

// Also what the analyses report their progress to: steps go to the step
// line, the bootstrap counter to the progress line, through ShowText. The
// logic owns the program run's random sequence, which a second Compute
// continues.
class RunController : public AnalysisProgress {
public:
    explicit RunController(RunPort& port);

    // The window's initialisation: defaults, "  READY", buttons.
    void Initialise();
    void ReadSampleData();
    void ConfigureAnalysis();
    // Returns false when the run did not produce its outputs. Refuses output
    // paths that name an input or each other, or that are no regular files;
    // replaces the outputs together, only when all of them are complete.
    bool Compute();
    // Whether the last Compute failed on an error of the program (not of the
    // user's choices, a file or the memory).
    bool FailedInternally() const { return failedInternally_; }
    void Exit();

    // Sets one of the four texts and shows all four at once.
    void ShowText(TextField field, const std::string& text);

    void ShowStep(const std::string& text) override;
    void ShowProgress(const std::string& text) override;
    void ShowBootstrapProgress(int done, int total, double percent) override;
    void NoteThreadsRefused(int started, int asked) override;
    void PrepareWorkerThread() override;

    bool IsEnabled(Button button) const;
    const Workspace& GetWorkspace() const { return workspace_; }
    Workspace& GetWorkspace() { return workspace_; }

private:
    void SetStatus(const std::string& text);
    void Display();
    void Enable(Button button, bool enabled);
    bool ReadSample(const std::string& path, int rows, Matrix*& into, const char* errorMessage);
    // Takes over `alreadyRead` when the dialog read the samples.
    bool ReadColumnSamples(SampleSource source, const std::shared_ptr<ExtractedSamples>& alreadyRead);
    bool ReadingStopAsked();
    void DeriveScoreRange();
    void RefuseData();
    // Says which scores look like codes of missing answers, and keeps the
    // warning for the report.
    void CheckForMissingCodes();
    RunResults RunAnalyses(ReportContext& context);

    RunPort& port_;
    Workspace workspace_;
    std::map<Button, bool> enabled_;
    RandomSource random_;
    BootstrapClock bootstrapClock_;
    bool threadsRefusedSaid_ = false;
    bool failedInternally_ = false;
};

} // namespace talver
