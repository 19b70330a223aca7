// Drives the analysis options dialog's rules with typing, clicks and OK
// presses taken from the fuzzer's bytes, from any working copy. Checks: only
// std::invalid_argument for a wrong control id may leave the rules (and none
// is asked for here), each radio group shows one mark, a disabled control
// takes no click, the input-only values never change, a refusal says why and
// focuses one of the four edits, and OK closes the dialog only with values
// that pass every check of the dialog, shown as they are held.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/IntegerField.h"
#include "app/OptionsDialogRules.h"
#include "fuzz_support.h"

using namespace talver;

namespace {

using R = OptionsDialogRules;

constexpr int kEditFields[] = {R::kBootstrapSamplesField, R::kFactorCountField, R::kLowestScoreField,
                               R::kHighestScoreField};
constexpr int kClickable[] = {R::kUlsRadio,         R::kPcaRadio,          R::kMlRadio,
                              R::kCovarianceRadio,  R::kPearsonRadio,      R::kPolychoricRadio,
                              R::kAlpha05Radio,     R::kAlpha10Radio,      R::kDifficultiesCheck,
                              R::kDiscriminationsCheck, R::kResidualVariancesCheck, R::kDifficultyFitCheck,
                              R::kCongruenceCheck,  R::kDiscrepancyCheck};
constexpr int kCheckBoxes[] = {R::kDifficultiesCheck, R::kDiscriminationsCheck, R::kResidualVariancesCheck,
                               R::kDifficultyFitCheck, R::kCongruenceCheck, R::kDiscrepancyCheck};

bool Same(const OptionsDialogValues& a, const OptionsDialogValues& b)
{
    return a.variableCount == b.variableCount && a.showDiscriminations == b.showDiscriminations &&
           a.showDifficulties == b.showDifficulties && a.showResidualVariances == b.showResidualVariances &&
           a.showDifficultyFit == b.showDifficultyFit && a.showCongruence == b.showCongruence &&
           a.showDiscrepancy == b.showDiscrepancy && a.alphaCode == b.alphaCode &&
           a.extractionMethod == b.extractionMethod && a.dispersionKind == b.dispersionKind &&
           a.observedMaximum == b.observedMaximum && a.observedMinimum == b.observedMinimum &&
           a.bootstrapSamples == b.bootstrapSamples && a.factorCount == b.factorCount &&
           a.lowestScore == b.lowestScore && a.highestScore == b.highestScore;
}

// A code of 0 or 1 most of the time, anything now and then.
int FlagFrom(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(0, 1) : input.ConsumeIntegral<int>();
}

int CodeFrom(FuzzedDataProvider& input, int last)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(1, last) : input.ConsumeIntegral<int>();
}

// Any working copy the main window can hand over: at least one item (the
// Sample dialog refuses fewer) and the observed scores in order.
OptionsDialogValues InitialFrom(FuzzedDataProvider& input)
{
    OptionsDialogValues v;
    v.variableCount = input.ConsumeIntegralInRange<int>(1, 120);
    v.showDiscriminations = FlagFrom(input);
    v.showDifficulties = FlagFrom(input);
    v.showResidualVariances = FlagFrom(input);
    v.showDifficultyFit = FlagFrom(input);
    v.showCongruence = FlagFrom(input);
    v.showDiscrepancy = FlagFrom(input);
    v.alphaCode = input.ConsumeBool() ? 5 : CodeFrom(input, 10);
    v.extractionMethod = CodeFrom(input, 3);
    v.dispersionKind = CodeFrom(input, 3);
    const std::int32_t oneScore = input.ConsumeIntegral<std::int32_t>();
    const std::int32_t otherScore = input.ConsumeIntegral<std::int32_t>();
    v.observedMinimum = std::min(oneScore, otherScore);
    v.observedMaximum = std::max(oneScore, otherScore);
    v.bootstrapSamples = input.ConsumeIntegral<unsigned>();
    v.factorCount = input.ConsumeIntegral<unsigned>();
    v.lowestScore = input.ConsumeIntegral<std::int32_t>();
    v.highestScore = input.ConsumeIntegral<std::int32_t>();
    return v;
}

