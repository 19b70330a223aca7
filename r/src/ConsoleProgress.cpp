#include "ConsoleProgress.h"

#include <R_ext/Utils.h>

namespace talver {

namespace {

SEXP CheckInterrupt(void* /*unused*/)
{
    R_CheckUserInterrupt();
    return R_NilValue;
}

// The bar is redrawn at most this often, so that printing does not slow a
// fast bootstrap down.
constexpr std::chrono::milliseconds kRedrawInterval{200};

} // namespace

void ConsoleProgress::ShowSection(const std::string& name)
{
    const std::string section = name == " " ? "" : name;
    if (section == section_) {
        return;
    }
    if (!shownShare_) {
        Show(share_);
    }
    section_ = section;
    share_ = 0.0;
    shownShare_ = true;
    Show(NA_REAL);
}

void ConsoleProgress::ShowBootstrapProgress(int done, int total, double /*percent*/)
{
    // R's interrupt and time limits leave R_CheckUserInterrupt by a long
    // jump; unwindProtect turns it into a C++ exception that unwinds the
    // analyses (joining their threads) and resumes the jump in R, so that
    // R sees an interrupt as an interrupt and a time limit as an error.
    Rcpp::unwindProtect(CheckInterrupt, nullptr);
    share_ = total > 0 ? static_cast<double>(done + 1) / total : 1.0;
    shownShare_ = false;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown_ >= kRedrawInterval) {
        lastShown_ = now;
        shownShare_ = true;
        Show(share_);
    }
}

void ConsoleProgress::Show(double share)
{
    if (Rf_isNull(show_)) {
        return;
    }
    Rcpp::Function show(show_);
    show(section_, share);
}

} // namespace talver
