#pragma once
// While a command runs, the window takes no input: clicks, keys and wheel
// turns aimed at it are consumed and dropped as they arrive, so that none of
// them acts once the command is over. Dialogs and message boxes that the
// command opens itself are other windows and get their input as usual.
// The one control left open (Stop) takes its clicks and its key.

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QWidget;

namespace talver {

class InputLock : public QObject {
public:
    // Locks `window` for the life of this object, all but `open` (the Stop
    // button of a run), which takes clicks and its mnemonic key (Alt and the
    // underlined letter) while it is enabled.
    explicit InputLock(QWidget* window, QAbstractButton* open = nullptr);
    ~InputLock() override;
    InputLock(const InputLock&) = delete;
    InputLock& operator=(const InputLock&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool IsOfWindow(QObject* receiver) const;
    bool IsForOpenControl(QObject* receiver, QEvent* event) const;
    bool IsOpenControlsKey(QEvent* event) const;

    QPointer<QWidget> window_;
    QPointer<QAbstractButton> open_;
};

} // namespace talver
