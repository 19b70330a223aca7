#include "report/IndicesSection.h"

#include <vector>


namespace talver {

namespace {

// The values of one family of indices (congruences or discrepancies).
struct FamilyValues {
    const std::vector<double>& items;
    const std::vector<double>& factors;
    double overall;
};

struct FamilyFlags {
    const std::vector<bool>& items;
    const std::vector<bool>& factors;
    bool overall;
};

FamilyValues Congruences(const InvarianceIndexSet& set)
{
    return {set.itemCongruence, set.factorCongruence, set.overallCongruence};
}

FamilyValues Discrepancies(const InvarianceIndexSet& set)
{
    return {set.itemDiscrepancy, set.factorDiscrepancy, set.overallDiscrepancy};
}

FamilyFlags CongruenceFlags(const InvarianceSignificance& flags)
{
    return {flags.itemCongruence, flags.factorCongruence, flags.overallCongruence};
}

FamilyFlags DiscrepancyFlags(const InvarianceSignificance& flags)
{
    return {flags.itemDiscrepancy, flags.factorDiscrepancy, flags.overallDiscrepancy};
}

// The fixed texts of one family.
struct FamilyTexts {
    const char* heading;
    // Labels of the second header line of the item, factor and overall tables,
    // padded to 14 characters before "at alpha".
    const char* itemLabel;
    const char* factorLabel;
    const char* overallLabel;
    FamilyValues (*values)(const InvarianceIndexSet& set);
    FamilyFlags (*flags)(const InvarianceSignificance& flags);
};

const FamilyTexts kCongruenceTexts{"CONGRUENCE INDICES\n\n\n", "Congruence", "Congruence", "Congruence",
                                   Congruences, CongruenceFlags};
const FamilyTexts kDiscrepancyTexts{"DISCREPANCY INDICES\n\n\n", "Similitude", "Discrepancy", "Discrepancy",
                                    Discrepancies, DiscrepancyFlags};

void Footnote(ReportContext& context)
{
    ReportPrintf(context, "\n** Significant differences\n\n\n");
}

void NumberedLines(ReportContext& context, const std::vector<double>& observed, const std::vector<double>& critical,
                   const std::vector<bool>& significant)
{
    for (std::size_t k = 0; k < observed.size(); ++k) {
        ReportPrintf(context, significant[k] ? "%3i         % 5.3f**      % 5.3f\n" : "%3i         % 5.3f        % 5.3f\n",
                     static_cast<int>(k) + 1, observed[k], critical[k]);
    }
}

void PrintFamily(ReportContext& context, const InvarianceResults& results, const FamilyTexts& texts)
{
    const char* alpha = AlphaText(results.alpha);
    const FamilyValues observed = texts.values(results.observed);
    const FamilyValues critical = texts.values(results.critical);
    const FamilyFlags significant = texts.flags(results.significant);

    ReportPrintf(context, "%s", texts.heading);
    ReportPrintf(context, "Overall Fit Indices Per Item\n\n");
    ReportPrintf(context, "Item         Observed      Critical value\n");
    ReportPrintf(context, "             %-14sat alpha = %s\n", texts.itemLabel, alpha);
    NumberedLines(context, observed.items, critical.items, significant.items);
    Footnote(context);

    if (results.method == ExtractionMethod::Uls) {
        ReportPrintf(context, "Overall Fit Indices Per Factor\n\n");
        ReportPrintf(context, "Factor       Observed      Critical value\n");
    } else {
        ReportPrintf(context, "Overall Fit Indices Per Component\n\n");
        ReportPrintf(context, "Component    Observed      Critical value\n");
    }
    ReportPrintf(context, "             %-14sat alpha = %s\n", texts.factorLabel, alpha);
    NumberedLines(context, observed.factors, critical.factors, significant.factors);
    Footnote(context);

    ReportPrintf(context, "Overall Fit Index\n\n");
    ReportPrintf(context, " Observed      Critical value\n");
    ReportPrintf(context, " %-14sat alpha = %s\n", texts.overallLabel, alpha);
    ReportPrintf(context, significant.overall ? "% 5.3f**      % 5.3f\n" : "% 5.3f        % 5.3f\n", observed.overall,
                 critical.overall);
    Footnote(context);
}

} // namespace

void PrintIndicesSection(ReportContext& context, const InvarianceResults& results)
{
    ReportPrintf(context, "%s", kIndicesHeading);
    if (results.requested == DispersionKind::Polychoric) {
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
}

} // namespace talver
