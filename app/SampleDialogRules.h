#pragma once
// The rules of the Sample dialog: the sizes of the two data matrices and the
// names of the two data files, kept apart from whatever draws the dialog.
// The drawing side mirrors FieldText into its edit fields, forwards the
// user's typing with SetFieldText, and calls the handlers below.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "app/DialogPort.h"
#include "data/SampleExtraction.h"

namespace talver {

struct SampleDialogValues {
    int targetCount = 0;
    int replicationCount = 0;
    int variableCount = 0;
    std::string targetFile;
    std::string replicationFile;
    // The items, the group and the missing codes, when the files name their
    // columns; the counts are then those of the complete rows.
    std::optional<SampleSource> columns = std::nullopt;
    // The samples, when the dialog read them from the columns to fill in the
    // counts: the run takes them over instead of reading the files again.
    std::shared_ptr<ExtractedSamples> samples = nullptr;
};

class SampleDialogRules {
public:
    static constexpr int kOkButton = 1;
    static constexpr int kCancelButton = 2;
    static constexpr int kTargetCountField = 1004;
    static constexpr int kReplicationCountField = 1005;
    static constexpr int kVariableCountField = 1006;
    static constexpr int kTargetFileField = 1007;
    static constexpr int kReplicationFileField = 1008;
    static constexpr int kBrowseTargetButton = 1009;
    static constexpr int kBrowseReplicationButton = 1010;

    // The edit fields show the initial values.
    SampleDialogRules(const SampleDialogValues& initial, DialogPort& port);

    // Text of edit field 1004 to 1008; any other id throws std::invalid_argument.
    const std::string& FieldText(int controlId) const;
    void SetFieldText(int controlId, std::string text);

    // Takes the edit fields into the values in the order 1004, 1005, 1006,
    // 1008, 1007. A count that cannot be read is reported and focused; the
    // reading stops there and that field keeps its previous value.
    bool ReadFields();
    // Shows the values in the edit fields.
    void WriteFields();

    // After the file chooser of button 1009 or 1010 closed: the full path the
    // user chose, or nothing when the chooser was cancelled.
    void BrowseTarget(const std::optional<std::string>& chosenFullPath);
    void BrowseReplication(const std::optional<std::string>& chosenFullPath);

    // True when the dialog may end with OK; otherwise it stays open.
    bool Ok();

    const SampleDialogValues& Values() const { return values_; }
    // What a front end chose from the files' columns; it fills the counts in
    // from the data and the rules above judge them as typed counts.
    void SetColumns(std::optional<SampleSource> columns) { values_.columns = std::move(columns); }

private:
    static constexpr int kFieldCount = 5;

    // Position of edit field 1004 to 1008 in texts_; throws for any other id.
    static std::size_t FieldIndex(int controlId);
    std::string& Text(int controlId) { return texts_[FieldIndex(controlId)]; }
    void Browse(std::string& fileName, int fieldId, const std::string& chosenFullPath);
    std::string MissingFilesMessage(bool replicationMissing, bool targetMissing) const;

    DialogPort& port_;
    SampleDialogValues values_;
    std::array<std::string, kFieldCount> texts_;
};

} // namespace talver
