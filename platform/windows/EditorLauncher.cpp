#include "platform/EditorLauncher.h"

#include <cstdlib>

#include "platform/windows/SystemMessage.h"

#include <windows.h>

#include <shellapi.h>

namespace talver {

std::string EditorProgram()
{
    const char* chosen = std::getenv("TALVER_EDITOR");
    return (chosen && *chosen) ? chosen : "the application Windows opens the file with";
}

bool StartEditorDetached(const std::string& path, std::string& error)
{
    const char* chosen = std::getenv("TALVER_EDITOR");
    if (!chosen || !*chosen) {
        // The program that Explorer would open the file with.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result <= 32) {
            error = "could not open " + path + " in " + EditorProgram() + ": " + SystemMessage(GetLastError());
            return false;
        }
        return true;
    }
    std::string commandLine = "\"" + std::string(chosen) + "\" \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Its own process group, detached from this console: the editor outlives
    // this process quietly.
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process)) {
        error = "could not start " + std::string(chosen) + ": " + SystemMessage(GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace talver
