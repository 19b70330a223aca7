#include "report/DifficultySections.h"

#include <cmath>

namespace talver {

namespace {

void EndBlock(ReportContext& context)
{
    SeparatorLine(context);
    ReportPrintf(context, "\n");
}

// "% 7.2f" followed by "**" when significant. A value that could not be
// computed shows as a dash in the number's place.
void FlaggedValue(ReportContext& context, double value, bool significant)
{
    if (!std::isfinite(value)) {
        ReportPrintf(context, "     %7s  ", "-");
        return;
    }
    ReportPrintf(context, significant ? "     % 7.2f**" : "     % 7.2f  ", value);
}

} // namespace

void PrintItemDifficulties(ReportContext& context, const DifficultyResults& results)
{
    ReportPrintf(context, "ITEM DIFFICULTIES\n\n");
    ReportPrintf(context, "Item      Target       Replication  Student's t   Effect Size\n");
    ReportPrintf(context, "          Sample       Sample                     (Cohen's d)\n\n");
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        ReportPrintf(context, "%4i     ", static_cast<int>(i) + 1);
        ReportPrintf(context, "% 7.2f      % 7.2f", item.targetMean, item.replicationMean);
        FlaggedValue(context, item.t, item.tSignificant);
        FlaggedValue(context, item.d, item.dSignificant);
        ReportPrintf(context, "\n");
    }
    ReportPrintf(context, "\n**Significant differences\n\n");
    if (!results.warning.empty()) {
        ReportPrintf(context, "WARNING: %s\n\n", results.warning.c_str());
    }
    EndBlock(context);
}

void PrintHotelling(ReportContext& context, const HotellingResults& results)
{
    ReportPrintf(context, "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE\n\n");
    ReportPrintf(context, "ITEM DIFFICULTIES\n\n");
    ReportPrintf(context, "Hotteling's T Square\n\n");
    if (results.computable) {
        ReportPrintf(context, "TSQ = %f; Freedom degrees = %i and %i; F = %f (P = %6.5f)\n\n", results.tSquare,
                     results.df1, results.df2, results.f, results.p);
    } else if (results.singular) {
        ReportPrintf(context, "WARNING: %s\n\n", results.warning.c_str());
    } else {
        // F has no distribution then: say so rather than print a meaningless value.
        ReportPrintf(context,
                     "The test needs more participants than items: with %i items the two samples together must "
                     "have at least %i participants.\n\n",
                     results.df1, results.df1 + 2);
    }
    EndBlock(context);
}

} // namespace talver
