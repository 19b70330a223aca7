#pragma once
// What the analyses of one run found, at full precision, for writers other
// than the report (the JSON companion file).

#include "analyses/DiscriminationResults.h"
#include "analyses/InvarianceResults.h"

#include <optional>
#include <string>
#include <vector>

struct DifficultyItem {
    double targetMean = 0.0;
    double replicationMean = 0.0;
    double t = 0.0;
    double d = 0.0;
};

struct DifficultyResults {
    double criticalValue = 0.0;
    std::vector<DifficultyItem> items;
};

struct HotellingResults {
    // False when the samples together have too few participants for F, or
    // when the pooled covariance matrix cannot be inverted.
    bool computable = false;
    // The pooled covariance matrix is singular: T square has no value.
    bool singular = false;
    double tSquare = 0.0;
    int df1 = 0;
    int df2 = 0;
    double f = 0.0;
    double p = 0.0;
};

struct AnalysisWarning {
    std::string section;
    std::string text;
};

struct RunResults {
    std::optional<DifficultyResults> difficulties;
    std::optional<HotellingResults> hotelling;
    std::optional<DiscriminationResults> discriminations;
    bool loadingsReported = false;
    bool residualVariancesReported = false;
    std::optional<InvarianceResults> invariance;
    std::vector<AnalysisWarning> warnings;
};
