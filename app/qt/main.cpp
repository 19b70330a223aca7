// talver: the desktop program. Answers the registration switches without a
// window, otherwise shows the main window and ends when it closes.

#include "platform/HeapReuse.h"
#include "app/StartupSwitches.h"
#include "app/WindowCommandLine.h"
#include "app/qt/ApplicationSetup.h"
#include "app/qt/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace talver;

namespace {

// Exit status when the window cannot be shown.
constexpr int kNoWindow = 2;

constexpr char kBatchHint[] =
    "To run an analysis without a desktop, use talver-batch (see talver-batch --help).";

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// A display to open the window on, or a Qt platform chosen by hand.
bool DisplayChosen(int argc, char** argv)
{
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return true;
        }
    }
    return false;
}

QtMessageHandler qtHandler = nullptr;

// While Qt opens the display: a display that cannot be opened ends Qt with a
// fatal message; end with that message, the way out, and no core dump.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    qtHandler(type, context, message);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "talver: the window could not be opened. %s\n", kBatchHint);
        std::_Exit(kNoWindow);
    }
}

} // namespace

int main(int argc, char** argv)
{
    KeepFreedHeapMemory();
    // Nothing is registered on this platform; installers that ask still get
    // the quiet, successful end they expect, with or without a display.
    if (FindStartupSwitch(CommandLineAfterProgram(argc, argv)) != StartupSwitch::None) {
        return 0;
    }
    if (const std::optional<std::string> information = WindowInformationText(argc, argv)) {
        std::printf("%s\n", information->c_str());
        return 0;
    }
    if (!DisplayChosen(argc, argv)) {
        std::fprintf(stderr,
                     "talver: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the TALVER "
                     "window cannot be shown.\n%s\n",
                     kBatchHint);
        return kNoWindow;
    }
    qtHandler = qInstallMessageHandler(StartupMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    PrepareApplication(application);

    MainWindow window;
    window.exec();
    return 0;
}
