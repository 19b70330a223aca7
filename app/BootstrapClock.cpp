#include "app/BootstrapClock.h"

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
    }
    lastDone_ = done;
    lastTotal_ = total;
    const double elapsed = std::fmax(0.0, now_() - phaseStart_);
    const double finished = static_cast<double>(done) + 1.0;
    const double left = total > done ? elapsed / finished * (total - finished) : 0.0;
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
