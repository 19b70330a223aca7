#include "analyses/AnalysisWarnings.h"

#include "analyses/RunResults.h"

std::string DegenerateItemWarning(SampleSide side, int item)
{
    return std::string("The dispersion matrix of the ") + SampleName(side) + " sample cannot be analysed: item " +
           std::to_string(item) +
           " has no variance in that sample (it may be constant). Please check the data or leave the item out.";
}

std::string NonFiniteLoadingsWarning(SampleSide side)
{
    return std::string("The loadings of the ") + SampleName(side) +
           " sample are not finite numbers: its dispersion matrix may be singular. Please try fewer factors or "
           "another method.";
}

std::string SingularPopulationWarning(SampleSide side)
{
    return std::string("The dispersion matrix of the ") + SampleName(side) +
           " sample is singular, so no population under invariance can be formed from it. Please check the data "
           "for items that are constant or that are sums of other items.";
}

namespace {

// Bootstrap samples that kept giving matrices no extraction can use.
std::string UnusableResamplesWarning(SampleSide side)
{
    return std::string("Bootstrap samples of the ") + SampleName(side) +
           " sample repeatedly gave dispersion matrices with an item without variance, or values that are not finite "
           "numbers. Please check the data for items that are nearly constant, or try fewer factors.";
}

} // namespace

std::string ResampleFailureWarning(const SampleFailure& failure)
{
    switch (failure.failure) {
    case DrawFailure::Polychoric: return kPolychoricWarning;
    case DrawFailure::MaximumLikelihood: return kMaximumLikelihoodWarning;
    default: return UnusableResamplesWarning(failure.side);
    }
}

void PrintWarningBlock(ReportContext& context, const char* heading, const std::string& warning)
{
    if (context.results) {
        std::string section = heading;
        section.erase(section.find_last_not_of('\n') + 1);
        context.results->warnings.push_back({section, warning});
    }
    ReportPrintf(context, "%s", heading);
    ReportPrintf(context, "\n\nWARNING: %s\n\n\n", warning.c_str());
    SeparatorLine(context);
    ReportPrintf(context, "\n");
}

void PrintWarningBlockIfAny(ReportContext& context, const char* heading, const std::string& warning)
{
    if (!warning.empty()) {
        PrintWarningBlock(context, heading, warning);
    }
}
