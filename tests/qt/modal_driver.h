#pragma once
// Plays the user in front of the modal dialogs that a click opens: message
// boxes are checked (caption "TALVER", one OK button), read and answered, other dialogs are handed to the test's
// steps in order. It keeps watching inside the dialogs' own event loops.

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The next modal dialog that is not a message box goes to `step`.
    void Then(std::function<void(QDialog*)> step);
    // The texts of the message boxes answered so far, emptied.
    std::vector<std::string> TakeMessages();
    bool StepsLeft() const { return !steps_.empty(); }

    // Runs while a message box is on screen, before it is answered.
    std::function<void(const std::string&)> onMessage;

private:
    void Watch();
    void Look();
    bool Handled(QWidget* modal) const;

    QObject context_;
    std::deque<std::function<void(QDialog*)>> steps_;
    std::vector<QPointer<QWidget>> handled_;
    std::vector<std::string> messages_;
};
