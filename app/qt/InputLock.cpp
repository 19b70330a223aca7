#include "app/qt/InputLock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace talver {

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease: return true;
    default: return false;
    }
}

} // namespace

InputLock::InputLock(QWidget* window, QAbstractButton* open) : window_(window), open_(open)
{
    QApplication::instance()->installEventFilter(this);
}

InputLock::~InputLock()
{
    QApplication::instance()->removeEventFilter(this);
}

bool InputLock::IsOfWindow(QObject* receiver) const
{
    if (window_.isNull()) {
        return false;
    }
    if (receiver->isWidgetType()) {
        return static_cast<QWidget*>(receiver)->window() == window_;
    }
    // Qt hands input to the platform window before the widgets.
    return receiver->isWindowType() && static_cast<QWindow*>(receiver) == window_->windowHandle();
}

bool InputLock::IsForOpenControl(QObject* receiver, QEvent* event) const
{
    if (open_.isNull() || !open_->isEnabled() || !open_->isVisible()) {
        return false;
    }
    if (receiver == open_.data()) {
        return true;
    }
    // A click reaches the platform window first, at the window's coordinates.
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
    if (mouse && receiver->isWindowType()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        return open_->rect().contains(open_->mapFrom(window_.data(), at));
    }
    return false;
}

// The shortcut of a mnemonic needs an active window, which a window busy
// with a command may not be to the platform; the key is matched here.
bool InputLock::IsOpenControlsKey(QEvent* event) const
{
    if (event->type() != QEvent::KeyPress || open_.isNull() || !open_->isEnabled() || !open_->isVisible()) {
        return false;
    }
    const QKeySequence mnemonic = QKeySequence::mnemonic(open_->text());
    return !mnemonic.isEmpty() && QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()) == mnemonic;
}

bool InputLock::eventFilter(QObject* receiver, QEvent* event)
{
    if (!IsUserInput(event->type()) || !IsOfWindow(receiver)) {
        return false;
    }
    if (IsOpenControlsKey(event)) {
        open_->click();
        return true;
    }
    return !IsForOpenControl(receiver, event);
}

} // namespace talver
