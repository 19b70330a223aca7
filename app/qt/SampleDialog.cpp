#include "app/qt/SampleDialog.h"

#include "app/DialogTexts.h"
#include "app/qt/ColumnsBox.h"
#include "app/qt/ControlNames.h"
#include "app/qt/MessageBox.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace talver {

namespace {

using Rules = SampleDialogRules;
namespace Text = SampleDialogText;

constexpr int kCountWidth = 70;
constexpr int kFileWidth = 260;

QPushButton* MakeButton(int controlId, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(ControlName(controlId));
    return button;
}

} // namespace

SampleDialog::SampleDialog(const SampleDialogValues& initial, QWidget* parent)
    : QDialog(parent), rules_(initial, *this)
{
    setWindowTitle(QString::fromLatin1(Text::kCaption));

    auto* sizes = new QGroupBox(QString::fromLatin1(Text::kSizeGroup));
    sizes_ = sizes;
    auto* sizeGrid = new QGridLayout(sizes);
    const std::pair<int, const char*> counts[] = {{Rules::kTargetCountField, Text::kTargetCountLabel},
                                                  {Rules::kReplicationCountField, Text::kReplicationCountLabel},
                                                  {Rules::kVariableCountField, Text::kVariableCountLabel}};
    int row = 0;
    for (const auto& [fieldId, label] : counts) {
        sizeGrid->addWidget(new QLabel(QString::fromLatin1(label)), row, 0);
        sizeGrid->addWidget(MakeField(fieldId, kCountWidth), row, 1, Qt::AlignRight);
        ++row;
    }
    sizeGrid->setColumnStretch(0, 1);

    auto* files = new QGroupBox(QString::fromLatin1(Text::kFileNamesGroup));
    auto* fileGrid = new QGridLayout(files);
    struct FileRow {
        int fieldId;
        int browseId;
        const char* label;
        const char* chooserTitle;
    };
    const FileRow fileRows[] = {
        {Rules::kTargetFileField, Rules::kBrowseTargetButton, Text::kTargetFileLabel, Text::kTargetChooserTitle},
        {Rules::kReplicationFileField, Rules::kBrowseReplicationButton, Text::kReplicationFileLabel,
         Text::kReplicationChooserTitle}};
    row = 0;
    for (const FileRow& fileRow : fileRows) {
        fileGrid->addWidget(new QLabel(QString::fromLatin1(fileRow.label)), row, 0);
        fileGrid->addWidget(MakeField(fileRow.fieldId, kFileWidth), row, 1);
        QPushButton* browse = MakeButton(fileRow.browseId, Text::kBrowse);
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this,
                [this, fileRow] { Browse(fileRow.fieldId, fileRow.chooserTitle); });
        fileGrid->addWidget(browse, row, 2);
        ++row;
    }
    fileGrid->setColumnStretch(1, 1);

    QPushButton* cancel = MakeButton(Rules::kCancelButton, DialogText::kCancel);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    QPushButton* ok = MakeButton(Rules::kOkButton, DialogText::kOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SampleDialog::Confirm);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    content_ = new QWidget;
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(sizes);
    layout->addWidget(files);
    columns_ = new ColumnsBox(initial.columns);
    connect(columns_, &ColumnsBox::Changed, this, &SampleDialog::TakeCounts);
    layout->addWidget(columns_);
    layout->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("sampleScroll"));
    scroll->setWidget(content_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* outer = new QVBoxLayout(this);
    outer->setSpacing(10);
    outer->addWidget(scroll, 1);
    outer->addLayout(buttons);

    Mirror();
    LoadColumns();
}

void SampleDialog::FitToScreen()
{
    content_->adjustSize();
    const QSize wanted = content_->sizeHint() + QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24, 80);
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect free = shown != nullptr ? shown->availableGeometry() : QRect(0, 0, 1366, 768);
    // Room for the title bar and the frame of the window.
    const QSize room = free.size() - QSize(24, 64);
    setMaximumSize(free.size());
    resize(std::min(wanted.width(), room.width()), std::min(wanted.height(), room.height()));
}

