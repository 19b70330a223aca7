#include "app/BootstrapClock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

namespace talver {

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

BootstrapClock::BootstrapClock(Now now) : now_(std::move(now)), stepStart_(now_()), phaseStart_(stepStart_) {}

BootstrapClock::BootstrapClock() : BootstrapClock(SteadySeconds) {}

void BootstrapClock::StartRun(int phases)
{
    wholeRun_ = true;
    runStart_ = now_();
    stepStart_ = runStart_;
    // The first phase's counter makes it the current one.
    phasesAfter_ = phases;
    lastDone_ = -1;
    lastTotal_ = -1;
}

void BootstrapClock::MarkStep()
{
    stepStart_ = now_();
}

std::string BootstrapClock::Note(int done, int total)
{
    // A counter that starts again or counts towards another total is a new
    // phase, which began with the last step shown.
    if (done <= lastDone_ || total != lastTotal_) {
        phaseStart_ = stepStart_;
        phasesAfter_ = std::max(phasesAfter_ - 1, 0);
    }
    lastDone_ = done;
    lastTotal_ = total;
    const double now = now_();
    const double inPhase = std::fmax(0.0, now - phaseStart_);
    const double finished = static_cast<double>(done) + 1.0;
    const double perReplicate = inPhase / finished;
    double left = total > done ? perReplicate * (total - finished) : 0.0;
    if (wholeRun_) {
        left += perReplicate * total * phasesAfter_;
    }
    const double elapsed = wholeRun_ ? std::fmax(0.0, now - runStart_) : inPhase;
    return DurationText(elapsed) + " elapsed, about " + DurationText(left) + " left";
}

std::string DurationText(double seconds)
{
    // Rounded up, so that a phase with time left never shows 0:00.
    const long long whole = std::isfinite(seconds) && seconds > 0.0 ? static_cast<long long>(std::ceil(seconds)) : 0;
    char text[40];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

} // namespace talver
