#pragma once
// The progress of a run in the R console, and the point where R's interrupt
// (Ctrl-C, Esc) and time limits are taken: between two bootstrap replicates.

#include <Rcpp.h>

#include <chrono>
#include <string>

#include "PackageRun.h"

namespace talver {

class ConsoleProgress : public SectionProgress {
public:
    // `show` is the R function that draws the bar, called with the section
    // and the share of its bootstrap done (NA when a section starts, and an
    // empty section at the end); NULL shows nothing.
    explicit ConsoleProgress(SEXP show) : show_(show) {}

    void ShowSection(const std::string& name) override;
    void ShowStep(const std::string& /*text*/) override {}
    void ShowProgress(const std::string& /*text*/) override {}
    // Leaves by an exception that carries R's interrupt or error on when the
    // user has interrupted R or a time limit has passed.
    void ShowBootstrapProgress(int done, int total, double percent) override;

private:
    void Show(double share);

    SEXP show_;
    std::string section_;
    double share_ = 0.0;
    bool shownShare_ = true;
    std::chrono::steady_clock::time_point lastShown_{};
};

} // namespace talver
