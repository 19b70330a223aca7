#include "app/qt/InputLock.h"

#include <QApplication>
#include <QEvent>
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

InputLock::InputLock(QWidget* window) : window_(window)
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

bool InputLock::eventFilter(QObject* receiver, QEvent* event)
{
    return IsUserInput(event->type()) && IsOfWindow(receiver);
}

} // namespace talver
