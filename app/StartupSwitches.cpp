#include "app/StartupSwitches.h"

#include <algorithm>

namespace talver {

namespace {

bool EqualIgnoringCase(std::string_view text, std::string_view word)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [&](char a, char b) { return lower(a) == lower(b); });
}

} // namespace

std::string CommandLineAfterProgram(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += ' ';
        }
        line += argv[i];
    }
    return line;
}

StartupSwitch FindStartupSwitch(std::string_view commandLine)
{
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        if (commandLine[i] != '-' && commandLine[i] != '/') {
            continue;
        }
        const std::string_view rest = commandLine.substr(i + 1);
        if (EqualIgnoringCase(rest, "UnregServer")) {
            return StartupSwitch::UnregServer;
        }
        if (EqualIgnoringCase(rest, "RegServer")) {
            return StartupSwitch::RegServer;
        }
    }
    return StartupSwitch::None;
}

} // namespace talver
