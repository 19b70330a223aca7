#pragma once
// The analysis options dialog. Its radio buttons are not automatic: the rules
// in OptionsDialogRules set every mark, enabling and field text, and after
// each call into them the widgets are made to show that state again.

#include "app/DialogPort.h"
#include "app/OptionsDialogRules.h"

#include <QDialog>

#include <map>

class QAbstractButton;
class QLabel;
class QLayout;
class QLineEdit;

namespace talver {


class OptionsDialog : public QDialog, public DialogPort {
    Q_OBJECT

public:
    // `reportFile`: where the report goes, shown in the dialog's report field.
    OptionsDialog(const OptionsDialogValues& initial, const QString& reportFile, QWidget* parent = nullptr);

    const OptionsDialogValues& Values() const { return rules_.Values(); }
    // The report file as confirmed, by its full path.
    QString ReportFile() const;

    void ShowMessage(const std::string& text) override;
    void FocusField(int controlId) override;

private:
    QWidget* MakeFactorGroup();
    QWidget* MakeMatrixGroup();
    QWidget* MakeBootstrapGroup();
    QWidget* MakeOutputGroup();
    QWidget* MakeReportGroup(const QString& reportFile);
    void BrowseReport();
    QLayout* MakeButtons();
    QAbstractButton* MakeRadio(int controlId, const char* text);
    QAbstractButton* MakeCheck(int controlId, const char* text);
    QLabel* MakeLabel(int controlId, const char* text);
    QLineEdit* MakeField(int controlId);
    void Confirm();
    // Shows the rules' marks, enabling and field texts in the widgets.
    void Mirror();

    OptionsDialogRules rules_;
    std::map<int, QAbstractButton*> marks_;
    std::map<int, QLabel*> labels_;
    std::map<int, QLineEdit*> fields_;
    QLineEdit* reportField_ = nullptr;
};

} // namespace talver