void CheckMarks(const OptionsDialogRules& rules)
{
    const int methods = rules.IsMarked(R::kUlsRadio) + rules.IsMarked(R::kPcaRadio) + rules.IsMarked(R::kMlRadio);
    const int kinds = rules.IsMarked(R::kCovarianceRadio) + rules.IsMarked(R::kPearsonRadio) +
                      rules.IsMarked(R::kPolychoricRadio);
    const int alphas = rules.IsMarked(R::kAlpha05Radio) + rules.IsMarked(R::kAlpha10Radio);
    FUZZ_REQUIRE(methods == 1 && kinds == 1 && alphas == 1);
    const bool polychoric = rules.IsMarked(R::kPolychoricRadio);
    FUZZ_REQUIRE(rules.IsEnabled(R::kMlRadio) == !polychoric);
    FUZZ_REQUIRE(rules.IsEnabled(R::kResidualVariancesCheck) == rules.IsMarked(R::kCovarianceRadio));
    for (const int id : {R::kLowestScoreLabel, R::kHighestScoreLabel, R::kLowestScoreField, R::kHighestScoreField}) {
        FUZZ_REQUIRE(rules.IsEnabled(id) == polychoric);
    }
    for (const int id : kCheckBoxes) {
        rules.IsMarked(id);
    }
}

// After a complete reading the values are what the fields say, in range.
void CheckReadValues(const OptionsDialogRules& rules)
{
    const OptionsDialogValues& v = rules.Values();
    FUZZ_REQUIRE(ParseUnsignedField(rules.FieldText(R::kBootstrapSamplesField)) == v.bootstrapSamples);
    FUZZ_REQUIRE(ParseUnsignedField(rules.FieldText(R::kFactorCountField)) == v.factorCount);
    FUZZ_REQUIRE(ParseSignedField(rules.FieldText(R::kLowestScoreField)) == v.lowestScore);
    FUZZ_REQUIRE(ParseSignedField(rules.FieldText(R::kHighestScoreField)) == v.highestScore);
    FUZZ_REQUIRE(v.bootstrapSamples <= 5000);
    FUZZ_REQUIRE(v.factorCount >= 1 && v.factorCount <= 100);
}

void CheckShown(const OptionsDialogRules& rules)
{
    const OptionsDialogValues& v = rules.Values();
    FUZZ_REQUIRE(rules.FieldText(R::kBootstrapSamplesField) == std::to_string(v.bootstrapSamples));
    FUZZ_REQUIRE(rules.FieldText(R::kFactorCountField) == std::to_string(v.factorCount));
    FUZZ_REQUIRE(rules.FieldText(R::kLowestScoreField) == std::to_string(v.lowestScore));
    FUZZ_REQUIRE(rules.FieldText(R::kHighestScoreField) == std::to_string(v.highestScore));
}

void CheckAccepted(const OptionsDialogRules& rules)
{
    const OptionsDialogValues& v = rules.Values();
    CheckShown(rules);
    CheckReadValues(rules);
    FUZZ_REQUIRE(v.bootstrapSamples >= 500);
    FUZZ_REQUIRE(v.factorCount < static_cast<unsigned>(v.variableCount));
    FUZZ_REQUIRE(v.highestScore >= v.observedMaximum);
    FUZZ_REQUIRE(v.lowestScore <= v.observedMinimum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const OptionsDialogValues initial = InitialFrom(input);
    CountingDialogPort port;
    OptionsDialogRules rules(initial, port);
    CheckShown(rules);

    for (int step = 0; step < 32 && input.remaining_bytes() > 0; ++step) {
        const int messagesBefore = port.messages;
        const int focusesBefore = port.focuses;
        switch (input.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            rules.SetFieldText(input.PickValueInArray(kEditFields), FieldTextFrom(input));
            break;
        case 1: {
            const int id = input.PickValueInArray(kClickable);
            const OptionsDialogValues before = rules.Values();
            const bool enabled = rules.IsEnabled(id);
            FUZZ_REQUIRE(rules.Click(id) == enabled);
            if (!enabled) {
                FUZZ_REQUIRE(Same(rules.Values(), before) && port.messages == messagesBefore);
            }
            break;
        }
        case 2:
            if (rules.ReadFields()) {
                FUZZ_REQUIRE(port.messages == messagesBefore);
                CheckReadValues(rules);
            } else {
                FUZZ_REQUIRE(port.messages == messagesBefore + 1 && port.focuses == focusesBefore + 1);
            }
            break;
        case 3:
            rules.WriteFields();
            CheckShown(rules);
            break;
        default:
            if (rules.Ok()) {
                CheckAccepted(rules);
            } else {
                FUZZ_REQUIRE(port.messages > messagesBefore);
            }
            break;
        }
        if (port.focuses > focusesBefore) {
            bool editField = false;
            for (const int id : kEditFields) {
                editField = editField || port.lastFocus == id;
            }
            FUZZ_REQUIRE(editField);
        }
        CheckMarks(rules);
        const OptionsDialogValues& now = rules.Values();
        FUZZ_REQUIRE(now.variableCount == initial.variableCount && now.observedMaximum == initial.observedMaximum &&
                     now.observedMinimum == initial.observedMinimum);
    }
    return 0;
}
