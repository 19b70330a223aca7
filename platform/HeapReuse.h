#pragma once
// The bootstrap loops free and allocate the same working buffers thousands of
// times. By default the C library hands the top of the heap back to the
// system whenever more than 128 KiB of it is free, and on a machine with
// several cores every such return flushes the address translations of all of
// them: up to a tenth of the time of a long analysis.

namespace talver {

// Keeps freed memory in the process for the next allocation (peak memory is
// unchanged: it is reached anyway). Call once, at the start of main.
void KeepFreedHeapMemory();

} // namespace talver
