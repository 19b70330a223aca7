#include "modal_driver.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>


namespace {

constexpr int kLookIntervalMs = 5;

} // namespace

ModalDriver::ModalDriver()
{
    Watch();
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::Then(std::function<void(QDialog*)> step)
{
    steps_.push_back(std::move(step));
}

std::vector<std::string> ModalDriver::TakeMessages()
{
    return std::exchange(messages_, {});
}

// A fresh single-shot each time: a timer whose handler is still running (in
// a dialog it opened) would not fire again.
void ModalDriver::Watch()
{
    QTimer::singleShot(kLookIntervalMs, &context_, [this] { Look(); });
}

bool ModalDriver::Handled(QWidget* modal) const
{
    return std::any_of(handled_.begin(), handled_.end(),
                       [modal](const QPointer<QWidget>& seen) { return seen.data() == modal; });
}

void ModalDriver::Look()
{
    Watch();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || Handled(modal)) {
        return;
    }
    handled_.emplace_back(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        const std::string text = box->text().toStdString();
        // Every message of the program: its title as caption, one OK button.
        EXPECT_EQ(box->windowTitle().toStdString(), "TALVER") << text;
        EXPECT_EQ(box->buttons().size(), 1) << text;
        messages_.push_back(text);
        if (onMessage) {
            onMessage(text);
        }
        box->button(QMessageBox::Ok)->click();
        return;
    }
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (steps_.empty() || dialog == nullptr) {
        ADD_FAILURE() << "no step for the dialog \"" << modal->windowTitle().toStdString() << "\"";
        if (dialog != nullptr) {
            dialog->reject();
        }
        return;
    }
    const std::function<void(QDialog*)> step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
    // A step that failed half-way would leave the test waiting for ever.
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the step left the dialog \"" << dialog->windowTitle().toStdString() << "\" open";
        dialog->reject();
    }
}
