#pragma once
// The Sample dialog: sizes of the two data matrices and the two file names.
// The rules live in SampleDialogRules; after every call into them the widgets
// are made to show the rules' state again. For files that name their columns
// the sizes come from the data and their fields are hidden. The dialog fits
// the screen: what does not fit scrolls, OK and Cancel stay in view.

#include "app/DialogPort.h"
#include "app/SampleDialogRules.h"

#include <QDialog>

#include <map>

class QLineEdit;

namespace talver {

class ColumnsBox;

class SampleDialog : public QDialog, public DialogPort {
    Q_OBJECT

public:
    SampleDialog(const SampleDialogValues& initial, QWidget* parent = nullptr);

    const SampleDialogValues& Values() const { return rules_.Values(); }

    void ShowMessage(const std::string& text) override;
    void FocusField(int controlId) override;

private:
    QLineEdit* MakeField(int controlId, int minimumWidth);
    void Browse(int fieldId, const char* title);
    void Confirm();
    // Reads the files' columns when they name them.
    void LoadColumns();
    // Fills the counts in from the chosen columns and rows.
    void TakeCounts();
    // Shows the rules' field texts in the edit fields.
    void Mirror();
    // As large as the content asks, within the screen's free area.
    void FitToScreen();

    SampleDialogRules rules_;
    std::map<int, QLineEdit*> fields_;
    ColumnsBox* columns_ = nullptr;
    QWidget* sizes_ = nullptr;
    QWidget* content_ = nullptr;
};

} // namespace talver
