#include "app/batch/BatchRun.h"

#include "analyses/AnalysisProgress.h"
#include "analyses/AvailableCores.h"
#include "app/RunController.h"
#include "app/batch/BatchOptions.h"
#include "app/batch/BatchPort.h"
#include "platform/ConsoleText.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"
#include "matrix/Matrix.h"

#include <cstdio>
#include <exception>
#include <new>

namespace talver {

namespace {

// Exit status when a dialog would stay open, a file cannot be used or the
// memory does not suffice for the run.
constexpr int kUserError = 2;
// Exit status when the run failed for a reason outside the user's choices.
constexpr int kRunFailed = 1;

int Stopped()
{
    std::fprintf(stderr, "Stopped by signal %d; no report or JSON file was changed.\n", StopSignal());
    return StoppedExitStatus(StopSignal());
}

int Run(const BatchOptions& options)
{
    BatchPort port(options, StandardErrorIsTerminal());
    if (!port.CheckCombination()) {
        return kUserError;
    }
    RunController window(port);
    window.Initialise();
    window.GetWorkspace().outputFile = options.outputFile;
    window.GetWorkspace().jsonFile = options.jsonFile;
    window.GetWorkspace().htmlFile = options.htmlFile;
    window.GetWorkspace().threadCount = options.threads > 0 ? options.threads : AvailableCores();

    window.ReadSampleData();
    if (StopSignal() != 0) {
        window.Exit();
        return Stopped();
    }
    if (!window.GetWorkspace().dataLoaded) {
        window.Exit();
        return kUserError;
    }
    window.ConfigureAnalysis();
    if (StopSignal() != 0) {
        window.Exit();
        return Stopped();
    }
    if (!window.GetWorkspace().analysisConfigured) {
        window.Exit();
        return kUserError;
    }
    const bool written = window.Compute();
    window.Exit();
    // A signal after the outputs were put in place leaves them complete.
    if (!written && StopSignal() != 0) {
        return StoppedExitStatus(StopSignal());
    }
    if (written) {
        return 0;
    }
    return window.FailedInternally() ? kRunFailed : kUserError;
}

} // namespace

int RunBatchCommandLine(int argc, char** argv)
{
    BatchOptions options;
    if (const std::optional<int> status = ParseBatchOptions(argc, argv, options)) {
        return *status;
    }
    try {
        return Run(options);
    } catch (const ComputationStopped&) {
        FreeAllMatrices();
        return Stopped();
    } catch (const std::bad_alloc&) {
        FreeAllMatrices();
        std::fprintf(stderr, "talver-batch ran out of memory. Close other programs, or run with fewer --threads "
                             "or --samples, then run again. No report or JSON file was changed.\n");
        return kUserError;
    } catch (const std::exception& failure) {
        FreeAllMatrices();
        WriteText(stderr, std::string("talver-batch failed: ") + failure.what() +
                              ". No report or JSON file was changed.\n");
        return kRunFailed;
    }
}

} // namespace talver
