#include "app/qt/MessageBox.h"

#include <QMessageBox>

namespace talver {

void ShowTalverMessage(QWidget* parent, const std::string& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("TALVER"), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace talver
