#include "ConsoleProgress.h"

#define R_NO_REMAP
#include <R_ext/Print.h>
#include <R_ext/Utils.h>
#include <Rinternals.h>

namespace talver {

namespace {

void CheckInterrupt(void* /*unused*/)
{
    R_CheckUserInterrupt();
}

// The console line is rewritten at most this often, so that printing does
// not slow a fast bootstrap down.
constexpr std::chrono::milliseconds kRedrawInterval{200};

} // namespace

bool UserInterruptPending()
{
    // R_ToplevelExec runs the check in a context of its own: an interrupt
    // ends that context only and comes back here as FALSE.
    return R_ToplevelExec(CheckInterrupt, nullptr) == FALSE;
}

ConsoleProgress::~ConsoleProgress()
{
    if (verbose_ && shownLength_ > 0) {
        REprintf("\r%*s\r", static_cast<int>(shownLength_), "");
    }
}

void ConsoleProgress::ShowSection(const std::string& name)
{
    section_ = name == " " ? "" : name;
    step_.clear();
    counter_.clear();
    Redraw();
}

void ConsoleProgress::ShowStep(const std::string& text)
{
    step_ = text;
    Redraw();
}

void ConsoleProgress::ShowProgress(const std::string& text)
{
    counter_ = text == " " ? "" : text;
    Redraw();
}

void ConsoleProgress::ShowBootstrapProgress(int done, int /*total*/, double percent)
{
    if (UserInterruptPending()) {
        throw ComputationStopped();
    }
    const auto now = std::chrono::steady_clock::now();
    if (verbose_ && now - lastShown_ >= kRedrawInterval) {
        lastShown_ = now;
        ShowProgress(BootstrapProgressText(done, percent));
    }
}

void ConsoleProgress::Redraw()
{
    if (!verbose_) {
        return;
    }
    std::string line = section_;
    for (const std::string* part : {&step_, &counter_}) {
        if (!part->empty()) {
            line += (line.empty() ? "" : "  ") + *part;
        }
    }
    const std::size_t length = line.size();
    if (length < shownLength_) {
        line.append(shownLength_ - length, ' ');
    }
    REprintf("\r%s", line.c_str());
    shownLength_ = length;
}

} // namespace talver
