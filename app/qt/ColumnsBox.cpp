#include "app/qt/ColumnsBox.h"

#include "app/qt/ControlNames.h"
#include "data/DataFileKind.h"
#include "data/ItemSelection.h"
#include "data/MissingCodes.h"
#include "data/ScoreCells.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
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
    items_->setMaximumHeight(160);
    // Click, shift-click for a run, ctrl-click to add or leave out one.
    items_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    itemRange_ = Named(new QLineEdit, kItemRangeField);
    itemRange_->setPlaceholderText(QStringLiteral("or type names and ranges, such as q1-q10, q12"));
    preview_ = Named(new QTableWidget, kPreview);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setSelectionMode(QAbstractItemView::NoSelection);
    preview_->setFocusPolicy(Qt::NoFocus);
    preview_->setMaximumHeight(130);
    preview_->verticalHeader()->setDefaultSectionSize(20);
    suspects_ = Named(new QLabel, kSuspectCodes);
    suspects_->setWordWrap(true);
    declare_ = Named(new QPushButton, kDeclareMissing);
    declare_->setAutoDefault(false);
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
    form->addRow(QStringLiteral("First rows:"), preview_);
    form->addRow(QStringLiteral("Items (selected, in file order):"), items_);
    form->addRow(QString(), itemRange_);
    form->addRow(oneFile_);
    form->addRow(QStringLiteral("Group column:"), groupColumn_);
    form->addRow(QStringLiteral("Target group value:"), targetGroup_);
    form->addRow(QStringLiteral("Replication group value:"), replicationGroup_);
    form->addRow(QStringLiteral("Missing values:"), missing_);
    auto* offer = new QHBoxLayout;
    offer->addWidget(suspects_, 1);
    offer->addWidget(declare_, 0, Qt::AlignTop);
    form->addRow(offer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary_);
    suspects_->hide();
    declare_->hide();

    if (initial) {
        oneFile_->setChecked(initial->OneFile());
        missing_->setText(Text(initial->missing));
    }
    auto changed = [this] {
        ShowSummary();
        emit Changed();
    };
    connect(oneFile_, &QCheckBox::toggled, this, changed);
    connect(items_, &QListWidget::itemSelectionChanged, this, [this, changed] {
        if (!itemRange_->hasFocus()) {
            itemRange_->setText(Text(ChosenItems()));
        }
        changed();
    });
    connect(itemRange_, &QLineEdit::textEdited, this, &ColumnsBox::SelectTyped);
    connect(declare_, &QPushButton::clicked, this, [this] {
        const QString before = missing_->text().trimmed();
        missing_->setText(before.isEmpty() ? Text(suspectCodes_) : before + QStringLiteral(",") + Text(suspectCodes_));
    });
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
    FillPreview();
    ShowSummary();
    emit Changed();
}

void ColumnsBox::FillPreview()
{
    // The first rows as the file has them, to tell which columns are items.
    constexpr std::size_t kPreviewRows = 5;
    const std::size_t rows = std::min(kPreviewRows, target_.RowCount());
    preview_->clear();
    preview_->setColumnCount(static_cast<int>(target_.columns.size()));
    preview_->setRowCount(static_cast<int>(rows));
    QStringList names;
    for (const DataColumn& column : target_.columns) {
        names << Text(column.name);
    }
    preview_->setHorizontalHeaderLabels(names);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t j = 0; j < target_.columns.size(); ++j) {
            const DataCell cell = target_.Cell(i, j);
            const std::string shown = cell.kind == DataCell::Kind::Text ? cell.text : CellShown(cell);
            preview_->setItem(static_cast<int>(i), static_cast<int>(j), new QTableWidgetItem(Text(shown)));
        }
    }
    preview_->resizeColumnsToContents();
}

void ColumnsBox::SelectTyped()
{
    const ItemColumns typed = ResolveItemList(itemRange_->text().toStdString(), target_.columns, loadedTarget_);
    const std::set<std::size_t> chosen(typed.columns.begin(), typed.columns.end());
    const QSignalBlocker block(items_);
    for (int i = 0; i < items_->count(); ++i) {
        QListWidgetItem* item = items_->item(i);
        item->setSelected(chosen.count(item->data(Qt::UserRole).toULongLong()) != 0);
    }
    ShowSummary();
    emit Changed();
}

std::string ColumnsBox::ChosenItems() const
{
    // Runs of neighbouring columns become ranges.
    std::string list;
    int i = 0;
    while (i < items_->count()) {
        if (!items_->item(i)->isSelected()) {
            ++i;
            continue;
        }
        int last = i;
        while (last + 1 < items_->count() && items_->item(last + 1)->isSelected() &&
               items_->item(last + 1)->data(Qt::UserRole).toULongLong() ==
                   items_->item(last)->data(Qt::UserRole).toULongLong() + 1) {
            ++last;
        }
        list += (list.empty() ? "" : ", ") + items_->item(i)->text().toStdString();
        if (last > i) {
            list += "-" + items_->item(last)->text().toStdString();
        }
        i = last + 1;
    }
    return list;
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
        item->setData(Qt::UserRole, static_cast<qulonglong>(j));
        item->setSelected(chosen.count(j) != 0);
        groupColumn_->addItem(Text(name));
    }
    itemRange_->setText(Text(ChosenItems()));
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
        for (std::size_t r = 0; r < target_.RowCount(); ++r) {
            const DataCell cell = target_.Cell(r, *column);
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
    source.items = ChosenItems();
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
    ShowSuspectCodes(samples);
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

void ColumnsBox::ShowSuspectCodes(const ExtractedSamples& samples)
{
    std::vector<SuspectMissingCode> suspects;
    if (samples.ok) {
        const int items = static_cast<int>(samples.itemNames.size());
        MissingCodeScan scan(items);
        for (const ExtractedSample* sample : {&samples.target, &samples.replication}) {
            for (std::size_t at = 0; at < sample->values.size(); ++at) {
                scan.AddValue(static_cast<int>(at % static_cast<std::size_t>(items)), sample->values[at]);
            }
        }
        suspects = scan.Suspects();
    }
    suspectCodes_ = SuspectCodeList(suspects);
    std::string said;
    for (const SuspectMissingCode& suspect : suspects) {
        said += (said.empty() ? "" : "\n") + DescribeSuspectCode(suspect, samples.itemNames);
    }
    suspects_->setText(Text(said));
    suspects_->setVisible(!suspects.empty());
    declare_->setText(QStringLiteral("&Declare %1 missing").arg(Text(suspectCodes_)));
    declare_->setVisible(!suspects.empty());
}

} // namespace talver
