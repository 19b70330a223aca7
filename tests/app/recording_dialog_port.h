#pragma once
// A dialog display that records what the rules ask of it, in order.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/DialogPort.h"

using namespace talver;

class RecordingDialogPort : public DialogPort {
public:
    void ShowMessage(const std::string& text) override
    {
        events.push_back("message: " + text);
        if (onMessage) {
            onMessage(text);
        }
    }
    void FocusField(int controlId) override { events.push_back("focus: " + std::to_string(controlId)); }

    std::vector<std::string> TakeEvents() { return std::exchange(events, {}); }

    std::vector<std::string> events;
    // Runs while the message is "on screen", to look at the dialog's state then.
    std::function<void(const std::string&)> onMessage;
};

inline std::string Message(const std::string& text)
{
    return "message: " + text;
}

inline std::string Focus(int controlId)
{
    return "focus: " + std::to_string(controlId);
}
