#pragma once
// What a run hands to every analysis besides its data and options: where
// progress goes, the run's random sequence, and how many threads compute the
// bootstrap replicates (the results do not depend on that count).

#include "analyses/AnalysisProgress.h"
#include "stats/RandomSource.h"

namespace talver {

struct ComputeContext {
    AnalysisProgress& progress;
    RandomSource& random;
    int threads = 1;
};

} // namespace talver
