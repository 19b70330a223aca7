#include "app/qt/ReportOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
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

void OpenFolderAndTell(QObject* owner, const QString& folder, std::function<void()> unanswered)
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        QTimer::singleShot(0, owner, unanswered);
        return;
    }
    // xdg-open ends with a failure status when no file manager took the
    // folder; one that keeps running has handed it to one.
    auto* process = new QProcess(owner);
    QObject::connect(process, &QProcess::finished, owner,
                     [process, unanswered](int status, QProcess::ExitStatus how) {
                         process->deleteLater();
                         if (status != 0 || how != QProcess::NormalExit) {
                             unanswered();
                         }
                     });
    QObject::connect(process, &QProcess::errorOccurred, owner, [process, unanswered](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
            unanswered();
        }
    });
    process->start(opener, {folder});
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        QTimer::singleShot(0, owner, unanswered);
    }
#endif
}

} // namespace talver
