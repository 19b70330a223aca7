#include "app/batch/StopSignals.h"

#include <csignal>

namespace talver {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void RecordSignal(int signal)
{
    receivedSignal = signal;
}

void Handle(int signal, int flags)
{
    struct sigaction action {};
    action.sa_handler = RecordSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | flags;
    sigaction(signal, &action, nullptr);
}

} // namespace

void InstallStopSignals()
{
    // SA_RESETHAND: the default action comes back after the first signal.
    Handle(SIGINT, SA_RESETHAND);
    Handle(SIGTERM, SA_RESETHAND);
    Handle(SIGPIPE, 0);
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
