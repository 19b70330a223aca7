#include "app/qt/ApplicationSetup.h"

#include "app/qt/Artwork.h"

#include <QApplication>

#include <clocale>

namespace talver {

void PrepareApplication(QApplication& application)
{
    std::setlocale(LC_NUMERIC, "C");
    application.setApplicationName(QStringLiteral("TALVER"));
    application.setApplicationVersion(QStringLiteral("2.01"));
    application.setWindowIcon(ApplicationIcon());
}

} // namespace talver
