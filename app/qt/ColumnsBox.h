#pragma once
// The part of the Sample dialog for files that name their columns: a preview
// of the first rows, the items to analyse (click, shift-click, or a typed
// range such as q1-q10), one file split by a group column or two files, the
// codes of missing answers with an offer to declare the scores that look like
// such codes, and what the chosen rows come to. It is shown only while the
// Target file is such a file.

#include "data/DataTable.h"
#include "data/SampleExtraction.h"

#include <QGroupBox>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace talver {

class ColumnsBox : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kOneFileCheck = 1020;
    static constexpr int kItemList = 1021;
    static constexpr int kGroupColumn = 1022;
    static constexpr int kTargetGroup = 1023;
    static constexpr int kReplicationGroup = 1024;
    static constexpr int kMissingField = 1025;
    static constexpr int kSummary = 1026;
    static constexpr int kItemRangeField = 1027;
    static constexpr int kPreview = 1028;
    static constexpr int kSuspectCodes = 1029;
    static constexpr int kDeclareMissing = 1030;

    explicit ColumnsBox(const std::optional<SampleSource>& initial, QWidget* parent = nullptr);

    // Reads the files again when their names changed since the last time.
    void Load(const std::string& targetFile, const std::string& replicationFile);
    // Whether the Target file names its columns, so that the box applies.
    bool Active() const { return active_; }
    bool OneFile() const;
    // The choice as it stands, and the samples it gives.
    SampleSource Source() const;
    ExtractedSamples Count() const;

signals:
    void Changed();

private:
    void FillColumns();
    void FillPreview();
    void FillGroupValues();
    void ShowSummary();
    void ShowSuspectCodes(const ExtractedSamples& samples);
    // Selects the items that a typed list names.
    void SelectTyped();
    // The chosen items as names and ranges in file order: "q1-q10, q12".
    std::string ChosenItems() const;

    bool active_ = false;
    std::string loadedTarget_;
    std::string loadedReplication_;
    DataTable target_;
    DataTable replication_;
    std::string readingError_;
    std::string replicationError_;
    // What to choose once the columns are known.
    std::optional<SampleSource> wanted_;

    QCheckBox* oneFile_;
    QListWidget* items_;
    QComboBox* groupColumn_;
    QComboBox* targetGroup_;
    QComboBox* replicationGroup_;
    QLineEdit* missing_;
    QLabel* summary_;
    QLineEdit* itemRange_;
    QTableWidget* preview_;
    QLabel* suspects_;
    QPushButton* declare_;
    // The codes the declare button adds to the missing values.
    std::string suspectCodes_;
};

} // namespace talver
