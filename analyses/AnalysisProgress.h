#pragma once
// How the analyses tell what they are doing: the current step and the
// bootstrap counter. Whatever shows a run (the window's text lines, the
// batch's terminal, nothing at all) implements it. Only the thread that runs
// the analysis calls it, also while other threads compute replicates.

#include <stdexcept>
#include <string>

namespace talver {

class AnalysisProgress {
public:
    virtual ~AnalysisProgress() = default;
    // The step in progress, such as "Bootstrap resampling ...".
    virtual void ShowStep(const std::string& text) = 0;
    // The progress line: the bootstrap counter, or " " to clear it.
    virtual void ShowProgress(const std::string& text) = 0;
    // The counter after replicate `done` (0-based) of `total`; each analysis
    // computes the percentage in its own order of operations. Shows
    // BootstrapProgressText unless a front end thins the counter out.
    virtual void ShowBootstrapProgress(int done, int total, double percent);
    // The system started only `started` of the `asked` threads of a
    // bootstrap loop; the loop goes on with them, and its results are the
    // same.
    virtual void NoteThreadsRefused(int /*started*/, int /*asked*/) {}
    // Called first on each worker thread of a bootstrap loop. A new thread
    // starts with its creator's processor state, which the front end may
    // have left in a state that slows the computation (see
    // platform/UpperVectorState.h); nothing else may happen here.
    virtual void PrepareWorkerThread() {}
};

// Thrown by a front end's progress calls (between two replicates) when the
// user stops the run: the analysis unwinds, its threads are joined, and no
// result is returned.
class ComputationStopped : public std::runtime_error {
public:
    ComputationStopped() : std::runtime_error("the computation was stopped") {}
};

// "Done: %4i (%6.2f%%)".
std::string BootstrapProgressText(int done, double percent);

} // namespace talver
