#pragma once
// Ctrl-C, a termination request, a closed pipe on stderr and the other
// signals that would end the process (a closed terminal, Ctrl-\, the user
// signals, a timer, a CPU-time limit) stop a batch run between two bootstrap
// replicates instead of killing it mid-write: the handler only records the
// signal, and the next progress call throws ComputationStopped, so the
// earlier outputs stay in place and no temporary file is left.

namespace talver {

// Installs the handlers for SIGINT, SIGTERM, SIGPIPE, SIGHUP, SIGQUIT,
// SIGUSR1, SIGUSR2, SIGALRM and SIGXCPU. A second signal (but SIGPIPE) ends
// the process at once, for a run that does not stop soon enough; the
// temporary files of its outputs are removed first.
// SIGXFSZ is ignored, so that a file-size limit shows as a failed write.
void InstallStopSignals();

// The signal that asked the run to stop, or 0.
int StopSignal();

// The exit status for a run stopped by `signal`: 128 + its number.
int StoppedExitStatus(int signal);

} // namespace talver
