#pragma once
// What the two tests of the item means found: item by item (Student's t,
// Cohen's d) and all at once (Hotelling's T square).

#include <string>
#include <vector>

namespace talver {

struct DifficultyItem {
    double targetMean = 0.0;
    double replicationMean = 0.0;
    double t = 0.0;
    // Student's t of the pooled variance: its degrees of freedom (N1 + N2 -
    // 2) and two-sided p value, for readers who report them.
    int df = 0;
    double p = 0.0;
    double d = 0.0;
    // Confidence interval of each sample's mean: the mean plus or minus the
    // critical value times its standard error, sqrt(s^2 / N) with the
    // unbiased variance s^2 (the normal approximation at the run's alpha).
    double targetLower = 0.0;
    double targetUpper = 0.0;
    double replicationLower = 0.0;
    double replicationUpper = 0.0;
    // |t| and |d| reach the critical value.
    bool tSignificant = false;
    bool dSignificant = false;
};

struct DifficultyResults {
    double criticalValue = 0.0;
    std::vector<DifficultyItem> items;
    // Why some items have no t and d (values that are not finite numbers);
    // empty when every item has them.
    std::string warning;
};

struct HotellingResults {
    // False when the samples together have too few participants for F, or
    // when the pooled covariance matrix cannot be inverted.
    bool computable = false;
    // The pooled covariance matrix is singular: T square has no value, and
    // `warning` says why.
    bool singular = false;
    std::string warning;
    double tSquare = 0.0;
    int df1 = 0;
    int df2 = 0;
    double f = 0.0;
    // The report's P: a normal approximation of F's distribution, 0 from
    // z = 3 on (p < .00135).
    double p = 0.0;
    // F's p value from the F distribution itself, for the page and the JSON.
    double pExact = 0.0;
};

} // namespace talver
