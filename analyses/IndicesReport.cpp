#include "analyses/IndicesReport.h"

#include <cmath>
#include <vector>

#include "analyses/AnalysisWarnings.h"
#include "analyses/DispersionByCode.h"
#include "app/Workspace.h"

namespace {

// The values of one family of indices (congruences or discrepancies).
struct FamilyValues {
    const std::vector<double>& items;
    const std::vector<double>& factors;
    double overall;
};

FamilyValues Congruences(const InvarianceIndexSet& set)
{
    return {set.itemCongruence, set.factorCongruence, set.overallCongruence};
}

FamilyValues Discrepancies(const InvarianceIndexSet& set)
{
    return {set.itemDiscrepancy, set.factorDiscrepancy, set.overallDiscrepancy};
}

bool BelowCritical(double observed, double critical)
{
    return observed < critical;
}

bool AboveCritical(double observed, double critical)
{
    return observed > critical;
}

// The fixed texts of one family and the side on which an observed value
// differs significantly from its critical value.
struct FamilyTexts {
    const char* heading;
    // Labels of the second header line of the item, factor and overall tables,
    // padded to 14 characters before "at alpha".
    const char* itemLabel;
    const char* factorLabel;
    const char* overallLabel;
    bool (*significant)(double observed, double critical);
    FamilyValues (*values)(const InvarianceIndexSet& set);
};

const FamilyTexts kCongruenceTexts{"CONGRUENCE INDICES\n\n\n", "Congruence", "Congruence", "Congruence",
                                   BelowCritical, Congruences};
const FamilyTexts kDiscrepancyTexts{"DISCREPANCY INDICES\n\n\n", "Similitude", "Discrepancy", "Discrepancy",
                                    AboveCritical, Discrepancies};

void Footnote(ReportContext& context)
{
    ReportPrintf(context, "\n** Significant differences\n\n\n");
}

void NumberedLines(ReportContext& context, const FamilyTexts& texts, const std::vector<double>& observed,
                   const std::vector<double>& critical)
{
    for (std::size_t k = 0; k < observed.size(); ++k) {
        ReportPrintf(context,
                     texts.significant(observed[k], critical[k]) ? "%3i         % 5.3f**      % 5.3f\n"
                                                                 : "%3i         % 5.3f        % 5.3f\n",
                     static_cast<int>(k) + 1, observed[k], critical[k]);
    }
}

void PrintFamily(ReportContext& context, const InvarianceResults& results, const FamilyTexts& texts)
{
    const char* alpha = results.alphaCode == kAlpha05 ? "0.05" : "0.10";
    const FamilyValues observed = texts.values(results.observed);
    const FamilyValues critical = texts.values(results.critical);

    ReportPrintf(context, "%s", texts.heading);
    ReportPrintf(context, "Overall Fit Indices Per Item\n\n");
    ReportPrintf(context, "Item         Observed      Critical value\n");
    ReportPrintf(context, "             %-14sat alpha = %s\n", texts.itemLabel, alpha);
    NumberedLines(context, texts, observed.items, critical.items);
    Footnote(context);

    if (results.extractionMethod == kMethodUls) {
        ReportPrintf(context, "Overall Fit Indices Per Factor\n\n");
        ReportPrintf(context, "Factor       Observed      Critical value\n");
    } else {
        ReportPrintf(context, "Overall Fit Indices Per Component\n\n");
        ReportPrintf(context, "Component    Observed      Critical value\n");
    }
    ReportPrintf(context, "             %-14sat alpha = %s\n", texts.factorLabel, alpha);
    NumberedLines(context, texts, observed.factors, critical.factors);
    Footnote(context);

    ReportPrintf(context, "Overall Fit Index\n\n");
    ReportPrintf(context, " Observed      Critical value\n");
    ReportPrintf(context, " %-14sat alpha = %s\n", texts.overallLabel, alpha);
    ReportPrintf(context,
                 texts.significant(observed.overall, critical.overall) ? "% 5.3f**      % 5.3f\n"
                                                                       : "% 5.3f        % 5.3f\n",
                 observed.overall, critical.overall);
    Footnote(context);
}

bool AllFinite(const FamilyValues& values)
{
    for (const std::vector<double>* part : {&values.items, &values.factors}) {
        for (double value : *part) {
            if (!std::isfinite(value)) {
                return false;
            }
        }
    }
    return std::isfinite(values.overall);
}

// Whether every value of the families shown is a finite number.
bool ShownValuesFinite(const InvarianceResults& results, const InvarianceIndexSet& set)
{
    return (!results.showCongruence || AllFinite(Congruences(set))) &&
           (!results.showDiscrepancy || AllFinite(Discrepancies(set)));
}

} // namespace

bool PrintIndicesSection(ReportContext& context, const InvarianceResults& results)
{
    // Tables of values that are not numbers would tell the reader nothing.
    if (!ShownValuesFinite(results, results.observed)) {
        PrintWarningBlock(context, kIndicesHeading, UndefinedCongruenceWarning());
        return false;
    }
    if (!ShownValuesFinite(results, results.critical)) {
        PrintWarningBlock(context, kIndicesHeading, NonFiniteCriticalValuesWarning());
        return false;
    }
    ReportPrintf(context, "%s", kIndicesHeading);
    if (IsPolychoric(results.dispersionKind)) {
        ReportPrintf(context, "Warning: Dispersiona matrices analyzed for this analysis is Pearson correlation\n\n");
    }
    if (results.showCongruence) {
        PrintFamily(context, results, kCongruenceTexts);
    }
    if (results.showDiscrepancy) {
        PrintFamily(context, results, kDiscrepancyTexts);
    }
    SeparatorLine(context);
    ReportPrintf(context, "\n");
    return true;
}
