// The window's tests share one QApplication, made as the program makes its
// own, on the offscreen platform unless another was chosen.

#include "app/qt/ApplicationSetup.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace talver;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // No test may leave an editor behind; the editor test names its own.
    qputenv("TALVER_EDITOR", "true");
    QApplication application(argc, argv);
    PrepareApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
