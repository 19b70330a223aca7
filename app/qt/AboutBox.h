#pragma once
// The About box: version, date, picture and credits.

#include <QDialog>

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};
