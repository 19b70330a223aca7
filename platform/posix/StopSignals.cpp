#include "platform/StopSignals.h"

#include "platform/AtomicFile.h"

#include <csignal>

namespace talver {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

// The first signal asks the run to stop at its next progress call; a second
// one ends the process at once, without its temporary files.
extern "C" void RecordSignal(int signal)
{
    if (receivedSignal != 0 && signal != SIGPIPE) {
        RemoveOpenTemporaryFiles();
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    receivedSignal = signal;
}

void Handle(int signal)
{
    struct sigaction action {};
    action.sa_handler = RecordSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

void InstallStopSignals()
{
    // Ctrl-C, a termination request, a closed pipe, a closed terminal,
    // Ctrl-\, the user signals, a timer and a CPU-time limit.
    for (const int signal : {SIGINT, SIGTERM, SIGPIPE, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU}) {
        Handle(signal);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

int StopSignal()
{
    return receivedSignal;
}

int StoppedExitStatus(int signal)
{
    return 128 + signal;
}

} // namespace talver