QLineEdit* SampleDialog::MakeField(int controlId, int minimumWidth)
{
    auto* field = new QLineEdit;
    field->setObjectName(ControlName(controlId));
    field->setMinimumWidth(minimumWidth);
    if (minimumWidth == kCountWidth) {
        field->setMaximumWidth(kCountWidth);
    }
    connect(field, &QLineEdit::textEdited, this, [this, controlId](const QString& text) {
        rules_.SetFieldText(controlId, text.toStdString());
        if (controlId == Rules::kTargetFileField || controlId == Rules::kReplicationFileField) {
            LoadColumns();
        }
    });
    fields_[controlId] = field;
    return field;
}

void SampleDialog::Browse(int fieldId, const char* title)
{
    // Opens where the current name points, with that file chosen.
    const QString current = QFileInfo(QString::fromStdString(rules_.FieldText(fieldId))).absoluteFilePath();
    const QString chosen = QFileDialog::getOpenFileName(this, QString::fromLatin1(title), current,
                                                        QStringLiteral("Data files (*.dat *.txt *.csv);;Data with column "
                                                                       "names (*.csv *.tsv *.sav *.zsav *.dta "
                                                                       "*.sas7bdat);;All files (*)"));
    std::optional<std::string> fullPath;
    if (!chosen.isEmpty()) {
        fullPath = QFileInfo(chosen).absoluteFilePath().toStdString();
    }
    if (fieldId == Rules::kTargetFileField) {
        rules_.BrowseTarget(fullPath);
    } else {
        rules_.BrowseReplication(fullPath);
    }
    Mirror();
    LoadColumns();
}

void SampleDialog::LoadColumns()
{
    columns_->Load(rules_.FieldText(Rules::kTargetFileField), rules_.FieldText(Rules::kReplicationFileField));
    TakeCounts();
}

void SampleDialog::TakeCounts()
{
    const bool fromData = columns_->Active();
    for (const int fieldId : {Rules::kTargetCountField, Rules::kReplicationCountField, Rules::kVariableCountField}) {
        fields_.at(fieldId)->setReadOnly(fromData);
    }
    // The data give the counts: their fields would only mislead.
    if (sizes_->isHidden() != fromData) {
        sizes_->setVisible(!fromData);
    }
    FitToScreen();
    const bool oneFile = fromData && columns_->OneFile();
    fields_.at(Rules::kReplicationFileField)->setEnabled(!oneFile);
    findChild<QPushButton*>(ControlName(Rules::kBrowseReplicationButton))->setEnabled(!oneFile);
    if (!fromData) {
        return;
    }
    if (oneFile) {
        rules_.SetFieldText(Rules::kReplicationFileField, rules_.FieldText(Rules::kTargetFileField));
    }
    const ExtractedSamples samples = columns_->Count();
    if (samples.ok) {
        rules_.SetFieldText(Rules::kTargetCountField, std::to_string(samples.target.rows));
        rules_.SetFieldText(Rules::kReplicationCountField, std::to_string(samples.replication.rows));
        rules_.SetFieldText(Rules::kVariableCountField, std::to_string(samples.itemNames.size()));
    }
    Mirror();
}

void SampleDialog::Confirm()
{
    LoadColumns();
    if (columns_->Active()) {
        const ExtractedSamples samples = columns_->Count();
        if (!samples.ok) {
            ShowMessage(samples.message);
            return;
        }
        rules_.SetColumns(columns_->Source());
    } else {
        rules_.SetColumns(std::nullopt);
    }
    const bool accepted = rules_.Ok();
    Mirror();
    if (accepted) {
        accept();
    }
}

void SampleDialog::Mirror()
{
    for (const auto& [controlId, field] : fields_) {
        const QString text = QString::fromStdString(rules_.FieldText(controlId));
        if (field->text() != text) {
            field->setText(text);
        }
    }
}

void SampleDialog::ShowMessage(const std::string& text)
{
    Mirror();
    ShowTalverMessage(this, text);
}

void SampleDialog::FocusField(int controlId)
{
    Mirror();
    QLineEdit* field = fields_.at(controlId);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

} // namespace talver
