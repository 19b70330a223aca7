// Prints where the main window's commands lie, relative to the window's top
// left corner: "ID X Y" per button; then "options ID X Y" for the controls
// of the options dialog that the test uses. The Xvfb test clicks those points on the
// real program, which draws the same widgets with the same fonts.

#include "app/RunPort.h"
#include "app/OptionsDialogRules.h"
#include "app/qt/OptionsDialog.h"
#include "app/qt/ApplicationSetup.h"
#include "app/qt/ControlNames.h"
#include "app/qt/MainWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace talver;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    PrepareApplication(application);
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    for (Button button : {Button::ReadSampleData, Button::ConfigureAnalysis, Button::Compute, Button::About,
                          Button::Exit}) {
        const int id = static_cast<int>(button);
        const QWidget* face = window.findChild<QPushButton*>(ControlName(id));
        const QPoint centre = face->mapTo(&window, face->rect().center());
        std::printf("%d %d %d\n", id, centre.x(), centre.y());
    }
    OptionsDialogValues values;
    values.variableCount = 10;
    values.alphaCode = 5;
    values.extractionMethod = 1;
    values.dispersionKind = 1;
    OptionsDialog options(values, QStringLiteral("/tmp/output.txt"));
    options.show();
    if (!QTest::qWaitForWindowExposed(&options)) {
        return 1;
    }
    for (int id : {OptionsDialogRules::kBootstrapSamplesField, OptionsDialogRules::kPolychoricRadio}) {
        const QWidget* control = options.findChild<QWidget*>(ControlName(id));
        // The left edge of a radio button is its mark.
        const QPoint point = control->mapTo(&options, QPoint(8, control->height() / 2));
        std::printf("options %d %d %d\n", id, point.x(), point.y());
    }
    return 0;
}
