#pragma once
// How many threads a run may give the bootstrap replicates by default.

namespace talver {

// The number of cores of this machine, at least 1.
int AvailableCores();

} // namespace talver
