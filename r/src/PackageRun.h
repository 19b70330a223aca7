#pragma once
// One analysis run for the R package: the data and options of one call of
// talver_invariance() in, the analyses' result records and the text report
// out. The analyses run in the order of the window's Compute, on a random
// sequence of their own, so that a call equals one run of talver-batch.

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/PolychoricScores.h"

#include "analyses/AnalysisProgress.h"
#include "report/ReportDetails.h"
#include "report/RunResults.h"
#include "stats/RandomSource.h"

namespace talver {

// A sample as R holds a numeric matrix: column by column.
struct SampleValues {
    int rows = 0;
    int cols = 0;
    std::vector<double> values;
};

struct OutputChoice {
    bool difficulties = true;
    bool discriminations = true;
    bool residualVariances = true;
    bool difficultyFit = true;
    bool congruence = true;
    bool discrepancy = true;
};

struct PackageRunRequest {
    SampleValues target;
    SampleValues replication;
    // Sample names, sizes, items and options as the report states them. The
    // score range is used by polychoric correlations only.
    ReportDetails details;
    OutputChoice outputs;
    std::uint32_t seed = RandomSource::kInitialState;
    int threads = 1;
};

struct PackageRunOutput {
    RunResults results;
    std::string report;
    // The JSON companion that talver-batch --json writes.
    std::string json;
};

// A progress display that also names the analysis in progress, as the
// window's section line does.
class SectionProgress : public AnalysisProgress {
public:
    virtual void ShowSection(const std::string& name) = 0;
};

// The refusal of polychoric correlations for scores that are no whole
// numbers (or lie beyond the 32-bit range), naming the item and the row of
// the data the user gave; empty when every score is a category. The values
// are those the analyses see, held in single precision.
std::string PolychoricScoresRefusal(const SampleValues& target, const SampleValues& replication,
                                    const std::vector<std::string>& itemNames, const SampleRowOrigins& origins);

// Values are held in single precision, as talver-batch reads its files, so
// that the same data give the same numbers. Throws ComputationStopped when
// the progress calls stop the run; exceptions of the progress calls leave
// by the same way.
PackageRunOutput RunPackageAnalyses(const PackageRunRequest& request, SectionProgress& progress);

} // namespace talver
