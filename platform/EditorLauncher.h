#pragma once
// Opens the finished report in a text editor without waiting for it.

#include <string>

namespace talver {

// The program named by TALVER_EDITOR, else the desktop's opener for files.
std::string EditorProgram();

// Starts the editor on `path` with the user's environment. Returns false and
// sets `error` when it could not be started.
bool StartEditorDetached(const std::string& path, std::string& error);

} // namespace talver
