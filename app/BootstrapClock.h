#pragma once
// Time elapsed and an estimate of the time left in a bootstrap phase, or in
// the whole run when the run's phases are known, for the line that front ends
// show beside the counter.

#include <functional>
#include <string>

namespace talver {

class BootstrapClock {
public:
    // Seconds on a clock that never goes back.
    using Now = std::function<double()>;

    explicit BootstrapClock(Now now);
    BootstrapClock();

    // A run with `phases` bootstrap phases begins: from now on the elapsed
    // time is the run's, and the time left counts the phases still to come,
    // each as long as the current one at its pace so far.
    void StartRun(int phases);
    // A step began; a bootstrap phase that follows started here.
    void MarkStep();
    // After replicate `done` (0-based) of `total`: "0:12 elapsed, about 0:34
    // left". The time left is the mean time per finished replicate so far
    // times the replicates still to come.
    std::string Note(int done, int total);

private:
    Now now_;
    double stepStart_;
    double phaseStart_;
    int lastDone_ = -1;
    int lastTotal_ = -1;
    // Set by StartRun.
    bool wholeRun_ = false;
    double runStart_ = 0;
    int phasesAfter_ = 0;
};

// Whole seconds as "m:ss", or "h:mm:ss" from an hour on.
std::string DurationText(double seconds);

} // namespace talver
