#pragma once
// Opens the closed report in a text editor, detached from this process.

#include <string>

namespace talver {

// The program named by TALVER_EDITOR, else the desktop's default application
// for the file. Returns false when nothing could be started; the run's report
// is written all the same, so that is no error of the run.
bool OpenReportInEditor(const std::string& path);

} // namespace talver
