#include "app/qt/ColumnsBox.h"

#include "data/DataFileKind.h"
#include "data/ItemSelection.h"
#include "data/ScoreCells.h"
#include "app/qt/ControlNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <set>

namespace talver {

namespace {

template <typename Control>
Control* Named(Control* control, int controlId)
{
    control->setObjectName(ControlName(controlId));
    return control;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

ColumnsBox::ColumnsBox(const std::optional<SampleSource>& initial, QWidget* parent)
    : QGroupBox(QStringLiteral("Columns of the data files"), parent), wanted_(initial)
{
    oneFile_ = Named(new QCheckBox(QStringLiteral("One file holds both samples, told apart by a group column")),
                     kOneFileCheck);
    items_ = Named(new QListWidget, kItemList);
    items_->setMinimumHeight(110);
    groupColumn_ = Named(new QComboBox, kGroupColumn);
    targetGroup_ = Named(new QComboBox, kTargetGroup);
    replicationGroup_ = Named(new QComboBox, kReplicationGroup);
    for (QComboBox* value : {targetGroup_, replicationGroup_}) {
        value->setEditable(true);
        value->setInsertPolicy(QComboBox::NoInsert);
    }
    missing_ = Named(new QLineEdit, kMissingField);
    missing_->setPlaceholderText(QStringLiteral("for example -9, 99 (empty cells, NA and . always are)"));
    summary_ = Named(new QLabel, kSummary);
    summary_->setWordWrap(true);
    summary_->setMinimumWidth(380);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Items (checked, in file order):"), items_);
    form->addRow(oneFile_);
    form->addRow(QStringLiteral("Group column:"), groupColumn_);
    form->addRow(QStringLiteral("Target group value:"), targetGroup_);
    form->addRow(QStringLiteral("Replication group value:"), replicationGroup_);
    form->addRow(QStringLiteral("Missing values:"), missing_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary_);

    if (initial) {
        oneFile_->setChecked(initial->OneFile());
        missing_->setText(Text(initial->missing));
    }
    auto changed = [this] {
        ShowSummary();
        emit Changed();
    };
    connect(oneFile_, &QCheckBox::toggled, this, changed);
    connect(items_, &QListWidget::itemChanged, this, changed);
    connect(groupColumn_, &QComboBox::currentIndexChanged, this, [this, changed] {
        FillGroupValues();
        changed();
    });
    connect(targetGroup_, &QComboBox::currentTextChanged, this, changed);
    connect(replicationGroup_, &QComboBox::currentTextChanged, this, changed);
    connect(missing_, &QLineEdit::textChanged, this, changed);
    setVisible(false);
}

void ColumnsBox::Load(const std::string& targetFile, const std::string& replicationFile)
{
    const bool wasActive = active_;
    active_ = HasColumnNames(KindOfDataFile(targetFile));
    setVisible(active_);
    if (!active_) {
        if (wasActive) {
            emit Changed();
        }
        return;
    }
    if (targetFile == loadedTarget_ && replicationFile == loadedReplication_ && wasActive) {
        return;
    }
    // Keeps what was chosen when the same columns come back.
    if (!loadedTarget_.empty() && wasActive) {
        wanted_ = Source();
    }
    loadedTarget_ = targetFile;
    loadedReplication_ = replicationFile;
    const DataReadResult target = ReadDataTable(targetFile, 0, target_);
    readingError_ = target.ok ? "" : target.message;
    const DataReadResult replication = ReadDataTable(replicationFile, 0, replication_);
    replicationError_ = replication.ok ? "" : replication.message;
    FillColumns();
    ShowSummary();
    emit Changed();
}

void ColumnsBox::FillColumns()
{
    const QSignalBlocker blockItems(items_);
    const QSignalBlocker blockGroup(groupColumn_);
    items_->clear();
    groupColumn_->clear();
    std::set<std::size_t> chosen;
    if (wanted_) {
        const ItemColumns items = ResolveItemList(wanted_->items, target_.columns, loadedTarget_);
        chosen.insert(items.columns.begin(), items.columns.end());
    }
    for (std::size_t j = 0; j < target_.columns.size(); ++j) {
        const std::string& name = target_.columns[j].name;
        if (name.empty()) {
            continue;
        }
        auto* item = new QListWidgetItem(Text(name), items_);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(chosen.count(j) ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, static_cast<qulonglong>(j));
        groupColumn_->addItem(Text(name));
    }
    const int group = wanted_ ? groupColumn_->findText(Text(TrimBlanks(wanted_->groupColumn))) : -1;
    groupColumn_->setCurrentIndex(group);
    FillGroupValues();
}

void ColumnsBox::FillGroupValues()
{
    const QSignalBlocker blockTarget(targetGroup_);
    const QSignalBlocker blockReplication(replicationGroup_);
    const QString keptTarget = wanted_ ? Text(wanted_->targetGroup) : targetGroup_->currentText();
    const QString keptReplication = wanted_ ? Text(wanted_->replicationGroup) : replicationGroup_->currentText();
    targetGroup_->clear();
    replicationGroup_->clear();
    const std::optional<std::size_t> column = FindColumn(target_.columns, groupColumn_->currentText().toStdString());
    if (column) {
        std::set<std::string> seen;
        for (const std::vector<DataCell>& row : target_.rows) {
            const DataCell& cell = row[*column];
            if (cell.kind == DataCell::Kind::Missing) {
                continue;
            }
            const std::string value = cell.kind == DataCell::Kind::Text ? TrimBlanks(cell.text) : CellShown(cell);
            if (!value.empty() && seen.insert(value).second) {
                targetGroup_->addItem(Text(value));
                replicationGroup_->addItem(Text(value));
            }
        }
    }
    targetGroup_->setEditText(keptTarget);
    replicationGroup_->setEditText(keptReplication);
    wanted_.reset();
}

bool ColumnsBox::OneFile() const
{
    return oneFile_->isChecked();
}

SampleSource ColumnsBox::Source() const
{
    SampleSource source;
    source.targetFile = loadedTarget_;
    source.replicationFile = OneFile() ? loadedTarget_ : loadedReplication_;
    for (int i = 0; i < items_->count(); ++i) {
        const QListWidgetItem* item = items_->item(i);
        if (item->checkState() == Qt::Checked) {
            source.items += (source.items.empty() ? "" : ", ") + item->text().toStdString();
        }
    }
    if (OneFile()) {
        source.groupColumn = groupColumn_->currentText().toStdString();
        source.targetGroup = targetGroup_->currentText().toStdString();
        source.replicationGroup = replicationGroup_->currentText().toStdString();
    }
    source.missing = missing_->text().toStdString();
    return source;
}

ExtractedSamples ColumnsBox::Count() const
{
    ExtractedSamples samples;
    if (!readingError_.empty()) {
        samples.message = readingError_;
    } else if (!OneFile() && !replicationError_.empty()) {
        samples.message = replicationError_;
    } else if (OneFile() && groupColumn_->currentIndex() < 0) {
        samples.message = "Choose the group column that tells the samples apart.";
    } else {
        samples = ExtractSamples(Source(), target_, replication_);
    }
    return samples;
}

void ColumnsBox::ShowSummary()
{
    groupColumn_->setEnabled(OneFile());
    targetGroup_->setEnabled(OneFile());
    replicationGroup_->setEnabled(OneFile());
    const ExtractedSamples samples = Count();
    if (!samples.ok) {
        summary_->setText(Text(samples.message));
        return;
    }
    // Rows of other groups are counted value by value, so that a typo in a
    // group value shows before the run.
    const std::string groups = samples.groups ? GroupRowsLine(*samples.groups) + ".\n" : "";
    summary_->setText(Text(groups + LossesLine("Target", samples.target.rows, samples.target.losses, samples.itemNames) + ".\n" +
                           LossesLine("Replication", samples.replication.rows, samples.replication.losses,
                                      samples.itemNames) +
                           "."));
}

} // namespace talver
