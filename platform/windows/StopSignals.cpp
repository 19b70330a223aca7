#include "platform/StopSignals.h"

#include "platform/AtomicFile.h"

#include <atomic>
#include <csignal>

#include <windows.h>

namespace talver {

namespace {

std::atomic<int> receivedSignal{0};

// Windows calls this on a thread of its own. Ctrl-C and Ctrl-Break ask the
// run to stop at its next progress call, as SIGINT does elsewhere; a second
// one ends the process at once, without its temporary files. Closing the
// console window, logging off and shutting down end the process as soon as
// this returns, so the temporary files go first.
BOOL WINAPI RecordConsoleEvent(DWORD event)
{
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    const int signal = interrupt ? SIGINT : SIGTERM;
    if (!interrupt || receivedSignal.load() != 0) {
        RemoveOpenTemporaryFiles();
        ExitProcess(static_cast<UINT>(StoppedExitStatus(signal)));
    }
    receivedSignal.store(signal);
    return TRUE;
}

} // namespace

void InstallStopSignals()
{
    SetConsoleCtrlHandler(RecordConsoleEvent, TRUE);
}

int StopSignal()
{
    return receivedSignal.load();
}

int StoppedExitStatus(int signal)
{
    return 128 + signal;
}

} // namespace talver
