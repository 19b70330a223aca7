#pragma once
// The progress of a run in the R console, and the point where the user's
// interrupt (Ctrl-C, Esc) is taken: between two bootstrap replicates.

#include <chrono>
#include <string>

#include "PackageRun.h"

namespace talver {

class ConsoleProgress : public SectionProgress {
public:
    // Shows the steps and the counter only when `verbose`; checks for an
    // interrupt always.
    explicit ConsoleProgress(bool verbose) : verbose_(verbose) {}
    ~ConsoleProgress() override;

    void ShowSection(const std::string& name) override;
    void ShowStep(const std::string& text) override;
    void ShowProgress(const std::string& text) override;
    // Throws ComputationStopped when the user has interrupted R.
    void ShowBootstrapProgress(int done, int total, double percent) override;

private:
    void Redraw();

    bool verbose_;
    std::string section_;
    std::string step_;
    std::string counter_;
    std::size_t shownLength_ = 0;
    std::chrono::steady_clock::time_point lastShown_{};
};

// Whether the user has asked R to interrupt, without leaving C++ by a long
// jump (R_CheckUserInterrupt would skip every destructor on the way out).
bool UserInterruptPending();

} // namespace talver
