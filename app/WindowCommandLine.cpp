#include "app/WindowCommandLine.h"

#include "app/BuildDescription.h"

#include <string_view>

namespace talver {

namespace {

constexpr char kHelp[] =
    "Usage: talver [--help | --version] [Qt options]\n"
    "TALVER tests the measurement invariance of test items between a Target and a\n"
    "Replication sample with exploratory factor analysis. This is its window: start\n"
    "it in the folder of your data and use its commands in order: Read Sample Data,\n"
    "Configure Analysis, Compute. The report is written to output.txt there.\n"
    "\n"
    "Options:\n"
    "  --help          Print this help and exit\n"
    "  --version       Print the version, the compiler and the kind of build, and exit\n"
    "  -platform NAME  The Qt platform to show the window on, for example xcb or wayland\n"
    "\n"
    "Without a graphical display the window cannot be shown; talver-batch runs the\n"
    "same analysis from the command line.";

} // namespace

std::optional<std::string> WindowInformationText(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            return std::string(kHelp);
        }
        if (argument == "--version") {
            return VersionText("talver");
        }
    }
    return std::nullopt;
}

} // namespace talver
