#pragma once
// One whole run of talver-batch from its command line: the window's three
// commands in turn, messages and progress on stderr.

namespace talver {

// Parses argv, reads, configures and computes; returns the exit status: 0
// with a report, 2 when a choice or a file was refused, 1 when the run failed
// otherwise, 128 + the signal's number when a stop signal ended it. No input
// file is changed, and an earlier report or JSON file is replaced only by a
// complete one.
int RunBatchCommandLine(int argc, char** argv);

} // namespace talver
