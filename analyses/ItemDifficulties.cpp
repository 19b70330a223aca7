#include "analyses/ItemDifficulties.h"

#include "factor/Inverse.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/NormalDistribution.h"

#include <cmath>

namespace {

void EndBlock(ReportContext& context)
{
    SeparatorLine(context);
    ReportPrintf(context, "\n");
}

// "% 7.2f" followed by "**" when the value reaches the critical value.
void FlaggedValue(ReportContext& context, double value, double critical)
{
    ReportPrintf(context, std::fabs(value) >= critical ? "     % 7.2f**" : "     % 7.2f  ", value);
}

} // namespace

void AnalyzeItemDifficulties(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                             int replicationCount, int alphaCode, ReportContext& context)
{
    MatrixScope scope;
    const Matrix* targetMeans = ColumnMeans(targetData);
    const Matrix* replicationMeans = ColumnMeans(replicationData);
    const Matrix* targetCovariance = CovarianceMatrix(targetData);
    const Matrix* replicationCovariance = CovarianceMatrix(replicationData);
    const double critical = CriticalZ(alphaCode);

    ReportPrintf(context, "ITEM DIFFICULTIES\n\n");
    ReportPrintf(context, "Item      Target       Replication  Student's t   Effect Size\n");
    ReportPrintf(context, "          Sample       Sample                     (Cohen's d)\n\n");
    const int items = targetData->Cols();
    for (int i = 0; i < items; ++i) {
        const double targetMean = (*targetMeans)(0, i);
        const double replicationMean = (*replicationMeans)(0, i);
        const double pooledSd =
            std::sqrt(((replicationCount - 1) * (*replicationCovariance)(i, i) +
                       (targetCount - 1) * (*targetCovariance)(i, i)) /
                      (targetCount + replicationCount - 2));
        const double standardError =
            std::sqrt(1.0 / replicationCount + 1.0 / targetCount) * pooledSd;
        const double t = (targetMean - replicationMean) / standardError;
        const double d = (targetMean - replicationMean) / pooledSd;
        ReportPrintf(context, "%4i     ", i + 1);
        ReportPrintf(context, "% 7.2f      % 7.2f", targetMean, replicationMean);
        FlaggedValue(context, t, critical);
        FlaggedValue(context, d, critical);
        ReportPrintf(context, "\n");
    }
    ReportPrintf(context, "\n**Significant differences\n\n");
    EndBlock(context);
}

void HotellingTSquare(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                      int replicationCount, ReportContext& context)
{
    MatrixScope scope;
    const int items = targetData->Cols();
    ReportPrintf(context, "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE\n\n");
    ReportPrintf(context, "ITEM DIFFICULTIES\n\n");
    ReportPrintf(context, "Hotteling's T Square\n\n");
    const int df1 = items;
    const int df2 = targetCount + replicationCount - items - 1;
    if (df2 <= 0) {
        // F has no distribution then: say so rather than print a meaningless value.
        ReportPrintf(context,
                     "The test needs more participants than items: with %i items the two samples together must "
                     "have at least %i participants.\n\n",
                     items, items + 2);
        EndBlock(context);
        return;
    }
    const Matrix* pooled = DividedByInt(Plus(TimesInt(CovarianceMatrix(targetData), targetCount - 1),
                                             TimesInt(CovarianceMatrix(replicationData), replicationCount - 1)),
                                        targetCount + replicationCount - 2);
    const Matrix* difference = Minus(ColumnMeans(targetData), ColumnMeans(replicationData));
    const Matrix* quadratic = Product(Product(difference, Inverse(pooled)), Transposed(difference));
    const double sizeFactor = static_cast<double>(targetCount) * static_cast<double>(replicationCount) /
                              static_cast<double>(targetCount + replicationCount);
    const double tSquare = sizeFactor * (*quadratic)(0, 0);
    const double f = tSquare * df2 / (static_cast<double>(items) * (targetCount + replicationCount - 2));
    const double a1 = 2.0 / (9.0 * items);
    const double a2 = 2.0 / (9.0 * df2);
    const double z = (std::pow(f, 1.0 / 3.0) * (1.0 - a2) - (1.0 - a1)) / std::sqrt(a1 + std::pow(f, 2.0 / 3.0) * a2);
    const double p = z >= 3.0 ? 0.0 : 1.0 - NormalCdf(z);
    ReportPrintf(context, "TSQ = %f; Freedom degrees = %i and %i; F = %f (P = %6.5f)\n\n", tSquare, df1, df2, f, p);
    EndBlock(context);
}
