#pragma once
// The About box: version, date, picture and credits.

#include <QDialog>

namespace talver {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace talver
