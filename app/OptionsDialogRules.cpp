#include "app/OptionsDialogRules.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/DialogTexts.h"
#include "app/IntegerField.h"
#include "data/RunSizeLimits.h"

namespace talver {

namespace {

constexpr unsigned kMostBootstrapSamples = 5000;
constexpr unsigned kMostFactors = 100;

[[noreturn]] void UnknownControl(int controlId)
{
    throw std::invalid_argument("not a control of the options dialog: " + std::to_string(controlId));
}

bool IsRadioButton(int controlId)
{
    using R = OptionsDialogRules;
    switch (controlId) {
    case R::kUlsRadio:
    case R::kPcaRadio:
    case R::kMlRadio:
    case R::kCovarianceRadio:
    case R::kPearsonRadio:
    case R::kPolychoricRadio:
    case R::kAlpha05Radio:
    case R::kAlpha10Radio: return true;
    default: return false;
    }
}

// The most factors that `items` items allow, within the field's range.
unsigned FactorLimit(int items)
{
    return items >= 2 ? std::min(kMostFactors, static_cast<unsigned>(items - 1)) : kMostFactors;
}

std::string RangeMessage(unsigned lowest, unsigned highest)
{
    std::string message = DialogText::kEnterIntegerBetween;
    message.replace(message.find("%1"), 2, std::to_string(lowest));
    message.replace(message.find("%2"), 2, std::to_string(highest));
    return message;
}

}  // namespace

std::string TooManyFactorsMessage(int items)
{
    std::string message = OptionsDialogText::kTooManyFactors;
    if (items >= 2) {
        message += " (" + std::to_string(items) + "): choose 1 to " + std::to_string(FactorLimit(items)) + ".";
    }
    return message;
}

OptionsDialogRules::OptionsDialogRules(const OptionsDialogValues& initial, DialogPort& port)
    : port_(port), values_(initial)
{
    WriteFields();
}

std::size_t OptionsDialogRules::FieldIndex(int controlId)
{
    switch (controlId) {
    case kBootstrapSamplesField: return 0;
    case kFactorCountField: return 1;
    case kLowestScoreField: return 2;
    case kHighestScoreField: return 3;
    default: UnknownControl(controlId);
    }
}

int OptionsDialogValues::*OptionsDialogRules::CheckBoxFlag(int controlId)
{
    switch (controlId) {
    case kDifficultiesCheck: return &OptionsDialogValues::showDifficulties;
    case kDiscriminationsCheck: return &OptionsDialogValues::showDiscriminations;
    case kResidualVariancesCheck: return &OptionsDialogValues::showResidualVariances;
    case kDifficultyFitCheck: return &OptionsDialogValues::showDifficultyFit;
    case kCongruenceCheck: return &OptionsDialogValues::showCongruence;
    case kDiscrepancyCheck: return &OptionsDialogValues::showDiscrepancy;
    default: return nullptr;
    }
}

// Codes other than covariances and Pearson correlations mean polychoric.
bool OptionsDialogRules::PolychoricChosen() const
{
    return values_.dispersionKind != 1 && values_.dispersionKind != 2;
}

// The marks follow the working copy; codes outside the known ones show as the
// last choice of their group (ML, polychoric, alpha = 0.10).
bool OptionsDialogRules::IsMarked(int controlId) const
{
    const int method = values_.extractionMethod;
    switch (controlId) {
    case kUlsRadio: return method == 1;
    case kPcaRadio: return method == 2;
    case kMlRadio: return method != 1 && method != 2;
    case kCovarianceRadio: return values_.dispersionKind == 1;
    case kPearsonRadio: return values_.dispersionKind == 2;
    case kPolychoricRadio: return PolychoricChosen();
    case kAlpha05Radio: return values_.alphaCode == 5;
    case kAlpha10Radio: return values_.alphaCode != 5;
    default: break;
    }
    if (int OptionsDialogValues::*flag = CheckBoxFlag(controlId)) {
        return values_.*flag == 1;
    }
    UnknownControl(controlId);
}

// ML is not offered with polychoric correlations, residual variances only with
// covariances, and the score range only with polychoric correlations.
bool OptionsDialogRules::IsEnabled(int controlId) const
{
    switch (controlId) {
    case kMlRadio: return !PolychoricChosen();
    case kResidualVariancesCheck: return values_.dispersionKind == 1;
    case kLowestScoreLabel:
    case kHighestScoreLabel:
    case kLowestScoreField:
    case kHighestScoreField: return PolychoricChosen();
    case kUlsRadio:
    case kPcaRadio:
    case kCovarianceRadio:
    case kPearsonRadio:
    case kPolychoricRadio:
    case kAlpha05Radio:
    case kAlpha10Radio:
    case kBootstrapSamplesField:
    case kFactorCountField: return true;
    default: break;
    }
    if (CheckBoxFlag(controlId) != nullptr) {
        return true;
    }
    UnknownControl(controlId);
}

const std::string& OptionsDialogRules::FieldText(int controlId) const
{
    return texts_[FieldIndex(controlId)];
}

void OptionsDialogRules::SetFieldText(int controlId, std::string text)
{
    texts_[FieldIndex(controlId)] = std::move(text);
}

bool OptionsDialogRules::Click(int controlId)
{
    int OptionsDialogValues::*flag = CheckBoxFlag(controlId);
    if (flag == nullptr && !IsRadioButton(controlId)) {
        UnknownControl(controlId);
    }
    if (!IsEnabled(controlId)) {
        return false;
    }
    switch (controlId) {
    case kUlsRadio: values_.extractionMethod = 1; break;
    case kPcaRadio: values_.extractionMethod = 2; break;
    case kMlRadio: values_.extractionMethod = 3; break;
    case kCovarianceRadio: values_.dispersionKind = 1; break;
    case kPearsonRadio:
        values_.dispersionKind = 2;
        port_.ShowMessage(OptionsDialogText::kCovarianceAdvised);
        break;
    case kPolychoricRadio:
        values_.dispersionKind = 3;
        port_.ShowMessage(OptionsDialogText::kCovarianceAdvised);
        values_.extractionMethod = 1;
        break;
    case kAlpha05Radio: values_.alphaCode = 5; break;
    case kAlpha10Radio: values_.alphaCode = 10; break;
    default: values_.*flag = values_.*flag == 0 ? 1 : 0; break;
    }
    return true;
}

bool OptionsDialogRules::ReadFields()
{
    return Read() == Reading::kComplete;
}

OptionsDialogRules::Reading OptionsDialogRules::Read()
{
    struct CountField {
        int controlId;
        unsigned OptionsDialogValues::*value;
        unsigned lowest;
        unsigned highest;
    };
    for (const CountField& field : {CountField{kBootstrapSamplesField, &OptionsDialogValues::bootstrapSamples, 0,
                                               kMostBootstrapSamples},
                                    CountField{kFactorCountField, &OptionsDialogValues::factorCount, 1, kMostFactors}}) {
        const std::optional<std::uint32_t> parsed = ParseUnsignedField(texts_[FieldIndex(field.controlId)]);
        if (!parsed) {
            return Refuse(field.controlId, DialogText::kEnterPositiveInteger, Reading::kRefused);
        }
        values_.*field.value = *parsed;
        if (*parsed < field.lowest || *parsed > field.highest) {
            // The message states what the data allow: fewer factors than items.
            const unsigned shownHighest =
                field.controlId == kFactorCountField ? FactorLimit(values_.variableCount) : field.highest;
            return Refuse(field.controlId, RangeMessage(field.lowest, shownHighest), Reading::kOutOfRange);
        }
    }
    for (const auto& [controlId, score] : {std::pair{kLowestScoreField, &OptionsDialogValues::lowestScore},
                                           std::pair{kHighestScoreField, &OptionsDialogValues::highestScore}}) {
        const std::optional<std::int32_t> parsed = ParseSignedField(texts_[FieldIndex(controlId)]);
        if (!parsed) {
            return Refuse(controlId, DialogText::kEnterInteger, Reading::kRefused);
        }
        values_.*score = *parsed;
    }
    return Reading::kComplete;
}

OptionsDialogRules::Reading OptionsDialogRules::Refuse(int controlId, const std::string& message, Reading result)
{
    port_.ShowMessage(message);
    port_.FocusField(controlId);
    return result;
}

void OptionsDialogRules::WriteFields()
{
    texts_[FieldIndex(kBootstrapSamplesField)] = std::to_string(values_.bootstrapSamples);
    texts_[FieldIndex(kFactorCountField)] = std::to_string(values_.factorCount);
    texts_[FieldIndex(kLowestScoreField)] = std::to_string(values_.lowestScore);
    texts_[FieldIndex(kHighestScoreField)] = std::to_string(values_.highestScore);
}

template <typename T>
void OptionsDialogRules::Adjust(T OptionsDialogValues::*field, T value, const char* message)
{
    Read();
    values_.*field = value;
    WriteFields();
    port_.ShowMessage(message);
}

bool OptionsDialogRules::Ok()
{
    // A refused field ends the attempt with every text as the user typed it:
    // writing the held values back would put old values into the fields not
    // yet read, and a second OK would confirm them unseen. A number out of
    // range is refused once, with the range it must lie in; the later steps
    // would only repeat that refusal among adjustments that cannot help.
    if (Read() != Reading::kComplete) {
        return false;
    }
    WriteFields();

    // Scores that are no categories make polychoric correlations impossible
    // whatever else is chosen; the range adjustments below would not help.
    if (PolychoricChosen() && !values_.unusablePolychoricScores.empty()) {
        port_.ShowMessage(values_.unusablePolychoricScores);
        return false;
    }

    if (values_.factorCount >= static_cast<unsigned>(values_.variableCount)) {
        port_.ShowMessage(TooManyFactorsMessage(values_.variableCount));
        return false;
    }
    if (values_.bootstrapSamples > 1000) {
        port_.ShowMessage(OptionsDialogText::kLongBootstrap);
    }
    // More than 5000 samples were refused by the reading above, so the
    // adjustment of more than 10000 to 10000 never applies.
    if (values_.bootstrapSamples < 500) {
        Adjust(&OptionsDialogValues::bootstrapSamples, 500u, OptionsDialogText::kSamplesAdjustedTo500);
    }
    if (values_.highestScore < values_.observedMaximum) {
        Adjust(&OptionsDialogValues::highestScore, values_.observedMaximum,
               OptionsDialogText::kHighestScoreAdjusted);
    }
    if (values_.lowestScore > values_.observedMinimum) {
        Adjust(&OptionsDialogValues::lowestScore, values_.observedMinimum,
               OptionsDialogText::kLowestScoreAdjusted);
    }
    // The framework's own confirmation.
    if (!ReadFields()) {
        return false;
    }
    return WorkFitsInMemory();
}

bool OptionsDialogRules::WorkFitsInMemory()
{
    const std::int64_t items = values_.variableCount;
    if (ReplicateValues(values_.bootstrapSamples, items, values_.factorCount) > kMostWorkValues) {
        port_.ShowMessage(DialogText::FillIn(OptionsDialogText::kTooManyReplicates,
                                             {values_.bootstrapSamples, items, values_.factorCount}));
        return false;
    }
    if (PolychoricChosen()) {
        const std::int64_t categories = ScoreCategories(values_.lowestScore, values_.highestScore);
        if (PolychoricTableValues(categories, items) > kMostWorkValues) {
            port_.ShowMessage(DialogText::FillIn(OptionsDialogText::kTooManyCategories,
                                                 {values_.lowestScore, values_.highestScore, categories, items}));
            return false;
        }
    }
    return true;
}

} // namespace talver
