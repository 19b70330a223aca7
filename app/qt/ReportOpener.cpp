#include "app/qt/ReportOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace talver {

bool OpenReportInEditor(const std::string& path)
{
    const QString report = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    const QString editor = qEnvironmentVariable("TALVER_EDITOR");
    if (!editor.isEmpty()) {
        return QProcess::startDetached(editor, {report});
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(report));
}

} // namespace talver
