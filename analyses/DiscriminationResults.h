#pragma once
// Everything the item discriminations analysis reports, kept apart from the
// matrix pool so that any writer can format it.

#include "analyses/ResultTable.h"

struct SampleDiscriminations {
    ResultTable loadings;          // p x m, rotated
    ResultTable loadingLower;      // bias-corrected percentile interval bounds, p x m
    ResultTable loadingUpper;
    ResultTable residualVariances; // p x 1, from the unrotated loadings
    ResultTable residualLower;     // p x 1
    ResultTable residualUpper;
};

struct DiscriminationResults {
    int extractionMethod = 0; // columns are factors for ULS, components otherwise
    SampleDiscriminations target;
    SampleDiscriminations replication;
    ResultTable loadingDifferences;  // Target minus Replication, p x m
    ResultTable loadingOverlaps;     // 1.0 where the two intervals overlap, else 0.0
    ResultTable residualDifferences; // p x 1
    ResultTable residualOverlaps;
};
