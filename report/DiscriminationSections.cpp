#include "report/DiscriminationSections.h"

#include "report/WarningBlock.h"

namespace talver {

namespace {

void EndSection(ReportContext& context, const std::string& warning)
{
    ReportPrintf(context, "\n** Significant differences\n\n");
    if (!warning.empty()) {
        ReportPrintf(context, "WARNING: %s\n\n", warning.c_str());
    }
    SeparatorLine(context);
    ReportPrintf(context, "\n");
}

// "Item" and one numbered column label per factor ("F") or component ("C"),
// each label padded by `padding`.
void ColumnLabels(ReportContext& context, const char* item, const DiscriminationResults& results,
                  const char* padding)
{
    const char label = results.method == ExtractionMethod::Uls ? 'F' : 'C';
    ReportPrintf(context, "%s", item);
    for (int j = 1; j <= results.loadingDifferences.cols; ++j) {
        ReportPrintf(context, "%c%3i%s", label, j, padding);
    }
    ReportPrintf(context, "\n");
}

void LoadingTable(ReportContext& context, const char* title, const DiscriminationResults& results,
                  const ResultTable& loadings)
{
    ReportPrintf(context, "%s", title);
    ColumnLabels(context, "Item     ", results, "       ");
    for (int i = 0; i < loadings.rows; ++i) {
        ReportPrintf(context, "%3i  ", i + 1);
        for (int j = 0; j < loadings.cols; ++j) {
            ReportPrintf(context, "% 9.3f  ", loadings(i, j));
        }
        ReportPrintf(context, "\n");
    }
    ReportPrintf(context, "\n\n");
}

void LoadingIntervalTable(ReportContext& context, const char* title, const DiscriminationResults& results,
                          const SampleDiscriminations& sample)
{
    ReportPrintf(context, "%s", title);
    ColumnLabels(context, "Item          ", results, "                   ");
    for (int i = 0; i < sample.loadingLower.rows; ++i) {
        ReportPrintf(context, "%3i  ", i + 1);
        for (int j = 0; j < sample.loadingLower.cols; ++j) {
            ReportPrintf(context, "(% 9.3f;% 9.3f)  ", sample.loadingLower(i, j), sample.loadingUpper(i, j));
        }
        ReportPrintf(context, "\n");
    }
    ReportPrintf(context, "\n\n");
}

void ResidualTable(ReportContext& context, const char* title, const ResultTable& residuals)
{
    ReportPrintf(context, "%s", title);
    ReportPrintf(context, "Item     Residual\n");
    ReportPrintf(context, "         Variance\n");
    for (int i = 0; i < residuals.rows; ++i) {
        ReportPrintf(context, "%3i  % 9.3f\n", i + 1, residuals(i, 0));
    }
    ReportPrintf(context, "\n");
}

void ResidualIntervalTable(ReportContext& context, const char* title, const SampleDiscriminations& sample)
{
    ReportPrintf(context, "%s", title);
    ReportPrintf(context, "Item     Residual Variance\n");
    ReportPrintf(context, "         Interval\n");
    for (int i = 0; i < sample.residualLower.rows; ++i) {
        ReportPrintf(context, "%3i  (% 9.3f;% 9.3f)\n", i + 1, sample.residualLower(i, 0), sample.residualUpper(i, 0));
    }
    ReportPrintf(context, "\n\n");
}

} // namespace

bool PrintDiscriminationsSection(ReportContext& context, const DiscriminationResults& results,
                                 bool withImproperWarning)
{
    if (!results.loadingsWarning.empty()) {
        PrintWarningBlock(context, kDiscriminationsHeading, results.loadingsWarning);
        return false;
    }
    ReportPrintf(context, "%s", kDiscriminationsHeading);
    LoadingTable(context, "Item discriminations (Loading Matrix)\nTarget Sample\n\n", results,
                 results.target.loadings);
    LoadingIntervalTable(context, "Bias-corrected Percentile Intervals of Item discriminations\nTarget Sample\n\n",
                         results, results.target);
    LoadingTable(context, "Item discriminations (Loading Matrix)\nReplication Sample\n\n", results,
                 results.replication.loadings);
    LoadingIntervalTable(context,
                         "Bias-corrected Percentile Intervals of Item discriminations\nReplication Sample\n\n",
                         results, results.replication);
    ReportPrintf(context, "Difference Values of Item discriminations\n\n");
    ColumnLabels(context, "Item     ", results, "          ");
    const ResultTable& differences = results.loadingDifferences;
    for (int i = 0; i < differences.rows; ++i) {
        ReportPrintf(context, "%3i  ", i + 1);
        for (int j = 0; j < differences.cols; ++j) {
            ReportPrintf(context, results.loadingSignificant(i, j) ? "% 9.3f**   " : "% 9.3f     ",
                         differences(i, j));
        }
        ReportPrintf(context, "\n");
    }
    EndSection(context, withImproperWarning ? results.improperWarning : std::string());
    return true;
}

bool PrintResidualVariancesSection(ReportContext& context, const DiscriminationResults& results,
                                   bool withImproperWarning)
{
    if (!results.residualsWarning.empty()) {
        PrintWarningBlock(context, kResidualVariancesHeading, results.residualsWarning);
        return false;
    }
    ReportPrintf(context, "%s", kResidualVariancesHeading);
    ResidualTable(context, "Residual Variances \nTarget Sample\n\n", results.target.residualVariances);
    ResidualIntervalTable(context, "Bias-corrected Percentile Intervals of Residual Variances \nTarget Sample\n\n",
                          results.target);
    ResidualTable(context, "Residual Variances \nReplication Sample\n\n", results.replication.residualVariances);
    ResidualIntervalTable(context,
                          "Bias-corrected Percentile Intervals of Residual Variances \nReplication Sample\n\n",
                          results.replication);
    ReportPrintf(context, "Difference Values in Residual Variances \n\n");
    ReportPrintf(context, "Item     Residual\n");
    ReportPrintf(context, "         Variance\n");
    const ResultTable& differences = results.residualDifferences;
    for (int i = 0; i < differences.rows; ++i) {
        ReportPrintf(context, results.residualSignificant(i, 0) ? "%3i  % 9.3f**\n" : "%3i  % 9.3f\n",
                     i + 1, differences(i, 0));
    }
    EndSection(context, withImproperWarning ? results.improperWarning : std::string());
    return true;
}

} // namespace talver
