#pragma once
// The part of the Sample dialog for files that name their columns: the items
// to analyse, one file split by a group column or two files, the codes of
// missing answers, and what the chosen rows come to. It is shown only while
// the Target file is such a file.

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
    void FillGroupValues();
    void ShowSummary();

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
};

} // namespace talver
