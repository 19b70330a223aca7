#include "analyses/AnalysisWarnings.h"

#include "analyses/ItemsShown.h"

namespace talver {

std::string DegenerateItemWarning(SampleSide side, int item, const std::vector<std::string>& itemNames)
{
    return std::string("The dispersion matrix of the ") + SampleName(side) + " sample cannot be analysed: " +
           ItemShown(item, itemNames) +
           " has no variance in that sample (it may be constant). Please check the data or leave the item out.";
}

std::string NonFiniteLoadingsWarning(SampleSide side)
{
    return std::string("The loadings of the ") + SampleName(side) +
           " sample are not finite numbers: its dispersion matrix may be singular. Please try fewer factors or "
           "another method.";
}

std::string NonFiniteRotationWarning()
{
    return "The loadings of the Replication sample cannot be rotated towards those of the Target sample: the "
           "rotation is not made of finite numbers. Please check the data for scores that are far larger than the "
           "others, or try fewer factors.";
}

std::string NonFiniteIntervalsWarning(SampleSide side, const char* statistics)
{
    return std::string("Bootstrap samples of the ") + SampleName(side) +
           " sample gave values that are not finite numbers, so the intervals of its " + statistics +
           " cannot be formed. Please check the data for scores that are far larger than the others, or for items "
           "that are nearly constant.";
}

std::string UndefinedCongruenceWarning(const std::vector<int>& items, const std::vector<std::string>& itemNames)
{
    const std::string cause = items.empty() ? "an item or a factor has"
                                            : ItemsShown(items, itemNames) + (items.size() == 1 ? " has" : " have");
    return "Some congruence indices cannot be computed: " + cause +
           " loadings of 0 in one of the samples. Please check the data, or try fewer factors.";
}

std::string NonFiniteCriticalValuesWarning()
{
    return "Bootstrap samples of the populations gave indices that are not finite numbers, so no critical values "
           "can be formed. Please check the data for scores that are far larger than the others, or for items that "
           "are nearly constant.";
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

namespace {

// The items from 1, named as ItemsShown names them.
std::string ItemList(const std::vector<int>& itemsFromOne, const std::vector<std::string>& itemNames)
{
    std::vector<int> items;
    for (const int item : itemsFromOne) {
        items.push_back(item - 1);
    }
    return ItemsShown(items, itemNames);
}

} // namespace

std::string ImproperSolutionWarning(const std::vector<int>& targetItems, const std::vector<int>& replicationItems,
                                    const std::vector<std::string>& itemNames)
{
    std::vector<std::string> parts;
    if (!targetItems.empty()) {
        parts.push_back(ItemList(targetItems, itemNames) + " in the Target sample");
    }
    if (!replicationItems.empty()) {
        parts.push_back(ItemList(replicationItems, itemNames) + " in the Replication sample");
    }
    if (parts.empty()) {
        return "";
    }
    std::string text = "Improper solution (a Heywood case): the residual variance is at or below zero for ";
    for (std::size_t k = 0; k < parts.size(); ++k) {
        text += (k == 0 ? "" : " and for ") + parts[k];
    }
    return text + ". The loadings of these items are not to be trusted; please try fewer factors.";
}

} // namespace talver
