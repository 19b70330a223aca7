#include "platform/EditorLauncher.h"

#include <cstdlib>

#include "platform/windows/SystemMessage.h"
#include "platform/windows/WidePath.h"

#include <windows.h>

#include <shellapi.h>

namespace talver {

namespace {

// The editor's name from the environment, read as UTF-16 so that a name
// outside ASCII arrives whole whatever the process's code page.
std::string ChosenEditor()
{
    const wchar_t* chosen = _wgetenv(L"TALVER_EDITOR");
    return chosen ? Utf8Path(chosen) : std::string();
}

} // namespace

std::string EditorProgram()
{
    const std::string chosen = ChosenEditor();
    return chosen.empty() ? "the application Windows opens the file with" : chosen;
}

bool StartEditorDetached(const std::string& path, std::string& error)
{
    const std::string chosen = ChosenEditor();
    if (chosen.empty()) {
        // The program that Explorer would open the file with.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", WidePath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result <= 32) {
            error = "could not open " + path + " in " + EditorProgram() + ": " + SystemMessage(GetLastError());
            return false;
        }
        return true;
    }
    std::wstring commandLine = WidePath("\"" + chosen + "\" \"" + path + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Its own process group, detached from this console: the editor outlives
    // this process quietly.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process)) {
        error = "could not start " + chosen + ": " + SystemMessage(GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace talver
