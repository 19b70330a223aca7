#pragma once
// The main window's commands and the enabling of its buttons, without a
// toolkit: Read Sample Data, Configure Analysis, Compute and Exit.

#include "app/MainWindowPort.h"
#include "app/ReportContext.h"
#include "app/StatusDisplay.h"
#include "app/Workspace.h"

#include <map>

struct RunResults;

class MainWindowLogic : public StatusDisplay {
public:
    explicit MainWindowLogic(MainWindowPort& port);

    // The window's initialisation: defaults, "  READY", buttons.
    void Initialise();
    void ReadSampleData();
    void ConfigureAnalysis();
    // Returns false when the run did not produce a report.
    bool Compute();
    void Exit();

    void ShowText(TextField field, const std::string& text) override;
    void ShowBootstrapProgress(int done, int total, double percent) override;

    bool IsEnabled(Button button) const;
    const Workspace& GetWorkspace() const { return workspace_; }
    Workspace& GetWorkspace() { return workspace_; }

private:
    void SetStatus(const std::string& text);
    void Display();
    void Enable(Button button, bool enabled);
    bool ReadSample(const std::string& path, int rows, Matrix*& into, const char* errorMessage);
    void DeriveScoreRange();
    void RunAnalyses(ReportContext& context);
    bool WriteCompanion(const RunResults& results);

    MainWindowPort& port_;
    Workspace workspace_;
    std::map<Button, bool> enabled_;
};
