#include "report/ResultsInWords.h"

#include <cmath>

#include "report/ItemNames.h"
#include "report/MarkupText.h"
#include "report/ReportCharts.h"

namespace talver {

namespace {

// Plain files number their items; a bare number reads badly in a sentence.
std::string ItemInWords(const ReportDetails& details, int item)
{
    const std::string name = ItemName(details, item);
    return name.find_first_not_of("0123456789") == std::string::npos ? "item " + name : name;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& parts)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += i + 1 == parts.size() ? " and " : ", ";
        }
        text += parts[i];
    }
    return text;
}

std::string PValue(double p)
{
    const std::string shown = PValueText(p);
    return shown.rfind("<", 0) == 0 ? "p " + shown : "p = " + shown;
}

FindingInWords Means(const ReportDetails& details, const DifficultyResults& results)
{
    std::vector<std::string> differing;
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        if (item.tSignificant) {
            differing.push_back(ItemInWords(details, static_cast<int>(i)) + " (Target " +
                                FixedText(item.targetMean, 2) + ", Replication " + FixedText(item.replicationMean, 2) +
                                "; t(" + std::to_string(item.df) + ") = " + FixedText(item.t, 2) + ", " +
                                PValue(item.p) + ", d = " + FixedText(item.d, 2) + ")");
        }
    }
    const std::string critical = FixedText(results.criticalValue, 3);
    if (differing.empty()) {
        return {"means", "No item's mean differs between the samples: every |t| is below " + critical + "."};
    }
    return {"means", "The mean" + std::string(differing.size() == 1 ? " of " : "s of ") + Listed(differing) +
                         (differing.size() == 1 ? " differs" : " differ") + " between the samples (|t| at or above " +
                         critical + ")."};
}

FindingInWords OverallMeans(const HotellingResults& results, AlphaLevel alpha)
{
    const std::string figures = "T\u00b2 = " + FixedText(results.tSquare, 2) + ", F(" + std::to_string(results.df1) +
                                ", " + std::to_string(results.df2) + ") = " + FixedText(results.f, 2) + ", " +
                                PValue(results.pExact);
    const bool differ = results.pExact < AlphaValue(alpha);
    return {"means-overall", std::string("Taken together, the item means ") + (differ ? "differ" : "do not differ") +
                                 " between the samples (Hotelling's " + figures + ")."};
}

FindingInWords Loadings(const ReportDetails& details, const DiscriminationResults& results)
{
    std::vector<std::string> differing;
    const FlagTable& flags = results.loadingSignificant;
    for (int i = 0; i < flags.rows; ++i) {
        for (int j = 0; j < flags.cols; ++j) {
            if (flags(i, j)) {
                differing.push_back(ItemInWords(details, i) + " on " + FactorLabel(results.method, j) + " (Target " +
                                    FixedText(results.target.loadings(i, j), 3) + ", Replication " +
                                    FixedText(results.replication.loadings(i, j), 3) + ")");
            }
        }
    }
    if (differing.empty()) {
        return {"loadings", "No loading differs between the samples: the intervals of the two samples overlap for "
                            "every item."};
    }
    return {"loadings", "The loading" + std::string(differing.size() == 1 ? " of " : "s of ") + Listed(differing) +
                            (differing.size() == 1 ? " differs" : " differ") +
                            " between the samples: the intervals of the two samples do not overlap."};
}

FindingInWords ResidualVariances(const ReportDetails& details, const DiscriminationResults& results)
{
    std::vector<std::string> differing;
    for (int i = 0; i < results.residualSignificant.rows; ++i) {
        if (results.residualSignificant(i, 0)) {
            differing.push_back(ItemInWords(details, i) + " (Target " +
                                FixedText(results.target.residualVariances(i, 0), 3) + ", Replication " +
                                FixedText(results.replication.residualVariances(i, 0), 3) + ")");
        }
    }
    if (differing.empty()) {
        return {"residual-variances", "No residual variance differs between the samples."};
    }
    return {"residual-variances", "The residual variance" + std::string(differing.size() == 1 ? " of " : "s of ") +
                                      Listed(differing) + (differing.size() == 1 ? " differs" : " differ") +
                                      " between the samples: the intervals of the two samples do not overlap."};
}

FindingInWords Indices(const ReportDetails& details, const InvarianceResults& results, bool congruence)
{
    const std::vector<double>& observed = congruence ? results.observed.itemCongruence : results.observed.itemDiscrepancy;
    const std::vector<double>& critical = congruence ? results.critical.itemCongruence : results.critical.itemDiscrepancy;
    const std::vector<bool>& flags = congruence ? results.significant.itemCongruence : results.significant.itemDiscrepancy;
    const bool overallFlag = congruence ? results.significant.overallCongruence : results.significant.overallDiscrepancy;
    const double overall = congruence ? results.observed.overallCongruence : results.observed.overallDiscrepancy;
    const double overallCritical = congruence ? results.critical.overallCongruence : results.critical.overallDiscrepancy;
    const std::string index = congruence ? "congruence" : "discrepancy";
    const std::string side = congruence ? "below" : "above";
    std::vector<std::string> flagged;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i]) {
            flagged.push_back(ItemInWords(details, static_cast<int>(i)) + " (" + FixedText(observed[i], 3) + ", " +
                              side + " " + FixedText(critical[i], 3) + ")");
        }
    }
    std::string text = flagged.empty() ? "No item's " + index + " index is " + side + " its critical value"
                                       : "The " + index + (flagged.size() == 1 ? " index of " : " indices of ") +
                                             Listed(flagged) + (flagged.size() == 1 ? " is " : " are ") + side +
                                             (flagged.size() == 1 ? " its critical value" : " their critical values");
    text += "; the overall " + index + " (" + FixedText(overall, 3) + ", critical value " +
            FixedText(overallCritical, 3) + ") " + (overallFlag ? "is " + side + " it." : "is not " + side + " it.");
    return {index, text};
}

} // namespace

std::vector<FindingInWords> ResultsInWords(const ReportDetails& details, const RunResults& results)
{
    std::vector<FindingInWords> words;
    if (results.difficulties) {
        words.push_back(Means(details, *results.difficulties));
    }
    if (results.hotelling && results.hotelling->computable) {
        words.push_back(OverallMeans(*results.hotelling, details.alpha));
    }
    if (const DiscriminationResults* d = ReportedLoadings(results)) {
        words.push_back(Loadings(details, *d));
    }
    if (const DiscriminationResults* d = ReportedResidualVariances(results)) {
        words.push_back(ResidualVariances(details, *d));
    }
    if (const InvarianceResults* indices = ReportedIndices(results)) {
        if (indices->showCongruence) {
            words.push_back(Indices(details, *indices, true));
        }
        if (indices->showDiscrepancy) {
            words.push_back(Indices(details, *indices, false));
        }
    }
    return words;
}

} // namespace talver
