#pragma once
// The options of the bootstrap analyses as one record.

#include "analyses/AnalysisCodes.h"
#include "matrix/Matrix.h"

#include <string>
#include <vector>

namespace talver {

struct AnalysisSettings {
    int factorCount = 2;
    int bootstrapSamples = 1000;
    AlphaLevel alpha = AlphaLevel::Five;
    ExtractionMethod method = ExtractionMethod::Uls;
    DispersionKind dispersion = DispersionKind::Covariance;
    double tolerance = kAnalysisTolerance;
    // The declared score range of every item (p x 1 each) and the number of
    // score categories, for polychoric correlations only.
    const Matrix* itemLowest = nullptr;
    const Matrix* itemHighest = nullptr;
    int categoryCount = 0;
    // The items' names as messages show them, one per item; empty when the
    // samples have none and messages number the items.
    std::vector<std::string> itemNames;
};

} // namespace talver
