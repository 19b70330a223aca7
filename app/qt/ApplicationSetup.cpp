#include "app/qt/ApplicationSetup.h"

#include "app/qt/Artwork.h"

#include <QApplication>

#include <clocale>

namespace talver {

void PrepareApplication(QApplication& application)
{
    std::setlocale(LC_NUMERIC, "C");
    // The X11 window class is the application's name: the desktop entry's
    // StartupWMClass names it. Wayland compositors find the entry by its id.
    application.setApplicationName(QStringLiteral("TALVER"));
    QGuiApplication::setDesktopFileName(QStringLiteral("edu.aldmoor.talver"));
    application.setApplicationVersion(QStringLiteral("2.01"));
    application.setWindowIcon(ApplicationIcon());
}

} // namespace talver
