#include "report/RunResults.h"

#include "report/DifficultySections.h"
#include "report/DiscriminationSections.h"
#include "report/IndicesSection.h"
#include "report/ReportDetails.h"
#include "report/ReportFrame.h"
#include "report/WarningBlock.h"

namespace talver {

namespace {

const DiscriminationResults* Discriminations(const RunResults& results)
{
    return results.discriminations && results.discriminations->results ? &*results.discriminations->results
                                                                         : nullptr;
}

} // namespace

const DiscriminationResults* ReportedLoadings(const RunResults& results)
{
    const DiscriminationResults* found = Discriminations(results);
    return found && results.loadingsAsked && found->loadingsWarning.empty() ? found : nullptr;
}

const DiscriminationResults* ReportedResidualVariances(const RunResults& results)
{
    const DiscriminationResults* found = Discriminations(results);
    return found && results.residualVariancesAsked && found->residualsWarning.empty() ? found : nullptr;
}

const InvarianceResults* ReportedIndices(const RunResults& results)
{
    return results.invariance && results.invariance->results ? &*results.invariance->results : nullptr;
}

std::vector<AnalysisWarning> RunWarnings(const RunResults& results)
{
    std::vector<AnalysisWarning> warnings;
    auto add = [&warnings](const std::string& section, const std::string& text) {
        if (!text.empty()) {
            warnings.push_back({section, text});
        }
    };
    if (results.difficulties) {
        add(kDifficultiesSection, results.difficulties->warning);
    }
    if (results.discriminations) {
        add(SectionName(kDiscriminationsHeading), results.discriminations->warning);
        if (const DiscriminationResults* found = Discriminations(results)) {
            if (results.loadingsAsked) {
                add(SectionName(kDiscriminationsHeading), found->loadingsWarning);
            }
            if (results.residualVariancesAsked) {
                add(SectionName(kResidualVariancesHeading), found->residualsWarning);
            }
            if (results.loadingsAsked || results.residualVariancesAsked) {
                add(SectionName(results.residualVariancesAsked ? kResidualVariancesHeading : kDiscriminationsHeading),
                    found->improperWarning);
            }
        }
    }
    if (results.hotelling) {
        add(kHotellingSection, results.hotelling->warning);
    }
    if (results.invariance) {
        add(SectionName(kIndicesHeading), results.invariance->warning);
    }
    return warnings;
}

std::vector<AnalysisWarning> ReportWarnings(const ReportDetails& details, const RunResults& results)
{
    std::vector<AnalysisWarning> warnings;
    for (const std::string& text : details.dataWarnings) {
        warnings.push_back({kDataSection, text});
    }
    const std::vector<AnalysisWarning> analyses = RunWarnings(results);
    warnings.insert(warnings.end(), analyses.begin(), analyses.end());
    return warnings;
}

} // namespace talver
