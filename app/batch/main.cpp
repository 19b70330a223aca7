// talver-batch: the window's three commands, Read Sample Data, Configure
// Analysis and Compute, run one after the other from the command line.

#include "analyses/AvailableCores.h"
#include "app/MainWindowLogic.h"
#include "app/batch/BatchOptions.h"
#include "app/batch/BatchPort.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace talver;

namespace {

// Exit status when a dialog would stay open or a file cannot be used.
constexpr int kUserError = 2;

} // namespace

int main(int argc, char** argv)
{
    BatchOptions options;
    if (const std::optional<int> status = ParseBatchOptions(argc, argv, options)) {
        return *status;
    }
    BatchPort port(options, isatty(fileno(stderr)) == 1);
    if (!port.CheckCombination()) {
        return kUserError;
    }
    MainWindowLogic window(port);
    window.Initialise();
    window.GetWorkspace().outputFile = options.outputFile;
    window.GetWorkspace().jsonFile = options.jsonFile;
    window.GetWorkspace().htmlFile = options.htmlFile;
    window.GetWorkspace().threadCount = options.threads > 0 ? options.threads : AvailableCores();

    window.ReadSampleData();
    if (!window.GetWorkspace().dataLoaded) {
        return kUserError;
    }
    window.ConfigureAnalysis();
    if (!window.GetWorkspace().analysisConfigured) {
        return kUserError;
    }
    if (!window.Compute()) {
        return kUserError;
    }
    std::error_code error;
    const std::filesystem::path report = std::filesystem::absolute(options.outputFile, error);
    port.Finish("Report written to " + (error ? options.outputFile : report.string()));
    window.Exit();
    return 0;
}
