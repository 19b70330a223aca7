// Drives the Sample dialog's rules with typing, file choices and OK presses
// taken from the fuzzer's bytes. Checks: only std::invalid_argument for a
// wrong control id may leave the rules (and none is asked for here), a refusal
// always says why and focuses one of the dialog's fields, and OK closes the
// dialog only with positive counts and two existing files, shown as they are
// held.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/IntegerField.h"
#include "app/SampleDialogRules.h"
#include "fuzz_support.h"

using namespace talver;

namespace {

using R = SampleDialogRules;

// Names that exist wherever the fuzzer runs, one that does not, and the empty name.
std::string FileNameFrom(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: return ".";
    case 1: return "/";
    case 2: return "no such sample file.dat";
    case 3: return "";
    default: return input.ConsumeRandomLengthString(40);
    }
}

bool Same(const SampleDialogValues& a, const SampleDialogValues& b)
{
    return a.targetCount == b.targetCount && a.replicationCount == b.replicationCount &&
           a.variableCount == b.variableCount && a.targetFile == b.targetFile &&
           a.replicationFile == b.replicationFile;
}

bool Exists(const std::string& name)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(name), error);
}

void CheckRefusal(const CountingDialogPort& port, int messagesBefore, int focusesBefore)
{
    FUZZ_REQUIRE(port.messages == messagesBefore + 1);
    FUZZ_REQUIRE(port.focuses == focusesBefore + 1);
    FUZZ_REQUIRE(port.lastFocus >= R::kTargetCountField && port.lastFocus <= R::kVariableCountField);
}

// After a complete reading the values are what the fields say.
void CheckReadValues(const SampleDialogRules& rules)
{
    const SampleDialogValues& v = rules.Values();
    FUZZ_REQUIRE(ParseSignedField(rules.FieldText(R::kTargetCountField)) == v.targetCount);
    FUZZ_REQUIRE(ParseSignedField(rules.FieldText(R::kReplicationCountField)) == v.replicationCount);
    FUZZ_REQUIRE(ParseSignedField(rules.FieldText(R::kVariableCountField)) == v.variableCount);
    FUZZ_REQUIRE(rules.FieldText(R::kTargetFileField) == v.targetFile);
    FUZZ_REQUIRE(rules.FieldText(R::kReplicationFileField) == v.replicationFile);
}

void CheckAccepted(const SampleDialogRules& rules)
{
    const SampleDialogValues& v = rules.Values();
    FUZZ_REQUIRE(v.targetCount > 0 && v.replicationCount > 0 && v.variableCount > 0);
    FUZZ_REQUIRE(!v.targetFile.empty() && !v.replicationFile.empty());
    FUZZ_REQUIRE(Exists(v.targetFile) && Exists(v.replicationFile));
    FUZZ_REQUIRE(rules.FieldText(R::kTargetCountField) == std::to_string(v.targetCount));
    FUZZ_REQUIRE(rules.FieldText(R::kReplicationCountField) == std::to_string(v.replicationCount));
    FUZZ_REQUIRE(rules.FieldText(R::kVariableCountField) == std::to_string(v.variableCount));
    CheckReadValues(rules);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    SampleDialogValues initial;
    initial.targetCount = input.ConsumeIntegral<int>();
    initial.replicationCount = input.ConsumeIntegral<int>();
    initial.variableCount = input.ConsumeIntegral<int>();
    initial.targetFile = FileNameFrom(input);
    initial.replicationFile = FileNameFrom(input);

    CountingDialogPort port;
    SampleDialogRules rules(initial, port);
    CheckReadValues(rules);

    for (int step = 0; step < 32 && input.remaining_bytes() > 0; ++step) {
        const int messagesBefore = port.messages;
        const int focusesBefore = port.focuses;
        switch (input.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: {
            const int field = input.ConsumeIntegralInRange<int>(R::kTargetCountField, R::kVariableCountField);
            rules.SetFieldText(field, FieldTextFrom(input));
            break;
        }
        case 1: {
            const int field = input.ConsumeBool() ? R::kTargetFileField : R::kReplicationFileField;
            rules.SetFieldText(field, FileNameFrom(input));
            break;
        }
        case 2: {
            std::optional<std::string> chosen;
            if (input.ConsumeBool()) {
                chosen = FileNameFrom(input);
            }
            const bool target = input.ConsumeBool();
            const int field = target ? R::kTargetFileField : R::kReplicationFileField;
            const SampleDialogValues before = rules.Values();
            const std::string textBefore = rules.FieldText(field);
            target ? rules.BrowseTarget(chosen) : rules.BrowseReplication(chosen);
            if (chosen) {
                FUZZ_REQUIRE(rules.FieldText(field) == *chosen);
                FUZZ_REQUIRE((target ? rules.Values().targetFile : rules.Values().replicationFile) == *chosen);
            } else {
                // A cancelled chooser changes nothing.
                FUZZ_REQUIRE(port.messages == messagesBefore && rules.FieldText(field) == textBefore);
                FUZZ_REQUIRE(Same(rules.Values(), before));
            }
            break;
        }
        case 3:
            if (rules.ReadFields()) {
                FUZZ_REQUIRE(port.messages == messagesBefore);
                CheckReadValues(rules);
            } else {
                CheckRefusal(port, messagesBefore, focusesBefore);
            }
            break;
        case 4:
            rules.WriteFields();
            CheckReadValues(rules);
            break;
        default:
            if (rules.Ok()) {
                FUZZ_REQUIRE(port.messages == messagesBefore);
                CheckAccepted(rules);
            } else {
                FUZZ_REQUIRE(port.messages == messagesBefore + 1);
            }
            break;
        }
    }
    return 0;
}
