#pragma once
// Opens the closed report in a text editor, detached from this process, and
// the report's folder in the desktop's file manager.

#include <QString>

#include <functional>
#include <string>

class QObject;

namespace talver {

// The program named by TALVER_EDITOR, else the desktop's default application
// for the file. Returns false when nothing could be started; the run's report
// is written all the same, so that is no error of the run.
bool OpenReportInEditor(const std::string& path);

// Opens `folder` in the desktop's file manager. `unanswered` is called, from
// the event loop, when none could be started or the opener said it failed
// (on Linux the opener's exit status tells what the desktop did).
void OpenFolderAndTell(QObject* owner, const QString& folder, std::function<void()> unanswered);

} // namespace talver
