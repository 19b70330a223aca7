#pragma once
// What a bootstrap loop went through: the samples it drew again, and why, and
// the replicates whose factor solution was improper. Counted over the
// replicates that were completed, in replicate order, so the counts are the
// same on any number of threads.

namespace talver {

// Why a bootstrap sample was drawn again.
enum class RedrawReason {
    // A polychoric matrix could not be formed: an item of the sample lost one
    // of its score categories.
    EmptyCategory,
    // Maximum likelihood did not converge on the sample.
    NotConverged,
    // An item of the sample has no variance.
    NoVariance,
    // The dispersion matrix or the loadings hold values that are not finite.
    NotFinite,
};

struct RedrawCounts {
    int emptyCategory = 0;
    int notConverged = 0;
    int noVariance = 0;
    int notFinite = 0;

    void Add(RedrawReason reason);
    void Add(const RedrawCounts& other);
    int Total() const { return emptyCategory + notConverged + noVariance + notFinite; }
};

// The sample's share of the loop.
struct SampleTally {
    RedrawCounts redraws;
    // Replicates whose solution has a residual variance at or below zero (an
    // improper, or Heywood, solution).
    int improperSolutions = 0;

    void Add(const SampleTally& other);
};

// One replicate's record: one entry per sample.
struct ReplicateTally {
    SampleTally target;
    SampleTally replication;
};

struct BootstrapTally {
    // False when the analysis ended before its bootstrap.
    bool ran = false;
    // Replicates completed: all of them unless a sample failed every redraw.
    int replicates = 0;
    SampleTally target;
    SampleTally replication;

    void Add(const ReplicateTally& replicate);
};

} // namespace talver
