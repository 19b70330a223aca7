#pragma once
// Ctrl-C, a termination request and a closed pipe on stderr stop a batch run
// between two bootstrap replicates instead of killing it mid-write: the
// handler only records the signal, and the next progress call throws
// ComputationStopped, so the earlier report stays in place.

namespace talver {

// Installs the handlers for SIGINT, SIGTERM and SIGPIPE. A second SIGINT or
// SIGTERM ends the process at once, for a run that does not stop soon enough;
// the temporary files of its outputs are removed first.
// SIGXFSZ is ignored, so that a file-size limit shows as a failed write.
void InstallStopSignals();

// The signal that asked the run to stop, or 0.
int StopSignal();

// The exit status for a run stopped by `signal`: 128 + its number.
int StoppedExitStatus(int signal);

} // namespace talver
