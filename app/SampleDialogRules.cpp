#include "app/SampleDialogRules.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "app/DialogTexts.h"
#include "app/IntegerField.h"
#include "data/FilePath.h"
#include "data/RunSizeLimits.h"

namespace talver {

namespace {

// Asks only whether the name exists; the data files are not opened here.
// A name that cannot even be examined counts as missing.
bool NameExists(const std::string& name)
{
    std::error_code error;
    return std::filesystem::exists(FilePath(name), error);
}

}  // namespace

SampleDialogRules::SampleDialogRules(const SampleDialogValues& initial, DialogPort& port)
    : port_(port), values_(initial)
{
    WriteFields();
}

const std::string& SampleDialogRules::FieldText(int controlId) const
{
    return texts_[FieldIndex(controlId)];
}

void SampleDialogRules::SetFieldText(int controlId, std::string text)
{
    Text(controlId) = std::move(text);
}

std::size_t SampleDialogRules::FieldIndex(int controlId)
{
    if (controlId < kTargetCountField || controlId >= kTargetCountField + kFieldCount) {
        throw std::invalid_argument("not an edit field of the Sample dialog: " + std::to_string(controlId));
    }
    return static_cast<std::size_t>(controlId - kTargetCountField);
}

bool SampleDialogRules::ReadFields()
{
    for (const auto& [fieldId, count] : {std::pair{kTargetCountField, &values_.targetCount},
                                         std::pair{kReplicationCountField, &values_.replicationCount},
                                         std::pair{kVariableCountField, &values_.variableCount}}) {
        const std::optional<std::int32_t> parsed = ParseSignedField(Text(fieldId));
        if (!parsed) {
            port_.ShowMessage(DialogText::kEnterInteger);
            port_.FocusField(fieldId);
            return false;
        }
        *count = *parsed;
    }
    values_.replicationFile = Text(kReplicationFileField);
    values_.targetFile = Text(kTargetFileField);
    return true;
}

void SampleDialogRules::WriteFields()
{
    Text(kTargetCountField) = std::to_string(values_.targetCount);
    Text(kReplicationCountField) = std::to_string(values_.replicationCount);
    Text(kVariableCountField) = std::to_string(values_.variableCount);
    Text(kTargetFileField) = values_.targetFile;
    Text(kReplicationFileField) = values_.replicationFile;
}

void SampleDialogRules::BrowseTarget(const std::optional<std::string>& chosenFullPath)
{
    if (chosenFullPath) {
        Browse(values_.targetFile, kTargetFileField, *chosenFullPath);
    }
}

void SampleDialogRules::BrowseReplication(const std::optional<std::string>& chosenFullPath)
{
    if (chosenFullPath) {
        Browse(values_.replicationFile, kReplicationFileField, *chosenFullPath);
    }
}

void SampleDialogRules::Browse(std::string& fileName, int fieldId, const std::string& chosenFullPath)
{
    const bool allRead = ReadFields();
    fileName = chosenFullPath;
    if (allRead) {
        WriteFields();
    } else {
        // Rewriting every field would put old values over the refused text
        // and over the fields not yet read, silently undoing the user's typing.
        Text(fieldId) = chosenFullPath;
    }
}

// The fixed message, then the name that was not found and where; a Target
// file that is missing too is named at once rather than after the next OK.
std::string SampleDialogRules::MissingFilesMessage(bool replicationMissing, bool targetMissing) const
{
    std::error_code noFolder;
    const std::filesystem::path folder = std::filesystem::current_path(noFolder);
    const std::string where = noFolder ? "" : " in " + Utf8Name(folder);
    auto named = [&where](const std::string& file) {
        return "\"" + file + "\" was not found" + (FilePath(file).is_absolute() ? "" : where);
    };
    if (!replicationMissing) {
        return std::string(SampleDialogText::kTargetFileMissing) + ": " + named(values_.targetFile) + ".";
    }
    std::string message =
        std::string(SampleDialogText::kReplicationFileMissing) + ": " + named(values_.replicationFile) + ".";
    if (targetMissing && values_.targetFile != values_.replicationFile) {
        message += " The Target Sample's file " + named(values_.targetFile) + " either.";
    }
    return message;
}

bool SampleDialogRules::Ok()
{
    // A refused text stays in its field for the user to correct. Writing the
    // old value over it would let the dialog close with a number the user
    // had replaced.
    if (!ReadFields()) {
        return false;
    }
    WriteFields();

    const auto refuse = [this](const char* message) {
        port_.ShowMessage(message);
        return false;
    };
    if (values_.targetCount <= 0) {
        return refuse(SampleDialogText::kNoTargetCount);
    }
    if (values_.replicationCount <= 0) {
        return refuse(SampleDialogText::kNoReplicationCount);
    }
    if (values_.variableCount <= 0) {
        return refuse(SampleDialogText::kNoVariableCount);
    }
    // Sizes beyond the memory are refused before any file is read.
    const auto refuseSize = [this](const char* message, std::initializer_list<long long> numbers) {
        port_.ShowMessage(DialogText::FillIn(message, numbers));
        return false;
    };
    if (values_.variableCount > kMostItems) {
        return refuseSize(SampleDialogText::kTooManyVariables, {kMostItems});
    }
    for (const auto& [count, message] : {std::pair{values_.targetCount, SampleDialogText::kTargetSampleTooLarge},
                                         std::pair{values_.replicationCount,
                                                   SampleDialogText::kReplicationSampleTooLarge}}) {
        if (static_cast<std::int64_t>(count) * values_.variableCount > kMostSampleValues) {
            return refuseSize(message, {count, values_.variableCount, kMostSampleValues});
        }
    }
    if (values_.targetFile.empty()) {
        return refuse(SampleDialogText::kNoTargetFile);
    }
    if (values_.replicationFile.empty()) {
        return refuse(SampleDialogText::kNoReplicationFile);
    }
    const bool replicationMissing = !NameExists(values_.replicationFile);
    const bool targetMissing = !NameExists(values_.targetFile);
    if (replicationMissing || targetMissing) {
        port_.ShowMessage(MissingFilesMessage(replicationMissing, targetMissing));
        return false;
    }
    return true;
}

} // namespace talver
