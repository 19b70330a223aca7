#pragma once
// While a command runs, the window takes no input: clicks, keys and wheel
// turns aimed at it are consumed and dropped as they arrive, so that none of
// them acts once the command is over. Dialogs and message boxes that the
// command opens itself are other windows and get their input as usual.

#include <QObject>
#include <QPointer>

class QWidget;

namespace talver {

class InputLock : public QObject {
public:
    // Locks `window` for the life of this object, all but `open` (the Stop
    // button of a run), which takes clicks while it is enabled.
    explicit InputLock(QWidget* window, QWidget* open = nullptr);
    ~InputLock() override;
    InputLock(const InputLock&) = delete;
    InputLock& operator=(const InputLock&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool IsOfWindow(QObject* receiver) const;
    bool IsForOpenControl(QObject* receiver, QEvent* event) const;

    QPointer<QWidget> window_;
    QPointer<QWidget> open_;
};

} // namespace talver
