#pragma once
// The program's message box: the text, one OK button, "TALVER" as caption;
// the warning icon for what went wrong, the information icon for advice.

#include <string>

class QWidget;

namespace talver {


void ShowTalverMessage(QWidget* parent, const std::string& text);

} // namespace talver
