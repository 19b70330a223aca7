#include "analyses/ItemDifficulties.h"

#include "analyses/ItemsShown.h"
#include "factor/Inverse.h"
#include "factor/RankDeficiency.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/NormalDistribution.h"
#include "stats/TestDistributions.h"

#include <cmath>
#include <string>
#include <vector>

namespace talver {

namespace {

// Why t and d of these items (0-based) have no value: a pooled standard
// deviation of 0, or none at all with fewer than three participants.
std::string UndefinedTestsWarning(const std::vector<int>& items, const std::vector<std::string>& itemNames,
                                  int participants)
{
    std::string text = "Student's t and Cohen's d cannot be computed for " + ItemsShown(items, itemNames) + ": ";
    if (participants < 3) {
        return text + "the two samples together have " + std::to_string(participants) +
               " participants, and a pooled standard deviation needs at least 3.";
    }
    return text + (items.size() == 1 ? "its scores do" : "their scores do") +
           " not vary within either sample, so the pooled standard deviation is 0.";
}

// Half the width of the interval of a mean: z times sqrt(s^2 / N), with s^2 =
// N v / (N - 1) from the variance v of divisor N. None for one participant.
double MeanMargin(double variance, int participants, double z)
{
    return participants > 1 ? z * std::sqrt(variance / (participants - 1)) : std::nan("");
}

} // namespace

DifficultyResults CompareItemMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                   int replicationCount, AlphaLevel alpha, const std::vector<std::string>& itemNames)
{
    MatrixScope scope;
    const Matrix* targetMeans = ColumnMeans(targetData);
    const Matrix* replicationMeans = ColumnMeans(replicationData);
    const Matrix* targetCovariance = CovarianceMatrix(targetData);
    const Matrix* replicationCovariance = CovarianceMatrix(replicationData);
    DifficultyResults results;
    results.criticalValue = CriticalZ(alpha);
    std::vector<int> undefined;
    for (int i = 0; i < targetData->Cols(); ++i) {
        DifficultyItem item;
        item.targetMean = (*targetMeans)(0, i);
        item.replicationMean = (*replicationMeans)(0, i);
        const double pooledSd =
            std::sqrt(((replicationCount - 1) * (*replicationCovariance)(i, i) +
                       (targetCount - 1) * (*targetCovariance)(i, i)) /
                      (targetCount + replicationCount - 2));
        const double standardError = std::sqrt(1.0 / replicationCount + 1.0 / targetCount) * pooledSd;
        item.t = (item.targetMean - item.replicationMean) / standardError;
        item.df = targetCount + replicationCount - 2;
        item.p = StudentTwoSidedP(item.t, item.df);
        item.d = (item.targetMean - item.replicationMean) / pooledSd;
        item.tSignificant = std::fabs(item.t) >= results.criticalValue;
        item.dSignificant = std::fabs(item.d) >= results.criticalValue;
        const double targetMargin = MeanMargin((*targetCovariance)(i, i), targetData->Rows(), results.criticalValue);
        const double replicationMargin =
            MeanMargin((*replicationCovariance)(i, i), replicationData->Rows(), results.criticalValue);
        item.targetLower = item.targetMean - targetMargin;
        item.targetUpper = item.targetMean + targetMargin;
        item.replicationLower = item.replicationMean - replicationMargin;
        item.replicationUpper = item.replicationMean + replicationMargin;
        if (!std::isfinite(item.t) || !std::isfinite(item.d)) {
            undefined.push_back(i);
        }
        results.items.push_back(item);
    }
    if (!undefined.empty()) {
        results.warning = UndefinedTestsWarning(undefined, itemNames, targetCount + replicationCount);
    }
    return results;
}

namespace {

constexpr const char* kSingularPooledCovariance =
    "The pooled covariance matrix of the two samples is singular (an item may have the same score for "
    "everybody, or be a copy or a sum of other items), so Hotelling's T square cannot be computed.";

} // namespace

HotellingResults TestAllMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                              int replicationCount)
{
    MatrixScope scope;
    const int items = targetData->Cols();
    HotellingResults results;
    results.df1 = items;
    results.df2 = targetCount + replicationCount - items - 1;
    if (results.df2 <= 0) {
        return results;
    }
    results.computable = true;
    const Matrix* pooled = DividedByInt(Plus(TimesInt(CovarianceMatrix(targetData), targetCount - 1),
                                             TimesInt(CovarianceMatrix(replicationData), replicationCount - 1)),
                                        targetCount + replicationCount - 2);
    // An exactly collinear item set (an item the sum of others) can give a
    // finite "inverse" from rounding alone; its T square would mean nothing.
    if (IsRankDeficient(pooled)) {
        results.computable = false;
        results.singular = true;
        results.warning = kSingularPooledCovariance;
        return results;
    }
    const Matrix* difference = Minus(ColumnMeans(targetData), ColumnMeans(replicationData));
    const Matrix* quadratic = Product(Product(difference, Inverse(pooled)), Transposed(difference));
    const double sizeFactor = static_cast<double>(targetCount) * static_cast<double>(replicationCount) /
                              static_cast<double>(targetCount + replicationCount);
    results.tSquare = sizeFactor * (*quadratic)(0, 0);
    results.f = results.tSquare * results.df2 / (static_cast<double>(items) * (targetCount + replicationCount - 2));
    // Cube-root normal approximation of the F distribution.
    const double a1 = 2.0 / (9.0 * items);
    const double a2 = 2.0 / (9.0 * results.df2);
    const double z = (std::pow(results.f, 1.0 / 3.0) * (1.0 - a2) - (1.0 - a1)) /
                     std::sqrt(a1 + std::pow(results.f, 2.0 / 3.0) * a2);
    results.p = z >= 3.0 ? 0.0 : 1.0 - NormalCdf(z);
    results.pExact = FUpperTailP(results.f, results.df1, results.df2);
    // The inverse has no singularity test: a singular pooled covariance shows
    // as values that are not finite, or as a negative quadratic form.
    if (!(std::isfinite(results.tSquare) && results.tSquare >= 0.0 && std::isfinite(results.f) &&
          std::isfinite(results.p))) {
        results.computable = false;
        results.singular = true;
        results.warning = kSingularPooledCovariance;
    }
    return results;
}

} // namespace talver
