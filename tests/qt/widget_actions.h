#pragma once
// What a user does to a control, found by the id the rules give it.

#include "app/qt/ControlNames.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <string>

using namespace talver;

template <typename Control = QWidget>
Control* Find(const QWidget* parent, int controlId)
{
    auto* control = parent->findChild<Control*>(ControlName(controlId));
    if (control == nullptr) {
        throw std::runtime_error("no control " + std::to_string(controlId));
    }
    return control;
}

// A mouse click on the button's face; a disabled button ignores it.
void ClickOn(const QWidget* parent, int controlId);

// Selects the field's text and types `text` over it.
void TypeInto(const QWidget* parent, int controlId, const QString& text);

std::string TextOf(const QWidget* parent, int controlId);
bool IsChecked(const QWidget* parent, int controlId);
bool IsEnabled(const QWidget* parent, int controlId);
