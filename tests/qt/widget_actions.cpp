#include "widget_actions.h"

#include <QTest>

using namespace talver;

void ClickOn(const QWidget* parent, int controlId)
{
    auto* button = Find<QAbstractButton>(parent, controlId);
    // Near the left edge: on a radio button or check box that is its mark.
    const int middle = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(std::min(middle, 8), middle));
}

void TypeInto(const QWidget* parent, int controlId, const QString& text)
{
    auto* field = Find<QLineEdit>(parent, controlId);
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

std::string TextOf(const QWidget* parent, int controlId)
{
    return Find<QWidget>(parent, controlId)->property("text").toString().toStdString();
}

bool IsChecked(const QWidget* parent, int controlId)
{
    return Find<QAbstractButton>(parent, controlId)->isChecked();
}

bool IsEnabled(const QWidget* parent, int controlId)
{
    return Find<QWidget>(parent, controlId)->isEnabled();
}
