#include "app/qt/OptionsDialog.h"

#include "app/DialogTexts.h"
#include "app/qt/ControlNames.h"
#include "app/qt/MessageBox.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace talver {

namespace {

using Rules = OptionsDialogRules;
namespace Text = OptionsDialogText;

constexpr int kFieldWidth = 64;

// The report's own controls, beside the ids of the rules.
constexpr char kReportFieldName[] = "reportFile";
constexpr char kBrowseReportName[] = "browseReport";
constexpr char kNoReportFile[] = "Please enter the name of the report file.";

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

OptionsDialog::OptionsDialog(const OptionsDialogValues& initial, const QString& reportFile, QWidget* parent)
    : QDialog(parent), rules_(initial, *this)
{
    // Captioned like every other window of the program.
    setWindowTitle(QStringLiteral("TALVER"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(10);
    layout->addWidget(MakeFactorGroup());
    layout->addWidget(MakeMatrixGroup());
    layout->addWidget(MakeBootstrapGroup());
    layout->addWidget(MakeOutputGroup());
    layout->addWidget(MakeReportGroup(reportFile));
    layout->addLayout(MakeButtons());
    Mirror();
}

QWidget* OptionsDialog::MakeFactorGroup()
{
    auto* group = new QGroupBox(Latin(Text::kFactorGroup));
    auto* grid = new QGridLayout(group);
    grid->addWidget(MakeLabel(0, Text::kFactorCountLabel), 0, 0);
    grid->addWidget(MakeField(Rules::kFactorCountField), 0, 1, Qt::AlignLeft);
    grid->addWidget(MakeRadio(Rules::kUlsRadio, Text::kUls), 1, 0);
    grid->addWidget(MakeRadio(Rules::kPcaRadio, Text::kPca), 1, 1);
    grid->addWidget(MakeRadio(Rules::kMlRadio, Text::kMl), 2, 0);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* OptionsDialog::MakeMatrixGroup()
{
    auto* group = new QGroupBox(Latin(Text::kMatrixGroup));
    auto* grid = new QGridLayout(group);
    grid->addWidget(MakeRadio(Rules::kCovarianceRadio, Text::kCovariance), 0, 0);
    grid->addWidget(MakeRadio(Rules::kPearsonRadio, Text::kPearson), 1, 0);
    grid->addWidget(MakeRadio(Rules::kPolychoricRadio, Text::kPolychoric), 0, 1, 1, 2);
    grid->addWidget(MakeLabel(Rules::kLowestScoreLabel, Text::kLowestScoreLabel), 1, 1);
    grid->addWidget(MakeField(Rules::kLowestScoreField), 1, 2);
    grid->addWidget(MakeLabel(Rules::kHighestScoreLabel, Text::kHighestScoreLabel), 2, 1);
    grid->addWidget(MakeField(Rules::kHighestScoreField), 2, 2);
    grid->setColumnMinimumWidth(0, 150);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* OptionsDialog::MakeBootstrapGroup()
{
    auto* group = new QGroupBox(Latin(Text::kBootstrapGroup));
    auto* row = new QHBoxLayout(group);
    row->addWidget(MakeLabel(0, Text::kBootstrapSamplesLabel));
    row->addWidget(MakeField(Rules::kBootstrapSamplesField));
    row->addStretch(1);
    row->addWidget(MakeRadio(Rules::kAlpha05Radio, Text::kAlpha05));
    row->addSpacing(16);
    row->addWidget(MakeRadio(Rules::kAlpha10Radio, Text::kAlpha10));
    return group;
}

QWidget* OptionsDialog::MakeOutputGroup()
{
    auto* group = new QGroupBox(Latin(Text::kOutputGroup));
    auto* grid = new QGridLayout(group);
    grid->addWidget(MakeCheck(Rules::kDifficultiesCheck, Text::kDifficulties), 0, 0);
    grid->addWidget(MakeCheck(Rules::kDiscriminationsCheck, Text::kDiscriminations), 1, 0);
    grid->addWidget(MakeCheck(Rules::kResidualVariancesCheck, Text::kResidualVariances), 2, 0);
    grid->addWidget(MakeCheck(Rules::kDifficultyFitCheck, Text::kDifficultyFit), 0, 1);
    grid->addWidget(MakeCheck(Rules::kCongruenceCheck, Text::kCongruence), 1, 1);
    grid->addWidget(MakeCheck(Rules::kDiscrepancyCheck, Text::kDiscrepancy), 2, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* OptionsDialog::MakeReportGroup(const QString& reportFile)
{
    auto* group = new QGroupBox(QStringLiteral("Report"));
    auto* row = new QHBoxLayout(group);
    auto* label = new QLabel(QStringLiteral("Report &file:"));
    reportField_ = new QLineEdit(reportFile);
    reportField_->setObjectName(QString::fromLatin1(kReportFieldName));
    reportField_->setCursorPosition(0);
    label->setBuddy(reportField_);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."));
    browse->setObjectName(QString::fromLatin1(kBrowseReportName));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &OptionsDialog::BrowseReport);
    row->addWidget(label);
    row->addWidget(reportField_, 1);
    row->addWidget(browse);
    return group;
}

void OptionsDialog::BrowseReport()
{
    const QString current = QFileInfo(reportField_->text()).absoluteFilePath();
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("TALVER: Choose the report file"), current,
                                                        QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!chosen.isEmpty()) {
        reportField_->setText(chosen);
    }
}

QString OptionsDialog::ReportFile() const
{
    return QFileInfo(reportField_->text().trimmed()).absoluteFilePath();
}

QLayout* OptionsDialog::MakeButtons()
{
    auto* cancel = new QPushButton(Latin(DialogText::kCancel));
    cancel->setObjectName(ControlName(Rules::kCancelButton));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* ok = new QPushButton(Latin(DialogText::kOk));
    ok->setObjectName(ControlName(Rules::kOkButton));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::Confirm);
    auto* row = new QHBoxLayout;
    row->addWidget(cancel);
    row->addStretch(1);
    row->addWidget(ok);
    return row;
}

QAbstractButton* OptionsDialog::MakeRadio(int controlId, const char* text)
{
    auto* radio = new QRadioButton(Latin(text));
    // The rules set and clear every mark themselves.
    radio->setAutoExclusive(false);
    radio->setObjectName(ControlName(controlId));
    connect(radio, &QAbstractButton::clicked, this, [this, controlId] {
        rules_.Click(controlId);
        Mirror();
    });
    marks_[controlId] = radio;
    return radio;
}

QAbstractButton* OptionsDialog::MakeCheck(int controlId, const char* text)
{
    auto* check = new QCheckBox(Latin(text));
    check->setObjectName(ControlName(controlId));
    connect(check, &QAbstractButton::clicked, this, [this, controlId] {
        rules_.Click(controlId);
        Mirror();
    });
    marks_[controlId] = check;
    return check;
}

// `controlId` 0: a label that the rules never disable.
QLabel* OptionsDialog::MakeLabel(int controlId, const char* text)
{
    auto* label = new QLabel(Latin(text));
    if (controlId != 0) {
        label->setObjectName(ControlName(controlId));
        labels_[controlId] = label;
    }
    return label;
}

QLineEdit* OptionsDialog::MakeField(int controlId)
{
    auto* field = new QLineEdit;
    field->setObjectName(ControlName(controlId));
    field->setFixedWidth(kFieldWidth);
    connect(field, &QLineEdit::textEdited, this,
            [this, controlId](const QString& text) { rules_.SetFieldText(controlId, text.toStdString()); });
    fields_[controlId] = field;
    return field;
}

void OptionsDialog::Confirm()
{
    if (reportField_->text().trimmed().isEmpty()) {
        ShowTalverMessage(this, kNoReportFile);
        reportField_->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool accepted = rules_.Ok();
    Mirror();
    if (accepted) {
        accept();
    }
}

void OptionsDialog::Mirror()
{
    for (const auto& [controlId, button] : marks_) {
        const bool enabled = rules_.IsEnabled(controlId);
        // A greyed check box shows what will be written: nothing. Its flag
        // keeps the user's choice for when the box is offered again.
        const bool isCheckBox = qobject_cast<QCheckBox*>(button) != nullptr;
        button->setChecked(rules_.IsMarked(controlId) && (enabled || !isCheckBox));
        button->setEnabled(enabled);
    }
    for (const auto& [controlId, label] : labels_) {
        label->setEnabled(rules_.IsEnabled(controlId));
    }
    for (const auto& [controlId, field] : fields_) {
        field->setEnabled(rules_.IsEnabled(controlId));
        const QString text = QString::fromStdString(rules_.FieldText(controlId));
        if (field->text() != text) {
            field->setText(text);
        }
    }
}

void OptionsDialog::ShowMessage(const std::string& text)
{
    Mirror();
    ShowTalverMessage(this, text);
}

void OptionsDialog::FocusField(int controlId)
{
    Mirror();
    QLineEdit* field = fields_.at(controlId);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

} // namespace talver
