#include "analyses/BootstrapTally.h"

namespace talver {

void RedrawCounts::Add(RedrawReason reason)
{
    switch (reason) {
    case RedrawReason::EmptyCategory: ++emptyCategory; break;
    case RedrawReason::NotConverged: ++notConverged; break;
    case RedrawReason::NoVariance: ++noVariance; break;
    case RedrawReason::NotFinite: ++notFinite; break;
    }
}

void RedrawCounts::Add(const RedrawCounts& other)
{
    emptyCategory += other.emptyCategory;
    notConverged += other.notConverged;
    noVariance += other.noVariance;
    notFinite += other.notFinite;
}

void SampleTally::Add(const SampleTally& other)
{
    redraws.Add(other.redraws);
    improperSolutions += other.improperSolutions;
}

void BootstrapTally::Add(const ReplicateTally& replicate)
{
    ++replicates;
    target.Add(replicate.target);
    replication.Add(replicate.replication);
}

} // namespace talver
