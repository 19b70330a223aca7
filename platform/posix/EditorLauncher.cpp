#include "platform/EditorLauncher.h"

#include <cstdlib>
#include <cstring>
#include <spawn.h>

extern char** environ;

namespace talver {

std::string EditorProgram()
{
    const char* chosen = std::getenv("TALVER_EDITOR");
    return (chosen && *chosen) ? chosen : "xdg-open";
}

bool StartEditorDetached(const std::string& path, std::string& error)
{
    const std::string program = EditorProgram();
    std::string programArgument = program;
    std::string pathArgument = path;
    char* arguments[] = {programArgument.data(), pathArgument.data(), nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own, so that the editor outlives this process quietly.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    const int status = posix_spawnp(&child, program.c_str(), nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (status != 0) {
        error = "could not start " + program + ": " + std::strerror(status);
        return false;
    }
    return true;
}

} // namespace talver
