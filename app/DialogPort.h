#pragma once
// What a dialog's rules need from whatever draws the dialog: a message box
// and the focus on a refused field. The Qt dialogs and the batch front end
// each provide one.

#include <string>

namespace talver {

class DialogPort {
public:
    virtual ~DialogPort() = default;
    // A modal message box with one OK button and the application's title.
    virtual void ShowMessage(const std::string& text) = 0;
    // Gives the edit field with this control id the focus, its text selected.
    virtual void FocusField(int controlId) = 0;
};

} // namespace talver
